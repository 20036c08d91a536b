#include "windows/problem_box.h"

#include <QMessageBox>

namespace vantrel::ui {

void ShowProblem(QWidget* window, const QString& headline, const std::string& detail) {
    auto* box = new QMessageBox(QMessageBox::Warning, window->windowTitle(), headline,
                                QMessageBox::Ok, window);
    box->setObjectName(QStringLiteral("problem"));
    box->setInformativeText(QString::fromStdString(detail));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

}  // namespace vantrel::ui
