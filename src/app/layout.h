// The main window as data: one row per control, in twips, in creation order.
// The window host walks this table; nothing about the layout lives in code.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/control_id.h"

namespace tavlin::app {

enum class Kind { Panel, Frame, Button, Label, TextBox, Combo, Image, Line };

enum class Font {
  Tahoma,               // the window font: Tahoma 8.25, regular
  SansSerif,            // MS Sans Serif 8.25
  TahomaBold,           // Tahoma 8.25 bold
  TahomaBoldUnderline,  // Tahoma 8.25 bold underlined
  TahomaUnderline,      // Tahoma 8.25 underlined
  TahomaLargeBold,      // Tahoma 12 bold
  TahomaSmall,          // Tahoma 6.75
};
inline constexpr std::size_t kFontCount = static_cast<std::size_t>(Font::TahomaSmall) + 1;

// A Windows system colour index, or kDefaultColour for the kind's own colour.
using SysColour = int;
constexpr SysColour kDefaultColour = -1;

struct ControlSpec {
  Ctl id;
  std::wstring_view name;
  int index;  // control-array index, or -1 for a single control
  Kind kind;
  Ctl container;
  int left, top, width, height;  // twips, from the container's top-left corner
  std::wstring_view caption;
  Font font;
  SysColour back, fore;
  bool visible, enabled;
  int tab;  // design tab index, or -1 for controls that have none
};

// The maker's web host: shown in four captions and the base of every link.
inline constexpr std::wstring_view kMakerHost = L"www.korvanti.example";

// Client area of the main window, in twips.
inline constexpr int kClientWidthTwips = 6915;
inline constexpr int kClientHeightTwips = 7155;

std::span<const ControlSpec> Layout();
// Buttons, text boxes and drop-downs take the keyboard focus by their kind.
constexpr bool TakesFocus(Kind kind) {
  return kind == Kind::Button || kind == Kind::TextBox || kind == Kind::Combo;
}
const ControlSpec& RowOf(Ctl id);
// The control is the container or lies inside it, at any depth.
bool IsWithin(Ctl control, Ctl container);

// Twips to pixels at the given DPI (1440 twips an inch), rounded to nearest.
int TwipsToPixels(int twips, int dpi);

// Point size for a font (8.25 and so on, in hundredths) and whether it is bold /
// underlined, for the window host's font cache.
struct FontSpec {
  std::wstring_view face;
  int pointsTimes100;
  bool bold;
  bool underline;
};
FontSpec FontOf(Font font);
// Character height in pixels for a LOGFONT (negative lfHeight), at a DPI.
int FontHeightPixels(const FontSpec& font, int dpi);

// The order in which the host creates the children of one container, so that
// the platform's tab walk (z-order, descending into control parents) visits
// the focusable controls in design tab-index order across the whole window,
// and each box's label comes just before its box: the platform names a box
// without a caption of its own after the label before it in the z-order.
// Labels never take the focus, so they leave the tab walk as it is.
std::vector<Ctl> CreationOrder(Ctl container);

// The label that stands beside a box and names it; none for other controls.
std::optional<Ctl> LabelOf(Ctl box);
// What a screen reader should call a control whose caption does not say: a
// box by its label (the version box by what it shows), a "..." button by the
// box it fills and what it chooses, a link by its text without the spaces
// around it, a picture link by the page it opens, " About ..." by what it
// opens. Empty for every other control, which its own caption names.
std::wstring AccessibleName(Ctl control);

// How far a control may reach to its right, in twips from its left edge: up to
// the nearest control beside it in its container (one level with its middle),
// or else the container's edge.
int RoomToTheRight(const ControlSpec& s);

// A label one line high grows to the width of its caption, so that a caption
// longer than its design width (the maker's host name) is not cut off, but not
// beyond its room. A caption wider than its room is drawn narrower instead:
// textRoom is the width its text must be brought within, 0 when the caption
// fits as it is. Labels of several lines (more than 1.75 lines high)
// keep their width and wrap. A label never shrinks below its design width. All
// figures in pixels.
struct LabelFit {
  int width;
  int textRoom;
};
LabelFit FitLabel(int width, int height, int captionWidth, int lineHeight, int room);
// How much of a label's width shows. The label of a box is made just before
// it, which puts it above the box: what its design width reaches under the box
// (past room, in pixels) is cut off, so that the box's edge stays in view as
// before. Other labels show the whole of `width`.
int WidthBesideItsBox(const ControlSpec& label, int width, int room);

// How high a control's window is made, for a design height in pixels: a
// drop-down's window holds its list too (four times its height), a line is an
// etched stroke two pixels thick; the rest as the design says.
int WindowHeight(Kind kind, int designHeight);
// The height of a drop-down's selection field, inside its 3-pixel frame.
int ComboSelectionHeight(int designHeight);

// A frame is drawn as a group box: its etched edge runs through the middle of
// its caption's line, and the caption stands 120 twips in from the left, on the
// frame's colour with 2 pixels of it to either side. In pixels.
struct FrameCaption {
  int edgeTop;      // where the edge's top runs
  int left, right;  // the caption's background
};
FrameCaption FrameCaptionAt(int textWidth, int lineHeight, int dpi);

// A caption a little too wide for its room is drawn in the same face at a
// smaller average character width: starting from the proportional guess, a
// step narrower at a time until widthAt(w) (the caption's width at character
// width w, negative if no font could be made) fits within textRoom. 0 when
// none fits.
int CondensedCharWidth(int aveCharWidth, int naturalWidth, int textRoom,
                       const std::function<int(int)>& widthAt);

// Where a focused link's focus rectangle goes, from its top-left corner: round
// its text (its first line, with a pixel to spare on the right), within the
// control. A picture passes its own size as its text's.
struct FocusBox {
  int width, height;
};
FocusBox LinkFocusBox(int textWidth, int lineHeight, int clientWidth, int clientHeight);

// The keyboard stops in the order Tab walks them: by design tab index, the
// link stops of each panel in reading order just before its OK and Apply.
std::vector<Ctl> TabOrder();

// Removes the mnemonic marks from a caption the way a label shows it: "&&" becomes
// "&" and a single "&" disappears.
std::wstring ShownCaption(std::wstring_view caption);

}  // namespace tavlin::app

namespace tavlin::app {

// The Win32 control identifier of a control; 0, 1 and 2 stay free for the
// dialog manager's IDOK and IDCANCEL.
constexpr int ControlIdOf(Ctl c) {
  return 100 + static_cast<int>(c);
}
constexpr bool IsControlId(int id) {
  return id >= 100 && id < 100 + kControlCount;
}
constexpr Ctl ControlOfId(int id) {
  return static_cast<Ctl>(id - 100);
}

}  // namespace tavlin::app
