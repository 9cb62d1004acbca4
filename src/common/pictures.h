// The five picture boxes: the toolbar background ("skin") and the four logos.
// Everything that belongs to one picture is written here once; the settings
// catalogue, the bitmap picker, the picture check and the layout take it from
// this table.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "common/control_id.h"

namespace tavlin {

// In the order of the "..." buttons' indexes: cmdBmp(0) is the skin's.
enum class PictureRole { Skin, SmallSpinning, LargeSpinning, SmallStatic, LargeStatic };

struct Picture {
  PictureRole role;
  Ctl box;     // the text box that holds the picture's path
  Ctl button;  // its "..." button, cmdBmp(role)
  // The value under the browser's Toolbar key; empty for the skin, whose
  // name depends on the browser version and is chosen at start-up.
  std::wstring_view valueName;
  // The edge in pixels of the square the browser draws (a frame of a spinning
  // logo, or a whole static logo); 0 for the skin, which has no set size.
  int edge;
};

inline constexpr std::array<Picture, 5> kPictures = {{
    {PictureRole::Skin, Ctl::txtSkin, Ctl::cmdBmp_0, L"", 0},
    {PictureRole::SmallSpinning, Ctl::txtSmBmp, Ctl::cmdBmp_1, L"smBrandBitmap", 22},
    {PictureRole::LargeSpinning, Ctl::txtLgBmp, Ctl::cmdBmp_2, L"BrandBitmap", 38},
    {PictureRole::SmallStatic, Ctl::txtSmStat, Ctl::cmdBmp_3, L"SmallBitmap", 22},
    {PictureRole::LargeStatic, Ctl::txtLgStat, Ctl::cmdBmp_4, L"BigBitmap", 38},
}};

constexpr bool RolesInIndexOrder() {
  for (std::size_t i = 0; i < kPictures.size(); ++i)
    if (kPictures[i].role != static_cast<PictureRole>(i)) return false;
  return true;
}
static_assert(RolesInIndexOrder(), "a picture's row is at its button's index");

// A spinning logo is a strip of square frames the browser plays in turn.
constexpr bool IsSpinning(PictureRole role) {
  return role == PictureRole::SmallSpinning || role == PictureRole::LargeSpinning;
}

constexpr const Picture& PictureOf(PictureRole role) {
  return kPictures[static_cast<std::size_t>(role)];
}

// The picture whose box this is; none for any other control.
constexpr std::optional<PictureRole> PictureOfBox(Ctl box) {
  for (const Picture& p : kPictures)
    if (p.box == box) return p.role;
  return std::nullopt;
}

}  // namespace tavlin
