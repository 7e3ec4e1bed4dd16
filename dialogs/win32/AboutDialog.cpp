#include <windows.h>
#include <commctrl.h>

#include "dialogs/win32/AboutDialog.h"

#include <utility>

#include "common/win32/ResourceIds.h"
#include "dialogs/MakerAddresses.h"
#include "common/win32/AccessibleControls.h"
#include "common/win32/CommonControls.h"
#include "common/win32/HighContrast.h"
#include "dialogs/win32/DialogControls.h"
#include "dialogs/win32/DialogIds.h"
#include "dialogs/win32/Dialogs.h"

#include <string>

namespace halcyra::win32 {

using dialogs::AboutLink;

namespace {

constexpr int kLinkIds[] = {IDC_ABOUT_EMAIL, IDC_ABOUT_WEBSITE, IDC_ABOUT_UPDATE};

int LinkId(AboutLink link) {
    return kLinkIds[static_cast<int>(link)];
}

std::optional<AboutLink> LinkOf(int id) {
    switch (id) {
    case IDC_ABOUT_EMAIL:
        return AboutLink::EmailQuorvix;
    case IDC_ABOUT_WEBSITE:
        return AboutLink::QuorvixWebSite;
    case IDC_ABOUT_UPDATE:
        return AboutLink::Update;
    default:
        return std::nullopt;
    }
}

// The links are read as links; the pictures have no caption to be read by.
const AccessibleOverride kAccessible[] = {
    {IDC_ABOUT_EMAIL, ROLE_SYSTEM_LINK, nullptr},  {IDC_ABOUT_WEBSITE, ROLE_SYSTEM_LINK, nullptr},
    {IDC_ABOUT_UPDATE, ROLE_SYSTEM_LINK, nullptr}, {IDC_ABOUT_PICICON, 0, L"Halcyra"},
    {IDC_ABOUT_PICTURE1, 0, L"Monitor power"},
};

// Line1, the etched separator between the texts and the links, in dialog units.
constexpr RECT kSeparator{10, 72, 244, 72};

void DrawLine(HDC dc, int x0, int x1, int y, COLORREF colour) {
    const unique_hpen pen(::CreatePen(PS_SOLID, 1, colour));
    const SelectedObject selected(dc, pen.get());
    ::MoveToEx(dc, x0, y, nullptr);
    ::LineTo(dc, x1, y);
}

} // namespace

LRESULT CALLBACK AboutDialog::LinkProcedure(HWND link, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR id, DWORD_PTR self) {
    auto* dialog = reinterpret_cast<AboutDialog*>(self);
    switch (message) {
    case WM_MOUSEMOVE:
        Guarded(::GetParent(link), [&] { dialog->Link_MouseMove(static_cast<int>(id)); });
        break;
    case WM_GETDLGCODE: {
        // Enter on a focused link opens it instead of pressing the default button OK.
        const auto* msg = reinterpret_cast<const MSG*>(lParam);
        const LRESULT code = comctl::DefSubclassProc(link, message, wParam, lParam);
        if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
            return code | DLGC_WANTMESSAGE;
        }
        return code;
    }
    case WM_KEYDOWN:
        // Enter and Space do what a click does, once per press (not on the key's repeats).
        if ((wParam == VK_RETURN || wParam == VK_SPACE) && (lParam & 0x40000000) == 0) {
            ::SendMessageA(::GetParent(link), WM_COMMAND, MAKEWPARAM(id, STN_CLICKED),
                           reinterpret_cast<LPARAM>(link));
            return 0;
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        ::InvalidateRect(link, nullptr, TRUE);
        break;
    case WM_PAINT:
        if (!wParam) {
            // The label paints into our DC, then the focus cue goes on top, both clipped alike.
            PAINTSTRUCT paint{};
            HDC dc = ::BeginPaint(link, &paint);
            comctl::DefSubclassProc(link, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
            if (::GetFocus() == link) {
                RECT box{};
                ::GetClientRect(link, &box);
                ::DrawFocusRect(dc, &box);
            }
            ::EndPaint(link, &paint);
            return 0;
        }
        break;
    case WM_NCDESTROY:
        comctl::RemoveWindowSubclass(link, LinkProcedure, id);
        break;
    default:
        break;
    }
    return comctl::DefSubclassProc(link, message, wParam, lParam);
}

INT_PTR AboutDialog::HandleMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return Form_Initialize();
    case WM_COMMAND:
        Form_Command(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_MOUSEMOVE:
        // Only the background reaches here: every control over it takes its own moves.
        form_->Form_MouseMove();
        return TRUE;
    case WM_SETCURSOR:
        if (Form_SetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam))) {
            ::SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
        return FALSE;
    case WM_CTLCOLORSTATIC:
        return Form_CtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_PAINT:
        Form_Paint();
        return TRUE;
    case WM_DPICHANGED:
        // The dialog manager scales what it made; the links' font is ours to make again, after
        // it has done so.
        ::PostMessageA(hwnd_, kRemakeFonts, LOWORD(wParam), 0);
        return FALSE;
    case kRemakeFonts:
        MakeLinkFont(static_cast<int>(wParam));
        return TRUE;
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
        // A high-contrast theme switched on or off: every colour is chosen again at repaint.
        ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        return FALSE;
    default:
        return FALSE;
    }
}

INT_PTR AboutDialog::Form_Initialize() {
    form_.emplace(
        reinterpret_cast<WindowHandle>(hwnd_),
        dialogs::AboutPlatform{*this, shell_, *this, registry_, files_, programs_, prompt_});
    HINSTANCE module = ::GetModuleHandleA(nullptr);
    // Icons and cursors from LoadIcon/LoadCursor are shared by the module: never destroyed.
    ::SendDlgItemMessageA(
        hwnd_, IDC_ABOUT_PICICON, STM_SETICON,
        reinterpret_cast<WPARAM>(::LoadIconA(module, MAKEINTRESOURCEA(IDI_HALCYRA))), 0);
    ::SendDlgItemMessageA(
        hwnd_, IDC_ABOUT_PICTURE1, STM_SETICON,
        reinterpret_cast<WPARAM>(::LoadIconA(module, MAKEINTRESOURCEA(IDI_ABOUT_PICTURE))), 0);
    hand_ = ::LoadCursorA(module, MAKEINTRESOURCEA(IDC_HAND_POINTER));

    fontBase_ = ReadDialogFont(hwnd_);
    MakeLinkFont(fontBase_.dpi);
    HWND tooltips = CreateTooltips(hwnd_);
    for (int id : kLinkIds) {
        comctl::SetWindowSubclass(Item(id), LinkProcedure, static_cast<UINT_PTR>(id),
                                  reinterpret_cast<DWORD_PTR>(this));
    }
    // Each tool tip keeps a copy of its text.
    AddTooltip(tooltips, Item(IDC_ABOUT_EMAIL), std::string(dialogs::kMakerMail).c_str());
    AddTooltip(tooltips, Item(IDC_ABOUT_WEBSITE), std::string(dialogs::kMakerWebSite).c_str());

    DescribeControls(hwnd_, kAccessible);
    form_->Form_Load();
    return TRUE; // the focus goes to OK, the first tab stop
}

// The links' underlined font at a density, each label shrunk to its text at that size, so the
// hand shows over the words only.
void AboutDialog::MakeLinkFont(int dpi) {
    unique_hfont font = DeriveDialogFont(fontBase_, dpi, 0, true);
    const WindowDC dc(hwnd_);
    const SelectedObject measuringFont(dc.get(), font.get());
    for (int id : kLinkIds) {
        HWND link = Item(id);
        ::SendMessageA(link, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
        char text[128] = {};
        const int length = ::GetWindowTextA(link, text, sizeof text);
        SIZE extent{};
        RECT box{};
        ::GetTextExtentPoint32A(dc.get(), text, length, &extent);
        ::GetWindowRect(link, &box);
        // Two pixels more hold the focus cue's right edge clear of the last letter.
        ::SetWindowPos(link, nullptr, 0, 0, extent.cx + 3, box.bottom - box.top,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    linkFont_ = std::move(font); // the old one goes once no label holds it
}

void AboutDialog::Form_Command(int id, int code) {
    if (code != BN_CLICKED) { // STN_CLICKED has the same value
        return;
    }
    switch (id) {
    case IDC_ABOUT_CMDOK:
    case IDOK:
    case IDCANCEL: // Escape and the close box: OK is also the cancel button
        form_->cmdOK_Click();
        break;
    case IDC_ABOUT_SYSINFO:
        form_->cmdSysInfo_Click();
        break;
    case IDC_ABOUT_EMAIL:
        form_->EmailQuorvix_Click();
        break;
    case IDC_ABOUT_WEBSITE:
        form_->QuorvixWebSite_Click();
        break;
    case IDC_ABOUT_UPDATE:
        form_->Update_Click();
        break;
    default:
        break;
    }
}

void AboutDialog::Link_MouseMove(int id) {
    switch (id) {
    case IDC_ABOUT_EMAIL:
        form_->EmailQuorvix_MouseMove();
        break;
    case IDC_ABOUT_WEBSITE:
        form_->QuorvixWebSite_MouseMove();
        break;
    case IDC_ABOUT_UPDATE:
        form_->Update_MouseMove();
        break;
    default:
        break;
    }
}

INT_PTR AboutDialog::Form_CtlColorStatic(HDC dc, HWND control) {
    const int id = ::GetDlgCtrlID(control);
    COLORREF text = ContrastColour(0, COLOR_WINDOWTEXT);
    if (auto link = LinkOf(id)) {
        const COLORREF designed = form_->LinkColour(*link);
        text = ContrastColour(designed,
                              designed == dialogs::kLinkAtRest ? COLOR_HOTLIGHT : COLOR_WINDOWTEXT);
    } else if (id != IDC_ABOUT_TITLE && id != IDC_ABOUT_DESCRIPTION) {
        return FALSE;
    }
    ::SetTextColor(dc, text);
    ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<INT_PTR>(::GetSysColorBrush(COLOR_BTNFACE));
}

bool AboutDialog::Form_SetCursor(HWND over, int hitTest) {
    if (hitTest != HTCLIENT || !LinkOf(::GetDlgCtrlID(over)) || ::GetParent(over) != hwnd_) {
        return false;
    }
    ::SetCursor(hand_);
    return true;
}

void AboutDialog::Form_Paint() {
    const PaintDC dc(hwnd_);
    RECT line = kSeparator;
    ::MapDialogRect(hwnd_, &line);
    DrawLine(dc.get(), line.left, line.right, line.top,
             ContrastColour(RGB(0x80, 0x80, 0x80), COLOR_BTNSHADOW));
    DrawLine(dc.get(), line.left, line.right, line.top + 1,
             ContrastColour(RGB(0xFF, 0xFF, 0xFF), COLOR_BTNHIGHLIGHT));
}

void AboutDialog::Unload() {
    ::EndDialog(hwnd_, 0);
}

void AboutDialog::SetText(dialogs::AboutText which, const std::string& text) {
    switch (which) {
    case dialogs::AboutText::Caption:
        ::SetWindowTextA(hwnd_, text.c_str());
        break;
    case dialogs::AboutText::Title:
        ::SetDlgItemTextA(hwnd_, IDC_ABOUT_TITLE, text.c_str());
        break;
    case dialogs::AboutText::Version:
        ::SetDlgItemTextA(hwnd_, IDC_ABOUT_VERSION, text.c_str());
        break;
    }
}

void AboutDialog::SetLinkColour(AboutLink link, dialogs::Colour) {
    // The colour is read back from frmAbout when the label repaints.
    ::InvalidateRect(Item(LinkId(link)), nullptr, TRUE);
}

void AboutDialog::ShowUpdateDialog(WindowHandle owner) {
    win32::ShowUpdateDialog(reinterpret_cast<HWND>(owner));
}

} // namespace halcyra::win32
