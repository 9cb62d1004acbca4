#include "app/frmMain.h"

#include "settings/version.h"

namespace tavlin::app {

using namespace tavlin::settings;

void frmMain::Form_Load() {
  ui_.SetCaption(TitleFor(version_.ProgramFileVersion()));
  // One question to the shell answers both the skin value name and the version
  // box: each asking loads and unloads its library.
  const std::wstring ieVersion = GetIEVersion(version_);
  sSkinValueName_ = std::wstring(SkinValueNameFor(ieVersion));
  LoadSettings(ieVersion);
  CheckWarnings();
  // The tips follow in Form_Shown, once the window is on the screen.
  ShowMenu(-1);
  ShowMenu(0);
}

void frmMain::Form_Unload(short& /*Cancel*/) {
  // Closing always proceeds and saves nothing.
  ui_.DropGlobalReference();
}

void frmMain::ShowMenu(short Index) {
  if (Index == -1) {
    ui_.SetVisible(Ctl::frmMenu_0, false);
    ui_.SetVisible(Ctl::frmMenu_1, false);
    return;
  }
  if (Index != 0 && Index != 1) return;  // names no panel
  const Ctl shown = Index == 0 ? Ctl::frmMenu_0 : Ctl::frmMenu_1;
  const Ctl covered = Index == 0 ? Ctl::frmMenu_1 : Ctl::frmMenu_0;
  ui_.SetVisible(shown, true);
  ui_.BringToFront(shown);
  // Both panels stay visible once the About panel has been shown; only the one
  // in front may take keyboard or mouse input.
  ui_.SetEnabled(shown, true);
  ui_.SetEnabled(covered, false);
}

void frmMain::Label13_Click() {
  ShowMenu(1);
}
void frmMain::cmdAbout_Click() {
  ShowMenu(0);
}

void frmMain::cboFullScreen_KeyPress(short& KeyAscii) {
  // The list's text changes only by picking "yes" or "no".
  KeyAscii = 0;
}

void frmMain::LoadSettings() {
  LoadSettings(GetIEVersion(version_));
}

void frmMain::LoadSettings(std::wstring_view ieVersion) {
  for (std::size_t i = 0; i < kSettings.size(); ++i) {
    const SettingEntry& entry = kSettings[i];
    const auto value = modReg_Func::ReadRegValue(reg_, kHkeyCurrentUser, entry.key,
                                                 ValueNameOf(entry, sSkinValueName_));
    LoadedSetting& loaded = loaded_[i];
    loaded.text = modReg_Func::DisplayForm(value);
    loaded.unreadable = value.unreadable;
    ui_.SetText(entry.control, loaded.text);
    loaded.shown = ui_.GetText(entry.control);
  }
  ui_.SetText(Ctl::txtVer, VersionDisplay(ieVersion));
}

void frmMain::Click(Ctl control) {
  switch (control) {
    case Ctl::Label13:
      Label13_Click();
      break;
    case Ctl::cmdAbout:
      cmdAbout_Click();
      break;
    case Ctl::cmbGo_0:
      cmbGo_Click(0);
      break;
    case Ctl::cmbGo_1:
      cmbGo_Click(1);
      break;
    case Ctl::cmdReset:
      cmdReset_Click();
      break;
    case Ctl::cmbdir_0:
      cmbdir_Click(0);
      break;
    case Ctl::cmbdir_1:
      cmbdir_Click(1);
      break;
    case Ctl::cmdBmp_0:
      cmdBmp_Click(0);
      break;
    case Ctl::cmdBmp_1:
      cmdBmp_Click(1);
      break;
    case Ctl::cmdBmp_2:
      cmdBmp_Click(2);
      break;
    case Ctl::cmdBmp_3:
      cmdBmp_Click(3);
      break;
    case Ctl::cmdBmp_4:
      cmdBmp_Click(4);
      break;
    case Ctl::cmdInet:
      cmdInet_Click();
      break;
    case Ctl::cmdFind:
      cmdFind_Click();
      break;
    case Ctl::cmdFavorite:
      cmdFavorite_Click();
      break;
    case Ctl::imgLogo:
      imgLogo_Click();
      break;
    case Ctl::Image1:
      Image1_Click();
      break;
    case Ctl::lblCompany:
      lblCompany_Click();
      break;
    case Ctl::lblKwy:
      lblKwy_Click();
      break;
    case Ctl::lbllogo_0:
      lbllogo_Click(0);
      break;
    case Ctl::lbllogo_1:
      lbllogo_Click(1);
      break;
    case Ctl::lblOrv_0:
      lblOrv_Click(0);
      break;
    case Ctl::lblOrv_1:
      lblOrv_Click(1);
      break;
    case Ctl::lblOrv_2:
      lblOrv_Click(2);
      break;
    case Ctl::lblOrv_3:
      lblOrv_Click(3);
      break;
    case Ctl::lblProducts_0:
      lblProducts_Click(0);
      break;
    case Ctl::lblProducts_1:
      lblProducts_Click(1);
      break;
    case Ctl::lblProducts_2:
      lblProducts_Click(2);
      break;
    default:
      break;
  }
}

}  // namespace tavlin::app
