#pragma once
// Resource numbers of the Options dialog, inside the settings range (200-299) of
// common/win32/ResourceIds.h. OK and Cancel keep IDOK and IDCANCEL so that Enter, Escape and
// the close box reach them through the dialog manager.

#define IDD_OPTIONS 200
#define IDC_OPTIONS_APPLY 201
#define IDC_OPTIONS_FRAME 202
// Rows 0 to 6: list IDC_OPTIONS_COMBO0 + row, label IDC_OPTIONS_LABEL0 + row.
#define IDC_OPTIONS_COMBO0 210
#define IDC_OPTIONS_LABEL0 220
