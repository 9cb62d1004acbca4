// The yardstick Tavlin's start-up is held against: the same window made the
// plain way, with none of the program's work. The same frame and client size,
// the same containers and 68 controls of the same classes, captions and fonts at
// the same places (from the program's layout table), the list's two entries, a
// 43x43 logo drawn in memory, and the 17 tooltip windows of the tip catalogue
// made before the window shows. No registry, no settings, no version queries, no
// picture decoding, no label fitting, no balloon painting.
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <string>

#include "app/layout.h"
#include "tooltip/tip_catalogue.h"

namespace {

using tavlin::Ctl;
using namespace tavlin::app;

constexpr wchar_t kMainClass[] = L"NaiveMain";
constexpr wchar_t kPanelClass[] = L"NaivePanel";

std::array<HWND, tavlin::kControlCount> g_controls{};
HFONT g_frameFont = nullptr;

LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

// A container with a caption draws itself as a group box.
LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(hwnd, &ps);
    wchar_t caption[64] = {};
    if (GetWindowTextW(hwnd, caption, 64) > 0) {
      const HGDIOBJ old = SelectObject(dc, g_frameFont);
      RECT r;
      GetClientRect(hwnd, &r);
      r.top += 6;
      DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);
      RECT text{8, 0, r.right, 14};
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      DrawTextW(dc, caption, -1, &text, DT_SINGLELINE);
      SelectObject(dc, old);
    }
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

// A blue square with a lighter band, drawn with GDI into a bitmap of the screen's format.
HBITMAP DrawLogo() {
  const HDC screen = GetDC(nullptr);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, 43, 43);
  const HDC dc = CreateCompatibleDC(screen);
  const HGDIOBJ old = SelectObject(dc, bitmap);
  for (int y = 0; y < 43; ++y) {
    const HBRUSH band = CreateSolidBrush(RGB(10 + 2 * y, 30 + 3 * y, 90 + 3 * y));
    const RECT row{0, y, 43, y + 1};
    FillRect(dc, &row, band);
    DeleteObject(band);
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = MainProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = kMainClass;
  RegisterClassExW(&wc);
  wc.lpfnWndProc = PanelProc;
  wc.lpszClassName = kPanelClass;
  RegisterClassExW(&wc);

  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  const auto px = [dpi](int twips) { return TwipsToPixels(twips, dpi); };

  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  RECT frame{0, 0, px(kClientWidthTwips), px(kClientHeightTwips)};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  const HWND main = CreateWindowExW(exStyle, kMainClass, L"Naive 6.0.6", style, CW_USEDEFAULT,
                                    CW_USEDEFAULT, frame.right - frame.left,
                                    frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
  g_controls[static_cast<std::size_t>(Ctl::frmMain)] = main;

  std::array<HFONT, 7> fonts{};
  for (std::size_t i = 0; i < fonts.size(); ++i) {
    const FontSpec f = FontOf(static_cast<Font>(i));
    fonts[i] = CreateFontW(-FontHeightPixels(f, dpi), 0, 0, 0, f.bold ? FW_BOLD : FW_NORMAL, FALSE,
                           f.underline ? TRUE : FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,
                           std::wstring(f.face).c_str());
  }
  g_frameFont = fonts[0];
  const HBITMAP logo = DrawLogo();

  // The table lists every container before its children.
  for (const ControlSpec& s : Layout()) {
    const wchar_t* cls = L"STATIC";
    DWORD ctlStyle =
        WS_CHILD | WS_CLIPSIBLINGS | (s.visible ? WS_VISIBLE : 0) | (s.enabled ? 0 : WS_DISABLED);
    DWORD ctlEx = 0;
    int height = px(s.height);
    switch (s.kind) {
      case Kind::Panel:
      case Kind::Frame:
        cls = kPanelClass;
        ctlStyle |= WS_CLIPCHILDREN;
        ctlEx = WS_EX_CONTROLPARENT;
        break;
      case Kind::Button:
        cls = L"BUTTON";
        ctlStyle |= BS_PUSHBUTTON | WS_TABSTOP;
        break;
      case Kind::Label:
        ctlStyle |= SS_LEFT | SS_NOTIFY;
        break;
      case Kind::TextBox:
        cls = L"EDIT";
        ctlStyle |= ES_AUTOHSCROLL | WS_TABSTOP;
        ctlEx = WS_EX_CLIENTEDGE;
        break;
      case Kind::Combo:
        cls = L"COMBOBOX";
        ctlStyle |= CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP;
        height *= 4;
        break;
      case Kind::Image:
        ctlStyle |= SS_BITMAP | SS_CENTERIMAGE | SS_NOTIFY;
        break;
      case Kind::Line:
        ctlStyle |= SS_ETCHEDHORZ;
        height = 2;
        break;
    }
    const HWND h = CreateWindowExW(
        ctlEx, cls, std::wstring(s.caption).c_str(), ctlStyle, px(s.left), px(s.top), px(s.width),
        height, g_controls[static_cast<std::size_t>(s.container)],
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlIdOf(s.id))), instance, nullptr);
    g_controls[static_cast<std::size_t>(s.id)] = h;
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(fonts[static_cast<int>(s.font)]), FALSE);
    if (s.kind == Kind::Combo) {
      SendMessageW(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"yes"));
      SendMessageW(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"no"));
    }
    if (s.kind == Kind::Image)
      SendMessageW(h, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(logo));
  }
  ShowWindow(g_controls[static_cast<std::size_t>(Ctl::frmMenu_1)], SW_HIDE);

  // One tooltip window per catalogue row, each watching its control.
  for (const tavlin::tooltip::TipRow& row : tavlin::tooltip::TipCatalogue()) {
    const HWND tip = CreateWindowExW(0, TOOLTIPS_CLASSW, L"", WS_POPUP | TTS_ALWAYSTIP,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                     main, nullptr, instance, nullptr);
    std::wstring text = tavlin::tooltip::TipText(row);
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V1_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = g_controls[static_cast<std::size_t>(row.control)];
    tool.uId = reinterpret_cast<UINT_PTR>(tool.hwnd);
    tool.lpszText = text.data();
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }

  ShowWindow(main, show);
  UpdateWindow(main);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(main, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  for (const HFONT f : fonts) DeleteObject(f);
  DeleteObject(logo);
  return 0;
}
