#pragma once
// One move-only owner for every kind of Windows handle, released exactly once; and the device
// contexts and selections that last one block.
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

inline void DestroyWindowHandle(HWND hwnd) {
    ::DestroyWindow(hwnd);
}
inline void DestroyIconHandle(HICON icon) {
    ::DestroyIcon(icon);
}
inline void DeleteFontHandle(HFONT font) {
    ::DeleteObject(font);
}
inline void DeletePenHandle(HPEN pen) {
    ::DeleteObject(pen);
}
inline void CloseKernelHandle(HANDLE h) {
    ::CloseHandle(h);
}
inline void DestroyMenuHandle(HMENU menu) {
    ::DestroyMenu(menu);
}

using unique_hwnd = UniqueHandle<HWND, DestroyWindowHandle>;
using unique_hicon = UniqueHandle<HICON, DestroyIconHandle>;
using unique_hfont = UniqueHandle<HFONT, DeleteFontHandle>;
using unique_hpen = UniqueHandle<HPEN, DeletePenHandle>;
using unique_handle = UniqueHandle<HANDLE, CloseKernelHandle>;
using unique_hmenu = UniqueHandle<HMENU, DestroyMenuHandle>;

// A window's device context (the screen's for no window), given back to the window.
class WindowDC {
public:
    explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
    ~WindowDC() {
        if (dc_) {
            ::ReleaseDC(hwnd_, dc_);
        }
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;

    HDC get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// The device context of one WM_PAINT, from BeginPaint to EndPaint.
class PaintDC {
public:
    explicit PaintDC(HWND hwnd) : hwnd_(hwnd), dc_(::BeginPaint(hwnd, &paint_)) {}
    ~PaintDC() { ::EndPaint(hwnd_, &paint_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;

    HDC get() const { return dc_; }

private:
    HWND hwnd_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// An object selected into a device context while this lives; the one before goes back after.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ~SelectedObject() {
        if (previous_ && previous_ != HGDI_ERROR) {
            ::SelectObject(dc_, previous_);
        }
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

} // namespace halcyra::win32
