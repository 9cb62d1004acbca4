#include "shell/shell_win32.h"

#include <cderr.h>

#include <algorithm>
#include <utility>

#include "common/entry_points_win32.h"
#include "common/program_win32.h"
#include "shell/bitmap_picker.h"
#include "shell/modFolderBrowse_win32.h"
#include "shell/modMain_win32.h"
#include "shell/text_buffer.h"

namespace tavlin::shell {

namespace {

static_assert(kFnErrInvalidFileName == FNERR_INVALIDFILENAME);
static_assert(kOfnFileMustExist == OFN_FILEMUSTEXIST);

const wchar_t* OrNull(const std::optional<std::wstring>& text) {
  return text ? text->c_str() : nullptr;
}

}  // namespace

Win32Shell::Win32Shell(std::function<HWND()> owner)
    : owner_(std::move(owner)), api_(LinkedShellApi()), loadOnDemand_(true) {}

Win32Shell::Win32Shell(std::function<HWND()> owner, const ShellApi& substitute)
    : owner_(std::move(owner)), api_(substitute), loadOnDemand_(false) {}

const ShellApi& Win32Shell::Need(Library library) {
  if (!loadOnDemand_) return api_;
  switch (library) {
    // Each library's entries from the text boundary; those it lacks stay empty.
    case Library::Shell32:
      if (shell32_ || !(shell32_ = LoadSystemLibrary(L"shell32.dll"))) break;
      api_.execute = win::ShellExecuteEntry(shell32_);
      api_.browseForFolder = win::BrowseForFolderEntry(shell32_);
      api_.longPathFromItemList = win::PathFromItemListExEntry(shell32_);
      api_.pathFromItemList = win::PathFromItemListEntry(shell32_);
      api_.itemListFromPath = win::ItemListFromPathEntry(shell32_);
      api_.folderPath = win::FolderPathEntry(shell32_);
      break;
    case Library::Comdlg32:
      if (comdlg32_ || !(comdlg32_ = LoadSystemLibrary(L"comdlg32.dll"))) break;
      api_.openFileDialog = win::OpenFileNameEntry(comdlg32_);
      api_.dialogError = TAVLIN_LOOKUP(comdlg32_, CommDlgExtendedError);
      break;
    case Library::Shdocvw:
      if (shdocvw_ || !(shdocvw_ = LoadSystemLibrary(L"shdocvw.dll"))) break;
      api_.organizeFavourites = win::OrganizeFavouritesEntry(shdocvw_);
      break;
  }
  return api_;
}

void Win32Shell::Execute(const ShellRequest& request) {
  EnsureComApartment();
  const ShellApi& api = Need(Library::Shell32);
  if (!api.execute) return;
  HWND owner = owner_();
  if (request.owner == Owner::Desktop) owner = api.desktopWindow ? api.desktopWindow() : nullptr;
  // The result is not examined: a tool or page that will not open says so itself, or not at all.
  api.execute(owner, request.verb.c_str(), request.file.c_str(), OrNull(request.parameters),
              OrNull(request.directory), request.show);
}

std::optional<std::wstring> Win32Shell::BrowseForFolder(std::wstring_view startPath,
                                                        std::wstring_view title) {
  EnsureComApartment();
  return modFolderBrowse::BrowseForFolder(Need(Library::Shell32), startPath, title, owner_());
}

FileOpenResult Win32Shell::OpenFileDialog(const FileOpenRequest& request) {
  EnsureComApartment();
  const ShellApi& api = Need(Library::Comdlg32);
  if (!api.openFileDialog) return {DialogOutcome::Failed, {}};
  // The name and its NUL must fit the buffer; a longer one is refused, not cut.
  if (request.fileName.size() >= kLongPathChars) return {DialogOutcome::InvalidName, {}};
  std::wstring file(kLongPathChars, L'\0');
  std::copy(request.fileName.begin(), request.fileName.end(), file.begin());
  const std::wstring filter = DialogFilter(request.filter);

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner_();
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = static_cast<DWORD>(request.filterIndex);
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.Flags = request.flags;
  if (api.openFileDialog(&dialog)) {
    if (auto chosen = TerminatedText(file)) return {DialogOutcome::Ok, std::move(*chosen)};
    return {DialogOutcome::Failed, {}};
  }
  const DWORD error = api.dialogError ? api.dialogError() : CDERR_DIALOGFAILURE;
  return {OutcomeOfFailedDialog(error), {}};
}

std::wstring Win32Shell::GetSpecialFolder(int csidl) {
  return modMain::GetSpecialFolder(Need(Library::Shell32), owner_(), csidl);
}

void Win32Shell::OrganizeFavorites(const std::optional<std::wstring>& folder) {
  EnsureComApartment();
  const ShellApi& api = Need(Library::Shdocvw);
  if (!api.organizeFavourites) return;
  std::wstring path = folder.value_or(std::wstring());  // the call takes a writable text
  api.organizeFavourites(owner_(), folder ? path.data() : nullptr);
}

}  // namespace tavlin::shell
