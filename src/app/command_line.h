// The command line: no switch opens the window as always; /export, /import
// and /? run without it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavlin::app {

// Splits a command line (without the program name) into arguments by the
// rules of the Windows C runtime: blanks separate arguments outside quotes;
// 2n backslashes before a quote give n backslashes and the quote opens or
// closes a quoted part, 2n+1 give n and a literal quote; inside a quoted part
// two quotes give one; other backslashes are literal, so \\server\share
// stays as it is.
std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine);

// What follows the program's name in a whole command line (as the system
// hands it over), without the blanks before it. The name ends at the first
// blank outside quotes; it has no escapes.
std::wstring_view ArgumentsOf(std::wstring_view commandLine);

enum class RunMode { Window, Usage, Export, Import, BadUsage };

struct Command {
  RunMode mode = RunMode::Window;
  std::wstring file;     // Export, Import
  std::wstring problem;  // BadUsage: what is wrong
};

// Arguments without any switch (one starting with '/' or '-') open the window,
// as they always did. Otherwise the first argument must be a known switch:
// /export FILE, /import FILE or /? (also -, -- and any case).
Command ParseCommandLine(std::wstring_view commandLine);

}  // namespace tavlin::app
