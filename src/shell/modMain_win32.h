// Special-folder lookup over the shell.
#pragma once

#include <windows.h>

#include <string>

#include "shell/shell_api_win32.h"

namespace tavlin::shell::modMain {

// The folder's current path (a missing folder is not created), or the empty
// text when the lookup fails.
std::wstring GetSpecialFolder(const ShellApi& api, HWND owner, int csidl);

}  // namespace tavlin::shell::modMain
