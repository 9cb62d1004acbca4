#include "shell/modMain_win32.h"

#include "shell/modMain.h"

namespace tavlin::shell::modMain {

std::wstring GetSpecialFolder(const ShellApi& api, HWND owner, int csidl) {
  if (!api.folderPath) return {};
  std::wstring buffer(kSpecialFolderChars, L' ');
  const HRESULT result = api.folderPath(owner, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer.data());
  return SpecialFolderText(result, buffer);
}

}  // namespace tavlin::shell::modMain
