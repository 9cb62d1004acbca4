// The help balloons of the main window: the fixed texts, how their lines are
// joined and broken, and how start-up attaches them.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "form_rig.h"
#include "tooltip/tip_catalogue.h"

namespace tavlin::testing {
namespace {

using tooltip::BreakLines;
using tooltip::JoinLines;
using tooltip::TipCatalogue;
using tooltip::TipRow;
using tooltip::TipText;

// The catalogue as a reader sees it: control and the full text with CR LF.
const std::vector<std::pair<Ctl, std::wstring>> kExpected{
    {Ctl::txtVer, L"Currently running\r\nIE version"},
    {Ctl::txtWinTitle, L"Heading of your\r\n IE title bar"},
    {Ctl::txtSkin, L"Give the toolbar a background 'skin'"},
    {Ctl::cboFullScreen, L"Open IE in full screen mode"},
    {Ctl::txtStart, L"Page that is loaded when\r\nIE starts. Home page URL"},
    {Ctl::txtDownload, L"Directory to save\r\ndownload files"},
    {Ctl::txtSaveDir, L"Directory to save web pages \r\nand pictures"},
    {Ctl::txtSmBmp,
     L"Small spinning picture that is displayed\r\nin the upper right-hand corner\r\n"
     L"during long page loads"},
    {Ctl::txtLgBmp,
     L"Large spinning picture that is displayed\r\nin the upper right-hand corner\r\n"
     L"during long page loads"},
    {Ctl::txtSmStat,
     L"Small static picture that is displayed\r\nin the upper right-hand corner\r\n"
     L"when no activity is taking place"},
    {Ctl::txtLgStat,
     L"Large static picture that is displayed\r\nin the upper right-hand corner\r\n"
     L"when no activity is taking place"},
    {Ctl::cmdFavorite, L"Display IE Organize Favorite window"},
    {Ctl::cmdFind, L"Display Windows Search for files or folders window"},
    {Ctl::cmdInet, L"Display IE Internet Options window"},
    {Ctl::cmdReset, L"Set IE to the default\r\npictures and logos"},
    {Ctl::cmbGo_1, L"Close Tavlin "},
    {Ctl::cmbGo_0, L"Apply settings and changes.\r\nRestart a new IE window to see your changes."},
};

std::vector<std::pair<Ctl, std::wstring>> CatalogueTexts() {
  std::vector<std::pair<Ctl, std::wstring>> texts;
  for (const TipRow& row : TipCatalogue()) texts.emplace_back(row.control, TipText(row));
  return texts;
}

TEST(TipCatalogue, SeventeenRowsWithTheirExactTextsInOrder) {
  EXPECT_EQ(CatalogueTexts(), kExpected);
}

TEST(TipCatalogue, LineCountsAndSpacesThatBelongToTheTexts) {
  const auto lines = [](Ctl c) {
    for (const TipRow& row : TipCatalogue())
      if (row.control == c) return row.lines.size();
    return std::size_t{0};
  };
  EXPECT_EQ(lines(Ctl::txtSmBmp), 3u);
  EXPECT_EQ(lines(Ctl::cboFullScreen), 1u);
  EXPECT_EQ(lines(Ctl::cmbGo_0), 2u);
  EXPECT_EQ(lines(Ctl::cmbGo_1), 1u);
  const auto rows = TipCatalogue();
  EXPECT_EQ(rows[1].lines[1], L" IE title bar");
  EXPECT_EQ(rows[6].lines[0], L"Directory to save web pages ");
  EXPECT_EQ(rows[15].lines[0], L"Close Tavlin ");
}

TEST(TipCatalogue, EachControlOnceAndOnlyTheListedOnes) {
  std::set<Ctl> seen;
  for (const TipRow& row : TipCatalogue()) {
    EXPECT_TRUE(seen.insert(row.control).second) << "twice: " << int(row.control);
    for (const std::wstring_view line : row.lines) {
      EXPECT_EQ(line.find(L'|'), std::wstring_view::npos)
          << "no text is split by the line-break rule";
      EXPECT_EQ(line.find_first_of(L"\r\n"), std::wstring_view::npos);
      EXPECT_FALSE(line.empty());
    }
  }
  for (const Ctl none :
       {Ctl::txtSearch, Ctl::cmbdir_0, Ctl::cmbdir_1, Ctl::cmdBmp_0, Ctl::cmdBmp_1, Ctl::cmdBmp_2,
        Ctl::cmdBmp_3, Ctl::cmdBmp_4, Ctl::cmdAbout, Ctl::Frame1, Ctl::Label13, Ctl::imgLogo})
    EXPECT_EQ(seen.count(none), 0u) << int(none);
}

TEST(TipText, JoinsPiecesWithCrLfBetweenOnly) {
  struct Case {
    std::vector<std::wstring_view> lines;
    std::wstring joined;
  };
  const Case cases[] = {
      {{}, L""},
      {{L"one"}, L"one"},
      {{L"one", L"two"}, L"one\r\ntwo"},
      {{L"a ", L" b", L"c"}, L"a \r\n b\r\nc"},
      {{L"", L"b"}, L"\r\nb"},
      {{L"a", L""}, L"a\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(JoinLines(c.lines), c.joined) << c.joined.size();
}

TEST(TipText, BarBecomesCrLfEverywhereAndNothingElseChanges) {
  struct Case {
    std::wstring_view text, broken;
  };
  const Case cases[] = {
      {L"Top|Bottom", L"Top\r\nBottom"},
      {L"a|b|c", L"a\r\nb\r\nc"},
      {L"||", L"\r\n\r\n"},
      {L"|edge|", L"\r\nedge\r\n"},
      {L"kept\r\nas is", L"kept\r\nas is"},
      {L"mixed\r\nand|bar", L"mixed\r\nand\r\nbar"},
      {L"no bar at all", L"no bar at all"},
      {L"", L""},
      {L"Grüße|日本", L"Grüße\r\n日本"},
      {L"\u00a6 broken bar is not a bar", L"\u00a6 broken bar is not a bar"},
  };
  for (const Case& c : cases) EXPECT_EQ(BreakLines(c.text), c.broken);
}

TEST(SetToolTips, AttachesEveryRowInCatalogueOrder) {
  FormRig rig;
  rig.form.SetToolTips();
  EXPECT_EQ(rig.tips.created, kExpected);
}

TEST(SetToolTips, FailingRowIsSkippedAndTheRestStillAttached) {
  for (const Ctl failing : {Ctl::txtVer, Ctl::txtSkin, Ctl::cmbGo_0}) {
    FormRig rig;
    rig.tips.failFor = failing;
    rig.form.SetToolTips();
    auto expected = kExpected;
    std::erase_if(expected, [&](const auto& row) { return row.first == failing; });
    EXPECT_EQ(rig.tips.created, expected) << int(failing);
  }
}

TEST(SetToolTips, StartUpAttachesTheFixedTextsOnce) {
  // Whatever the registry holds, the tips are the same fixed texts, once each.
  FormRig plain;
  plain.form.Form_Load();
  EXPECT_EQ(plain.tips.created, kExpected);

  FormRig seeded;
  seeded.PutText(settings::kMainKey, L"Start Page", L"http://example.org/|x");
  seeded.PutText(settings::kMainKey, L"Window Title", L"My title");
  seeded.version.major = 5;
  seeded.form.Form_Load();
  EXPECT_EQ(seeded.tips.created, kExpected);
  // Applying and resetting leave the tips alone.
  seeded.form.cmbGo_Click(0);
  seeded.form.cmdReset_Click();
  EXPECT_EQ(seeded.tips.created.size(), kExpected.size());
}

}  // namespace
}  // namespace tavlin::testing
