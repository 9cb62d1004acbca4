// The folder picker's rules: which box each "..." button fills, the start path
// handed to the browser.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/control_id.h"

namespace tavlin::shell::modFolderBrowse {

inline constexpr std::wstring_view kSelectFolderTitle = L"Select Folder";

// The text box that cmbdir(Index) fills: txtDownload or txtSaveDir; none for
// any other index.
std::optional<Ctl> FolderBoxOf(short Index);

// Removes one trailing backslash, if there is one: C:\Temp\ becomes C:\Temp and
// C:\ becomes C:.
std::wstring StripBackslash(std::wstring_view sPath);

// The folder path the shell wrote into a buffer: its text before the first NUL.
// None when the buffer holds no NUL or the path is empty: neither names a folder.
std::optional<std::wstring> FolderPathFromBuffer(std::wstring_view buffer);

}  // namespace tavlin::shell::modFolderBrowse
