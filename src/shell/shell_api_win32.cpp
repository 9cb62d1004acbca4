#include "shell/shell_api_win32.h"

#include <objbase.h>

#include "common/win32_handles.h"

namespace tavlin::shell {

namespace {
// Looks a function up by name and gives it the table entry's own type.
template <typename F>
void Resolve(F& entry, HMODULE module, const char* name) {
  entry = ProcAddress<F>(module, name);
}
}  // namespace

ShellApi LinkedShellApi() {
  ShellApi api;
  api.GetDesktopWindow = &::GetDesktopWindow;
  api.SendMessageW = &::SendMessageW;
  api.GetVersionExW = &::GetVersionExW;
  api.CoTaskMemFree = &::CoTaskMemFree;
  return api;
}

void FillShell32(ShellApi& api, HMODULE shell32) {
  Resolve(api.ShellExecuteW, shell32, "ShellExecuteW");
  Resolve(api.SHBrowseForFolderW, shell32, "SHBrowseForFolderW");
  Resolve(api.SHGetPathFromIDListEx, shell32, "SHGetPathFromIDListEx");
  Resolve(api.SHGetPathFromIDListW, shell32, "SHGetPathFromIDListW");
  Resolve(api.ILCreateFromPathW, shell32, "ILCreateFromPathW");
  // The shell of 2000 has it under its ordinal only.
  constexpr WORD kILCreateFromPathW = 190;
  if (!api.ILCreateFromPathW)
    Resolve(api.ILCreateFromPathW, shell32, MAKEINTRESOURCEA(kILCreateFromPathW));
  Resolve(api.SHGetFolderPathW, shell32, "SHGetFolderPathW");
}

void FillComdlg32(ShellApi& api, HMODULE comdlg32) {
  Resolve(api.GetOpenFileNameW, comdlg32, "GetOpenFileNameW");
  Resolve(api.CommDlgExtendedError, comdlg32, "CommDlgExtendedError");
}

void FillShdocvw(ShellApi& api, HMODULE shdocvw) {
  Resolve(api.DoOrganizeFavDlgW, shdocvw, "DoOrganizeFavDlgW");
}

}  // namespace tavlin::shell
