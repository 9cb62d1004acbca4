#include "shell/modFolderBrowse_win32.h"

#include "shell/modFolderBrowse.h"
#include "shell/shell_port.h"

namespace tavlin::shell::modFolderBrowse {

std::optional<std::wstring> BrowseForFolder(const ShellApi& api, std::wstring_view sPath,
                                            std::wstring_view sTitle, HWND hwndOwner) {
  if (!api.browseForFolder) return std::nullopt;
  const ItemList start = PathToItemList(api, sPath);
  const std::wstring title(sTitle);
  BrowseRequestData data{&api, start.get()};

  BROWSEINFOW request{};
  request.hwndOwner = hwndOwner;
  request.pidlRoot = nullptr;        // the tree starts at the desktop
  request.pszDisplayName = nullptr;  // the display name is not wanted
  request.lpszTitle = title.c_str();
  request.ulFlags = 0;  // any item may be chosen, including ones with no path
  request.lpfn = &BrowseCallbackProc;
  request.lParam = reinterpret_cast<LPARAM>(&data);

  const ItemList chosen(api.browseForFolder(&request), api.freeItemList);
  if (!chosen) return std::nullopt;
  if (api.longPathFromItemList) {
    std::wstring path(kLongPathChars, L'\0');
    constexpr int kDefaultForm = 0;  // GPFIDL_DEFAULT
    if (!api.longPathFromItemList(chosen.get(), path.data(), static_cast<DWORD>(path.size()),
                                  kDefaultForm))
      return std::nullopt;
    return FolderPathFromBuffer(path);
  }
  // Before Vista: the path of a folder the browser can show fits MAX_PATH.
  if (!api.pathFromItemList) return std::nullopt;
  std::wstring path(MAX_PATH, L'\0');
  if (!api.pathFromItemList(chosen.get(), path.data())) return std::nullopt;
  return FolderPathFromBuffer(path);
}

int CALLBACK BrowseCallbackProc(HWND hwnd, UINT uMsg, LPARAM /*lParam*/, LPARAM lpData) {
  const auto* data = reinterpret_cast<const BrowseRequestData*>(lpData);
  if (uMsg == BFFM_INITIALIZED && data && data->api->sendToBrowser) {
    // wParam FALSE: lParam is an item identifier list, not a path.
    data->api->sendToBrowser(hwnd, BFFM_SETSELECTIONW, FALSE,
                             reinterpret_cast<LPARAM>(data->start));
  }
  return 0;
}

ItemList PathToItemList(const ShellApi& api, std::wstring_view sPath) {
  if (!api.itemListFromPath) return {};
  return ItemList(api.itemListFromPath(std::wstring(sPath).c_str()), api.freeItemList);
}

}  // namespace tavlin::shell::modFolderBrowse
