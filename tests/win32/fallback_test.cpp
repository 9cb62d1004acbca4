// What the program does on systems older than the one it runs on here. Wine
// has every entry point, so each test denies the look-up of the newer ones and
// checks that the older system's way still does the job.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/command_mode_win32.h"
#include "common/entry_points_win32.h"
#include "common/win32_handles.h"
#include "shell/modFolderBrowse_win32.h"
#include "shell/shell_api_win32.h"

namespace tavlin::testing {
namespace {

// While it lives, the named entry points cannot be looked up by name.
class DeniedLookups {
 public:
  explicit DeniedLookups(std::vector<std::string> names) {
    denied_ = std::move(names);
    previous_ = SetProcLookup(&Lookup);
  }
  DeniedLookups(const DeniedLookups&) = delete;
  DeniedLookups& operator=(const DeniedLookups&) = delete;
  ~DeniedLookups() {
    SetProcLookup(previous_);
    denied_.clear();
  }

 private:
  static FARPROC WINAPI Lookup(HMODULE module, LPCSTR name) {
    const bool byName = reinterpret_cast<ULONG_PTR>(name) > 0xFFFF;
    for (const std::string& d : denied_)
      if (byName && d == name) return nullptr;
    return GetProcAddress(module, name);
  }
  static inline std::vector<std::string> denied_;
  ProcLookup previous_;
};

std::wstring FolderOf(const std::wstring& path) {
  return path.substr(0, path.find_last_of(L'\\'));
}

// Before Vista there is no SHGetPathFromIDListEx, and the shell of 2000 has
// ILCreateFromPathW under its ordinal only: the folder browser still opens on
// the box's folder and hands back the folder picked.
const shell::ShellApi* g_api = nullptr;
PIDLIST_ABSOLUTE WINAPI PickWindowsFolder(LPBROWSEINFOW) {
  return g_api->itemListFromPath(L"C:\\windows");
}

TEST(OlderSystems, FolderBrowserWithoutTheVistaPathCall) {
  const DeniedLookups denied({"SHGetPathFromIDListEx", "ILCreateFromPathW"});
  const UniqueModule shell32(LoadLibraryW(L"shell32.dll"));
  shell::ShellApi api = shell::LinkedShellApi();
  api.longPathFromItemList = win::PathFromItemListExEntry(shell32.get());
  api.pathFromItemList = win::PathFromItemListEntry(shell32.get());
  api.itemListFromPath = win::ItemListFromPathEntry(shell32.get());
  ASSERT_FALSE(api.longPathFromItemList);
  ASSERT_TRUE(api.itemListFromPath) << "found by its ordinal";
  EXPECT_TRUE(shell::modFolderBrowse::PathToItemList(api, L"C:\\windows"));

  g_api = &api;
  api.browseForFolder = &PickWindowsFolder;
  EXPECT_EQ(shell::modFolderBrowse::BrowseForFolder(api, L"C:\\windows", L"Select Folder", nullptr),
            L"C:\\windows");
}

// Where the system does not know the flag that keeps a library search to the
// system folder, the library is loaded by its full path there.
TEST(OlderSystems, SystemLibrariesFromTheSystemFolderWithoutTheSearchFlag) {
  const DeniedLookups denied({"AddDllDirectory"});
  if (GetModuleHandleW(L"shdocvw.dll")) GTEST_SKIP() << "another test has loaded it already";
  // A planted library of that name beside the program is never taken for it.
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::wstring planted = FolderOf(self) + L"\\shdocvw.dll";
  {
    const UniqueHandle file =
        OwnFile(CreateFileW(planted.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    WriteFile(file.get(), "not a library", 13, &written, nullptr);
  }
  const UniqueModule plain(LoadLibraryW(L"shdocvw.dll"));
  const UniqueModule shdocvw(LoadSystemLibrary(L"shdocvw.dll"));
  DeleteFileW(planted.c_str());
  ASSERT_FALSE(plain) << "the planted file stands in the way of a plain load";
  ASSERT_TRUE(shdocvw);
  std::wstring loaded(MAX_PATH, L'\0'), system(MAX_PATH, L'\0');
  loaded.resize(GetModuleFileNameW(shdocvw.get(), loaded.data(), MAX_PATH));
  system.resize(GetSystemDirectoryW(system.data(), MAX_PATH));
  EXPECT_EQ(CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, FolderOf(loaded).c_str(), -1,
                           system.c_str(), -1),
            CSTR_EQUAL)
      << std::string(loaded.begin(), loaded.end());
}

// 2000 has no AttachConsole: the command-line mode writes to a redirected
// standard output as before, and ends with the same exit code.
TEST(OlderSystems, CommandLineModeWithoutAttachConsole) {
  const DeniedLookups denied({"AttachConsole"});
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  const std::wstring path = std::wstring(temp) + L"tavlin-usage.txt";
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  const UniqueHandle out = OwnFile(CreateFileW(path.c_str(), GENERIC_WRITE | GENERIC_READ, 0,
                                               &inherit, CREATE_ALWAYS, 0, nullptr));
  ASSERT_TRUE(out);
  const HANDLE oldOut = GetStdHandle(STD_OUTPUT_HANDLE);
  SetStdHandle(STD_OUTPUT_HANDLE, out.get());
  const int code = app::RunCommandMode(app::ParseCommandLine(L"/?"));
  // Started with neither redirection nor a console: nothing to write to.
  SetStdHandle(STD_OUTPUT_HANDLE, nullptr);
  const int codeUnseen = app::RunCommandMode(app::ParseCommandLine(L"/?"));
  SetStdHandle(STD_OUTPUT_HANDLE, oldOut);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(codeUnseen, 0);

  std::string written(4096, '\0');
  DWORD got = 0;
  SetFilePointer(out.get(), 0, nullptr, FILE_BEGIN);
  ReadFile(out.get(), written.data(), static_cast<DWORD>(written.size()), &got, nullptr);
  written.resize(got);
  EXPECT_NE(written.find("/export"), std::string::npos) << written;
}

}  // namespace
}  // namespace tavlin::testing
