#include "app/win32/Win32MainWindow.h"

#include <windowsx.h>

#include <exception>
#include <string>

#include "app/MenuIds.h"
#include "common/RaisedError.h"
#include "common/win32/CommonControls.h"
#include "common/win32/ResourceIds.h"

namespace halcyra::win32 {

namespace {

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr int kClientWidthTwips = 5010;
constexpr int kClientHeightTwips = 1530;

struct ControlLayout {
    int id;
    const char* className;
    const char* caption;
    DWORD style;
    int left, top, width, height; // twips
};

// In tab order.
const ControlLayout kControls[] = {
    {ID_CHECK1, "BUTTON", "Startup on system startup", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 120,
     120, 3015, 255},
    {ID_CHECKREQUEST, "BUTTON",
     "Request confirmation before shutting down, restarting, standing by, logging of, or "
     "hibernating.",
     BS_AUTOCHECKBOX | BS_MULTILINE | BS_TOP | WS_TABSTOP, 120, 480, 2895, 855},
    {ID_COMMANDABOUT, "BUTTON", "A&bout", BS_PUSHBUTTON | WS_TABSTOP, 3360, 0, 1575, 375},
    {ID_COMMANDOPTIONS, "BUTTON", "O&ptions", BS_PUSHBUTTON | WS_TABSTOP, 3360, 360, 1575, 375},
    {ID_COMMANDMINIMIZE, "BUTTON", "&Minimize", BS_PUSHBUTTON | WS_TABSTOP, 3360, 720, 1575, 375},
    {ID_COMMANDUPDATES, "BUTTON", "Check for &Updates", BS_PUSHBUTTON | WS_TABSTOP, 3360, 1080,
     1575, 375},
    {ID_HALCYRAIMAGE, "STATIC", "", SS_ICON | SS_REALSIZECONTROL, 3120, 1080, 240, 240},
};

constexpr UINT_PTR kTrayRetryTimerId = 1;

// What the starter asked for in STARTUPINFO (a shortcut's "Run" choice), read once.
StartShow StartShowFromStartupInfo() {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    ::GetStartupInfoA(&si);
    if (!(si.dwFlags & STARTF_USESHOWWINDOW)) {
        return StartShow::Normal;
    }
    switch (si.wShowWindow) {
    case SW_HIDE:
        return StartShow::Hidden;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
    case SW_FORCEMINIMIZE:
        return StartShow::Minimized;
    case SW_SHOWMAXIMIZED:
        return StartShow::Maximized;
    default:
        return StartShow::Normal;
    }
}

HICON LoadIconSized(HINSTANCE instance, int id, int size) {
    return static_cast<HICON>(
        ::LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

// An error that reaches a handler uncaught is shown with its message and ends the program.
[[noreturn]] void ReportAndEnd(HWND owner, const std::string& text) {
    ::MessageBoxA(owner, text.c_str(), "Halcyra", MB_OK | MB_ICONERROR);
    ::ExitProcess(1);
}

} // namespace

Win32MainWindow::Win32MainWindow(HINSTANCE instance) : instance_(instance) {}

Win32MainWindow::~Win32MainWindow() {
    if (hwnd_) {
        ::DestroyWindow(hwnd_);
    }
}

int Win32MainWindow::Pixels(int twips) const {
    return ::MulDiv(twips, dpi_, 1440);
}

bool Win32MainWindow::Create(HalcyraForm& form) {
    form_ = &form;
    startShow_ = StartShowFromStartupInfo();
    HDC screen = ::GetDC(nullptr);
    dpi_ = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    if (dpi_ <= 0) {
        dpi_ = 96;
    }

    bigIcon_.reset(LoadIconSized(instance_, IDI_HALCYRA, ::GetSystemMetrics(SM_CXICON)));
    smallIcon_.reset(LoadIconSized(instance_, IDI_HALCYRA, ::GetSystemMetrics(SM_CXSMICON)));
    trayImage_.reset(LoadIconSized(instance_, IDI_HALCYRA_TRAY, 16));

    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = StaticWndProc;
    wc.hInstance = instance_;
    wc.hIcon = bigIcon_.get();
    wc.hIconSm = smallIcon_.get();
    wc.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = kClassName;
    if (!::RegisterClassExA(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        return false;
    }

    HMENU menu = ::LoadMenuA(instance_, MAKEINTRESOURCEA(IDM_HALCYRA_MENU));
    RECT frame{0, 0, Pixels(kClientWidthTwips), Pixels(kClientHeightTwips)};
    ::AdjustWindowRectEx(&frame, kStyle, TRUE, 0);
    hwnd_ = ::CreateWindowExA(0, kClassName, "Halcyra", kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                              frame.right - frame.left, frame.bottom - frame.top, nullptr, menu,
                              instance_, this);
    if (!hwnd_) {
        if (menu) {
            ::DestroyMenu(menu);
        }
        return false;
    }
    // The menu bar may wrap; make the client area the designed size whatever it took.
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    const int missing = Pixels(kClientHeightTwips) - (client.bottom - client.top);
    if (missing != 0) {
        RECT window{};
        ::GetWindowRect(hwnd_, &window);
        ::SetWindowPos(hwnd_, nullptr, 0, 0, window.right - window.left,
                       window.bottom - window.top + missing,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return true;
}

void Win32MainWindow::CreateControls() {
    if (controlsMade_) {
        return;
    }
    controlsMade_ = true;
    comctl::InitCommonControls();
    // Tahoma 8.25 points at the screen's density.
    font_.reset(::CreateFontA(-::MulDiv(825, dpi_, 7200), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                              DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                              DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Tahoma"));
    for (const auto& c : kControls) {
        HWND control = ::CreateWindowExA(
            0, c.className, c.caption, WS_CHILD | WS_VISIBLE | c.style, Pixels(c.left),
            Pixels(c.top), Pixels(c.width), Pixels(c.height), hwnd_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance_, nullptr);
        ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    }
    ::SendDlgItemMessageA(hwnd_, ID_HALCYRAIMAGE, STM_SETICON,
                          reinterpret_cast<WPARAM>(trayImage_.get()), 0);
    ::CheckDlgButton(hwnd_, ID_CHECK1, static_cast<UINT>(check1_));
    ::CheckDlgButton(hwnd_, ID_CHECKREQUEST, static_cast<UINT>(checkRequest_));
}

void Win32MainWindow::Discard() {
    if (hwnd_) {
        HWND hwnd = hwnd_;
        hwnd_ = nullptr;
        form_ = nullptr;
        ::DestroyWindow(hwnd);
    }
}

WindowHandle Win32MainWindow::Handle() const {
    return reinterpret_cast<WindowHandle>(hwnd_);
}

bool Win32MainWindow::IsVisible() const {
    return ::IsWindowVisible(hwnd_) != FALSE;
}

void Win32MainWindow::SetVisible(bool visible) {
    if (!visible) {
        ::ShowWindow(hwnd_, SW_HIDE);
        return;
    }
    CreateControls();
    // Always the normal window: a minimized start goes to the tray instead, and a fixed-size
    // window is never maximized, whatever a shortcut asked for.
    ::ShowWindow(hwnd_, SW_SHOWNORMAL);
    if (::IsIconic(hwnd_) || ::IsZoomed(hwnd_)) {
        ::ShowWindow(hwnd_, SW_RESTORE);
    }
    ::UpdateWindow(hwnd_);
}

void Win32MainWindow::SetTrayRetryTimer(std::uint32_t milliseconds) {
    if (milliseconds == 0) {
        ::KillTimer(hwnd_, kTrayRetryTimerId);
    } else {
        ::SetTimer(hwnd_, kTrayRetryTimerId, milliseconds, nullptr);
    }
}

void Win32MainWindow::SetFocus() {
    ::SetFocus(hwnd_);
}

bool Win32MainWindow::IsShowChecked() const {
    return (::GetMenuState(::GetMenu(hwnd_), ID_MNU_SHOW, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

void Win32MainWindow::SetShowChecked(bool checked) {
    ::CheckMenuItem(::GetMenu(hwnd_), ID_MNU_SHOW,
                    MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

int Win32MainWindow::Check1Value() const {
    return controlsMade_ ? static_cast<int>(::IsDlgButtonChecked(hwnd_, ID_CHECK1)) : check1_;
}

void Win32MainWindow::SetCheck1Value(int value) {
    check1_ = value;
    if (controlsMade_) {
        ::CheckDlgButton(hwnd_, ID_CHECK1, static_cast<UINT>(value));
    }
}

int Win32MainWindow::CheckRequestValue() const {
    return controlsMade_ ? static_cast<int>(::IsDlgButtonChecked(hwnd_, ID_CHECKREQUEST))
                         : checkRequest_;
}

void Win32MainWindow::SetCheckRequestValue(int value) {
    checkRequest_ = value;
    if (controlsMade_) {
        ::CheckDlgButton(hwnd_, ID_CHECKREQUEST, static_cast<UINT>(value));
    }
}

ImageHandle Win32MainWindow::HalcyraImagePicture() const {
    return reinterpret_cast<ImageHandle>(trayImage_.get());
}

std::int32_t Win32MainWindow::TwipsPerPixelX() const {
    return 1440 / dpi_;
}

bool Win32MainWindow::TrackActionsPopup(MenuEntry* chosen) {
    POINT pointer{};
    ::GetCursorPos(&pointer);
    HMENU actions = ::GetSubMenu(::GetMenu(hwnd_), 0);
    // The choice is returned rather than posted so that its handler has run when this returns.
    const int id = static_cast<int>(
        ::TrackPopupMenu(actions, TPM_LEFTALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY,
                         pointer.x, pointer.y, 0, hwnd_, nullptr));
    // Lets the menu close properly the next time too.
    ::PostMessageA(hwnd_, WM_NULL, 0, 0);
    const auto entry = MenuEntryFromId(id);
    if (!entry) {
        return false;
    }
    *chosen = *entry;
    return true;
}

void Win32MainWindow::Unload() {
    ::SendMessageA(hwnd_, WM_CLOSE, 0, 0);
}

LRESULT CALLBACK Win32MainWindow::StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        auto* self = static_cast<Win32MainWindow*>(create->lpCreateParams);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32MainWindow*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self || !self->form_) {
        return ::DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    try {
        return self->HandleMessage(msg, wParam, lParam);
    } catch (const RaisedError& e) {
        ReportAndEnd(hwnd,
                     "Run-time error '" + std::to_string(e.Number()) + "':\n\n" + e.Description());
    } catch (const std::exception& e) {
        ReportAndEnd(hwnd, e.what());
    }
}

LRESULT Win32MainWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_MOUSEMOVE: {
        // The tray icon's notifications arrive here too, with the mouse message as x. The shell
        // sends them from its own thread; the pointer's own moves come from this thread's queue.
        MouseMoveOrigin origin;
        origin.sentByAnotherThread = ::InSendMessageEx(nullptr) != ISMEX_NOSEND;
        origin.wParam = wParam;
        const int tpp = TwipsPerPixelX();
        const int button = static_cast<int>(wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON));
        const int shift = ((wParam & MK_SHIFT) ? 1 : 0) | ((wParam & MK_CONTROL) ? 2 : 0);
        form_->Form_MouseMove(button, shift, static_cast<double>(GET_X_LPARAM(lParam)) * tpp,
                              static_cast<double>(GET_Y_LPARAM(lParam)) * tpp, origin);
        return 0;
    }
    case WM_TIMER:
        if (wParam == kTrayRetryTimerId) {
            form_->TrayRetry_Timer();
            return 0;
        }
        return ::DefWindowProcA(hwnd_, msg, wParam, lParam);
    case WM_SHOWWINDOW:
        // Whoever shows the window, it never appears without its controls.
        if (wParam) {
            CreateControls();
        }
        return ::DefWindowProcA(hwnd_, msg, wParam, lParam);
    case WM_CLOSE:
        // Closing always ends the program; it never hides to the tray.
        form_->Form_Unload();
        ::DestroyWindow(hwnd_);
        return 0;
    case WM_ENDSESSION:
        if (wParam) {
            form_->Form_Unload();
        }
        return 0;
    case WM_DESTROY:
        hwnd_ = nullptr;
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcA(hwnd_, msg, wParam, lParam);
    }
}

void Win32MainWindow::OnCommand(WORD id, WORD code) {
    if (const auto entry = MenuEntryFromId(id)) {
        form_->MenuClick(*entry);
        return;
    }
    if (code != BN_CLICKED) {
        return;
    }
    switch (id) {
    case ID_CHECK1:
        form_->Check1_Click();
        break;
    case ID_CHECKREQUEST:
        form_->CheckRequest_Click();
        break;
    default:
        form_->ButtonClick(id);
        break;
    }
}

} // namespace halcyra::win32
