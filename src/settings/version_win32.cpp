#include "settings/version_win32.h"

#include <windows.h>

#include <string>
#include <vector>

#include "common/entry_points_win32.h"
#include "common/text_boundary_win32.h"
#include "common/win32_handles.h"

namespace tavlin::settings {

void Win32Version::ShellDllGetVersion(DllVersionRecord& record) {
  static_assert(sizeof(DllVersionRecord) == 20, "the shell's DLLVERSIONINFO layout");
  using DllGetVersionFn = HRESULT(CALLBACK*)(void*);
  const UniqueModule shlwapi(LoadSystemLibrary(L"shlwapi.dll"));
  const auto get = ProcAddress<DllGetVersionFn>(shlwapi.get(), "DllGetVersion");
  if (get) get(&record);  // a failure leaves the record as it was
}

ProgramVersion Win32Version::ProgramFileVersion() {
  ProgramVersion v;
  const std::wstring path = win::ModuleFileName(nullptr);
  if (path.empty()) return v;
  const std::vector<std::byte> block = win::FileVersionInfo(path);
  const VS_FIXEDFILEINFO* info = win::FixedFileInfo(block);
  if (!info) return v;
  v.major = HIWORD(info->dwFileVersionMS);
  v.minor = LOWORD(info->dwFileVersionMS);
  v.revision = LOWORD(info->dwFileVersionLS);
  return v;
}

}  // namespace tavlin::settings
