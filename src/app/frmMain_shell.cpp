// The pickers, the Windows tool launchers and the links to the maker's pages.
#include "app/frmMain.h"
#include "app/layout.h"
#include "app/links.h"
#include "shell/bitmap_picker.h"
#include "shell/modFolderBrowse.h"
#include "shell/modMain.h"

namespace tavlin::app {

void frmMain::cmbdir_Click(short Index) {
  const auto box = shell::modFolderBrowse::FolderBoxOf(Index);
  if (!box) return;
  const std::wstring start = shell::modFolderBrowse::StripBackslash(ui_.GetText(*box));
  // A cancel, an item with no file-system path or a path the platform cannot
  // return leaves the user's folder in view.
  if (const auto chosen = shell_.BrowseForFolder(start, shell::modFolderBrowse::kSelectFolderTitle))
    ui_.SetText(*box, *chosen);
  ui_.SetFocus(*box);
}

void frmMain::cmdBmp_Click(short Index) {
  const auto box = shell::BitmapBoxOf(Index);
  if (!box) return;
  const std::wstring text = ui_.GetText(*box);
  shell::FileOpenRequest request = shell::BitmapDialogRequest(text);
  shell::FileOpenResult result = shell_.OpenFileDialog(request);
  if (result.outcome == shell::DialogOutcome::InvalidName) {
    // The box holds something the dialog will not take as a file name (a web
    // address, "a|b"): let the user pick from scratch.
    request.fileName.clear();
    result = shell_.OpenFileDialog(request);
  }
  switch (result.outcome) {
    case shell::DialogOutcome::Ok:
      if (result.fileName.empty()) return;
      ui_.SetText(*box, result.fileName);
      CheckPicture(*box);
      ui_.SetFocus(*box);
      return;
    case shell::DialogOutcome::Cancel:
      // The box keeps its text; a box that holds something gets the focus back.
      if (text.empty()) return;
      ui_.SetText(*box, text);
      CheckPicture(*box);  // the file may have changed while the dialog was open
      ui_.SetFocus(*box);
      return;
    case shell::DialogOutcome::InvalidName:
    case shell::DialogOutcome::Failed:
      return;
  }
}

void frmMain::cmdInet_Click() {
  shell_.Execute(shell::modMain::InternetOptionsRequest());
}

void frmMain::cmdFind_Click() {
  shell_.Execute(shell::modMain::SearchRequest());
}

void frmMain::cmdFavorite_Click() {
  const std::wstring favourites = shell_.GetSpecialFolder(shell::modMain::kCsidlFavorites);
  shell_.OrganizeFavorites(shell::modMain::FavouritesFolder(favourites));
}

void frmMain::OpenURL(std::wstring_view target) {
  shell_.Execute(shell::modMain::OpenRequest(target));
}

// The About panel's logo opens the bare home page; every other logo and name
// link opens the products page.
void frmMain::imgLogo_Click() {
  OpenURL(AddressOf(Page::Home));
}

void frmMain::Image1_Click() {
  OpenURL(AddressOf(Page::Products));
}

void frmMain::lblCompany_Click() {
  Image1_Click();
}

void frmMain::lblKwy_Click() {
  Image1_Click();
}

void frmMain::lbllogo_Click(short /*Index*/) {
  OpenURL(AddressOf(Page::Products));
}

void frmMain::lblOrv_Click(short Index) {
  if (const auto page = OrvPage(Index)) OpenURL(AddressOf(*page));
}

void frmMain::lblProducts_Click(short Index) {
  if (const auto page = ProductsPage(Index)) OpenURL(AddressOf(*page));
}

}  // namespace tavlin::app
