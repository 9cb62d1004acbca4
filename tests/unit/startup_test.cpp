// Start-up, loading and the two panels, against in-memory doubles.
#include <gtest/gtest.h>

#include <algorithm>

#include "form_rig.h"
#include "settings/version.h"

namespace tavlin::testing {
namespace {

using namespace settings;

TEST(SkinValueName, ComparesTheMajorVersionAsANumber) {
  const struct {
    const wchar_t* version;
    std::wstring_view expected;
  } cases[] = {
      {L"6.0.2900", kSkinNameIE5},
      {L"5.50.4807", kSkinNameIE5},
      {L"9.0.1", kSkinNameIE5},
      {L"10.0.9200", kSkinNameIE5},
      {L"11.0.22000", kSkinNameIE5},  // not "1" < "5"
      {L"4.72.3110", kSkinNameOld},
      {L"0.0.0", kSkinNameOld},
      {L"", kSkinNameOld},
      {L"x.1", kSkinNameOld},
      {L" 6.0", kSkinNameOld},
      {L"99999999999.0", kSkinNameOld},
      // The bounds of the 32-bit major number: the largest is a new browser,
      // one past it (or any sign) is unreadable and gives the old name.
      {L"4294967295.0", kSkinNameIE5},
      {L"4294967296.0", kSkinNameOld},
      {L"-2147483648.0", kSkinNameOld},
      {L"+6.0", kSkinNameOld},
  };
  for (const auto& c : cases) EXPECT_EQ(SkinValueNameFor(c.version), c.expected) << c.version;
}

TEST(Versions, TitleAndBrowserVersionTexts) {
  EXPECT_EQ(TitleFor({6, 0, 6}), L"Tavlin 6.0.6");
  EXPECT_EQ(TitleFor({65535, 10, 0}), L"Tavlin 65535.10.0");
  FakeVersion v;
  v.major = 5;
  v.minor = 50;
  v.build = 4807;
  EXPECT_EQ(GetIEVersion(v), L"5.50.4807");
  EXPECT_EQ(VersionDisplay(GetIEVersion(v)), L"IE v5.50.4807");
  v.fails = true;
  EXPECT_EQ(VersionDisplay(GetIEVersion(v)), L"IE v0.0.0");
  EXPECT_EQ(VersionDisplay(L"  6.0  "), L"IE v6.0");
}

TEST(FormLoad, SetsTitleSkinNameSettingsAndPanelsInOrder) {
  FormRig rig;
  rig.version.major = 11;
  rig.ui.visible[Ctl::frmMenu_1] = true;  // as the window makes it
  rig.PutText(kToolbarKey, L"BackBitmapIE5", L"C:\\ie5.bmp");
  rig.PutText(kToolbarKey, L"BackBitmap", L"C:\\old.bmp");
  rig.form.Form_Load();
  EXPECT_EQ(rig.ui.caption, L"Tavlin 6.0.6");
  EXPECT_EQ(rig.form.sSkinValueName(), L"BackBitmapIE5");
  EXPECT_EQ(rig.ui.text[Ctl::txtSkin], L"C:\\ie5.bmp") << "the skin name is chosen before loading";
  EXPECT_EQ(rig.ui.text[Ctl::txtVer], L"IE v11.0.2900");
  EXPECT_TRUE(rig.ui.visible[Ctl::frmMenu_0]);
  EXPECT_FALSE(rig.ui.visible[Ctl::frmMenu_1]);
  EXPECT_EQ(rig.ui.Front(), Ctl::frmMenu_0);
  EXPECT_FALSE(rig.ui.focus) << "start-up sets no focus";
  EXPECT_TRUE(rig.tips.created.empty()) << "the tips come after the first paint";
  EXPECT_EQ(rig.reg.OpenHandles(), 0u);
}

TEST(FormLoad, CallsThePortsInStartUpOrderAndTheTipsComeAfterTheFirstPaint) {
  FormRig rig;
  CallLog log;
  rig.ui.log = &log;
  rig.version.log = &log;
  rig.tips.log = &log;
  rig.reg.log = &log;
  rig.form.Form_Load();
  rig.form.Form_Shown();
  const auto first = [&](std::wstring_view call) {
    return std::find_if(log.begin(), log.end(),
                        [&](const auto& c) { return c.starts_with(call); }) -
           log.begin();
  };
  const auto last = [&](std::wstring_view call) {
    return log.rend() -
           std::find_if(log.rbegin(), log.rend(),
                        [&](const auto& c) { return c.starts_with(call); }) -
           1;
  };
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[0], L"program version");
  EXPECT_EQ(log[1], L"caption") << "the title first";
  EXPECT_LT(first(L"browser version"), first(L"read ")) << "the skin name before any value";
  EXPECT_EQ(std::count(log.begin(), log.end(), L"browser version"), 1)
      << "one question to the shell answers the skin name and the version box";
  EXPECT_EQ(std::count(log.begin(), log.end(), L"read BackBitmapIE5"), 1);
  EXPECT_EQ(std::count(log.begin(), log.end(), L"read BackBitmap"), 0);
  EXPECT_LT(last(L"read "), first(L"visible")) << "settings and policies read before the panels";
  EXPECT_LT(last(L"front"), first(L"tip")) << "the panels, then (after the first paint) the tips";
  EXPECT_EQ(std::count(log.begin(), log.end(), L"tip"), 17);
  EXPECT_EQ(log.back(), L"tip");
}

TEST(LoadSettings, AsksForTheBrowserVersionAgainEachTime) {
  FormRig rig;
  CallLog log;
  rig.version.log = &log;
  rig.form.Form_Load();
  EXPECT_EQ(rig.ui.text[Ctl::txtVer], L"IE v6.0.2900");
  rig.version.major = 7;
  rig.form.LoadSettings();  // as after a reset
  EXPECT_EQ(rig.ui.text[Ctl::txtVer], L"IE v7.0.2900");
  EXPECT_EQ(std::count(log.begin(), log.end(), L"browser version"), 2);
  EXPECT_EQ(rig.form.sSkinValueName(), L"BackBitmapIE5") << "chosen once, at start-up";
}

TEST(FormLoad, OldBrowserReadsTheOldSkinName) {
  FormRig rig;
  rig.version.major = 4;
  rig.PutText(kToolbarKey, L"BackBitmapIE5", L"C:\\ie5.bmp");
  rig.PutText(kToolbarKey, L"BackBitmap", L"C:\\old.bmp");
  rig.form.Form_Load();
  EXPECT_EQ(rig.form.sSkinValueName(), L"BackBitmap");
  EXPECT_EQ(rig.ui.text[Ctl::txtSkin], L"C:\\old.bmp");
  // Reset deletes the skin under that name too, and only under it.
  rig.form.cmdReset_Click();
  EXPECT_EQ(rig.Get(kToolbarKey, L"BackBitmap"), nullptr);
  EXPECT_NE(rig.Get(kToolbarKey, L"BackBitmapIE5"), nullptr);
}

TEST(LoadSettings, FillsEachControlFromItsOwnValue) {
  FormRig rig;
  rig.PutText(kMainKey, L"Window Title", L"Title");
  rig.PutText(kBrowserKey, L"Download Directory", L"D:\\dl");
  rig.PutText(kMainKey, L"Start Page", L"about:blank");
  rig.PutText(kMainKey, L"FullScreen", L"YES");
  rig.PutText(kMainKey, L"Save Directory", L"D:\\saved");
  rig.Put(kToolbarKey, L"smBrandBitmap", kRegDword, DwordBytes(5));
  rig.PutText(kToolbarKey, L"BrandBitmap", L"brand.bmp");
  rig.PutText(kToolbarKey, L"SmallBitmap", L"small.bmp");
  rig.Put(kToolbarKey, L"BigBitmap", kRegExpandSz, Utf16Bytes(L"%x%", true));
  rig.form.Form_Load();
  const std::map<Ctl, std::wstring> expected = {
      {Ctl::txtWinTitle, L"Title"}, {Ctl::txtDownload, L"D:\\dl"}, {Ctl::txtStart, L"about:blank"},
      {Ctl::txtSkin, L""},          {Ctl::cboFullScreen, L"YES"},  {Ctl::txtSaveDir, L"D:\\saved"},
      {Ctl::txtSmBmp, L"5"},        {Ctl::txtLgBmp, L"brand.bmp"}, {Ctl::txtSmStat, L"small.bmp"},
      {Ctl::txtLgStat, L""},
  };
  for (const auto& [control, text] : expected)
    EXPECT_EQ(rig.ui.text[control], text) << int(control);
  EXPECT_TRUE(rig.form.Loaded(9).unreadable) << "BigBitmap exists but cannot be shown";
  EXPECT_FALSE(rig.form.Loaded(3).unreadable) << "a missing skin is simply absent";
}

TEST(LoadSettings, ReplacesTypedTextAndLeavesTheSearchBoxAlone) {
  FormRig rig;
  rig.form.Form_Load();
  rig.ui.Type(Ctl::txtWinTitle, L"typed");
  rig.ui.Type(Ctl::txtSearch, L"kept");
  rig.form.LoadSettings();
  EXPECT_EQ(rig.ui.text[Ctl::txtWinTitle], L"");
  EXPECT_EQ(rig.ui.text[Ctl::txtSearch], L"kept");
}

TEST(LoadSettings, KeyReadableButNotWritableStillShowsItsValues) {
  FormRig rig;
  rig.PutText(kMainKey, L"Start Page", L"http://locked.example/");
  rig.reg.DenyAccess(kHkeyCurrentUser, kMainKey, /*read=*/false, /*write=*/true);
  rig.form.Form_Load();
  EXPECT_EQ(rig.ui.text[Ctl::txtStart], L"http://locked.example/");
  EXPECT_EQ(rig.reg.OpenHandles(), 0u);
}

TEST(ShowMenu, SwitchesPanelsAndKeepsOnlyTheFrontOneUsable) {
  FormRig rig;
  rig.form.Form_Load();
  rig.form.Label13_Click();
  EXPECT_TRUE(rig.ui.visible[Ctl::frmMenu_1]);
  EXPECT_TRUE(rig.ui.visible[Ctl::frmMenu_0]) << "the other panel is not hidden";
  EXPECT_EQ(rig.ui.Front(), Ctl::frmMenu_1);
  EXPECT_FALSE(rig.ui.enabled[Ctl::frmMenu_0]);
  EXPECT_TRUE(rig.ui.enabled[Ctl::frmMenu_1]);
  rig.form.cmdAbout_Click();
  EXPECT_EQ(rig.ui.Front(), Ctl::frmMenu_0);
  EXPECT_TRUE(rig.ui.enabled[Ctl::frmMenu_0]);
  EXPECT_FALSE(rig.ui.enabled[Ctl::frmMenu_1]);

  const auto before = rig.ui.broughtToFront.size();
  const auto visible = rig.ui.visible;
  rig.form.ShowMenu(5);
  rig.form.ShowMenu(-2);
  EXPECT_EQ(rig.ui.broughtToFront.size(), before) << "an index that names no panel does nothing";
  EXPECT_EQ(rig.ui.visible, visible);
  rig.form.ShowMenu(-1);
  EXPECT_FALSE(rig.ui.visible[Ctl::frmMenu_0]);
  EXPECT_FALSE(rig.ui.visible[Ctl::frmMenu_1]);
}

// The focus never stays on the panel that goes behind: it moves to the About
// panel's OK, and back to the " About ..." link that opened that panel.
TEST(ShowMenu, TakesTheFocusOffTheCoveredPanel) {
  const struct {
    std::optional<Ctl> before;
    short index;
    std::optional<Ctl> after;
  } rows[] = {
      {Ctl::txtStart, 1, Ctl::cmdAbout}, {Ctl::cmbGo_0, 1, Ctl::cmdAbout},
      {Ctl::cmdAbout, 0, Ctl::Label13},  {Ctl::lblOrv_2, 0, Ctl::Label13},
      {Ctl::cmdAbout, 1, Ctl::cmdAbout}, {Ctl::txtStart, 0, Ctl::txtStart},
      {std::nullopt, 1, std::nullopt},
  };
  for (const auto& row : rows) {
    FormRig rig;
    rig.ui.focus = row.before;
    rig.form.ShowMenu(row.index);
    EXPECT_EQ(rig.ui.focus, row.after) << row.index;
  }
}

TEST(FullScreenList, DiscardsEveryTypedCharacter) {
  FormRig rig;
  for (short key : {short('y'), short(8), short(13), short(27), short(0x4E2D), short(-1)}) {
    short k = key;
    rig.form.cboFullScreen_KeyPress(k);
    EXPECT_EQ(k, 0) << key;
  }
}

TEST(Unload, DropsTheGlobalReferenceAndWritesNothing) {
  FormRig rig;
  rig.PutText(kMainKey, L"Window Title", L"T");
  rig.form.Form_Load();
  rig.ui.Type(Ctl::txtWinTitle, L"edited");
  const auto before = rig.reg.Snapshot();
  short cancel = 0;
  rig.form.Form_Unload(cancel);
  EXPECT_EQ(cancel, 0);
  EXPECT_TRUE(rig.ui.globalReferenceDropped);
  EXPECT_EQ(rig.reg.Snapshot(), before);
}

}  // namespace
}  // namespace tavlin::testing
