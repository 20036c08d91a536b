#pragma once
// What the poll cycle writes into the main window, drawn at the pace of the screen. Every write is
// taken at once and checked as the window's lists check it; the three live lists and the caption
// follow at most once per display frame, only where a text changed. A hidden window only keeps
// the texts and shows them when it comes back.

#include <QListWidget>
#include <QWidget>
#include <array>
#include <string>
#include <vector>

#include "engine/live_view.h"
#include "windows/frame_pacer.h"

namespace vantrel {

class PacedDisplay {
  public:
    // `lists` in the order of LiveList: axisList, buttonList, gearList. What they and the window's
    // caption show now is the starting point.
    PacedDisplay(QWidget& window, const std::array<QListWidget*, 3>& lists);

    // Replaces row `index`; the row just past the last one appends. Throws std::out_of_range for
    // any other row.
    void WriteRow(LiveList list, int index, const std::string& text);
    void SetCaption(const std::string& text);
    // Empties the three lists, rows still waiting to be drawn included.
    void Clear();

    // A poll cycle has ended: what it wrote is drawn now if its frame has come.
    void CycleEnded() { pacer_.PresentIfDue(); }
    // A user's action (choosing a controller): drawn now, frame or not.
    void PresentNow() { pacer_.PresentNow(); }

  private:
    struct List {
        QListWidget* widget;
        std::vector<std::string> rows;  // what the list is to show
        std::vector<bool> changed;      // by row, since the last presentation
        bool anyChanged = false;
        bool cleared = false;
        bool evenDigits = false;  // in the list's font
    };
    void Present();
    static void Present(List& list);

    QWidget& window_;
    std::array<List, 3> lists_;
    std::string caption_;
    bool captionChanged_ = false;
    ui::FramePacer pacer_;
};

}  // namespace vantrel
