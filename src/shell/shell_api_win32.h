// Every platform function the shell adapter calls, as one table of pointers,
// each named for its job. The program fills it with the real functions
// (loading shell32, comdlg32 and shdocvw only when first needed), each taking
// UTF-16 text on both families (the text boundary gives them: the library's W
// function on NT, a stand-in over its A function on the 95 family); tests fill
// it with recording stand-ins, so that no browser, dialog or tool ever starts.
#pragma once

#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include <utility>

#include "common/text_boundary_win32.h"

namespace tavlin::shell {

struct ShellApi {
  // shell32 (ShellExecute, SHBrowseForFolder)
  win::ShellExecuteFn execute = nullptr;
  win::BrowseForFolderFn browseForFolder = nullptr;
  // A folder's path from its item list: Vista and later, any length of path
  // (SHGetPathFromIDListEx). Elsewhere the plain form, which writes at most
  // MAX_PATH characters (SHGetPathFromIDList).
  win::PathFromItemListExFn longPathFromItemList = nullptr;
  win::PathFromItemListFn pathFromItemList = nullptr;
  // An absolute item identifier list from a UTF-16 path (ILCreateFromPath).
  win::ItemListFromPathFn itemListFromPath = nullptr;
  win::FolderPathFn folderPath = nullptr;  // SHGetFolderPath
  // comdlg32 (GetOpenFileName, CommDlgExtendedError)
  win::OpenFileNameFn openFileDialog = nullptr;
  DWORD(WINAPI* dialogError)() = nullptr;
  // shdocvw (DoOrganizeFavDlg)
  win::OrganizeFavouritesFn organizeFavourites = nullptr;
  // Linked with the program: GetDesktopWindow, win::SendToFolderBrowser (a
  // message to the open folder browser), CoTaskMemFree.
  HWND(WINAPI* desktopWindow)() = nullptr;
  LRESULT(WINAPI* sendToBrowser)(HWND, UINT, WPARAM, LPARAM) = nullptr;
  void(WINAPI* freeItemList)(LPVOID) = nullptr;
};

// The linked functions filled in; the entries of the three libraries empty.
ShellApi LinkedShellApi();

// An item identifier list handed to us by the shell, freed with the table's
// freeItemList when its owner goes.
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
