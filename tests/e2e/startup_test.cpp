// Start-up as a user sees it: the real tavlin.exe under Wine, its registry
// seeded with reg.exe (as `wine reg add` does), its controls read back from
// this process.
#include <gtest/gtest.h>

#include "app/layout.h"
#include "settings/catalogue.h"
#include "settings/version.h"
#include "settings/version_win32.h"
#include "support/driver_win32.h"

namespace tavlin::testing {
namespace {

using namespace settings;

const std::wstring kMain(kMainKey), kBrowser(kBrowserKey), kToolbar(kToolbarKey);

void RegAdd(const std::wstring& key, const std::wstring& name, const std::wstring& type,
            const std::wstring& data) {
  const std::wstring cmd = L"reg.exe add \"HKCU\\" + key + L"\" /v \"" + name + L"\" /t " + type +
                           L" /d \"" + data + L"\" /f";
  ASSERT_EQ(RunAndWait(cmd), 0u) << std::string(cmd.begin(), cmd.end());
}

// Removes the ten catalogue values (both skin names) so each test starts clean.
void ClearCatalogue() {
  for (const SettingEntry& e : kSettings)
    if (!e.IsSkin()) RegDeleteRaw(std::wstring(e.key), std::wstring(e.valueName));
  RegDeleteRaw(kToolbar, std::wstring(kSkinNameIE5));
  RegDeleteRaw(kToolbar, std::wstring(kSkinNameOld));
}

TEST(Startup, ShowsTheTitleTheVersionAndEveryCatalogueValue) {
  ClearCatalogue();
  RegAdd(kMain, L"Window Title", L"REG_SZ", L"Grüße – Ωμέγα – 日本語");
  RegAdd(kMain, L"Start Page", L"REG_SZ", L"http://example.org/start");
  RegAdd(kMain, L"FullScreen", L"REG_SZ", L"YES");
  RegAdd(kMain, L"Save Directory", L"REG_SZ", L"C:\\Users\\Åsa\\Saved");
  RegAdd(kBrowser, L"Download Directory", L"REG_SZ", L"C:\\Downloads");
  RegAdd(kToolbar, L"BackBitmapIE5", L"REG_SZ", L"C:\\skins\\ie5.bmp");
  RegAdd(kToolbar, L"BackBitmap", L"REG_SZ", L"C:\\skins\\old.bmp");
  RegAdd(kToolbar, L"smBrandBitmap", L"REG_DWORD", L"5");
  RegAdd(kToolbar, L"BrandBitmap", L"REG_EXPAND_SZ", L"%TEMP%\\x.bmp");
  RegAdd(kToolbar, L"SmallBitmap", L"REG_SZ", L"small.bmp");
  RegAdd(kToolbar, L"BigBitmap", L"REG_SZ", L" ");

  TavlinProcess tavlin;
  ASSERT_TRUE(tavlin.Started());
  EXPECT_EQ(tavlin.Text(tavlin.Window()), L"Tavlin 6.0.6");
  EXPECT_EQ(tavlin.Text(Ctl::txtWinTitle), AsTavlinShows(L"Grüße – Ωμέγα – 日本語"));
  EXPECT_EQ(tavlin.Text(Ctl::txtStart), L"http://example.org/start");
  EXPECT_EQ(tavlin.Text(Ctl::cboFullScreen), L"YES");
  EXPECT_EQ(tavlin.Text(Ctl::txtSaveDir), L"C:\\Users\\Åsa\\Saved");
  EXPECT_EQ(tavlin.Text(Ctl::txtDownload), L"C:\\Downloads");
  Win32Version version;
  const std::wstring ie = GetIEVersion(version);
  EXPECT_EQ(tavlin.Text(Ctl::txtSkin),
            SkinValueNameFor(ie) == kSkinNameIE5 ? L"C:\\skins\\ie5.bmp" : L"C:\\skins\\old.bmp");
  EXPECT_EQ(tavlin.Text(Ctl::txtSmBmp), L"5");
  EXPECT_EQ(tavlin.Text(Ctl::txtLgBmp), L"") << "REG_EXPAND_SZ is not shown";
  EXPECT_EQ(tavlin.Text(Ctl::txtSmStat), L"small.bmp");
  EXPECT_EQ(tavlin.Text(Ctl::txtLgStat), L" ");
  EXPECT_EQ(tavlin.Text(Ctl::txtVer), L"IE v" + ie);
  EXPECT_NE(ie, L"0.0.0") << "Wine's shell library reports a version";

  // The settings panel is in front and the About panel hidden.
  EXPECT_TRUE(IsWindowVisible(tavlin.Control(Ctl::frmMenu_0)));
  EXPECT_FALSE(IsWindowVisible(tavlin.Control(Ctl::frmMenu_1)));
  // Closing writes nothing and ends the program cleanly.
  EXPECT_EQ(tavlin.Close(), std::optional<DWORD>(0));
  EXPECT_EQ(RegGetRaw(kToolbar, L"smBrandBitmap")->type, static_cast<DWORD>(REG_DWORD));
}

TEST(Startup, EmptyRegistryLeavesEveryBoxEmpty) {
  ClearCatalogue();
  TavlinProcess tavlin;
  ASSERT_TRUE(tavlin.Started());
  for (const SettingEntry& e : kSettings) EXPECT_EQ(tavlin.Text(e.control), L"") << int(e.control);
  EXPECT_EQ(tavlin.Text(Ctl::txtVer).substr(0, 4), L"IE v");
}

TEST(Startup, AboutPanelSwitchesAndCoversTheSettingsPanel) {
  TavlinProcess tavlin;
  ASSERT_TRUE(tavlin.Started());
  const HWND settings = tavlin.Control(Ctl::frmMenu_0), about = tavlin.Control(Ctl::frmMenu_1);
  // The program runs beside us: wait for the whole switch, not its first step.
  const auto inFront = [](HWND panel, HWND covered) {
    return GetWindow(GetParent(panel), GW_CHILD) == panel && !IsWindowEnabled(covered) &&
           IsWindowEnabled(panel);
  };
  EXPECT_EQ(GetWindow(about, GW_CHILD), nullptr) << "its controls are made when it is first shown";
  tavlin.ClickLabel(Ctl::Label13);
  ASSERT_TRUE(WaitFor([&] { return inFront(about, settings); })) << "About panel in front";
  EXPECT_TRUE(IsWindowVisible(about));
  for (const app::ControlSpec& s : app::Layout()) {
    if (s.container != Ctl::frmMenu_1 && s.container != Ctl::Frame10) continue;
    SCOPED_TRACE(std::wstring(s.name));
    const HWND h = tavlin.Control(s.id);
    ASSERT_NE(h, nullptr);
    EXPECT_TRUE(IsWindowVisible(h));
    EXPECT_EQ(tavlin.Text(h), s.caption);
  }
  EXPECT_TRUE(IsWindowVisible(settings)) << "both panels stay visible";
  EXPECT_FALSE(IsWindowEnabled(settings)) << "the covered panel takes no input";
  tavlin.Press(Ctl::cmdAbout);
  ASSERT_TRUE(WaitFor([&] { return inFront(settings, about); }));
  EXPECT_TRUE(IsWindowEnabled(settings));
  EXPECT_FALSE(IsWindowEnabled(about));
  EXPECT_TRUE(IsWindowVisible(about));
}

}  // namespace
}  // namespace tavlin::testing
