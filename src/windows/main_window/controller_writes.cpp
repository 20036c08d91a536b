// What the poll cycle and the controller layer write into the main window.
#include "windows/main_window/main_window.h"
#include "windows/main_window/messages.h"
#include "windows/main_window/paced_display.h"

namespace vantrel {

void MainWindow::WriteRow(LiveList list, int index, const std::string& text) {
    display_->WriteRow(list, index, text);
}

void MainWindow::SetCaption(const std::string& text) { display_->SetCaption(text); }

void MainWindow::ShowCycleError(const std::string& message) { ShowCycleErrorBox(this, message); }

void MainWindow::AddController(const std::string& name) {
    ui_.controllerList->addItem(QString::fromStdString(name));
}

void MainWindow::RemoveController(int position) {
    QListWidget* list = ui_.controllerList;
    const bool chosen = list->currentRow() == position;
    delete list->takeItem(position);
    // No neighbour may look chosen in its place.
    if (chosen) {
        list->setCurrentItem(nullptr);
        list->clearSelection();
    }
}

void MainWindow::SetCurrentController(int position) { ui_.controllerList->setCurrentRow(position); }

void MainWindow::ClearLiveLists() { display_->Clear(); }

void MainWindow::ShowMessage(const std::string& text, const std::string& advice) {
    ShowNotice(isVisible() ? this : nullptr, text, advice);
}

}  // namespace vantrel
