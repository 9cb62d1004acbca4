// The keyboard in the real window: Tab walks the controls in design order,
// Escape closes like OK, Enter and typing into the full-screen list change nothing.
#include <gtest/gtest.h>

#include "app/layout.h"
#include "settings/catalogue.h"
#include "tooltip/balloon.h"
#include "support/driver_win32.h"

namespace tavlin::testing {
namespace {

using namespace settings;

// The control that has the keyboard focus in the program's thread, as a Ctl
// (a drop-down's edit part counts as the drop-down).
std::optional<Ctl> Focused(const TavlinProcess& tavlin) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(tavlin.Window(), nullptr), &info) ||
      !info.hwndFocus)
    return std::nullopt;
  HWND h = info.hwndFocus;
  if (!app::IsControlId(GetDlgCtrlID(h))) h = GetParent(h);
  if (!app::IsControlId(GetDlgCtrlID(h))) return std::nullopt;
  return app::ControlOfId(GetDlgCtrlID(h));
}

HWND FocusWindow(const TavlinProcess& tavlin) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(tavlin.Window(), nullptr), &info);
  return info.hwndFocus ? info.hwndFocus : tavlin.Window();
}

// A click into a box puts the keyboard focus there, as for a user.
void ClickInto(const TavlinProcess& tavlin, Ctl c) {
  HWND h = tavlin.Control(c);
  if (HWND inner = GetWindow(h, GW_CHILD)) h = inner;  // a drop-down's edit part
  PostMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  PostMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
}

void Key(const TavlinProcess& tavlin, WPARAM vk) {
  const HWND to = FocusWindow(tavlin);
  PostMessageW(to, WM_KEYDOWN, vk, 1);
  PostMessageW(to, WM_KEYUP, vk, 0xC0000001);
}

TEST(Keyboard, TabFollowsTheDesignOrderAcrossFrames) {
  TavlinProcess tavlin;
  ASSERT_TRUE(tavlin.Started());
  const std::vector<Ctl> expected = {
      Ctl::txtWinTitle, Ctl::txtStart,      Ctl::cboFullScreen, Ctl::txtSkin,
      Ctl::txtSmStat,   Ctl::txtSmBmp,      Ctl::txtLgStat,     Ctl::txtLgBmp,
      Ctl::cmdReset,    Ctl::cmdBmp_0,      Ctl::cmdBmp_3,      Ctl::cmdBmp_1,
      Ctl::cmdBmp_4,    Ctl::cmdBmp_2,      Ctl::txtDownload,   Ctl::txtSaveDir,
      Ctl::cmbdir_0,    Ctl::cmbdir_1,      Ctl::cmdFavorite,   Ctl::cmdFind,
      Ctl::cmdInet,     Ctl::lblProducts_0, Ctl::lblProducts_1, Ctl::lblProducts_2,
      Ctl::lblCompany,  Ctl::Label13,       Ctl::cmbGo_1,       Ctl::cmbGo_0,
      Ctl::txtWinTitle};
  ClickInto(tavlin, Ctl::txtWinTitle);
  ASSERT_TRUE(WaitFor([&] { return Focused(tavlin) == Ctl::txtWinTitle; }));
  std::vector<Ctl> walked;
  for (std::size_t i = 1; i < expected.size(); ++i) {
    const auto before = Focused(tavlin);
    Key(tavlin, VK_TAB);
    WaitFor([&] { return Focused(tavlin) != before; }, 3000);
    walked.push_back(Focused(tavlin).value_or(Ctl::Count));
  }
  EXPECT_EQ(walked, std::vector<Ctl>(expected.begin() + 1, expected.end()));
}

// Tabs until the control has the focus, at most `limit` times.
bool TabTo(const TavlinProcess& tavlin, Ctl c, int limit = 30) {
  for (int i = 0; i < limit && Focused(tavlin) != c; ++i) {
    const auto before = Focused(tavlin);
    Key(tavlin, VK_TAB);
    WaitFor([&] { return Focused(tavlin) != before; }, 3000);
  }
  return Focused(tavlin) == c;
}

// The links are keyboard stops: Space on a product line opens its page, Enter
// on " About ..." shows the About panel with the focus on its OK, Tab walks the
// panel's links, and Space on OK (in a real keyboard's order, its character
// after the key is up) brings the settings panel back, the focus on " About ...".
TEST(Keyboard, LinksOpenFromTheKeyboardAndTheAboutPanelComesAndGoes) {
  UrlRecorder urls;
  TavlinProcess tavlin;
  ASSERT_TRUE(tavlin.Started());
  const HWND settings = tavlin.Control(Ctl::frmMenu_0), about = tavlin.Control(Ctl::frmMenu_1);
  ClickInto(tavlin, Ctl::txtSaveDir);
  ASSERT_TRUE(WaitFor([&] { return Focused(tavlin) == Ctl::txtSaveDir; }));
  ASSERT_TRUE(TabTo(tavlin, Ctl::lblProducts_1));
  Key(tavlin, VK_SPACE);
  EXPECT_TRUE(WaitFor([&] { return !urls.Opened().empty(); }, 15000));
  EXPECT_EQ(urls.Opened(), std::vector<std::wstring>{L"http://www.korvanti.example/wendlekin/"});

  ASSERT_TRUE(TabTo(tavlin, Ctl::Label13));
  Key(tavlin, VK_RETURN);
  ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(about) && !IsWindowEnabled(settings); }));
  EXPECT_TRUE(WaitFor([&] { return Focused(tavlin) == Ctl::cmdAbout; }));
  std::vector<Ctl> walked;
  for (int i = 0; i < 5; ++i) {
    const auto before = Focused(tavlin);
    Key(tavlin, VK_TAB);
    WaitFor([&] { return Focused(tavlin) != before; }, 3000);
    walked.push_back(Focused(tavlin).value_or(Ctl::Count));
  }
  EXPECT_EQ(walked, (std::vector<Ctl>{Ctl::lblOrv_2, Ctl::lblOrv_0, Ctl::imgLogo, Ctl::lbllogo_0,
                                      Ctl::cmdAbout}));

  const HWND ok = FocusWindow(tavlin);
  PostMessageW(ok, WM_KEYDOWN, VK_SPACE, 1);
  PostMessageW(ok, WM_KEYUP, VK_SPACE, 0xC0000001);
  PostMessageW(ok, WM_CHAR, L' ', 1);
  EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(settings) && !IsWindowEnabled(about); }))
      << "the settings panel is back in front";
  // The focus left the About panel with it: a key that reached a control on the
  // covered panel once stalled the window.
  EXPECT_TRUE(WaitFor([&] { return Focused(tavlin) == Ctl::Label13; }));
  EXPECT_TRUE(tavlin.Close().has_value());
}

TEST(Keyboard, EnterPressesNothingAndTypingLeavesTheListAlone) {
  RegPutRaw(std::wstring(kMainKey), L"FullScreen", REG_SZ, Utf16Bytes(L"no", true));
  TavlinProcess tavlin;
  ASSERT_TRUE(tavlin.Started());
  tavlin.SetText(Ctl::txtWinTitle, L"typed but not applied");
  ClickInto(tavlin, Ctl::cboFullScreen);
  ASSERT_TRUE(WaitFor([&] { return Focused(tavlin) == Ctl::cboFullScreen; }));
  const HWND edit = FocusWindow(tavlin);
  for (wchar_t c : std::wstring(L"yes\b\x1b")) PostMessageW(edit, WM_CHAR, c, 1);
  Key(tavlin, VK_RETURN);
  // Tab as a marker: once the focus has moved on, everything before it was handled.
  Key(tavlin, VK_TAB);
  ASSERT_TRUE(WaitFor([&] { return Focused(tavlin) == Ctl::txtSkin; }));
  EXPECT_EQ(tavlin.Text(Ctl::cboFullScreen), L"no");
  EXPECT_TRUE(IsWindow(tavlin.Window())) << "Enter does not close";
  EXPECT_FALSE(RegGetRaw(std::wstring(kMainKey), L"Window Title") &&
               RegGetRaw(std::wstring(kMainKey), L"Window Title")->data ==
                   Utf16Bytes(L"typed but not applied", true))
      << "Enter does not apply";
}

TEST(Keyboard, EscapeClosesWithoutWriting) {
  RegPutRaw(std::wstring(kMainKey), L"Window Title", REG_SZ, Utf16Bytes(L"before", true));
  TavlinProcess tavlin;
  ASSERT_TRUE(tavlin.Started());
  tavlin.SetText(Ctl::txtWinTitle, L"after");
  ClickInto(tavlin, Ctl::txtWinTitle);
  ASSERT_TRUE(WaitFor([&] { return Focused(tavlin) == Ctl::txtWinTitle; }));
  Key(tavlin, VK_ESCAPE);
  EXPECT_TRUE(tavlin.WaitForExit(15000));
  EXPECT_EQ(RegGetRaw(std::wstring(kMainKey), L"Window Title")->data, Utf16Bytes(L"before", true));
}

// F1 shows the focused control's balloon, the same as the mouse's, its pointer
// on the control's lower edge near its left end. Escape then only hides it; a
// key that moves the focus hides it too; Escape with no balloon closes.
TEST(Keyboard, F1ShowsTheBalloonUnderTheControlAndEscapeOnlyHidesIt) {
  TavlinProcess tavlin;
  ASSERT_TRUE(tavlin.Started());
  ASSERT_EQ(AllTooltips(tavlin).size(), 17u);
  const tooltip::BalloonMetrics m =
      tooltip::MetricsFor(static_cast<int>(GetDpiForWindow(tavlin.Window())));
  const struct {
    Ctl control;
    WPARAM hideKey;
  } rows[] = {{Ctl::txtWinTitle, VK_ESCAPE}, {Ctl::cmdReset, VK_TAB}};
  for (const auto& row : rows) {
    // The button is reached from the box before it, so that nothing presses it.
    ClickInto(tavlin, row.control == Ctl::cmdReset ? Ctl::txtLgBmp : row.control);
    if (row.control == Ctl::cmdReset) Key(tavlin, VK_TAB);
    ASSERT_TRUE(WaitFor([&] { return Focused(tavlin) == row.control; }));
    Key(tavlin, VK_F1);
    HWND tip = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (tip = VisibleTooltip(tavlin)) != nullptr; }))
        << app::RowOf(row.control).name.data();
    tavlin.Settle();
    EXPECT_EQ(tavlin.Text(tip), TipTexts(tavlin).at(row.control));
    RECT balloon{}, control{};
    GetWindowRect(tip, &balloon);
    GetWindowRect(tavlin.Control(row.control), &control);
    const int pointerX = balloon.left + m.pointerInset;
    EXPECT_EQ(balloon.top, control.bottom);
    EXPECT_GT(pointerX, control.left);
    EXPECT_LE(pointerX, control.left + (control.right - control.left) / 2);
    Key(tavlin, row.hideKey);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(tip); }));
    EXPECT_TRUE(IsWindow(tavlin.Window()));
  }
  Key(tavlin, VK_ESCAPE);
  EXPECT_TRUE(tavlin.WaitForExit(15000)) << "with no balloon showing, Escape closes";
}

}  // namespace
}  // namespace tavlin::testing
