#pragma once
// Platform handles and message values as the portable core sees them: plain integers wide
// enough for a pointer, so the core never needs <windows.h>.
#include <cstdint>

namespace halcyra {

using WindowHandle = std::uintptr_t;      // HWND
using ImageHandle = std::uintptr_t;       // HICON / HCURSOR
using WindowProcAddress = std::uintptr_t; // WNDPROC
using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;

} // namespace halcyra
