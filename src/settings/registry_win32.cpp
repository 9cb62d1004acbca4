#include "settings/registry_win32.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "common/text_boundary_win32.h"

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
  const REGSAM sam = access == Access::Read ? KEY_QUERY_VALUE : KEY_SET_VALUE;
  const LONG rc = win::OpenKey(RootKey(hive), path, sam, opened);
  key = rc == ERROR_SUCCESS ? reinterpret_cast<KeyRef>(opened) : 0;
  return rc;
}

long Win32Registry::Create(Hive hive, std::wstring_view path, KeyRef& key) {
  HKEY opened = nullptr;
  const LONG rc = win::CreateKey(RootKey(hive), path, KEY_SET_VALUE, opened);
  key = rc == ERROR_SUCCESS ? reinterpret_cast<KeyRef>(opened) : 0;
  return rc;
}

long Win32Registry::Query(KeyRef key, std::wstring_view name, std::uint32_t& type,
                          std::span<std::byte> data, std::uint32_t& size) {
  DWORD t = 0;
  DWORD s = data.empty() ? 0 : static_cast<DWORD>(std::min<std::size_t>(size, data.size()));
  const LONG rc = win::QueryValue(
      AsKey(key), name, &t, data.empty() ? nullptr : reinterpret_cast<BYTE*>(data.data()), &s);
  if (rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA) {
    type = t;
    size = s;
  }
  return rc;
}

long Win32Registry::Set(KeyRef key, std::wstring_view name, std::uint32_t type,
                        std::span<const std::byte> data) {
  // RegSetValueExW adds a terminator to a string value whose last character is
  // not NUL when the character just past the data is; two non-zero guard bytes
  // after a copy of the data keep the stored bytes exactly as given.
  std::basic_string<std::byte> guarded(data.begin(), data.end());
  guarded.append(2, std::byte{'!'});
  return win::SetValue(AsKey(key), name, type, reinterpret_cast<const BYTE*>(guarded.data()),
                       static_cast<DWORD>(data.size()));
}

bool Win32Registry::HoldsText(std::wstring_view text) {
  // The rule a store of it as a string meets.
  return win::TextValueRefusal(REG_SZ, text) == ERROR_SUCCESS;
}

long Win32Registry::Delete(KeyRef key, std::wstring_view name) {
  return win::DeleteValue(AsKey(key), name);
}

void Win32Registry::Close(KeyRef key) {
  RegCloseKey(AsKey(key));
}

}  // namespace tavlin::settings
