// The bitmap picker's rules: which box each "..." button fills, the file-open
// dialog's settings, and how the dialog's answer is read.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/control_id.h"
#include "shell/shell_port.h"

namespace tavlin::shell {

inline constexpr std::wstring_view kBitmapFilter = L"BMP (*.bmp)|*.bmp|All (*.*)|*.*";
inline constexpr std::uint32_t kOfnFileMustExist = 0x1000;
inline constexpr std::uint32_t kFnErrInvalidFileName = 0x3002;

// The picture box that cmdBmp(Index) fills; none for an index outside 0..4.
std::optional<Ctl> BitmapBoxOf(short Index);

// The dialog settings of every click, with the box's text as the initial name.
FileOpenRequest BitmapDialogRequest(std::wstring_view fileName);

// A "desc|pattern|..." list in the dialog's own form: each bar becomes a NUL and
// the list ends with two NULs (the text holds both; c_str() adds a third).
std::wstring DialogFilter(std::wstring_view filter);

// How a dialog that returned without a file reads: no extended error is a
// Cancel; FNERR_INVALIDFILENAME means the initial name was refused.
DialogOutcome OutcomeOfFailedDialog(std::uint32_t extendedError);

}  // namespace tavlin::shell
