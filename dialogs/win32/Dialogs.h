#pragma once
// The About and Update dialogs, each shown modally and built afresh every time. Their
// templates come from the program's own module, which must link Dialogs.rc and Images.rc.
#include <windows.h>

namespace halcyra::win32 {

void ShowAboutDialog(HWND owner);
void ShowUpdateDialog(HWND owner);

} // namespace halcyra::win32
