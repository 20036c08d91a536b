#pragma once
// What the X server holds down right now, seen through a second connection of our own. (Xlib's
// macros stay in x_keys.cpp, away from Qt's names.)

namespace vantrel::testing {

class XKeys {
  public:
    XKeys();  // the display of $DISPLAY
    ~XKeys();
    XKeys(const XKeys&) = delete;
    XKeys& operator=(const XKeys&) = delete;

    bool ok() const { return display_ != nullptr; }
    // Whether the key of this keysym name ("w", "x") is down.
    bool IsDown(const char* keysymName);
    // How many keys are down.
    int DownCount();

  private:
    void* display_;
};

}  // namespace vantrel::testing
