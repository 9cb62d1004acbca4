// The window host: creates frmMain's window and controls from the layout
// table, routes control events to frmMain's handlers, and implements the
// controls port over the real windows. It makes no decisions of its own.
#pragma once

#include <windows.h>

#include <array>

#include "app/controls_port.h"
#include "app/layout.h"
#include "common/win32_handles.h"

namespace tavlin::app {

class frmMain;

class MainWindow final : public Controls {
 public:
  explicit MainWindow(HINSTANCE instance);
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;
  ~MainWindow() override;

  // Creates the window and its controls, hidden. The About panel's controls
  // follow the first time that panel is shown (SetVisible), or at
  // CreateAboutControls. False if the window cannot be made.
  bool Create();
  // Makes the About panel's controls, once; nothing when they exist.
  void CreateAboutControls();
  // From here on, events reach the handlers.
  void Attach(frmMain* form) { form_ = form; }
  HWND hwnd() const { return hwnd_; }
  // The program's one reference to its window, through which shared routines
  // (the shell's dialogs, as their owner) reach it: none once Form_Unload has
  // dropped it (DropGlobalReference), or once the window is gone.
  HWND GlobalReference() const { return referenceDropped_ ? nullptr : hwnd_; }
  HWND Control(Ctl c) const { return controls_[static_cast<std::size_t>(c)]; }
  int Dpi() const { return dpi_; }

  // The message loop's part: before a message is handled, F1 shows the focused
  // control's balloon (true: the message is taken) and a mouse button hides
  // it; after each message, a balloon whose control lost the focus goes.
  bool PreTranslate(const MSG& msg);
  // The window is the main window or lies in it with every window up to it
  // shown and enabled.
  bool Reachable(HWND h) const;
  void AfterMessage();

  // Controls port.
  void SetCaption(std::wstring_view caption) override;
  void SetText(Ctl control, std::wstring_view text) override;
  std::wstring GetText(Ctl control) override;
  void SetVisible(Ctl control, bool visible) override;
  void SetEnabled(Ctl control, bool enabled) override;
  void BringToFront(Ctl control) override;
  void SetFocus(Ctl control) override;
  std::optional<Ctl> Focused() override;
  void CloseWindow() override;
  void DropGlobalReference() override;

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK ContainerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK ComboEditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                        DWORD_PTR self);
  // On every control that takes the focus: its accessible object.
  static LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                      DWORD_PTR self);
  // On every link the keyboard stops at: Enter and Space click it, the focus
  // rectangle shows round its text, and its accessible object.
  static LRESULT CALLBACK LinkProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                   DWORD_PTR self);
  void DrawLinkFocus(HWND link, HDC dc) const;
  // Puts ControlProc on a control that takes the focus, LinkProc on a link.
  // Done once the window has been painted, like the balloons: it costs some time per control, and
  // nobody can ask about a control before it is on the screen (until then the
  // platform's own object answers, which names a box after its label too).
  void ListenForScreenReader(HWND h, const ControlSpec& s);
  // WM_GETOBJECT for a control (or a drop-down's edit part): true with the
  // answer when the control's texts replace the standard ones.
  bool AnswerObject(HWND hwnd, WPARAM wp, LPARAM lp, LRESULT& answer) const;
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT ControlColour(HDC dc, HWND control, UINT msg);
  HBRUSH ContainerBrush(HWND container) const;
  void PaintFrame(HWND container, HDC dc) const;

  struct Extent {
    int width, lineHeight, aveCharWidth;
  };
  // A caption's width on one line, the height of a line and the font's average
  // character width.
  Extent CaptionExtent(HFONT font, std::wstring_view caption) const;
  // Makes the container's controls, and theirs, measuring captions in one DC.
  void CreateControlsOf(Ctl container);
  void CreateChildren(Ctl container);
  LOGFONTW LogFontOf(Font font) const;  // at dpi_
  void CreateFonts();                   // every font of the layout, at dpi_
  // The label's font drawn narrower, so that its caption (natural: its extent in
  // the label's own font) takes at most textRoom pixels.
  UniqueFont CondensedFont(const ControlSpec& s, Extent natural, int textRoom) const;
  void SetFont(const ControlSpec& s);
  // The control's rectangle in its container, at dpi_. A label's width is fitted
  // to its caption here, and its narrower font made when the caption needs one.
  RECT PlaceOf(const ControlSpec& s);
  // Cuts off what a label reaches under its box (WidthBesideItsBox); r is its
  // place; again: laid out once before, at another DPI.
  void ShowOnlyBesideItsBox(const ControlSpec& s, const RECT& r, bool again);
  void ApplyDpi(int dpi);  // lays everything out again at a new DPI
  void FitFrame();         // icons and window size for dpi_
  void LoadPictures();

  HINSTANCE instance_;
  HWND hwnd_ = nullptr;
  frmMain* form_ = nullptr;
  bool shown_ = false;  // the first paint has happened
  bool referenceDropped_ = false;
  bool aboutMade_ = false;  // the About panel's controls exist
  int dpi_ = 96;
  std::array<HWND, kControlCount> controls_{};
  std::array<UniqueFont, kFontCount> fonts_;
  std::array<UniqueFont, kControlCount> condensed_;  // per label, only where needed
  UniqueIcon bigIcon_, smallIcon_;  // its own icons, once its DPI is not the class icons'
  int iconDpi_ = 0;                 // the DPI of the icons the window shows
  UniqueDC measure_;                // while controls are placed: one DC to measure every caption in
  UniqueBitmap logo_;
};

}  // namespace tavlin::app
