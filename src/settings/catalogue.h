// The ten browser settings the window edits, in the order they are loaded and
// saved. Every entry lives under HKEY_CURRENT_USER and is stored as REG_SZ.
#pragma once

#include <array>
#include <string_view>

#include "common/control_id.h"

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

inline constexpr std::array<SettingEntry, 10> kSettings = {{
    {Ctl::txtWinTitle, kMainKey, L"Window Title", false},
    {Ctl::txtDownload, kBrowserKey, L"Download Directory", false},
    {Ctl::txtStart, kMainKey, L"Start Page", false},
    {Ctl::txtSkin, kToolbarKey, L"", true},
    {Ctl::cboFullScreen, kMainKey, L"FullScreen", false},
    {Ctl::txtSaveDir, kMainKey, L"Save Directory", false},
    {Ctl::txtSmBmp, kToolbarKey, L"smBrandBitmap", true},
    {Ctl::txtLgBmp, kToolbarKey, L"BrandBitmap", true},
    {Ctl::txtSmStat, kToolbarKey, L"SmallBitmap", true},
    {Ctl::txtLgStat, kToolbarKey, L"BigBitmap", true},
}};

// The value name an entry stands for, given the skin value name in use.
inline std::wstring_view ValueNameOf(const SettingEntry& e, std::wstring_view skinValueName) {
  return e.IsSkin() ? skinValueName : e.valueName;
}

// The values a reset removes under the Toolbar key, in order; the skin name last.
inline constexpr std::array<std::wstring_view, 4> kResetLogoNames = {
    L"smBrandBitmap", L"BrandBitmap", L"SmallBitmap", L"BigBitmap"};

}  // namespace tavlin::settings
