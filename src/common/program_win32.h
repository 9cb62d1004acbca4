// What the adapters share of the program's run on the window's one thread:
// the COM apartment, the DPI a window is laid out for, and the program's one
// reference to its main window.
#pragma once

#include <windows.h>

namespace tavlin {

// COM, apartment-threaded on the window's thread, started once on first need
// and ended when the program exits.
void EnsureComApartment();

// The DPI a window is laid out for: GetDpiForWindow where the system has it,
// else the screen's.
int WindowDpi(HWND hwnd);

// The program's one global reference to its main window, through which shared
// routines (the shell owner window) reach it. Null before creation and after unload.
HWND MainWindowHandle();
void SetMainWindowHandle(HWND hwnd);

}  // namespace tavlin
