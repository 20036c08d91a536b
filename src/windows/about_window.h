#pragma once
// The credits window.

#include <QWidget>

namespace vantrel {

class AboutWindow : public QWidget {
  public:
    explicit AboutWindow(QWidget* parent = nullptr);
};

}  // namespace vantrel
