#pragma once
// One move-only owner for every kind of Windows handle, released exactly once.
#include <windows.h>

#include <utility>

namespace halcyra::win32 {

template <typename Handle, auto Close, Handle Invalid = Handle{}>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle h) : handle_(h) {}
    ~UniqueHandle() { reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }

    Handle get() const { return handle_; }
    Handle* put() {
        reset();
        return &handle_;
    }
    explicit operator bool() const { return handle_ != Invalid; }
    Handle release() { return std::exchange(handle_, Invalid); }
    void reset(Handle h = Invalid) {
        if (handle_ != Invalid) {
            Close(handle_);
        }
        handle_ = h;
    }

private:
    Handle handle_ = Invalid;
};

inline void CloseRegKey(HKEY key) {
    ::RegCloseKey(key);
}
inline void FreeModuleHandle(HMODULE module) {
    ::FreeLibrary(module);
}
inline void DestroyWindowHandle(HWND hwnd) {
    ::DestroyWindow(hwnd);
}
inline void DestroyIconHandle(HICON icon) {
    ::DestroyIcon(icon);
}
inline void DeleteFontHandle(HFONT font) {
    ::DeleteObject(font);
}
inline void CloseKernelHandle(HANDLE h) {
    ::CloseHandle(h);
}
inline void DestroyMenuHandle(HMENU menu) {
    ::DestroyMenu(menu);
}

using unique_hkey = UniqueHandle<HKEY, CloseRegKey>;
using unique_hmodule = UniqueHandle<HMODULE, FreeModuleHandle>;
using unique_hwnd = UniqueHandle<HWND, DestroyWindowHandle>;
using unique_hicon = UniqueHandle<HICON, DestroyIconHandle>;
using unique_hfont = UniqueHandle<HFONT, DeleteFontHandle>;
using unique_handle = UniqueHandle<HANDLE, CloseKernelHandle>;
using unique_hmenu = UniqueHandle<HMENU, DestroyMenuHandle>;

} // namespace halcyra::win32
