// Starts one program and measures it from outside, as a user would see it:
//   bench_driver CLASS TITLE TRAY_ID HOLD_MS PROGRAM [ARGUMENTS...]
// TRAY_ID 0: waits until the window CLASS/TITLE is visible; otherwise until the program's
// notification-area icon (window CLASS/TITLE, id TRAY_ID) exists, which NIM_MODIFY without
// flags proves. Then it reads the process's memory, prints "ready", holds the program idle for
// HOLD_MS, closes its window and waits for its end. Prints key=value lines. With
// BENCH_ARM_SCHEDULE set, it first arms Halcyra's schedule through its dialog (OK on the last
// choice, which the bench sets), so that the idle watch sees an armed program. With
// BENCH_COMMAND set, it runs PROGRAM once more with those arguments (a script's command line,
// which the running copy carries out) and waits for its end; "{pid}" in them names a process
// that the driver starts and ends, a job that runs for as long as the watch.
#include <windows.h>
#include <psapi.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "actions/MenuIds.h"

namespace {

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

// "Sch&edule..." and OK; false when the dialog did not come and go.
bool ArmSchedule(HWND hwnd) {
    PostMessageA(hwnd, WM_COMMAND, ID_MNU_SCHEDULE, 0);
    HWND dialog = nullptr;
    // Found before it is shown, it would not take the click yet.
    for (int i = 0; i < 10000 && !(dialog && IsWindowVisible(dialog)); ++i) {
        dialog = FindWindowA(nullptr, "Schedule"); // Wine finds no "#32770" by name
        Sleep(1);
    }
    if (!dialog || !IsWindowVisible(dialog)) {
        return false;
    }
    PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    for (int i = 0; i < 10000 && IsWindow(dialog); ++i) {
        Sleep(1);
    }
    return !IsWindow(dialog);
}

bool TrayIconExists(HWND hwnd, UINT id) {
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof(data);
    data.hWnd = hwnd;
    data.uID = id;
    data.uFlags = 0; // changes nothing; succeeds only for an icon that is there
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

// Runs command line to its end; its exit code, or -1.
long RunToEnd(std::string commandLine) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return -1;
    }
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &code);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<long>(code);
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--job") {
        Sleep(INFINITE); // stands in for a render or a download
        return 0;
    }
    if (argc < 6) {
        std::fprintf(stderr, "usage: bench_driver CLASS TITLE TRAY_ID HOLD_MS PROGRAM [ARGS...]\n");
        return 2;
    }
    const char* windowClass = argv[1];
    const char* title = argv[2];
    const UINT trayId = static_cast<UINT>(std::strtoul(argv[3], nullptr, 10));
    const DWORD holdMs = static_cast<DWORD>(std::strtoul(argv[4], nullptr, 10));
    std::string commandLine = std::string("\"") + argv[5] + "\"";
    for (int i = 6; i < argc; ++i) {
        commandLine += std::string(" ") + argv[i];
    }

    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    LARGE_INTEGER started;
    QueryPerformanceCounter(&started);
    if (!CreateProcessA(argv[5], commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::printf("error=start %lu\n", GetLastError());
        return 1;
    }
    CloseHandle(process.hThread);

    HWND hwnd = nullptr;
    bool ready = false;
    LARGE_INTEGER now = started;
    while (!ready && Milliseconds(started, now) < 30000.0) {
        hwnd = FindWindowA(windowClass, title);
        if (hwnd) {
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            if (owner == process.dwProcessId) {
                ready = trayId == 0 ? IsWindowVisible(hwnd) != FALSE : TrayIconExists(hwnd, trayId);
            }
        }
        QueryPerformanceCounter(&now);
        if (!ready) {
            Sleep(1);
        }
    }
    if (!ready) {
        std::printf("error=not ready after 30 s\n");
        TerminateProcess(process.hProcess, 1);
        CloseHandle(process.hProcess);
        return 1;
    }
    std::printf("ready_ms=%.2f\n", Milliseconds(started, now));

    if (const char* arm = std::getenv("BENCH_ARM_SCHEDULE"); arm && *arm) {
        std::printf("armed=%s\n", ArmSchedule(hwnd) ? "yes" : "no");
    }
    PROCESS_INFORMATION job{};
    if (const char* command = std::getenv("BENCH_COMMAND"); command && *command) {
        std::string arguments = command;
        if (const std::size_t at = arguments.find("{pid}"); at != std::string::npos) {
            char self[MAX_PATH] = "";
            GetModuleFileNameA(nullptr, self, MAX_PATH);
            std::string jobLine = std::string("\"") + self + "\" --job";
            STARTUPINFOA jobStartup{};
            jobStartup.cb = sizeof(jobStartup);
            CreateProcessA(nullptr, jobLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                           &jobStartup, &job);
            arguments.replace(at, 5, std::to_string(job.dwProcessId));
        }
        std::printf("command_exit=%ld\n",
                    RunToEnd(std::string("\"") + argv[5] + "\" " + arguments));
    }
    // Let start-up finish before reading its memory.
    Sleep(1000);
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof(memory);
    if (GetProcessMemoryInfo(process.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                             sizeof(memory))) {
        std::printf("working_set_kb=%llu\nprivate_kb=%llu\n",
                    static_cast<unsigned long long>(memory.WorkingSetSize / 1024),
                    static_cast<unsigned long long>(memory.PrivateUsage / 1024));
    }
    const DWORD thread = GetWindowThreadProcessId(hwnd, nullptr);
    std::printf("pid=%lu\ntid=%04lx\nready\n", process.dwProcessId, thread);
    std::fflush(stdout);
    // Markers in the shared error stream split a trace of the program into its phases.
    std::fprintf(stderr, "bench-driver: idle begins\n");
    std::fflush(stderr);
    Sleep(holdMs);
    std::fprintf(stderr, "bench-driver: idle ends\n");
    std::fflush(stderr);

    PostMessageA(hwnd, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 10000) == WAIT_OBJECT_0) {
        std::printf("end=closed\n");
    } else {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
        std::printf("end=terminated\n");
    }
    CloseHandle(process.hProcess);
    if (job.hProcess) {
        TerminateProcess(job.hProcess, 0);
        CloseHandle(job.hThread);
        CloseHandle(job.hProcess);
    }
    return 0;
}
