// How the program finds, when it runs, the functions it calls without
// importing them: every look-up goes through one function, which a test may
// replace. Two tables here hold those of the libraries the program imports
// from (so they are loaded already), each looked up whole on first use:
// - the UTF-16 ("W") entry points the text boundary calls on the NT family.
//   98 and ME export most of them only as stubs that fail, so they are looked
//   up on NT alone: the 95 family never reaches one, and the import table
//   names only functions that work on every system the program claims;
// - functions newer than the oldest system the program runs on, which a
//   caller uses where they exist and does without where they do not.
// Functions of the libraries loaded when first needed (the shell's, the
// dialogs', oleaut32) are looked up where they are used, with ProcAddress or
// TAVLIN_LOOKUP.
#pragma once

#include <windows.h>

namespace tavlin {

// How entry points are looked up: GetProcAddress, unless a test denies some to
// see what a system without them gets. `name` may be an ordinal (MAKEINTRESOURCEA).
using ProcLookup = FARPROC(WINAPI*)(HMODULE, LPCSTR);
ProcLookup ActiveProcLookup();
// Replaces the look-up (null: GetProcAddress again); returns the one it replaces.
ProcLookup SetProcLookup(ProcLookup lookup);

// GetProcAddress returns a generic function pointer; this is the one place it
// is cast to a real signature. Null when the module or the function is missing.
template <typename F>
F ProcAddress(HMODULE module, const char* name) {
  const FARPROC p = module ? ActiveProcLookup()(module, name) : nullptr;
  return reinterpret_cast<F>(reinterpret_cast<void (*)()>(p));
}
// The function `Name` of a module, typed as the headers declare it.
#define TAVLIN_LOOKUP(module, Name) ::tavlin::ProcAddress<decltype(&::Name)>(module, #Name)

// A system library, loaded from the system folder only: with the search flag
// that keeps other folders out where the system knows it (AddDllDirectory is
// the sign), else by its full path there. Null if it cannot be loaded.
HMODULE LoadSystemLibrary(const wchar_t* name);

namespace win {

// The W entry points the text boundary calls: library and name; the type is
// the headers' own. GetWindowLongPtrW is GetWindowLongW in a 32-bit build,
// whose headers spell it so.
#define TAVLIN_WIDE_ENTRY_POINTS(X)   \
  X(user32, RegisterClassExW)         \
  X(user32, UnregisterClassW)         \
  X(user32, CreateWindowExW)          \
  X(user32, DefWindowProcW)           \
  X(user32, CallWindowProcW)          \
  X(user32, SendMessageW)             \
  X(user32, PostMessageW)             \
  X(user32, GetWindowLongPtrW)        \
  X(user32, SetWindowLongPtrW)        \
  X(user32, GetWindowTextLengthW)     \
  X(user32, GetWindowTextW)           \
  X(user32, SetWindowTextW)           \
  X(user32, GetMessageW)              \
  X(user32, DispatchMessageW)         \
  X(user32, IsDialogMessageW)         \
  X(user32, LoadCursorW)              \
  X(user32, LoadImageW)               \
  X(user32, DrawTextW)                \
  X(gdi32, CreateFontIndirectW)       \
  X(gdi32, GetTextMetricsW)           \
  X(kernel32, CreateFileW)            \
  X(kernel32, DeleteFileW)            \
  X(kernel32, MoveFileExW)            \
  X(kernel32, GetFileAttributesExW)   \
  X(kernel32, GetFullPathNameW)       \
  X(kernel32, GetDriveTypeW)          \
  X(kernel32, GetModuleFileNameW)     \
  X(kernel32, GetSystemDirectoryW)    \
  X(kernel32, LoadLibraryExW)         \
  X(kernel32, FormatMessageW)         \
  X(kernel32, WriteConsoleW)          \
  X(kernel32, GetCommandLineW)        \
  X(advapi32, RegOpenKeyExW)          \
  X(advapi32, RegCreateKeyExW)        \
  X(advapi32, RegQueryValueExW)       \
  X(advapi32, RegSetValueExW)         \
  X(advapi32, RegDeleteValueW)        \
  X(version, GetFileVersionInfoSizeW) \
  X(version, GetFileVersionInfoW)     \
  X(version, VerQueryValueW)

// Functions newer than the oldest systems: library, name, result and
// arguments, spelled out because the headers the program is built against
// (2000's) do not declare most of them.
#define TAVLIN_NEWER_ENTRY_POINTS(X)                                           \
  X(user32, GetDpiForWindow, UINT, (HWND))                                     \
  X(user32, AdjustWindowRectExForDpi, BOOL, (RECT*, DWORD, BOOL, DWORD, UINT)) \
  X(user32, GetSystemMetricsForDpi, int, (int, UINT))                          \
  X(kernel32, AttachConsole, BOOL, (DWORD))                                    \
  X(kernel32, AddDllDirectory, void*, (PCWSTR))

#define TAVLIN_WIDE_MEMBER(dll, name) decltype(&::name) name = nullptr;
#define TAVLIN_NEWER_MEMBER(dll, name, result, args) result(WINAPI* name) args = nullptr;
struct WideEntryPoints {
  TAVLIN_WIDE_ENTRY_POINTS(TAVLIN_WIDE_MEMBER)
};
struct NewerEntryPoints {
  TAVLIN_NEWER_ENTRY_POINTS(TAVLIN_NEWER_MEMBER)
};
#undef TAVLIN_WIDE_MEMBER
#undef TAVLIN_NEWER_MEMBER

// Each table is looked up whole the first time it is read (and again once a
// test has set another look-up); an entry the system lacks is null. Only the
// text boundary reads the W table, and only on NT, so that the 95 family never
// even looks its stubs up.
const WideEntryPoints& WideTable();
const NewerEntryPoints& Newer();

}  // namespace win
}  // namespace tavlin
