#pragma once
// A system function bound by library and entry name at its first call, so that a missing
// library or entry point only affects the action that needs it.
#include <windows.h>

#include <string>

namespace halcyra::win32 {

// Loads a library from the system folder only: a planted copy in the current or the
// program's folder must never run.
inline HMODULE LoadSystemLibrary(const char* name) {
    char folder[MAX_PATH];
    const UINT length = ::GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return nullptr;
    }
    const std::string path = std::string(folder, length) + "\\" + name;
    return ::LoadLibraryA(path.c_str());
}

template <typename Fn>
class BoundProc {
public:
    BoundProc(const char* library, const char* entry) : library_(library), entry_(entry) {}

    // The entry point, or null when the library or the entry is missing.
    Fn get() {
        if (!tried_) {
            tried_ = true;
            // The library stays loaded for the life of the process, like an import.
            if (HMODULE module = LoadSystemLibrary(library_)) {
                // Through the generic function type: the one cast GCC accepts without warning.
                fn_ = reinterpret_cast<Fn>(
                    reinterpret_cast<void (*)()>(::GetProcAddress(module, entry_)));
            }
            if (!fn_) {
                error_ = ::GetLastError();
            }
        }
        return fn_;
    }
    // Why the binding failed (the loader's error), 0 while nothing failed.
    DWORD error() const { return error_; }

private:
    const char* library_;
    const char* entry_;
    bool tried_ = false;
    Fn fn_ = nullptr;
    DWORD error_ = 0;
};

} // namespace halcyra::win32
