#pragma once
// `Form2`, the menu host: never shown, it holds the tray's popup menu `popmenu` and the handlers
// of its items.

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QWidget>

#include "windows/tray/tray_hooks.h"

namespace vantrel {

class Form2 : public QWidget {
  public:
    explicit Form2(const TrayHooks& hooks);

    // The tray host, hidden again by "&Normal View" once it exists.
    void SetForm1(QWidget* form1) { form1_ = form1; }

    void Max_Click();
    void Refresh_Click();
    void Close_Click();

    QMenu* popmenu;
    QAction* Max;
    QAction* Start;
    QAction* Stop;
    QAction* Refresh;
    QAction* Close;

  private:
    QAction* AddItem(const char* name, const QString& caption);

    const TrayHooks& hooks_;
    QPointer<QWidget> form1_;
};

}  // namespace vantrel
