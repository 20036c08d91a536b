#pragma once
// Draws at the pace of the screen. A window whose content may change hundreds of times a second
// asks for a presentation after each change and gets at most one per display frame: the first
// one after a quiet spell at once, the last one of a burst never lost. A hidden window only keeps
// its request; it is presented when the window is shown again.

#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>

class QWidget;

namespace vantrel::ui {

class FramePacer : public QObject {
  public:
    using Clock = std::chrono::steady_clock;

    // `present` brings what `window` shows up to date; `window`'s screen sets the pace.
    FramePacer(QWidget& window, std::function<void()> present);

    // Something shown has changed: presented from the event loop once a frame has passed since
    // the last presentation (at once when it has).
    void Request();
    // Presents a waiting request now, without the event loop, when its frame has come.
    void PresentIfDue();
    // Presents a waiting request now, frame or not (a user's action, not a device's stream).
    void PresentNow();
    bool waiting() const { return waiting_; }

    // One frame of the window's screen; 60 Hz when the screen does not tell.
    std::chrono::nanoseconds FramePeriod() const;

    // Off: every request is presented at once, shown or hidden, and drawn the way it was before
    // drawing was paced. For the benchmark's side-by-side comparison only; applies to every pacer.
    static void SetPacing(bool on) { pacing_ = on; }
    static bool Pacing() { return pacing_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Present();
    bool Presentable() const;

    QWidget& window_;
    std::function<void()> present_;
    QTimer timer_;
    Clock::time_point last_{};
    std::chrono::nanoseconds period_;
    bool waiting_ = false;
    static inline bool pacing_ = true;
};

}  // namespace vantrel::ui
