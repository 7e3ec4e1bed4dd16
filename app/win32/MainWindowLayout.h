#pragma once
// The main window's frame and controls, in twips: the program's window and the bench's window
// floor lay out the same window from this one table.
#include <windows.h>

#include "app/ControlIds.h"
#include "common/win32/ResourceIds.h"

namespace halcyra::win32::layout {

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr int kClientWidthTwips = 5010;
constexpr int kClientHeightTwips = 1530;
// While a schedule is armed the window grows by one row: its status and a Cancel button.
constexpr int kScheduleRowTwips = 420;
// While the computer is kept awake, one row more of the same height, below the schedule's when
// one is armed, in its place otherwise.
constexpr int kAwakeRowTwips = kScheduleRowTwips;

struct ControlLayout {
    int id;
    const char* className;
    const char* caption;
    DWORD style;
    int left, top, width, height; // twips
};

// In tab order.
inline const ControlLayout kControls[] = {
    {ID_CHECK1, "BUTTON", "Startup on system startup", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 120,
     120, 3015, 255},
    {ID_CHECKREQUEST, "BUTTON",
     "Request confirmation before shutting down, restarting, standing by, logging of, or "
     "hibernating.",
     BS_AUTOCHECKBOX | BS_MULTILINE | BS_TOP | WS_TABSTOP, 120, 480, 2895, 855},
    {ID_COMMANDABOUT, "BUTTON", "A&bout", BS_PUSHBUTTON | WS_TABSTOP, 3360, 0, 1575, 375},
    {ID_COMMANDOPTIONS, "BUTTON", "O&ptions", BS_PUSHBUTTON | WS_TABSTOP, 3360, 360, 1575, 375},
    {ID_COMMANDMINIMIZE, "BUTTON", "&Minimize", BS_PUSHBUTTON | WS_TABSTOP, 3360, 720, 1575, 375},
    {ID_COMMANDUPDATES, "BUTTON", "Check for &Updates", BS_PUSHBUTTON | WS_TABSTOP, 3360, 1080,
     1575, 375},
    {ID_HALCYRAIMAGE, "STATIC", "", SS_ICON | SS_REALSIZECONTROL, 3120, 1080, 240, 240},
    {ID_SCHEDULESTATUS, "STATIC", "", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 120, 1620, 3120, 255},
    {ID_SCHEDULECANCEL, "BUTTON", "Ca&ncel", BS_PUSHBUTTON | WS_TABSTOP, 3360, 1530, 1575, 375},
    {ID_AWAKESTATUS, "STATIC", "", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 120, 1620, 3120, 255},
    {ID_AWAKESTOP, "BUTTON", "S&top", BS_PUSHBUTTON | WS_TABSTOP, 3360, 1530, 1575, 375},
};

} // namespace halcyra::win32::layout
