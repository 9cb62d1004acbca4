// What the pickers, the tool launchers and the link labels need of the shell.
// The adapter reaches the main window (owner of every dialog) itself, through
// the program's global window reference.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavlin::shell {

// Room for the longest path the platform can spell (32767 characters and a NUL).
// Folder paths and file names are read into buffers of this size, so a long
// path is never cut short.
inline constexpr std::size_t kLongPathChars = 32768;

enum class Owner { Desktop, MainWindow };

// One ShellExecute call: owner, verb, file, parameters, directory, show command.
struct ShellRequest {
  Owner owner = Owner::MainWindow;
  std::wstring verb;
  std::wstring file;
  std::optional<std::wstring> parameters;  // nullopt passes a null pointer
  std::optional<std::wstring> directory;
  int show = 1;  // SW_SHOWNORMAL
  bool operator==(const ShellRequest&) const = default;
};

struct FileOpenRequest {
  std::wstring filter;  // "desc|pattern|desc|pattern"
  int filterIndex = 1;
  std::wstring fileName;
  std::uint32_t flags = 0;
  bool operator==(const FileOpenRequest&) const = default;
};

enum class DialogOutcome {
  Ok,           // the user pressed Open
  Cancel,       // the user closed the dialog without choosing
  InvalidName,  // the dialog would not open with that initial file name
  Failed,       // anything else went wrong
};
struct FileOpenResult {
  DialogOutcome outcome = DialogOutcome::Cancel;
  std::wstring fileName;  // the chosen file's full path when outcome is Ok
  bool operator==(const FileOpenResult&) const = default;
};

class ShellPort {
 public:
  virtual ~ShellPort() = default;
  virtual void Execute(const ShellRequest& request) = 0;
  // The chosen folder's file-system path; nullopt on cancel, on an item with no
  // path, or on any failure.
  virtual std::optional<std::wstring> BrowseForFolder(std::wstring_view startPath,
                                                      std::wstring_view title) = 0;
  virtual FileOpenResult OpenFileDialog(const FileOpenRequest& request) = 0;
  // The folder's path, or the empty text when the lookup fails.
  virtual std::wstring GetSpecialFolder(int csidl) = 0;
  virtual void OrganizeFavorites(const std::optional<std::wstring>& folder) = 0;
};

}  // namespace tavlin::shell
