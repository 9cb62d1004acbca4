#include "app/layout.h"

#include <algorithm>

#include "app/colours.h"
#include "app/links.h"
#include "common/pictures.h"
#include "common/text.h"
#include "shell/bitmap_picker.h"
#include "shell/modFolderBrowse.h"

namespace tavlin::app {
namespace {

constexpr SysColour D = kDefaultColour;
constexpr bool V = true;  // visible
constexpr bool E = true;  // enabled

// A picture's "..." button in Frame2: which button it is, and its index, come
// from the picture table.
// clang-format off
constexpr ControlSpec PictureButton(PictureRole role, int top, int tab) {
  return {PictureOf(role).button, L"cmdBmp", static_cast<int>(role), Kind::Button, Ctl::Frame2,
          6450, top, 315, 285, L"...", Font::SansSerif, D, D, V, E, tab};
}
// clang-format on

#define HOST L"www.korvanti.example"
static_assert(kMakerHost == std::wstring_view(HOST));

// Creation order of the design, container by container.
constexpr std::array kLayout = {
    // clang-format off
    ControlSpec{Ctl::frmMenu_0, L"frmMenu", 0, Kind::Panel, Ctl::frmMain, 30, 30, 6855, 7035, L"", Font::Tahoma, D, D, V, E, 0},
    ControlSpec{Ctl::frmMenu_1, L"frmMenu", 1, Kind::Panel, Ctl::frmMain, 30, 30, 6855, 7065, L"", Font::Tahoma, D, D, V, E, 1},

    // Settings panel.
    ControlSpec{Ctl::cmbGo_0, L"cmbGo", 0, Kind::Button, Ctl::frmMenu_0, 5910, 6660, 885, 345, L"Apply", Font::SansSerif, D, D, V, E, 51},
    ControlSpec{Ctl::cmbGo_1, L"cmbGo", 1, Kind::Button, Ctl::frmMenu_0, 4950, 6660, 885, 345, L"OK", Font::SansSerif, D, D, V, E, 50},
    ControlSpec{Ctl::Frame1, L"Frame1", -1, Kind::Frame, Ctl::frmMenu_0, 0, 4770, 6855, 645, L"Tools", Font::Tahoma, D, D, V, E, 40},
    ControlSpec{Ctl::Frame2, L"Frame2", -1, Kind::Frame, Ctl::frmMenu_0, 0, 1380, 6855, 2295, L"Pictures && Spinning Logos", Font::Tahoma, D, D, V, E, 31},
    ControlSpec{Ctl::Frame3, L"Frame3", -1, Kind::Frame, Ctl::frmMenu_0, 3360, 4380, 1125, 615, L"URLs", Font::Tahoma, D, D, false, E, 28},
    ControlSpec{Ctl::Frame4, L"Frame4", -1, Kind::Frame, Ctl::frmMenu_0, 0, 3720, 6855, 975, L"Directories", Font::Tahoma, D, D, V, E, 21},
    ControlSpec{Ctl::Frame5, L"Frame5", -1, Kind::Frame, Ctl::frmMenu_0, 0, 0, 6855, 1305, L"Window && Toolbar", Font::Tahoma, D, D, V, E, 3},
    ControlSpec{Ctl::txtVer, L"txtVer", -1, Kind::TextBox, Ctl::frmMenu_0, 5280, 5460, 1485, 225, L"IE Version", Font::TahomaBold, kColourBtnFace, D, V, false, 2},
    ControlSpec{Ctl::Label10, L"Label10", -1, Kind::Label, Ctl::frmMenu_0, 60, 5460, 1395, 195, L"Our Products", Font::Tahoma, D, D, V, E, 62},
    ControlSpec{Ctl::lblProducts_2, L"lblProducts", 2, Kind::Label, Ctl::frmMenu_0, 120, 6120, 6600, 195, L"Stowfast: quick, simple backups of the files that matter to you", Font::TahomaBoldUnderline, D, D, V, E, 61},
    ControlSpec{Ctl::lblProducts_1, L"lblProducts", 1, Kind::Label, Ctl::frmMenu_0, 120, 5880, 6600, 195, L"Wendlekin: a safe and friendly web browser made for children", Font::TahomaBoldUnderline, D, D, V, E, 60},
    ControlSpec{Ctl::lblProducts_0, L"lblProducts", 0, Kind::Label, Ctl::frmMenu_0, 120, 5640, 4620, 195, L"Orvalen: guard your browser settings", Font::TahomaBoldUnderline, D, D, V, E, 59},
    ControlSpec{Ctl::lblKwy, L"lblKwy", -1, Kind::Label, Ctl::frmMenu_0, 660, 6810, 1440, 195, HOST, Font::TahomaUnderline, D, D, V, E, 53},
    ControlSpec{Ctl::Image1, L"Image1", -1, Kind::Image, Ctl::frmMenu_0, 0, 6390, 645, 645, L"", Font::Tahoma, D, D, V, E, -1},
    ControlSpec{Ctl::lblCompany, L"lblCompany", -1, Kind::Label, Ctl::frmMenu_0, 660, 6570, 1800, 195, L"Korvanti Technology", Font::TahomaBold, D, kColourWindowText, V, E, 52},
    ControlSpec{Ctl::Label13, L"Label13", -1, Kind::Label, Ctl::frmMenu_0, 2580, 6720, 735, 255, L" About ...", Font::Tahoma, D, kColourWindowText, V, E, 41},

    // Frame5, "Window && Toolbar".
    ControlSpec{Ctl::cboFullScreen, L"cboFullScreen", -1, Kind::Combo, Ctl::Frame5, 1650, 900, 735, 315, L"", Font::Tahoma, D, D, V, E, 6},
    ControlSpec{Ctl::txtWinTitle, L"txtWinTitle", -1, Kind::TextBox, Ctl::Frame5, 1650, 300, 5055, 285, L"", Font::Tahoma, D, D, V, E, 4},
    ControlSpec{Ctl::txtStart, L"txtStart", -1, Kind::TextBox, Ctl::Frame5, 1650, 600, 5055, 285, L"", Font::Tahoma, D, D, V, E, 5},
    ControlSpec{Ctl::Label6, L"Label6", -1, Kind::Label, Ctl::Frame5, 180, 960, 1425, 195, L"Full Screen Startup", Font::Tahoma, D, D, V, E, 9},
    ControlSpec{Ctl::Label1, L"Label1", -1, Kind::Label, Ctl::Frame5, 180, 330, 1245, 195, L"Window Title", Font::Tahoma, D, D, V, E, 8},
    ControlSpec{Ctl::Label4, L"Label4", -1, Kind::Label, Ctl::Frame5, 180, 660, 1305, 195, L"Start Page", Font::Tahoma, D, D, V, E, 7},

    // Frame2, "Pictures && Spinning Logos".
    ControlSpec{Ctl::Label5, L"Label5", -1, Kind::Label, Ctl::Frame2, 180, 360, 1365, 165, L"Toolbar Skin", Font::Tahoma, D, D, V, E, 39},
    ControlSpec{Ctl::txtSkin, L"txtSkin", -1, Kind::TextBox, Ctl::Frame2, 1650, 330, 4815, 285, L"", Font::Tahoma, D, D, V, E, 10},
    PictureButton(PictureRole::Skin, 330, 16),
    ControlSpec{Ctl::Label12, L"Label12", -1, Kind::Label, Ctl::Frame2, 180, 660, 1485, 285, L"Small Static logo", Font::Tahoma, D, D, V, E, 32},
    ControlSpec{Ctl::txtSmStat, L"txtSmStat", -1, Kind::TextBox, Ctl::Frame2, 1650, 630, 4815, 285, L"", Font::Tahoma, D, D, V, E, 11},
    PictureButton(PictureRole::SmallStatic, 630, 17),
    ControlSpec{Ctl::Label9, L"Label9", -1, Kind::Label, Ctl::Frame2, 180, 960, 1485, 285, L"Small Spinning logo ", Font::Tahoma, D, D, V, E, 38},
    ControlSpec{Ctl::txtSmBmp, L"txtSmBmp", -1, Kind::TextBox, Ctl::Frame2, 1650, 930, 4815, 285, L"", Font::Tahoma, D, D, V, E, 12},
    PictureButton(PictureRole::SmallSpinning, 930, 18),
    ControlSpec{Ctl::Line1, L"Line1", -1, Kind::Line, Ctl::Frame2, 150, 1260, 6615, 0, L"", Font::Tahoma, D, D, V, E, -1},
    ControlSpec{Ctl::Label11, L"Label11", -1, Kind::Label, Ctl::Frame2, 180, 1350, 1485, 195, L"Large Static Logo", Font::Tahoma, D, D, V, E, 33},
    ControlSpec{Ctl::txtLgStat, L"txtLgStat", -1, Kind::TextBox, Ctl::Frame2, 1650, 1320, 4815, 285, L"", Font::Tahoma, D, D, V, E, 13},
    PictureButton(PictureRole::LargeStatic, 1320, 19),
    ControlSpec{Ctl::Label8, L"Label8", -1, Kind::Label, Ctl::Frame2, 180, 1650, 1485, 195, L"Large Spinning Logo", Font::Tahoma, D, D, V, E, 34},
    ControlSpec{Ctl::txtLgBmp, L"txtLgBmp", -1, Kind::TextBox, Ctl::Frame2, 1650, 1620, 4815, 285, L"", Font::Tahoma, D, D, V, E, 14},
    PictureButton(PictureRole::LargeSpinning, 1620, 20),
    ControlSpec{Ctl::cmdReset, L"cmdReset", -1, Kind::Button, Ctl::Frame2, 1650, 1980, 3165, 255, L"Reset Pictures && Logos to their Default", Font::Tahoma, D, D, V, E, 15},

    // Frame4, "Directories".
    ControlSpec{Ctl::Label2, L"Label2", -1, Kind::Label, Ctl::Frame4, 180, 360, 1545, 195, L"Save Download Files", Font::Tahoma, D, D, V, E, 26},
    ControlSpec{Ctl::txtDownload, L"txtDownload", -1, Kind::TextBox, Ctl::Frame4, 1650, 300, 4815, 285, L"", Font::Tahoma, D, D, V, E, 22},
    ControlSpec{Ctl::cmbdir_0, L"cmbdir", 0, Kind::Button, Ctl::Frame4, 6450, 300, 315, 285, L"...", Font::SansSerif, D, D, V, E, 24},
    ControlSpec{Ctl::Label7, L"Label7", -1, Kind::Label, Ctl::Frame4, 180, 630, 1455, 195, L"Save Web Pages ", Font::Tahoma, D, D, V, E, 27},
    ControlSpec{Ctl::txtSaveDir, L"txtSaveDir", -1, Kind::TextBox, Ctl::Frame4, 1650, 600, 4815, 285, L"", Font::Tahoma, D, D, V, E, 23},
    ControlSpec{Ctl::cmbdir_1, L"cmbdir", 1, Kind::Button, Ctl::Frame4, 6450, 600, 315, 285, L"...", Font::SansSerif, D, D, V, E, 25},

    // Frame1, "Tools".
    ControlSpec{Ctl::cmdFavorite, L"cmdFavorite", -1, Kind::Button, Ctl::Frame1, 150, 270, 1725, 285, L"Organize Favorites...", Font::Tahoma, D, D, V, E, 35},
    ControlSpec{Ctl::cmdFind, L"cmdFind", -1, Kind::Button, Ctl::Frame1, 2370, 270, 2295, 285, L"Search For Files or Folders...", Font::Tahoma, D, D, V, E, 36},
    ControlSpec{Ctl::cmdInet, L"cmdInet", -1, Kind::Button, Ctl::Frame1, 5190, 270, 1575, 285, L"Internet Options...", Font::Tahoma, D, D, V, E, 37},

    // Frame3, "URLs": hidden for the whole run and never read or written.
    ControlSpec{Ctl::txtSearch, L"txtSearch", -1, Kind::TextBox, Ctl::Frame3, 1650, 270, 5085, 285, L"", Font::Tahoma, D, D, V, E, 29},
    ControlSpec{Ctl::Label3, L"Label3", -1, Kind::Label, Ctl::Frame3, 150, 300, 1305, 195, L"Search Page", Font::Tahoma, D, D, V, E, 30},

    // About panel.
    ControlSpec{Ctl::cmdAbout, L"cmdAbout", -1, Kind::Button, Ctl::frmMenu_1, 3030, 5820, 825, 285, L"OK", Font::Tahoma, D, D, V, E, 49},
    ControlSpec{Ctl::Frame10, L"Frame10", -1, Kind::Panel, Ctl::frmMenu_1, 630, 450, 5595, 5175, L"", Font::Tahoma, kColourCaptionText, D, V, E, 42},

    // Frame10, the product information box.
    ControlSpec{Ctl::Label14, L"Label14", -1, Kind::Label, Ctl::Frame10, 360, 120, 945, 285, L"Tavlin", Font::TahomaLargeBold, kColourCaptionText, D, V, E, 43},
    ControlSpec{Ctl::lblOrv_2, L"lblOrv", 2, Kind::Label, Ctl::Frame10, 390, 930, 2445, 195, L"Program update and support", Font::TahomaBold, kColourWindow, kColourDesktop, V, E, 58},
    ControlSpec{Ctl::lblOrv_3, L"lblOrv", 3, Kind::Label, Ctl::Frame10, 390, 1140, 4005, 195, L"http://" HOST L"/freeware/index.htm", Font::TahomaBoldUnderline, kColourWindow, kColourDesktop, V, E, 57},
    ControlSpec{Ctl::lblOrv1, L"lblOrv1", -1, Kind::Label, Ctl::Frame10, 390, 1830, 4905, 315, L"Orvalen watches your start page, search page and title bar, and puts them back when another program changes them.", Font::TahomaSmall, kColourCaptionText, D, V, E, 55},
    ControlSpec{Ctl::lblOrv_0, L"lblOrv", 0, Kind::Label, Ctl::Frame10, 390, 2160, 1275, 195, L"Get Orvalen", Font::TahomaBold, kColourWindow, kColourDesktop, V, E, 54},
    ControlSpec{Ctl::lblOrv_1, L"lblOrv", 1, Kind::Label, Ctl::Frame10, 1800, 2160, 2700, 195, HOST L"/orvalen/", Font::TahomaBoldUnderline, kColourWindow, kColourDesktop, V, E, 56},
    ControlSpec{Ctl::imgLogo, L"imgLogo", -1, Kind::Image, Ctl::Frame10, 330, 3090, 645, 645, L"", Font::Tahoma, D, D, V, E, -1},
    ControlSpec{Ctl::lbllogo_0, L"lbllogo", 0, Kind::Label, Ctl::Frame10, 990, 3240, 1800, 225, L"Korvanti Technology", Font::TahomaBold, kColourWindow, kColourWindowText, V, E, 48},
    ControlSpec{Ctl::lbllogo_1, L"lbllogo", 1, Kind::Label, Ctl::Frame10, 990, 3480, 1440, 225, HOST, Font::TahomaUnderline, kColourWindow, D, V, E, 47},
    ControlSpec{Ctl::Label15, L"Label15", -1, Kind::Label, Ctl::Frame10, 360, 4080, 4995, 675,
                L"Tavlin is freeware: you may use and share it, but not sell it. It comes as is, "
                L"without warranty of any kind; the maker is not liable for any loss arising from its "
                L"use. Internet Explorer and Windows are trademarks of Microsoft Corporation, which "
                L"does not endorse this program.",
                Font::TahomaSmall, kColourCaptionText, D, V, E, 46},
    ControlSpec{Ctl::lblCopyr, L"lblCopyr", -1, Kind::Label, Ctl::Frame10, 360, 4830, 3465, 195, L"Copyright \u00A9 2003-2026 Korvanti Technology Ltd.", Font::TahomaSmall, kColourCaptionText, kColourWindowFrame, V, E, 45},
    // clang-format on
};

#undef HOST

static_assert(kLayout.size() == static_cast<std::size_t>(kControlCount) - 1,
              "every control but the window itself has one row");

// Each box and the label beside it.
struct BoxLabel {
  Ctl box, label;
};
constexpr BoxLabel kBoxLabels[] = {
    {Ctl::txtWinTitle, Ctl::Label1},   {Ctl::txtStart, Ctl::Label4},
    {Ctl::cboFullScreen, Ctl::Label6}, {Ctl::txtSkin, Ctl::Label5},
    {Ctl::txtSmStat, Ctl::Label12},    {Ctl::txtSmBmp, Ctl::Label9},
    {Ctl::txtLgStat, Ctl::Label11},    {Ctl::txtLgBmp, Ctl::Label8},
    {Ctl::txtDownload, Ctl::Label2},   {Ctl::txtSaveDir, Ctl::Label7},
    {Ctl::txtSearch, Ctl::Label3},
};

// The links join the walk after every other control of their panel and before
// its OK and Apply (tab 49 to 51 in the design), in their own reading order.
constexpr int kLinkTab = 45;

// Where a keyboard stop comes in the walk: its tab index, and for a link its
// place among its panel's links.
long WalkKey(Ctl id) {
  const ControlSpec& s = RowOf(id);
  if (TakesFocus(s.kind)) return s.tab * 100L;
  for (Ctl panel : {Ctl::frmMenu_0, Ctl::frmMenu_1}) {
    const std::vector<Ctl>& links = LinkStopsOf(panel);
    const auto at = std::find(links.begin(), links.end(), id);
    if (at != links.end())
      return kLinkTab * 100L + (panel == Ctl::frmMenu_1 ? 50 : 0) + (at - links.begin());
  }
  return -1;  // not a stop
}

// The first keyboard stop at or below `id`, which is the key that puts a
// container at its place in its parent's tab walk.
long TabKey(Ctl id) {
  const ControlSpec& self = RowOf(id);
  constexpr long kNone = INT32_MAX;
  long key = WalkKey(id) >= 0 ? WalkKey(id) : kNone;
  for (const ControlSpec& s : kLayout)
    if (s.container == id) key = std::min(key, TabKey(s.id));
  if (key == kNone) key = self.tab < 0 ? kNone : (1000L + self.tab) * 100L;
  return key;
}

}  // namespace

std::span<const ControlSpec> Layout() {
  return kLayout;
}

const ControlSpec& RowOf(Ctl id) {
  for (const ControlSpec& s : kLayout)
    if (s.id == id) return s;
  // Only the window itself (Ctl::frmMain) and Ctl::Count have no row; they
  // get the first one, the settings panel's.
  return kLayout.front();
}

bool IsWithin(Ctl control, Ctl container) {
  for (Ctl c = control;; c = RowOf(c).container) {
    if (c == container) return true;
    if (RowOf(c).id != c) return false;  // the window itself, above every row
  }
}

int TwipsToPixels(int twips, int dpi) {
  // 1440 twips an inch; round half away from zero so that 15 twips at 96 DPI is 1.
  const long long scaled = static_cast<long long>(twips) * dpi;
  return static_cast<int>(scaled >= 0 ? (scaled + 720) / 1440 : -((-scaled + 720) / 1440));
}

FontSpec FontOf(Font font) {
  switch (font) {
    case Font::Tahoma:
      return {L"Tahoma", 825, false, false};
    case Font::SansSerif:
      return {L"MS Sans Serif", 825, false, false};
    case Font::TahomaBold:
      return {L"Tahoma", 825, true, false};
    case Font::TahomaBoldUnderline:
      return {L"Tahoma", 825, true, true};
    case Font::TahomaUnderline:
      return {L"Tahoma", 825, false, true};
    case Font::TahomaLargeBold:
      return {L"Tahoma", 1200, true, false};
    case Font::TahomaSmall:
      return {L"Tahoma", 675, false, false};
  }
  return {L"Tahoma", 825, false, false};
}

int FontHeightPixels(const FontSpec& font, int dpi) {
  // points * dpi / 72, rounded: 8.25 pt is 11 pixels at 96 DPI.
  return (font.pointsTimes100 * dpi + 3600) / 7200;
}

std::vector<Ctl> CreationOrder(Ctl container) {
  std::vector<std::pair<long, Ctl>> keyed;
  for (const ControlSpec& s : kLayout)
    if (s.container == container) keyed.emplace_back(TabKey(s.id), s.id);
  std::stable_sort(keyed.begin(), keyed.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<Ctl> children;
  for (const auto& [key, id] : keyed) children.push_back(id);
  for (const BoxLabel& pair : kBoxLabels) {
    const auto label = std::find(children.begin(), children.end(), pair.label);
    if (label == children.end()) continue;
    children.erase(label);
    children.insert(std::find(children.begin(), children.end(), pair.box), pair.label);
  }
  return children;
}

std::optional<Ctl> LabelOf(Ctl box) {
  for (const BoxLabel& pair : kBoxLabels)
    if (pair.box == box) return pair.label;
  return std::nullopt;
}

std::wstring AccessibleName(Ctl control) {
  // Some labels end in a space, or start with one; a name does not.
  const auto shown = [](Ctl c) { return TrimSpaces(ShownCaption(RowOf(c).caption)); };
  const auto labelText = [&](Ctl box) {
    const auto label = LabelOf(box);
    return label ? shown(*label) : std::wstring();
  };
  if (LabelOf(control)) return labelText(control);
  const ControlSpec& s = RowOf(control);
  if (s.id != control) return {};
  if (control == Ctl::txtVer) return L"Internet Explorer version";
  if (control == Ctl::Label13) return L"About Tavlin";
  if (IsLinkStop(control)) {
    if (s.kind != Kind::Image) return shown(control);
    return PageOf(control) == Page::Home ? L"Korvanti Technology home page"
                                         : L"Korvanti Technology products page";
  }
  // A "..." button's box, as its click handler finds it.
  const auto index = static_cast<short>(s.index);
  if (s.name == L"cmdBmp")
    if (const auto box = shell::BitmapBoxOf(index)) return labelText(*box) + L": choose a bitmap";
  if (s.name == L"cmbdir")
    if (const auto box = shell::modFolderBrowse::FolderBoxOf(index))
      return labelText(*box) + L": choose a folder";
  return {};
}

int RoomToTheRight(const ControlSpec& s) {
  const int containerWidth =
      s.container == Ctl::frmMain ? kClientWidthTwips : RowOf(s.container).width;
  int room = containerWidth - s.left;
  // Beside means level with the control's middle: a row that merely touches
  // its top or bottom edge does not count.
  const int middle = s.top + s.height / 2;
  for (const ControlSpec& o : kLayout) {
    const bool beside = o.container == s.container && o.left > s.left && o.top <= middle &&
                        middle < o.top + o.height;
    if (beside) room = std::min(room, o.left - s.left);
  }
  return room;
}

LabelFit FitLabel(int width, int height, int captionWidth, int lineHeight, int room) {
  // A label of several lines is more than one and three quarters lines high.
  // The design's one-line labels come to at most about 1.6 lines of their font
  // (a roomy 19 pixels for a 12-pixel line, 29 for 19 at 150%), its two-line
  // ones at least about 1.9 (21 pixels for an 11-pixel line): a font a pixel
  // taller or shorter than the design's changes neither into the other.
  if (4 * height > 7 * lineHeight) return {width, 0};
  // A few pixels to spare: labels draw their text slightly inset, and an
  // underline or a glyph's overhang must not be cut.
  constexpr int kSpare = 3;
  if (captionWidth + kSpare <= room) return {std::max(width, captionWidth + kSpare), 0};
  // The neighbour hides whatever reaches under it, whatever the design width;
  // one pixel stays free between the text and the neighbour.
  const int textRoom = room - 1;
  return {std::max(width, room), captionWidth > textRoom ? textRoom : 0};
}

int WidthBesideItsBox(const ControlSpec& label, int width, int room) {
  for (const BoxLabel& pair : kBoxLabels)
    if (pair.label == label.id) return std::min(width, room);
  return width;
}

std::vector<Ctl> TabOrder() {
  std::vector<Ctl> order;
  for (const ControlSpec& s : kLayout)
    if (WalkKey(s.id) >= 0) order.push_back(s.id);
  std::stable_sort(order.begin(), order.end(),
                   [](Ctl a, Ctl b) { return WalkKey(a) < WalkKey(b); });
  return order;
}

int WindowHeight(Kind kind, int designHeight) {
  if (kind == Kind::Combo) return designHeight * 4;
  if (kind == Kind::Line) return 2;
  return designHeight;
}

int ComboSelectionHeight(int designHeight) {
  return designHeight - 6;
}

FrameCaption FrameCaptionAt(int textWidth, int lineHeight, int dpi) {
  const int left = TwipsToPixels(120, dpi);
  return {lineHeight / 2, left - 2, left + textWidth + 2};
}

int CondensedCharWidth(int aveCharWidth, int naturalWidth, int textRoom,
                       const std::function<int(int)>& widthAt) {
  // The design's widths were made for a Tahoma a little narrower than some
  // systems have: there the same face at a slightly smaller average character
  // width keeps the whole caption in view instead of cutting its last letters.
  if (naturalWidth <= 0) return 0;
  for (int w = aveCharWidth * textRoom / naturalWidth; w > 0; --w) {
    const int width = widthAt(w);
    if (width >= 0 && width <= textRoom) return w;
  }
  return 0;
}

FocusBox LinkFocusBox(int textWidth, int lineHeight, int clientWidth, int clientHeight) {
  return {std::min(textWidth + 1, clientWidth), std::min(lineHeight, clientHeight)};
}

std::wstring ShownCaption(std::wstring_view caption) {
  std::wstring shown;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == L'&') {
      if (i + 1 < caption.size() && caption[i + 1] == L'&') {
        shown += L'&';
        ++i;
      }
      continue;
    }
    shown += caption[i];
  }
  return shown;
}

}  // namespace tavlin::app
