#pragma once
// The program's alarm: a precise single-shot timer of the Qt event loop, which also runs the poll
// cycle, so a ring never interrupts a cycle.

#include <QTimer>

#include "ports/alarm.h"

namespace vantrel {

class EventLoopAlarm final : public Alarm {
  public:
    EventLoopAlarm();

    void Set(std::chrono::milliseconds delay, std::function<void()> ring) override;
    void Cancel() override;

  private:
    QTimer timer_;
    std::function<void()> ring_;
};

}  // namespace vantrel
