// The main window's messages, the tray notifications and the show/hide toggle.
#include <algorithm>
#include <cmath>

#include "app/HalcyraForm.h"
#include "settings/SettingsKeys.h"

namespace halcyra {

namespace {
constexpr std::int32_t kLeftButtonDown = 0x201;
constexpr std::int32_t kLeftDoubleClick = 0x203;
constexpr std::int32_t kRightButtonUp = 0x205;
} // namespace

LResult HalcyraForm::WindowProc(WindowHandle hwnd, std::uint32_t iMsg, WParam wParam,
                                LParam lParam) {
    if (iMsg == form::kSysCommand && wParam == form::kScMinimize) {
        // Never minimized: hidden to the tray instead.
        HideToTray();
        return 0;
    }
    if (iMsg == taskbarCreated_ && iMsg != 0 && iMsg != form::kSysCommand &&
        iMsg != form::kHotkey) {
        // The old icon went with the old taskbar; Initialize marks it not shown so that
        // ShowIcon adds it afresh.
        sysIcon_->Initialize(s_.view.Handle(), s_.view.HalcyraImagePicture(), TrayTip(),
                             form::kTrayCallbackMessage);
        // Retries are only ever pending while the window is hidden; the new shell is ready, so
        // they end here, and begin afresh only if it refuses too.
        StopTrayRetries();
        if (!s_.view.IsVisible()) {
            sysIcon_->ShowIcon();
            if (!sysIcon_->Visible()) {
                StartTrayRetries();
            }
        }
        return 0;
    }
    if (iMsg == form::kHotkey && wParam >= 1 && wParam <= settings::kHotkeyPairs.size()) {
        PerformAction(s_.hotkeys.Slot(static_cast<std::int64_t>(wParam)));
        return 0;
    }
    return s_.subclass.CallOldWindowProc(hwnd, iMsg, wParam, lParam);
}

bool HalcyraForm::HideToTray() {
    if (!ShowTrayIcon()) {
        return false;
    }
    s_.view.SetVisible(false);
    s_.view.SetShowChecked(false);
    return true;
}

bool HalcyraForm::ShowTrayIcon() {
    if (sysIcon_->AddFailed()) {
        sysIcon_->ConfirmShown();
    }
    sysIcon_->ShowIcon();
    return sysIcon_->Visible();
}

void HalcyraForm::RemoveIcon() {
    if (sysIcon_->Visible()) {
        sysIcon_->HideIcon();
    } else if (sysIcon_->AddFailed()) {
        sysIcon_->HideIconAnyway();
    }
}

void HalcyraForm::StartTrayRetries() {
    // At log-on the shell may not take icons yet. Hidden without an icon, the user would have
    // neither, so this lasts a limited time and then the window is shown.
    trayRetrying_ = true;
    trayRetryGapMs_ = form::kTrayRetryMs;
    trayRetryWaitedMs_ = 0;
    s_.view.SetTrayRetryTimer(trayRetryGapMs_);
}

void HalcyraForm::StopTrayRetries() {
    if (trayRetrying_) {
        trayRetrying_ = false;
        s_.view.SetTrayRetryTimer(0);
    }
}

void HalcyraForm::TrayRetry_Timer() {
    if (!trayRetrying_ || unloaded_) {
        return;
    }
    trayRetryWaitedMs_ += trayRetryGapMs_;
    const bool hidden = !s_.view.IsVisible();
    if (hidden && !ShowTrayIcon()) {
        if (trayRetryWaitedMs_ < form::kTrayRetryMs * form::kTrayRetries) {
            return; // again at the next tick
        }
        if (trayRetryWaitedMs_ < form::kTrayPatienceMs && s_.notify.TaskbarExists()) {
            // A taskbar without a notification area yet: a shell still starting.
            trayRetryGapMs_ =
                std::min(trayRetryGapMs_ * 2, form::kTrayPatienceMs - trayRetryWaitedMs_);
            s_.view.SetTrayRetryTimer(trayRetryGapMs_);
            return;
        }
    }
    StopTrayRetries();
    if (hidden && !sysIcon_->Visible()) {
        // No notification area to be had: the window it is, shown as a double click would. An
        // add that went through since the last question must not stay beside it.
        RemoveIcon();
        s_.view.SetShowChecked(true);
        s_.view.SetVisible(true);
        ReportRefusedHotkeys();
    }
}

void HalcyraForm::Form_MouseMove(int /*button*/, int /*shift*/, double x, double /*y*/,
                                 MouseMoveOrigin origin) {
    // Decided by state, however the move came: the icon exists only while the window is hidden,
    // and a hidden window gets no pointer moves. A visible window's moves are the pointer's
    // (on a dense screen it can stand at x = 513, 515 or 517).
    if (!sysIcon_ || origin.wParam != sysIcon_->Record().uID || s_.view.IsVisible() ||
        !(sysIcon_->Visible() || trayRetrying_)) {
        return;
    }
    lastMouseMessage_ = static_cast<std::int32_t>(std::lround(x / s_.view.TwipsPerPixelX()));
    if (busy_) {
        return;
    }
    busy_ = true;
    switch (lastMouseMessage_) {
    case kLeftButtonDown:
        sysIcon_->TipText(TrayTip());
        sysIcon_->IconHandle(s_.view.HalcyraImagePicture());
        sysIcon_->Update();
        if (s_.view.IsShowChecked()) {
            RemoveIcon();
        }
        break;
    case kLeftDoubleClick:
        s_.windows.SetForegroundWindow(s_.view.Handle());
        s_.view.SetShowChecked(true);
        StopTrayRetries();
        RemoveIcon();
        s_.view.SetVisible(true);
        s_.view.SetFocus();
        ReportRefusedHotkeys();
        break;
    case kRightButtonUp: {
        // Without the foreground the popup would not close when the user clicks elsewhere.
        s_.windows.SetForegroundWindow(s_.view.Handle());
        MenuEntry chosen{};
        if (s_.view.TrackActionsPopup(&chosen)) {
            MenuClick(chosen);
        }
        break;
    }
    default:
        break;
    }
    busy_ = false;
}

void HalcyraForm::mnu_Show_Click() {
    const bool checked = s_.view.IsShowChecked();
    if (checked) {
        if (!ShowTrayIcon()) {
            return; // no icon to go to: the window stays
        }
    } else {
        StopTrayRetries();
        RemoveIcon();
    }
    const bool visible = !s_.view.IsVisible();
    s_.view.SetVisible(visible);
    s_.view.SetShowChecked(visible);
    if (visible) {
        ReportRefusedHotkeys();
    }
}

void HalcyraForm::CommandMinimize_Click() {
    mnu_Show_Click();
}

} // namespace halcyra
