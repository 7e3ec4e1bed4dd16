#include <windows.h>
#include <shellapi.h>

#include "tray/win32/Win32NotifyIconApi.h"

#include <cstddef>
#include <cstring>

namespace halcyra::win32 {

// The core's record mirrors the first-version NOTIFYICONDATAA member for member, so it can be
// handed over as it stands.
static_assert(sizeof(WindowHandle) == sizeof(HWND));
static_assert(sizeof(ImageHandle) == sizeof(HICON));
static_assert(offsetof(NotifyIconRecord, cbSize) == offsetof(NOTIFYICONDATAA, cbSize));
static_assert(offsetof(NotifyIconRecord, hWnd) == offsetof(NOTIFYICONDATAA, hWnd));
static_assert(offsetof(NotifyIconRecord, uID) == offsetof(NOTIFYICONDATAA, uID));
static_assert(offsetof(NotifyIconRecord, uFlags) == offsetof(NOTIFYICONDATAA, uFlags));
static_assert(offsetof(NotifyIconRecord, uCallbackMessage) ==
              offsetof(NOTIFYICONDATAA, uCallbackMessage));
static_assert(offsetof(NotifyIconRecord, hIcon) == offsetof(NOTIFYICONDATAA, hIcon));
static_assert(offsetof(NotifyIconRecord, szTip) == offsetof(NOTIFYICONDATAA, szTip));
static_assert(sizeof(NotifyIconRecord::szTip) == 64);
static_assert(kNotifyIconRecordSize == NOTIFYICONDATAA_V1_SIZE);
#ifdef _WIN64
static_assert(kNotifyIconRecordSize == 104);
#else
static_assert(kNotifyIconRecordSize == 88);
#endif

std::int32_t Win32NotifyIconApi::ShellNotifyIcon(std::uint32_t message,
                                                 const NotifyIconRecord& record) {
    // The full structure is larger than the first version; the rest stays zero and cbSize
    // tells the shell to read only the first version's members.
    NOTIFYICONDATAA data{};
    std::memcpy(&data, &record, kNotifyIconRecordSize);
    ::SetLastError(0);
    const BOOL ok = ::Shell_NotifyIconA(message, &data);
    lastError_ = ::GetLastError();
    return ok ? 1 : 0;
}

bool Win32NotifyIconApi::TaskbarExists() {
    // The taskbar's window class, the same in every shell that has one (Wine's too).
    return ::FindWindowA("Shell_TrayWnd", nullptr) != nullptr;
}

} // namespace halcyra::win32
