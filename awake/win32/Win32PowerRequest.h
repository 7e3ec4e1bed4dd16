#pragma once
// Keeping the computer awake on the real system: a power request with a reason that
// "powercfg /requests" shows, or, where the system has none (or Wine answers "not
// implemented"), the execution state of the calling thread. All bound at their first call.
//
// Wine 8: all three are exported and none is implemented: PowerCreateRequest returns
// INVALID_HANDLE_VALUE, PowerSetRequest and PowerClearRequest FALSE, each with error 120
// (ERROR_CALL_NOT_IMPLEMENTED). SetThreadExecutionState works: it keeps the flags set and
// returns the ones before, so Wine always takes the thread-state way.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "awake/IPowerRequest.h"
#include "common/win32/BoundProc.h"
#include "common/win32/UniqueHandle.h"

namespace halcyra::win32 {

class Win32PowerRequest final : public IPowerRequest {
public:
    enum class Way : std::uint8_t { None, Request, ThreadState };

    // The thread state belongs to a thread: create, use and destroy this on the window's.
    Win32PowerRequest() = default;
    ~Win32PowerRequest() override;
    Win32PowerRequest(const Win32PowerRequest&) = delete;
    Win32PowerRequest& operator=(const Win32PowerRequest&) = delete;

    PowerHoldResult Hold(bool display, std::string_view reason) override;
    void Release() override;

    // How the hold is kept now.
    Way Holding() const { return way_; }

private:
    // A refusal's text; nullopt when the system lacks power requests (use the thread state).
    std::optional<std::string> HoldByRequest(bool display, std::string_view reason);
    void ClearRequest();

    BoundProc<HANDLE(WINAPI*)(PREASON_CONTEXT)> create_{"kernel32.dll", "PowerCreateRequest"};
    BoundProc<BOOL(WINAPI*)(HANDLE, POWER_REQUEST_TYPE)> set_{"kernel32.dll", "PowerSetRequest"};
    BoundProc<BOOL(WINAPI*)(HANDLE, POWER_REQUEST_TYPE)> clear_{"kernel32.dll",
                                                                "PowerClearRequest"};
    BoundProc<EXECUTION_STATE(WINAPI*)(EXECUTION_STATE)> threadState_{"kernel32.dll",
                                                                      "SetThreadExecutionState"};
    unique_handle request_;
    bool requestDisplay_ = false;
    bool noRequests_ = false; // found missing or not implemented: not asked again
    Way way_ = Way::None;
};

} // namespace halcyra::win32
