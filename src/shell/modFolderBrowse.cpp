#include "shell/modFolderBrowse.h"

#include "shell/text_buffer.h"

namespace tavlin::shell::modFolderBrowse {

std::optional<Ctl> FolderBoxOf(short Index) {
  switch (Index) {
    case 0:
      return Ctl::txtDownload;
    case 1:
      return Ctl::txtSaveDir;
    default:
      return std::nullopt;
  }
}

std::wstring StripBackslash(std::wstring_view sPath) {
  if (!sPath.empty() && sPath.back() == L'\\') sPath.remove_suffix(1);
  return std::wstring(sPath);
}

std::optional<std::wstring> FolderPathFromBuffer(std::wstring_view buffer) {
  auto path = TerminatedText(buffer);
  if (!path || path->empty()) return std::nullopt;
  return path;
}

}  // namespace tavlin::shell::modFolderBrowse
