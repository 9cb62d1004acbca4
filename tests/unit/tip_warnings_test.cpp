// The lines the window's checks add to the balloons: when each check runs, that
// the line goes to the right box only, and that it leaves again when the
// condition is gone.
#include <gtest/gtest.h>

#include "form_rig.h"
#include "settings/policy.h"
#include "support/bitmap_bytes.h"
#include "support/tip_texts.h"
#include "tooltip/tip_catalogue.h"

namespace tavlin::testing {
namespace {

std::wstring CatalogueText(Ctl control) {
  for (const auto& row : tooltip::TipCatalogue())
    if (row.control == control) return tooltip::TipText(row);
  return {};
}

// Every tip as the tooltip port holds it now.
std::map<Ctl, std::wstring> Tips(const RecordingTips& tips) {
  std::map<Ctl, std::wstring> now;
  for (const auto& row : tooltip::TipCatalogue()) now[row.control] = *tips.Current(row.control);
  return now;
}

void PutPolicyPage(FormRig& rig, std::wstring_view page) {
  rig.reg.Put(settings::kHkeyCurrentUser, settings::kPolicyMainKey, L"Start Page", settings::kRegSz,
              Utf16Bytes(page, true));
}

TEST(TipWarnings, WithNoPolicyAndNoPathsTheTipsAreTheCatalogues) {
  FormRig rig;
  rig.form.Form_Load();
  rig.form.Form_Shown();
  EXPECT_EQ(Tips(rig.tips), CatalogueWith({}));
  EXPECT_TRUE(rig.tips.updated.empty());
  EXPECT_TRUE(rig.files.probed.empty()) << "empty boxes are not looked at";
}

TEST(TipWarnings, APolicyAndPicturesFoundAtStartUpAreInTheTipsFromTheStart) {
  FormRig rig;
  PutPolicyPage(rig, L"http://intranet/");
  rig.PutText(settings::kToolbarKey, L"BrandBitmap", L"C:\\big.bmp");
  rig.PutText(settings::kToolbarKey, L"SmallBitmap", L"C:\\missing.bmp");
  rig.files.Put(L"C:\\big.bmp", BitmapBytes({.width = 38, .height = 380}));
  rig.form.Form_Load();
  // Found before the tips exist (they are made after the first paint): kept
  // for them, with no tip touched yet.
  rig.ui.Type(Ctl::txtLgStat, L"C:\\typed.bmp");
  rig.form.LostFocus(Ctl::txtLgStat);
  EXPECT_TRUE(rig.tips.created.empty());
  rig.form.Form_Shown();
  EXPECT_EQ(Tips(rig.tips),
            CatalogueWith({
                {Ctl::txtStart, L"Set by policy: http://intranet/; this box has no effect"},
                {Ctl::txtLgBmp, L"Picture file: 38 \u00d7 380 pixels, 10 frames"},
                {Ctl::txtSmStat, L"Picture file: not found"},
                {Ctl::txtLgStat, L"Picture file: not found"},
            }));
  EXPECT_TRUE(rig.tips.updated.empty()) << "made with the lines, not changed afterwards";
  EXPECT_EQ(rig.form.TipTextOf(Ctl::txtSearch), L"") << "a box without a tip";
}

TEST(TipWarnings, ResetReadsThePoliciesAgainAndApplyDoesNot) {
  FormRig rig;
  rig.form.Form_Load();
  rig.form.Form_Shown();
  PutPolicyPage(rig, L"http://later/");
  rig.form.cmbGo_Click(0);  // Apply
  EXPECT_TRUE(rig.tips.updated.empty());
  rig.form.cmdReset_Click();
  ASSERT_EQ(rig.tips.updated.size(), 1u) << "only the box whose tip changed";
  EXPECT_EQ(rig.tips.updated[0].first, Ctl::txtStart);
  EXPECT_EQ(
      rig.tips.updated[0].second,
      CatalogueText(Ctl::txtStart) + L"\r\nSet by policy: http://later/; this box has no effect");
  // The policy goes away: the next reset takes the line out again.
  rig.reg.DenyAccess(settings::kHkeyCurrentUser, settings::kPolicyMainKey, true, true);
  rig.form.cmdReset_Click();
  EXPECT_EQ(Tips(rig.tips), CatalogueWith({}));
}

TEST(TipWarnings, APickedFileIsCheckedAtOnce) {
  FormRig rig;
  rig.form.Form_Load();
  rig.form.Form_Shown();
  rig.files.Put(L"C:\\good.bmp", BitmapBytes({.width = 22, .height = 22}));
  rig.files.Put(L"C:\\notes.txt", {std::byte{'h'}, std::byte{'i'}});
  rig.shell.fileAnswers.push_back({shell::DialogOutcome::Ok, L"C:\\good.bmp"});
  rig.shell.fileAnswers.push_back({shell::DialogOutcome::Ok, L"C:\\notes.txt"});
  rig.form.cmdBmp_Click(3);  // the small static logo
  rig.form.cmdBmp_Click(1);  // the small spinning logo
  EXPECT_EQ(Tips(rig.tips), CatalogueWith({
                                {Ctl::txtSmStat, L"Picture file: 22 \u00d7 22 pixels"},
                                {Ctl::txtSmBmp, L"Picture file: not a Windows bitmap"},
                            }));
}

TEST(TipWarnings, LeavingAPictureBoxChecksWhatWasTyped) {
  FormRig rig;
  rig.form.Form_Load();
  rig.form.Form_Shown();
  rig.ui.Type(Ctl::txtSkin, L"C:\\skin.bmp");
  rig.form.LostFocus(Ctl::txtSkin);
  EXPECT_EQ(*rig.tips.Current(Ctl::txtSkin),
            CatalogueText(Ctl::txtSkin) + L"\r\nPicture file: not found");
  // The file appears: the next time the box is left, the line says what it is.
  rig.files.Put(L"C:\\skin.bmp", BitmapBytes({.width = 800, .height = 40}));
  rig.form.LostFocus(Ctl::txtSkin);
  EXPECT_EQ(*rig.tips.Current(Ctl::txtSkin),
            CatalogueText(Ctl::txtSkin) + L"\r\nPicture file: 800 \u00d7 40 pixels");
  // Leaving it again unchanged changes nothing; emptying it takes the line away.
  const std::size_t updates = rig.tips.updated.size();
  rig.form.LostFocus(Ctl::txtSkin);
  EXPECT_EQ(rig.tips.updated.size(), updates);
  rig.ui.Type(Ctl::txtSkin, L"");
  rig.form.LostFocus(Ctl::txtSkin);
  EXPECT_EQ(*rig.tips.Current(Ctl::txtSkin), CatalogueText(Ctl::txtSkin));
  // Other boxes are not picture boxes.
  const std::size_t probes = rig.files.probed.size();
  rig.ui.Type(Ctl::txtStart, L"C:\\skin.bmp");
  rig.form.LostFocus(Ctl::txtStart);
  EXPECT_EQ(rig.files.probed.size(), probes);
}

// A picture box's balloon is given the picture the check found, once its tip
// exists, and only what may be shown: a file too large for it says so instead.
TEST(TipWarnings, APictureBoxsBalloonIsGivenThePictureTheCheckFound) {
  using tooltip::PictureKind;
  using tooltip::TipPicture;
  FormRig rig;
  rig.files.Put(L"C:\\logo.bmp", BitmapBytes({.width = 38, .height = 38}));
  rig.files.Put(L"C:\\spin.bmp", BitmapBytes({.width = 22, .height = 220}));
  rig.files.Put(L"C:\\huge.bmp", BitmapBytes({.width = 5000,
                                              .height = 5000,
                                              .bits = 8,
                                              .compression = 1,
                                              .extraBytes = 64 - 5000 * 5000}));
  rig.PutText(settings::kToolbarKey, L"BigBitmap", L"C:\\logo.bmp");
  rig.form.Form_Load();
  EXPECT_TRUE(rig.tips.pictures.empty()) << "no tip yet";
  rig.form.Form_Shown();
  using Given = std::vector<std::pair<Ctl, TipPicture>>;
  EXPECT_EQ(rig.tips.pictures,
            (Given{{Ctl::txtLgStat, {PictureKind::Whole, L"C:\\logo.bmp", 38, 38}}}));
  const struct {
    Ctl box;
    std::wstring typed;
    std::optional<TipPicture> given;  // none: the port is not told again
    std::wstring_view lines;
  } steps[] = {
      {Ctl::txtSmBmp, L"C:\\spin.bmp", TipPicture{PictureKind::Frames, L"C:\\spin.bmp", 22, 220},
       L"\r\nPicture file: 22 \u00d7 220 pixels, 10 frames"},
      {Ctl::txtSmBmp, L"C:\\spin.bmp", std::nullopt,
       L"\r\nPicture file: 22 \u00d7 220 pixels, 10 frames"},
      {Ctl::txtSkin, L"C:\\huge.bmp", std::nullopt,
       L"\r\nPicture file: 5000 \u00d7 5000 pixels\r\nPicture too large to show"},
      {Ctl::txtLgStat, L"C:\\huge.bmp", TipPicture{},
       L"\r\nPicture file: 5000 \u00d7 5000 pixels (IE expects 38 \u00d7 38)\r\n"
       L"Picture too large to show"},
      {Ctl::txtSmBmp, L"", TipPicture{}, L""},
  };
  for (const auto& step : steps) {
    const std::size_t before = rig.tips.pictures.size();
    rig.ui.Type(step.box, step.typed);
    rig.form.LostFocus(step.box);
    EXPECT_EQ(*rig.tips.Current(step.box), CatalogueText(step.box) + std::wstring(step.lines));
    if (!step.given) {
      EXPECT_EQ(rig.tips.pictures.size(), before) << "unchanged";
      continue;
    }
    ASSERT_EQ(rig.tips.pictures.size(), before + 1);
    EXPECT_EQ(rig.tips.pictures.back(), std::pair(step.box, *step.given));
  }
}

TEST(TipWarnings, AControlWithoutATipKeepsItsLineForWhenItGetsOne) {
  FormRig rig;
  rig.tips.failFor = Ctl::txtLgStat;
  rig.form.Form_Load();
  rig.form.Form_Shown();
  rig.ui.Type(Ctl::txtLgStat, L"C:\\x.bmp");
  rig.form.LostFocus(Ctl::txtLgStat);
  for (const auto& [control, text] : rig.tips.updated) EXPECT_NE(control, Ctl::txtLgStat);
  EXPECT_EQ(rig.form.TipTextOf(Ctl::txtLgStat),
            CatalogueText(Ctl::txtLgStat) + L"\r\nPicture file: not found");
}

}  // namespace
}  // namespace tavlin::testing

namespace tavlin::testing {
namespace {

// F1 shows the focused control's balloon as it reads now; Escape, a mouse
// button or the focus moving on hides it, and Escape closes the window only
// when no such balloon shows. The screen reader hears the same text on one line.
TEST(KeyboardTips, F1ShowsTheBalloonUntilEscapeAClickOrTheFocusMovesOn) {
  FormRig rig;
  rig.PutText(settings::kToolbarKey, L"SmallBitmap", L"C:\\missing.bmp");
  rig.form.Form_Load();
  EXPECT_FALSE(rig.form.HelpKey(Ctl::txtSmStat)) << "no balloon before the tips exist";
  rig.form.Form_Shown();
  const std::wstring tip = CatalogueText(Ctl::txtSmStat) + L"\r\nPicture file: not found";
  EXPECT_EQ(rig.form.AccessibleDescription(Ctl::txtSmStat),
            L"Small static picture that is displayed in the upper right-hand corner when no "
            L"activity is taking place Picture file: not found");
  EXPECT_EQ(rig.form.AccessibleDescription(Ctl::cmdBmp_3), L"") << "a button without a balloon";

  const struct {
    const char* how;
    void (*hide)(app::frmMain&);
  } ways[] = {
      {"Escape", [](app::frmMain& f) { f.CancelKey(); }},
      {"a click", [](app::frmMain& f) { f.PointerPressed(); }},
      {"the focus on another box", [](app::frmMain& f) { f.FocusNowOn(Ctl::txtLgStat); }},
      {"the focus nowhere", [](app::frmMain& f) { f.FocusNowOn(std::nullopt); }},
  };
  for (const auto& way : ways) {
    ASSERT_TRUE(rig.form.HelpKey(Ctl::txtSmStat)) << way.how;
    EXPECT_EQ(rig.tips.keyboard, std::pair(Ctl::txtSmStat, tip)) << way.how;
    rig.form.FocusNowOn(Ctl::txtSmStat);  // typing in the box keeps it
    ASSERT_TRUE(rig.tips.keyboard) << way.how;
    way.hide(rig.form);
    EXPECT_FALSE(rig.tips.keyboard) << way.how;
    EXPECT_FALSE(rig.ui.closed) << way.how;
  }
  EXPECT_FALSE(rig.form.HelpKey(Ctl::cmdBmp_3)) << "no balloon to show";
  rig.form.CancelKey();
  EXPECT_TRUE(rig.ui.closed) << "with no balloon showing, Escape closes";
}

}  // namespace
}  // namespace tavlin::testing
