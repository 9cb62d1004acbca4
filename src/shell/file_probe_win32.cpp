#include "shell/file_probe_win32.h"

#include <windows.h>

#include <string>

#include "common/win32_handles.h"

namespace tavlin::shell {
namespace {

// Not in every SDK's headers: a placeholder whose data a cloud provider fetches
// when the file is opened or read.
constexpr DWORD kRecallOnOpen = 0x00040000;
constexpr DWORD kRecallOnDataAccess = 0x00400000;

FileFound FoundOfError(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_NOT_READY:  // a drive with no disk in it
    case ERROR_DIRECTORY:
      return FileFound::Missing;
    case ERROR_FILENAME_EXCED_RANGE:
      return FileFound::TooLong;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return FileFound::NoAccess;
    case ERROR_INVALID_FUNCTION:
    case ERROR_BAD_DEV_TYPE:       // Wine, for a Unix character device
    case ERROR_INVALID_PARAMETER:  // Wine, for a Unix FIFO
      return FileFound::NotAFile;
    default:
      return FileFound::Unreadable;
  }
}

// No "insert a disk" box for an empty drive while we look: the call fails instead.
class QuietDriveErrors {
 public:
  QuietDriveErrors() : old_(SetErrorMode(SEM_FAILCRITICALERRORS)) {
    SetErrorMode(old_ | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  }
  QuietDriveErrors(const QuietDriveErrors&) = delete;
  QuietDriveErrors& operator=(const QuietDriveErrors&) = delete;
  ~QuietDriveErrors() { SetErrorMode(old_); }

 private:
  UINT old_;
};

// A path that resolves onto another computer: a share, or a drive mapped to one.
// Only the text is resolved; nothing is opened.
bool OnTheNetwork(const std::wstring& path) {
  const DWORD need = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (need == 0) return false;
  std::wstring full(need, L'\0');
  const DWORD got = GetFullPathNameW(path.c_str(), need, full.data(), nullptr);
  if (got == 0 || got >= need) return false;
  full.resize(got);
  if (full.size() >= 2 && full[0] == L'\\' && full[1] == L'\\') return true;
  if (full.size() < 2 || full[1] != L':') return false;
  const wchar_t root[] = {full[0], L':', L'\\', L'\0'};
  return GetDriveTypeW(root) == DRIVE_REMOTE;
}

}  // namespace

FileProbe Win32FileProbe::Probe(std::wstring_view path, std::size_t headBytes) {
  const std::wstring p(path);
  if (OnTheNetwork(p)) return {FileFound::Network, 0, {}};
  const QuietDriveErrors quiet;
  // The attributes come without opening the file, so a device, a pipe or a
  // placeholder is known before anything could wait on it.
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(p.c_str(), GetFileExInfoStandard, &data))
    return {FoundOfError(GetLastError()), 0, {}};
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return {FileFound::Folder, 0, {}};
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) return {FileFound::NotAFile, 0, {}};
  if (data.dwFileAttributes & (FILE_ATTRIBUTE_OFFLINE | kRecallOnOpen | kRecallOnDataAccess))
    return {FileFound::Offline, 0, {}};

  const UniqueHandle file = OwnFile(CreateFileW(
      p.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_NO_RECALL, nullptr));
  if (!file) return {FoundOfError(GetLastError()), 0, {}};
  // It may have changed since the attributes were read: read only from a disk file.
  if (GetFileType(file.get()) != FILE_TYPE_DISK) return {FileFound::NotAFile, 0, {}};
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return {FileFound::Unreadable, 0, {}};

  FileProbe probe{FileFound::File, static_cast<std::uint64_t>(size.QuadPart), {}};
  probe.head.resize(headBytes);
  std::size_t got = 0;
  while (got < headBytes) {
    DWORD read = 0;
    if (!ReadFile(file.get(), probe.head.data() + got, static_cast<DWORD>(headBytes - got), &read,
                  nullptr) ||
        read == 0)
      break;
    got += read;
  }
  probe.head.resize(got);
  return probe;
}

}  // namespace tavlin::shell
