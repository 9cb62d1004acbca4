// The lines the real tavlin.exe adds to its balloons under Wine: a policy
// seeded in the registry, pictures named at start-up, picked in the file-open
// dialog or typed into a box. The tips are read from the tooltip windows
// themselves, each by the control it belongs to.
#include <gtest/gtest.h>

#include "settings/catalogue.h"
#include "settings/policy.h"
#include "support/bitmap_bytes.h"
#include "support/dialogs_win32.h"
#include "support/driver_win32.h"
#include "support/temp_files_win32.h"
#include "support/tip_texts.h"
#include "tooltip/tip_catalogue.h"

namespace tavlin::testing {
namespace {

using namespace settings;

constexpr int kFileNameField = 1148;  // the file-open dialog's name box

std::string Narrow(const std::map<Ctl, std::wstring>& tips) {
  std::string out;
  for (const auto& [control, text] : tips) {
    out += std::to_string(int(control)) + ": ";
    for (const wchar_t c : text)
      out += c == L'\r' ? ' ' : c == L'\n' ? '/' : c < 128 ? char(c) : '?';
    out += "\n";
  }
  return out;
}

void PutMachineText(const std::wstring& path, const std::wstring& name, const std::wstring& text) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return;
  RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

// No policy and no picture values, before and after every test: the prefix is
// shared with the other suites.
class TipWarningsWindow : public ::testing::Test {
 protected:
  void SetUp() override { Clear(); }
  void TearDown() override { Clear(); }
  static void Clear() {
    const std::wstring policies(kPolicyBrowserKey);
    RegDeleteKeyTree(policies);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, policies.c_str());
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, policies.c_str());
    for (const auto name : {L"BackBitmapIE5", L"BackBitmap", L"smBrandBitmap", L"BrandBitmap",
                            L"SmallBitmap", L"BigBitmap"})
      RegDeleteRaw(std::wstring(kToolbarKey), name);
  }
  // A folder of the test's own with the bitmaps the tests name.
  std::wstring Folder() { return TestFolder(L"tavlin-warnings"); }
};

// The tips once the program has settled: the same twice running.
std::map<Ctl, std::wstring> SettledTips(const TavlinProcess& tavlin) {
  tavlin.Settle();
  return TipTexts(tavlin);
}

TEST_F(TipWarningsWindow, WithNoPolicyAndNoPathsTheTipsAreExactlyTheCatalogues) {
  TavlinProcess tavlin;
  ASSERT_TRUE(tavlin.Started());
  std::map<Ctl, std::wstring> tips;
  EXPECT_TRUE(WaitFor([&] { return (tips = SettledTips(tavlin)) == CatalogueWith({}); }, 5000))
      << Narrow(tips);
}

TEST_F(TipWarningsWindow, ASeededPolicyShowsOnItsBoxOnlyAndNothingElseChanges) {
  RegPutRaw(std::wstring(kPolicyMainKey), L"Start Page", REG_SZ,
            Utf16Bytes(L"http://intranet.example/", true));
  RegPutRaw(std::wstring(kMainKey), L"Start Page", REG_SZ,
            Utf16Bytes(L"http://mine.example/", true));
  const std::vector<std::wstring> keys = {std::wstring(kMainKey), std::wstring(kBrowserKey),
                                          std::wstring(kToolbarKey), std::wstring(kPolicyMainKey),
                                          std::wstring(kPolicyControlPanelKey)};
  const auto before = RegSnapshot(keys);
  {
    TavlinProcess tavlin;
    ASSERT_TRUE(tavlin.Started());
    const auto expected = CatalogueWith(
        {{Ctl::txtStart, L"Set by policy: http://intranet.example/; this box has no effect"}});
    std::map<Ctl, std::wstring> tips;
    EXPECT_TRUE(WaitFor([&] { return (tips = SettledTips(tavlin)) == expected; }, 5000))
        << Narrow(tips);
    EXPECT_EQ(tavlin.Text(Ctl::txtStart), L"http://mine.example/")
        << "the box shows the user's own";
    ASSERT_TRUE(tavlin.Close());
  }
  EXPECT_EQ(RegSnapshot(keys), before);
  HKEY machine = nullptr;
  EXPECT_NE(RegOpenKeyExW(HKEY_LOCAL_MACHINE, std::wstring(kPolicyBrowserKey).c_str(), 0,
                          KEY_QUERY_VALUE, &machine),
            ERROR_SUCCESS)
      << "no policy key was created";
}

TEST_F(TipWarningsWindow, APolicySetLaterShowsAfterAResetAndLeavesWithTheNext) {
  TavlinProcess tavlin;
  ASSERT_TRUE(tavlin.Started());
  PutMachineText(std::wstring(kPolicyBrowserKey), L"Download Directory", L"D:\\Downloads");
  RegPutRaw(std::wstring(kPolicyControlPanelKey), L"HomePage", REG_DWORD, DwordBytes(1));
  EXPECT_EQ(SettledTips(tavlin), CatalogueWith({})) << "read at start-up and after a reset only";
  tavlin.Press(Ctl::cmdReset);
  const auto expected =
      CatalogueWith({{Ctl::txtDownload, L"Set by policy: D:\\Downloads; this box has no effect"},
                     {Ctl::txtStart, L"Locked by policy"}});
  std::map<Ctl, std::wstring> tips;
  EXPECT_TRUE(WaitFor([&] { return (tips = SettledTips(tavlin)) == expected; }, 5000))
      << Narrow(tips);
  Clear();
  tavlin.Press(Ctl::cmdReset);
  EXPECT_TRUE(WaitFor([&] { return (tips = SettledTips(tavlin)) == CatalogueWith({}); }, 5000))
      << Narrow(tips);
}

TEST_F(TipWarningsWindow, PicturesNamedAtStartUpAreChecked) {
  const std::wstring folder = Folder();
  WriteBytes(folder + L"\\spin.bmp", BitmapBytes({.width = 38, .height = 380, .bits = 8}));
  WriteBytes(folder + L"\\short.bmp", BitmapBytes({.width = 22, .height = 22, .extraBytes = -9}));
  RegPutRaw(std::wstring(kToolbarKey), L"BrandBitmap", REG_SZ,
            Utf16Bytes(folder + L"\\spin.bmp", true));
  RegPutRaw(std::wstring(kToolbarKey), L"SmallBitmap", REG_SZ,
            Utf16Bytes(folder + L"\\short.bmp", true));
  RegPutRaw(std::wstring(kToolbarKey), L"BigBitmap", REG_SZ, Utf16Bytes(folder, true));
  TavlinProcess tavlin;
  ASSERT_TRUE(tavlin.Started());
  const auto expected =
      CatalogueWith({{Ctl::txtLgBmp, L"Picture file: 38 \u00d7 380 pixels, 10 frames"},
                     {Ctl::txtSmStat, L"Picture file: truncated bitmap"},
                     {Ctl::txtLgStat, L"Picture file: a folder, not a file"}});
  std::map<Ctl, std::wstring> tips;
  EXPECT_TRUE(WaitFor([&] { return (tips = SettledTips(tavlin)) == expected; }, 5000))
      << Narrow(tips);
}

TEST_F(TipWarningsWindow, PickedGoodAndBadBitmapsShowTheirLines) {
  const std::wstring folder = Folder();
  const std::wstring strip = folder + L"\\strip.bmp", big = folder + L"\\big.bmp",
                     notes = folder + L"\\notes.txt";
  WriteBytes(strip, BitmapBytes({.width = 22, .height = 220}));
  WriteBytes(big, BitmapBytes({.width = 40, .height = 40, .bits = 32}));
  WriteBytes(notes, {std::byte{'h'}, std::byte{'i'}, std::byte{'\r'}, std::byte{'\n'}});
  TavlinProcess tavlin;
  ASSERT_TRUE(tavlin.Started());
  const struct {
    Ctl button, box;
    std::wstring path;
  } picks[] = {{Ctl::cmdBmp_1, Ctl::txtSmBmp, strip},
               {Ctl::cmdBmp_4, Ctl::txtLgStat, big},
               {Ctl::cmdBmp_0, Ctl::txtSkin, notes}};
  for (const auto& pick : picks) {
    tavlin.Press(pick.button);
    const HWND dialog = WaitForDialog(tavlin.ProcessId());
    ASSERT_TRUE(dialog) << int(pick.button);
    ASSERT_TRUE(SetDialogItemText(dialog, kFileNameField, pick.path));
    ASSERT_TRUE(PressDialogButton(dialog, IDOK));
    ASSERT_TRUE(WaitForDialogGone(dialog));
    ASSERT_TRUE(WaitFor([&] { return tavlin.Text(pick.box) == pick.path; }));
  }
  const auto expected = CatalogueWith(
      {{Ctl::txtSmBmp, L"Picture file: 22 \u00d7 220 pixels, 10 frames"},
       {Ctl::txtLgStat, L"Picture file: 40 \u00d7 40 pixels (IE expects 38 \u00d7 38)"},
       {Ctl::txtSkin, L"Picture file: not a Windows bitmap"}});
  std::map<Ctl, std::wstring> tips;
  EXPECT_TRUE(WaitFor([&] { return (tips = SettledTips(tavlin)) == expected; }, 5000))
      << Narrow(tips);
}

// A click into a box puts the keyboard focus there, as for a user.
void ClickInto(const TavlinProcess& tavlin, Ctl c) {
  const HWND h = tavlin.Control(c);
  PostMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  PostMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
}

TEST_F(TipWarningsWindow, LeavingABoxChecksWhatWasTypedIntoIt) {
  TavlinProcess tavlin;
  ASSERT_TRUE(tavlin.Started());
  const struct {
    Ctl box;
    std::wstring typed, line;
  } cases[] = {
      {Ctl::txtSmStat, L"C:\\nowhere\\small.bmp", L"Picture file: not found"},
      {Ctl::txtLgStat, L"C:\\logos\\NUL.bmp", L"Picture file: not a file"},
      {Ctl::txtSkin, L"\\\\server\\share\\skin.bmp", L"Picture file: on the network; not checked"},
      // Wine's 8-bit file functions (Windows 98's) report the length, as Windows does.
      {Ctl::txtLgBmp, L"C:\\" + std::wstring(300, L'x') + L".bmp",
       TextFor98(L"Picture file: not found", L"Picture file: path too long")},
  };
  std::map<Ctl, std::wstring> extra;
  for (const auto& c : cases) {
    ClickInto(tavlin, c.box);
    tavlin.SetText(c.box, c.typed);
    EXPECT_EQ(SettledTips(tavlin), CatalogueWith(extra)) << "not checked while typing";
    ClickInto(tavlin, Ctl::txtWinTitle);
    extra[c.box] = c.line;
    std::map<Ctl, std::wstring> tips;
    EXPECT_TRUE(WaitFor([&] { return (tips = SettledTips(tavlin)) == CatalogueWith(extra); }, 5000))
        << Narrow(tips);
  }
}

}  // namespace
}  // namespace tavlin::testing
