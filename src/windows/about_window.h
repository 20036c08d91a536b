#pragma once
// The credits window.

#include <QWidget>

namespace vantrel {

class Form_About : public QWidget {
  public:
    explicit Form_About(QWidget* parent = nullptr);
};

}  // namespace vantrel
