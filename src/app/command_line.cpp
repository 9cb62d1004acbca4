#include "app/command_line.h"

#include <algorithm>

#include "common/text.h"

namespace tavlin::app {
namespace {

bool IsBlank(wchar_t c) {
  return c == L' ' || c == L'\t';
}

bool IsSwitch(std::wstring_view arg) {
  return !arg.empty() && (arg.front() == L'/' || arg.front() == L'-');
}

}  // namespace

std::vector<std::wstring> SplitCommandLine(std::wstring_view s) {
  std::vector<std::wstring> args;
  std::size_t i = 0;
  for (;;) {
    while (i < s.size() && IsBlank(s[i])) ++i;
    if (i == s.size()) break;
    std::wstring arg;
    bool quoted = false;
    while (i < s.size() && (quoted || !IsBlank(s[i]))) {
      std::size_t slashes = 0;
      while (i < s.size() && s[i] == L'\\') ++slashes, ++i;
      if (i < s.size() && s[i] == L'"') {
        arg.append(slashes / 2, L'\\');
        if (slashes % 2 == 1) {
          arg.push_back(L'"');
        } else if (quoted && i + 1 < s.size() && s[i + 1] == L'"') {
          arg.push_back(L'"');
          ++i;
        } else {
          quoted = !quoted;
        }
        ++i;
      } else {
        arg.append(slashes, L'\\');
        if (i < s.size() && (quoted || !IsBlank(s[i]))) arg.push_back(s[i++]);
      }
    }
    args.push_back(std::move(arg));
  }
  return args;
}

std::wstring_view ArgumentsOf(std::wstring_view commandLine) {
  std::size_t i = 0;
  for (bool quoted = false; i < commandLine.size(); ++i) {
    if (commandLine[i] == L'"')
      quoted = !quoted;
    else if (!quoted && IsBlank(commandLine[i]))
      break;
  }
  while (i < commandLine.size() && IsBlank(commandLine[i])) ++i;
  return commandLine.substr(i);
}

Command ParseCommandLine(std::wstring_view commandLine) {
  const std::vector<std::wstring> args = SplitCommandLine(commandLine);
  if (std::none_of(args.begin(), args.end(), [](const std::wstring& a) { return IsSwitch(a); }))
    return {};
  const auto bad = [](std::wstring problem) {
    return Command{RunMode::BadUsage, {}, std::move(problem)};
  };
  std::wstring_view sw = args[0];
  if (!IsSwitch(sw))
    return bad(L"the switch must come first: \"" + args[0] + L"\" comes before it");
  sw.remove_prefix(sw.starts_with(L"--") ? 2 : 1);
  if (sw == L"?" || EqualsIgnoringAsciiCase(sw, L"help") || EqualsIgnoringAsciiCase(sw, L"h")) {
    if (args.size() > 1) return bad(L"/? takes nothing after it");
    return {RunMode::Usage, {}, {}};
  }
  const bool isExport = EqualsIgnoringAsciiCase(sw, L"export");
  if (isExport || EqualsIgnoringAsciiCase(sw, L"import")) {
    const std::wstring name = isExport ? L"/export" : L"/import";
    if (args.size() < 2 || args[1].empty())
      return bad(name + L" needs a file name (.reg, .xml or .pol)");
    if (args.size() > 2)
      return bad(name + L" takes one file name; put a name with spaces in quotes");
    return {isExport ? RunMode::Export : RunMode::Import, args[1], {}};
  }
  return bad(L"unknown switch \"" + args[0] + L"\"");
}

}  // namespace tavlin::app
