// The help balloons: each control of the tip catalogue gets its tip once the
// window is first on the screen, with the text the window holds for it then;
// the checks of policies and pictures add a line to a balloon while they find
// something the user should know.
#include <utility>

#include "app/frmMain.h"
#include "settings/policy.h"
#include "shell/picture_check.h"
#include "tooltip/tip_catalogue.h"

namespace tavlin::app {
void frmMain::Form_Shown() {
  if (!tipsAttached_) SetToolTips();
}

void frmMain::SetToolTips() {
  tipsAttached_ = true;
  // A control that cannot take a tip is left without one; the rest still get theirs.
  for (const tooltip::TipRow& row : tooltip::TipCatalogue()) {
    if (!tips_.CreateToolTip(row.control, TipTextOf(row.control))) continue;
    tipMade_[static_cast<std::size_t>(row.control)] = true;
    if (const auto role = PictureOfBox(row.control)) {
      const tooltip::TipPicture& picture = pictures_[static_cast<std::size_t>(*role)];
      if (!picture.path.empty()) tips_.SetTipPicture(row.control, picture);
    }
  }
}

std::wstring frmMain::TipTextOf(Ctl control) const {
  for (const tooltip::TipRow& row : tooltip::TipCatalogue()) {
    if (row.control != control) continue;
    std::wstring text = tooltip::TipText(row);
    const TipNotes& notes = notes_[static_cast<std::size_t>(control)];
    for (const std::wstring* note : {&notes.policy, &notes.picture, &notes.preview, &notes.storage})
      if (!note->empty()) text += L"\r\n" + *note;
    return text;
  }
  return {};
}

void frmMain::SetNote(Ctl control, std::wstring TipNotes::*note, std::wstring line) {
  const auto i = static_cast<std::size_t>(control);
  if (notes_[i].*note == line) return;
  notes_[i].*note = std::move(line);
  // A tip not made yet picks the line up when it is made.
  if (tipMade_[i]) tips_.UpdateToolTip(control, TipTextOf(control));
}

void frmMain::CheckWarnings() {
  CheckPolicies();
  for (const settings::SettingEntry& entry : settings::kSettings) {
    CheckPicture(entry.control);
    CheckStorable(entry.control, ui_.GetText(entry.control));
  }
}

void frmMain::CheckPolicies() {
  for (const tooltip::TipRow& row : tooltip::TipCatalogue())
    SetNote(row.control, &TipNotes::policy, settings::PolicyLine(reg_, row.control));
}

void frmMain::CheckPicture(Ctl box) {
  const auto role = PictureOfBox(box);
  if (!role) return;
  const std::wstring path = ui_.GetText(box);
  shell::PictureFinding found = shell::ExaminePicture(*role, path, files_);
  const shell::Preview& preview = found.preview;
  tooltip::TipPicture picture;
  if (preview.verdict == shell::PreviewVerdict::Show)
    picture = {tooltip::PictureKindOf(*role), path, preview.width, preview.height};
  SetNote(box, &TipNotes::picture, std::move(found.line));
  SetNote(box, &TipNotes::preview,
          std::wstring(preview.verdict == shell::PreviewVerdict::TooLarge ? shell::kTooLargeLine
                                                                          : L""));
  SetTipPicture(*role, std::move(picture));
}

void frmMain::SetTipPicture(PictureRole role, tooltip::TipPicture picture) {
  tooltip::TipPicture& shown = pictures_[static_cast<std::size_t>(role)];
  if (shown == picture) return;
  shown = std::move(picture);
  // A tip not made yet is given its picture when it is made.
  const Ctl box = PictureOf(role).box;
  if (tipMade_[static_cast<std::size_t>(box)]) tips_.SetTipPicture(box, shown);
}

bool frmMain::CheckStorable(Ctl box, std::wstring_view text) {
  const bool storable = reg_.HoldsText(text);
  SetNote(box, &TipNotes::storage,
          storable ? L"" : L"Not applied: this Windows cannot store some of these characters");
  return storable;
}

// Whether the keyboard's balloon shows, and for which control, is the tooltip
// port's to know: the pointer's own balloon can take its place at any time.
bool frmMain::HelpKey(Ctl focused) {
  const auto i = static_cast<std::size_t>(focused);
  return i < tipMade_.size() && tipMade_[i] && tips_.ShowKeyboardTip(focused, TipTextOf(focused));
}

void frmMain::CancelKey() {
  // With no balloon of the keyboard's showing, the key does what it always does.
  if (!tips_.HideKeyboardTip()) cmbGo_Click(1);
}

void frmMain::PointerPressed() {
  tips_.HideKeyboardTip();
}

void frmMain::FocusNowOn(std::optional<Ctl> focused) {
  if (const auto shown = tips_.KeyboardTipFor(); shown && shown != focused) tips_.HideKeyboardTip();
}

std::wstring frmMain::AccessibleDescription(Ctl control) const {
  // As the balloon shows it, its lines joined with spaces.
  std::wstring text = tooltip::BreakLines(TipTextOf(control));
  for (auto at = text.find(L"\r\n"); at != std::wstring::npos; at = text.find(L"\r\n", at))
    text.replace(at, 2, L" ");
  return text;
}

void frmMain::LostFocus(Ctl control) {
  if (PictureOfBox(control)) CheckPicture(control);
}

}  // namespace tavlin::app
