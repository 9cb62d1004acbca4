// The folder browser over the shell: shows it with a start folder selected and
// returns the chosen folder's path.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "shell/shell_api_win32.h"

namespace tavlin::shell::modFolderBrowse {

// The chosen folder's file-system path, exactly as the shell spells it; none on
// cancel, for an item with no path, or when anything fails.
std::optional<std::wstring> BrowseForFolder(const ShellApi& api, std::wstring_view sPath,
                                            std::wstring_view sTitle, HWND hwndOwner);

// What the browser hands its notification routine as request data.
struct BrowseRequestData {
  const ShellApi* api;
  PIDLIST_ABSOLUTE start;  // the start folder, or null
};

// Selects the start folder once the browser is up; always 0.
int CALLBACK BrowseCallbackProc(HWND hwnd, UINT uMsg, LPARAM lParam, LPARAM lpData);

// The start folder's item identifier list (empty on failure). The path goes
// as it is: on the 95 family the table's entry puts it into the code page.
ItemList PathToItemList(const ShellApi& api, std::wstring_view sPath);

}  // namespace tavlin::shell::modFolderBrowse
