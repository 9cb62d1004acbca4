// The shell port over the platform's shell, dialogs and special folders.
#pragma once

#include "shell/shell_port.h"

namespace tavlin::shell {

class Win32Shell : public ShellPort {
 public:
  void Execute(const ShellRequest& request) override;
  std::optional<std::wstring> BrowseForFolder(std::wstring_view startPath,
                                              std::wstring_view title) override;
  FileOpenResult OpenFileDialog(const FileOpenRequest& request) override;
  std::wstring GetSpecialFolder(int csidl) override;
  void OrganizeFavorites(const std::optional<std::wstring>& folder) override;
};

}  // namespace tavlin::shell
