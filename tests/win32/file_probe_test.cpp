// The file probe on the real file system under Wine: what it finds at each
// kind of path, that it reads only the first bytes, and that devices, pipes
// and a file another program holds give an answer at once instead of a wait.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "common/entry_points_win32.h"
#include "common/win32_handles.h"
#include "shell/bitmap_header.h"
#include "shell/file_probe_win32.h"
#include "support/bitmap_bytes.h"
#include "support/driver_win32.h"
#include "support/temp_files_win32.h"

namespace tavlin::testing {
namespace {

using shell::FileFound;

bool OnWine() {
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// Starts a program of the Unix side (Wine starts those too). Wine neither waits
// for one nor gives its exit code: the caller looks for what it did.
void RunUnix(std::wstring commandLine) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &si, &pi)) {
    ADD_FAILURE() << "cannot start it: error " << GetLastError();
    return;
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
}

bool Listed(const std::wstring& path) {
  WIN32_FIND_DATAW found{};
  const HANDLE find = FindFirstFileW(path.c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return false;
  FindClose(find);
  return true;
}

TEST(FileProbe, AFileGivesItsSizeAndOnlyItsFirstBytes) {
  const std::wstring folder = TestFolder(L"tavlin-probe");
  const auto bitmap = BitmapBytes({.width = 38, .height = 380});
  WriteBytes(folder + L"\\big.bmp", bitmap);
  WriteBytes(folder + L"\\tiny.bin", {std::byte{'B'}, std::byte{'M'}, std::byte{7}});
  WriteBytes(folder + L"\\empty.bmp", {});
  shell::Win32FileProbe files;

  auto probe = files.Probe(folder + L"\\big.bmp", shell::kBitmapHeadBytes);
  EXPECT_EQ(probe.found, FileFound::File);
  EXPECT_EQ(probe.size, bitmap.size());
  ASSERT_EQ(probe.head.size(), shell::kBitmapHeadBytes);
  EXPECT_TRUE(std::equal(probe.head.begin(), probe.head.end(), bitmap.begin()));

  probe = files.Probe(folder + L"\\tiny.bin", shell::kBitmapHeadBytes);
  EXPECT_EQ(probe.found, FileFound::File);
  EXPECT_EQ(probe.size, 3u);
  EXPECT_EQ(probe.head.size(), 3u);
  probe = files.Probe(folder + L"\\empty.bmp", shell::kBitmapHeadBytes);
  EXPECT_EQ(probe.found, FileFound::File);
  EXPECT_EQ(probe.size, 0u);
  EXPECT_TRUE(probe.head.empty());
}

TEST(FileProbe, MissingFoldersLongPathsAndHeldFilesEachSaySo) {
  const std::wstring folder = TestFolder(L"tavlin-probe");
  shell::Win32FileProbe files;
  const struct {
    std::wstring path;
    FileFound found;
  } cases[] = {
      {folder + L"\\nothing.bmp", FileFound::Missing},
      {folder + L"\\no\\such\\folder\\x.bmp", FileFound::Missing},
      {folder, FileFound::Folder},
      {folder + L"\\", FileFound::Folder},
      {L"C:\\", FileFound::Folder},
      {L"C:\\a*b?.bmp", FileFound::Missing},
  };
  for (const auto& c : cases)
    EXPECT_EQ(files.Probe(c.path, 54).found, c.found) << std::string(c.path.begin(), c.path.end());

  // The longest path the platform can spell: refused at once, one way or the other.
  const std::wstring longest = L"C:\\" + std::wstring(32767 - 3, L'a');
  const FileFound found = files.Probe(longest, 54).found;
  EXPECT_TRUE(found == FileFound::TooLong || found == FileFound::Missing) << int(found);

  // A file another program has open with no sharing cannot be read.
  const std::wstring held = folder + L"\\held.bmp";
  WriteBytes(held, BitmapBytes({}));
  const UniqueHandle holder =
      OwnFile(CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(holder);
  EXPECT_EQ(files.Probe(held, 54).found, FileFound::NoAccess);
}

TEST(FileProbe, DevicesAndPipesAnswerAtOnceWithoutBeingRead) {
  shell::Win32FileProbe files;
  std::vector<std::wstring> paths = {L"NUL", L"CON", L"COM1"};
  if (OnWine()) {
    // Unix devices and a FIFO with no writer: reading one would never end or
    // never start.
    paths.push_back(L"Z:\\dev\\zero");
    paths.push_back(L"Z:\\dev\\null");
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    char unixTemp[MAX_PATH * 3] = {};
    // The prefix's temp folder as the Unix side names it, for mkfifo.
    using ToUnix = char*(CDECL*)(const wchar_t*);
    const auto toUnix =
        ProcAddress<ToUnix>(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name");
    if (char* unix = toUnix ? toUnix(temp) : nullptr) {
      snprintf(unixTemp, sizeof unixTemp, "%s", unix);
      HeapFree(GetProcessHeap(), 0, unix);
      const std::string fifo = std::string(unixTemp) + "tavlin-probe-fifo";
      const std::wstring unixFifo(fifo.begin(), fifo.end());
      const std::wstring windowsFifo = std::wstring(temp) + L"tavlin-probe-fifo";
      if (!Listed(windowsFifo)) RunUnix(L"/usr/bin/mkfifo " + unixFifo);
      ASSERT_TRUE(WaitFor([&] { return Listed(windowsFifo); }, 5000)) << fifo;
      paths.push_back(windowsFifo);
    }
  }
  for (const std::wstring& path : paths) {
    const ULONGLONG start = GetTickCount64();
    const auto probe = files.Probe(path, 54);
    EXPECT_LT(GetTickCount64() - start, 2000u) << std::string(path.begin(), path.end());
    EXPECT_NE(probe.found, FileFound::File) << std::string(path.begin(), path.end());
    EXPECT_TRUE(probe.head.empty());
  }
}

}  // namespace
}  // namespace tavlin::testing
