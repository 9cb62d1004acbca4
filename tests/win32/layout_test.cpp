// The real window against its layout table: every control's class, text,
// rectangle (client pixels at 96 DPI), visibility and the keyboard's tab walk.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "app/layout.h"
#include "app/window_win32.h"

namespace tavlin::testing {
namespace {

using namespace app;

std::wstring ClassOf(HWND h) {
  wchar_t name[64] = {};
  GetClassNameW(h, name, 64);
  return name;
}

std::wstring TextOf(HWND h) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(h)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(h, text.data(), static_cast<int>(text.size()))));
  return text;
}

RECT RectInParent(HWND h) {
  RECT r;
  GetWindowRect(h, &r);
  MapWindowPoints(nullptr, GetParent(h), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

const wchar_t* ExpectedClass(Kind k) {
  switch (k) {
    case Kind::Panel:
    case Kind::Frame:
      return L"TavlinPanel";
    case Kind::Button:
      return L"Button";
    case Kind::TextBox:
      return L"Edit";
    case Kind::Combo:
      return L"ComboBox";
    default:
      return L"Static";
  }
}

// Wine 10, like Windows, scales the windows of a program that does not declare
// its DPI awareness: the rectangles below would then be 96 DPI figures for a
// window at another DPI. The test programs' manifest declares them aware.
TEST(TestProgram, IsPerMonitorDpiAware) {
  EXPECT_EQ(GetAwarenessFromDpiAwarenessContext(GetThreadDpiAwarenessContext()),
            DPI_AWARENESS_PER_MONITOR_AWARE);
}

// As when the window is moved to a monitor of that DPI.
void MoveWindowTo(const MainWindow& window, int dpi) {
  RECT suggested;
  GetWindowRect(window.hwnd(), &suggested);
  SendMessageW(window.hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
               reinterpret_cast<LPARAM>(&suggested));
}

class Layout96 : public ::testing::Test {
 protected:
  // The whole window: the About panel's controls as well, which the program
  // makes only when that panel is first shown.
  void SetUp() override {
    ASSERT_TRUE(window.Create());
    window.CreateAboutControls();
  }
  void MoveTo(int dpi) { MoveWindowTo(window, dpi); }
  MainWindow window{GetModuleHandleW(nullptr)};
};

bool InAboutPanel(const ControlSpec& s) {
  for (Ctl c = s.container; c != Ctl::frmMain; c = RowOf(c).container)
    if (c == Ctl::frmMenu_1) return true;
  return false;
}

// The children of a window from the top of the z-order down.
std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> children;
  for (HWND h = GetWindow(parent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
    children.push_back(h);
  return children;
}

// Before the first paint only what can be seen is made: the About panel is
// there, empty, until it is first shown; then its controls are made once, at
// the places and in the order of the design, at the DPI the window has then.
TEST(AboutPanel, ItsControlsAreMadeWhenItIsFirstShown) {
  MainWindow window{GetModuleHandleW(nullptr)};
  ASSERT_TRUE(window.Create());
  const HWND about = window.Control(Ctl::frmMenu_1);
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(GetWindow(about, GW_CHILD), nullptr);
  for (const ControlSpec& s : Layout()) {
    SCOPED_TRACE(std::wstring(s.name) + L"(" + std::to_wstring(s.index) + L")");
    EXPECT_EQ(window.Control(s.id) == nullptr, InAboutPanel(s));
  }
  // A move to another DPI before that: the panel is laid out where it is shown.
  MoveWindowTo(window, 144);

  window.SetVisible(Ctl::frmMenu_1, true);
  EXPECT_TRUE(GetWindowLongW(about, GWL_STYLE) & WS_VISIBLE);
  for (const ControlSpec& s : Layout()) {
    if (!InAboutPanel(s)) continue;
    SCOPED_TRACE(std::wstring(s.name) + L"(" + std::to_wstring(s.index) + L")");
    const HWND h = window.Control(s.id);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(GetParent(h), window.Control(s.container));
    EXPECT_EQ(TextOf(h), s.caption);
    const RECT r = RectInParent(h);
    EXPECT_EQ(r.left, TwipsToPixels(s.left, 144));
    EXPECT_EQ(r.top, TwipsToPixels(s.top, 144));
  }
  for (Ctl container : {Ctl::frmMenu_1, Ctl::Frame10}) {
    std::vector<HWND> expected;
    for (Ctl c : CreationOrder(container)) expected.push_back(window.Control(c));
    EXPECT_EQ(Children(window.Control(container)), expected) << "the design's order";
  }
  // (The logo is the program's resource, not this test program's: the end-to-end
  // logo test looks at it on both panels.)

  const HWND label = window.Control(Ctl::Label14);
  window.SetVisible(Ctl::frmMenu_1, false);
  window.SetVisible(Ctl::frmMenu_1, true);
  EXPECT_EQ(window.Control(Ctl::Label14), label) << "made once";
  EXPECT_EQ(Children(about).size(), CreationOrder(Ctl::frmMenu_1).size());
}

TEST_F(Layout96, EveryControlMatchesItsRow) {
  ASSERT_EQ(window.Dpi(), 96) << "this suite runs unscaled";
  RECT client;
  GetClientRect(window.hwnd(), &client);
  EXPECT_EQ(client.right, 461);   // 6915 twips
  EXPECT_EQ(client.bottom, 477);  // 7155 twips
  const LONG style = GetWindowLongW(window.hwnd(), GWL_STYLE);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  EXPECT_TRUE(style & WS_SYSMENU);

  for (const ControlSpec& s : Layout()) {
    SCOPED_TRACE(std::wstring(s.name) + L"(" + std::to_wstring(s.index) + L")");
    const HWND h = window.Control(s.id);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(GetDlgCtrlID(h), ControlIdOf(s.id));
    EXPECT_EQ(ClassOf(h), ExpectedClass(s.kind));
    const HWND parent = s.container == Ctl::frmMain ? window.hwnd() : window.Control(s.container);
    EXPECT_EQ(GetParent(h), parent);
    if (s.kind != Kind::Combo) {
      EXPECT_EQ(TextOf(h), s.caption);
    }
    EXPECT_EQ(IsWindowEnabled(h) != FALSE, s.enabled);
    EXPECT_EQ((GetWindowLongW(h, GWL_STYLE) & WS_VISIBLE) != 0, s.visible);

    const RECT r = RectInParent(h);
    EXPECT_EQ(r.left, TwipsToPixels(s.left, 96));
    EXPECT_EQ(r.top, TwipsToPixels(s.top, 96));
    if (s.kind == Kind::Label) {
      EXPECT_GE(r.right - r.left, TwipsToPixels(s.width, 96)) << "a label may only grow";
    } else {
      EXPECT_EQ(r.right - r.left, TwipsToPixels(s.width, 96));
    }
    if (s.kind == Kind::Line) {
      EXPECT_EQ(r.bottom - r.top, 2);
    } else if (s.kind != Kind::Combo) {  // a drop-down's height is its list's
      EXPECT_EQ(r.bottom - r.top, TwipsToPixels(s.height, 96));
    }
  }
  // The About panel covers the settings panel completely.
  const RECT settings = RectInParent(window.Control(Ctl::frmMenu_0));
  const RECT about = RectInParent(window.Control(Ctl::frmMenu_1));
  EXPECT_EQ(about.left, settings.left);
  EXPECT_EQ(about.top, settings.top);
  EXPECT_EQ(about.right, settings.right);
  EXPECT_EQ(about.bottom, settings.bottom + 2);
}

TEST_F(Layout96, TabWalksTheFocusableControlsInDesignOrder) {
  ShowWindow(window.Control(Ctl::frmMenu_1), SW_HIDE);
  EnableWindow(window.Control(Ctl::frmMenu_1), FALSE);
  ShowWindow(window.hwnd(), SW_SHOWNA);
  // The controls a user can reach: enabled and shown, in containers that are too.
  const auto reachable = [&](HWND h) {
    for (; h && h != window.hwnd(); h = GetParent(h))
      if (!IsWindowEnabled(h) || !(GetWindowLongW(h, GWL_STYLE) & WS_VISIBLE)) return false;
    return true;
  };
  std::vector<Ctl> expected;
  for (Ctl c : TabOrder())
    if (reachable(window.Control(c))) expected.push_back(c);
  ASSERT_FALSE(expected.empty());
  ASSERT_EQ(expected.front(), Ctl::txtWinTitle);
  ASSERT_EQ(expected.back(), Ctl::cmbGo_0);
  std::vector<Ctl> walked;
  HWND at = window.Control(expected.front());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    walked.push_back(ControlOfId(GetDlgCtrlID(at)));
    at = GetNextDlgTabItem(window.hwnd(), at, FALSE);
  }
  EXPECT_EQ(walked, expected);
  EXPECT_EQ(at, window.Control(expected.front())) << "the walk wraps around";
  EXPECT_EQ(GetNextDlgTabItem(window.hwnd(), window.Control(Ctl::txtWinTitle), TRUE),
            window.Control(Ctl::cmbGo_0))
      << "Shift+Tab goes backwards";
}

// Every caption on one line shows whole: within its label, and clear of the
// control beside it, even where the system's Tahoma is wider than the design's.
// Returns how many labels it checked.
int ExpectOneLineCaptionsWhole(const MainWindow& window) {
  int checked = 0;
  for (const ControlSpec& s : Layout()) {
    if (s.kind != Kind::Label) continue;
    const HWND h = window.Control(s.id);
    const HDC dc = GetDC(h);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0)));
    RECT text{0, 0, 0, 0};
    const std::wstring caption = TextOf(h);
    DrawTextW(dc, caption.c_str(), -1, &text, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    ReleaseDC(h, dc);
    RECT r;
    GetClientRect(h, &r);
    if (2 * r.bottom <= 3 * text.bottom) {  // one line high, not nearer two
      SCOPED_TRACE(std::wstring(s.name));
      EXPECT_LE(text.right, r.right);
      EXPECT_LT(text.right, TwipsToPixels(RoomToTheRight(s), window.Dpi()));
      ++checked;
    }
  }
  return checked;
}

TEST_F(Layout96, OneLineCaptionsShowWhole) {
  EXPECT_GT(ExpectOneLineCaptionsWhole(window), 20);
}

// The product description is a label of two lines: it keeps its width and its
// font and wraps, even where the system's Tahoma is a pixel taller than half
// the label (Wine 10, as Windows).
TEST_F(Layout96, TheProductDescriptionWrapsInsteadOfNarrowing) {
  const HWND h = window.Control(Ctl::lblOrv1);
  LOGFONTW lf{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0)), sizeof lf, &lf);
  EXPECT_EQ(lf.lfWidth, 0) << "the font is not narrowed";
  RECT r;
  GetClientRect(h, &r);
  EXPECT_EQ(r.right, TwipsToPixels(RowOf(Ctl::lblOrv1).width, 96));
}

// Moving to a monitor of another DPI lays everything out again there, and
// moving back restores the first layout exactly.
TEST_F(Layout96, ADpiChangeLaysTheWindowOutAgain) {
  std::vector<RECT> at96;
  for (const ControlSpec& s : Layout()) at96.push_back(RectInParent(window.Control(s.id)));
  MoveTo(144);
  EXPECT_EQ(window.Dpi(), 144);
  RECT client;
  GetClientRect(window.hwnd(), &client);
  EXPECT_EQ(client.right, TwipsToPixels(kClientWidthTwips, 144));
  EXPECT_EQ(client.bottom, TwipsToPixels(kClientHeightTwips, 144));
  for (const ControlSpec& s : Layout()) {
    SCOPED_TRACE(std::wstring(s.name) + L"(" + std::to_wstring(s.index) + L")");
    const RECT r = RectInParent(window.Control(s.id));
    EXPECT_EQ(r.left, TwipsToPixels(s.left, 144));
    EXPECT_EQ(r.top, TwipsToPixels(s.top, 144));
    if (s.kind == Kind::Button || s.kind == Kind::TextBox || s.kind == Kind::Panel ||
        s.kind == Kind::Frame) {
      EXPECT_EQ(r.right - r.left, TwipsToPixels(s.width, 144));
      EXPECT_EQ(r.bottom - r.top, TwipsToPixels(s.height, 144));
    }
  }
  LOGFONTW lf{};
  GetObjectW(
      reinterpret_cast<HFONT>(SendMessageW(window.Control(Ctl::txtWinTitle), WM_GETFONT, 0, 0)),
      sizeof lf, &lf);
  EXPECT_EQ(lf.lfHeight, -17) << "Tahoma 8.25 at 144 DPI";
  EXPECT_GT(ExpectOneLineCaptionsWhole(window), 20);

  MoveTo(96);
  std::size_t i = 0;
  for (const ControlSpec& s : Layout()) {
    SCOPED_TRACE(std::wstring(s.name));
    const RECT r = RectInParent(window.Control(s.id));
    EXPECT_TRUE(EqualRect(&r, &at96[i++]));
  }
}

// The width of the icon the window shows for `which`: its own, or else its class's.
int ShownIconWidth(HWND h, WPARAM which) {
  auto icon = reinterpret_cast<HICON>(SendMessageW(h, WM_GETICON, which, 0));
  if (!icon)
    icon =
        reinterpret_cast<HICON>(GetClassLongPtrW(h, which == ICON_BIG ? GCLP_HICON : GCLP_HICONSM));
  ICONINFO info{};
  if (!icon || !GetIconInfo(icon, &info)) return 0;
  BITMAP bm{};
  GetObjectW(info.hbmMask, sizeof bm, &bm);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return bm.bmWidth;
}

// The title bar and the task bar show the program's icons at the sizes the
// window's DPI asks for, after every move to another DPI too.
TEST_F(Layout96, TheIconsFollowTheDpi) {
  const auto expectIconsFor = [this](int dpi) {
    SCOPED_TRACE(dpi);
    EXPECT_EQ(ShownIconWidth(window.hwnd(), ICON_BIG), GetSystemMetricsForDpi(SM_CXICON, dpi));
    EXPECT_EQ(ShownIconWidth(window.hwnd(), ICON_SMALL), GetSystemMetricsForDpi(SM_CXSMICON, dpi));
  };
  expectIconsFor(96);
  for (int dpi : {144, 120, 96}) {
    MoveTo(dpi);
    expectIconsFor(dpi);
  }
}

}  // namespace
}  // namespace tavlin::testing
