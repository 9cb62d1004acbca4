// What the adapters share of the program's run on the window's one thread:
// the COM apartment and the DPI a window is laid out for.
#pragma once

#include <windows.h>

namespace tavlin {

// COM, apartment-threaded on the window's thread, started once on first need
// and ended when the program exits.
void EnsureComApartment();

// The DPI a window is laid out for: GetDpiForWindow where the system has it,
// else the screen's.
int WindowDpi(HWND hwnd);

}  // namespace tavlin
