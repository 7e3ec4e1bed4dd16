#pragma once
// The one shape of every window and dialog procedure of the program, and its one rule for an
// error that reaches a handler: the user is shown its message and the program ends. Nothing
// may unwind into the system's frames, which cannot pass a C++ exception on.
#include <windows.h>

#include <exception>
#include <string>

#include "common/Product.h"
#include "common/RaisedError.h"

namespace halcyra::win32 {

// The text the user is shown for the error being handled; called inside a catch block.
inline std::string EscapedErrorText() {
    try {
        throw;
    } catch (const RaisedError& e) {
        return "Run-time error '" + std::to_string(e.Number()) + "':\n\n" + e.Description();
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "Unexpected error";
    }
}

// Shows the error being handled in a box owned by owner; called inside a catch block.
inline void ShowEscapedError(HWND owner) noexcept {
    try {
        const std::string text = EscapedErrorText();
        ::MessageBoxA(owner, text.c_str(), HALCYRA_PRODUCT_NAME, MB_OK | MB_ICONERROR);
    } catch (...) {
        // No memory left for the text: the end is all that can still be done.
    }
}

// Shows the error being handled and ends the program; called inside a catch block. The box
// runs a message loop, and timers and messages reach their handlers meanwhile: an error of
// theirs returns here at once, so that the user reads the first error and the program ends
// when its box is closed.
inline void EndOnEscapedError(HWND owner) noexcept {
    static bool ending = false; // one for the program: an inline function's static is shared
    if (ending) {
        return;
    }
    ending = true;
    ShowEscapedError(owner);
    ::ExitProcess(1);
}

// Runs a handler at a callback from the system: its result, or the end of the program (an
// empty result only while an earlier error's box is up).
template <typename Handler>
auto Guarded(HWND owner, Handler&& handler) noexcept -> decltype(handler()) {
    try {
        return handler();
    } catch (...) {
        EndOnEscapedError(owner);
    }
    return decltype(handler())();
}

// The procedures of a window or dialog class T. T is adopted at creation from the parameter
// that created the window (CreateWindowEx's last, DialogBoxParam's), kept in the window's
// user data and told its handle with T::Adopt(HWND); every message from then on, the creating
// one included, goes to T::HandleMessage(HWND, UINT, WPARAM, LPARAM).
template <typename T>
struct WindowProcedure {
    static LRESULT CALLBACK Window(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_NCCREATE) {
            auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
            Adopt(hwnd, GWLP_USERDATA, static_cast<T*>(create->lpCreateParams));
        }
        T* self = Adopted(hwnd, GWLP_USERDATA);
        if (!self) { // the few messages before WM_NCCREATE
            return ::DefWindowProcA(hwnd, msg, wParam, lParam);
        }
        return Guarded(hwnd, [&] { return self->HandleMessage(hwnd, msg, wParam, lParam); });
    }

    static INT_PTR CALLBACK Dialog(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_INITDIALOG) {
            Adopt(dialog, DWLP_USER, reinterpret_cast<T*>(lParam));
        }
        T* self = Adopted(dialog, DWLP_USER);
        if (!self) { // the messages before WM_INITDIALOG: the dialog manager's defaults
            return FALSE;
        }
        return Guarded(dialog, [&] { return self->HandleMessage(dialog, msg, wParam, lParam); });
    }

private:
    static void Adopt(HWND hwnd, int slot, T* self) {
        ::SetWindowLongPtrA(hwnd, slot, reinterpret_cast<LONG_PTR>(self));
        self->Adopt(hwnd);
    }
    static T* Adopted(HWND hwnd, int slot) {
        return reinterpret_cast<T*>(::GetWindowLongPtrA(hwnd, slot));
    }
};

} // namespace halcyra::win32
