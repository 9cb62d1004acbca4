#include "settings/registry_win32.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace tavlin::settings {
namespace {

// Predefined root keys are sign-extended 32-bit values (HKEY_CURRENT_USER is
// 0xFFFFFFFF80000001 in a 64-bit process).
HKEY RootKey(Hive hive) {
  return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(hive)));
}
HKEY AsKey(KeyRef key) {
  return reinterpret_cast<HKEY>(key);
}

}  // namespace

long Win32Registry::Open(Hive hive, std::wstring_view path, Access access, KeyRef& key) {
  HKEY opened = nullptr;
  const std::wstring p(path);
  const REGSAM sam = access == Access::Read ? KEY_QUERY_VALUE : KEY_SET_VALUE;
  const LONG rc = RegOpenKeyExW(RootKey(hive), p.c_str(), 0, sam, &opened);
  key = rc == ERROR_SUCCESS ? reinterpret_cast<KeyRef>(opened) : 0;
  return rc;
}

long Win32Registry::Create(Hive hive, std::wstring_view path, KeyRef& key) {
  HKEY opened = nullptr;
  const std::wstring p(path);
  const LONG rc = RegCreateKeyExW(RootKey(hive), p.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  KEY_SET_VALUE, nullptr, &opened, nullptr);
  key = rc == ERROR_SUCCESS ? reinterpret_cast<KeyRef>(opened) : 0;
  return rc;
}

long Win32Registry::Query(KeyRef key, std::wstring_view name, std::uint32_t& type,
                          std::span<std::byte> data, std::uint32_t& size) {
  const std::wstring n(name);
  DWORD t = 0;
  DWORD s = data.empty() ? 0 : static_cast<DWORD>(std::min<std::size_t>(size, data.size()));
  const LONG rc =
      RegQueryValueExW(AsKey(key), n.c_str(), nullptr, &t,
                       data.empty() ? nullptr : reinterpret_cast<BYTE*>(data.data()), &s);
  if (rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA) {
    type = t;
    size = s;
  }
  return rc;
}

long Win32Registry::Set(KeyRef key, std::wstring_view name, std::uint32_t type,
                        std::span<const std::byte> data) {
  const std::wstring n(name);
  // RegSetValueExW adds a terminator to a string value whose last character is
  // not NUL when the character just past the data is; two non-zero guard bytes
  // after a copy of the data keep the stored bytes exactly as given.
  std::basic_string<std::byte> guarded(data.begin(), data.end());
  guarded.append(2, std::byte{'!'});
  return RegSetValueExW(AsKey(key), n.c_str(), 0, type,
                        reinterpret_cast<const BYTE*>(guarded.data()),
                        static_cast<DWORD>(data.size()));
}

long Win32Registry::Delete(KeyRef key, std::wstring_view name) {
  const std::wstring n(name);
  return RegDeleteValueW(AsKey(key), n.c_str());
}

void Win32Registry::Close(KeyRef key) {
  RegCloseKey(AsKey(key));
}

}  // namespace tavlin::settings
