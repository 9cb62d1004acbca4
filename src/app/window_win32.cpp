#include "app/window_win32.h"

#include <commctrl.h>

#include <optional>
#include <string>
#include <utility>

#include "app/accessible_win32.h"
#include "app/colours.h"
#include "app/frmMain.h"
#include "app/links.h"
#include "app/resource.h"
#include "common/entry_points_win32.h"
#include "common/program_win32.h"
#include "common/text_boundary_win32.h"

namespace tavlin::app {
namespace {

constexpr wchar_t kMainClass[] = L"TavlinMain";
constexpr wchar_t kContainerClass[] = L"TavlinPanel";
constexpr DWORD kMainStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kMainExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
// Posted at the window's first paint: the rest of start-up runs when it is taken
// from the queue, after the window and all its controls have been painted.
constexpr UINT kShownMessage = WM_APP + 1;
// Sent by 8.1 and later when the window moves to a screen of another DPI.
constexpr UINT kDpiChanged = 0x02E0;  // WM_DPICHANGED
// The About panel is hidden until it is asked for: its controls are made the
// first time it is shown, not before the window's first paint.
constexpr Ctl kMadeWhenShown = Ctl::frmMenu_1;

// The DPI forms are newer than the oldest systems the program runs on.
RECT WindowRectForClient(int width, int height, int dpi) {
  RECT r{0, 0, width, height};
  const auto adjust = win::Newer().AdjustWindowRectExForDpi;
  if (!adjust || !adjust(&r, kMainStyle, FALSE, kMainExStyle, static_cast<UINT>(dpi)))
    AdjustWindowRectEx(&r, kMainStyle, FALSE, kMainExStyle);
  return r;
}

int IconSize(int metric, int dpi) {
  const auto get = win::Newer().GetSystemMetricsForDpi;
  return get ? get(metric, static_cast<UINT>(dpi)) : GetSystemMetrics(metric);
}

struct Icons {
  UniqueIcon big, small;
};
// The program's icon at the sizes a DPI asks for.
Icons LoadIcons(HINSTANCE instance, int dpi) {
  const auto load = [instance, dpi](int cx, int cy) {
    return UniqueIcon(static_cast<HICON>(win::LoadResourceImage(
        instance, IDI_TAVLIN, IMAGE_ICON, IconSize(cx, dpi), IconSize(cy, dpi), 0)));
  };
  return {load(SM_CXICON, SM_CYICON), load(SM_CXSMICON, SM_CYSMICON)};
}

// The window class carries the icons at the screen's DPI, made once for the
// program's life. A window at that DPI shows them from its first frame without
// icons of its own: giving it its own as well would have the window system turn
// a second pair into its pictures before the window is shown (some 3 ms under
// Wine).
struct ClassIcons {
  Icons icons;
  int dpi;
};
const ClassIcons& ClassIconsFor(HINSTANCE instance, int screenDpi) {
  static const ClassIcons made{LoadIcons(instance, screenDpi), screenDpi};
  return made;
}

Rgb RgbOf(int sysColour) {
  const COLORREF c = GetSysColor(sysColour);
  return Rgb{GetRValue(c), GetGValue(c), GetBValue(c)};
}

// What each kind of control is made as: its window class, and its styles
// beyond those every control has.
struct MadeAs {
  Kind kind;
  const wchar_t* cls;
  DWORD style, exStyle;
};
constexpr MadeAs kMadeAs[] = {
    {Kind::Panel, kContainerClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT},
    {Kind::Frame, kContainerClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT},
    {Kind::Button, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0},
    {Kind::Label, L"STATIC", SS_LEFT | SS_NOTIFY, 0},
    {Kind::TextBox, L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE},
    {Kind::Combo, L"COMBOBOX", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 0},
    {Kind::Image, L"STATIC", SS_BITMAP | SS_CENTERIMAGE | SS_NOTIFY, 0},
    {Kind::Line, L"STATIC", SS_ETCHEDHORZ, 0},
};
const MadeAs& MadeAsOf(Kind kind) {
  for (const MadeAs& m : kMadeAs)
    if (m.kind == kind) return m;
  return kMadeAs[0];
}

// The window object a window (the main one or a container) belongs to, kept in
// its user data from WM_NCCREATE on.
void KeepOwner(HWND hwnd, LPARAM createStruct) {
  // lpCreateParams is the first member of both families' creation record.
  win::WriteWindowLong(hwnd, GWLP_USERDATA,
                       reinterpret_cast<LONG_PTR>(
                           reinterpret_cast<const CREATESTRUCT*>(createStruct)->lpCreateParams));
}
MainWindow* OwnerOf(HWND hwnd) {
  return reinterpret_cast<MainWindow*>(win::ReadWindowLong(hwnd, GWLP_USERDATA));
}

// The control a window is; none for a window the layout does not name.
std::optional<Ctl> ControlOf(HWND hwnd) {
  const int id = hwnd ? GetDlgCtrlID(hwnd) : 0;
  return IsControlId(id) ? std::optional<Ctl>(ControlOfId(id)) : std::nullopt;
}
// The control a window is, or whose part it is (a drop-down's edit part).
std::optional<Ctl> ControlOfWindow(HWND hwnd) {
  const auto control = ControlOf(hwnd);
  return control || !hwnd ? control : ControlOf(GetParent(hwnd));
}

// The subclasses the window puts on its controls.
constexpr UINT_PTR kComboEditSubclass = 1, kControlSubclass = 2, kLinkSubclass = 3;

const ControlSpec* SpecOfWindow(HWND control) {
  const auto c = ControlOf(control);
  return c ? &RowOf(*c) : nullptr;
}

// What a control's background and text are finally painted in.
struct Paint {
  int back, fore;
};
Paint PaintOf(const ControlSpec& s) {
  const int fore = s.fore != kDefaultColour ? s.fore : kColourBtnText;
  const int back = s.back != kDefaultColour ? s.back : kColourBtnFace;
  return {EffectiveBack(back, RgbOf(back), RgbOf(kColourBtnText)), fore};
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance) : instance_(instance) {}

MainWindow::~MainWindow() {
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
  // The classes go with the window that registered them.
  win::UnregisterWindowClass(kContainerClass, instance_);
  win::UnregisterWindowClass(kMainClass, instance_);
}

bool MainWindow::Create() {
  // Made at its size for the screen's DPI from the start, so that it need not
  // be resized (and its surface made again) before it is shown; FitFrame makes
  // up any difference for the window's own DPI.
  const int screenDpi = WindowDpi(nullptr);
  const ClassIcons& classIcons = ClassIconsFor(instance_, screenDpi);
  iconDpi_ = classIcons.dpi;

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &MainWindow::WndProc;
  wc.hInstance = instance_;
  wc.hIcon = classIcons.icons.big.get();
  wc.hIconSm = classIcons.icons.small.get();
  wc.hCursor = win::LoadArrowCursor();
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = kMainClass;
  win::RegisterWindowClass(wc);
  wc.lpfnWndProc = &MainWindow::ContainerProc;
  wc.hIcon = wc.hIconSm = nullptr;
  wc.hbrBackground = nullptr;  // painted in WM_ERASEBKGND, in the container's own colour
  wc.lpszClassName = kContainerClass;
  win::RegisterWindowClass(wc);

  const RECT frame = WindowRectForClient(TwipsToPixels(kClientWidthTwips, screenDpi),
                                         TwipsToPixels(kClientHeightTwips, screenDpi), screenDpi);
  hwnd_ = win::MakeWindow(kMainExStyle, kMainClass, L"Tavlin", kMainStyle, CW_USEDEFAULT,
                          CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                          nullptr, nullptr, instance_, this);
  if (!hwnd_) return false;
  // Everything is made at its place and in its font for the window's DPI at
  // once; a later DPI change lays it out again.
  dpi_ = WindowDpi(hwnd_);
  CreateFonts();
  CreateControlsOf(Ctl::frmMain);
  LoadPictures();
  FitFrame();
  // As in a dialog: focus rectangles show once the keyboard is used (the
  // dialog manager then clears the flag), not after a click, unless the user
  // has asked to see them always.
  BOOL cues = FALSE;
  if (!SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &cues, 0) || !cues)
    win::SendWithoutText(hwnd_, WM_CHANGEUISTATE,
                         MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
  return true;
}

void MainWindow::CreateControlsOf(Ctl container) {
  measure_.reset(CreateCompatibleDC(nullptr));
  CreateChildren(container);
  measure_.reset();
}

void MainWindow::CreateChildren(Ctl container) {
  const HWND parent = container == Ctl::frmMain ? hwnd_ : Control(container);
  for (Ctl id : CreationOrder(container)) {
    const ControlSpec& s = RowOf(id);
    const MadeAs& made = MadeAsOf(s.kind);
    // A link the keyboard stops at is a tab stop like the buttons.
    const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (s.visible ? WS_VISIBLE : 0) |
                        (s.enabled ? 0 : WS_DISABLED) | (IsLinkStop(id) ? WS_TABSTOP : 0) |
                        made.style;
    // A frame keeps its caption as its text, for screen readers.
    const RECT r = PlaceOf(s);
    const HWND h = win::MakeWindow(
        made.exStyle, made.cls, s.caption, style, r.left, r.top, r.right - r.left, r.bottom - r.top,
        parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlIdOf(id))), instance_, this);
    controls_[static_cast<std::size_t>(id)] = h;
    if (!h) continue;
    if (s.kind == Kind::Label) ShowOnlyBesideItsBox(s, r, false);
    // An etched line resizes itself at creation; it is put back to its place.
    if (s.kind == Kind::Line)
      MoveWindow(h, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
    SetFont(s);
    // Controls made once the window is on the screen (the About panel's) are
    // ready for a screen reader at once; the rest at the first paint.
    if (shown_) ListenForScreenReader(h, s);
    if (s.kind == Kind::Combo) {
      win::AddComboString(h, L"yes");
      win::AddComboString(h, L"no");
      COMBOBOXINFO info{};
      info.cbSize = sizeof info;
      if (GetComboBoxInfo(h, &info) && info.hwndItem)
        SetWindowSubclass(info.hwndItem, &MainWindow::ComboEditProc, kComboEditSubclass,
                          reinterpret_cast<DWORD_PTR>(this));
    }
    if ((s.kind == Kind::Panel || s.kind == Kind::Frame) && id != kMadeWhenShown)
      CreateChildren(id);
  }
}

void MainWindow::CreateAboutControls() {
  if (aboutMade_ || !Control(kMadeWhenShown)) return;
  aboutMade_ = true;
  CreateControlsOf(kMadeWhenShown);
  win::SendWithoutText(Control(Ctl::imgLogo), STM_SETIMAGE, IMAGE_BITMAP,
                       reinterpret_cast<LPARAM>(logo_.get()));
}

void MainWindow::LoadPictures() {
  // The logo's source is a GIF; the build turns it into a bitmap resource, so
  // that showing it needs no picture decoder (nor COM) at start-up.
  logo_.reset(static_cast<HBITMAP>(
      win::LoadResourceImage(instance_, IDB_LOGO, IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
  // The About panel's copy is handed over when that panel's controls are made.
  win::SendWithoutText(Control(Ctl::Image1), STM_SETIMAGE, IMAGE_BITMAP,
                       reinterpret_cast<LPARAM>(logo_.get()));
}

LOGFONTW MainWindow::LogFontOf(Font font) const {
  const FontSpec f = FontOf(font);
  LOGFONTW lf{};
  lf.lfHeight = -FontHeightPixels(f, dpi_);
  lf.lfWeight = f.bold ? FW_BOLD : FW_NORMAL;
  lf.lfUnderline = f.underline ? TRUE : FALSE;
  lf.lfCharSet = DEFAULT_CHARSET;
  f.face.copy(lf.lfFaceName, LF_FACESIZE - 1);
  return lf;
}

void MainWindow::CreateFonts() {
  for (std::size_t i = 0; i < fonts_.size(); ++i) {
    const LOGFONTW lf = LogFontOf(static_cast<Font>(i));
    fonts_[i].reset(win::MakeFont(lf));
  }
}

UniqueFont MainWindow::CondensedFont(const ControlSpec& s, Extent natural, int textRoom) const {
  LOGFONTW lf = LogFontOf(s.font);
  UniqueFont font;
  // The caption's width in the same face at an average character width of w.
  const auto widthAt = [&](int w) {
    lf.lfWidth = w;
    font.reset(win::MakeFont(lf));
    return font ? CaptionExtent(font.get(), s.caption).width : -1;
  };
  if (CondensedCharWidth(natural.aveCharWidth, natural.width, textRoom, widthAt) == 0) font.reset();
  return font;
}

void MainWindow::SetFont(const ControlSpec& s) {
  const HWND h = Control(s.id);
  const UniqueFont& condensed = condensed_[static_cast<std::size_t>(s.id)];
  const HFONT font = condensed ? condensed.get() : fonts_[static_cast<int>(s.font)].get();
  win::SendWithoutText(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  // A drop-down's edit part is as high as the design says, whatever the font.
  if (s.kind == Kind::Combo)
    win::SendWithoutText(h, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1),
                         ComboSelectionHeight(TwipsToPixels(s.height, dpi_)));
}

RECT MainWindow::PlaceOf(const ControlSpec& s) {
  const auto px = [this](int twips) { return TwipsToPixels(twips, dpi_); };
  const int height = WindowHeight(s.kind, px(s.height));
  int width = px(s.width);
  if (s.kind == Kind::Label) {
    const Extent caption = CaptionExtent(fonts_[static_cast<int>(s.font)].get(), s.caption);
    const LabelFit fit =
        FitLabel(width, height, caption.width, caption.lineHeight, px(RoomToTheRight(s)));
    width = fit.width;
    condensed_[static_cast<std::size_t>(s.id)] =
        fit.textRoom > 0 ? CondensedFont(s, caption, fit.textRoom) : UniqueFont{};
  }
  return RECT{px(s.left), px(s.top), px(s.left) + width, px(s.top) + height};
}

void MainWindow::ShowOnlyBesideItsBox(const ControlSpec& s, const RECT& r, bool again) {
  const int width = r.right - r.left, height = r.bottom - r.top;
  const int shown = WidthBesideItsBox(s, width, TwipsToPixels(RoomToTheRight(s), dpi_));
  if (shown >= width) {
    if (again) SetWindowRgn(Control(s.id), nullptr, FALSE);  // a region of another DPI goes
    return;
  }
  // The window keeps the region; it is ours to free only if refused.
  UniqueRegion visible(CreateRectRgn(0, 0, shown, height));
  if (visible && SetWindowRgn(Control(s.id), visible.get(), FALSE)) visible.release();
}

void MainWindow::ApplyDpi(int dpi) {
  dpi_ = dpi;
  // Every control keeps drawing with its old font until it has its new one:
  // the old fonts are freed only on the way out, once all have been replaced.
  const auto oldFonts = std::move(fonts_);
  const auto oldCondensed = std::move(condensed_);
  CreateFonts();
  HDWP batch = BeginDeferWindowPos(kControlCount);
  measure_.reset(CreateCompatibleDC(nullptr));
  for (const ControlSpec& s : Layout()) {
    const HWND h = Control(s.id);
    if (!h) continue;
    const RECT r = PlaceOf(s);
    SetFont(s);
    if (s.kind == Kind::Label) ShowOnlyBesideItsBox(s, r, true);
    if (batch)
      batch = DeferWindowPos(batch, h, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                             SWP_NOZORDER | SWP_NOACTIVATE);
  }
  measure_.reset();
  if (batch) EndDeferWindowPos(batch);
  FitFrame();
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void MainWindow::FitFrame() {
  const int dpi = dpi_;
  // The icons in use serve at the DPI they were made for; at another the
  // window gets its own, and the ones it had go once it has let go of them.
  if (dpi != iconDpi_) {
    Icons own = LoadIcons(instance_, dpi);
    win::SendWithoutText(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(own.big.get()));
    win::SendWithoutText(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(own.small.get()));
    bigIcon_ = std::move(own.big);
    smallIcon_ = std::move(own.small);
    iconDpi_ = dpi;
  }
  const int width = TwipsToPixels(kClientWidthTwips, dpi);
  const int height = TwipsToPixels(kClientHeightTwips, dpi);
  const RECT r = WindowRectForClient(width, height, dpi);
  // At start-up the window was made at this size already.
  RECT now{};
  if (!GetWindowRect(hwnd_, &now) || now.right - now.left != r.right - r.left ||
      now.bottom - now.top != r.bottom - r.top)
    SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // The frame a system draws need not be the one it computes for a DPI (a
  // system that keeps one frame size for every DPI); the client area is what
  // must come out exact, so any difference is made up here.
  RECT client;
  if (GetClientRect(hwnd_, &client) && (client.right != width || client.bottom != height))
    SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left + width - client.right,
                 r.bottom - r.top + height - client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

MainWindow::Extent MainWindow::CaptionExtent(HFONT font, std::wstring_view caption) const {
  // Outside the placing of controls, the window's own DC measures.
  std::optional<WindowDC> windowDC;
  if (!measure_) windowDC.emplace(hwnd_);
  const HDC dc = measure_ ? measure_.get() : windowDC->get();
  SelectScope select(dc, font);
  RECT r{0, 0, 0, 0};
  win::DrawTextIn(dc, caption, r, DT_CALCRECT | DT_SINGLELINE);
  const win::FontMetrics tm = win::FontMetricsOf(dc);
  return Extent{r.right - r.left, tm.height, tm.aveCharWidth};
}

// --- Controls port -----------------------------------------------------------

void MainWindow::SetCaption(std::wstring_view caption) {
  win::ReplaceWindowText(hwnd_, caption);
}

void MainWindow::SetText(Ctl control, std::wstring_view text) {
  win::ReplaceWindowText(Control(control), text);
}

std::wstring MainWindow::GetText(Ctl control) {
  return win::WindowText(Control(control));
}

void MainWindow::SetVisible(Ctl control, bool visible) {
  if (visible && control == kMadeWhenShown) CreateAboutControls();
  ShowWindow(Control(control), visible ? SW_SHOWNA : SW_HIDE);
}

void MainWindow::SetEnabled(Ctl control, bool enabled) {
  EnableWindow(Control(control), enabled ? TRUE : FALSE);
}

void MainWindow::BringToFront(Ctl control) {
  SetWindowPos(Control(control), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void MainWindow::SetFocus(Ctl control) {
  ::SetFocus(Control(control));
}

std::optional<Ctl> MainWindow::Focused() {
  return ControlOfWindow(GetFocus());
}

void MainWindow::CloseWindow() {
  win::PostWithoutText(hwnd_, WM_CLOSE, 0, 0);
}

void MainWindow::DropGlobalReference() {
  referenceDropped_ = true;
}

// --- Messages ------------------------------------------------------------------

LRESULT CALLBACK MainWindow::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    KeepOwner(hwnd, lp);
    OwnerOf(hwnd)->hwnd_ = hwnd;
  }
  MainWindow* self = OwnerOf(hwnd);
  return self ? self->Handle(msg, wp, lp) : win::DefaultWindowProc(hwnd, msg, wp, lp);
}

LRESULT MainWindow::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND: {
      const int id = LOWORD(wp);
      if (!form_) return 0;
      if (id == IDCANCEL) {
        form_->CancelKey();  // Escape
        return 0;
      }
      if (lp == 0 || !IsControlId(id)) return 0;  // Enter's IDOK presses nothing
      // BN_CLICKED and STN_CLICKED are both 0.
      if (HIWORD(wp) == 0) form_->Click(ControlOfId(id));
      if (HIWORD(wp) == EN_KILLFOCUS) form_->LostFocus(ControlOfId(id));
      return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
      return ControlColour(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp), msg);
    case WM_PAINT:
      if (!shown_) {
        shown_ = true;
        win::PostWithoutText(hwnd_, kShownMessage, 0, 0);
      }
      break;
    case kShownMessage:
      for (const ControlSpec& s : Layout())
        if (const HWND h = Control(s.id)) ListenForScreenReader(h, s);
      if (form_) form_->Form_Shown();
      return 0;
    case kDpiChanged: {
      ApplyDpi(HIWORD(wp));
      const RECT* suggested = reinterpret_cast<const RECT*>(lp);
      SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_CLOSE: {
      short cancel = 0;
      if (form_) form_->Form_Unload(cancel);
      if (cancel == 0) DestroyWindow(hwnd_);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      hwnd_ = nullptr;
      break;
  }
  return win::DefaultWindowProc(hwnd_, msg, wp, lp);
}

LRESULT MainWindow::ControlColour(HDC dc, HWND control, UINT msg) {
  const ControlSpec* s = SpecOfWindow(control);
  if (msg == WM_CTLCOLOREDIT || !s) {
    // A window the layout does not name (the drop-down's own edit box, whose
    // colour requests a combo box may pass on): drawn on its parent's colour.
    if (!s) {
      const HBRUSH brush = ContainerBrush(GetParent(control));
      SetBkMode(dc, TRANSPARENT);
      return reinterpret_cast<LRESULT>(brush);
    }
    return win::DefaultWindowProc(hwnd_, msg, reinterpret_cast<WPARAM>(dc),
                                  reinterpret_cast<LPARAM>(control));
  }
  // Buttons and pictures stand on their container's colour.
  if (s->kind == Kind::Button || s->kind == Kind::Image)
    return reinterpret_cast<LRESULT>(ContainerBrush(GetParent(control)));
  const Paint p = PaintOf(*s);
  const bool disabledText = s->kind == Kind::TextBox && !IsWindowEnabled(control);
  SetTextColor(dc, GetSysColor(disabledText ? COLOR_GRAYTEXT : p.fore));
  SetBkColor(dc, GetSysColor(p.back));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(p.back));
}

void MainWindow::PaintFrame(HWND container, HDC dc) const {
  // A frame with a caption is drawn as a group box: an etched outline whose top
  // runs through the middle of the caption. Its children cover the rest.
  const ControlSpec* s = SpecOfWindow(container);
  if (!s || s->kind != Kind::Frame) return;
  const HFONT font = fonts_[static_cast<int>(s->font)].get();
  SelectScope select(dc, font);
  const int lineHeight = win::FontMetricsOf(dc).height;
  RECT text{0, 0, 0, lineHeight};
  win::DrawTextIn(dc, s->caption, text, DT_CALCRECT | DT_SINGLELINE);
  const FrameCaption caption = FrameCaptionAt(text.right, lineHeight, dpi_);
  RECT r;
  GetClientRect(container, &r);
  r.top += caption.edgeTop;
  DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);
  text.left = caption.left;
  text.right = caption.right;
  SetBkColor(dc, GetSysColor(PaintOf(*s).back));
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  SetBkMode(dc, OPAQUE);
  win::DrawTextIn(dc, s->caption, text, DT_SINGLELINE | DT_CENTER);
}

HBRUSH MainWindow::ContainerBrush(HWND container) const {
  const ControlSpec* s = SpecOfWindow(container);
  return GetSysColorBrush(s ? PaintOf(*s).back : kColourBtnFace);
}

LRESULT CALLBACK MainWindow::ContainerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NCCREATE:
      KeepOwner(hwnd, lp);
      break;
    case WM_ERASEBKGND: {
      const MainWindow* self = OwnerOf(hwnd);
      RECT r;
      GetClientRect(hwnd, &r);
      FillRect(reinterpret_cast<HDC>(wp), &r,
               self ? self->ContainerBrush(hwnd) : GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    case WM_PAINT: {
      const MainWindow* self = OwnerOf(hwnd);
      PaintScope paint(hwnd);
      if (self) self->PaintFrame(hwnd, paint.dc());
      return 0;
    }
    // A container passes its children's notifications and colour requests on
    // to the window, which holds the handlers.
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
      return win::SendWithoutText(GetAncestor(hwnd, GA_ROOT), msg, wp, lp);
  }
  return win::DefaultWindowProc(hwnd, msg, wp, lp);
}

LRESULT CALLBACK MainWindow::ComboEditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                           DWORD_PTR self) {
  auto* window = reinterpret_cast<MainWindow*>(self);
  if (msg == WM_CHAR && window->form_) {
    short key = static_cast<short>(wp);
    window->form_->cboFullScreen_KeyPress(key);
    if (key == 0) return 0;
    wp = static_cast<WPARAM>(static_cast<unsigned short>(key));
  }
  LRESULT answer = 0;
  if (msg == WM_GETOBJECT && window->AnswerObject(hwnd, wp, lp, answer)) return answer;
  if (msg == WM_NCDESTROY)
    RemoveWindowSubclass(hwnd, &MainWindow::ComboEditProc, kComboEditSubclass);
  return DefSubclassProc(hwnd, msg, wp, lp);
}

LRESULT CALLBACK MainWindow::ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                         DWORD_PTR self) {
  LRESULT answer = 0;
  if (msg == WM_GETOBJECT &&
      reinterpret_cast<const MainWindow*>(self)->AnswerObject(hwnd, wp, lp, answer))
    return answer;
  if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, &MainWindow::ControlProc, kControlSubclass);
  return DefSubclassProc(hwnd, msg, wp, lp);
}

void MainWindow::ListenForScreenReader(HWND h, const ControlSpec& s) {
  if (TakesFocus(s.kind))
    SetWindowSubclass(h, &MainWindow::ControlProc, kControlSubclass,
                      reinterpret_cast<DWORD_PTR>(this));
  else if (IsLinkStop(s.id))
    SetWindowSubclass(h, &MainWindow::LinkProc, kLinkSubclass, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK MainWindow::LinkProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                      DWORD_PTR self) {
  const auto* window = reinterpret_cast<const MainWindow*>(self);
  switch (msg) {
    case WM_GETDLGCODE:
      // Enter comes to the link rather than to the dialog manager.
      if (lp && reinterpret_cast<const MSG*>(lp)->message == WM_KEYDOWN &&
          reinterpret_cast<const MSG*>(lp)->wParam == VK_RETURN)
        return DefSubclassProc(hwnd, msg, wp, lp) | DLGC_WANTMESSAGE;
      break;
    case WM_KEYDOWN:
      // Enter or Space opens the link as a click does; a held key, once.
      if ((wp == VK_RETURN || wp == VK_SPACE) && !(lp & (1 << 30))) {
        win::SendWithoutText(GetParent(hwnd), WM_COMMAND,
                             MAKEWPARAM(GetDlgCtrlID(hwnd), STN_CLICKED),
                             reinterpret_cast<LPARAM>(hwnd));
        return 0;
      }
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_UPDATEUISTATE:
      InvalidateRect(hwnd, nullptr, TRUE);
      break;
    case WM_PAINT: {
      // The focus rectangle is drawn by inverting pixels, so it goes over a
      // control painted whole: a focused link is always painted whole.
      const bool cue = ::GetFocus() == hwnd &&
                       !(win::SendWithoutText(hwnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
      if (cue) InvalidateRect(hwnd, nullptr, TRUE);
      const LRESULT painted = DefSubclassProc(hwnd, msg, wp, lp);
      if (cue) {
        const WindowDC dc(hwnd);
        window->DrawLinkFocus(hwnd, dc.get());
      }
      return painted;
    }
    case WM_GETOBJECT: {
      LRESULT answer = 0;
      if (window->AnswerObject(hwnd, wp, lp, answer)) return answer;
      break;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, &MainWindow::LinkProc, kLinkSubclass);
      break;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

void MainWindow::DrawLinkFocus(HWND link, HDC dc) const {
  const ControlSpec* s = SpecOfWindow(link);
  if (!s) return;
  RECT client{};
  GetClientRect(link, &client);
  Extent text{client.right, client.bottom, 0};
  if (s->kind == Kind::Label) {
    const HFONT font = reinterpret_cast<HFONT>(win::SendWithoutText(link, WM_GETFONT, 0, 0));
    text = CaptionExtent(font, s->caption);
  }
  const FocusBox box = LinkFocusBox(text.width, text.lineHeight, client.right, client.bottom);
  const RECT r{0, 0, box.width, box.height};
  DrawFocusRect(dc, &r);
}

bool MainWindow::Reachable(HWND h) const {
  for (; h && h != hwnd_; h = GetParent(h))
    if (!IsWindowEnabled(h) || !(win::ReadWindowLong(h, GWL_STYLE) & WS_VISIBLE)) return false;
  return h == hwnd_;
}

bool MainWindow::AnswerObject(HWND hwnd, WPARAM wp, LPARAM lp, LRESULT& answer) const {
  const auto control = ControlOfWindow(hwnd);
  if (!form_ || !control) return false;
  AccessibleFacts facts{AccessibleName(*control),
                        form_->AccessibleDescription(*control),
                        AccessibleKindOf(*control),
                        {}};
  if (const auto page = PageOf(*control); page && facts.kind == AccessibleKind::Link)
    facts.value = AddressOf(*page);
  return AnswerAccessibleObject(hwnd, wp, lp, facts, answer);
}

bool MainWindow::PreTranslate(const MSG& msg) {
  if (!form_) return false;
  // A key for a control the user cannot reach (on a hidden or disabled panel:
  // the character of a key whose key-down switched panels) is dropped, and
  // the focus, if it is still there, goes to the window. The platform's search
  // for the control a key is meant for starts from the key's control and, on
  // some systems, never ends when that control lies where the search does not look.
  const bool key = msg.message == WM_KEYDOWN || msg.message == WM_CHAR ||
                   msg.message == WM_SYSKEYDOWN || msg.message == WM_SYSCHAR;
  if (key && msg.hwnd != hwnd_ && IsChild(hwnd_, msg.hwnd) && !Reachable(msg.hwnd)) {
    if (!Reachable(GetFocus())) ::SetFocus(hwnd_);
    return true;
  }
  switch (msg.message) {
    case WM_KEYDOWN:
      if (msg.wParam != VK_F1) return false;
      if (const auto focused = ControlOfWindow(GetFocus())) return form_->HelpKey(*focused);
      return false;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
      form_->PointerPressed();
      return false;
  }
  return false;
}

void MainWindow::AfterMessage() {
  if (form_) form_->FocusNowOn(ControlOfWindow(GetFocus()));
}

}  // namespace tavlin::app
