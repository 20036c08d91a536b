#pragma once
// The main window: lists the controllers, shows the live axes, buttons and gear fields, owns the
// shared state and the services of the run, and carries the buttons to the other windows.

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controller/controller_layer.h"
#include "controller/controller_window.h"
#include "engine/gate_feel.h"
#include "engine/sequential_taps.h"
#include "engine/shift_state.h"
#include "ports/alarm.h"
#include "ports/controller_service.h"
#include "ports/key_output.h"
#include "ports/shifter_output.h"
#include "settings/output_settings.h"
#include "windows/main_window/main_window_layout.h"
#include "windows/main_window/service_factory.h"

namespace vantrel {

class PacedDisplay;

inline constexpr int kExitCycleFailed = 1;
inline constexpr int kExitStartUpFailed = 1;

class MainWindow : public QWidget, public ControllerWindow {
    Q_OBJECT

  public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // The start-up, before the window is shown: the settings (their [output] mode decides the
    // outputs), the key service and the virtual shifter, the zone flags, polling on, the
    // controllers. Returns the exit status when the program must end instead of showing the
    // window (no controller attached, or a step failed and the user was told).
    std::optional<int> Start(ServiceFactory& services);
    // The shutdown: no more notifications, every held key let go, the device released, then the
    // program ends with status 0. Runs once, when the window is closed.
    void Shutdown();

    // The shared variables the other windows read and write.
    ShiftState state;

    ControllerLayer* controllerLayer() { return controller_.get(); }
    const MainWindowControls& controls() const { return ui_; }

    // Seams for the windows built elsewhere; a button does nothing while its hook is unset.
    std::function<void()> openKeyAssignment;  // "Config"
    std::function<void()> openGateEditor;     // "Editor"
    // "Minimize": puts this window away in the tray; the tray decides how, since only it knows
    // whether the desktop shows its icon (the way back).
    std::function<void()> hideToTray;
    // Ends the program with an exit status; by default the application's event loop returns it.
    std::function<void(int status)> endProgram;
    // Set before Start: with no controller attached the window waits for one instead of
    // saying "No joystick attached." and ending (as it also does when a controller is remembered).
    bool waitForController = false;

    // What the poll cycle and the controller layer write into the window.
    void WriteRow(LiveList list, int index, const std::string& text) override;
    void SetCaption(const std::string& text) override;
    void ShowCycleError(const std::string& message) override;
    void AddController(const std::string& name) override;
    void RemoveController(int position) override;
    void SetCurrentController(int position) override;
    void ClearLiveLists() override;
    void ShowMessage(const std::string& text, const std::string& advice) override;

  public slots:
    // Loads the settings again; the next cycle uses them. A key no gear has any more is let go.
    void ReloadSettings();
    // One credits window at a time, not blocking this one.
    void ShowAbout();
    // Through the hooks above.
    void ShowKeyAssignment();
    void ShowGateEditor();
    void MinimizeToTray();
    // The user's choice of a line (click or Enter): selects it and remembers its controller in
    // the settings file for the next start.
    void OnControllerLineChosen(int position);

  signals:
    // After every completed poll cycle, with the stick state it read (for the field editor).
    void cycleCompleted(const vantrel::ControllerReport& joyState);
    // After a cycle that had no stick state to read (no controller open, or it was lost).
    void noStickReading();
    // After every load of the settings but the first (for the field editor's labels).
    void settingsReloaded();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The lines of a settings load the user should see; one box at a time.
    void Report(const std::vector<std::string>& lines);
    // Makes the virtual shifter when `mode` asks for it. Returns the exit status when the run
    // cannot go on without it (the user was told).
    std::optional<int> StartShifter(ServiceFactory& services, OutputMode mode);
    void ReleaseServices() noexcept;

    MainWindowControls ui_;
    // The live lists and the caption as the cycles write them, drawn once per display frame.
    std::unique_ptr<PacedDisplay> display_;
    // Makes the up/down taps when [output] mode is sequential, and the rumble.
    void StartGearFollowers(OutputMode mode);
    // A tap the alarm sent failed: as a failed cycle, the user is told and the program ends.
    void OnTapFailed(const std::string& message);

    // Declared in the order they are created; destroyed in reverse, each before what it uses.
    std::unique_ptr<KeyOutput> keyOutput_;    // the key service; silent when only the shifter runs
    std::unique_ptr<KeyOutput> noGearKeys_;   // sequential: the gear keys go nowhere
    std::unique_ptr<ShifterOutput> shifter_;  // only when [output] mode asks for it
    std::unique_ptr<ControllerService> controllerService_;
    std::unique_ptr<ControllerLayer> controller_;
    std::unique_ptr<Alarm> tapAlarm_;
    std::unique_ptr<SequentialTaps> taps_;  // only in sequential mode
    std::unique_ptr<Alarm> feelAlarm_;
    std::unique_ptr<GateFeel> feel_;
    std::unique_ptr<QObject> pump_;

    QPointer<QWidget> aboutWindow_;
    QPointer<QWidget> settingsReport_;
    bool shutDown_ = false;
};

}  // namespace vantrel
