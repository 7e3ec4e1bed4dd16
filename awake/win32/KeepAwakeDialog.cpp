#include "awake/win32/KeepAwakeDialog.h"

#include <array>
#include <string>

#include "awake/win32/KeepAwakeResources.h"
#include "common/ClockText.h"
#include "common/win32/AccessibleControls.h"
#include "common/win32/Utf8.h"
#include "common/win32/WindowProcedure.h"
#include "watch/win32/ProgramList.h"

namespace halcyra::win32 {

namespace {

// The radio buttons in AwakeKind's order.
constexpr std::array<int, 4> kRadios = {IDC_AWK_OFF, IDC_AWK_FOR, IDC_AWK_UNTIL, IDC_AWK_WHILE};

// The edits and the list are named by what they hold, not by their text.
constexpr AccessibleOverride kAccessible[] = {
    {IDC_AWK_MINUTES, ROLE_SYSTEM_TEXT, L"Minutes (1 to 1440)"},
    {IDC_AWK_TIME, ROLE_SYSTEM_TEXT, L"Time (HH:MM, local time)"},
    {IDC_AWK_LIST, ROLE_SYSTEM_LIST, L"Running programs"},
    {IDC_AWK_PROGRAM, ROLE_SYSTEM_TEXT, L"File name"},
};

std::string ItemText(HWND dialog, int id) {
    const HWND item = ::GetDlgItem(dialog, id);
    const int length = ::GetWindowTextLengthW(item);
    std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(item, text.data(), length + 1)));
    return Narrow(text);
}

void SetItemText(HWND dialog, int id, const std::string& text) {
    ::SetDlgItemTextW(dialog, id, Widen(text).c_str());
}

// One opening of the dialog.
class KeepAwakeDialog {
public:
    KeepAwakeDialog(const KeepAwakeChoice& choice, IProcessPort& processes,
                    const AwakePreview& when)
        : choice_(choice), programs_(processes), when_(when) {}

    const KeepAwakeChoice& Choice() const { return choice_; }
    const std::optional<AwakeRequest>& Request() const { return request_; }

private:
    friend struct WindowProcedure<KeepAwakeDialog>;
    void Adopt(HWND dialog) { hwnd_ = dialog; }
    INT_PTR HandleMessage(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
    void Load();
    KeepAwakeRead Read() const;
    void ShowWhen();
    void Choose(AwakeKind kind);
    void Ok();

    KeepAwakeChoice choice_;
    const ProgramList programs_;
    const AwakePreview& when_;
    std::optional<AwakeRequest> request_;
    HWND hwnd_ = nullptr;
    bool loaded_ = false;
};

void KeepAwakeDialog::Load() {
    programs_.Fill(::GetDlgItem(hwnd_, IDC_AWK_LIST), choice_.program);
    ::SetDlgItemInt(hwnd_, IDC_AWK_MINUTES, static_cast<UINT>(choice_.minutes), FALSE);
    SetItemText(hwnd_, IDC_AWK_TIME, clockText::ClockText(choice_.hour, choice_.minute));
    SetItemText(hwnd_, IDC_AWK_PROGRAM, choice_.program);
    ::SendDlgItemMessageW(hwnd_, IDC_AWK_MINUTES, EM_LIMITTEXT, 4, 0);
    ::SendDlgItemMessageW(hwnd_, IDC_AWK_TIME, EM_LIMITTEXT, 5, 0);
    ::SendDlgItemMessageW(hwnd_, IDC_AWK_PROGRAM, EM_LIMITTEXT, MAX_PATH, 0);
    ::CheckDlgButton(hwnd_, IDC_AWK_DISPLAY, choice_.display ? BST_CHECKED : BST_UNCHECKED);
    ::CheckRadioButton(hwnd_, IDC_AWK_OFF, IDC_AWK_WHILE,
                       kRadios[static_cast<std::size_t>(choice_.kind)]);
    DescribeControls(hwnd_, kAccessible);
    loaded_ = true;
    ShowWhen();
}

KeepAwakeRead KeepAwakeDialog::Read() const {
    KeepAwakeFields fields;
    for (std::size_t i = 0; i < kRadios.size(); ++i) {
        if (::IsDlgButtonChecked(hwnd_, kRadios[i])) {
            fields.kind = static_cast<AwakeKind>(i);
        }
    }
    fields.minutes = ItemText(hwnd_, IDC_AWK_MINUTES);
    fields.time = ItemText(hwnd_, IDC_AWK_TIME);
    fields.program = ItemText(hwnd_, IDC_AWK_PROGRAM);
    fields.display = ::IsDlgButtonChecked(hwnd_, IDC_AWK_DISPLAY) == BST_CHECKED;
    return ReadKeepAwake(fields, choice_);
}

void KeepAwakeDialog::ShowWhen() {
    if (loaded_) {
        SetItemText(hwnd_, IDC_AWK_WHEN, PreviewLine(Read(), when_));
    }
}

void KeepAwakeDialog::Choose(AwakeKind kind) {
    ::CheckRadioButton(hwnd_, IDC_AWK_OFF, IDC_AWK_WHILE, kRadios[static_cast<std::size_t>(kind)]);
}

void KeepAwakeDialog::Ok() {
    const KeepAwakeRead read = Read();
    if (!read.request) {
        // The reason is on the preview line; the field at fault takes the focus.
        ::MessageBeep(MB_ICONEXCLAMATION);
        ShowWhen();
        const int field = read.choice.kind == AwakeKind::For     ? IDC_AWK_MINUTES
                          : read.choice.kind == AwakeKind::Until ? IDC_AWK_TIME
                                                                 : IDC_AWK_PROGRAM;
        ::SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(hwnd_, field)),
                       TRUE);
        return;
    }
    choice_ = read.choice;
    request_ = read.request;
    ::EndDialog(hwnd_, IDOK);
}

INT_PTR KeepAwakeDialog::HandleMessage(HWND, UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG:
        Load();
        // The chosen way has the focus, as Tab into the group would give it.
        ::SetFocus(::GetDlgItem(hwnd_, kRadios[static_cast<std::size_t>(choice_.kind)]));
        return FALSE;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        if (id == IDOK) {
            Ok();
        } else if (id == IDCANCEL) {
            ::EndDialog(hwnd_, IDCANCEL);
        } else if (!loaded_) {
            return TRUE;
        } else if (id == IDC_AWK_LIST && code == LBN_SELCHANGE) {
            // A program picked from the list is waited for by its file name.
            const std::string program = programs_.Selected(::GetDlgItem(hwnd_, IDC_AWK_LIST));
            if (!program.empty()) {
                SetItemText(hwnd_, IDC_AWK_PROGRAM, program);
                Choose(AwakeKind::While);
            }
            ShowWhen();
        } else if (code == EN_CHANGE || code == BN_CLICKED) {
            // Typing a value chooses its way of saying how long.
            if (code == EN_CHANGE && ::GetFocus() == ::GetDlgItem(hwnd_, id)) {
                Choose(id == IDC_AWK_MINUTES ? AwakeKind::For
                       : id == IDC_AWK_TIME  ? AwakeKind::Until
                                             : AwakeKind::While);
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

std::optional<AwakeRequest> AskKeepAwake(HWND owner, ISettingsStore& settings,
                                         IProcessPort& processes, const AwakePreview& when) {
    KeepAwakeDialog dialog(KeepAwakeChoice::Load(settings), processes, when);
    const INT_PTR answer = ::DialogBoxParamW(
        ::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_KEEP_AWAKE), owner,
        WindowProcedure<KeepAwakeDialog>::Dialog, reinterpret_cast<LPARAM>(&dialog));
    if (answer != IDOK || !dialog.Request()) {
        return std::nullopt;
    }
    dialog.Choice().Save(settings);
    return dialog.Request();
}

} // namespace halcyra::win32
