// The main window's start-up and shutdown.
#include <exception>

#include "output/key_names.h"
#include "output/silent_key_output.h"
#include "ports/service_error.h"
#include "settings/config_path.h"
#include "settings/load_settings.h"
#include "windows/main_window/main_window.h"
#include "windows/main_window/messages.h"

#include <QGuiApplication>

namespace vantrel {

std::optional<int> MainWindow::Start(ServiceFactory& services) {
    // The main window may hide to the tray; closing another window must not end the program then.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    std::vector<std::string> report;
    try {
        // Read first: [output] mode decides which outputs the run makes.
        OutputMode output = OutputMode::Keys;
        report = LoadSettings(state, SettingsFilePath(), &output);
        // The key service needs no installation or registration: it is simply created.
        std::string failure;
        keyOutput_ = output == OutputMode::Shifter ? std::make_unique<SilentKeyOutput>()
                                                   : services.CreateKeyService(failure);
        if (!keyOutput_) {
            ShowStartUpFailure(failure.empty() ? "Vantrel cannot send keys." : failure);
            return kExitStartUpFailed;
        }
        if (const std::optional<int> status = StartShifter(services, output)) return status;
        // Sequential output taps through the key service; the gear keys themselves stay up.
        if (output == OutputMode::Sequential) noGearKeys_ = std::make_unique<SilentKeyOutput>();
        controller_ = std::make_unique<ControllerLayer>(*this, state,
                                                        noGearKeys_ ? *noGearKeys_ : *keyOutput_);
        controller_->SetShifter(shifter_.get());
        StartGearFollowers(output);
        controller_->onCycleCompleted = [this](const ControllerReport& j) {
            emit cycleCompleted(j);
        };
        controller_->onNoReading = [this] { emit noStickReading(); };
        // The failed cycle has let every key go and shown its error: the program ends here.
        controller_->onCycleFailed = [this] { endProgram(kExitCycleFailed); };

        state.zones = {};
        controller_->polling = true;
        controller_->remembered = ReadRememberedController(SettingsFilePath());

        controllerService_ = services.CreateControllerService();
        if (!controller_->Start(*controllerService_, waitForController)) {
            shutDown_ = true;
            ReleaseServices();
            return 0;
        }
        pump_ = services.StartNotifications(*controllerService_);
    } catch (const ServiceError& e) {
        ReleaseServices();
        ShowStartUpFailure(std::string(e.what()) + " (error " + std::to_string(e.number()) + ")");
        return kExitStartUpFailed;
    } catch (const std::exception& e) {
        ReleaseServices();
        ShowStartUpFailure(std::string(e.what()) + " (error " + std::to_string(kErrorUnexpected) +
                           ")");
        return kExitStartUpFailed;
    }
    // Shown once the event loop runs, beside the main window and without holding anything up.
    if (!report.empty()) {
        QMetaObject::invokeMethod(
            this, [this, report] { Report(report); }, Qt::QueuedConnection);
    }
    return std::nullopt;
}

void MainWindow::Shutdown() {
    if (shutDown_) return;
    if (controller_ && controller_->cycleRunning()) {
        // Not in the middle of a cycle (its error message may be waiting): right after it.
        QMetaObject::invokeMethod(this, &MainWindow::Shutdown, Qt::QueuedConnection);
        return;
    }
    shutDown_ = true;
    ReleaseServices();
    endProgram(0);
}

void MainWindow::ReleaseServices() noexcept {
    if (controller_) {
        controller_->StopReports();
        controller_->polling = false;
    }
    pump_.reset();
    // The taps first: a tap under way ends with its key up before the key service lets go.
    if (taps_) taps_->ReleaseAll();
    if (keyOutput_) keyOutput_->ReleaseAll();
    if (shifter_) shifter_->ReleaseAll();
    if (feel_) feel_->ReleaseAll();
    if (controller_) controller_->SetGearFollowers(nullptr, nullptr);
    feel_.reset();
    feelAlarm_.reset();
    taps_.reset();
    tapAlarm_.reset();
    if (controller_) controller_->CloseController();
    controller_.reset();
    controllerService_.reset();
    shifter_.reset();
    noGearKeys_.reset();
    keyOutput_.reset();
}

}  // namespace vantrel
