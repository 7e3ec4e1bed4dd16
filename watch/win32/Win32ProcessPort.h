#pragma once
// The program watcher's port on the real system: the process list from a snapshot, the
// windowed programs from the top-level windows, and waits that the system's thread pool signals
// and that come back to this thread as a message to a window of its own. Wine 8 behaves as
// Windows here: the snapshot, OpenProcess with the waiting rights, the image's name, the
// signalled wait, and ERROR_INVALID_PARAMETER for an id that names no process.
#include <windows.h>

#include <memory>
#include <vector>

#include "common/win32/UniqueHandle.h"
#include "watch/IProcessPort.h"

namespace halcyra::win32 {

class Win32ProcessPort final : public IProcessPort {
public:
    // The waits report to a message-only window made here, on the calling thread: construct,
    // use and destroy the port on the window thread whose message loop runs.
    Win32ProcessPort();
    // Cancels every wait still running.
    ~Win32ProcessPort() override;
    Win32ProcessPort(const Win32ProcessPort&) = delete;
    Win32ProcessPort& operator=(const Win32ProcessPort&) = delete;

    std::vector<ProcessEntry> Processes() override;
    std::vector<WindowedProgram> WindowedPrograms() override;
    WaitStart StartWait(ProcessId id, std::function<void()> ended) override;
    void CancelWait(WaitId id) override;

    // The window procedure's side.
    void Adopt(HWND hwnd) { window_ = hwnd; }
    LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

private:
    struct Waiting;
    static VOID CALLBACK Signalled(PVOID context, BOOLEAN timedOut);
    static void Stop(Waiting& waiting);

    HWND window_ = nullptr;
    unique_hwnd owned_;
    // A few at most (one program's processes): a list is enough.
    std::vector<std::unique_ptr<Waiting>> waits_;
    // The wait with this id, or waits_.end().
    std::vector<std::unique_ptr<Waiting>>::iterator Find(WaitId id);
    WaitId next_ = 1;
};

} // namespace halcyra::win32
