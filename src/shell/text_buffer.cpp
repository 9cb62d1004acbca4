#include "shell/text_buffer.h"

namespace tavlin::shell {

std::optional<std::wstring> TerminatedText(std::wstring_view buffer) {
  const auto end = buffer.find(L'\0');
  if (end == std::wstring_view::npos) return std::nullopt;
  return std::wstring(buffer.substr(0, end));
}

}  // namespace tavlin::shell
