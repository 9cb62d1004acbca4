#include "settings/version_win32.h"

#include <windows.h>

#include <string>
#include <vector>

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
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return v;
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) return v;
  std::vector<std::byte> block(size);
  if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return v;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT len = 0;
  if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &len) || !info ||
      len < sizeof(VS_FIXEDFILEINFO))
    return v;
  v.major = HIWORD(info->dwFileVersionMS);
  v.minor = LOWORD(info->dwFileVersionMS);
  v.revision = LOWORD(info->dwFileVersionLS);
  return v;
}

}  // namespace tavlin::settings
