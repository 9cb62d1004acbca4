#include "shell/shell_api_win32.h"

#include <objbase.h>

namespace tavlin::shell {

ShellApi LinkedShellApi() {
  ShellApi api;
  api.desktopWindow = &::GetDesktopWindow;
  api.sendToBrowser = &win::SendToFolderBrowser;
  api.freeItemList = &::CoTaskMemFree;
  return api;
}

}  // namespace tavlin::shell
