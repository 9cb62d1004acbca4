#include "shell/bitmap_picker.h"

#include <algorithm>

namespace tavlin::shell {

std::optional<Ctl> BitmapBoxOf(short Index) {
  switch (Index) {
    case 0:
      return Ctl::txtSkin;
    case 1:
      return Ctl::txtSmBmp;
    case 2:
      return Ctl::txtLgBmp;
    case 3:
      return Ctl::txtSmStat;
    case 4:
      return Ctl::txtLgStat;
    default:
      return std::nullopt;
  }
}

FileOpenRequest BitmapDialogRequest(std::wstring_view fileName) {
  return FileOpenRequest{std::wstring(kBitmapFilter), 1, std::wstring(fileName), kOfnFileMustExist};
}

std::wstring DialogFilter(std::wstring_view filter) {
  std::wstring out(filter);
  std::replace(out.begin(), out.end(), L'|', L'\0');
  out.append(2, L'\0');
  return out;
}

DialogOutcome OutcomeOfFailedDialog(std::uint32_t extendedError) {
  if (extendedError == 0) return DialogOutcome::Cancel;
  if (extendedError == kFnErrInvalidFileName) return DialogOutcome::InvalidName;
  return DialogOutcome::Failed;
}

}  // namespace tavlin::shell
