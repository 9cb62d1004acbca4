#include "shell/bitmap_picker.h"

#include <algorithm>

#include "common/pictures.h"

namespace tavlin::shell {

std::optional<Ctl> BitmapBoxOf(short Index) {
  if (Index < 0 || static_cast<std::size_t>(Index) >= kPictures.size()) return std::nullopt;
  return kPictures[static_cast<std::size_t>(Index)].box;
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
