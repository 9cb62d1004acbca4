#include "app/command_mode_win32.h"

#include <windows.h>

#include <string>

#include "app/command_mode.h"
#include "common/entry_points_win32.h"
#include "common/text_boundary_win32.h"
#include "common/win32_handles.h"
#include "settings/registry_win32.h"
#include "settings/stamp_win32.h"
#include "settings/version_win32.h"

namespace tavlin::app {
namespace {

// A settings file is a few kilobytes; a whole exported hive is some megabytes.
constexpr LONGLONG kMaxFileBytes = 64LL * 1024 * 1024;

class Win32Files : public FilePort {
 public:
  long Read(std::wstring_view path, modReg_Func::Bytes& bytes) override {
    const UniqueHandle file = OwnFile(win::OpenFileHandle(path, GENERIC_READ, FILE_SHARE_READ,
                                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL));
    if (!file) return static_cast<long>(GetLastError());
    DWORD high = 0;
    const DWORD low = GetFileSize(file.get(), &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
      return static_cast<long>(GetLastError());
    const LONGLONG size = (static_cast<LONGLONG>(high) << 32) | low;
    if (size > kMaxFileBytes) return ERROR_FILE_TOO_LARGE;
    bytes.assign(static_cast<std::size_t>(size), std::byte{0});
    std::size_t done = 0;
    while (done < bytes.size()) {
      DWORD got = 0;
      if (!ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got,
                    nullptr))
        return static_cast<long>(GetLastError());
      if (got == 0) break;  // the file shrank while being read
      done += got;
    }
    bytes.resize(done);
    return ERROR_SUCCESS;
  }

  long Write(std::wstring_view path, std::span<const std::byte> bytes) override {
    // Written beside the target first and then moved over it, so an earlier
    // export is never left half overwritten.
    const std::wstring target(path);
    const std::wstring temp = target + L".tavlin-new";
    long rc = ERROR_SUCCESS;
    {
      const UniqueHandle file = OwnFile(
          win::OpenFileHandle(temp, GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL));
      if (!file) return static_cast<long>(GetLastError());
      DWORD wrote = 0;
      if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr) ||
          wrote != bytes.size())
        rc = static_cast<long>(GetLastError() ? GetLastError() : ERROR_WRITE_FAULT);
    }
    if (rc == ERROR_SUCCESS && !win::MoveFileReplacing(temp, target))
      rc = static_cast<long>(GetLastError());
    if (rc != ERROR_SUCCESS) win::RemoveFile(temp);
    return rc;
  }

  std::wstring DecodeAnsi(std::string_view bytes) override { return win::Widen(bytes); }

  std::wstring ErrorText(long code) override { return win::ErrorText(static_cast<DWORD>(code)); }
};

class Win32Console : public ConsolePort {
 public:
  void Out(std::wstring_view line) override { Write(STD_OUTPUT_HANDLE, line); }
  void Err(std::wstring_view line) override { Write(STD_ERROR_HANDLE, line); }

 private:
  // A window program has no console of its own: with no standard handle to
  // write to, it borrows the console of the process that started it, if any.
  HANDLE Target(DWORD which) {
    const HANDLE std = GetStdHandle(which);
    if (std && std != INVALID_HANDLE_VALUE) return std;
    if (!triedConsole_) {
      triedConsole_ = true;
      // XP and later; on 2000 the output reaches only a redirected handle.
      const auto attach = win::Newer().AttachConsole;
      constexpr DWORD kParentProcess = static_cast<DWORD>(-1);  // ATTACH_PARENT_PROCESS
      if (attach && attach(kParentProcess))
        console_ =
            OwnFile(win::OpenFileHandle(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, 0));
    }
    return console_.get();
  }

  void Write(DWORD which, std::wstring_view line) {
    const HANDLE h = Target(which);
    if (!h) return;  // started without a console or redirection: the exit code still tells
    std::wstring text(line);
    text += L"\r\n";
    DWORD mode = 0;
    DWORD done = 0;
    if (GetConsoleMode(h, &mode)) {
      win::WriteToConsole(h, text);
      return;
    }
    // A file or a pipe: UTF-8, which every reader of redirected output understands.
    const std::string utf8 = win::Narrow(text, CP_UTF8);
    WriteFile(h, utf8.data(), static_cast<DWORD>(utf8.size()), &done, nullptr);
  }

  bool triedConsole_ = false;
  UniqueHandle console_;
};

}  // namespace

int RunCommandMode(const Command& command) {
  settings::Win32Registry registry;
  settings::Win32Version version;
  Win32Files files;
  Win32Console console;
  settings::Win32Clock clock;
  settings::Win32Guids guids;
  return RunCommand(command, {registry, version, files, console, clock, guids});
}

}  // namespace tavlin::app
