// Work in progress: the shell calls are being written in their own change.
#include "shell/shell_win32.h"

namespace tavlin::shell {

void Win32Shell::Execute(const ShellRequest&) {}
std::optional<std::wstring> Win32Shell::BrowseForFolder(std::wstring_view, std::wstring_view) {
  return std::nullopt;
}
FileOpenResult Win32Shell::OpenFileDialog(const FileOpenRequest&) { return {}; }
std::wstring Win32Shell::GetSpecialFolder(int) { return {}; }
void Win32Shell::OrganizeFavorites(const std::optional<std::wstring>&) {}

}  // namespace tavlin::shell
