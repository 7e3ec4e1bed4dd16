#include "watch/win32/Win32ProcessPort.h"

#include <tlhelp32.h>

#include <utility>

#include "common/win32/Utf8.h"
#include "common/win32/WindowProcedure.h"

namespace halcyra::win32 {

namespace {

constexpr char kClassName[] = "HalcyraProcessWatch";
constexpr UINT kEndedMessage = WM_APP + 1; // wParam: the wait's id

// Waiting, and reading the image's name: nothing that could change or end the process.
constexpr DWORD kWaitAccess = SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION;

std::string FileNamePart(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return Narrow(slash == std::wstring::npos ? path : path.substr(slash + 1));
}

std::string ImageFileName(HANDLE process) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = static_cast<DWORD>(path.size());
        if (::QueryFullProcessImageNameW(process, 0, path.data(), &length)) {
            path.resize(length);
            return FileNamePart(path);
        }
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || path.size() >= 32768) {
            return {};
        }
        path.resize(path.size() * 2);
    }
}

BOOL CALLBACK VisitWindow(HWND hwnd, LPARAM param) {
    auto& programs = *reinterpret_cast<std::vector<WindowedProgram>*>(param);
    if (!::IsWindowVisible(hwnd) || ::GetWindow(hwnd, GW_OWNER) != nullptr) {
        return TRUE;
    }
    const int length = ::GetWindowTextLengthW(hwnd);
    if (length <= 0) {
        return TRUE;
    }
    std::wstring title(static_cast<std::size_t>(length) + 1, L'\0');
    title.resize(static_cast<std::size_t>(::GetWindowTextW(hwnd, title.data(), length + 1)));
    DWORD id = 0;
    ::GetWindowThreadProcessId(hwnd, &id);
    const unique_handle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
    // A program whose process cannot be opened cannot be watched either: not offered.
    const std::string file = process ? ImageFileName(process.get()) : std::string();
    if (!title.empty() && !file.empty()) {
        programs.push_back({Narrow(title), file, id});
    }
    return TRUE;
}

void RegisterWindowClass() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &WindowProcedure<Win32ProcessPort>::Window;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = kClassName;
    ::RegisterClassA(&wc); // a second port finds it registered: harmless
}

} // namespace

// One wait. The thread pool reads window and id only, both fixed before the wait is registered.
struct Win32ProcessPort::Waiting {
    HWND window = nullptr;
    WaitId id = 0;
    // Held from the start: while it is open the system cannot give the process's id to
    // another process, so an id reused later is never taken for the one awaited.
    unique_handle process;
    HANDLE wait = nullptr;
    std::function<void()> ended;
};

Win32ProcessPort::Win32ProcessPort() {
    RegisterWindowClass();
    // Message-only: no broadcasts reach it, so it costs nothing while it waits.
    owned_.reset(::CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   ::GetModuleHandleA(nullptr), this));
}

Win32ProcessPort::~Win32ProcessPort() {
    for (auto& waiting : waits_) {
        Stop(*waiting);
    }
    waits_.clear();
    owned_.reset(); // ends that were posted but not yet delivered go with the window
}

std::vector<ProcessEntry> Win32ProcessPort::Processes() {
    std::vector<ProcessEntry> out;
    unique_handle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (snapshot.get() == INVALID_HANDLE_VALUE) {
        snapshot.release();
        return out;
    }
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more;
         more = ::Process32NextW(snapshot.get(), &entry)) {
        out.push_back({entry.th32ProcessID, FileNamePart(entry.szExeFile)});
    }
    return out;
}

std::vector<WindowedProgram> Win32ProcessPort::WindowedPrograms() {
    std::vector<WindowedProgram> out;
    ::EnumWindows(&VisitWindow, reinterpret_cast<LPARAM>(&out));
    return out;
}

WaitStart Win32ProcessPort::StartWait(ProcessId id, std::function<void()> ended) {
    WaitStart start;
    auto waiting = std::make_unique<Waiting>();
    waiting->process.reset(::OpenProcess(kWaitAccess, FALSE, id));
    if (!waiting->process) {
        // An id that names no process is a bad parameter; anything else is a refusal.
        start.refusal = ::GetLastError() == ERROR_INVALID_PARAMETER ? WaitRefusal::NotRunning
                                                                    : WaitRefusal::CannotOpen;
        return start;
    }
    // Another holder can keep an ended process's object open: that one is not running.
    if (::WaitForSingleObject(waiting->process.get(), 0) == WAIT_OBJECT_0) {
        start.refusal = WaitRefusal::NotRunning;
        return start;
    }
    waiting->window = window_;
    waiting->id = next_++;
    waiting->ended = std::move(ended);
    if (window_ == nullptr ||
        !::RegisterWaitForSingleObject(&waiting->wait, waiting->process.get(), &Signalled,
                                       waiting.get(), INFINITE, WT_EXECUTEONLYONCE)) {
        waiting->wait = nullptr;
        start.refusal = WaitRefusal::CannotOpen;
        return start;
    }
    start.id = waiting->id;
    start.fileName = ImageFileName(waiting->process.get());
    waits_.push_back(std::move(waiting));
    return start;
}

std::vector<std::unique_ptr<Win32ProcessPort::Waiting>>::iterator
Win32ProcessPort::Find(WaitId id) {
    auto it = waits_.begin();
    while (it != waits_.end() && (*it)->id != id) {
        ++it;
    }
    return it;
}

void Win32ProcessPort::CancelWait(WaitId id) {
    const auto it = Find(id);
    if (it != waits_.end()) {
        Stop(**it);
        waits_.erase(it);
    }
}

// On a thread of the pool: only a message to the window, which never waits for this thread.
VOID CALLBACK Win32ProcessPort::Signalled(PVOID context, BOOLEAN /*timedOut*/) {
    const auto& waiting = *static_cast<const Waiting*>(context);
    ::PostMessageA(waiting.window, kEndedMessage, static_cast<WPARAM>(waiting.id), 0);
}

void Win32ProcessPort::Stop(Waiting& waiting) {
    if (waiting.wait != nullptr) {
        // Returns once a callback already running has finished: the context may go then. No
        // deadlock: the callback only posts.
        ::UnregisterWaitEx(waiting.wait, INVALID_HANDLE_VALUE);
        waiting.wait = nullptr;
    }
    waiting.process.reset();
}

LRESULT Win32ProcessPort::HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != kEndedMessage) {
        return ::DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    // A wait cancelled after its end was posted is no longer listed: its message is dropped.
    const auto it = Find(static_cast<WaitId>(wParam));
    if (it != waits_.end()) {
        const std::unique_ptr<Waiting> waiting = std::move(*it);
        waits_.erase(it);
        Stop(*waiting);
        if (waiting->ended) {
            waiting->ended();
        }
    }
    return 0;
}

} // namespace halcyra::win32
