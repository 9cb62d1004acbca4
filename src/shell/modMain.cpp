#include "shell/modMain.h"

#include "shell/text_buffer.h"

namespace tavlin::shell::modMain {

namespace {
constexpr int kShowNormal = 1;  // SW_SHOWNORMAL
}

ShellRequest InternetOptionsRequest() {
  return ShellRequest{Owner::Desktop, L"Open", L"Control", L"inetcpl.cpl", L"C:\\", kShowNormal};
}

ShellRequest SearchRequest() {
  return ShellRequest{Owner::Desktop, L"find", L"\\", std::nullopt, std::nullopt, kShowNormal};
}

ShellRequest OpenRequest(std::wstring_view target) {
  // An empty parameter text, not a null one.
  return ShellRequest{Owner::MainWindow, L"open",      std::wstring(target),
                      std::wstring(),    std::nullopt, kShowNormal};
}

std::wstring SpecialFolderText(std::int32_t result, std::wstring_view buffer) {
  if (result != 0) return {};
  return TerminatedText(buffer).value_or(std::wstring());
}

std::optional<std::wstring> FavouritesFolder(std::wstring_view lookedUp) {
  if (lookedUp.empty()) return std::nullopt;
  return std::wstring(lookedUp);
}

}  // namespace tavlin::shell::modMain
