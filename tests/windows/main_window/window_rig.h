#pragma once
// A main window on fake services, with a settings folder of its own. The window owns and destroys
// the services; they log what is made, used and let go, and the test keeps pointers meanwhile.

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "doubles/default_settings.h"
#include "doubles/fake_controller.h"
#include "doubles/key_outputs.h"
#include "ports/service_error.h"
#include "windows/main_window/main_window.h"

inline void PrintTo(const QString& s, std::ostream* out) { *out << '"' << s.toStdString() << '"'; }

namespace vantrel::testing {

struct SettingsHome {
    SettingsHome() { ::setenv("XDG_CONFIG_HOME", dir.path().toUtf8().constData(), 1); }
    std::filesystem::path File() const { return dir.path().toStdString() + "/vantrel/config.ini"; }
    void Write(const std::string& text) {
        std::filesystem::create_directories(File().parent_path());
        std::ofstream(File()) << text;
    }
    QTemporaryDir dir;
};

struct FakeServices : ServiceFactory {
    using Log = std::vector<std::string>;
    struct Keys : RecordingKeyOutput {
        explicit Keys(std::vector<std::string>& log) : log(log) {}
        ~Keys() override { log.push_back("keys destroyed"); }
        void ReleaseAll() noexcept override { log.push_back("keys let go"); }
        std::vector<std::string>& log;
    };
    struct Controllers : FakeControllerService {
        ~Controllers() override { log->push_back("controllers destroyed"); }
    };
    struct Shifter : ShifterOutput {
        explicit Shifter(Log& log) : log(log) {}
        ~Shifter() override { log.push_back("shifter destroyed"); }
        void SetGear(int gear, int32_t, int32_t) override {
            log.push_back("gear " + std::to_string(gear));
        }
        void SetKnob(bool, bool) override {}
        void ReleaseAll() noexcept override { log.push_back("shifter let go"); }
        Log& log;
    };
    FakeServices() { controllers.log = &log; }
    std::unique_ptr<KeyOutput> CreateKeyService(std::string& failure) override {
        log.push_back("keys");
        failure = keyFailure;
        auto made = keyFailure.empty() ? std::make_unique<Keys>(log) : nullptr;
        keys = made.get();
        return made;
    }
    std::unique_ptr<ControllerService> CreateControllerService() override {
        log.push_back("controllers");
        if (!controllerFailure.empty()) throw ServiceError(2001, controllerFailure);
        return std::move(ownedControllers);
    }
    std::unique_ptr<QObject> StartNotifications(ControllerService&) override {
        log.push_back("notifications");
        auto pump = std::make_unique<QObject>();
        QObject::connect(pump.get(), &QObject::destroyed,
                         [this] { log.push_back("pump stopped"); });
        return pump;
    }
    std::string KeyDeliveryNote() const override { return note; }
    std::unique_ptr<ShifterOutput> CreateShifter(std::string& failure) override {
        log.push_back("shifter");
        failure = shifterFailure;
        return failure.empty() ? std::make_unique<Shifter>(log) : nullptr;
    }

    Log log;
    std::string keyFailure, controllerFailure, shifterFailure, note;
    std::unique_ptr<Controllers> ownedControllers = std::make_unique<Controllers>();
    Controllers& controllers = *ownedControllers;  // until the window lets it go
    Keys* keys = nullptr;                          // likewise
};

struct ShellRig : SettingsHome {
    ShellRig() {
        services.controllers.attached = {{"Pad", "id-a"}, {"Pad", "id-b"}};
        window.endProgram = [this](int status) { ended.push_back(status); };
    }
    std::optional<int> Start() { return window.Start(services); }

    FakeServices services;
    MainWindow window;
    std::vector<int> ended;
};

inline void ClickLine(QListWidget* list, int row) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
}

// Answers each message box that appears while it lives (modal ones from inside their own event
// loop) after running `whileOpen`, noting "title|text|number of buttons|modal".
struct MessageBoxWatch {
    explicit MessageBoxWatch(std::function<void()> whileOpen = {}) {
        QObject::connect(&timer, &QTimer::timeout, [this, whileOpen] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(w);
                if (!box || !box->isVisible() || box->property("seen").toBool()) continue;
                box->setProperty("seen", true);
                seen << box->windowTitle() + '|' + box->text() + '|' +
                            QString::number(box->buttons().size()) +
                            (box->isModal() ? "|modal" : "|modeless");
                if (whileOpen) whileOpen();
                box->button(QMessageBox::Ok)->click();
            }
        });
        timer.start(5);
    }
    QTimer timer;
    QStringList seen;
};

}  // namespace vantrel::testing
