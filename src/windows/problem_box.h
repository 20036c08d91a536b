#pragma once

#include <QString>
#include <string>

class QWidget;

namespace vantrel::ui {

// Tells the user what went wrong without waiting: the box is modal to `window` only and runs no
// event loop of its own, so the poll cycle keeps going while it is open.
void ShowProblem(QWidget* window, const QString& headline, const std::string& detail);

}  // namespace vantrel::ui
