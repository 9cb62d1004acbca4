// The tooltip windows under Wine: what CreateToolTip builds, how the replaced
// window procedure routes messages, where a paint puts the balloon, what it
// paints, and that painting holds on to no GDI object.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <set>
#include <string>
#include <vector>

#include "app/frmMain.h"
#include "app/window_win32.h"
#include "support/fakes.h"
#include "support/memory_registry.h"
#include "tooltip/balloon.h"
#include "tooltip/tip_catalogue.h"
#include "tooltip/tooltip_win32.h"

namespace tavlin::testing {
namespace {

using namespace tooltip;
using modToolTip::TipTable;

std::wstring ClassOf(HWND h) {
  wchar_t name[64] = {};
  GetClassNameW(h, name, 64);
  return name;
}

// The tooltip windows of this thread owned by `owner`.
std::vector<HWND> TooltipsOwnedBy(HWND owner) {
  struct Walk {
    HWND owner;
    std::vector<HWND> found;
  } walk{owner, {}};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND h, LPARAM lp) -> BOOL {
        auto* w = reinterpret_cast<Walk*>(lp);
        if (ClassOf(h) == TOOLTIPS_CLASSW && GetWindow(h, GW_OWNER) == w->owner)
          w->found.push_back(h);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&walk));
  return walk.found;
}

// The one tool of a tooltip window, read back through the platform's own procedure.
struct Tool {
  UINT flags = 0;
  HWND hwnd = nullptr;
  UINT_PTR id = 0;
  std::wstring text;
};
Tool FirstTool(HWND tip) {
  wchar_t text[512] = {};
  TTTOOLINFOW info{};
  info.cbSize = TTTOOLINFOW_V1_SIZE;
  info.lpszText = text;
  if (!SendMessageW(tip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&info))) return {};
  return {info.uFlags, info.hwnd, info.uId, text};
}

// A top-level window with two edit boxes, standing in for the main window.
class TipOwner : public ::testing::Test {
 protected:
  void SetUp() override {
    owner = CreateWindowExW(0, L"STATIC", L"tip owner", WS_POPUP, 100, 100, 300, 120, nullptr,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(owner);
    for (int i = 0; i < 2; ++i)
      edits[i] = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 10, 10 + 40 * i, 200, 24,
                                 owner, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(edits[0] && edits[1]);
  }
  void TearDown() override {
    if (owner) DestroyWindow(owner);  // takes its tooltips with it
  }
  HWND owner = nullptr;
  HWND edits[2] = {};
};

TEST_F(TipOwner, CreatesOneBorderlessTooltipWithOneToolPerControl) {
  const std::size_t before = TipTable().size();
  const HWND first = modToolTip::CreateToolTip(edits[0], L"First|Second", owner);
  const HWND second = modToolTip::CreateToolTip(edits[1], L"Only line", owner);
  ASSERT_TRUE(first && second);
  EXPECT_NE(first, second);
  const std::vector<HWND> owned = TooltipsOwnedBy(owner);
  EXPECT_EQ(std::set<HWND>(owned.begin(), owned.end()), (std::set<HWND>{first, second}));

  struct Case {
    HWND tip, control;
    std::wstring text;
  };
  for (const Case& c :
       {Case{first, edits[0], L"First\r\nSecond"}, Case{second, edits[1], L"Only line"}}) {
    EXPECT_EQ(ClassOf(c.tip), TOOLTIPS_CLASSW);
    EXPECT_EQ(GetWindow(c.tip, GW_OWNER), owner);
    const LONG_PTR style = GetWindowLongPtrW(c.tip, GWL_STYLE);
    EXPECT_TRUE(style & TTS_ALWAYSTIP);
    EXPECT_FALSE(style & TTS_BALLOON) << "the balloon is painted here, not by the platform";
    EXPECT_FALSE(style & WS_BORDER);
    EXPECT_EQ(SendMessageW(c.tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    const Tool tool = FirstTool(c.tip);
    EXPECT_EQ(tool.flags & (TTF_IDISHWND | TTF_SUBCLASS), UINT(TTF_IDISHWND | TTF_SUBCLASS));
    EXPECT_EQ(tool.hwnd, c.control);
    EXPECT_EQ(tool.id, reinterpret_cast<UINT_PTR>(c.control));
    EXPECT_EQ(tool.text, c.text);
    EXPECT_EQ(GetWindowLongPtrW(c.tip, GWLP_WNDPROC),
              reinterpret_cast<LONG_PTR>(&modToolTip::ToolTipWndProc));
  }

  // One table entry each, in creation order, remembering the class's own procedure.
  ASSERT_EQ(TipTable().size(), before + 2);
  const modToolTip::TipEntry a = TipTable()[before], b = TipTable()[before + 1];
  EXPECT_EQ(a.TipHwnd, first);
  EXPECT_EQ(b.TipHwnd, second);
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(a.PrevWndProc), GetClassLongPtrW(first, GCLP_WNDPROC));
  EXPECT_EQ(CallWindowProcW(a.PrevWndProc, first, TTM_GETTOOLCOUNT, 0, 0), 1);
}

TEST_F(TipOwner, NoControlWindowMeansNoTooltipAndNoEntry) {
  const std::size_t before = TipTable().size();
  const HWND gone = CreateWindowExW(0, L"EDIT", L"", WS_CHILD, 0, 0, 10, 10, owner, nullptr,
                                    GetModuleHandleW(nullptr), nullptr);
  DestroyWindow(gone);
  EXPECT_EQ(modToolTip::CreateToolTip(nullptr, L"tip", owner), nullptr);
  EXPECT_EQ(modToolTip::CreateToolTip(gone, L"tip", owner), nullptr);
  EXPECT_EQ(TipTable().size(), before);
  EXPECT_TRUE(TooltipsOwnedBy(owner).empty());

  // Through the port: a control the window does not have fails, the next still attaches.
  Win32Tooltips tips(owner, [&](Ctl c) { return c == Ctl::txtStart ? edits[0] : nullptr; });
  EXPECT_FALSE(tips.CreateToolTip(Ctl::txtSkin, L"none"));
  EXPECT_TRUE(tips.CreateToolTip(Ctl::txtStart, L"Page|URL"));
  ASSERT_EQ(TooltipsOwnedBy(owner).size(), 1u);
  EXPECT_EQ(FirstTool(TooltipsOwnedBy(owner)[0]).text, L"Page\r\nURL");
}

// Start-up on the real window: 17 tooltip windows, entries in catalogue order.
TEST(TipCatalogueWindow, SeventeenTooltipsInCatalogueOrder) {
  app::MainWindow window(GetModuleHandleW(nullptr));
  ASSERT_TRUE(window.Create());
  FakeControls ui;
  MemoryRegistry reg;
  FakeVersion version;
  RecordingShell shell;
  Win32Tooltips tips(window.hwnd(), [&window](Ctl c) { return window.Control(c); });
  app::frmMain form({ui, reg, version, tips, shell});

  const std::size_t before = TipTable().size();
  form.SetToolTips();
  const auto rows = TipCatalogue();
  ASSERT_EQ(TipTable().size(), before + rows.size());
  ASSERT_EQ(rows.size(), 17u);
  std::set<HWND> distinct;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const modToolTip::TipEntry& entry = TipTable()[before + i];
    SCOPED_TRACE(i);
    distinct.insert(entry.TipHwnd);
    EXPECT_EQ(ClassOf(entry.TipHwnd), TOOLTIPS_CLASSW);
    EXPECT_EQ(GetWindow(entry.TipHwnd, GW_OWNER), window.hwnd());
    const Tool tool = FirstTool(entry.TipHwnd);
    EXPECT_EQ(tool.hwnd, window.Control(rows[i].control));
    EXPECT_EQ(tool.text, TipText(rows[i]));
  }
  EXPECT_EQ(distinct.size(), 17u);
  EXPECT_EQ(TooltipsOwnedBy(window.hwnd()).size(), 17u);
  DestroyWindow(window.hwnd());
  MSG quit;  // the window's destruction asks the thread to quit; this test thread goes on
  PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

// --- The replaced window procedure, in front of a procedure that records ---------

struct Received {
  HWND hwnd;
  UINT msg;
  WPARAM wp;
  LPARAM lp;
};
std::vector<Received> g_received;

// Answers messages of its own range with a value made of the arguments, so
// that a changed or lost result shows; everything else is an ordinary window's.
LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  g_received.push_back({hwnd, msg, wp, lp});
  if (msg >= WM_APP) return static_cast<LRESULT>((msg - WM_APP) * 1000 + wp * 10 + lp);
  return DefWindowProcW(hwnd, msg, wp, lp);
}

bool ReceivedAny(HWND hwnd, UINT msg) {
  for (const Received& r : g_received)
    if (r.hwnd == hwnd && r.msg == msg) return true;
  return false;
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
    g_received.clear();
    modToolTip::InstallBalloonProc(tip);
  }
  void TearDown() override {
    if (tip) DestroyWindow(tip);
    g_received.clear();
  }
  // Removes and counts the WM_PAINT messages waiting for the window.
  int TakePaints() const {
    int n = 0;
    MSG m;
    while (n < 10 && PeekMessageW(&m, tip, WM_PAINT, WM_PAINT, PM_REMOVE)) ++n;
    return n;
  }
  HWND tip = nullptr;
};

TEST_F(RecordedTip, InstallingPassesTheStyleChangeOnAndDropsTheBorder) {
  EXPECT_TRUE(ReceivedAny(tip, WM_STYLECHANGING));
  EXPECT_TRUE(ReceivedAny(tip, WM_STYLECHANGED));
  EXPECT_FALSE(GetWindowLongPtrW(tip, GWL_STYLE) & WS_BORDER);
  EXPECT_TRUE(GetWindowLongPtrW(tip, GWL_STYLE) & WS_POPUP);
  // The frame is gone at once, not only after the next size change.
  EXPECT_TRUE(ReceivedAny(tip, WM_NCCALCSIZE));
  RECT client;
  GetClientRect(tip, &client);
  EXPECT_EQ(client.right, 136);
  EXPECT_EQ(client.bottom, 37);
  ASSERT_FALSE(TipTable().empty());
  EXPECT_EQ(TipTable().back().TipHwnd, tip);
  EXPECT_EQ(TipTable().back().PrevWndProc, &RecordingProc);
}

TEST_F(RecordedTip, OtherMessagesReachThePreviousProcedureWithResultsUnchanged) {
  struct Case {
    UINT msg;
    WPARAM wp;
    LPARAM lp;
    LRESULT expected;
  };
  const Case cases[] = {
      {WM_APP + 1, 2, 3, 1023},    {WM_APP + 7, 0, 0, 7000},
      {WM_APP + 40, 5, 9, 40059},  {WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"tip text"), TRUE},
      {WM_GETTEXTLENGTH, 0, 0, 8}, {WM_NCHITTEST, 0, MAKELPARAM(60, 60), HTCLIENT},
  };
  for (const Case& c : cases) {
    g_received.clear();
    EXPECT_EQ(SendMessageW(tip, c.msg, c.wp, c.lp), c.expected) << std::hex << c.msg;
    ASSERT_FALSE(g_received.empty()) << std::hex << c.msg;
    const Received& r = g_received.front();
    EXPECT_EQ(r.msg, c.msg);
    EXPECT_EQ(r.wp, c.wp);
    EXPECT_EQ(r.lp, c.lp);
  }
  wchar_t text[32] = {};
  EXPECT_EQ(SendMessageW(tip, WM_GETTEXT, 32, reinterpret_cast<LPARAM>(text)), 8);
  EXPECT_STREQ(text, L"tip text");
}

TEST_F(RecordedTip, PrintPostsExactlyOnePaintAndReturnsOne) {
  TakePaints();
  g_received.clear();
  const HDC screen = GetDC(nullptr);
  EXPECT_EQ(SendMessageW(tip, WM_PRINT, reinterpret_cast<WPARAM>(screen), PRF_CLIENT), 1);
  ReleaseDC(nullptr, screen);
  EXPECT_FALSE(ReceivedAny(tip, WM_PRINT)) << "WM_PRINT is not passed on";
  EXPECT_EQ(TakePaints(), 1);
}

TEST_F(RecordedTip, PaintIsNeverPassedOn) {
  SetWindowTextW(tip, L"text");
  g_received.clear();
  EXPECT_EQ(SendMessageW(tip, WM_PAINT, 0, 0), 0);
  EXPECT_FALSE(ReceivedAny(tip, WM_PAINT));
  // Its own WM_GETTEXT, by contrast, went to the previous procedure.
  EXPECT_TRUE(ReceivedAny(tip, WM_GETTEXT));
}

TEST(ToolTipWndProc, WindowWithoutAnEntryGetsZero) {
  const HWND other = CreateWindowExW(0, L"STATIC", L"hello", WS_POPUP, 0, 0, 10, 10, nullptr,
                                     nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(other);
  ASSERT_EQ(SendMessageW(other, WM_GETTEXTLENGTH, 0, 0), 5) << "its own procedure answers";
  EXPECT_EQ(modToolTip::ToolTipWndProc(other, WM_GETTEXTLENGTH, 0, 0), 0);
  EXPECT_EQ(modToolTip::ToolTipWndProc(other, WM_NCHITTEST, 0, 0), 0);
  EXPECT_EQ(modToolTip::ToolTipWndProc(nullptr, WM_APP + 1, 2, 3), 0);
  DestroyWindow(other);
}

// --- Placement on paint -----------------------------------------------------------

// The tip font, made the way the tests expect it: Tahoma, 13-pixel cell at 96 DPI.
struct TestFont {
  HFONT font;
  TestFont() {
    LOGFONTW lf{};
    lf.lfHeight = 13;
    lf.lfWeight = FW_NORMAL;
    wcscpy(lf.lfFaceName, L"Tahoma");
    font = CreateFontIndirectW(&lf);
  }
  ~TestFont() { DeleteObject(font); }
};

SIZE MeasureTip(const std::wstring& text) {
  TestFont f;
  const HDC dc = CreateCompatibleDC(nullptr);
  const HGDIOBJ old = SelectObject(dc, f.font);
  RECT r{0, 0, 0, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_NOCLIP);
  SelectObject(dc, old);
  DeleteDC(dc);
  return {r.right, r.bottom};
}

TEST_F(RecordedTip, PaintHangsTheWindowUnderTheCursorSizedToItsText) {
  ASSERT_EQ(modToolTip::TipDpi(tip), 96) << "this suite runs unscaled";
  struct Case {
    std::wstring text;
    int lines;
  };
  for (const Case& c :
       {Case{L"Page that is loaded when\r\nIE starts. Home page URL", 2},
        Case{L"Open IE in full screen mode", 1}, Case{L"Small\r\nthree\r\nlines ", 3}}) {
    SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
    SetWindowTextW(tip, c.text.c_str());
    POINT cursor;
    GetCursorPos(&cursor);
    SendMessageW(tip, WM_PAINT, 0, 0);
    const SIZE text = MeasureTip(c.text);
    EXPECT_EQ(text.cy % c.lines, 0) << "whole lines: " << text.cy;
    RECT r;
    GetWindowRect(tip, &r);
    EXPECT_EQ(r.left, cursor.x - 2);
    EXPECT_EQ(r.top, cursor.y + 20);
    EXPECT_EQ(r.right - r.left, text.cx + 16);
    EXPECT_EQ(r.bottom - r.top, text.cy + 24);
    RECT client;
    GetClientRect(tip, &client);
    EXPECT_EQ(client.right, r.right - r.left) << "no border";
    EXPECT_EQ(client.bottom, r.bottom - r.top);
    EXPECT_TRUE(IsWindowVisible(tip));
  }
}

// --- What DrawBalloon paints ---------------------------------------------------------

// A 32-bit top-down DIB to paint into, filled with a colour no balloon uses.
class Canvas {
 public:
  static constexpr COLORREF kUntouched = RGB(255, 0, 255);
  static constexpr COLORREF kOutline = RGB(64, 64, 64);  // the stock dark grey brush
  Canvas(int width, int height) : width_(width), height_(height) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ =
        CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
    const HBRUSH fill = CreateSolidBrush(kUntouched);
    RECT all{0, 0, width, height};
    FillRect(dc_, &all, fill);
    DeleteObject(fill);
  }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  COLORREF At(int x, int y) const {
    const DWORD p = bits_[y * width_ + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  // Pixels in the rectangle as dark as text (channel sum below half), not counting the outline.
  int DarkIn(int left, int top, int right, int bottom) const {
    int n = 0;
    for (int y = top; y < bottom && y < height_; ++y)
      for (int x = left; x < right && x < width_; ++x) {
        const COLORREF c = At(x, y);
        if (c != kUntouched && c != kOutline && GetRValue(c) + GetGValue(c) + GetBValue(c) < 384)
          ++n;
      }
    return n;
  }

 private:
  int width_, height_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
  DWORD* bits_ = nullptr;
};

constexpr COLORREF kDarkGrey = Canvas::kOutline;

void PaintInto(HWND tip, const Canvas& canvas, const std::wstring& text, int dpi) {
  TestFont f;
  const HGDIOBJ old = SelectObject(canvas.dc(), f.font);
  SetBkMode(canvas.dc(), TRANSPARENT);
  modToolTip::DrawBalloon(tip, canvas.dc(), text, dpi);
  SelectObject(canvas.dc(), old);
}

// The first and last painted pixel along a row or a column, or -1.
struct Extent {
  int first = -1, last = -1;
};
Extent PaintedAlongRow(const Canvas& c, int y, int width) {
  Extent e;
  for (int x = 0; x < width; ++x)
    if (c.At(x, y) != Canvas::kUntouched) {
      if (e.first < 0) e.first = x;
      e.last = x;
    }
  return e;
}
Extent PaintedAlongColumn(const Canvas& c, int x, int height) {
  Extent e;
  for (int y = 0; y < height; ++y)
    if (c.At(x, y) != Canvas::kUntouched) {
      if (e.first < 0) e.first = y;
      e.last = y;
    }
  return e;
}

int LineHeight() {
  TestFont f;
  const HDC dc = CreateCompatibleDC(nullptr);
  const HGDIOBJ old = SelectObject(dc, f.font);
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  SelectObject(dc, old);
  DeleteDC(dc);
  return tm.tmHeight;
}

TEST_F(RecordedTip, BalloonAt96DpiHasTheBodyThePointerAndTheText) {
  // Sized for two lines of text 120 pixels wide, as a paint would size it.
  const int lineHeight = LineHeight();
  const int width = 120 + 16, height = 2 * lineHeight + 24;
  SetWindowPos(tip, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Canvas canvas(width, height);
  PaintInto(tip, canvas, L"Top line\r\nBottom line", 96);
  const COLORREF fill = GetSysColor(COLOR_INFOBK);

  // The pointer: its tip is the top-most painted pixel, 8 pixels in; its left
  // side is a vertical framed line down to the body's top edge at row 8.
  Extent top{};
  int topRow = 0;
  for (; topRow < height; ++topRow)
    if ((top = PaintedAlongRow(canvas, topRow, width)).first >= 0) break;
  EXPECT_LE(topRow, 1);
  EXPECT_EQ(top.first, 8);
  EXPECT_EQ(top.last, 8);
  for (int y = 1; y < 8; ++y) {
    const Extent row = PaintedAlongRow(canvas, y, width);
    EXPECT_EQ(row.first, 8) << "pointer's left side at row " << y;
    EXPECT_EQ(canvas.At(8, y), kDarkGrey) << y;
    // The long side runs at 45 degrees, framed, with the fill between.
    EXPECT_NEAR(row.last, 8 + y, 1) << y;
    EXPECT_EQ(canvas.At(row.last, y), kDarkGrey) << y;
  }
  EXPECT_EQ(canvas.At(9, 5), fill);
  // Nothing above the body beside the pointer.
  for (const POINT p :
       {POINT{0, 0}, POINT{4, 4}, POINT{7, 3}, POINT{20, 2}, POINT{width - 1, 0}, POINT{60, 7}})
    EXPECT_EQ(canvas.At(p.x, p.y), Canvas::kUntouched) << p.x << "," << p.y;
  // No line across the pointer's base, where it opens into the body.
  for (int x = 9; x <= 14; ++x) EXPECT_EQ(canvas.At(x, 8), fill) << "pointer base at x " << x;

  // The body: framed one pixel wide on its straight edges, filled inside,
  // reaching the client edges (the platform's regions stop one pixel short of
  // the right and bottom coordinates).
  const Extent across = PaintedAlongRow(canvas, height / 2, width);
  EXPECT_EQ(across.first, 0);
  EXPECT_GE(across.last, width - 2);
  EXPECT_EQ(canvas.At(across.first, height / 2), kDarkGrey);
  EXPECT_EQ(canvas.At(across.last, height / 2), kDarkGrey);
  EXPECT_EQ(canvas.At(across.first + 1, height / 2), fill);
  EXPECT_EQ(canvas.At(across.last - 1, height / 2), fill);
  const Extent down = PaintedAlongColumn(canvas, 60, height);
  EXPECT_EQ(down.first, 8);
  EXPECT_GE(down.last, height - 2);
  EXPECT_EQ(canvas.At(60, down.first), kDarkGrey);
  EXPECT_EQ(canvas.At(60, down.last), kDarkGrey);
  EXPECT_EQ(canvas.At(60, down.first + 1), fill);
  // Rounded corners: the bounding corners of the body stay unpainted, as do
  // the next pixels along each edge.
  for (const POINT p : {POINT{0, 8}, POINT{1, 8}, POINT{0, 9}, POINT{width - 1, 8},
                        POINT{width - 2, 9}, POINT{0, height - 1}, POINT{1, height - 2},
                        POINT{width - 1, height - 1}, POINT{width - 2, height - 2}})
    EXPECT_EQ(canvas.At(p.x, p.y), Canvas::kUntouched) << p.x << "," << p.y;

  // Two lines of text, from the text rectangle's top-left corner (8, 16).
  EXPECT_GT(canvas.DarkIn(8, 16, width - 8, 16 + lineHeight), 20) << "first line";
  EXPECT_GT(canvas.DarkIn(8, 16 + lineHeight, width - 8, 16 + 2 * lineHeight), 20) << "second line";
  EXPECT_EQ(canvas.DarkIn(1, 9, 8, height - 1), 0) << "left margin";
  EXPECT_EQ(canvas.DarkIn(9, 9, width - 1, 16), 0) << "above the text";
}

TEST_F(RecordedTip, BalloonFiguresScaleWithDpi) {
  SetWindowPos(tip, nullptr, 0, 0, 204, 56, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Canvas canvas(204, 56);
  PaintInto(tip, canvas, L"x", 144);
  // At 144 DPI the pointer stands 12 pixels in and 12 high, the stroke is 2 wide.
  for (int y = 1; y < 12; ++y) {
    EXPECT_EQ(PaintedAlongRow(canvas, y, 204).first, 12) << y;
    EXPECT_EQ(canvas.At(12, y), kDarkGrey) << y;
  }
  EXPECT_EQ(canvas.At(100, 11), Canvas::kUntouched);
  EXPECT_EQ(canvas.At(100, 12), kDarkGrey);
  EXPECT_EQ(canvas.At(100, 13), kDarkGrey);
  EXPECT_EQ(canvas.At(100, 14), GetSysColor(COLOR_INFOBK));
  for (int x = 14; x <= 20; ++x) EXPECT_EQ(canvas.At(x, 12), GetSysColor(COLOR_INFOBK)) << x;
  // The corner ellipse of 23 pixels rounds off more than the 96-DPI one does.
  EXPECT_EQ(canvas.At(1, 14), Canvas::kUntouched);
  EXPECT_EQ(canvas.At(3, 14), Canvas::kUntouched);
}

TEST_F(RecordedTip, SystemTooltipColoursPaintTheBalloonButNotItsOutline) {
  SetWindowPos(tip, nullptr, 0, 0, 136, 37, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  const int which[] = {COLOR_INFOBK, COLOR_INFOTEXT};
  const COLORREF saved[] = {GetSysColor(COLOR_INFOBK), GetSysColor(COLOR_INFOTEXT)};
  const COLORREF changed[] = {RGB(10, 200, 30), RGB(0, 0, 160)};
  ASSERT_TRUE(SetSysColors(2, which, changed));
  Canvas canvas(136, 37);
  PaintInto(tip, canvas, L"WWWWWWWW", 96);
  SetSysColors(2, which, saved);
  EXPECT_EQ(canvas.At(60, 9), changed[0]);
  EXPECT_EQ(canvas.At(60, 8), kDarkGrey);
  int textColoured = 0;
  for (int y = 16; y < 29; ++y)
    for (int x = 8; x < 128; ++x) textColoured += canvas.At(x, y) == changed[1];
  EXPECT_GT(textColoured, 10);
}

// --- No GDI object outlives a paint -------------------------------------------------

// The GDI objects this process holds. Wine's GetGuiResources answers 0, so
// there every handle slot is asked for its object type instead; a slot number
// alone names the object that occupies it.
int GdiObjectCount() {
  if (const DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS))
    return static_cast<int>(n);
  int count = 0;
  for (ULONG_PTR slot = 1; slot < 0x10000; ++slot)
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(slot))) ++count;
  return count;
}

TEST(GdiObjectCount, SeesOneObjectMore) {
  const int before = GdiObjectCount();
  ASSERT_GT(before, 0);
  const HRGN leaked = CreateRectRgn(0, 0, 1, 1);
  EXPECT_EQ(GdiObjectCount(), before + 1);
  const HFONT font = CreateFontW(13, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, L"Tahoma");
  EXPECT_EQ(GdiObjectCount(), before + 2);
  DeleteObject(font);
  DeleteObject(leaked);
  EXPECT_EQ(GdiObjectCount(), before);
}

TEST_F(RecordedTip, RepeatedPaintsLeaveNoObjectBehind) {
  SetWindowTextW(tip, L"Leak|check");
  ShowWindow(tip, SW_SHOWNA);
  // Warm up: the first paint may create the platform's own lasting objects.
  SendMessageW(tip, WM_PAINT, 0, 0);
  Canvas canvas(136, 37);
  modToolTip::DrawBalloon(tip, canvas.dc(), L"Leak\r\ncheck");
  const int before = GdiObjectCount();
  for (int i = 0; i < 25; ++i) {
    InvalidateRect(tip, nullptr, TRUE);
    SendMessageW(tip, WM_PAINT, 0, 0);
    modToolTip::DrawBalloon(tip, canvas.dc(), L"Leak\r\ncheck");
  }
  EXPECT_EQ(GdiObjectCount(), before);
}

}  // namespace
}  // namespace tavlin::testing
