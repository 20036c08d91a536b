#pragma once
// trayer as the desktop's system tray (XEmbed) for as long as this lives.

#include <QProcess>
#include <QSystemTrayIcon>

#include "support/qt_wait.h"

namespace vantrel::testing {

struct Trayer {
    Trayer() {
        trayer.start("trayer", {"--edge", "top", "--align", "right", "--widthtype", "request",
                                "--height", "32"});
        ready = WaitUntil([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, 15000);
    }
    ~Trayer() {
        trayer.kill();
        trayer.waitForFinished();
        WaitUntil([] { return !QSystemTrayIcon::isSystemTrayAvailable(); });
    }
    QProcess trayer;
    bool ready = false;
};

}  // namespace vantrel::testing
