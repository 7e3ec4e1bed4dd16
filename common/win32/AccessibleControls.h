#pragma once
// What a screen reader is told about each control of a window: its name, role and state,
// stated by the window itself so that every system's accessibility layer hears the same.
#include <windows.h>
#include <oleacc.h>

#include <span>

namespace halcyra::win32 {

// A control whose role or name its window gives; every other control is described from its
// class, style and caption (a list by the label just before it).
struct AccessibleOverride {
    int id;
    LONG role;           // 0: from the class and style
    const wchar_t* name; // null: from the caption or the label
};

// Answers the accessibility question (WM_GETOBJECT) for every child control of parent until
// the controls are destroyed. Call once, after the controls exist.
void DescribeControls(HWND parent, std::span<const AccessibleOverride> overrides = {});

} // namespace halcyra::win32
