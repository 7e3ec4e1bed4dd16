// Start-up and exit of the main window.
#include "app/HalcyraForm.h"

#include <string>
#include <vector>

#include "commandline/CommandLine.h"
#include "schedule/ScheduleController.h"
#include "settings/HotkeyMessages.h"
#include "common/Registry.h"
#include "settings/RunEntry.h"
#include "settings/SettingsKeys.h"

namespace halcyra {

HalcyraForm::HalcyraForm(const Services& services, ScheduleController& schedule,
                         AwakeController& awake)
    : s_(services), schedule_(schedule), awake_(awake) {
    schedule_.Connect(*this, ScheduleController::Hooks{
                                 [this] { return s_.view.Handle(); },
                                 [this] { TrayChanged(); },
                             });
    awake_.Connect([this] {
        // The picture shows what is held, then the tip says it.
        if (sysIcon_) {
            sysIcon_->IconHandle(s_.view.HalcyraImagePicture());
        }
        TrayChanged();
    });
}

HalcyraForm::~HalcyraForm() = default;

void HalcyraForm::Form_Initialize() {
    // COM waits for the first shell call that needs it (a link in a dialog): a start in the
    // tray may never make one. Form_Unload leaves the apartment.
}

bool HalcyraForm::Form_Load() {
    confirm_ = false;

    if (s_.program.AnotherCopyRunning()) {
        // Only a No ends this copy: a box that cannot be shown lets it start.
        const Answer answer = s_.prompt.Ask(s_.view.Handle(), form::kAlreadyRunning, form::kTitle,
                                            MessageIcon::Information);
        // A window closed meanwhile (a setup closing every copy) ends the start quietly.
        if (answer == Answer::No || s_.view.Handle() == 0) {
            return false;
        }
        secondCopy_ = true;
    }

    const WindowHandle hwnd = s_.view.Handle();
    ISystrayIconEvents* events = this;
    sysIcon_ = std::make_unique<CSystrayIcon>(s_.notify, events);
    sysIcon_->Initialize(hwnd, s_.view.HalcyraImagePicture(), form::kTrayTip,
                         form::kTrayCallbackMessage);

    const std::string confirm = s_.settings.GetSetting(
        settings::kAppName, settings::kSection, settings::kConfirm, settings::kConfirmDefault);
    // Text that is not a number counts as off.
    if (ParseNumber(confirm) == 1.0) {
        confirm_ = true;
        s_.view.SetCheckRequestValue(1);
        CheckRequest_Click();
    }

    // A shortcut set to "Minimized" (or a start asking for no window) means the tray too.
    const StartShow show = s_.view.StartShowRequest();
    const bool startHidden = s_.program.Arguments() == settings::kStartArgument ||
                             show == StartShow::Minimized || show == StartShow::Hidden;
    if (startHidden) {
        sysIcon_->ShowIcon();
        s_.view.SetVisible(false);
        s_.view.SetShowChecked(false);
        if (!sysIcon_->Visible()) {
            StartTrayRetries();
        }
    }

    const RegistryValue marker{std::string(settings::kRunPresenceMarker)};
    const RegistryValue run = registry::ReadValue(
        s_.registry, reg::kCurrentUser, settings::kRunKeyPath, settings::kRunValueName, marker);
    if (run != marker) {
        // The entry may have been left by a copy in another folder: point it at this one.
        registry::WriteStringValue(s_.registry, reg::kCurrentUser, settings::kRunKeyPath,
                                   settings::kRunValueName, RunEntryData());
        s_.view.SetCheck1Value(1);
        Check1_Click();
    }

    s_.hotkeys.SetMainWindow(hwnd);
    s_.hotkeys.LoadHotkeys();

    taskbarCreated_ = s_.windows.RegisterMessageName(form::kTaskbarCreated);

    s_.subclass.AttachMessage(*this, hwnd, form::kSysCommand);
    // 0 means the registration failed; attached, WM_NULL would re-add the icon every time.
    if (taskbarCreated_ != 0) {
        s_.subclass.AttachMessage(*this, hwnd, taskbarCreated_);
    }
    s_.subclass.AttachMessage(*this, hwnd, form::kHotkey);

    if (!startHidden) {
        s_.view.SetVisible(true);
        // Hidden at log-on, the report waits until the user first brings the window up.
        ReportRefusedHotkeys();
    }
    return true;
}

void HalcyraForm::Form_Unload() {
    // Runs once, whichever way the window goes (close box, Exit, end of the session).
    if (!sysIcon_ || unloaded_) {
        return;
    }
    unloaded_ = true;
    const WindowHandle hwnd = s_.view.Handle();
    s_.hotkeys.UnregisterAllHotkeys(hwnd);
    s_.subclass.DetachMessage(*this, hwnd, form::kSysCommand);
    if (taskbarCreated_ != 0) {
        s_.subclass.DetachMessage(*this, hwnd, taskbarCreated_);
    }
    s_.subclass.DetachMessage(*this, hwnd, form::kHotkey);
    StopTrayRetries();
    schedule_.End(); // a schedule lives in the running program only
    awake_.End();    // keeping awake never outlives the program
    RemoveIcon();
    s_.windows.UninitializeComApartment();
}

void HalcyraForm::ReportRefusedHotkeys() {
    auto refused = s_.hotkeys.TakeUnreportedRefusals();
    if (secondCopy_) {
        // The first copy holds these from the same settings and does what they ask: nothing is
        // wrong that the user must hear about. A foreign holder is still reported.
        std::erase_if(refused, [&](const RefusedHotkey& hotkey) {
            return s_.program.AnotherCopyHolds(hotkey.key);
        });
    }
    if (!refused.empty()) {
        s_.prompt.Tell(s_.view.Handle(), hotkeyMessages::RefusedText(refused),
                       hotkeyMessages::kTitle, MessageIcon::Exclamation);
    }
}

void HalcyraForm::mnu_Exit_Click() {
    if (!schedule_.ConfirmExit()) {
        return;
    }
    s_.view.Unload();
}

void HalcyraForm::NIError(std::uint32_t ErrorNumber) {
    // The user is not told; a developer can still see it.
    s_.windows.DebugOutput("Halcyra: notification-area request failed, error " +
                           std::to_string(ErrorNumber));
}

std::string HalcyraForm::RunEntryData() const {
    return settings::RunEntryData(s_.program.Folder(), s_.program.ExeName());
}

} // namespace halcyra
