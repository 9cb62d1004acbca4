#include "shell/shell_api_win32.h"

#include <objbase.h>

#include "common/entry_points_win32.h"

namespace tavlin::shell {

ShellApi LinkedShellApi() {
  ShellApi api;
  api.GetDesktopWindow = &::GetDesktopWindow;
  api.SendToBrowser = &win::SendToFolderBrowser;
  api.CoTaskMemFree = &::CoTaskMemFree;
  return api;
}

void FillShell32(ShellApi& api, HMODULE shell32) {
  api.ShellExecuteW = win::ShellExecuteEntry(shell32);
  api.SHBrowseForFolderW = win::BrowseForFolderEntry(shell32);
  api.SHGetPathFromIDListEx = win::PathFromItemListExEntry(shell32);
  api.SHGetPathFromIDListW = win::PathFromItemListEntry(shell32);
  api.ILCreateFromPathW = win::ItemListFromPathEntry(shell32);
  api.SHGetFolderPathW = win::FolderPathEntry(shell32);
}

void FillComdlg32(ShellApi& api, HMODULE comdlg32) {
  api.CommDlgExtendedError = TAVLIN_LOOKUP(comdlg32, CommDlgExtendedError);
  api.GetOpenFileNameW = win::OpenFileNameEntry(comdlg32);
}

void FillShdocvw(ShellApi& api, HMODULE shdocvw) {
  api.DoOrganizeFavDlgW = win::OrganizeFavouritesEntry(shdocvw);
}

}  // namespace tavlin::shell
