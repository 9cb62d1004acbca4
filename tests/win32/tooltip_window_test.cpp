// The tooltip windows under Wine: what start-up builds, how the replaced
// window procedure routes messages, and that painting keeps no GDI object.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <set>
#include <vector>

#include "app/frmMain.h"
#include "app/window_win32.h"
#include "support/fakes.h"
#include "support/memory_registry.h"
#include "tooltip/tip_catalogue.h"
#include "support/gdi_count_win32.h"
#include "tooltip/tooltip_win32.h"

namespace tavlin::testing {
namespace {

using tooltip::modToolTip::TipTable;
using tooltip::modToolTip::ToolTipWndProc;

// The real window and tooltip port, the form over doubles for everything else.
// The window goes with the rig; its end asks this thread to quit, which is
// taken back so that the tests go on.
struct TipsRig {
  app::MainWindow window{GetModuleHandleW(nullptr)};
  bool made = window.Create();
  FakeControls ui;
  MemoryRegistry reg;
  FakeVersion version;
  RecordingShell shell;
  FakeFiles files;
  tooltip::Win32Tooltips tips{window.hwnd(), [this](Ctl c) { return window.Control(c); }};
  app::frmMain form{{ui, reg, version, tips, shell, files}};
  ~TipsRig() {
    DestroyWindow(window.hwnd());
    MSG quit;
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  }
};

TEST(TooltipWindows, StartUpMakesSeventeenInCatalogueOrder) {
  TipsRig rig;
  ASSERT_TRUE(rig.made);
  app::MainWindow& window = rig.window;
  const std::size_t before = TipTable().size();
  rig.form.SetToolTips();

  const auto rows = tooltip::TipCatalogue();
  ASSERT_EQ(TipTable().size(), before + 17);
  std::set<HWND> distinct;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const auto entry = TipTable()[before + i];
    distinct.insert(entry.TipHwnd);
    wchar_t cls[64] = {}, text[256] = {};
    GetClassNameW(entry.TipHwnd, cls, 64);
    EXPECT_STREQ(cls, TOOLTIPS_CLASSW);
    EXPECT_EQ(GetWindow(entry.TipHwnd, GW_OWNER), window.hwnd());
    EXPECT_FALSE(GetWindowLongPtrW(entry.TipHwnd, GWL_STYLE) & WS_BORDER);
    EXPECT_EQ(GetWindowLongPtrW(entry.TipHwnd, GWLP_WNDPROC),
              reinterpret_cast<LONG_PTR>(&ToolTipWndProc));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(entry.PrevWndProc),
              GetClassLongPtrW(entry.TipHwnd, GCLP_WNDPROC));
    // Its first tool is the whole control, watched by the tooltip itself; only
    // the list (its text part) and the disabled version box have a second one.
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V1_SIZE;
    tool.lpszText = text;
    const bool second = rows[i].control == Ctl::cboFullScreen || rows[i].control == Ctl::txtVer;
    EXPECT_EQ(SendMessageW(entry.TipHwnd, TTM_GETTOOLCOUNT, 0, 0), second ? 2 : 1) << i;
    ASSERT_TRUE(SendMessageW(entry.TipHwnd, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool)));
    EXPECT_EQ(tool.uFlags & (TTF_IDISHWND | TTF_SUBCLASS), UINT(TTF_IDISHWND | TTF_SUBCLASS));
    EXPECT_EQ(tool.hwnd, window.Control(rows[i].control)) << i;
    EXPECT_EQ(tool.uId, reinterpret_cast<UINT_PTR>(tool.hwnd)) << i;
    EXPECT_EQ(std::wstring(text), tooltip::TipText(rows[i])) << i;
  }
  EXPECT_EQ(distinct.size(), 17u);
  // A control without a window gets no tooltip window and no entry.
  EXPECT_FALSE(tooltip::Win32Tooltips(window.hwnd(), [](Ctl) {
                 return HWND{};
               }).CreateToolTip(Ctl::txtStart, L"x"));
  EXPECT_EQ(TipTable().size(), before + 17);
}

// A line a check adds reaches the tooltip window itself, in the tip's one tool,
// and leaves it again; the other tips keep their texts.
TEST(TooltipWindows, ACheckReplacesTheTextOfTheOneTipItConcerns) {
  TipsRig rig;
  ASSERT_TRUE(rig.made);
  app::MainWindow& window = rig.window;
  FakeControls& ui = rig.ui;
  app::frmMain& form = rig.form;
  const std::size_t before = TipTable().size();
  form.SetToolTips();
  const auto rows = tooltip::TipCatalogue();
  ASSERT_EQ(TipTable().size(), before + rows.size());
  const auto textOf = [&](std::size_t row) {
    wchar_t text[512] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V1_SIZE;
    tool.hwnd = window.Control(rows[row].control);
    tool.uId = reinterpret_cast<UINT_PTR>(tool.hwnd);
    tool.lpszText = text;
    SendMessageW(TipTable()[before + row].TipHwnd, TTM_GETTEXTW, 512,
                 reinterpret_cast<LPARAM>(&tool));
    return std::wstring(text);
  };
  std::size_t smBmp = 0;
  while (rows[smBmp].control != Ctl::txtSmBmp) ++smBmp;

  ui.Type(Ctl::txtSmBmp, L"C:\\nowhere\\small.bmp");
  form.LostFocus(Ctl::txtSmBmp);
  EXPECT_EQ(textOf(smBmp), tooltip::TipText(rows[smBmp]) + L"\r\nPicture file: not found");
  for (std::size_t i = 0; i < rows.size(); ++i)
    if (i != smBmp) {
      EXPECT_EQ(textOf(i), tooltip::TipText(rows[i])) << i;
    }
  ui.Type(Ctl::txtSmBmp, L"");
  form.LostFocus(Ctl::txtSmBmp);
  EXPECT_EQ(textOf(smBmp), tooltip::TipText(rows[smBmp]));
}

// The tools of one tooltip window, with their texts.
struct Tool {
  TTTOOLINFOW info;
  std::wstring text;
};
std::vector<Tool> ToolsOf(HWND tip) {
  std::vector<Tool> tools;
  const auto count = SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t text[INFOTIPSIZE] = {};
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V1_SIZE;
    info.lpszText = text;
    if (SendMessageW(tip, TTM_ENUMTOOLSW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&info)))
      tools.push_back({info, text});
  }
  return tools;
}

class WindowWithTips : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(window.Create());
    tips.emplace(window.hwnd(), [this](Ctl c) { return window.Control(c); });
  }
  void TearDown() override {
    DestroyWindow(window.hwnd());
    MSG quit;  // the window's end asks this thread to quit; the tests go on
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  }
  HWND TipOf(Ctl control) {
    const std::size_t before = TipTable().size();
    if (!tips->CreateToolTip(control,
                             tooltip::TipText(*std::find_if(
                                 tooltip::TipCatalogue().begin(), tooltip::TipCatalogue().end(),
                                 [&](const auto& row) { return row.control == control; }))))
      return nullptr;
    return TipTable().size() == before + 1 ? TipTable().back().TipHwnd : nullptr;
  }
  app::MainWindow window{GetModuleHandleW(nullptr)};
  std::optional<tooltip::Win32Tooltips> tips;
};

TEST_F(WindowWithTips, TheListsTextPartIsASecondToolWithTheSameText) {
  const HWND tip = TipOf(Ctl::cboFullScreen);
  ASSERT_TRUE(tip);
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetComboBoxInfo(window.Control(Ctl::cboFullScreen), &info));
  const std::vector<Tool> tools = ToolsOf(tip);
  ASSERT_EQ(tools.size(), 2u);
  EXPECT_EQ(tools[1].info.hwnd, info.hwndItem);
  EXPECT_EQ(tools[1].info.uId, reinterpret_cast<UINT_PTR>(info.hwndItem));
  EXPECT_EQ(tools[1].info.uFlags & (TTF_IDISHWND | TTF_SUBCLASS),
            UINT(TTF_IDISHWND | TTF_SUBCLASS));
  EXPECT_EQ(tools[1].text, L"Open IE in full screen mode");
}

TEST_F(WindowWithTips, TheDisabledBoxIsWatchedThroughItsParentWhereverItIs) {
  const HWND box = window.Control(Ctl::txtVer), panel = window.Control(Ctl::frmMenu_0);
  ASSERT_FALSE(IsWindowEnabled(box));
  const HWND tip = TipOf(Ctl::txtVer);
  ASSERT_TRUE(tip);
  const auto placeInPanel = [&] {
    RECT r;
    GetWindowRect(box, &r);
    MapWindowPoints(HWND_DESKTOP, panel, reinterpret_cast<POINT*>(&r), 2);
    return r;
  };
  std::vector<Tool> tools = ToolsOf(tip);
  ASSERT_EQ(tools.size(), 2u);
  EXPECT_EQ(tools[1].info.hwnd, panel);
  EXPECT_EQ(tools[1].info.uId, reinterpret_cast<UINT_PTR>(box));
  EXPECT_FALSE(tools[1].info.uFlags & TTF_IDISHWND);
  const RECT first = placeInPanel();
  EXPECT_TRUE(EqualRect(&tools[1].info.rect, &first));
  EXPECT_EQ(tools[1].text, L"Currently running\r\nIE version");
  // The panel's mouse messages reach the tooltip: the pointer over the box is
  // over this tool, and the tool has followed the box to a new place first.
  RECT r = placeInPanel();
  MoveWindow(box, r.left + 7, r.top + 3, r.right - r.left + 20, r.bottom - r.top, FALSE);
  r = placeInPanel();
  SendMessageW(panel, WM_MOUSEMOVE, 0, MAKELPARAM(r.left + 2, r.top + 2));
  tools = ToolsOf(tip);
  EXPECT_TRUE(EqualRect(&tools[1].info.rect, &r));
  TTHITTESTINFOW hit{};
  hit.hwnd = panel;
  hit.pt = POINT{r.right - 1, r.bottom - 1};
  hit.ti.cbSize = TTTOOLINFOW_V1_SIZE;
  EXPECT_TRUE(SendMessageW(tip, TTM_HITTESTW, 0, reinterpret_cast<LPARAM>(&hit)));
  EXPECT_EQ(hit.ti.uId, reinterpret_cast<UINT_PTR>(box));
  hit.pt = POINT{r.right + 1, r.bottom - 1};
  EXPECT_FALSE(SendMessageW(tip, TTM_HITTESTW, 0, reinterpret_cast<LPARAM>(&hit)));
}

TEST_F(WindowWithTips, ANewTextReachesEveryToolOfTheTip) {
  const HWND list = TipOf(Ctl::cboFullScreen), box = TipOf(Ctl::txtVer);
  ASSERT_TRUE(list && box);
  tips->UpdateToolTip(Ctl::cboFullScreen, L"Open IE in full screen mode|Not a yes or no");
  for (const Tool& t : ToolsOf(list))
    EXPECT_EQ(t.text, L"Open IE in full screen mode\r\nNot a yes or no");
  for (const Tool& t : ToolsOf(box))
    EXPECT_EQ(t.text, L"Currently running\r\nIE version") << "untouched";
  tips->UpdateToolTip(Ctl::txtSkin, L"no tip, nothing happens");
  EXPECT_EQ(ToolsOf(list).size(), 2u);
}

// ToolTipWndProc in front of a procedure that records what reaches it and
// answers its own messages with a value made of their arguments.
std::vector<UINT> g_reached;
LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  g_reached.push_back(msg);
  if (msg >= WM_APP) return static_cast<LRESULT>((msg - WM_APP) * 1000 + wp * 10 + lp);
  return DefWindowProcW(hwnd, msg, wp, lp);
}

class RecordedTip : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &RecordingProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TavlinTipRecorder";
    RegisterClassExW(&wc);  // already there after the first test
    tip = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP | WS_BORDER, 50, 50,
                          136, 37, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_TRUE(tip);
    g_reached.clear();
    tooltip::modToolTip::InstallBalloonProc(tip);
  }
  void TearDown() override { DestroyWindow(tip); }
  bool Reached(UINT msg) const { return std::count(g_reached.begin(), g_reached.end(), msg) > 0; }
  HWND tip = nullptr;
};

TEST_F(RecordedTip, OtherMessagesReachThePreviousProcedureWithResultsUnchanged) {
  // Installing already sent the border's removal through, and the frame is gone at once.
  EXPECT_TRUE(Reached(WM_STYLECHANGED));
  RECT client;
  GetClientRect(tip, &client);
  EXPECT_EQ(client.right, 136);
  const struct {
    UINT msg;
    WPARAM wp;
    LPARAM lp;
    LRESULT expected;
  } cases[] = {
      {WM_APP + 1, 2, 3, 1023},
      {WM_APP + 40, 5, 9, 40059},
      {WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"tip text"), TRUE},
      {WM_GETTEXTLENGTH, 0, 0, 8},
      {WM_NCHITTEST, 0, MAKELPARAM(60, 60), HTCLIENT},
  };
  for (const auto& c : cases) {
    g_reached.clear();
    EXPECT_EQ(SendMessageW(tip, c.msg, c.wp, c.lp), c.expected) << std::hex << c.msg;
    EXPECT_TRUE(Reached(c.msg)) << std::hex << c.msg;
  }
}

TEST_F(RecordedTip, PrintPostsExactlyOnePaintAndNeitherIsPassedOn) {
  SetWindowTextW(tip, L"text");
  g_reached.clear();
  EXPECT_EQ(SendMessageW(tip, WM_PRINT, 0, PRF_CLIENT), 1);
  int posted = 0;
  MSG m;
  while (posted < 10 && PeekMessageW(&m, tip, WM_PAINT, WM_PAINT, PM_REMOVE)) ++posted;
  EXPECT_EQ(posted, 1);
  EXPECT_EQ(SendMessageW(tip, WM_PAINT, 0, 0), 0);
  EXPECT_FALSE(Reached(WM_PRINT));
  EXPECT_FALSE(Reached(WM_PAINT));
  EXPECT_TRUE(Reached(WM_GETTEXT)) << "the paint's own text request goes on";
}

TEST(ToolTipWndProc, WindowWithoutAnEntryGetsZero) {
  const HWND other = CreateWindowExW(0, L"STATIC", L"hello", WS_POPUP, 0, 0, 10, 10, nullptr,
                                     nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_EQ(SendMessageW(other, WM_GETTEXTLENGTH, 0, 0), 5) << "its own procedure answers";
  EXPECT_EQ(ToolTipWndProc(other, WM_GETTEXTLENGTH, 0, 0), 0);
  EXPECT_EQ(ToolTipWndProc(nullptr, WM_APP + 1, 2, 3), 0);
  DestroyWindow(other);
}

TEST_F(RecordedTip, RepeatedPaintsLeaveNoObjectBehind) {
  // The count sees a single object more, so one leaked per paint would show.
  const int start = GdiObjectCount();
  const HRGN probe = CreateRectRgn(0, 0, 1, 1);
  ASSERT_EQ(GdiObjectCount(), start + 1);
  DeleteObject(probe);

  SetWindowTextW(tip, L"Leak|check");
  SendMessageW(tip, WM_PAINT, 0, 0);  // the platform may keep objects of its own from the first
  const int before = GdiObjectCount();
  for (int i = 0; i < 20; ++i) {
    InvalidateRect(tip, nullptr, TRUE);
    SendMessageW(tip, WM_PAINT, 0, 0);
  }
  EXPECT_EQ(GdiObjectCount(), before);
  EXPECT_TRUE(IsWindowVisible(tip)) << "the paints did run";
}

}  // namespace
}  // namespace tavlin::testing
