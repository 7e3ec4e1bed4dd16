#include <windows.h>
#include <shellapi.h>

#include "dialogs/win32/Win32ShellOpener.h"

#include "common/win32/ComApartment.h"

#include <cstdint>

namespace halcyra::win32 {

void Win32ShellOpener::OpenWithShell(WindowHandle parent, const std::string& operation,
                                     const std::string& file, int showCommand) {
    com::EnterApartment(); // left when the program ends (the main window's teardown)
    HINSTANCE result = ::ShellExecuteA(reinterpret_cast<HWND>(parent), operation.c_str(),
                                       file.c_str(), nullptr, nullptr, showCommand);
    // The user is told nothing when no browser or mail program answers; a developer can see it.
    if (reinterpret_cast<std::intptr_t>(result) <= 32) {
        ::OutputDebugStringA(("Halcyra: ShellExecute could not open " + file + "\n").c_str());
    }
}

} // namespace halcyra::win32
