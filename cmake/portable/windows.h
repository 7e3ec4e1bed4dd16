#pragma once
// Found first by the portable libraries of the Windows builds: the core talks to the platform
// only through its interfaces, and a Win32 call belongs in a win32/ adapter.
#error "<windows.h> in portable code: put the call behind an interface, in a win32/ folder"
