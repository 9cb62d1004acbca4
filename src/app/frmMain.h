// The main window's rules and event handlers. frmMain sees only ports, so every
// handler runs the same on the host against doubles and in the real window.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/controls_port.h"
#include "common/control_id.h"
#include "common/pictures.h"
#include "settings/catalogue.h"
#include "settings/modReg_Func.h"
#include "settings/registry_port.h"
#include "settings/version_port.h"
#include "shell/file_probe_port.h"
#include "shell/shell_port.h"
#include "tooltip/tooltip_port.h"

namespace tavlin::app {

struct Ports {
  Controls& ui;
  settings::RegistryPort& reg;
  settings::VersionPort& version;
  tooltip::TooltipPort& tips;
  shell::ShellPort& shell;
  shell::FileProbePort& files;
};

class frmMain {
 public:
  explicit frmMain(Ports ports)
      : ui_(ports.ui),
        reg_(ports.reg),
        version_(ports.version),
        tips_(ports.tips),
        shell_(ports.shell),
        files_(ports.files) {}

  // Start-up and shutdown, panels.
  void Form_Load();
  // Runs once the window has been shown and painted for the first time: the
  // balloon tips are attached then, so that making their windows does not hold
  // up the window's first appearance (nobody can rest the pointer on a control
  // before it is on the screen).
  void Form_Shown();
  void Form_Unload(short& Cancel);
  void ShowMenu(short Index);
  void Label13_Click();
  void cmdAbout_Click();
  void cboFullScreen_KeyPress(short& KeyAscii);

  // Loading, applying, resetting. LoadSettings asks the shell for the browser
  // version; the second form shows the version given.
  void LoadSettings();
  void LoadSettings(std::wstring_view ieVersion);
  void SaveSettings();
  void WriteValue_V(settings::Hive lHive, std::wstring_view sKey, std::wstring_view sValue,
                    std::wstring_view vSetting, std::uint32_t sType, bool bRemove);
  void cmbGo_Click(short Index);
  void cmdReset_Click();

  // Balloon tips. SetToolTips attaches every catalogue tip with its current text.
  void SetToolTips();
  // What the control's balloon says now: its catalogue text, then one line from
  // each check while what it found holds (a policy that overrides the box, what
  // a picture box's file is). Empty for a control without a tip.
  std::wstring TipTextOf(Ctl control) const;
  // A text box lost the keyboard focus.
  void LostFocus(Ctl control);
  // F1 on the focused control: its balloon, hanging from the control. False
  // when the control has none. The balloon goes at Escape (CancelKey), when a
  // mouse button is pressed anywhere, when the focus moves to another control,
  // or when the pointer's own balloon shows.
  bool HelpKey(Ctl focused);
  void PointerPressed();
  void FocusNowOn(std::optional<Ctl> focused);

  // What a screen reader says after a control's name: its balloon's text,
  // warnings included, on one line. Empty for a control without a balloon.
  std::wstring AccessibleDescription(Ctl control) const;

  // Pickers, tool launchers and maker links.
  void cmbdir_Click(short Index);
  void cmdBmp_Click(short Index);
  void cmdInet_Click();
  void cmdFind_Click();
  void cmdFavorite_Click();
  void OpenURL(std::wstring_view target);
  void imgLogo_Click();
  void Image1_Click();
  void lblCompany_Click();
  void lblKwy_Click();
  void lbllogo_Click(short Index);
  void lblOrv_Click(short Index);
  void lblProducts_Click(short Index);

  // Routes a click on any control to its handler, with the index the layout
  // gives the control; controls without a click handler are ignored.
  void Click(Ctl control);
  // One route per click handler: the name the layout gives the controls it
  // serves (a control array's name for all its members), whether the handler
  // takes the control's index, and the call.
  struct ClickRoute {
    std::wstring_view name;
    bool takesIndex;
    void (*call)(frmMain& form, short index);
  };
  static std::span<const ClickRoute> ClickRoutes();
  // Escape: hides the balloon F1 showed, if one shows; else the same as the
  // OK button.
  void CancelKey();

  const std::wstring& sSkinValueName() const { return sSkinValueName_; }

  // What the last load put into one catalogue control.
  struct LoadedSetting {
    std::wstring text;        // the exact text read, NULs and all
    std::wstring shown;       // what the control held right after it was set
    bool unreadable = false;  // the value exists but could not be shown
  };
  const LoadedSetting& Loaded(std::size_t entry) const { return loaded_[entry]; }

 private:
  Controls& ui_;
  settings::RegistryPort& reg_;
  settings::VersionPort& version_;
  tooltip::TooltipPort& tips_;
  shell::ShellPort& shell_;
  shell::FileProbePort& files_;

  std::wstring sSkinValueName_;
  std::array<LoadedSetting, settings::kSettings.size()> loaded_{};

  // The checks that add lines to tips. Policies are read at start-up and after
  // a reset; a picture box is looked at then, after a pick and when it loses
  // the focus; whether the registry can store a box's text, then and on Apply.
  void CheckWarnings();  // every check, on what the boxes hold now
  void CheckPolicies();
  void CheckPicture(Ctl box);
  // False, and the box's tip says so, when the registry would lose characters
  // of the text (the 95 family keeps text in the system code page).
  bool CheckStorable(Ctl box, std::wstring_view text);

  // The lines the checks add to each control's tip; the catalogue text itself
  // stays with the tip catalogue. A picture box may gain two: what its file
  // is, and that the file is too large for its balloon to show.
  struct TipNotes {
    std::wstring policy, picture, preview, storage;
  };
  void SetNote(Ctl control, std::wstring TipNotes::*note, std::wstring line);
  std::array<TipNotes, kControlCount> notes_{};
  // The picture each picture box's balloon shows, by role, as the check last
  // found it; the tooltip port is told only when it changes.
  void SetTipPicture(PictureRole role, tooltip::TipPicture picture);
  std::array<tooltip::TipPicture, kPictures.size()> pictures_{};
  std::array<bool, kControlCount> tipMade_{};  // CreateToolTip succeeded for the control
  bool tipsAttached_ = false;                  // SetToolTips has run
};

}  // namespace tavlin::app
