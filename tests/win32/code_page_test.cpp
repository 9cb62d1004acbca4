// The program as Windows 95, 98 and ME run it: every text through the 8-bit
// ("A") entry points and the system code page. Wine implements those as the
// NT family does; the text boundary is told to answer as 98 would, and each
// test checks that no wide-character entry point was called or looked up.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/command_mode_win32.h"
#include "app/frmMain.h"
#include "app/window_win32.h"
#include "common/text_boundary_win32.h"
#include "common/entry_points_win32.h"
#include "common/win32_handles.h"
#include "settings/catalogue.h"
#include "settings/registry_win32.h"
#include "shell/modFolderBrowse_win32.h"
#include "shell/modMain_win32.h"
#include "shell/picture_load_win32.h"
#include "support/bitmap_bytes.h"
#include "support/driver_win32.h"
#include "support/fakes.h"
#include "support/temp_files_win32.h"
#include "tooltip/tooltip_win32.h"

namespace tavlin::testing {
namespace {

class OnWindows98 : public ::testing::Test {
 protected:
  void SetUp() override {
    if (GetACP() != 1252) GTEST_SKIP() << "texts chosen for code page 1252";
    win::AnswerAsNt(false);
    looked_.clear();
    previous_ = SetProcLookup(&Recorded);
    installed_ = true;
  }
  void TearDown() override {
    if (!installed_) return;
    SetProcLookup(previous_);
    win::AnswerAsNt(std::nullopt);
  }
  // Not looked up, so never called: a W entry point of the 95 family is a
  // stub. (The text boundary looks its W table up whole on the first call
  // after the look-up changes, as it has in SetUp.)
  void ExpectNoWideEntryPointReached() {
    for (const std::string& name : looked_) EXPECT_NE(name.back(), 'W') << name;
  }

 private:
  static FARPROC WINAPI Recorded(HMODULE module, LPCSTR name) {
    if (!IS_INTRESOURCE(name)) looked_.push_back(name);
    return GetProcAddress(module, name);
  }
  static inline std::vector<std::string> looked_;
  ProcLookup previous_ = nullptr;
  bool installed_ = false;
};

const std::wstring kMain(settings::kMainKey);

TEST_F(OnWindows98, WindowTipsAndRegistryKeepTextOfTheCodePage) {
  RegPutRaw(kMain, L"Window Title", REG_SZ, Utf16Bytes(L"Grüße aus Köln", true));
  {
    app::MainWindow window{GetModuleHandleA(nullptr)};
    ASSERT_TRUE(window.Create());
    settings::Win32Registry reg;
    FakeVersion version;
    RecordingShell shell;
    FakeFiles files;
    tooltip::Win32Tooltips tips{window.hwnd(), [&](Ctl c) { return window.Control(c); }};
    app::frmMain form{{window, reg, version, tips, shell, files}};
    form.Form_Load();
    form.Form_Shown();
    EXPECT_FALSE(IsWindowUnicode(window.hwnd())) << "a window of the 8-bit kind";
    EXPECT_EQ(window.GetText(Ctl::txtWinTitle), L"Grüße aus Köln");
    EXPECT_EQ(win::WindowText(window.Control(Ctl::cmbGo_0)), L"Apply");

    window.SetText(Ctl::txtWinTitle, L"Grüße zurück – §5");
    form.Click(Ctl::cmbGo_0);  // Apply
    DestroyWindow(window.hwnd());
    MSG quit;
    PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  }
  EXPECT_EQ(RegGetRaw(kMain, L"Window Title")->data, Utf16Bytes(L"Grüße zurück – §5", true));

  // A text the code page cannot spell is refused, not stored with '?' in its place.
  settings::Win32Registry reg;
  EXPECT_TRUE(reg.HoldsText(L"Grüße"));
  EXPECT_FALSE(reg.HoldsText(L"日本"));
  settings::KeyRef key = 0;
  ASSERT_EQ(reg.Open(settings::kHkeyCurrentUser, kMain, settings::Access::Write, key), 0);
  EXPECT_EQ(reg.Set(key, L"Window Title", REG_SZ, Utf16Bytes(L"日本", true)),
            settings::kErrorNoUnicodeTranslation);
  reg.Close(key);
  EXPECT_EQ(RegGetRaw(kMain, L"Window Title")->data, Utf16Bytes(L"Grüße zurück – §5", true));
  ExpectNoWideEntryPointReached();
}

TEST_F(OnWindows98, FilesShellAndCommandLineModeTakeTheCodePage) {
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  const std::wstring file = std::wstring(temp) + L"Grüße export.reg";
  DeleteFileW(file.c_str());
  // Twice: the second export replaces the first, which the 95 family does in steps.
  for (int i = 0; i < 2; ++i)
    EXPECT_EQ(app::RunCommandMode(app::ParseCommandLine(L"/export \"" + file + L"\"")), 0) << i;
  EXPECT_NE(GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesW((file + L".tavlin-old").c_str()), INVALID_FILE_ATTRIBUTES);
  DeleteFileW(file.c_str());

  const UniqueModule shell32(LoadSystemLibrary(L"shell32.dll"));
  shell::ShellApi api = shell::LinkedShellApi();
  api.folderPath = win::FolderPathEntry(shell32.get());
  api.pathFromItemList = win::PathFromItemListEntry(shell32.get());
  const std::wstring favourites = shell::modMain::GetSpecialFolder(api, nullptr, CSIDL_FAVORITES);
  EXPECT_EQ(favourites.substr(favourites.size() - 10), L"\\Favorites") << "found";
  // (Wine's shell takes the path of the 95 family's item-list export as UTF-16
  // unless the whole system says it is of that family; the list comes from here.)
  using FromPath = PIDLIST_ABSOLUTE(WINAPI*)(PCWSTR);
  const auto fromPath = reinterpret_cast<FromPath>(
      reinterpret_cast<void (*)()>(GetProcAddress(shell32.get(), "ILCreateFromPathW")));
  ASSERT_TRUE(fromPath);
  const shell::ItemList list(fromPath(L"C:\\windows"), &CoTaskMemFree);
  ASSERT_TRUE(list);
  std::wstring path(MAX_PATH, L'\0');
  ASSERT_TRUE(api.pathFromItemList(list.get(), path.data()));
  EXPECT_EQ(std::wstring(path.c_str()), L"C:\\windows");

  EXPECT_EQ(win::ModuleFileName(nullptr), ProgramFolder() + L"win32_tests.exe");
  const std::wstring bitmap =
      WriteBytes(std::wstring(temp) + L"Grüße.bmp", BitmapBytes({.width = 3, .height = 2}));
  EXPECT_TRUE(shell::LoadPicture(bitmap, {shell::PreviewVerdict::Show, 3, 2}).bitmap);
  ExpectNoWideEntryPointReached();
}

// What the registry adapter says a text value keeps is what a store of it
// keeps, on both families.
TEST(RegistryOnBothFamilies, HoldsTextAnswersAsAStoreOfTheTextDoes) {
  if (GetACP() != 1252) GTEST_SKIP() << "texts chosen for code page 1252";
  using namespace std::string_literals;
  const struct {
    std::wstring text;
    bool on98;
  } rows[] = {
      {L"Grüße", true}, {L"", true}, {L"日本", false}, {L"a\0b"s, false}, {L"ends\0"s, true}};
  settings::Win32Registry reg;
  settings::KeyRef key = 0;
  ASSERT_EQ(reg.Create(settings::kHkeyCurrentUser, L"Software\\Tavlin tests", key), 0);
  for (const bool nt : {true, false}) {
    win::AnswerAsNt(nt);
    for (const auto& row : rows) {
      const bool holds = reg.HoldsText(row.text);
      EXPECT_EQ(holds, nt || row.on98) << nt << " " << row.text.size();
      EXPECT_EQ(reg.Set(key, L"Kept", REG_SZ, Utf16Bytes(row.text, true)) == 0, holds)
          << nt << " " << row.text.size();
    }
  }
  win::AnswerAsNt(std::nullopt);
  reg.Delete(key, L"Kept");
  reg.Close(key);
}

}  // namespace
}  // namespace tavlin::testing
