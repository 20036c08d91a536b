#pragma once
// The main window as the game controller layer sees it: the list of attached controllers, the
// three live lists that a selection empties, and a message for the user.

#include <string>

#include "engine/live_view.h"

namespace vantrel {

class ControllerWindow : public LiveView {
  public:
    // Appends one line to the list of attached controllers.
    virtual void AddController(const std::string& name) = 0;
    // Removes the line at this position (from 0); the lines after it move up.
    virtual void RemoveController(int position) = 0;
    // Shows the line at this position as the one chosen, as a click on it would.
    virtual void SetCurrentController(int position) = 0;
    // Empties the axis, button and gear lists, in this order.
    virtual void ClearLiveLists() = 0;
    // Tells the user `text` (with `advice` on what to do) and returns once it was acknowledged.
    virtual void ShowMessage(const std::string& text, const std::string& advice) = 0;
};

}  // namespace vantrel
