#include "app/win32/Win32MainWindow.h"

#include <windowsx.h>

#include <utility>

#include "actions/MenuIds.h"
#include "app/ControlIds.h"
#include "awake/AwakeController.h"
#include "awake/win32/AwakeTrayPicture.h"
#include "schedule/ScheduleController.h"
#include "commandline/win32/CommandForwarding.h"
#include "app/win32/MainWindowLayout.h"
#include "app/win32/Win32ProgramInfo.h"
#include "common/Product.h"
#include "common/win32/AccessibleControls.h"
#include "common/win32/BoundProc.h"
#include "common/win32/CommonControls.h"
#include "common/win32/ResourceIds.h"

namespace halcyra::win32 {

namespace {

using namespace layout;

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

// Since Windows 10 (1607); before it every window has the one system density.
BoundProc<int(WINAPI*)(int, UINT)> getSystemMetricsForDpi{"user32.dll", "GetSystemMetricsForDpi"};

// The small-icon size the shell asks for at a density: 16, 20, 24 or 32 pixels.
int SmallIconSize(int dpi) {
    if (auto forDpi = getSystemMetricsForDpi.get()) {
        return forDpi(SM_CXSMICON, static_cast<UINT>(dpi));
    }
    return ::GetSystemMetrics(SM_CXSMICON);
}

// Since Windows 10 (1607), as above.
BoundProc<UINT(WINAPI*)(HWND)> getDpiForWindow{"user32.dll", "GetDpiForWindow"};

int SystemDensity() {
    const int dpi = ::GetDeviceCaps(WindowDC(nullptr).get(), LOGPIXELSX);
    return dpi > 0 ? dpi : 96;
}

int OwnDensity(HWND window) {
    auto forWindow = getDpiForWindow.get();
    return forWindow && window ? static_cast<int>(forWindow(window)) : 0;
}

// The notification area draws at the taskbar's density, whichever screen the window is on.
int TaskbarDensity() {
    const int dpi = OwnDensity(::FindWindowA("Shell_TrayWnd", nullptr));
    return dpi > 0 ? dpi : SystemDensity();
}

} // namespace

Win32MainWindow::Win32MainWindow(HINSTANCE instance, DensityOfWindow densityOf)
    : instance_(instance), densityOf_(densityOf ? densityOf : OwnDensity) {}

Win32MainWindow::~Win32MainWindow() = default;

int Win32MainWindow::Pixels(int twips) const {
    return ::MulDiv(twips, dpi_, 1440);
}

bool Win32MainWindow::Create(HalcyraForm& form) {
    form_ = &form;
    holdsHotkeyMessage_ = ::RegisterWindowMessageA(Win32ProgramInfo::kHoldsHotkeyMessage);
    startShow_ = StartShowFromStartupInfo();
    dpi_ = SystemDensity();
    trayDpi_ = TaskbarDensity();

    bigIcon_.reset(LoadIconSized(instance_, IDI_HALCYRA, ::GetSystemMetrics(SM_CXICON)));
    smallIcon_.reset(LoadIconSized(instance_, IDI_HALCYRA, ::GetSystemMetrics(SM_CXSMICON)));
    trayImage_.reset(LoadIconSized(instance_, IDI_HALCYRA_TRAY, SmallIconSize(trayDpi_)));

    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProcedure<Win32MainWindow>::Window;
    wc.hInstance = instance_;
    wc.hIcon = bigIcon_.get();
    wc.hIconSm = smallIcon_.get();
    wc.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = kClassName;
    if (!::RegisterClassExA(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        return false;
    }

    unique_hmenu menu(::LoadMenuA(instance_, MAKEINTRESOURCEA(IDM_HALCYRA_MENU)));
    RECT frame{0, 0, Pixels(kClientWidthTwips), Pixels(kClientHeightTwips)};
    ::AdjustWindowRectEx(&frame, kStyle, TRUE, 0);
    // The window is adopted at its creation (WM_NCCREATE) and owned from then on.
    if (!::CreateWindowExA(0, kClassName, HALCYRA_PRODUCT_NAME, kStyle, CW_USEDEFAULT,
                           CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                           nullptr, menu.get(), instance_, this)) {
        window_.release(); // a creation refused after WM_NCCREATE has destroyed it already
        return false;
    }
    menu.release(); // the window's now: destroyed with it
    // Born on a screen whose scale differs from the system's, the window gets no WM_DPICHANGED:
    // it takes its own density as soon as it has one, before anything is laid out.
    if (const int own = densityOf_(window_.get()); own > 0) {
        dpi_ = own;
    }
    windowImage_.reset(LoadIconSized(instance_, IDI_HALCYRA_TRAY, SmallIconSize(dpi_)));
    FitClientArea();
    return true;
}

void Win32MainWindow::FitClientArea() {
    // The menu bar may wrap, a suggested frame may be a pixel off: make the client area the
    // designed size whatever the frame took.
    RECT client{};
    ::GetClientRect(window_.get(), &client);
    const int wider = Pixels(kClientWidthTwips) - (client.right - client.left);
    // While a schedule is armed or the computer kept awake, their status rows below the rest.
    const int height = kClientHeightTwips + (controlsMade_ ? RowsTwips() : 0);
    const int missing = Pixels(height) - (client.bottom - client.top);
    if (wider != 0 || missing != 0) {
        RECT window{};
        ::GetWindowRect(window_.get(), &window);
        ::SetWindowPos(window_.get(), nullptr, 0, 0, window.right - window.left + wider,
                       window.bottom - window.top + missing,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Win32MainWindow::CreateControls() {
    if (controlsMade_) {
        return;
    }
    controlsMade_ = true;
    comctl::InitCommonControls();
    FitClientArea(); // one row taller when armed before the window was first shown
    for (const auto& c : kControls) {
        ::CreateWindowExA(0, c.className, c.caption, WS_CHILD | WS_VISIBLE | c.style, 0, 0, 0, 0,
                          window_.get(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                          instance_, nullptr);
    }
    LayOutControls();
    // The tray's picture has no caption to be read by.
    const AccessibleOverride picture[] = {{ID_HALCYRAIMAGE, 0, L"Halcyra"}};
    DescribeControls(window_.get(), picture);
    ::CheckDlgButton(window_.get(), ID_CHECK1, static_cast<UINT>(check1_));
    ::CheckDlgButton(window_.get(), ID_CHECKREQUEST, static_cast<UINT>(checkRequest_));
    PlaceScheduleRow();
    PlaceAwakeRow();
}

void Win32MainWindow::ShowScheduleState(const std::string& status,
                                        const std::string& cancelCaption) {
    const bool wasArmed = !scheduleStatus_.empty();
    scheduleStatus_ = status;
    // The menu bar's "&Actions" is the tray popup too: one entry serves both.
    HMENU actions = ::GetSubMenu(::GetMenu(window_.get()), 0);
    ::DeleteMenu(actions, ID_MNU_CANCELSCHEDULE, MF_BYCOMMAND);
    if (!status.empty()) {
        const int count = ::GetMenuItemCount(actions);
        for (int i = 0; i < count; ++i) {
            if (::GetMenuItemID(actions, i) == ID_MNU_SCHEDULE) {
                ::InsertMenuA(actions, static_cast<UINT>(i + 1), MF_BYPOSITION | MF_STRING,
                              ID_MNU_CANCELSCHEDULE, cancelCaption.c_str());
                break;
            }
        }
    }
    if (controlsMade_ && wasArmed != !status.empty()) {
        FitClientArea();
    }
    PlaceScheduleRow();
    PlaceAwakeRow(); // below the schedule's row or in its place
}

int Win32MainWindow::RowsTwips() const {
    return (scheduleStatus_.empty() ? 0 : kScheduleRowTwips) +
           (awakeStatus_.empty() ? 0 : kAwakeRowTwips);
}

void Win32MainWindow::ShowAwakeState(const std::string& status) {
    const bool wasOn = !awakeStatus_.empty();
    awakeStatus_ = status;
    // One entry in the menu bar's "&Actions", which is the tray popup too.
    HMENU actions = ::GetSubMenu(::GetMenu(window_.get()), 0);
    const bool on = !status.empty();
    ::ModifyMenuA(actions, on ? ID_MNU_KEEPAWAKE : ID_MNU_STOPAWAKE, MF_BYCOMMAND | MF_STRING,
                  on ? ID_MNU_STOPAWAKE : ID_MNU_KEEPAWAKE,
                  on ? "Stop keeping a&wake" : "Keep a&wake...");
    if (on && !awakeImage_) {
        MarkTrayImage();
    }
    if (controlsMade_ && wasOn != on) {
        FitClientArea();
    }
    PlaceAwakeRow();
}

void Win32MainWindow::MarkTrayImage() {
    awakeImage_.reset(WithAwakeMark(trayImage_.get()));
}

void Win32MainWindow::PlaceAwakeRow() {
    if (!controlsMade_) {
        return;
    }
    const int below = scheduleStatus_.empty() ? 0 : kScheduleRowTwips;
    for (const auto& c : kControls) {
        if (c.id == ID_AWAKESTATUS || c.id == ID_AWAKESTOP) {
            ::SetWindowPos(::GetDlgItem(window_.get(), c.id), nullptr, Pixels(c.left),
                           Pixels(c.top + below), Pixels(c.width), Pixels(c.height),
                           SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    ShowStatusRow(ID_AWAKESTATUS, ID_AWAKESTOP, awakeStatus_);
}

void Win32MainWindow::OnAwake(WORD id) {
    if (id == ID_MNU_KEEPAWAKE) {
        form_->Awake().OpenDialog();
    } else {
        form_->Awake().Stop();
    }
}

void Win32MainWindow::PlaceScheduleRow() {
    if (!controlsMade_) {
        return;
    }
    ShowStatusRow(ID_SCHEDULESTATUS, ID_SCHEDULECANCEL, scheduleStatus_);
}

void Win32MainWindow::ShowStatusRow(int label, int button, const std::string& status) {
    ::SetDlgItemTextA(window_.get(), label, status.c_str());
    for (const int id : {label, button}) {
        ::ShowWindow(::GetDlgItem(window_.get(), id), status.empty() ? SW_HIDE : SW_SHOWNA);
    }
}

void Win32MainWindow::OnSchedule(WORD id) {
    if (id == ID_MNU_SCHEDULE) {
        form_->Schedule().OpenDialog();
    } else {
        form_->Schedule().Cancel();
    }
}

// Places the controls and gives them the font and picture of the window's density.
void Win32MainWindow::LayOutControls() {
    // Tahoma 8.25 points at the window's density.
    unique_hfont font(::CreateFontA(-::MulDiv(825, dpi_, 7200), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                                    FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                    DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Tahoma"));
    for (const auto& c : kControls) {
        HWND control = ::GetDlgItem(window_.get(), c.id);
        ::SetWindowPos(control, nullptr, Pixels(c.left), Pixels(c.top), Pixels(c.width),
                       Pixels(c.height), SWP_NOZORDER | SWP_NOACTIVATE);
        ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    }
    font_ = std::move(font); // the old font goes only when no control holds it any more
    ::SendDlgItemMessageA(window_.get(), ID_HALCYRAIMAGE, STM_SETICON,
                          reinterpret_cast<WPARAM>(windowImage_.get()), 0);
}

// The window moved to a screen of another density: the suggested frame, then everything the
// window draws, laid out and loaded again at the new scale.
void Win32MainWindow::OnDpiChanged(int dpi, const RECT& suggested) {
    dpi_ = dpi > 0 ? dpi : 96;
    unique_hicon image(LoadIconSized(instance_, IDI_HALCYRA_TRAY, SmallIconSize(dpi_)));
    std::swap(image, windowImage_);
    ::SetWindowPos(window_.get(), nullptr, suggested.left, suggested.top,
                   suggested.right - suggested.left, suggested.bottom - suggested.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    FitClientArea();
    if (controlsMade_) {
        LayOutControls();
        PlaceAwakeRow();
    }
    // image, the old picture, goes now that the window no longer shows it.
    FollowTaskbarDensity();
}

// The tray picture changes only when the taskbar's own density does (its screen was rescaled).
void Win32MainWindow::FollowTaskbarDensity() {
    const int dpi = TaskbarDensity();
    if (dpi == trayDpi_) {
        return;
    }
    trayDpi_ = dpi;
    unique_hicon image(LoadIconSized(instance_, IDI_HALCYRA_TRAY, SmallIconSize(trayDpi_)));
    std::swap(image, trayImage_);
    unique_hicon marked(WithAwakeMark(trayImage_.get()));
    std::swap(marked, awakeImage_);
    if (CSystrayIcon* icon = form_->SysIcon()) {
        icon->IconHandle(HalcyraImagePicture());
    }
    // image, the old picture, goes now that the tray no longer shows it.
}

void Win32MainWindow::Discard() {
    form_ = nullptr;
    window_.reset();
}

WindowHandle Win32MainWindow::Handle() const {
    return reinterpret_cast<WindowHandle>(window_.get());
}

bool Win32MainWindow::IsVisible() const {
    return ::IsWindowVisible(window_.get()) != FALSE;
}

void Win32MainWindow::SetVisible(bool visible) {
    if (!visible) {
        ::ShowWindow(window_.get(), SW_HIDE);
        return;
    }
    CreateControls();
    // Always the normal window: a minimized start goes to the tray instead, and a fixed-size
    // window is never maximized, whatever a shortcut asked for.
    ::ShowWindow(window_.get(), SW_SHOWNORMAL);
    if (::IsIconic(window_.get()) || ::IsZoomed(window_.get())) {
        ::ShowWindow(window_.get(), SW_RESTORE);
    }
    ::UpdateWindow(window_.get());
}

void Win32MainWindow::SetTrayRetryTimer(std::uint32_t milliseconds) {
    if (milliseconds == 0) {
        ::KillTimer(window_.get(), kTrayRetryTimerId);
    } else {
        ::SetTimer(window_.get(), kTrayRetryTimerId, milliseconds, nullptr);
    }
}

void Win32MainWindow::SetFocus() {
    ::SetFocus(window_.get());
}

bool Win32MainWindow::IsShowChecked() const {
    return (::GetMenuState(::GetMenu(window_.get()), ID_MNU_SHOW, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

void Win32MainWindow::SetShowChecked(bool checked) {
    ::CheckMenuItem(::GetMenu(window_.get()), ID_MNU_SHOW,
                    MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

int Win32MainWindow::Check1Value() const {
    return controlsMade_ ? static_cast<int>(::IsDlgButtonChecked(window_.get(), ID_CHECK1))
                         : check1_;
}

void Win32MainWindow::SetCheck1Value(int value) {
    check1_ = value;
    if (controlsMade_) {
        ::CheckDlgButton(window_.get(), ID_CHECK1, static_cast<UINT>(value));
    }
}

int Win32MainWindow::CheckRequestValue() const {
    return controlsMade_ ? static_cast<int>(::IsDlgButtonChecked(window_.get(), ID_CHECKREQUEST))
                         : checkRequest_;
}

void Win32MainWindow::SetCheckRequestValue(int value) {
    checkRequest_ = value;
    if (controlsMade_) {
        ::CheckDlgButton(window_.get(), ID_CHECKREQUEST, static_cast<UINT>(value));
    }
}

ImageHandle Win32MainWindow::HalcyraImagePicture() const {
    // The mark while kept awake; unmarked when it could not be drawn.
    if (!awakeStatus_.empty() && awakeImage_) {
        return reinterpret_cast<ImageHandle>(awakeImage_.get());
    }
    return reinterpret_cast<ImageHandle>(trayImage_.get());
}

std::int32_t Win32MainWindow::TwipsPerPixelX() const {
    return 1440 / dpi_;
}

bool Win32MainWindow::TrackActionsPopup(MenuEntry* chosen) {
    POINT pointer{};
    ::GetCursorPos(&pointer);
    HMENU actions = ::GetSubMenu(::GetMenu(window_.get()), 0);
    // The choice is returned rather than posted so that its handler has run when this returns.
    const int id = static_cast<int>(
        ::TrackPopupMenu(actions, TPM_LEFTALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY,
                         pointer.x, pointer.y, 0, window_.get(), nullptr));
    // Lets the menu close properly the next time too.
    ::PostMessageA(window_.get(), WM_NULL, 0, 0);
    const auto entry = MenuEntryFromId(id);
    if (!entry) {
        if (id == ID_MNU_SCHEDULE || id == ID_MNU_CANCELSCHEDULE) {
            OnSchedule(static_cast<WORD>(id));
        } else if (id == ID_MNU_KEEPAWAKE || id == ID_MNU_STOPAWAKE) {
            OnAwake(static_cast<WORD>(id));
        }
        return false;
    }
    *chosen = *entry;
    return true;
}

void Win32MainWindow::Unload() {
    ::SendMessageA(window_.get(), WM_CLOSE, 0, 0);
}

LRESULT Win32MainWindow::HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!form_) { // a discarded copy: nothing of the form runs any more
        return ::DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    if (msg == holdsHotkeyMessage_ && msg != 0) {
        return form_->HoldsHotkey(static_cast<std::uint32_t>(wParam)) ? Win32ProgramInfo::kHolds
                                                                      : 0;
    }
    switch (msg) {
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_MOUSEMOVE: {
        // The tray icon's notifications arrive here too, with the mouse message as x, sent by
        // some shells and posted by others; the form tells them from the pointer by its state.
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
        return ::DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_SHOWWINDOW:
        // Whoever shows the window, it never appears without its controls.
        if (wParam) {
            CreateControls();
        }
        return ::DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_POWERBROADCAST:
        if (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND) {
            form_->Schedule().Resumed();
            form_->Awake().Resumed(); // some systems drop holds asleep
        }
        return TRUE;
    case WM_TIMECHANGE:
        form_->Schedule().TimeChanged();
        form_->Awake().TimeChanged();
        return 0;
    case WM_CLOSE:
        // Closing always ends the program; it never hides to the tray.
        form_->Form_Unload();
        window_.reset();
        return 0;
    case WM_COPYDATA:
        // A script's command line, handed on by a second copy.
        return AnswerForwarded(
            [this](std::string_view record) { return form_->CommandForwarded(record); }, hwnd,
            reinterpret_cast<HWND>(wParam), reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case WM_ENDSESSION:
        if (wParam) {
            form_->Form_Unload();
        }
        return 0;
    case WM_DESTROY:
        window_.release(); // going already, whoever destroys it
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

void Win32MainWindow::OnCommand(WORD id, WORD code) {
    if (id == ID_MNU_SCHEDULE || id == ID_MNU_CANCELSCHEDULE ||
        (id == ID_SCHEDULECANCEL && code == BN_CLICKED)) {
        OnSchedule(id);
        return;
    }
    if (id == ID_MNU_KEEPAWAKE || id == ID_MNU_STOPAWAKE ||
        (id == ID_AWAKESTOP && code == BN_CLICKED)) {
        OnAwake(id);
        return;
    }
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
