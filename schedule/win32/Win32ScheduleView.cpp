#include "schedule/win32/Win32ScheduleView.h"

#include <string>

#include "schedule/Schedule.h"
#include "common/ClockText.h"
#include "schedule/win32/ScheduleResources.h"
#include "common/win32/AccessibleControls.h"
#include "common/win32/Utf8.h"
#include "watch/win32/ProgramList.h"

namespace halcyra::win32 {

namespace {

std::string ItemText(HWND dialog, int id) {
    wchar_t buf[MAX_PATH + 1]{};
    ::GetDlgItemTextW(dialog, id, buf, MAX_PATH + 1);
    return Narrow(buf);
}

// A value field is named by its way of saying when and its unit, which stand on either side.
const AccessibleOverride kDialogAccessible[] = {
    {IDC_SCH_IN_MINUTES, 0, L"In minutes (1 to 1440)"},
    {IDC_SCH_AT_TIME, 0, L"At HH:MM, local time"},
    {IDC_SCH_IDLE_MINUTES, 0, L"After minutes without keyboard or mouse input"},
    {IDC_SCH_LIST, ROLE_SYSTEM_LIST, L"Running programs"},
    {IDC_SCH_PROGRAM, ROLE_SYSTEM_TEXT, L"File name of the program"},
};

// One opening of the Schedule dialog.
class ScheduleDialog {
public:
    ScheduleDialog(ScheduleChoice& choice, const SchedulePreview& preview, IProcessPort& processes)
        : choice_(choice), preview_(preview), programs_(processes) {}

private:
    friend struct WindowProcedure<ScheduleDialog>;
    void Adopt(HWND dialog) { hwnd_ = dialog; }
    INT_PTR HandleMessage(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
    void Load();
    // The fields as a choice; false, with the reason shown, when one is out of range.
    bool Read(ScheduleChoice& out);
    void ShowWhen();
    void Choose(int radio) { ::CheckRadioButton(hwnd_, IDC_SCH_IN, IDC_SCH_ENDS, radio); }

    ScheduleChoice& choice_;
    const SchedulePreview& preview_;
    const ProgramList programs_;
    HWND hwnd_ = nullptr;
    bool loaded_ = false;
};

void ScheduleDialog::Load() {
    const auto actions = Schedule::Actions();
    for (std::size_t i = 0; i < actions.size(); ++i) {
        const std::string name = Schedule::ActionName(actions[i]);
        ::SendDlgItemMessageA(hwnd_, IDC_SCH_ACTION, CB_ADDSTRING, 0,
                              reinterpret_cast<LPARAM>(name.c_str()));
        if (actions[i] == choice_.action) {
            ::SendDlgItemMessageA(hwnd_, IDC_SCH_ACTION, CB_SETCURSEL, i, 0);
        }
    }
    ::SetDlgItemInt(hwnd_, IDC_SCH_IN_MINUTES, static_cast<UINT>(choice_.inMinutes), FALSE);
    ::SetDlgItemTextA(hwnd_, IDC_SCH_AT_TIME,
                      clockText::ClockText(choice_.hour, choice_.minute).c_str());
    ::SetDlgItemInt(hwnd_, IDC_SCH_IDLE_MINUTES, static_cast<UINT>(choice_.idleMinutes), FALSE);
    ::SendDlgItemMessageA(hwnd_, IDC_SCH_IN_MINUTES, EM_LIMITTEXT, clockText::kMinutesDigits, 0);
    ::SendDlgItemMessageA(hwnd_, IDC_SCH_AT_TIME, EM_LIMITTEXT, clockText::kClockTimeLength, 0);
    ::SendDlgItemMessageA(hwnd_, IDC_SCH_IDLE_MINUTES, EM_LIMITTEXT, clockText::kMinutesDigits, 0);
    programs_.Fill(::GetDlgItem(hwnd_, IDC_SCH_LIST), choice_.program);
    ::SetDlgItemTextW(hwnd_, IDC_SCH_PROGRAM, Widen(choice_.program).c_str());
    ::SendDlgItemMessageA(hwnd_, IDC_SCH_PROGRAM, EM_LIMITTEXT, MAX_PATH, 0);
    ::CheckDlgButton(hwnd_, IDC_SCH_KEEP_AWAKE, choice_.keepAwake ? BST_CHECKED : BST_UNCHECKED);
    // The radio buttons stand in ScheduleKind's order.
    Choose(IDC_SCH_IN + static_cast<int>(choice_.kind));
    loaded_ = true;
    ShowWhen();
}

bool ScheduleDialog::Read(ScheduleChoice& out) {
    out = choice_;
    const auto actions = Schedule::Actions();
    const auto index = ::SendDlgItemMessageA(hwnd_, IDC_SCH_ACTION, CB_GETCURSEL, 0, 0);
    if (index >= 0 && static_cast<std::size_t>(index) < actions.size()) {
        out.action = actions[static_cast<std::size_t>(index)];
    }
    out.kind = ScheduleKind::In;
    for (int radio = IDC_SCH_IN; radio <= IDC_SCH_ENDS; ++radio) {
        if (::IsDlgButtonChecked(hwnd_, radio)) {
            out.kind = static_cast<ScheduleKind>(radio - IDC_SCH_IN);
        }
    }
    const std::string typed = ItemText(hwnd_, IDC_SCH_PROGRAM);
    const bool named = Schedule::Valid({out.action, ScheduleKind::Ends, 0, 0, 0, typed});
    if (named) {
        out.program = typed;
    }
    out.keepAwake = ::IsDlgButtonChecked(hwnd_, IDC_SCH_KEEP_AWAKE) == BST_CHECKED;
    const auto in = clockText::ParseMinutes(ItemText(hwnd_, IDC_SCH_IN_MINUTES));
    const auto idle = clockText::ParseMinutes(ItemText(hwnd_, IDC_SCH_IDLE_MINUTES));
    const auto at = clockText::ParseClockTime(ItemText(hwnd_, IDC_SCH_AT_TIME));
    out.inMinutes = in.value_or(out.inMinutes);
    out.idleMinutes = idle.value_or(out.idleMinutes);
    if (at) {
        out.hour = at->hour;
        out.minute = at->minute;
    }
    switch (out.kind) {
    case ScheduleKind::In:
        return in.has_value();
    case ScheduleKind::Idle:
        return idle.has_value();
    case ScheduleKind::At:
        return at.has_value();
    case ScheduleKind::Ends:
        return named;
    }
    return false;
}

void ScheduleDialog::ShowWhen() {
    if (!loaded_) {
        return;
    }
    ScheduleChoice c;
    std::string text;
    if (Read(c)) {
        text = Schedule::ActionName(c.action) + " " + preview_(c.Request());
    } else {
        text = c.kind == ScheduleKind::At     ? "Enter a time from 00:00 to 23:59."
               : c.kind == ScheduleKind::Ends ? "Enter a program's file name or process id."
                                              : "Enter 1 to 1440 minutes.";
    }
    ::SetDlgItemTextA(hwnd_, IDC_SCH_WHEN, text.c_str());
}

INT_PTR ScheduleDialog::HandleMessage(HWND, UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG:
        Load();
        DescribeControls(hwnd_, kDialogAccessible);
        return TRUE;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        if (id == IDOK) {
            ScheduleChoice c;
            if (!Read(c)) {
                ::MessageBeep(MB_ICONEXCLAMATION);
                ShowWhen();
                return TRUE;
            }
            choice_ = c;
            ::EndDialog(hwnd_, IDOK);
        } else if (id == IDCANCEL) {
            ::EndDialog(hwnd_, IDCANCEL);
        } else if (id == IDC_SCH_LIST && code == LBN_SELCHANGE && loaded_) {
            // A program picked from the list is awaited by its file name.
            const std::string program = programs_.Selected(::GetDlgItem(hwnd_, IDC_SCH_LIST));
            if (!program.empty()) {
                ::SetDlgItemTextW(hwnd_, IDC_SCH_PROGRAM, Widen(program).c_str());
                Choose(IDC_SCH_ENDS);
            }
            ShowWhen();
        } else if (code == EN_CHANGE || code == BN_CLICKED || code == CBN_SELCHANGE) {
            // Typing a value chooses its way of saying when.
            if (code == EN_CHANGE && loaded_) {
                const int radio = id == IDC_SCH_AT_TIME        ? IDC_SCH_AT
                                  : id == IDC_SCH_IDLE_MINUTES ? IDC_SCH_IDLE
                                  : id == IDC_SCH_PROGRAM      ? IDC_SCH_ENDS
                                                               : IDC_SCH_IN;
                if (::GetFocus() == ::GetDlgItem(hwnd_, id)) {
                    Choose(radio);
                }
            }
            ShowWhen();
        }
        return TRUE;
    }
    default:
        return FALSE;
    }
}

} // namespace

Win32ScheduleView::Win32ScheduleView(HINSTANCE instance, IProcessPort& processes,
                                     ShowState showState)
    : instance_(instance), processes_(processes), showState_(std::move(showState)) {}

Win32ScheduleView::~Win32ScheduleView() {
    if (warning_) {
        ::DestroyWindow(warning_);
    }
}

bool Win32ScheduleView::AskSchedule(WindowHandle owner, ScheduleChoice& choice,
                                    const SchedulePreview& preview) {
    ScheduleDialog dialog(choice, preview, processes_);
    return ::DialogBoxParamA(instance_, MAKEINTRESOURCEA(IDD_SCHEDULE),
                             reinterpret_cast<HWND>(owner), WindowProcedure<ScheduleDialog>::Dialog,
                             reinterpret_cast<LPARAM>(&dialog)) == IDOK;
}

bool Win32ScheduleView::ShowWarning(std::string_view text, bool forced) {
    if (!warning_) {
        // No owner: it must show while the main window is hidden, and have its own Alt+Tab entry.
        ::CreateDialogParamA(instance_, MAKEINTRESOURCEA(IDD_SCHEDULE_WARNING), nullptr,
                             WindowProcedure<Win32ScheduleView>::Dialog,
                             reinterpret_cast<LPARAM>(this));
        if (!warning_) {
            const DWORD error = ::GetLastError();
            const std::string reason =
                "Halcyra: the schedule's warning window could not be created (error " +
                std::to_string(error) + ")\n";
            ::OutputDebugStringA(reason.c_str());
            return false;
        }
        DescribeControls(warning_);
        // Bottom right of the work area, by the clock, where the tray icon is.
        RECT work{};
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        RECT box{};
        ::GetWindowRect(warning_, &box);
        const int margin = ::GetSystemMetrics(SM_CXSMICON);
        ::SetWindowPos(warning_, HWND_TOPMOST, work.right - (box.right - box.left) - margin,
                       work.bottom - (box.bottom - box.top) - margin, 0, 0,
                       SWP_NOSIZE | SWP_NOACTIVATE);
    }
    SetWarningText(text);
    ::SetDlgItemTextA(warning_, IDC_WARN_FORCED,
                      forced ? std::string(scheduleText::kForcedWarning).c_str() : "");
    // Shown without the focus: a user typing elsewhere must not press its buttons.
    ::ShowWindow(warning_, SW_SHOWNOACTIVATE);
    ::SetWindowPos(warning_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::FlashWindow(warning_, TRUE);
    return true;
}

void Win32ScheduleView::SetWarningText(std::string_view text) {
    if (warning_) {
        ::SetDlgItemTextA(warning_, IDC_WARN_TEXT, std::string(text).c_str());
    }
}

void Win32ScheduleView::HideWarning() {
    if (warning_) {
        ::ShowWindow(warning_, SW_HIDE);
    }
}

bool Win32ScheduleView::WarningInUse() const {
    if (!warning_ || !::IsWindowVisible(warning_)) {
        return false;
    }
    if (::GetForegroundWindow() == warning_) {
        return true;
    }
    POINT pointer{};
    RECT box{};
    return ::GetCursorPos(&pointer) && ::GetWindowRect(warning_, &box) && ::PtInRect(&box, pointer);
}

void Win32ScheduleView::ShowScheduleState(std::string_view status, std::string_view cancelCaption) {
    showState_(std::string(status), std::string(cancelCaption));
}

INT_PTR Win32ScheduleView::HandleMessage(HWND, UINT msg, WPARAM wParam, LPARAM) {
    ScheduleController* control = control_;
    switch (msg) {
    case WM_INITDIALOG:
        return FALSE; // no focus given
    case WM_CLOSE:
        // The close box only hides it: at the last minute it comes back, and at zero the
        // action still runs.
        ::ShowWindow(warning_, SW_HIDE);
        if (control) {
            control->WarningClosed();
        }
        return TRUE;
    case WM_COMMAND:
        if (!control) {
            return TRUE;
        }
        switch (LOWORD(wParam)) {
        case IDC_WARN_NOW:
            control->DoItNow();
            break;
        case IDC_WARN_POSTPONE:
            control->Postpone();
            break;
        case IDCANCEL:
            control->Cancel();
            break;
        default:
            break;
        }
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace halcyra::win32
