#include "shell/file_probe_win32.h"

#include <windows.h>

#include <string>

#include "common/text_boundary_win32.h"
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
bool OnTheNetwork(std::wstring_view path) {
  const std::wstring full = win::FullPath(path);
  if (full.size() >= 2 && full[0] == L'\\' && full[1] == L'\\') return true;
  if (full.size() < 2 || full[1] != L':') return false;
  const wchar_t root[] = {full[0], L':', L'\\', L'\0'};
  return win::DriveType(root) == DRIVE_REMOTE;
}

}  // namespace

FileProbe Win32FileProbe::Probe(std::wstring_view path, std::size_t headBytes) {
  if (OnTheNetwork(path)) return {FileFound::Network, 0, {}};
  const QuietDriveErrors quiet;
  // The attributes come without opening the file, so a device, a pipe or a
  // placeholder is known before anything could wait on it.
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!win::FileAttributes(path, data)) return {FoundOfError(GetLastError()), 0, {}};
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return {FileFound::Folder, 0, {}};
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) return {FileFound::NotAFile, 0, {}};
  if (data.dwFileAttributes & (FILE_ATTRIBUTE_OFFLINE | kRecallOnOpen | kRecallOnDataAccess))
    return {FileFound::Offline, 0, {}};

  const UniqueHandle file = OwnFile(win::OpenFileHandle(
      path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING,
      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_NO_RECALL));
  if (!file) return {FoundOfError(GetLastError()), 0, {}};
  // It may have changed since the attributes were read: read only from a disk file.
  if (GetFileType(file.get()) != FILE_TYPE_DISK) return {FileFound::NotAFile, 0, {}};
  DWORD high = 0;
  const DWORD low = GetFileSize(file.get(), &high);
  if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return {FileFound::Unreadable, 0, {}};

  FileProbe probe{FileFound::File, (std::uint64_t{high} << 32) | low, {}};
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
