#include "app/command_mode_win32.h"

#include <windows.h>

#include <climits>
#include <string>

#include "app/command_mode.h"
#include "common/win32_handles.h"
#include "settings/registry_win32.h"
#include "settings/version_win32.h"

namespace tavlin::app {
namespace {

// A settings file is a few kilobytes; a whole exported hive is some megabytes.
constexpr LONGLONG kMaxFileBytes = 64LL * 1024 * 1024;

class Win32Files : public FilePort {
 public:
  long Read(std::wstring_view path, modReg_Func::Bytes& bytes) override {
    const std::wstring p(path);
    UniqueHandle file(FileHandle(CreateFileW(p.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
    if (!file) return static_cast<long>(GetLastError());
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) return static_cast<long>(GetLastError());
    if (size.QuadPart > kMaxFileBytes) return ERROR_FILE_TOO_LARGE;
    bytes.assign(static_cast<std::size_t>(size.QuadPart), std::byte{0});
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
      UniqueHandle file(FileHandle(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr,
                                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)));
      if (!file) return static_cast<long>(GetLastError());
      DWORD wrote = 0;
      if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr) ||
          wrote != bytes.size())
        rc = static_cast<long>(GetLastError() ? GetLastError() : ERROR_WRITE_FAULT);
    }
    if (rc == ERROR_SUCCESS && !MoveFileExW(temp.c_str(), target.c_str(),
                                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      rc = static_cast<long>(GetLastError());
    if (rc != ERROR_SUCCESS) DeleteFileW(temp.c_str());
    return rc;
  }

  std::wstring DecodeAnsi(std::string_view bytes) override {
    if (bytes.empty() || bytes.size() > INT_MAX) return {};
    const int n =
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0)
      MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), n);
    return text;
  }

  std::wstring ErrorText(long code) override {
    std::wstring text(1024, L'\0');
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, static_cast<DWORD>(code), 0, text.data(),
                                   static_cast<DWORD>(text.size()), nullptr);
    text.resize(n);
    return text;
  }
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
      using AttachFn = BOOL(WINAPI*)(DWORD);
      const auto attach = ProcAddress<AttachFn>(GetModuleHandleW(L"kernel32.dll"), "AttachConsole");
      constexpr DWORD kParentProcess = static_cast<DWORD>(-1);  // ATTACH_PARENT_PROCESS
      if (attach && attach(kParentProcess))
        console_.reset(FileHandle(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                              OPEN_EXISTING, 0, nullptr)));
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
      WriteConsoleW(h, text.data(), static_cast<DWORD>(text.size()), &done, nullptr);
      return;
    }
    // A file or a pipe: UTF-8, which every reader of redirected output understands.
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    if (n <= 0) return;
    std::string utf8(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), n,
                        nullptr, nullptr);
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
  return RunCommand(command, {registry, version, files, console});
}

}  // namespace tavlin::app
