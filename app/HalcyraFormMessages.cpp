// The main window's messages, the tray notifications and the show/hide toggle.
#include <cmath>

#include "app/HalcyraForm.h"

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
        if (!s_.view.IsVisible()) {
            sysIcon_->ShowIcon();
            if (!sysIcon_->Visible()) {
                StartTrayRetries();
            }
        }
        return 0;
    }
    if (iMsg == form::kHotkey && wParam >= 1 && wParam <= 7) {
        PerformAction(s_.hotkeys.Slot(static_cast<std::int64_t>(wParam)));
        return 0;
    }
    return s_.subclass.CallOldWindowProc(hwnd, iMsg, wParam, lParam);
}

bool HalcyraForm::HideToTray() {
    sysIcon_->ShowIcon();
    if (!sysIcon_->Visible()) {
        return false;
    }
    s_.view.SetVisible(false);
    s_.view.SetShowChecked(false);
    return true;
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
    // neither, so this lasts a few ticks at most and then the window is shown.
    trayRetriesLeft_ = form::kTrayRetries;
    s_.view.SetTrayRetryTimer(form::kTrayRetryMs);
}

void HalcyraForm::StopTrayRetries() {
    if (trayRetriesLeft_ > 0) {
        trayRetriesLeft_ = 0;
        s_.view.SetTrayRetryTimer(0);
    }
}

void HalcyraForm::TrayRetry_Timer() {
    if (trayRetriesLeft_ <= 0 || unloaded_) {
        return;
    }
    --trayRetriesLeft_;
    const bool hidden = !s_.view.IsVisible();
    if (hidden) {
        sysIcon_->ShowIcon();
        if (!sysIcon_->Visible() && trayRetriesLeft_ > 0) {
            return; // again at the next tick
        }
    }
    trayRetriesLeft_ = 0;
    s_.view.SetTrayRetryTimer(0);
    if (hidden && !sysIcon_->Visible()) {
        // No notification area to be had: the window it is, shown as a double click would.
        RemoveIcon();
        s_.view.SetShowChecked(true);
        s_.view.SetVisible(true);
        ReportRefusedHotkeys();
    }
}

void HalcyraForm::Form_MouseMove(int /*button*/, int /*shift*/, double x, double /*y*/,
                                 MouseMoveOrigin origin) {
    // Only the shell's notifications are tray clicks. On a dense screen the client area is wide
    // enough for the pointer itself to reach x = 513, 515 or 517.
    if (!sysIcon_ || !origin.sentByAnotherThread || origin.wParam != sysIcon_->Record().uID) {
        return;
    }
    lastMouseMessage_ = static_cast<std::int32_t>(std::lround(x / s_.view.TwipsPerPixelX()));
    if (busy_ != 0) {
        return;
    }
    busy_ = -1;
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
    busy_ = 0;
}

void HalcyraForm::mnu_Show_Click() {
    const bool checked = s_.view.IsShowChecked();
    if (checked) {
        sysIcon_->ShowIcon();
        if (!sysIcon_->Visible()) {
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
