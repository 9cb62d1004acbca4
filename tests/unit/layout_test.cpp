// The layout table's arithmetic and orderings, the click routes that lean on
// it, and the colour rule.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "app/colours.h"
#include "app/frmMain.h"
#include "app/layout.h"
#include "app/links.h"

namespace tavlin::testing {
namespace {

using namespace app;

TEST(Twips, ConvertAtTheWindowsDpi) {
  EXPECT_EQ(TwipsToPixels(15, 96), 1);
  EXPECT_EQ(TwipsToPixels(6915, 96), 461);
  EXPECT_EQ(TwipsToPixels(7155, 96), 477);
  EXPECT_EQ(TwipsToPixels(6915, 120), 576);  // 576.25
  EXPECT_EQ(TwipsToPixels(6915, 144), 692);  // 691.5 rounds up
  EXPECT_EQ(TwipsToPixels(0, 144), 0);
  EXPECT_EQ(TwipsToPixels(-15, 96), -1);
  EXPECT_EQ(FontHeightPixels(FontOf(Font::Tahoma), 96), 11);
  EXPECT_EQ(FontHeightPixels(FontOf(Font::TahomaLargeBold), 96), 16);
  EXPECT_EQ(FontHeightPixels(FontOf(Font::TahomaSmall), 96), 9);
  EXPECT_EQ(FontHeightPixels(FontOf(Font::Tahoma), 144), 17);
}

TEST(Fonts, BoldAndUnderlinedAsTheirNamesSay) {
  const struct {
    Font font;
    bool bold, underline;
  } cases[] = {
      {Font::Tahoma, false, false},         {Font::SansSerif, false, false},
      {Font::TahomaBold, true, false},      {Font::TahomaBoldUnderline, true, true},
      {Font::TahomaUnderline, false, true}, {Font::TahomaLargeBold, true, false},
      {Font::TahomaSmall, false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FontOf(c.font).bold, c.bold) << static_cast<int>(c.font);
    EXPECT_EQ(FontOf(c.font).underline, c.underline) << static_cast<int>(c.font);
  }
  EXPECT_EQ(FontOf(Font::SansSerif).face, L"MS Sans Serif");
}

TEST(LayoutTable, EveryControlHasOneRowInsideItsContainer) {
  std::set<Ctl> seen;
  for (const ControlSpec& s : Layout()) {
    EXPECT_TRUE(seen.insert(s.id).second) << s.name.data();
    EXPECT_EQ(&RowOf(s.id), &s);
    // The hidden, inert Frame3 is narrower than its two controls by design.
    if (s.container == Ctl::frmMain || s.container == Ctl::Frame3) continue;
    const ControlSpec& box = RowOf(s.container);
    EXPECT_TRUE(box.kind == Kind::Panel || box.kind == Kind::Frame);
    EXPECT_LE(s.left + s.width, box.width) << std::wstring(s.name);
    EXPECT_LE(s.top + s.height, box.height) << std::wstring(s.name);
  }
  EXPECT_EQ(seen.size(), static_cast<std::size_t>(kControlCount - 1));
}

TEST(LayoutTable, CaptionsShowDoubledAmpersandsOnce) {
  EXPECT_EQ(ShownCaption(RowOf(Ctl::Frame5).caption), L"Window & Toolbar");
  EXPECT_EQ(ShownCaption(RowOf(Ctl::Frame2).caption), L"Pictures & Spinning Logos");
  EXPECT_EQ(ShownCaption(RowOf(Ctl::cmdReset).caption), L"Reset Pictures & Logos to their Default");
  EXPECT_EQ(ShownCaption(L"&File"), L"File");
  // No caption carries a mnemonic: every ampersand is doubled.
  for (const ControlSpec& s : Layout()) {
    std::wstring rest(s.caption);
    for (auto at = rest.find(L"&&"); at != std::wstring::npos; at = rest.find(L"&&"))
      rest.erase(at, 2);
    EXPECT_EQ(rest.find(L'&'), std::wstring::npos) << std::wstring(s.name);
  }
}

TEST(TabOrder, RunsAcrossFramesByDesignIndex) {
  const std::vector<Ctl> order = TabOrder();
  const std::vector<Ctl> head(order.begin(), order.begin() + 10);
  EXPECT_EQ(head, (std::vector<Ctl>{Ctl::txtVer, Ctl::txtWinTitle, Ctl::txtStart,
                                    Ctl::cboFullScreen, Ctl::txtSkin, Ctl::txtSmStat, Ctl::txtSmBmp,
                                    Ctl::txtLgStat, Ctl::txtLgBmp, Ctl::cmdReset}));
  EXPECT_EQ(order.back(), Ctl::cmbGo_0);
  // Creation order puts Frame2's children (10..20) before Frame4's (22..25).
  const std::vector<Ctl> panel = CreationOrder(Ctl::frmMenu_0);
  const auto at = [&](Ctl c) { return std::find(panel.begin(), panel.end(), c) - panel.begin(); };
  EXPECT_LT(at(Ctl::Frame5), at(Ctl::Frame2));
  EXPECT_LT(at(Ctl::Frame2), at(Ctl::Frame4));
  EXPECT_LT(at(Ctl::Frame4), at(Ctl::Frame1));
  EXPECT_LT(at(Ctl::Frame1), at(Ctl::cmbGo_1));
  EXPECT_LT(at(Ctl::cmbGo_1), at(Ctl::cmbGo_0));
}

// A box's label is made just before it, in its container, beside it on its
// left: the platform names the box after it. Labels take no focus, so the
// whole window's walk still meets the focusable controls in tab order.
TEST(ZOrder, EachBoxComesRightAfterItsLabelAndTheTabWalkStays) {
  // Panel by panel: only one of the two takes the keyboard at a time.
  for (Ctl panel : {Ctl::frmMenu_0, Ctl::frmMenu_1}) {
    std::vector<Ctl> walk;
    const auto visit = [&](auto& self, Ctl container) -> void {
      for (Ctl c : CreationOrder(container)) {
        walk.push_back(c);
        self(self, c);
      }
    };
    visit(visit, panel);
    const auto inWalk = [&](Ctl c) { return std::find(walk.begin(), walk.end(), c) != walk.end(); };
    std::vector<Ctl> order = TabOrder(), focusable;
    std::erase_if(order, [&](Ctl c) { return !inWalk(c); });
    for (Ctl c : walk)
      if (std::find(order.begin(), order.end(), c) != order.end()) focusable.push_back(c);
    EXPECT_FALSE(order.empty());
    EXPECT_EQ(focusable, order);
  }

  int labelled = 0;
  for (const ControlSpec& box : Layout()) {
    const auto label = LabelOf(box.id);
    if (!label) continue;
    ++labelled;
    const std::vector<Ctl> siblings = CreationOrder(box.container);
    const auto at = std::find(siblings.begin(), siblings.end(), box.id);
    ASSERT_NE(at, siblings.begin()) << std::wstring(box.name);
    EXPECT_EQ(*(at - 1), *label) << std::wstring(box.name);
    const ControlSpec& l = RowOf(*label);
    const int middle = l.top + l.height / 2;
    EXPECT_TRUE(l.left < box.left && box.top <= middle && middle < box.top + box.height)
        << std::wstring(box.name) << ": the label stands level with its box, on its left";
  }
  EXPECT_EQ(WidthBesideItsBox(RowOf(Ctl::Label2), 103, 98), 98) << "stops at its box";
  EXPECT_EQ(WidthBesideItsBox(RowOf(Ctl::Label10), 103, 98), 103) << "a label of no box";
  EXPECT_EQ(labelled, 11) << "nine text boxes, the full-screen list and the hidden search box";
}

// What a screen reader calls a box or a "..." button; controls with a caption
// of their own get no name here.
TEST(AccessibleNames, BoxesByTheirLabelButtonsByTheBoxTheyFill) {
  const struct {
    Ctl control;
    std::wstring_view name;
  } cases[] = {
      {Ctl::txtStart, L"Start Page"},
      {Ctl::cboFullScreen, L"Full Screen Startup"},
      {Ctl::txtSmBmp, L"Small Spinning logo"},  // the label ends in a space
      {Ctl::txtSaveDir, L"Save Web Pages"},     // and so does this one
      {Ctl::cmdBmp_0, L"Toolbar Skin: choose a bitmap"},
      {Ctl::cmdBmp_1, L"Small Spinning logo: choose a bitmap"},
      {Ctl::cmdBmp_2, L"Large Spinning Logo: choose a bitmap"},
      {Ctl::cmdBmp_3, L"Small Static logo: choose a bitmap"},
      {Ctl::cmdBmp_4, L"Large Static Logo: choose a bitmap"},
      {Ctl::cmbdir_0, L"Save Download Files: choose a folder"},
      {Ctl::cmbdir_1, L"Save Web Pages: choose a folder"},
      {Ctl::txtVer, L"Internet Explorer version"},
      {Ctl::Label13, L"About Tavlin"},
      {Ctl::lblOrv_0, L"Get Orvalen"},
      {Ctl::imgLogo, L"Korvanti Technology home page"},
      {Ctl::cmdReset, L""},
      {Ctl::cmbGo_0, L""},
      {Ctl::Label4, L""},
      {Ctl::lblKwy, L""},  // a link the keyboard does not stop at: its caption names it
      {Ctl::frmMain, L""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(AccessibleName(c.control), c.name) << static_cast<int>(c.control);
  // A screen reader hears a link stop as a link, " About ..." as a button.
  EXPECT_EQ(AccessibleKindOf(Ctl::lblOrv_0), AccessibleKind::Link);
  EXPECT_EQ(AccessibleKindOf(Ctl::imgLogo), AccessibleKind::Link);
  EXPECT_EQ(AccessibleKindOf(Ctl::Label13), AccessibleKind::Button);
  EXPECT_EQ(AccessibleKindOf(Ctl::lblKwy), AccessibleKind::Standard) << "not a stop";
}

// The keyboard reaches " About ..." and one link for each page a panel opens,
// in reading order, after the panel's other stops and before its OK and Apply.
TEST(TabOrder, EachPanelReachesEveryPageItOpensOnceBeforeItsOKAndApply) {
  const auto within = [](Ctl panel, auto keep) {
    std::vector<Ctl> found;
    for (const ControlSpec& s : Layout())
      if (IsWithin(s.id, panel) && keep(s.id)) found.push_back(s.id);
    return found;
  };
  std::vector<Ctl> settings, about;
  for (Ctl c : TabOrder()) (IsWithin(c, Ctl::frmMenu_0) ? settings : about).push_back(c);
  EXPECT_EQ(
      std::vector<Ctl>(settings.end() - 8, settings.end()),
      (std::vector<Ctl>{Ctl::cmdInet, Ctl::lblProducts_0, Ctl::lblProducts_1, Ctl::lblProducts_2,
                        Ctl::lblCompany, Ctl::Label13, Ctl::cmbGo_1, Ctl::cmbGo_0}));
  EXPECT_EQ(about, (std::vector<Ctl>{Ctl::lblOrv_2, Ctl::lblOrv_0, Ctl::imgLogo, Ctl::lbllogo_0,
                                     Ctl::cmdAbout}));
  for (Ctl panel : {Ctl::frmMenu_0, Ctl::frmMenu_1}) {
    std::set<Page> shown, reached;
    for (Ctl c : within(panel, [](Ctl c) { return PageOf(c).has_value(); }))
      shown.insert(*PageOf(c));
    for (Ctl c : within(panel, [](Ctl c) { return IsLinkStop(c) && PageOf(c); }))
      EXPECT_TRUE(reached.insert(*PageOf(c)).second) << "a page twice: " << int(c);
    EXPECT_EQ(reached, shown) << "every page the panel opens";
  }
}

// What the window host makes of a row beyond its place: a drop-down's window
// holds its list, a line's stroke, a frame's caption, a caption drawn narrower.
TEST(WindowHost, HeightsFrameCaptionsAndNarrowerCaptions) {
  EXPECT_EQ(WindowHeight(Kind::Combo, 21), 84);
  EXPECT_EQ(WindowHeight(Kind::Line, 0), 2);
  EXPECT_EQ(WindowHeight(Kind::TextBox, 19), 19);
  EXPECT_EQ(ComboSelectionHeight(21), 15);
  EXPECT_EQ(FrameCaptionAt(40, 13, 96).edgeTop, 6);
  EXPECT_EQ(FrameCaptionAt(40, 13, 96).left, 6);
  EXPECT_EQ(FrameCaptionAt(40, 13, 96).right, 50);
  EXPECT_EQ(FrameCaptionAt(40, 19, 144).left, 10);
  // A link's focus rectangle: one pixel past its text, never past the control.
  EXPECT_EQ(LinkFocusBox(40, 13, 60, 20).width, 41);
  EXPECT_EQ(LinkFocusBox(40, 13, 60, 20).height, 13);
  EXPECT_EQ(LinkFocusBox(70, 13, 60, 11).width, 60);
  EXPECT_EQ(LinkFocusBox(70, 13, 60, 11).height, 11);
  // Character width w draws the caption `perChar` times w wide; -1: no font.
  const struct {
    int perChar, room, failsAt, expected;
  } cases[] = {
      {20, 80, 0, 4},   // the proportional guess (5 * 80 / 100) fits at once
      {30, 80, 0, 2},   // 120 and 90 are too wide: two steps narrower
      {30, 80, 2, 1},   // a width that makes no font is passed over
      {100, 80, 0, 0},  // nothing fits
  };
  for (const auto& c : cases)
    EXPECT_EQ(CondensedCharWidth(5, 100, c.room,
                                 [&](int w) { return w == c.failsAt ? -1 : w * c.perChar; }),
              c.expected)
        << c.perChar;
}

TEST(LabelWidth, OneLineLabelsGrowToTheirCaptionWithinTheirRoom) {
  // width, height, caption width, line height, room
  EXPECT_EQ(FitLabel(96, 13, 113, 13, 300).width, 116);
  EXPECT_EQ(FitLabel(96, 13, 113, 13, 300).textRoom, 0);
  EXPECT_EQ(FitLabel(96, 13, 50, 13, 300).width, 96) << "never shrinks";
  EXPECT_EQ(FitLabel(333, 45, 900, 11, 400).width, 333) << "several lines wrap instead";
  EXPECT_EQ(FitLabel(333, 45, 900, 11, 400).textRoom, 0);
  // Exactly two lines high is a label of several lines, and so is one a pixel
  // short of two lines of its font (Tahoma 6.75 at 96 DPI is 11 pixels high, the
  // About panel's description 21).
  EXPECT_EQ(FitLabel(90, 26, 150, 13, 120).width, 90);
  EXPECT_EQ(FitLabel(90, 26, 150, 13, 120).textRoom, 0);
  EXPECT_EQ(FitLabel(327, 21, 490, 11, 360).width, 327);
  EXPECT_EQ(FitLabel(327, 21, 490, 11, 360).textRoom, 0);
  // The boundary: one and three quarter lines high is still one line, a pixel
  // more wraps.
  EXPECT_EQ(FitLabel(96, 21, 113, 12, 300).width, 116);
  EXPECT_EQ(FitLabel(96, 22, 113, 12, 300).width, 96);
  // "Small Spinning logo" (285 twips high) in Wine 8's Tahoma stays one line and
  // grows to its caption: 19 pixels for a 12-pixel line at 96 DPI, 29 for 19 at
  // 144 DPI (where it had wrapped onto a second line that its height cut).
  EXPECT_EQ(FitLabel(99, 19, 110, 12, 105).width, 105);
  EXPECT_EQ(FitLabel(149, 29, 170, 19, 165).width, 165);
  // Fits with its spare pixels exactly: nothing narrowed.
  EXPECT_EQ(FitLabel(90, 13, 95, 13, 98).width, 98);
  EXPECT_EQ(FitLabel(90, 13, 95, 13, 98).textRoom, 0);
  // Only the spare is lost: the text itself still fits.
  EXPECT_EQ(FitLabel(90, 13, 97, 13, 98).width, 98);
  EXPECT_EQ(FitLabel(90, 13, 97, 13, 98).textRoom, 0);
  // Too wide for the room: narrowed to leave one pixel before the neighbour.
  EXPECT_EQ(FitLabel(90, 13, 101, 13, 98).width, 98);
  EXPECT_EQ(FitLabel(90, 13, 101, 13, 98).textRoom, 97);
  // A design width that already reaches under the neighbour is kept, but the
  // text is still brought within the room the neighbour leaves.
  EXPECT_EQ(FitLabel(103, 13, 104, 13, 98).width, 103);
  EXPECT_EQ(FitLabel(103, 13, 104, 13, 98).textRoom, 97);
}

TEST(LabelWidth, RoomEndsAtTheNeighbourBesideOrTheContainerEdge) {
  // A text box beside it, whatever the label's own design width.
  EXPECT_EQ(RoomToTheRight(RowOf(Ctl::Label2)), 1650 - 180);
  // The drop-down starts higher and reaches lower; the rows still overlap.
  EXPECT_EQ(RoomToTheRight(RowOf(Ctl::Label6)), 1650 - 180);
  // The product list starts a pixel above the heading's bottom edge; it is
  // below the heading, not beside it. The version box is beside it.
  EXPECT_EQ(RoomToTheRight(RowOf(Ctl::Label10)), 5280 - 60);
  // Nothing beside the first product: the panel's edge.
  const ControlSpec& product = RowOf(Ctl::lblProducts_0);
  EXPECT_EQ(RoomToTheRight(product), RowOf(product.container).width - product.left);
}

TEST(ClickRoutes, EachServesControlsOfTheLayoutWithTheIndexItTakes) {
  for (const frmMain::ClickRoute& route : frmMain::ClickRoutes()) {
    int rows = 0;
    for (const ControlSpec& s : Layout()) {
      if (s.name != route.name) continue;
      ++rows;
      EXPECT_EQ(s.index >= 0, route.takesIndex) << std::wstring(s.name) << " " << s.index;
    }
    EXPECT_GT(rows, 0) << std::wstring(route.name) << " names no control";
  }
}

TEST(Colours, CaptionTextBackgroundGivesWayOnlyWhenUnreadable) {
  const Rgb black{0, 0, 0}, white{255, 255, 255}, cream{255, 255, 225};
  EXPECT_NEAR(ContrastRatio(black, white), 21.0, 1e-9);
  EXPECT_NEAR(ContrastRatio(white, white), 1.0, 1e-9);
  EXPECT_EQ(EffectiveBack(kColourCaptionText, black, black), kColourWindow);
  EXPECT_EQ(EffectiveBack(kColourCaptionText, white, black), kColourCaptionText);
  EXPECT_EQ(EffectiveBack(kColourCaptionText, cream, black), kColourCaptionText);
  // Between 3:1 (enough only for large text) and 4.5:1: still too little.
  const Rgb grey{100, 100, 100};
  EXPECT_GT(ContrastRatio(grey, black), 3.0);
  EXPECT_LT(ContrastRatio(grey, black), 4.5);
  EXPECT_EQ(EffectiveBack(kColourCaptionText, grey, black), kColourWindow);
  EXPECT_EQ(EffectiveBack(kColourBtnFace, black, black), kColourBtnFace)
      << "only colour 9 is mended";
}

}  // namespace
}  // namespace tavlin::testing
