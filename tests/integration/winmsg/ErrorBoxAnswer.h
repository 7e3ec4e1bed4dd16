#pragma once
// Plays the user for a handler's error in a death test's child: waits for the error box this
// process shows, writes its caption and text to the error stream for the parent to match, and
// presses OK. A child that shows no box ends with code 2.
#include <windows.h>

#include <cstdio>
#include <string>

#include "support/Wait.h"

namespace halcyra::test {

inline HWND ErrorBoxOfThisProcess() {
    HWND box = nullptr;
    while ((box = ::FindWindowExA(nullptr, box, "#32770", "Halcyra")) != nullptr) {
        DWORD process = 0;
        ::GetWindowThreadProcessId(box, &process);
        if (process == ::GetCurrentProcessId() && ::IsWindowVisible(box)) {
            return box;
        }
    }
    return nullptr;
}

inline DWORD WINAPI AnswerErrorBox(void*) {
    HWND box = nullptr;
    if (!test::WaitUntil([&] { return (box = ErrorBoxOfThisProcess()) != nullptr; }, 30000)) {
        ::ExitProcess(2);
    }
    char text[512] = {};
    ::GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    std::string line = "Halcyra: " + std::string(text);
    for (char& c : line) {
        c = c == '\n' ? ' ' : c; // the parent matches one line
    }
    std::fprintf(stderr, "%s\n", line.c_str());
    std::fflush(stderr);
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    return 0;
}

// Starts the answer on a thread of its own: the box blocks the thread that shows it.
inline void AnswerTheErrorBoxLater() {
    ::CloseHandle(::CreateThread(nullptr, 0, &AnswerErrorBox, nullptr, 0, nullptr));
}

} // namespace halcyra::test
