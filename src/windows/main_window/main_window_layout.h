#pragma once
// The controls of the main window at their designed places, named by role.

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>

namespace vantrel {

struct MainWindowControls {
    QLabel* lblJoy;
    QPushButton* reload;
    QPushButton* editor;
    QPushButton* Config;
    QPushButton* min_btn;
    QPushButton* about;
    QListWidget* lstJoySticks;
    QLabel* lblAxis;
    QLabel* lblButtons;
    QLabel* lblHats;
    QListWidget* lstJoyAxis;
    QListWidget* lstButton;
    QListWidget* lstGear;
};

// Creates every control as a child of `window`, with its name, text, place, font and tab order;
// the three live lists hold their placeholder line. Sizes the window's client area and sets its
// default font.
MainWindowControls BuildMainWindowControls(QWidget& window);

}  // namespace vantrel
