// The help balloons' texts, their line breaks, and how start-up attaches them.
#include <gtest/gtest.h>

#include "form_rig.h"
#include "tooltip/tip_catalogue.h"

namespace tavlin::testing {
namespace {

using namespace tooltip;

std::vector<std::pair<Ctl, std::wstring>> Catalogue() {
  std::vector<std::pair<Ctl, std::wstring>> rows;
  for (const TipRow& row : TipCatalogue()) rows.emplace_back(row.control, TipText(row));
  return rows;
}

TEST(TipCatalogue, SeventeenControlsInOrderWithTheirExactTexts) {
  const std::vector<Ctl> order{Ctl::txtVer,   Ctl::txtWinTitle, Ctl::txtSkin,    Ctl::cboFullScreen,
                               Ctl::txtStart, Ctl::txtDownload, Ctl::txtSaveDir, Ctl::txtSmBmp,
                               Ctl::txtLgBmp, Ctl::txtSmStat,   Ctl::txtLgStat,  Ctl::cmdFavorite,
                               Ctl::cmdFind,  Ctl::cmdInet,     Ctl::cmdReset,   Ctl::cmbGo_1,
                               Ctl::cmbGo_0};
  const auto rows = Catalogue();
  ASSERT_EQ(rows.size(), order.size());
  for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i].first, order[i]) << i;
  EXPECT_EQ(rows[1].second, L"Heading of your\r\n IE title bar");
  EXPECT_EQ(rows[3].second, L"Open IE in full screen mode");
  EXPECT_EQ(rows[6].second, L"Directory to save web pages \r\nand pictures");
  EXPECT_EQ(rows[7].second,
            L"Small spinning picture that is displayed\r\nin the upper right-hand corner\r\n"
            L"during long page loads");
  EXPECT_EQ(rows[15].second, L"Close Tavlin ");
  EXPECT_EQ(rows[16].second,
            L"Apply settings and changes.\r\nRestart a new IE window to see your changes.");
  for (const auto& [control, text] : rows) EXPECT_EQ(text.find(L'|'), std::wstring::npos);
}

TEST(TipText, JoinWithCrLfBetweenAndBreakAtEveryBar) {
  using Lines = std::vector<std::wstring_view>;
  EXPECT_EQ(JoinLines(Lines{}), L"");
  EXPECT_EQ(JoinLines(Lines{L"one"}), L"one");
  EXPECT_EQ(JoinLines(Lines{L"a ", L" b", L"c"}), L"a \r\n b\r\nc");
  const struct {
    std::wstring_view text, broken;
  } cases[] = {{L"Top|Bottom", L"Top\r\nBottom"},
               {L"|a||", L"\r\na\r\n\r\n"},
               {L"kept\r\nas|is", L"kept\r\nas\r\nis"},
               {L"Grüße|日本", L"Grüße\r\n日本"},
               {L"\u00a6 is no bar", L"\u00a6 is no bar"}};
  for (const auto& c : cases) EXPECT_EQ(BreakLines(c.text), c.broken);
}

TEST(SetToolTips, AttachedOnceAfterTheFirstPaintEveryRowAndSkipsOnlyAFailingOne) {
  FormRig rig;
  rig.PutText(settings::kMainKey, L"Start Page", L"http://example.org/|x");
  rig.form.Form_Load();
  EXPECT_TRUE(rig.tips.created.empty()) << "no tip before the window is on the screen";
  rig.form.Form_Shown();  // the texts are fixed, whatever the registry holds
  EXPECT_EQ(rig.tips.created, Catalogue());
  rig.form.Form_Shown();
  EXPECT_EQ(rig.tips.created.size(), 17u) << "later paints attach nothing more";
  for (const Ctl failing : {Ctl::txtVer, Ctl::txtSkin, Ctl::cmbGo_0}) {
    FormRig one;
    one.tips.failFor = failing;
    one.form.SetToolTips();
    auto expected = Catalogue();
    std::erase_if(expected, [&](const auto& row) { return row.first == failing; });
    EXPECT_EQ(one.tips.created, expected) << int(failing);
  }
}

}  // namespace
}  // namespace tavlin::testing
