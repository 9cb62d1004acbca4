// Reading the text that a platform call left in a fixed buffer.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavlin::shell {

// The buffer's text before its first NUL; none when the buffer holds no NUL at
// all (the call overran it, so its text cannot be trusted whole).
std::optional<std::wstring> TerminatedText(std::wstring_view buffer);

}  // namespace tavlin::shell
