#include "settings/version.h"

#include "common/text.h"
#include "settings/catalogue.h"

namespace tavlin::settings {

std::wstring GetIEVersion(VersionPort& port) {
  DllVersionRecord record;  // size 20, everything else 0
  port.ShellDllGetVersion(record);
  return ToDecimal(record.major) + L"." + ToDecimal(record.minor) + L"." + ToDecimal(record.build);
}

std::wstring VersionDisplay(std::wstring_view version) {
  return L"IE v" + TrimSpaces(version);
}

std::wstring_view SkinValueNameFor(std::wstring_view version) {
  const auto dot = version.find(L'.');
  const auto major = ParseUInt32(version.substr(0, dot));
  return major && *major >= 5 ? kSkinNameIE5 : kSkinNameOld;
}

std::wstring TitleFor(const ProgramVersion& v) {
  return L"Tavlin " + ToDecimal(v.major) + L"." + ToDecimal(v.minor) + L"." + ToDecimal(v.revision);
}

}  // namespace tavlin::settings
