#include <windows.h>

#include "winmsg/win32/Win32SubclassPlatform.h"

#include <algorithm>

#include "common/win32/Utf8.h"
#include "common/win32/WindowProcedure.h"

namespace halcyra::win32 {

namespace {

HWND Hwnd(WindowHandle hwnd) {
    return reinterpret_cast<HWND>(hwnd);
}

// An atom where the calls take a name (MAKEINTATOM).
LPCSTR AtomText(ATOM atom) {
    return reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(atom));
}

// The one procedure installed on every subclassed window. An error from a client's handler
// ends the program as from any other handler.
LRESULT CALLBACK ReplacementProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return Guarded(hwnd, [&] {
        return SubclassModule().WindowProc(reinterpret_cast<WindowHandle>(hwnd), msg, wParam,
                                           lParam);
    });
}

} // namespace

bool Win32SubclassPlatform::IsWindow(WindowHandle hwnd) {
    return ::IsWindow(Hwnd(hwnd)) != 0;
}

std::uint32_t Win32SubclassPlatform::WindowProcessId(WindowHandle hwnd) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(Hwnd(hwnd), &process);
    return process;
}

std::uint32_t Win32SubclassPlatform::CurrentProcessId() {
    return ::GetCurrentProcessId();
}

std::uintptr_t Win32SubclassPlatform::GetProperty(WindowHandle hwnd, const std::string& name) {
    const auto cached = Find(name);
    if (cached != atoms_.end()) {
        const auto value =
            reinterpret_cast<std::uintptr_t>(::GetPropA(Hwnd(hwnd), AtomText(cached->second)));
        if (value == 0) {
            Forget(name);
        }
        return value;
    }
    // No atom, no property of that name anywhere: most messages end here.
    if (::GlobalFindAtomA(name.c_str()) == 0) {
        return 0;
    }
    const auto value = reinterpret_cast<std::uintptr_t>(::GetPropA(Hwnd(hwnd), name.c_str()));
    if (value != 0) {
        const ATOM atom = ::GlobalAddAtomA(name.c_str());
        if (atom != 0) {
            atoms_.emplace_back(name, atom);
        }
    }
    return value;
}

void Win32SubclassPlatform::SetProperty(WindowHandle hwnd, const std::string& name,
                                        std::uintptr_t value) {
    ::SetPropA(Hwnd(hwnd), name.c_str(), reinterpret_cast<HANDLE>(value));
    if (value == 0) {
        Forget(name);
    }
}

void Win32SubclassPlatform::RemoveProperty(WindowHandle hwnd, const std::string& name) {
    ::RemovePropA(Hwnd(hwnd), name.c_str());
    Forget(name);
}

Win32SubclassPlatform::Atoms::iterator Win32SubclassPlatform::Find(const std::string& name) {
    return std::find_if(atoms_.begin(), atoms_.end(),
                        [&](const auto& entry) { return entry.first == name; });
}

void Win32SubclassPlatform::Forget(const std::string& name) {
    const auto cached = Find(name);
    if (cached != atoms_.end()) {
        ::GlobalDeleteAtom(cached->second);
        atoms_.erase(cached);
    }
}

WindowProcAddress Win32SubclassPlatform::ReplacementWindowProc() {
    return reinterpret_cast<WindowProcAddress>(&ReplacementProc);
}

WindowProcAddress Win32SubclassPlatform::InstallWindowProc(WindowHandle hwnd,
                                                           WindowProcAddress proc) {
    // SetWindowLongA would cut a 64-bit procedure address in half.
    return static_cast<WindowProcAddress>(
        ::SetWindowLongPtrA(Hwnd(hwnd), GWLP_WNDPROC, static_cast<LONG_PTR>(proc)));
}

LResult Win32SubclassPlatform::CallWindowProcedure(WindowProcAddress proc, WindowHandle hwnd,
                                                   std::uint32_t msg, WParam wParam,
                                                   LParam lParam) {
    // No recorded procedure (no dispatch yet, or the window's entries are gone): the default
    // handling is the only safe answer.
    if (proc == 0) {
        return ::DefWindowProcA(Hwnd(hwnd), msg, wParam, lParam);
    }
    return ::CallWindowProcA(reinterpret_cast<WNDPROC>(proc), Hwnd(hwnd), msg, wParam, lParam);
}

std::string Win32SubclassPlatform::ProgramName() {
    return win32::ProgramName();
}

// Never destroyed: a window may still be sent messages while other static objects go away
// at exit, and its replacement procedure must find the module then. Made on first use by the
// thread that serves the subclassed windows; plain pointers need no guarded initialisation,
// which would bring the threads library into the program.
MSubclass& SubclassModule() {
    static Win32SubclassPlatform* platform = nullptr;
    static MSubclass* module = nullptr;
    if (module == nullptr) {
        platform = new Win32SubclassPlatform;
        module = new MSubclass(*platform);
    }
    return *module;
}

} // namespace halcyra::win32
