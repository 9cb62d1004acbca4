// Every control of the main window, by the name the program gives it. Members
// of a control array carry their index after an underscore (cmbGo_0 is cmbGo(0));
// lblOrv1, without the underscore, is the separate single label of that name.
#pragma once

#include <cstdint>

namespace tavlin {

enum class Ctl : std::uint16_t {
  frmMain,  // the window itself, as the container of the two panels
  frmMenu_0,
  frmMenu_1,
  // settings panel
  cmbGo_0,
  cmbGo_1,
  Frame1,
  Frame2,
  Frame3,
  Frame4,
  Frame5,
  txtVer,
  Label10,
  lblProducts_2,
  lblProducts_1,
  lblProducts_0,
  lblKwy,
  Image1,
  lblCompany,
  Label13,
  // Frame5
  cboFullScreen,
  txtWinTitle,
  txtStart,
  Label6,
  Label1,
  Label4,
  // Frame2
  Label5,
  txtSkin,
  cmdBmp_0,
  Label12,
  txtSmStat,
  cmdBmp_3,
  Label9,
  txtSmBmp,
  cmdBmp_1,
  Line1,
  Label11,
  txtLgStat,
  cmdBmp_4,
  Label8,
  txtLgBmp,
  cmdBmp_2,
  cmdReset,
  // Frame4
  Label2,
  txtDownload,
  cmbdir_0,
  Label7,
  txtSaveDir,
  cmbdir_1,
  // Frame1
  cmdFavorite,
  cmdFind,
  cmdInet,
  // Frame3 (hidden, inert)
  txtSearch,
  Label3,
  // About panel
  cmdAbout,
  Frame10,
  Label14,
  lblOrv_2,
  lblOrv_3,
  lblOrv1,
  lblOrv_0,
  lblOrv_1,
  imgLogo,
  lbllogo_0,
  lbllogo_1,
  Label15,
  lblCopyr,
  Count
};

constexpr int kControlCount = static_cast<int>(Ctl::Count);

}  // namespace tavlin
