// The shell port over the platform's shell, dialogs and special folders. Every
// dialog is owned by the window its owner answers when the dialog opens (the
// main window, until Form_Unload drops the program's reference to it).
#pragma once

#include <windows.h>

#include <functional>

#include "shell/shell_api_win32.h"
#include "shell/shell_port.h"

namespace tavlin::shell {

class Win32Shell : public ShellPort {
 public:
  // The platform's own functions; shell32, comdlg32 and shdocvw are loaded
  // when a click first needs them.
  explicit Win32Shell(std::function<HWND()> owner);
  // Every call goes to these functions, and no library is loaded.
  Win32Shell(std::function<HWND()> owner, const ShellApi& substitute);
  Win32Shell(const Win32Shell&) = delete;
  Win32Shell& operator=(const Win32Shell&) = delete;

  void Execute(const ShellRequest& request) override;
  std::optional<std::wstring> BrowseForFolder(std::wstring_view startPath,
                                              std::wstring_view title) override;
  FileOpenResult OpenFileDialog(const FileOpenRequest& request) override;
  std::wstring GetSpecialFolder(int csidl) override;
  void OrganizeFavorites(const std::optional<std::wstring>& folder) override;

 private:
  enum class Library { Shell32, Comdlg32, Shdocvw };
  // The table, with the library's entries loaded if they are not yet.
  const ShellApi& Need(Library library);

  std::function<HWND()> owner_;
  ShellApi api_;
  bool loadOnDemand_;
  // Once loaded, a library stays for the rest of the run: the shell's dialogs
  // leave worker threads running in them after they close.
  HMODULE shell32_ = nullptr, comdlg32_ = nullptr, shdocvw_ = nullptr;
};

}  // namespace tavlin::shell
