// Apply, OK and Reset in the real window under Wine, checked in the registry.
#include <gtest/gtest.h>

#include <map>

#include "common/win32_handles.h"
#include "settings/catalogue.h"
#include "settings/version.h"
#include "settings/version_win32.h"
#include "support/driver_win32.h"

namespace tavlin::testing {
namespace {

using namespace settings;

const std::wstring kMain(kMainKey), kBrowser(kBrowserKey), kToolbar(kToolbarKey);

using Hive = std::map<std::wstring, StoredValue>;  // "key|name" -> raw value

// Every value under the three browser keys, as raw bytes.
Hive Snapshot() {
  return RegSnapshot(
      {std::wstring(kMainKey), std::wstring(kBrowserKey), std::wstring(kToolbarKey)});
}

// Names of the values that differ between two snapshots.
std::vector<std::wstring> Changed(const Hive& a, const Hive& b) {
  std::vector<std::wstring> out;
  for (const auto& [k, v] : a)
    if (!b.count(k) || !(b.at(k) == v)) out.push_back(k);
  for (const auto& [k, v] : b)
    if (!a.count(k)) out.push_back(k);
  return out;
}

bool RegQueryFinds(const std::wstring& key, const std::wstring& name) {
  return RunAndWait(L"reg.exe query \"HKCU\\" + key + L"\" /v \"" + name + L"\"") == 0;
}

std::wstring SkinName() {
  Win32Version v;
  return std::wstring(SkinValueNameFor(GetIEVersion(v)));
}

// A title beyond ASCII (on Windows 98 one its code page holds).
std::wstring Title() {
  return TextFor98(L"Title ☂", L"Title ß");
}

void SeedAll() {
  RegPutRaw(kMain, L"Window Title", REG_SZ, Utf16Bytes(Title(), true));
  RegPutRaw(kBrowser, L"Download Directory", REG_SZ, Utf16Bytes(L"C:\\dl", true));
  RegPutRaw(kMain, L"Start Page", REG_SZ, Utf16Bytes(L"about:blank", true));
  RegPutRaw(kMain, L"FullScreen", REG_SZ, Utf16Bytes(L"no", true));
  RegPutRaw(kMain, L"Save Directory", REG_SZ, Utf16Bytes(L"C:\\saved", true));
  RegPutRaw(kToolbar, L"BackBitmapIE5", REG_SZ, Utf16Bytes(L"skin5.bmp", true));
  RegPutRaw(kToolbar, L"BackBitmap", REG_SZ, Utf16Bytes(L"skin.bmp", true));
  RegPutRaw(kToolbar, L"smBrandBitmap", REG_DWORD, DwordBytes(5));
  RegPutRaw(kToolbar, L"BrandBitmap", REG_SZ, Utf16Bytes(std::wstring(L"lg\0hidden", 9), true));
  RegPutRaw(kToolbar, L"SmallBitmap", REG_BINARY, Bytes{std::byte{1}, std::byte{2}});
  RegPutRaw(kToolbar, L"BigBitmap", REG_SZ, Utf16Bytes(L"big.bmp", true));
  RegPutRaw(kMain, L"Unrelated", REG_SZ, Utf16Bytes(L"keep", false));
}

// Text beyond ASCII that the system's code page holds comes back byte for
// byte, also where it goes through that code page (Windows 98).
TEST(Apply, CodePageTextBeyondAsciiIsReadShownAndAppliedExactly) {
  if (GetACP() != 1252) GTEST_SKIP() << "texts chosen for code page 1252";
  SeedAll();
  RegPutRaw(kMain, L"Window Title", REG_SZ, Utf16Bytes(L"Grüße – Köln", true));
  TavlinProcess tavlin;
  ASSERT_TRUE(tavlin.Started());
  EXPECT_EQ(tavlin.Text(Ctl::txtWinTitle), L"Grüße – Köln");
  tavlin.SetText(Ctl::txtStart, L"http://zürich.example/§ß");
  tavlin.Press(Ctl::cmbGo_0);
  ASSERT_TRUE(WaitFor([] {
    const auto v = RegGetRaw(kMain, L"Start Page");
    return v && v->data == Utf16Bytes(L"http://zürich.example/§ß", true);
  }));
  EXPECT_EQ(RegGetRaw(kMain, L"Window Title")->data, Utf16Bytes(L"Grüße – Köln", true));
}

TEST(Apply, OutcomeTableInTheRealWindow) {
  SeedAll();
  TavlinProcess tavlin;
  ASSERT_TRUE(tavlin.Started());
  tavlin.SetText(Ctl::txtWinTitle, L"");  // left as stored
  tavlin.SetText(Ctl::txtStart, L"http://new.example/");
  tavlin.SetText(Ctl::cboFullScreen, L"yes");
  tavlin.SetText(Ctl::txtSkin, L" ");              // one space: written
  tavlin.SetText(Ctl::txtLgBmp, L"");              // emptied: deleted
  tavlin.SetText(Ctl::txtLgStat, L"Ünïcode.bmp");  // last entry: marks the end of the save
  tavlin.Press(Ctl::cmbGo_0);
  ASSERT_TRUE(WaitFor([] {
    const auto v = RegGetRaw(kToolbar, L"BigBitmap");
    return v && v->data == Utf16Bytes(L"Ünïcode.bmp", true);
  }));
  EXPECT_EQ(RegGetRaw(kMain, L"Window Title")->data, Utf16Bytes(Title(), true));
  EXPECT_EQ(RegGetRaw(kMain, L"Start Page")->data, Utf16Bytes(L"http://new.example/", true));
  EXPECT_EQ(RegGetRaw(kMain, L"FullScreen")->data, Utf16Bytes(L"yes", true));
  EXPECT_EQ(RegGetRaw(kToolbar, SkinName())->data, Utf16Bytes(L" ", true));
  EXPECT_FALSE(RegQueryFinds(kToolbar, L"BrandBitmap")) << "an emptied picture box deletes";
  EXPECT_TRUE(RegQueryFinds(kToolbar, L"SmallBitmap")) << "an unreadable value is kept";
  EXPECT_TRUE(RegQueryFinds(kMain, L"Window Title"));
  EXPECT_TRUE(IsWindow(tavlin.Window())) << "Apply leaves the window open";
}

TEST(Apply, ChangesOnlyWhatTheUserChangedByteForByte) {
  SeedAll();
  const Hive before = Snapshot();
  TavlinProcess tavlin;
  ASSERT_TRUE(tavlin.Started());
  tavlin.SetText(Ctl::txtLgStat, L"new.bmp");
  tavlin.Press(Ctl::cmbGo_0);
  ASSERT_TRUE(WaitFor(
      [] { return RegGetRaw(kToolbar, L"BigBitmap")->data == Utf16Bytes(L"new.bmp", true); }));
  const Hive after = Snapshot();
  const std::vector<std::wstring> expected = {kToolbar + L"|BigBitmap",
                                              kToolbar + L"|smBrandBitmap"};
  EXPECT_EQ(Changed(before, after), expected);
  EXPECT_EQ(after.at(kToolbar + L"|smBrandBitmap").type, static_cast<DWORD>(REG_SZ))
      << "a REG_DWORD is rewritten as text";
  EXPECT_EQ(after.at(kToolbar + L"|smBrandBitmap").data, Utf16Bytes(L"5", true));
  EXPECT_EQ(after.at(kToolbar + L"|BrandBitmap").data,
            Utf16Bytes(std::wstring(L"lg\0hidden", 9), true))
      << "an unedited box keeps the text past its NUL";
}

TEST(OK, AfterEditsLeavesTheRegistryExactlyAsItWas) {
  SeedAll();
  const Hive before = Snapshot();
  TavlinProcess tavlin;
  ASSERT_TRUE(tavlin.Started());
  tavlin.SetText(Ctl::txtWinTitle, L"not saved");
  tavlin.SetText(Ctl::txtSmBmp, L"");
  tavlin.Press(Ctl::cmbGo_1);
  ASSERT_TRUE(tavlin.WaitForExit(15000)) << "OK ends the program";
  EXPECT_EQ(Snapshot(), before);
}

TEST(Reset, DeletesThePicturesOnlyAndReloadsTheWindow) {
  SeedAll();
  TavlinProcess tavlin;
  ASSERT_TRUE(tavlin.Started());
  tavlin.SetText(Ctl::txtWinTitle, L"unsaved");
  tavlin.Press(Ctl::cmdReset);
  ASSERT_TRUE(WaitFor([&] { return tavlin.Text(Ctl::txtWinTitle) == Title(); })) << "reloaded";
  for (const wchar_t* name : {L"smBrandBitmap", L"BrandBitmap", L"SmallBitmap", L"BigBitmap"})
    EXPECT_FALSE(RegQueryFinds(kToolbar, name)) << name;
  EXPECT_FALSE(RegGetRaw(kToolbar, SkinName()));
  const std::wstring other = SkinName() == L"BackBitmapIE5" ? L"BackBitmap" : L"BackBitmapIE5";
  EXPECT_TRUE(RegGetRaw(kToolbar, other)) << "the skin name not chosen is never touched";
  for (Ctl c : {Ctl::txtSkin, Ctl::txtSmBmp, Ctl::txtLgBmp, Ctl::txtSmStat, Ctl::txtLgStat})
    EXPECT_EQ(tavlin.Text(c), L"");
  EXPECT_EQ(tavlin.Text(Ctl::txtDownload), L"C:\\dl");
}

TEST(Reset, UnderAMissingToolbarKeyChangesNothing) {
  SeedAll();
  RegDeleteKeyTree(kToolbar);
  const Hive before = Snapshot();
  TavlinProcess tavlin;
  ASSERT_TRUE(tavlin.Started());
  tavlin.SetText(Ctl::txtStart, L"typed");
  tavlin.Press(Ctl::cmdReset);
  ASSERT_TRUE(WaitFor([&] { return tavlin.Text(Ctl::txtStart) == L"about:blank"; }));
  EXPECT_EQ(Snapshot(), before);
  UniqueKey key;
  EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, kToolbar.c_str(), 0, KEY_READ, key.put()),
            ERROR_SUCCESS)
      << "no key is created";
}

}  // namespace
}  // namespace tavlin::testing
