// Work in progress: pickers, launchers and links are being written in their own change.
#include "app/frmMain.h"

namespace tavlin::app {

void frmMain::cmbdir_Click(short) {}
void frmMain::cmdBmp_Click(short) {}
void frmMain::cmdInet_Click() {}
void frmMain::cmdFind_Click() {}
void frmMain::cmdFavorite_Click() {}
void frmMain::OpenURL(std::wstring_view) {}
void frmMain::imgLogo_Click() {}
void frmMain::Image1_Click() {}
void frmMain::lblCompany_Click() {}
void frmMain::lblKwy_Click() {}
void frmMain::lbllogo_Click(short) {}
void frmMain::lblOrv_Click(short) {}
void frmMain::lblProducts_Click(short) {}

}  // namespace tavlin::app
