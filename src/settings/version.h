// Version texts: the browser version and the decisions made from it.
#pragma once

#include <string>
#include <string_view>

#include "settings/version_port.h"

namespace tavlin::settings {

// major.minor.build of the shell library, "0.0.0" when the query fails.
std::wstring GetIEVersion(VersionPort& port);

// What the version box shows: "IE v" and the trimmed version text.
std::wstring VersionDisplay(std::wstring_view version);

// The toolbar skin value: "BackBitmapIE5" from major version 5 on (compared as a
// number, so 10 and 11 count), "BackBitmap" for 0 to 4 or an unreadable version.
std::wstring_view SkinValueNameFor(std::wstring_view version);

// The caption of the main window: "Tavlin " major.minor.revision.
std::wstring TitleFor(const ProgramVersion& v);

}  // namespace tavlin::settings
