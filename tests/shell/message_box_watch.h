#pragma once
// Answers the message boxes that appear while it lives (modal ones included, from inside their
// own event loop) and keeps what they said.

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

namespace vantrel::testing {

struct SeenBox {
    std::string name;
    std::string title;
    std::string text;
    std::string informative;
    bool modal = false;
    int buttons = 0;
};

class MessageBoxWatch {
  public:
    // `whileOpen` runs once for each box before it is answered.
    explicit MessageBoxWatch(std::function<void(QMessageBox&)> whileOpen = {})
        : whileOpen_(std::move(whileOpen)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Answer(); });
        timer_.start(5);
    }

    std::vector<SeenBox> seen;

  private:
    void Answer() {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (!box || !box->isVisible() || box->property("answered").toBool()) continue;
            box->setProperty("answered", true);
            seen.push_back({box->objectName().toStdString(), box->windowTitle().toStdString(),
                            box->text().toStdString(), box->informativeText().toStdString(),
                            box->isModal() || box->windowModality() != Qt::NonModal,
                            static_cast<int>(box->buttons().size())});
            if (whileOpen_) whileOpen_(*box);
            box->button(QMessageBox::Ok)->click();
        }
    }

    QTimer timer_;
    std::function<void(QMessageBox&)> whileOpen_;
};

}  // namespace vantrel::testing
