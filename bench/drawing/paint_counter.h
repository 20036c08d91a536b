#pragma once
// Counts the paints of the widgets it watches.

#include <QEvent>
#include <QObject>
#include <QWidget>
#include <cstdint>
#include <map>

namespace vantrel::bench {

class PaintCounter : public QObject {
  public:
    void Watch(QWidget* widget) {
        widget->installEventFilter(this);
        counts_[widget] = 0;
    }
    uint64_t Count(QWidget* widget) const { return counts_.at(widget); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            if (auto it = counts_.find(watched); it != counts_.end()) ++it->second;
        }
        return false;
    }

  private:
    std::map<QObject*, uint64_t> counts_;
};

}  // namespace vantrel::bench
