#pragma once
// The controls of the main window at their designed places, named by role.

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>

namespace vantrel {

struct MainWindowControls {
    QLabel* controllersHeading;
    QPushButton* reloadButton;
    QPushButton* editorButton;
    QPushButton* keysButton;  // "Config": the key assignment dialog
    QPushButton* minimizeButton;
    QPushButton* aboutButton;
    QListWidget* controllerList;
    QLabel* axesHeading;
    QLabel* buttonsHeading;
    QLabel* gearsHeading;
    QListWidget* axisList;
    QListWidget* buttonList;
    QListWidget* gearList;
};

// Creates every control as a child of `window`, with its name, text, place, font and tab order;
// the three live lists hold their placeholder line. Sizes the window's client area and sets its
// default font.
MainWindowControls BuildMainWindowControls(QWidget& window);

}  // namespace vantrel
