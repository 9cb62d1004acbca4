// Resource identifiers shared by the resource script and the code.
#pragma once

#define IDI_TAVLIN 1
#define IDB_LOGO 2  // the logo as a bitmap, made from res/logo.gif by the build
