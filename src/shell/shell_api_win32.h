// Every platform function the shell adapter calls, as one table of pointers.
// The program fills it with the real functions (loading shell32, comdlg32 and
// shdocvw only when first needed), each taking UTF-16 text on both families
// (the text boundary gives them); tests fill it with recording stand-ins, so
// that no browser, dialog or tool ever starts.
#pragma once

#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include <utility>

#include "common/text_boundary_win32.h"

namespace tavlin::shell {

struct ShellApi {
  // shell32
  win::ShellExecuteFn ShellExecuteW = nullptr;
  win::BrowseForFolderFn SHBrowseForFolderW = nullptr;
  // Vista and later: any length of path. Elsewhere the plain form, which
  // writes at most MAX_PATH characters.
  win::PathFromItemListExFn SHGetPathFromIDListEx = nullptr;
  win::PathFromItemListFn SHGetPathFromIDListW = nullptr;
  // Makes an absolute item identifier list from a UTF-16 path.
  win::ItemListFromPathFn ILCreateFromPathW = nullptr;
  win::FolderPathFn SHGetFolderPathW = nullptr;
  // comdlg32
  win::OpenFileNameFn GetOpenFileNameW = nullptr;
  DWORD(WINAPI* CommDlgExtendedError)() = nullptr;
  // shdocvw
  win::OrganizeFavouritesFn DoOrganizeFavDlgW = nullptr;
  // user32, kernel32, ole32: linked with the program
  HWND(WINAPI* GetDesktopWindow)() = nullptr;
  // A message to the open folder browser (win::SendToFolderBrowser).
  LRESULT(WINAPI* SendToBrowser)(HWND, UINT, WPARAM, LPARAM) = nullptr;
  void(WINAPI* CoTaskMemFree)(LPVOID) = nullptr;
};

// The linked functions filled in; the entries of the three libraries empty.
ShellApi LinkedShellApi();
// Fills one library's entries from its loaded module (entries it lacks stay empty).
void FillShell32(ShellApi& api, HMODULE shell32);
void FillComdlg32(ShellApi& api, HMODULE comdlg32);
void FillShdocvw(ShellApi& api, HMODULE shdocvw);

// An item identifier list handed to us by the shell, freed with the table's
// CoTaskMemFree when its owner goes.
class ItemList {
 public:
  ItemList() = default;
  ItemList(PIDLIST_ABSOLUTE list, void(WINAPI* free)(LPVOID)) : list_(list), free_(free) {}
  ItemList(const ItemList&) = delete;
  ItemList& operator=(const ItemList&) = delete;
  ItemList(ItemList&& other) noexcept
      : list_(std::exchange(other.list_, nullptr)), free_(other.free_) {}
  ItemList& operator=(ItemList&& other) noexcept {
    if (this != &other) {
      Free();
      list_ = std::exchange(other.list_, nullptr);
      free_ = other.free_;
    }
    return *this;
  }
  ~ItemList() { Free(); }

  PIDLIST_ABSOLUTE get() const { return list_; }
  explicit operator bool() const { return list_ != nullptr; }

 private:
  void Free() {
    if (list_ && free_) free_(list_);
    list_ = nullptr;
  }
  PIDLIST_ABSOLUTE list_ = nullptr;
  void(WINAPI* free_)(LPVOID) = nullptr;
};

}  // namespace tavlin::shell
