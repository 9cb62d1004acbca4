// Balloon tips over the platform's tooltip windows. The platform's tooltip
// decides when a tip shows and hides; ToolTipWndProc takes over where the
// window goes, how large it is and how it is painted.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <span>
#include <string_view>

#include "tooltip/balloon.h"
#include "tooltip/tooltip_port.h"

namespace tavlin::tooltip {

namespace modToolTip {

// One tooltip window whose window procedure has been replaced, and the
// procedure it had before.
struct TipEntry {
  HWND TipHwnd;
  WNDPROC PrevWndProc;
};

// Every entry made so far, in creation order; the span's size is how many
// there are. Entries live until the process ends.
std::span<const TipEntry> TipTable();

// Creates a tooltip window owned by `owner` whose tool is the whole of
// `control`, showing `text` ("|" breaks a line), and installs ToolTipWndProc on
// it. Null, with nothing created, when the control is not a window.
// The pointer anywhere on the control shows the tip: on a window inside it
// (the text part of a drop-down list) as well, and on a control that is
// disabled, whose mouse messages go to its parent instead.
HWND CreateToolTip(HWND control, std::wstring_view text, HWND owner);

// Gives every tool of the tooltip window the new text ("|" breaks a line).
void SetToolTipText(HWND tip, std::wstring_view text);

// Shows the tooltip window's tip for the keyboard, hanging from `control`
// (TipOriginUnder) instead of the pointer, until HideKeyboardTip or the
// pointer's own balloon shows. Each tooltip window gains a tool for the
// keyboard, with the text given, the first time it is asked; SetToolTipText
// keeps that tool's text current with the others from then on.
bool ShowKeyboardTip(HWND tip, HWND control, std::wstring_view text);
// False when no tip the keyboard asked for is showing.
bool HideKeyboardTip();
// The tooltip window whose tip the keyboard shows now, or null.
HWND KeyboardTipWindow();

// Puts ToolTipWndProc in front of the window's own procedure, records the pair
// in TipTable and takes the window's border away.
void InstallBalloonProc(HWND tip);

// Places, sizes and paints the balloon on WM_PAINT, repaints on WM_PRINT, and
// hands every other message of a known window to its previous procedure.
LRESULT CALLBACK ToolTipWndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

// Paints a balloon of the given shape and its text into the window's paint
// DC (the picture, if any, is drawn after it). The caller has selected the tip
// font and set a transparent background mode.
void DrawBalloon(HDC hdc, const BalloonShape& shape, std::wstring_view text);

// Copies the parts of a decoded picture (a bitmap of ours, selected nowhere)
// into the DC.
void DrawPicture(HDC dc, HBITMAP picture, std::span<const Blit> blits);

// Gives the tooltip window's balloon a picture below its text (an empty path:
// none). It is decoded when the balloon next paints; a picture given before,
// and its decoding, go at once. The window's own end lets it go too.
void SetTipPicture(HWND tip, const TipPicture& picture);
// How many pictures are held decoded now, for every tooltip window.
std::size_t DecodedPictures();

// The DPI the balloon of this window is drawn for.
int TipDpi(HWND hwnd);

}  // namespace modToolTip

class Win32Tooltips : public TooltipPort {
 public:
  Win32Tooltips(HWND owner, std::function<HWND(Ctl)> controlWindow)
      : owner_(owner), controlWindow_(std::move(controlWindow)) {}
  bool CreateToolTip(Ctl control, std::wstring_view text) override;
  bool UpdateToolTip(Ctl control, std::wstring_view text) override;
  bool ShowKeyboardTip(Ctl control, std::wstring_view text) override;
  bool HideKeyboardTip() override;
  std::optional<Ctl> KeyboardTipFor() override;
  bool SetTipPicture(Ctl control, const TipPicture& picture) override;

 private:
  HWND owner_;
  std::function<HWND(Ctl)> controlWindow_;
  HWND TipOf(Ctl control) const;            // null for a control without a tooltip
  std::array<HWND, kControlCount> tips_{};  // each control's tooltip window, once made
};

}  // namespace tavlin::tooltip
