// Finds and drives a modal dialog (#32770) that another process shows: the
// folder browser, the file-open dialog, a message box. Everything is posted or
// sent with a time-out, so a hung dialog fails the test instead of blocking it.
#pragma once

#include <windows.h>

#include <string>

namespace tavlin::testing {

// The first visible dialog of the process that is not `except`; null when none
// shows up within `ms`.
HWND WaitForDialog(DWORD processId, DWORD ms = 10000, HWND except = nullptr);

// The dialog's control with this id: its own child, or else one at any depth.
HWND DialogItem(HWND dialog, int id);

// Presses a button of the dialog (posted, as a click would be).
bool PressDialogButton(HWND dialog, int id);

// Puts text into a field of the dialog; for a combo box, into its edit part.
bool SetDialogItemText(HWND dialog, int id, const std::wstring& text);
std::wstring DialogItemText(HWND dialog, int id);

// Selects an entry of a drop-down list and tells the dialog, as a user's pick does.
bool SelectComboItem(HWND dialog, int id, int index);
int ComboSelection(HWND dialog, int id);

// True once the dialog window no longer exists.
bool WaitForDialogGone(HWND dialog, DWORD ms = 10000);

// The window that has the keyboard focus in the thread that owns `window`.
HWND FocusOf(HWND window);

}  // namespace tavlin::testing
