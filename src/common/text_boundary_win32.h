// The one place where the program's text meets the system. On the NT family
// every call goes to the UTF-16 ("W") entry point. Windows 95, 98 and ME
// export the W entry points too, but almost all of them do nothing there: on
// those systems the call goes to the 8-bit ("A") entry point instead, its text
// converted to and from the system code page here. Everything else in the
// program keeps its text in UTF-16 and calls these functions.
//
// The W entry points are never imported: they are looked up by name the first
// time one is needed on NT (WideEntryPoints), so that the program loads on 98
// and never reaches one there.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavlin::win {

// The system takes UTF-16 text: the NT family. Asked once.
bool IsWinNT();
// For tests: answers as the given family from now on (none: the system's own
// answer again). Returns the answer given so far.
bool AnswerAsNt(std::optional<bool> nt);

// The system code page, both ways. Narrow writes the code page's default
// character for anything it cannot spell.
std::string Narrow(std::wstring_view text);
std::wstring Widen(std::string_view text);
// The text comes back unchanged through the code page: nothing would be lost
// where the system keeps text in it (the 95 family).
bool CodePageHolds(std::wstring_view text);

// ---- windows, messages and painting -----------------------------------------

ATOM RegisterClassEx(const WNDCLASSEXW& wc);
BOOL UnregisterClass(std::wstring_view name, HINSTANCE instance);
// `cls` is a class name or an atom.
HWND CreateWindowEx(DWORD exStyle, const wchar_t* cls, std::wstring_view title, DWORD style, int x,
                    int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                    void* param);
LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
// Messages that carry no text (or the same on both families).
LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
BOOL PostMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
LONG_PTR GetWindowLongPtr(HWND hwnd, int index);
LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value);
// The whole text; empty when the window has none or it cannot be read.
std::wstring GetWindowText(HWND hwnd);
BOOL SetWindowText(HWND hwnd, std::wstring_view text);
BOOL GetMessage(MSG& msg);
LRESULT DispatchMessage(const MSG& msg);
BOOL IsDialogMessage(HWND dialog, MSG& msg);
HCURSOR LoadArrowCursor();
// A resource of the module by its number.
HANDLE LoadImage(HINSTANCE instance, WORD id, UINT type, int cx, int cy, UINT flags);
HFONT CreateFontIndirect(const LOGFONTW& font);
struct FontMetrics {
  int height = 0, aveCharWidth = 0;
};
FontMetrics GetTextMetrics(HDC dc);
int DrawText(HDC dc, std::wstring_view text, RECT& rect, UINT format);
// A combo box's list gains the text.
LRESULT AddComboString(HWND combo, std::wstring_view text);

// Tooltip tools: the record as the W messages take it, with the text apart.
LRESULT AddTool(HWND tip, TTTOOLINFOW tool, std::wstring_view text);
LRESULT UpdateTipText(HWND tip, TTTOOLINFOW tool, std::wstring_view text);
LRESULT NewToolRect(HWND tip, const TTTOOLINFOW& tool);
// The index-th tool's record, its text left out.
bool EnumTool(HWND tip, UINT index, TTTOOLINFOW& tool);

// ---- files, the process and the console ----------------------------------

// Flags the 95 family does not know (sharing for deletion, no recall) are
// dropped there.
HANDLE CreateFile(std::wstring_view path, DWORD access, DWORD share, DWORD disposition,
                  DWORD flags);
BOOL DeleteFile(std::wstring_view path);
// Moves `from` over `target`, which it replaces. Where the system cannot
// replace in one step, the target is set aside first and put back if the move
// fails, so that it is never lost.
BOOL MoveFileReplacing(std::wstring_view from, std::wstring_view target);
BOOL GetFileAttributesEx(std::wstring_view path, WIN32_FILE_ATTRIBUTE_DATA& data);
// Empty on failure.
std::wstring GetFullPathName(std::wstring_view path);
UINT GetDriveType(std::wstring_view root);
std::wstring ModuleFileName(HMODULE module);
std::wstring SystemDirectory();
HMODULE LoadLibraryEx(std::wstring_view path, DWORD flags);
// The system's own words for an error code; empty when it has none.
std::wstring ErrorText(DWORD code);
BOOL WriteConsole(HANDLE console, std::wstring_view text);
// The whole command line, the program's name first.
std::wstring CommandLine();

// ---- the registry ---------------------------------------------------------
// Values of the text types (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ) go in and
// come out as UTF-16 bytes on every system. Where the system keeps them in
// its code page, a text the code page cannot hold is not stored
// (ERROR_NO_UNICODE_TRANSLATION), nor a REG_SZ with a NUL inside, which that
// system would cut short there (ERROR_INVALID_DATA).

LONG RegOpenKeyEx(HKEY root, std::wstring_view path, REGSAM access, HKEY& key);
LONG RegCreateKeyEx(HKEY root, std::wstring_view path, REGSAM access, HKEY& key);
LONG RegQueryValueEx(HKEY key, std::wstring_view name, DWORD* type, BYTE* data, DWORD* size);
LONG RegSetValueEx(HKEY key, std::wstring_view name, DWORD type, const BYTE* data, DWORD size);
LONG RegDeleteValue(HKEY key, std::wstring_view name);

// ---- version resources ------------------------------------------------------

// The file's version resource; empty when it has none.
std::vector<std::byte> FileVersionInfo(std::wstring_view path);
// The fixed part of a block from FileVersionInfo; null when it has none.
const VS_FIXEDFILEINFO* FixedFileInfo(const std::vector<std::byte>& block);

// ---- the entry points ------------------------------------------------------

// How many calls have gone to W entry points so far. On the 95 family's path
// it stays as it is: a test counts on it.
std::size_t WideEntryPointCalls();

}  // namespace tavlin::win
