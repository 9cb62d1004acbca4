// The ten browser settings the window edits, in the order they are loaded and
// saved. Every entry lives under HKEY_CURRENT_USER and is stored as REG_SZ.
#pragma once

#include <array>
#include <string_view>

#include "common/control_id.h"
#include "common/pictures.h"

namespace tavlin::settings {

inline constexpr std::wstring_view kMainKey = L"Software\\Microsoft\\Internet Explorer\\Main";
inline constexpr std::wstring_view kBrowserKey = L"Software\\Microsoft\\Internet Explorer";
inline constexpr std::wstring_view kToolbarKey = L"Software\\Microsoft\\Internet Explorer\\Toolbar";

inline constexpr std::wstring_view kSkinNameIE5 = L"BackBitmapIE5";
inline constexpr std::wstring_view kSkinNameOld = L"BackBitmap";

struct SettingEntry {
  Ctl control;
  std::wstring_view key;
  std::wstring_view valueName;  // empty for the skin entry: its name is chosen at start-up
  bool bRemove;                 // true: an empty control deletes the stored value
  bool IsSkin() const { return valueName.empty(); }
};

// A picture's entry: its box and value under the Toolbar key, deleted when emptied.
constexpr SettingEntry PictureSetting(PictureRole role) {
  return {PictureOf(role).box, kToolbarKey, PictureOf(role).valueName, true};
}

inline constexpr std::array<SettingEntry, 10> kSettings = {{
    {Ctl::txtWinTitle, kMainKey, L"Window Title", false},
    {Ctl::txtDownload, kBrowserKey, L"Download Directory", false},
    {Ctl::txtStart, kMainKey, L"Start Page", false},
    PictureSetting(PictureRole::Skin),
    {Ctl::cboFullScreen, kMainKey, L"FullScreen", false},
    {Ctl::txtSaveDir, kMainKey, L"Save Directory", false},
    PictureSetting(PictureRole::SmallSpinning),
    PictureSetting(PictureRole::LargeSpinning),
    PictureSetting(PictureRole::SmallStatic),
    PictureSetting(PictureRole::LargeStatic),
}};

// The value name an entry stands for, given the skin value name in use.
inline std::wstring_view ValueNameOf(const SettingEntry& e, std::wstring_view skinValueName) {
  return e.IsSkin() ? skinValueName : e.valueName;
}

}  // namespace tavlin::settings
