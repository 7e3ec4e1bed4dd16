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

// How a binder finds its library.
enum class LibrarySource {
    SystemFolder, // the system folder only
    // By name, for a library that the program's manifest redirects to the side-by-side store
    // (the common controls, version 6), as the loader does for an import.
    SideBySide,
};

// The entry point of a system library, loaded for the life of the process like an import;
// null when the library or the entry is missing. One function for every binder's type.
inline void (*BindSystemProc(const char* library, const char* entry, LibrarySource source))() {
    HMODULE module =
        source == LibrarySource::SideBySide ? ::LoadLibraryA(library) : LoadSystemLibrary(library);
    // Through the generic function type: the one cast GCC accepts without warning.
    return module ? reinterpret_cast<void (*)()>(::GetProcAddress(module, entry)) : nullptr;
}

template <typename Fn>
class BoundProc {
public:
    // Constant: a binder at namespace scope needs no start-up code.
    constexpr BoundProc(const char* library, const char* entry,
                        LibrarySource source = LibrarySource::SystemFolder)
        : library_(library), entry_(entry), source_(source) {}

    // The entry point, or null when the library or the entry is missing.
    Fn get() {
        if (!tried_) {
            tried_ = true;
            fn_ = reinterpret_cast<Fn>(BindSystemProc(library_, entry_, source_));
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
    LibrarySource source_;
    bool tried_ = false;
    Fn fn_ = nullptr;
    DWORD error_ = 0;
};

} // namespace halcyra::win32
