#include "app/frmMain.h"

#include <type_traits>

#include "app/layout.h"
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
  // in front may take keyboard or mouse input. A control on the covered panel
  // does not keep the focus: keys would go to a control nobody can see, and the
  // platform's search for the control a key is meant for starts from the focus
  // and, on some systems, never ends where it cannot reach. It moves to the
  // About panel's OK, or back to " About ..." that opened the panel.
  ui_.SetEnabled(shown, true);
  if (const auto focused = ui_.Focused(); focused && IsWithin(*focused, covered))
    ui_.SetFocus(Index == 0 ? Ctl::Label13 : Ctl::cmdAbout);
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

namespace {

template <auto Handler>
constexpr bool kTakesIndex = std::is_invocable_v<decltype(Handler), frmMain&, short>;

// Runs a click handler, with the control's index when the handler takes one.
template <auto Handler>
void CallClick(frmMain& form, short index) {
  if constexpr (kTakesIndex<Handler>)
    (form.*Handler)(index);
  else
    (form.*Handler)();
}

// The handler NAME_Click serves the controls the layout names NAME; spelling
// both from one word keeps a control from reaching another's handler.
#define CLICK(NAME)                                                                    \
  frmMain::ClickRoute {                                                                \
    L"" #NAME, kTakesIndex<&frmMain::NAME##_Click>, &CallClick<&frmMain::NAME##_Click> \
  }

constexpr std::array kClickRoutes = {
    CLICK(Label13),     CLICK(cmdAbout), CLICK(cmbGo),   CLICK(cmdReset),
    CLICK(cmbdir),      CLICK(cmdBmp),   CLICK(cmdInet), CLICK(cmdFind),
    CLICK(cmdFavorite), CLICK(imgLogo),  CLICK(Image1),  CLICK(lblCompany),
    CLICK(lblKwy),      CLICK(lbllogo),  CLICK(lblOrv),  CLICK(lblProducts),
};

#undef CLICK

}  // namespace

std::span<const frmMain::ClickRoute> frmMain::ClickRoutes() {
  return kClickRoutes;
}

void frmMain::Click(Ctl control) {
  const ControlSpec& row = RowOf(control);
  for (const ClickRoute& route : kClickRoutes)
    if (route.name == row.name) {
      route.call(*this, static_cast<short>(row.index));
      return;
    }
}

}  // namespace tavlin::app
