#pragma once
// The message boxes of the main window.

#include <QWidget>
#include <string>
#include <vector>

namespace vantrel {

// A failed poll cycle: "description : number", an OK button, no title of its own. Waits for OK.
void ShowCycleErrorBox(QWidget* parent, const std::string& message);

// Something the user must know before the program goes on (or ends); waits for OK.
void ShowNotice(QWidget* parent, const std::string& text, const std::string& advice);

// Something the user should know that needs no answer now: a box that does not wait, so that the
// shift engine keeps running while it is open. Returns the box (deleted when closed).
QWidget* ShowPassingNotice(QWidget* parent, const std::string& text, const std::string& advice);

// A start-up step failed: the program ends after OK.
void ShowStartUpFailure(const std::string& text);

// Something the user should know once, in a box that does not wait. Returns the box (deleted
// when closed).
QWidget* ShowNote(QWidget* parent, const std::string& text);

// Lines of the settings load the user should know about, in a box that does not wait: the shift
// engine keeps running while it is open. Returns the box (deleted when closed).
QWidget* ShowSettingsReport(QWidget* parent, const std::vector<std::string>& lines);

}  // namespace vantrel
