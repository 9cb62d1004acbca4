// The shell requests of the tool launchers and of OpenURL, and how a
// special-folder lookup is read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "shell/shell_port.h"

namespace tavlin::shell::modMain {

inline constexpr int kCsidlFavorites = 6;
inline constexpr std::size_t kSpecialFolderChars = 260;  // MAX_PATH, as the call requires

// Control Panel with the Internet Options applet, owned by the desktop.
ShellRequest InternetOptionsRequest();
// The search window for files and folders, from the root of the current drive.
ShellRequest SearchRequest();
// A web address or document opened with "open", owned by the main window. The
// target goes as given: no scheme is added, nothing is checked.
ShellRequest OpenRequest(std::wstring_view target);

// The path a lookup returned: the buffer's text before its first NUL when the
// result is 0 (S_OK); the empty text for any other result, or when the buffer
// holds no NUL.
std::wstring SpecialFolderText(std::int32_t result, std::wstring_view buffer);

// The folder handed to the favourites dialog: none when the lookup gave nothing.
std::optional<std::wstring> FavouritesFolder(std::wstring_view lookedUp);

}  // namespace tavlin::shell::modMain
