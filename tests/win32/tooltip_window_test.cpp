// The tooltip windows under Wine: what start-up builds, how the replaced
// window procedure routes messages, and that painting keeps no GDI object.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

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

TEST(TooltipWindows, StartUpMakesSeventeenInCatalogueOrder) {
  app::MainWindow window(GetModuleHandleW(nullptr));
  ASSERT_TRUE(window.Create());
  FakeControls ui;
  MemoryRegistry reg;
  FakeVersion version;
  RecordingShell shell;
  FakeFiles files;
  tooltip::Win32Tooltips tips(window.hwnd(), [&window](Ctl c) { return window.Control(c); });
  app::frmMain form({ui, reg, version, tips, shell, files});
  const std::size_t before = TipTable().size();
  form.SetToolTips();

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
    // Its one tool is the whole control, watched by the tooltip itself.
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V1_SIZE;
    tool.lpszText = text;
    EXPECT_EQ(SendMessageW(entry.TipHwnd, TTM_GETTOOLCOUNT, 0, 0), 1);
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
  DestroyWindow(window.hwnd());
  MSG quit;  // the window's end asks this thread to quit; the tests go on
  PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

// A line a check adds reaches the tooltip window itself, in the tip's one tool,
// and leaves it again; the other tips keep their texts.
TEST(TooltipWindows, ACheckReplacesTheTextOfTheOneTipItConcerns) {
  app::MainWindow window(GetModuleHandleW(nullptr));
  ASSERT_TRUE(window.Create());
  FakeControls ui;
  MemoryRegistry reg;
  FakeVersion version;
  RecordingShell shell;
  FakeFiles files;
  tooltip::Win32Tooltips tips(window.hwnd(), [&window](Ctl c) { return window.Control(c); });
  app::frmMain form({ui, reg, version, tips, shell, files});
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
  DestroyWindow(window.hwnd());
  MSG quit;
  PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
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
