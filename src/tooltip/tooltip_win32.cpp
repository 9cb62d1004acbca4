#include "tooltip/tooltip_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "common/text_boundary_win32.h"
#include "common/program_win32.h"
#include "common/win32_handles.h"
#include "shell/picture_load_win32.h"
#include "tooltip/balloon.h"
#include "tooltip/tip_catalogue.h"

namespace tavlin::tooltip {
namespace modToolTip {
namespace {

// The tool record in its oldest layout, which every version of the common
// controls accepts: 40 bytes in a 32-bit build, handle-sized fields in a 64-bit one.
// (TTTOOLINFOW_V1_SIZE, spelled so that it is a constant expression.)
constexpr UINT kToolInfoSize = offsetof(TTTOOLINFOW, lpszText) + sizeof(TTTOOLINFOW::lpszText);
#ifndef _WIN64
static_assert(kToolInfoSize == 40, "the 32-bit tool record is 40 bytes");
#endif

// The tool each tooltip window gains for the keyboard: shown and hidden when
// asked (tracked), apart from the tools the pointer shows.
constexpr UINT_PTR kKeyboardTool = 1;

// The tip the keyboard asked for, while it shows, and the control it hangs from.
struct KeyboardTip {
  HWND tip = nullptr, control = nullptr;
};
KeyboardTip g_keyboard;
std::vector<HWND> g_withKeyboardTool;  // the tooltip windows that have the tool

TTTOOLINFOW KeyboardTool(HWND control) {
  TTTOOLINFOW tool{};
  tool.cbSize = kToolInfoSize;
  tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
  tool.hwnd = control;
  tool.uId = kKeyboardTool;
  return tool;
}

// The picture a tooltip window's balloon shows: what the check found, the
// system's decoding of it once the balloon has shown, and while it shows,
// where it is and which frame is drawn. One per picture box at most.
struct PictureSlot {
  HWND tip = nullptr;
  TipPicture wanted;
  bool tried = false;   // decoded, or failed to, since `wanted` was given
  UniqueBitmap bitmap;  // null until then, and when it did not decode
  bool showing = false;
  DWORD shownAt = 0;  // tick count when the balloon appeared
  int frame = -1;     // the frame drawn last
  PictureView view;
  Rect at;
};
// Freed with their tooltip window (WM_NCDESTROY), which goes with the main window.
std::vector<PictureSlot> g_pictures;

// The timer that moves a spinning logo on while its balloon shows. The
// tooltip's own timers have small numbers.
constexpr UINT_PTR kFrameTimer = 0x7461;

PictureSlot* SlotOf(HWND tip) {
  for (PictureSlot& slot : g_pictures)
    if (slot.tip == tip) return &slot;
  return nullptr;
}

Size SizeOf(const TipPicture& p) {
  return {p.width, p.height};
}

// The balloon has gone: its spinning logo stops.
void StopPicture(HWND tip) {
  KillTimer(tip, kFrameTimer);
  if (PictureSlot* slot = SlotOf(tip)) slot->showing = false;
}

void DrawFrame(HDC dc, const PictureSlot& slot) {
  DrawPicture(dc, slot.bitmap.get(),
              PictureBlits(slot.wanted.kind, SizeOf(slot.wanted), slot.view, slot.at, slot.frame));
}

int Frames(const PictureSlot& slot) {
  return FrameCount(slot.wanted.kind, SizeOf(slot.wanted));
}

// The frame a spinning logo is at, counted from when its balloon appeared.
int FrameNow(const PictureSlot& slot) {
  return FrameAt(Frames(slot), GetTickCount() - slot.shownAt);
}

// WM_TIMER: the next frame, drawn straight into the window; the balloon stays
// where it is.
void NextFrame(HWND tip) {
  PictureSlot* slot = SlotOf(tip);
  if (!slot || !slot->showing || !slot->bitmap || !IsWindowVisible(tip)) return StopPicture(tip);
  const int frame = FrameNow(*slot);
  if (frame == slot->frame) return;
  slot->frame = frame;
  const WindowDC dc(tip);
  DrawFrame(dc.get(), *slot);
}

// How the slot's picture shows beside a text of the measured size: nothing
// until it has decoded, which it does the first time it is asked.
PictureView ViewFor(PictureSlot& slot, const Rect& measured, int dpi, const BalloonMetrics& m) {
  if (!slot.tried) {
    slot.tried = true;
    slot.bitmap = shell::LoadPicture(slot.wanted.path, {shell::PreviewVerdict::Show,
                                                        slot.wanted.width, slot.wanted.height})
                      .bitmap;
  }
  if (!slot.bitmap) return {};
  const Size text{measured.Width(), measured.Height()};
  const Size screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return ViewOf(slot.wanted.kind, SizeOf(slot.wanted), text.width, dpi,
                PictureRoom(screen, text, m));
}

// Body and pointer as one outline.
UniqueRegion Outline(const BalloonShape& shape) {
  POINT pointer[3];
  for (std::size_t i = 0; i < shape.pointer.size(); ++i)
    pointer[i] = POINT{shape.pointer[i].x, shape.pointer[i].y};
  UniqueRegion outline(CreateRectRgn(0, 0, 0, 0));
  const UniqueRegion body(CreateRoundRectRgn(shape.body.left, shape.body.top, shape.body.right,
                                             shape.body.bottom, shape.ellipse, shape.ellipse));
  const UniqueRegion tip(CreatePolygonRgn(pointer, 3, ALTERNATE));
  CombineRgn(outline.get(), body.get(), tip.get(), RGN_OR);
  return outline;
}

// The window takes the balloon's outline as its shape, so that what lies
// beneath shows beside the pointer and outside the rounded corners. Set again
// only when the outline changes.
void ShapeWindow(HWND hwnd, const BalloonShape& shape) {
  UniqueRegion outline = Outline(shape);
  const UniqueRegion current(CreateRectRgn(0, 0, 0, 0));
  if (!outline || !current) return;
  if (GetWindowRgn(hwnd, current.get()) != ERROR && EqualRgn(current.get(), outline.get())) return;
  // Once the window has taken the region, it is the window's to free.
  if (SetWindowRgn(hwnd, outline.get(), FALSE)) outline.release();
}

Rect WindowRectOf(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return {r.left, r.top, r.right, r.bottom};
}

// Lives until the process ends; only the user-interface thread touches it.
std::vector<TipEntry>& Table() {
  static std::vector<TipEntry> table;
  return table;
}

void EnsureTooltipClass() {
  static const bool registered = [] {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)registered;
}

UniqueFont CreateTipFont(const BalloonMetrics& m) {
  LOGFONTW lf{};
  lf.lfHeight = m.fontHeight;  // positive: a cell height, not a character height
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = ANSI_CHARSET;
  constexpr std::wstring_view face = L"Tahoma";
  face.copy(lf.lfFaceName, LF_FACESIZE - 1);
  return UniqueFont(win::MakeFont(lf));
}

RECT ToRect(const Rect& r) {
  return RECT{r.left, r.top, r.right, r.bottom};
}

// A tool that is the whole of `window`, watched by the tooltip itself.
void AddWindowTool(HWND tip, HWND window, std::wstring_view text) {
  TTTOOLINFOW tool{};
  tool.cbSize = kToolInfoSize;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = window;
  tool.uId = reinterpret_cast<UINT_PTR>(window);
  win::AddTool(tip, tool, text);  // the tooltip keeps its own copy
}

// Where the control lies in its parent's client area.
RECT PlaceInParent(HWND control, HWND parent) {
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The mouse messages a tooltip watches.
bool IsMouseMessage(UINT msg) {
  switch (msg) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      return true;
  }
  return false;
}

// On the parent of a disabled control: hands the parent's mouse messages to the
// control's tooltip (id), its tool over the control (ref) first moved to where
// the control is now. A subclass of our own rather than the tooltip's, so that
// any number of tips can watch one parent.
LRESULT CALLBACK RelayToTip(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref) {
  if (IsMouseMessage(msg)) {
    const HWND tip = reinterpret_cast<HWND>(id);
    const HWND control = reinterpret_cast<HWND>(ref);
    TTTOOLINFOW tool{};
    tool.cbSize = kToolInfoSize;
    tool.hwnd = hwnd;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.rect = PlaceInParent(control, hwnd);
    win::NewToolRect(tip, tool);
    MSG relayed{};
    relayed.hwnd = hwnd;
    relayed.message = msg;
    relayed.wParam = wp;
    relayed.lParam = lp;
    win::SendWithoutText(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
  } else if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, &RelayToTip, id);
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

// A tool over the control's place in its parent, fed with the parent's mouse
// messages: the tip of a control that gets none of its own.
void AddToolThroughParent(HWND tip, HWND control, std::wstring_view text) {
  const HWND parent = GetParent(control);
  if (!parent) return;
  TTTOOLINFOW tool{};
  tool.cbSize = kToolInfoSize;
  tool.hwnd = parent;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.rect = PlaceInParent(control, parent);
  win::AddTool(tip, tool, text);
  SetWindowSubclass(parent, &RelayToTip, reinterpret_cast<UINT_PTR>(tip),
                    reinterpret_cast<DWORD_PTR>(control));
}

// WM_PAINT: hang the window under the cursor (or from the control, for the
// keyboard), size it to its text and picture, shape and paint it.
void PaintTip(HWND hwnd) {
  const int dpi = TipDpi(hwnd);
  const BalloonMetrics m = MetricsFor(dpi);
  RECT window{};
  GetWindowRect(hwnd, &window);
  Point origin;
  if (hwnd == g_keyboard.tip) {
    origin = TipOriginUnder(WindowRectOf(g_keyboard.control), m);
  } else {
    HideKeyboardTip();  // the pointer's own balloon takes its place
    POINT cursor{};
    GetCursorPos(&cursor);
    origin = TipOrigin({cursor.x, cursor.y}, m);
  }
  const int width = window.right - window.left, height = window.bottom - window.top;
  MoveWindow(hwnd, origin.x, origin.y, width, height, FALSE);

  // The tooltip reports the text of the tip it is showing as its window text.
  const std::wstring text = win::WindowText(hwnd);
  PaintScope paint(hwnd);
  const UniqueFont font = CreateTipFont(m);
  SelectScope selectFont(paint.dc(), font.get());
  RECT measured{origin.x, origin.y, origin.x + width, origin.y + height};
  win::DrawTextIn(paint.dc(), text, measured, DT_CALCRECT | DT_NOCLIP | DT_VCENTER);
  const Rect textRect{measured.left, measured.top, measured.right, measured.bottom};
  PictureSlot* slot = SlotOf(hwnd);
  const PictureView view = slot ? ViewFor(*slot, textRect, dpi, m) : PictureView{};
  const Rect tip = TipWindowRect(textRect, m, view.area);
  ShowWindow(hwnd, SW_SHOWNA);
  MoveWindow(hwnd, tip.left, tip.top, tip.Width(), tip.Height(), TRUE);
  RECT client{};
  GetClientRect(hwnd, &client);
  const BalloonShape shape = BalloonGeometry(client.right, client.bottom, m, view.area);
  ShapeWindow(hwnd, shape);
  SetBkMode(paint.dc(), TRANSPARENT);
  DrawBalloon(paint.dc(), shape, text);
  if (view.area.Empty()) return;
  if (!slot->showing) {
    slot->showing = true;
    slot->shownAt = GetTickCount();
    if (Frames(*slot) > 1) SetTimer(hwnd, kFrameTimer, kFrameMs, nullptr);
  }
  slot->view = view;
  slot->at = shape.picture;
  slot->frame = FrameNow(*slot);
  DrawFrame(paint.dc(), *slot);
}

}  // namespace

std::span<const TipEntry> TipTable() {
  return Table();
}

int TipDpi(HWND hwnd) {
  return WindowDpi(hwnd);
}

HWND CreateToolTip(HWND control, std::wstring_view text, HWND owner) {
  // Without a control there is nothing to hover; make no window for it.
  if (!control || !IsWindow(control)) return nullptr;
  EnsureTooltipClass();
  // Always shown, whether or not the main window is active. The platform's own
  // balloon style is not used: the balloon is painted here. A popup from the
  // start: created as an overlapped window it would be born with a caption and
  // a default size, and Wine would hand it to the window manager for good, so
  // that hiding the tip waits on a window manager (two seconds when there is none).
  const HWND tip = win::MakeWindow(0, TOOLTIPS_CLASSW, L"", WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
  if (!tip) return nullptr;

  const std::wstring lines = BreakLines(text);
  AddWindowTool(tip, control, lines);
  // A window inside the control (the text part of a drop-down list, most of
  // it) gets the mouse messages there, not the control: it shows the same tip.
  for (HWND inner = GetWindow(control, GW_CHILD); inner; inner = GetWindow(inner, GW_HWNDNEXT))
    AddWindowTool(tip, inner, lines);
  // A disabled control gets no mouse messages at all; its parent gets them.
  if (!IsWindowEnabled(control)) AddToolThroughParent(tip, control, lines);

  InstallBalloonProc(tip);
  return tip;
}

void SetToolTipText(HWND tip, std::wstring_view text) {
  const std::wstring lines = BreakLines(text);
  const auto count = win::SendWithoutText(tip, TTM_GETTOOLCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    TTTOOLINFOW tool{};
    tool.cbSize = kToolInfoSize;
    if (!win::EnumTool(tip, static_cast<UINT>(i), tool)) continue;
    win::UpdateTipText(tip, tool, lines);  // the tooltip keeps its own copy
  }
}

bool ShowKeyboardTip(HWND tip, HWND control, std::wstring_view text) {
  if (!tip || !control) return false;
  HideKeyboardTip();
  TTTOOLINFOW tool = KeyboardTool(control);
  // Once added, the tool's text is kept current with the others' (SetToolTipText).
  if (std::find(g_withKeyboardTool.begin(), g_withKeyboardTool.end(), tip) ==
      g_withKeyboardTool.end()) {
    if (!win::AddTool(tip, tool, BreakLines(text))) return false;
    g_withKeyboardTool.push_back(tip);
  }
  g_keyboard = {tip, control};
  const Point at = TipOriginUnder(WindowRectOf(control), MetricsFor(TipDpi(tip)));
  win::SendWithoutText(tip, TTM_TRACKPOSITION, 0, MAKELPARAM(at.x, at.y));
  win::SendWithoutText(tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
  return true;
}

HWND KeyboardTipWindow() {
  return g_keyboard.tip;
}

bool HideKeyboardTip() {
  const KeyboardTip shown = std::exchange(g_keyboard, KeyboardTip{});
  if (!shown.tip) return false;
  TTTOOLINFOW tool = KeyboardTool(shown.control);
  win::SendWithoutText(shown.tip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
  return true;
}

void InstallBalloonProc(HWND tip) {
  if (!tip) return;
  const auto previous = reinterpret_cast<WNDPROC>(
      win::WriteWindowLong(tip, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ToolTipWndProc)));
  // The entry exists before the style change below, whose notifications already
  // come through ToolTipWndProc and must reach the previous procedure.
  Table().push_back({tip, previous});
  // The balloon's outline takes the place of the border.
  const LONG_PTR style = win::ReadWindowLong(tip, GWL_STYLE);
  win::WriteWindowLong(tip, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_BORDER));
  // A new style only reaches the frame when the frame is recalculated; without
  // this the client area keeps the border's inset until a paint happens to
  // change the window's size, and the balloon would be drawn too small.
  SetWindowPos(tip, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK ToolTipWndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  switch (uMsg) {
    case WM_PAINT:
      PaintTip(hwnd);
      return 0;
    case WM_PRINT:
      // Asked to draw into someone else's DC (a fade, for one): the tooltip's
      // own look must not appear there, so paint the balloon for real instead.
      win::PostWithoutText(hwnd, WM_PAINT, 0, 0);
      return 1;
    case WM_TIMER:
      if (wParam != kFrameTimer) break;
      NextFrame(hwnd);
      return 0;
    case WM_WINDOWPOSCHANGED:
      if (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_HIDEWINDOW) StopPicture(hwnd);
      break;
    case WM_NCDESTROY:
      SetTipPicture(hwnd, {});
      break;
  }
  for (const TipEntry& entry : Table()) {
    if (entry.TipHwnd == hwnd)
      return win::CallProcedure(entry.PrevWndProc, hwnd, uMsg, wParam, lParam);
  }
  return 0;
}

void DrawBalloon(HDC hdc, const BalloonShape& shape, std::wstring_view text) {
  // The outline of body and pointer together, so that no line crosses the
  // pointer's base.
  const UniqueRegion outline = Outline(shape);
  FillRgn(hdc, outline.get(), GetSysColorBrush(COLOR_INFOBK));
  FrameRgn(hdc, outline.get(), static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH)), shape.frame,
           shape.frame);

  SetTextColor(hdc, GetSysColor(COLOR_INFOTEXT));
  RECT textRect = ToRect(shape.text);
  // Left and top aligned, lines broken only at CR LF, nothing clipped.
  win::DrawTextIn(hdc, text, textRect, DT_NOCLIP | DT_VCENTER);
}

void DrawPicture(HDC dc, HBITMAP picture, std::span<const Blit> blits) {
  const UniqueDC source(CreateCompatibleDC(dc));
  if (!source || !picture) return;
  const SelectScope select(source.get(), picture);
  // Whole-pixel zoom: each pixel of the picture is copied, never blended.
  const int mode = SetStretchBltMode(dc, COLORONCOLOR);
  for (const Blit& b : blits)
    StretchBlt(dc, b.to.left, b.to.top, b.to.Width(), b.to.Height(), source.get(), b.from.left,
               b.from.top, b.from.Width(), b.from.Height(), SRCCOPY);
  SetStretchBltMode(dc, mode);
}

void SetTipPicture(HWND tip, const TipPicture& picture) {
  if (PictureSlot* slot = SlotOf(tip)) {
    if (slot->wanted == picture) return;
    // The old picture goes, decoded or not; a new one is read when it shows.
    KillTimer(tip, kFrameTimer);
    g_pictures.erase(g_pictures.begin() + (slot - g_pictures.data()));
  }
  if (!picture.path.empty()) {
    g_pictures.emplace_back();
    g_pictures.back().tip = tip;
    g_pictures.back().wanted = picture;
  }
}

std::size_t DecodedPictures() {
  return static_cast<std::size_t>(std::count_if(
      g_pictures.begin(), g_pictures.end(), [](const PictureSlot& s) { return bool(s.bitmap); }));
}

}  // namespace modToolTip

HWND Win32Tooltips::TipOf(Ctl control) const {
  const auto i = static_cast<std::size_t>(control);
  return i < tips_.size() ? tips_[i] : nullptr;
}

bool Win32Tooltips::SetTipPicture(Ctl control, const TipPicture& picture) {
  const HWND tip = TipOf(control);
  if (tip) modToolTip::SetTipPicture(tip, picture);
  return tip != nullptr;
}

bool Win32Tooltips::CreateToolTip(Ctl control, std::wstring_view text) {
  const HWND tip =
      modToolTip::CreateToolTip(controlWindow_ ? controlWindow_(control) : nullptr, text, owner_);
  if (tip) tips_[static_cast<std::size_t>(control)] = tip;
  return tip != nullptr;
}

bool Win32Tooltips::ShowKeyboardTip(Ctl control, std::wstring_view text) {
  const HWND tip = TipOf(control);
  return tip && controlWindow_ && modToolTip::ShowKeyboardTip(tip, controlWindow_(control), text);
}

bool Win32Tooltips::HideKeyboardTip() {
  return modToolTip::HideKeyboardTip();
}

std::optional<Ctl> Win32Tooltips::KeyboardTipFor() {
  const HWND shown = modToolTip::KeyboardTipWindow();
  for (std::size_t i = 0; shown && i < tips_.size(); ++i)
    if (tips_[i] == shown) return static_cast<Ctl>(i);
  return std::nullopt;
}

bool Win32Tooltips::UpdateToolTip(Ctl control, std::wstring_view text) {
  const HWND tip = TipOf(control);
  if (tip) modToolTip::SetToolTipText(tip, text);
  return tip != nullptr;
}

}  // namespace tavlin::tooltip
