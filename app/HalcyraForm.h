#pragma once
// The tray program's main window: start-up and exit, its messages and tray menu, the power
// actions and its preferences. The window layer calls these handlers; everything they need of
// the platform goes through the interfaces in Services.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "commandline/CommandDispatch.h"
#include "app/IDialogLauncher.h"
#include "app/IMainWindowView.h"
#include "actions/IPowerApi.h"
#include "app/IProgramInfo.h"
#include "common/IPrompt.h"
#include "common/IWindowSystem.h"
#include "actions/MenuEntry.h"
#include "actions/IActionRunner.h"
#include "actions/PowerActions.h"
#include "awake/AwakeController.h"
#include "schedule/ScheduleController.h"
#include "common/Product.h"
#include "common/IRegistryApi.h"
#include "settings/ISettingsStore.h"
#include "settings/modHotkey.h"
#include "tray/CSystrayIcon.h"
#include "winmsg/ISubclass.h"
#include "winmsg/MSubclass.h"

namespace halcyra {

namespace form {
inline constexpr std::string_view kTitle = product::kName;
inline constexpr std::string_view kTrayTip = product::kNameAndVersion;
inline constexpr std::uint32_t kTrayCallbackMessage = 0x200; // WM_MOUSEMOVE
inline constexpr std::uint32_t kSysCommand = 0x112;          // WM_SYSCOMMAND
inline constexpr std::uint32_t kHotkey = 0x312;              // WM_HOTKEY
inline constexpr WParam kScMinimize = 0xF020;
inline constexpr std::string_view kTaskbarCreated = "TaskbarCreated";
inline constexpr std::string_view kAlreadyRunning =
    "A copy of Halcyra is already running, if it is not on your taskbar, check the icon tray "
    "by the clock.  Would you like to start another instance?";
inline constexpr std::uint32_t kActionPauseMs = 400;
// A tray start whose icon the shell refused tries again this often, then shows the window.
inline constexpr std::uint32_t kTrayRetryMs = 2000;
inline constexpr int kTrayRetries = 5;
// While a taskbar window exists its notification area is still starting (a slow log-on): the
// gaps double and the window waits this long in all before it comes up.
inline constexpr std::uint32_t kTrayPatienceMs = 120000;
} // namespace form

// How a mouse-move message came. Wine's and Windows' shells send tray notifications from their
// own thread, other shells and tray-automation scripts post them; both carry the icon's id in
// wParam. The delivery decides nothing: the window's state does (Form_MouseMove).
struct MouseMoveOrigin {
    bool sentByAnotherThread = false;
    WParam wParam = 0;
};

class HalcyraForm : public ISubclass, public IActionRunner, private ISystrayIconEvents {
public:
    struct Services {
        IMainWindowView& view;
        IWindowSystem& windows;
        IPrompt& prompt;
        IPowerApi& power;
        IProgramInfo& program;
        IDialogLauncher& dialogs;
        ISettingsStore& settings;
        IRegistryApi& registry;
        INotifyIconApi& notify;
        modHotkey& hotkeys;
        MSubclass& subclass;
    };

    // The schedule and keeping awake are the running program's ones, built before the form and
    // used until the form's last moment.
    HalcyraForm(const Services& services, ScheduleController& schedule, AwakeController& awake);
    ~HalcyraForm() override;
    HalcyraForm(const HalcyraForm&) = delete;
    HalcyraForm& operator=(const HalcyraForm&) = delete;

    // Start-up and exit.
    void Form_Initialize();
    // False when the program must end at once (a second copy the user did not want).
    bool Form_Load();
    void Form_Unload();

    // Messages and the tray menu.
    std::int32_t MsgResponse() override { return ResponseOnly; }
    void MsgResponse(std::int32_t) override {}
    LResult WindowProc(WindowHandle hwnd, std::uint32_t iMsg, WParam wParam,
                       LParam lParam) override;
    void Form_MouseMove(int button, int shift, double x, double y, MouseMoveOrigin origin = {});
    // Asked by a second copy: whether this copy holds CTRL+ALT and that key.
    bool HoldsHotkey(std::uint32_t key) const { return s_.hotkeys.Holds(key); }
    void TrayRetry_Timer();
    void MenuClick(MenuEntry entry);
    // A button that does what a menu entry does; false for any other control.
    bool ButtonClick(int id);
    void mnu_Show_Click();
    void CommandMinimize_Click();
    void PerformAction(std::string_view actionName);
    ActionOutcome RunAction(MenuEntry entry, bool askFirst, FailureBox failures) override;

    // The scheduled action; the window side's way in too: the dialog, the warning's buttons,
    // wake and clock changes.
    ScheduleController& Schedule() { return schedule_; }
    // Keeping awake; the window side's way in too: the menus, the Stop button, wake and clock
    // changes.
    AwakeController& Awake() { return awake_; }
    // The tray tip: what is kept awake and what is scheduled, when either is.
    std::string TrayTip() const;
    // The command line of scripts. A copy that only runs one action and ends reads the
    // confirmation setting without starting up.
    void LoadForCommand();
    // A command line a second copy forwarded; none when the record is refused.
    std::optional<CommandResult> CommandForwarded(std::string_view record);

    // Every menu entry's handler, once, with the button that does the same; what differs
    // between the power actions is in kPowerActions. The menu and the buttons read this table.
    struct Action {
        MenuEntry entry;
        int button;                     // 0: no button
        void (HalcyraForm::*handler)(); // the window's own entries
        ActionOutcome (HalcyraForm::*power)(bool askFirst, FailureBox failures); // a power action's
    };
    static const std::array<Action, kMenuEntries.size()> kActions;

    // The power actions. askFirst false: no question (confirmed already); true: as the user set.
    // failures: whether a failure is told in a box or, unattended, only in the debugger's output.
    ActionOutcome menu_Shutdown_Click(bool askFirst = true,
                                      FailureBox failures = FailureBox::Shown);
    ActionOutcome mnu_Restart_Click(bool askFirst = true, FailureBox failures = FailureBox::Shown);
    ActionOutcome mnu_Logoff_Click(bool askFirst = true, FailureBox failures = FailureBox::Shown);
    ActionOutcome mnu_Standby_Click(bool askFirst = true, FailureBox failures = FailureBox::Shown);
    ActionOutcome mnu_Hibernate_Click(bool askFirst = true,
                                      FailureBox failures = FailureBox::Shown);
    ActionOutcome mnu_shtdnnow_Click(bool askFirst = true, FailureBox failures = FailureBox::Shown);
    ActionOutcome mnu_rstrtnow_Click(bool askFirst = true, FailureBox failures = FailureBox::Shown);
    ActionOutcome mnu_Monitor_Click(bool askFirst = true, FailureBox failures = FailureBox::Shown);
    ActionOutcome mnu_ScreenSaver_Click(bool askFirst = true,
                                        FailureBox failures = FailureBox::Shown);
    ActionOutcome mnu_Lock_Click(bool askFirst = true, FailureBox failures = FailureBox::Shown);

    // Preferences and buttons.
    void Check1_Click();
    void CheckRequest_Click();
    void CommandAbout_Click();
    void CommandOptions_Click();
    void CommandUpdates_Click();
    void mnu_Exit_Click();

    CSystrayIcon* SysIcon() { return sysIcon_.get(); }

private:
    void NIError(std::uint32_t ErrorNumber) override;
    // Hides the window only when the icon is really there; false when it is not.
    bool HideToTray();
    // Adds the icon, first asking whether a failed add put it there after all (a repeated add
    // would be refused as a duplicate); true when the icon is there.
    bool ShowTrayIcon();
    // Removes the icon, also one whose add reported failure but may have gone through.
    void RemoveIcon();
    void StartTrayRetries();
    void StopTrayRetries();
    // The run-at-startup data for the running copy.
    std::string RunEntryData() const;
    // The power actions' one implementation, over the action's row.
    ActionOutcome Perform(MenuEntry entry, bool askFirst, FailureBox failures);
    void PrivilegeOnNt();
    // Tells the user when a power request returned failure, with the system's reason.
    ActionOutcome Reported(std::int32_t result, const PowerAction& action, FailureBox failures);
    ActionOutcome Unavailable(std::string_view text, FailureBox failures);
    // A box, or for an unattended call the debugger's output.
    void Tell(std::string_view text, MessageIcon icon, FailureBox failures);
    // Tells the user, once after each load, which hotkeys another program holds.
    void ReportRefusedHotkeys();

    Services s_;
    std::unique_ptr<CSystrayIcon> sysIcon_;
    bool confirm_ = false;
    std::uint32_t taskbarCreated_ = 0;
    std::int32_t lastMouseMessage_ = 0;
    bool busy_ = false;
    bool trayRetrying_ = false;
    std::uint32_t trayRetryGapMs_ = 0;
    std::uint32_t trayRetryWaitedMs_ = 0;
    // Another copy was running when this one started and the user let it start.
    bool secondCopy_ = false;
    bool unloaded_ = false;
    ScheduleController& schedule_;
    AwakeController& awake_;
    // The tip and the picture follow what is armed and held.
    void TrayChanged();
};

} // namespace halcyra
