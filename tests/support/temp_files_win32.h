// Files a Windows test writes for the program to read: a folder of the test's
// own under the temp folder, and a file of given bytes in it.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "common/win32_handles.h"

namespace tavlin::testing {

// %TEMP%\name, made if it is not there yet.
inline std::wstring TestFolder(const std::wstring& name) {
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  const std::wstring folder = std::wstring(temp) + name;
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

// Writes `bytes` to `path` in place of what was there; the path.
inline std::wstring WriteBytes(const std::wstring& path, const std::vector<std::byte>& bytes) {
  const UniqueHandle file = OwnFile(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  return path;
}

}  // namespace tavlin::testing
