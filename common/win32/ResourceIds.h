#pragma once
// Resource numbers shared by the .rc scripts of both programs. Each subsystem keeps its own
// dialogs and controls inside its range so that the scripts can be linked into one program.
//   1-99     images shared by both programs
//   100-199  main window (app/)
//   200-299  Options dialog (settings/)
//   300-399  About dialog (dialogs/)
//   400-499  Update dialog (dialogs/)
//   500-599  Schedule dialog and the schedule's warning (app/)

#define IDI_HALCYRA 1       // application icon: six images, the first icon of both programs
#define IDI_HALCYRA_TRAY 2  // the tray image held by HalcyraImage: 16 (16 colours), 20, 24, 32
#define IDI_ABOUT_PICTURE 3 // the About dialog's second icon (32 by 32 and 16 by 16)
#define IDC_HAND_POINTER 4  // pointing hand over the About dialog's links, hot spot 13,5

// The Keep awake dialog's numbers are 600-699 (awake/).
