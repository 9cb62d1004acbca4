// The text boundary's part for the shell and its dialogs, whose libraries the
// shell adapter loads when first needed.
#include <algorithm>
#include <optional>
#include <string>

#include "common/entry_points_win32.h"
#include "common/text_boundary_win32.h"

namespace tavlin::win {
namespace {

// ---- the 95 family ---------------------------------------------------------
// Its shell and dialogs take text in the code page: the entries handed out are
// these stand-ins, which convert the text and call the A entry points found
// here. A stand-in is a plain function pointer, so what it calls is kept here.

struct AnsiShell {
  HINSTANCE(WINAPI* ShellExecuteA)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT) = nullptr;
  PIDLIST_ABSOLUTE(WINAPI* SHBrowseForFolderA)(LPBROWSEINFOA) = nullptr;
  BOOL(WINAPI* SHGetPathFromIDListA)(PCIDLIST_ABSOLUTE, LPSTR) = nullptr;
  // Shell export 157: its path is in the code page on the 95 family.
  PIDLIST_ABSOLUTE(WINAPI* ILCreateFromPath)(LPCSTR) = nullptr;
  HRESULT(WINAPI* SHGetFolderPathA)(HWND, int, HANDLE, DWORD, LPSTR) = nullptr;
  BOOL(WINAPI* GetOpenFileNameA)(LPOPENFILENAMEA) = nullptr;
  BOOL(WINAPI* DoOrganizeFavDlg)(HWND, LPSTR) = nullptr;
};
AnsiShell g_ansi;

// Looks a function up by name or ordinal and gives it the entry's own type;
// true when found.
template <typename F>
bool Find(F& entry, HMODULE module, const char* name) {
  entry = ProcAddress<F>(module, name);
  return entry != nullptr;
}

std::optional<std::string> NarrowOrNull(LPCWSTR text) {
  return text ? std::optional<std::string>(Narrow(text)) : std::nullopt;
}
const char* OrNull(const std::optional<std::string>& text) {
  return text ? text->c_str() : nullptr;
}
// Writes the text and its NUL into a buffer of `room` characters, cut short if need be.
void CopyOut(std::wstring_view text, wchar_t* buffer, std::size_t room) {
  if (!buffer || room == 0) return;
  const std::size_t n = std::min(text.size(), room - 1);
  std::copy_n(text.begin(), n, buffer);
  buffer[n] = L'\0';
}

HINSTANCE WINAPI AnsiShellExecute(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                                  LPCWSTR directory, INT show) {
  const auto v = NarrowOrNull(verb), f = NarrowOrNull(file), p = NarrowOrNull(parameters),
             d = NarrowOrNull(directory);
  return g_ansi.ShellExecuteA(owner, OrNull(v), OrNull(f), OrNull(p), OrNull(d), show);
}

PIDLIST_ABSOLUTE WINAPI AnsiBrowseForFolder(LPBROWSEINFOW request) {
  const auto title = NarrowOrNull(request->lpszTitle);
  char name[MAX_PATH] = {};
  BROWSEINFOA a{};
  a.hwndOwner = request->hwndOwner;
  a.pidlRoot = request->pidlRoot;
  a.pszDisplayName = request->pszDisplayName ? name : nullptr;
  a.lpszTitle = OrNull(title);
  a.ulFlags = request->ulFlags;
  a.lpfn = request->lpfn;
  a.lParam = request->lParam;
  const PIDLIST_ABSOLUTE chosen = g_ansi.SHBrowseForFolderA(&a);
  request->iImage = a.iImage;
  if (request->pszDisplayName) CopyOut(Widen(name), request->pszDisplayName, MAX_PATH);
  return chosen;
}

BOOL WINAPI AnsiPathFromIDList(PCIDLIST_ABSOLUTE list, LPWSTR path) {
  char narrow[MAX_PATH] = {};
  if (!g_ansi.SHGetPathFromIDListA(list, narrow)) return FALSE;
  CopyOut(Widen(narrow), path, MAX_PATH);
  return TRUE;
}

PIDLIST_ABSOLUTE WINAPI AnsiItemList(PCWSTR path) {
  return g_ansi.ILCreateFromPath(Narrow(path ? path : L"").c_str());
}

HRESULT WINAPI AnsiFolderPath(HWND owner, int csidl, HANDLE token, DWORD flags, LPWSTR path) {
  char narrow[MAX_PATH] = {};
  const HRESULT result = g_ansi.SHGetFolderPathA(owner, csidl, token, flags, narrow);
  if (result == S_OK) CopyOut(Widen(narrow), path, MAX_PATH);
  return result;
}

// The length of a list of NUL-terminated texts that ends in two NULs, both counted.
std::size_t DoubleNulLength(const wchar_t* list) {
  std::size_t n = 0;
  while (list[n] || list[n + 1]) ++n;
  return n + 2;
}

BOOL WINAPI AnsiOpenFileName(LPOPENFILENAMEW dialog) {
  const std::string filter =
      dialog->lpstrFilter ? Narrow({dialog->lpstrFilter, DoubleNulLength(dialog->lpstrFilter)})
                          : std::string();
  // A double-byte code page may need two bytes a character.
  std::string file = Narrow(dialog->lpstrFile);
  file.resize(std::max<std::size_t>(dialog->nMaxFile * 2, file.size() + 1), '\0');
  const auto initialDir = NarrowOrNull(dialog->lpstrInitialDir),
             title = NarrowOrNull(dialog->lpstrTitle), defExt = NarrowOrNull(dialog->lpstrDefExt);
  OPENFILENAMEA a{};
  a.lStructSize = OPENFILENAME_SIZE_VERSION_400A;  // the record 98 and ME take
  a.hwndOwner = dialog->hwndOwner;
  a.hInstance = dialog->hInstance;
  a.lpstrFilter = dialog->lpstrFilter ? filter.c_str() : nullptr;
  a.nFilterIndex = dialog->nFilterIndex;
  a.lpstrFile = file.data();
  a.nMaxFile = static_cast<DWORD>(file.size());
  a.lpstrInitialDir = OrNull(initialDir);
  a.lpstrTitle = OrNull(title);
  a.lpstrDefExt = OrNull(defExt);
  a.Flags = dialog->Flags;
  if (!g_ansi.GetOpenFileNameA(&a)) return FALSE;
  const std::wstring chosen = Widen(file.c_str());
  if (chosen.size() >= dialog->nMaxFile) return FALSE;
  CopyOut(chosen, dialog->lpstrFile, dialog->nMaxFile);
  dialog->nFilterIndex = a.nFilterIndex;
  return TRUE;
}

BOOL WINAPI AnsiOrganizeFavourites(HWND owner, LPWSTR folder) {
  std::string path = folder ? Narrow(folder) : std::string();
  return g_ansi.DoOrganizeFavDlg(owner, folder ? path.data() : nullptr);
}

// Where the folder path function is: shell32 of ME and 2000 on; on 98, the
// shfolder library that comes with the browser.
HMODULE FolderPathLibrary(HMODULE shell32, const char* name) {
  if (ProcAddress<void (*)()>(shell32, name)) return shell32;
  static const HMODULE shfolder = LoadSystemLibrary(L"shfolder.dll");  // kept for the run
  return shfolder;
}

}  // namespace

ShellExecuteFn ShellExecuteEntry(HMODULE shell32) {
  if (IsWinNT()) return TAVLIN_LOOKUP(shell32, ShellExecuteW);
  return Find(g_ansi.ShellExecuteA, shell32, "ShellExecuteA") ? &AnsiShellExecute : nullptr;
}

BrowseForFolderFn BrowseForFolderEntry(HMODULE shell32) {
  if (IsWinNT()) return TAVLIN_LOOKUP(shell32, SHBrowseForFolderW);
  return Find(g_ansi.SHBrowseForFolderA, shell32, "SHBrowseForFolderA") ? &AnsiBrowseForFolder
                                                                        : nullptr;
}

PathFromItemListExFn PathFromItemListExEntry(HMODULE shell32) {
  return IsWinNT() ? ProcAddress<PathFromItemListExFn>(shell32, "SHGetPathFromIDListEx") : nullptr;
}

PathFromItemListFn PathFromItemListEntry(HMODULE shell32) {
  if (IsWinNT()) return TAVLIN_LOOKUP(shell32, SHGetPathFromIDListW);
  return Find(g_ansi.SHGetPathFromIDListA, shell32, "SHGetPathFromIDListA") ? &AnsiPathFromIDList
                                                                            : nullptr;
}

ItemListFromPathFn ItemListFromPathEntry(HMODULE shell32) {
  if (IsWinNT()) {
    // The shell of 2000 has it under its ordinal only.
    constexpr WORD kILCreateFromPathW = 190;
    const auto byName = ProcAddress<ItemListFromPathFn>(shell32, "ILCreateFromPathW");
    return byName ? byName
                  : ProcAddress<ItemListFromPathFn>(shell32, MAKEINTRESOURCEA(kILCreateFromPathW));
  }
  // Shell export 157 (ILCreateFromPath), whose path is in the system's own text form.
  constexpr WORD kILCreateFromPath = 157;
  return Find(g_ansi.ILCreateFromPath, shell32, MAKEINTRESOURCEA(kILCreateFromPath)) ? &AnsiItemList
                                                                                     : nullptr;
}

FolderPathFn FolderPathEntry(HMODULE shell32) {
  if (IsWinNT()) return TAVLIN_LOOKUP(shell32, SHGetFolderPathW);
  return Find(g_ansi.SHGetFolderPathA, FolderPathLibrary(shell32, "SHGetFolderPathA"),
              "SHGetFolderPathA")
             ? &AnsiFolderPath
             : nullptr;
}

OpenFileNameFn OpenFileNameEntry(HMODULE comdlg32) {
  if (IsWinNT()) return TAVLIN_LOOKUP(comdlg32, GetOpenFileNameW);
  return Find(g_ansi.GetOpenFileNameA, comdlg32, "GetOpenFileNameA") ? &AnsiOpenFileName : nullptr;
}

OrganizeFavouritesFn OrganizeFavouritesEntry(HMODULE shdocvw) {
  if (IsWinNT()) return ProcAddress<OrganizeFavouritesFn>(shdocvw, "DoOrganizeFavDlgW");
  return Find(g_ansi.DoOrganizeFavDlg, shdocvw, "DoOrganizeFavDlg") ? &AnsiOrganizeFavourites
                                                                    : nullptr;
}

LRESULT WINAPI SendToFolderBrowser(HWND browser, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == BFFM_SETSELECTIONW && !IsWinNT()) msg = BFFM_SETSELECTIONA;
  return SendWithoutText(browser, msg, wp, lp);
}

}  // namespace tavlin::win
