// Apply, OK and Reset: the three ways the window changes the registry.
#include "app/frmMain.h"

namespace tavlin::app {

using namespace tavlin::settings;

void frmMain::WriteValue_V(Hive lHive, std::wstring_view sKey, std::wstring_view sValue,
                           std::wstring_view vSetting, std::uint32_t sType, bool bRemove) {
  if (sValue.empty()) return;  // never touch a key's unnamed default value
  if (!vSetting.empty()) {
    modReg_Func::WriteRegValue(reg_, lHive, sKey, sValue, vSetting, sType);
    return;
  }
  if (bRemove) modReg_Func::DeleteRegValue(reg_, lHive, sKey, sValue);
}

void frmMain::SaveSettings() {
  for (std::size_t i = 0; i < kSettings.size(); ++i) {
    const SettingEntry& entry = kSettings[i];
    LoadedSetting& loaded = loaded_[i];
    const std::wstring current = ui_.GetText(entry.control);
    const bool edited = current != loaded.shown;
    // An unedited box writes back exactly what was read, so a text the control
    // cannot hold (an embedded NUL, more than its limit) is not cut short.
    const std::wstring& text = edited ? current : loaded.text;
    // A picture value that exists but could not be shown loads as an empty box;
    // leaving that box empty must not delete it.
    if (!edited && text.empty() && loaded.unreadable) continue;
    // A text the registry would store with '?' in place of some characters is
    // not written at all; the stored value stays as it was.
    if (!CheckStorable(entry.control, text)) continue;
    WriteValue_V(kHkeyCurrentUser, entry.key, ValueNameOf(entry, sSkinValueName_), text, kRegSz,
                 entry.bRemove);
    // The store now holds what the box shows (or nothing, for an emptied box).
    loaded = LoadedSetting{text, current, false};
  }
}

void frmMain::cmbGo_Click(short Index) {
  if (Index == 0) {
    SaveSettings();
    return;
  }
  ui_.CloseWindow();  // OK: nothing is saved and nothing is asked
}

void frmMain::cmdReset_Click() {
  // The four logos in the picture table's order, then the skin under the name in use.
  for (const Picture& picture : kPictures)
    if (picture.role != PictureRole::Skin)
      WriteValue_V(kHkeyCurrentUser, kToolbarKey, picture.valueName, L"", kRegSz, true);
  WriteValue_V(kHkeyCurrentUser, kToolbarKey, sSkinValueName_, L"", kRegSz, true);
  LoadSettings();
  CheckWarnings();
}

}  // namespace tavlin::app
