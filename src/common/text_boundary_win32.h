// The one place where the program's text meets the system. On the NT family
// every call goes to the UTF-16 ("W") entry point. Windows 95, 98 and ME
// export the W entry points too, but almost all of them only fail there: on
// those systems the call goes to the 8-bit ("A") entry point instead, its text
// converted to and from the system code page here. Everything else in the
// program keeps its text in UTF-16 and calls these functions.
//
// The W entry points are never imported: they are looked up by name on NT
// alone, the first time one is needed (the table of entry_points_win32.h; the
// shell's and the dialogs' from their libraries, below), so that the 95 family
// never reaches one, not even to look it up.
//
// No function here is named like a Windows A/W macro: with UNICODE defined,
// such a name would silently become the W function's own.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <oleauto.h>
#include <shellapi.h>
#include <shlobj.h>

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

// The one conversion between UTF-16 and a code page, the system's own unless
// another is named (the console's, UTF-8). Narrow writes the code page's
// default character for anything it cannot spell.
std::string Narrow(std::wstring_view text, UINT codePage = CP_ACP);
std::wstring Widen(std::string_view text, UINT codePage = CP_ACP);
// The text comes back unchanged through the system code page: nothing would
// be lost where the system keeps text in it (the 95 family).
bool CodePageHolds(std::wstring_view text);

// ---- windows, messages and painting -----------------------------------------

// The class name (and the menu name, if any) may be a string or an atom /
// resource number.
ATOM RegisterWindowClass(const WNDCLASSEXW& wc);
BOOL UnregisterWindowClass(std::wstring_view name, HINSTANCE instance);
// `cls` is a class name or an atom.
HWND MakeWindow(DWORD exStyle, const wchar_t* cls, std::wstring_view title, DWORD style, int x,
                int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                void* param);
LRESULT DefaultWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
// Hands a message to a window procedure taken over from someone else.
LRESULT CallProcedure(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
// Messages that carry no text (or the same on both families).
LRESULT SendWithoutText(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
BOOL PostWithoutText(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
// GetWindowLongPtr and SetWindowLongPtr of the window's own family.
LONG_PTR ReadWindowLong(HWND hwnd, int index);
LONG_PTR WriteWindowLong(HWND hwnd, int index, LONG_PTR value);
// The whole text; empty when the window has none or it cannot be read.
std::wstring WindowText(HWND hwnd);
BOOL ReplaceWindowText(HWND hwnd, std::wstring_view text);
// The message loop: the next message of the thread (0 at WM_QUIT), the keys a
// dialog handles (Tab, Escape, mnemonics), and the rest dispatched.
BOOL WaitForMessage(MSG& msg);
BOOL HandleDialogKey(HWND dialog, MSG& msg);
LRESULT Dispatch(const MSG& msg);
HCURSOR LoadArrowCursor();
// A resource of the module by its number.
HANDLE LoadResourceImage(HINSTANCE instance, WORD id, UINT type, int cx, int cy, UINT flags);
// A .bmp file decoded by the system's own reader, as a DIB section of the
// file's colour depth (LoadImage with LR_LOADFROMFILE | LR_CREATEDIBSECTION);
// null when the file cannot be read or decoded.
HBITMAP LoadBitmapFile(std::wstring_view path);
HFONT MakeFont(const LOGFONTW& font);
struct FontMetrics {
  int height = 0, aveCharWidth = 0;
};
FontMetrics FontMetricsOf(HDC dc);
int DrawTextIn(HDC dc, std::wstring_view text, RECT& rect, UINT format);
// A combo box's list gains the text.
LRESULT AddComboString(HWND combo, std::wstring_view text);

// Tooltip tools: the record as the W messages take it, with the text apart.
LRESULT AddTool(HWND tip, TTTOOLINFOW tool, std::wstring_view text);
LRESULT UpdateTipText(HWND tip, TTTOOLINFOW tool, std::wstring_view text);
LRESULT NewToolRect(HWND tip, const TTTOOLINFOW& tool);
// The index-th tool's record, its text left out.
bool EnumTool(HWND tip, UINT index, TTTOOLINFOW& tool);

// ---- files, the process and the console ----------------------------------

// CreateFile for an existing or new file. Flags the 95 family does not know
// (sharing for deletion, no recall) are dropped there.
HANDLE OpenFileHandle(std::wstring_view path, DWORD access, DWORD share, DWORD disposition,
                      DWORD flags);
BOOL RemoveFile(std::wstring_view path);
// Moves `from` over `target`, which it replaces. Where the system cannot
// replace in one step, the target is set aside first and put back if the move
// fails, so that it is never lost.
BOOL MoveFileReplacing(std::wstring_view from, std::wstring_view target);
BOOL FileAttributes(std::wstring_view path, WIN32_FILE_ATTRIBUTE_DATA& data);
// Empty on failure.
std::wstring FullPath(std::wstring_view path);
UINT DriveType(std::wstring_view root);
std::wstring ModuleFileName(HMODULE module);
std::wstring SystemDirectory();
HMODULE LoadLibraryFrom(std::wstring_view path, DWORD flags);
// The system's own words for an error code, without the final full stop and
// line end it writes; empty when it has none.
std::wstring ErrorText(DWORD code);
// Text to a console, in the console's own code page where it takes no UTF-16.
BOOL WriteToConsole(HANDLE console, std::wstring_view text);
// The whole command line, the program's name first.
std::wstring CommandLine();

// ---- the registry ---------------------------------------------------------
// Values of the text types (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ) go in and
// come out as UTF-16 bytes on every system. Where the system keeps them in
// its code page, a text the code page cannot hold is not stored
// (ERROR_NO_UNICODE_TRANSLATION), nor a REG_SZ with a NUL inside, which that
// system would cut short there (ERROR_INVALID_DATA). Otherwise each is the
// registry function of the same name.

LONG OpenKey(HKEY root, std::wstring_view path, REGSAM access, HKEY& key);
LONG CreateKey(HKEY root, std::wstring_view path, REGSAM access, HKEY& key);
LONG QueryValue(HKEY key, std::wstring_view name, DWORD* type, BYTE* data, DWORD* size);
LONG SetValue(HKEY key, std::wstring_view name, DWORD type, const BYTE* data, DWORD size);
// The error SetValue refuses a text value of this type with (its data as
// UTF-16, terminators and all); ERROR_SUCCESS when the system keeps it whole.
LONG TextValueRefusal(DWORD type, std::wstring_view text);
LONG DeleteValue(HKEY key, std::wstring_view name);

// ---- version resources ------------------------------------------------------

// The file's version resource; empty when it has none.
std::vector<std::byte> FileVersionInfo(std::wstring_view path);
// The fixed part of a block from FileVersionInfo; null when it has none.
const VS_FIXEDFILEINFO* FixedFileInfo(const std::vector<std::byte>& block);

// ---- the shell and its dialogs ----------------------------------------------
// Their libraries are loaded when first needed (by the shell adapter, which
// hands each one in). Each function gives the entry point the adapter calls,
// taking UTF-16 text on both families: on NT the library's own W function, on
// the 95 family a stand-in here that converts the text and calls the A one.
// Null where the library lacks it.

using ShellExecuteFn = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
using BrowseForFolderFn = PIDLIST_ABSOLUTE(WINAPI*)(LPBROWSEINFOW);
// Vista and later, NT only: any length of path.
using PathFromItemListExFn = BOOL(WINAPI*)(PCIDLIST_ABSOLUTE, PWSTR, DWORD, int);
// At most MAX_PATH characters.
using PathFromItemListFn = BOOL(WINAPI*)(PCIDLIST_ABSOLUTE, PWSTR);
using ItemListFromPathFn = PIDLIST_ABSOLUTE(WINAPI*)(PCWSTR);
using FolderPathFn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);
using OpenFileNameFn = BOOL(WINAPI*)(LPOPENFILENAMEW);
using OrganizeFavouritesFn = BOOL(WINAPI*)(HWND, LPWSTR);

ShellExecuteFn ShellExecuteEntry(HMODULE shell32);
BrowseForFolderFn BrowseForFolderEntry(HMODULE shell32);
PathFromItemListExFn PathFromItemListExEntry(HMODULE shell32);
PathFromItemListFn PathFromItemListEntry(HMODULE shell32);
ItemListFromPathFn ItemListFromPathEntry(HMODULE shell32);
// From shell32, or on 98 from the shfolder library that comes with the browser.
FolderPathFn FolderPathEntry(HMODULE shell32);
OpenFileNameFn OpenFileNameEntry(HMODULE comdlg32);
OrganizeFavouritesFn OrganizeFavouritesEntry(HMODULE shdocvw);

// A message to the folder browser. Its selection message is given in its
// UTF-16 form (BFFM_SETSELECTIONW) and sent in the family's own; given an item
// list, both take the same.
LRESULT WINAPI SendToFolderBrowser(HWND browser, UINT msg, WPARAM wp, LPARAM lp);

// ---- accessibility ------------------------------------------------------------

// The text as a string a screen reader takes (and frees): UTF-16 on every
// system. Null when memory or the system's automation library is lacking.
BSTR NewBstr(std::wstring_view text);

}  // namespace tavlin::win
