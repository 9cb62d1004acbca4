// The shell adapter under Wine, with every platform function it calls swapped
// for a recording stand-in: the requests reach the platform with exactly the
// arguments they should, and no dialog, browser or tool ever starts.
#include <gtest/gtest.h>

#include <windows.h>
#include <cderr.h>

#include <optional>
#include <string>
#include <vector>

#include "app/frmMain.h"
#include "app/layout.h"
#include "app/window_win32.h"
#include "common/entry_points_win32.h"
#include "common/win32_handles.h"
#include "shell/modFolderBrowse_win32.h"
#include "shell/shell_win32.h"
#include "support/fakes.h"
#include "support/memory_registry.h"

namespace tavlin::testing {
namespace {

using namespace std::string_literals;

const HWND kMain = reinterpret_cast<HWND>(0x5100);
const HWND kDesktop = reinterpret_cast<HWND>(0x5200);
const HWND kBrowser = reinterpret_cast<HWND>(0x5300);
const auto kStartList = reinterpret_cast<PIDLIST_ABSOLUTE>(0x7100);
const auto kChosenList = reinterpret_cast<PIDLIST_ABSOLUTE>(0x7200);

std::optional<std::wstring> Text(const wchar_t* s) {
  return s ? std::optional<std::wstring>(s) : std::nullopt;
}

// ---- the recording platform ---------------------------------------------

struct Execute {
  HWND owner;
  std::optional<std::wstring> verb, file, parameters, directory;
  int show;
  bool operator==(const Execute&) const = default;
};
struct Browse {
  HWND owner;
  PCIDLIST_ABSOLUTE root;
  LPWSTR displayName;
  std::wstring title;
  UINT flags;
  bool hasCallback;
};
struct Message {
  HWND hwnd;
  UINT msg;
  WPARAM wp;
  LPARAM lp;
  bool operator==(const Message&) const = default;
};
struct FileDialog {
  DWORD structSize;
  HWND owner;
  std::wstring filter;  // up to and including the double NUL
  DWORD filterIndex;
  std::wstring initialName;
  DWORD maxFile;
  DWORD flags;
  bool hasTitle, hasInitialDir, hasDefExt, hasCustomFilter;
};
struct FolderLookup {
  HWND owner;
  int csidl;
  HANDLE token;
  DWORD flags;
  bool bufferAllSpaces;
};

// What the stand-ins saw, and what they answer.
struct Platform {
  std::vector<Execute> executed;
  std::vector<Browse> browsed;
  std::vector<int> callbackResults;
  std::vector<std::size_t> sentAfterEach;
  PIDLIST_ABSOLUTE browseAnswer = nullptr;
  std::vector<std::pair<PCIDLIST_ABSOLUTE, DWORD>> pathRequests;  // list, buffer size
  std::optional<std::wstring> pathAnswer;                         // none: the call fails
  std::vector<std::wstring> itemListPaths;
  PIDLIST_ABSOLUTE itemListAnswer = kStartList;
  std::vector<Message> sent;
  std::vector<void*> freed;
  std::vector<FileDialog> fileDialogs;
  std::vector<std::pair<BOOL, std::wstring>> fileAnswers;  // result, name written on success
  std::vector<DWORD> fileErrors;                           // extended error after each failure
  DWORD lastError = 0;
  std::vector<FolderLookup> lookups;
  HRESULT lookupResult = S_OK;
  std::wstring lookupPath;
  std::vector<std::pair<HWND, std::optional<std::wstring>>> favourites;
};
Platform* g = nullptr;

HINSTANCE WINAPI FakeShellExecute(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                                  LPCWSTR directory, INT show) {
  g->executed.push_back({owner, Text(verb), Text(file), Text(parameters), Text(directory), show});
  return reinterpret_cast<HINSTANCE>(42);
}
HWND WINAPI FakeDesktop() {
  return kDesktop;
}
PIDLIST_ABSOLUTE WINAPI FakeBrowse(LPBROWSEINFOW bi) {
  g->browsed.push_back({bi->hwndOwner, bi->pidlRoot, bi->pszDisplayName,
                        bi->lpszTitle ? bi->lpszTitle : L"<null>", bi->ulFlags,
                        bi->lpfn != nullptr});
  if (bi->lpfn) {
    // The browser's two notifications, each followed by a note of how many
    // messages the routine had sent by then.
    g->callbackResults.push_back(bi->lpfn(kBrowser, BFFM_INITIALIZED, 0, bi->lParam));
    g->sentAfterEach.push_back(g->sent.size());
    g->callbackResults.push_back(bi->lpfn(kBrowser, BFFM_SELCHANGED, 0, bi->lParam));
    g->sentAfterEach.push_back(g->sent.size());
  }
  return g->browseAnswer;
}
BOOL WINAPI FakeGetPath(PCIDLIST_ABSOLUTE list, PWSTR buffer, DWORD size, int flags) {
  g->pathRequests.emplace_back(list, size);
  if (flags != 0 /* GPFIDL_DEFAULT */ || !g->pathAnswer || g->pathAnswer->size() >= size)
    return FALSE;
  std::copy(g->pathAnswer->begin(), g->pathAnswer->end(), buffer);
  buffer[g->pathAnswer->size()] = L'\0';
  return TRUE;
}
PIDLIST_ABSOLUTE WINAPI FakeItemList(PCWSTR path) {
  g->itemListPaths.push_back(path);
  return g->itemListAnswer;
}
LRESULT WINAPI FakeSend(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  g->sent.push_back({hwnd, msg, wp, lp});
  return 0;
}
void WINAPI FakeFree(LPVOID p) {
  g->freed.push_back(p);
}
BOOL WINAPI FakeOpen(LPOPENFILENAMEW ofn) {
  std::wstring filter;
  if (ofn->lpstrFilter)
    for (const wchar_t* p = ofn->lpstrFilter; !(p[0] == 0 && !filter.empty() && filter.back() == 0);
         ++p)
      filter.push_back(*p);
  if (!filter.empty()) filter.push_back(L'\0');
  g->fileDialogs.push_back({ofn->lStructSize, ofn->hwndOwner, filter, ofn->nFilterIndex,
                            ofn->lpstrFile, ofn->nMaxFile, ofn->Flags, ofn->lpstrTitle != nullptr,
                            ofn->lpstrInitialDir != nullptr, ofn->lpstrDefExt != nullptr,
                            ofn->lpstrCustomFilter != nullptr});
  const std::size_t call = g->fileDialogs.size() - 1;
  const auto [ok, name] =
      call < g->fileAnswers.size() ? g->fileAnswers[call] : std::pair(FALSE, L""s);
  if (ok) {
    std::copy(name.begin(), name.end(), ofn->lpstrFile);
    ofn->lpstrFile[name.size()] = L'\0';
  } else {
    g->lastError = call < g->fileErrors.size() ? g->fileErrors[call] : 0;
  }
  return ok;
}
DWORD WINAPI FakeDialogError() {
  return g->lastError;
}
HRESULT WINAPI FakeFolderPath(HWND owner, int csidl, HANDLE token, DWORD flags, LPWSTR buffer) {
  bool spaces = true;
  for (int i = 0; i < MAX_PATH; ++i) spaces = spaces && buffer[i] == L' ';
  g->lookups.push_back({owner, csidl, token, flags, spaces});
  if (SUCCEEDED(g->lookupResult)) {
    std::copy(g->lookupPath.begin(), g->lookupPath.end(), buffer);
    buffer[g->lookupPath.size()] = L'\0';
  }
  return g->lookupResult;
}
BOOL WINAPI FakeFavourites(HWND owner, LPWSTR path) {
  g->favourites.emplace_back(owner, Text(path));
  return TRUE;
}

shell::ShellApi RecordingApi() {
  shell::ShellApi api;
  api.execute = &FakeShellExecute;
  api.browseForFolder = &FakeBrowse;
  api.longPathFromItemList = &FakeGetPath;
  api.itemListFromPath = &FakeItemList;
  api.folderPath = &FakeFolderPath;
  api.openFileDialog = &FakeOpen;
  api.dialogError = &FakeDialogError;
  api.organizeFavourites = &FakeFavourites;
  api.desktopWindow = &FakeDesktop;
  api.sendToBrowser = &FakeSend;
  api.freeItemList = &FakeFree;
  return api;
}

// frmMain over in-memory controls and the real adapter on the recording
// platform; the dialogs' owner is kMain until Form_Unload.
class ShellAdapter : public ::testing::Test {
 protected:
  void SetUp() override { g = &platform; }
  void TearDown() override { g = nullptr; }

  Platform platform;
  FakeControls ui;
  MemoryRegistry reg;
  FakeVersion version;
  RecordingTips tips;
  shell::Win32Shell shell{[this] { return ui.globalReferenceDropped ? nullptr : kMain; },
                          RecordingApi()};
  FakeFiles files;
  app::frmMain form{{ui, reg, version, tips, shell, files}};
};

// ---- launchers and links --------------------------------------------------

TEST_F(ShellAdapter, LaunchersAndLinksReachShellExecuteExactly) {
  const std::wstring host(app::kMakerHost);
  const auto open = [&](std::wstring file) {
    return Execute{kMain, L"open", std::move(file), L""s, std::nullopt, SW_SHOWNORMAL};
  };
  const struct {
    Ctl control;
    Execute call;
  } rows[] = {
      {Ctl::cmdInet, {kDesktop, L"Open", L"Control", L"inetcpl.cpl", L"C:\\", SW_SHOWNORMAL}},
      {Ctl::cmdFind, {kDesktop, L"find", L"\\", std::nullopt, std::nullopt, SW_SHOWNORMAL}},
      {Ctl::imgLogo, open(host)},
      {Ctl::Image1, open(host + L"/products.htm")},
      {Ctl::lblCompany, open(host + L"/products.htm")},
      {Ctl::lblKwy, open(host + L"/products.htm")},
      {Ctl::lbllogo_0, open(host + L"/products.htm")},
      {Ctl::lbllogo_1, open(host + L"/products.htm")},
      {Ctl::lblOrv_0, open(L"http://" + host + L"/orvalen/")},
      {Ctl::lblOrv_1, open(L"http://" + host + L"/orvalen/")},
      {Ctl::lblOrv_2, open(L"http://" + host + L"/freeware/index.htm")},
      {Ctl::lblOrv_3, open(L"http://" + host + L"/freeware/index.htm")},
      {Ctl::lblProducts_0, open(L"http://" + host + L"/orvalen/")},
      {Ctl::lblProducts_1, open(L"http://" + host + L"/wendlekin/")},
      {Ctl::lblProducts_2, open(L"http://" + host + L"/stowfast/")},
  };
  for (const auto& row : rows) {
    platform.executed.clear();
    form.Click(row.control);
    ASSERT_EQ(platform.executed.size(), 1u) << int(row.control);
    EXPECT_EQ(platform.executed[0], row.call) << int(row.control);
  }
}

TEST_F(ShellAdapter, OpenURLAfterUnloadHasNoOwner) {
  short cancel = 0;
  form.Form_Unload(cancel);
  form.OpenURL(L"www.example.org/x");
  ASSERT_EQ(platform.executed.size(), 1u);
  EXPECT_EQ(platform.executed[0].owner, nullptr);
}

TEST_F(ShellAdapter, FavouritesDialogGetsTheLookedUpFolderOrNull) {
  const struct {
    HRESULT result;
    std::wstring path;
    std::optional<std::wstring> handed;
  } cases[] = {
      {S_OK, L"C:\\users\\Åsa\\Favorites", L"C:\\users\\Åsa\\Favorites"},
      {S_FALSE, L"C:\\missing", std::nullopt},  // the folder does not exist
      {E_FAIL, L"", std::nullopt},
      {S_OK, L"", std::nullopt},
  };
  for (const auto& c : cases) {
    platform.lookups.clear();
    platform.favourites.clear();
    platform.lookupResult = c.result;
    platform.lookupPath = c.path;
    form.Click(Ctl::cmdFavorite);
    ASSERT_EQ(platform.lookups.size(), 1u);
    EXPECT_EQ(platform.lookups[0].owner, kMain);
    EXPECT_EQ(platform.lookups[0].csidl, CSIDL_FAVORITES);
    EXPECT_EQ(platform.lookups[0].token, nullptr);
    EXPECT_EQ(platform.lookups[0].flags, 0u) << "current location, nothing created";
    EXPECT_TRUE(platform.lookups[0].bufferAllSpaces);
    ASSERT_EQ(platform.favourites.size(), 1u);
    EXPECT_EQ(platform.favourites[0].first, kMain);
    EXPECT_EQ(platform.favourites[0].second, c.handed) << c.path;
  }
  EXPECT_TRUE(platform.executed.empty());
}

// ---- folder browser -------------------------------------------------------

TEST_F(ShellAdapter, FolderBrowserRequestSelectionAndResult) {
  ui.Type(Ctl::txtDownload, L"C:\\Temp\\");
  platform.browseAnswer = kChosenList;
  platform.pathAnswer = L"D:\\Data";
  form.Click(Ctl::cmbdir_0);

  EXPECT_EQ(platform.itemListPaths, std::vector<std::wstring>{L"C:\\Temp"});
  ASSERT_EQ(platform.browsed.size(), 1u);
  const Browse& b = platform.browsed[0];
  EXPECT_EQ(b.owner, kMain);
  EXPECT_EQ(b.root, nullptr);
  EXPECT_EQ(b.displayName, nullptr);
  EXPECT_EQ(b.title, L"Select Folder");
  EXPECT_EQ(b.flags, 0u);
  EXPECT_TRUE(b.hasCallback);
  // Only the first notification selects the start folder, by its item list.
  EXPECT_EQ(platform.sent, (std::vector<Message>{{kBrowser, BFFM_SETSELECTIONW, FALSE,
                                                  reinterpret_cast<LPARAM>(kStartList)}}));
  EXPECT_EQ(platform.callbackResults, (std::vector<int>{0, 0}));
  EXPECT_EQ(platform.sentAfterEach, (std::vector<std::size_t>{1, 1})) << "sent on BFFM_INITIALIZED";
  ASSERT_EQ(platform.pathRequests.size(), 1u);
  EXPECT_EQ(platform.pathRequests[0].first, kChosenList);
  EXPECT_EQ(platform.pathRequests[0].second, 32768u) << "room for a long path";
  EXPECT_EQ(ui.text[Ctl::txtDownload], L"D:\\Data");
  EXPECT_EQ(ui.focus, Ctl::txtDownload);
  // Both lists freed, each once.
  std::vector<void*> freed = platform.freed;
  std::sort(freed.begin(), freed.end());
  EXPECT_EQ(freed, (std::vector<void*>{kStartList, kChosenList}));
}

TEST_F(ShellAdapter, FolderBrowserOutcomes) {
  const std::wstring longPath = L"C:\\" + std::wstring(1000, L'd');
  const struct {
    const char* name;
    PIDLIST_ABSOLUTE chosen;
    std::optional<std::wstring> path;
    PIDLIST_ABSOLUTE start;
    std::wstring after;
    std::vector<void*> freed;
  } cases[] = {
      {"cancel", nullptr, L"D:\\unused", kStartList, L"C:\\Keep", {kStartList}},
      {"virtual folder",
       kChosenList,
       std::nullopt,
       kStartList,
       L"C:\\Keep",
       {kChosenList, kStartList}},
      {"long path", kChosenList, longPath, kStartList, longPath, {kChosenList, kStartList}},
      {"drive root", kChosenList, L"D:\\", kStartList, L"D:\\", {kChosenList, kStartList}},
      {"no start list", kChosenList, L"E:\\x", nullptr, L"E:\\x", {kChosenList}},
      {"too long to return",
       kChosenList,
       std::wstring(40000, L'x'),
       kStartList,
       L"C:\\Keep",
       {kChosenList, kStartList}},
  };
  for (const auto& c : cases) {
    platform = {};
    platform.browseAnswer = c.chosen;
    platform.pathAnswer = c.path;
    platform.itemListAnswer = c.start;
    ui.Type(Ctl::txtSaveDir, L"C:\\Keep");
    ui.focus.reset();
    form.Click(Ctl::cmbdir_1);
    EXPECT_EQ(ui.text[Ctl::txtSaveDir], c.after) << c.name;
    EXPECT_EQ(ui.focus, Ctl::txtSaveDir) << c.name;
    EXPECT_EQ(platform.freed, c.freed) << c.name;
    ASSERT_EQ(platform.sent.size(), 1u) << c.name;
    EXPECT_EQ(platform.sent[0].lp, reinterpret_cast<LPARAM>(c.start)) << "sent as it came";
    EXPECT_EQ(platform.pathRequests.size(), c.chosen ? 1u : 0u) << c.name;
  }
}

TEST_F(ShellAdapter, StartPathGoesAsTypedOnBothFamilies) {
  // The table's entry alone puts it into the code page on the 95 family (below).
  const std::wstring typed = L"C:\\café\\日本";
  for (const bool nt : {true, false}) {
    platform = {};
    win::AnswerAsNt(nt);
    { const auto list = shell::modFolderBrowse::PathToItemList(RecordingApi(), typed); }
    EXPECT_EQ(platform.itemListPaths, std::vector<std::wstring>{typed}) << nt;
    EXPECT_EQ(platform.freed, std::vector<void*>{kStartList}) << "the caller frees the list";
  }
  win::AnswerAsNt(std::nullopt);
}

// shell32's item-list functions as the text boundary looks them up: the 95
// family's by its ordinal, NT's by name.
std::vector<std::string> g_narrowPaths;
std::vector<std::wstring> g_widePaths;
PIDLIST_ABSOLUTE WINAPI NarrowItemList(LPCSTR path) {
  g_narrowPaths.push_back(path);
  return nullptr;
}
PIDLIST_ABSOLUTE WINAPI WideItemList(PCWSTR path) {
  g_widePaths.push_back(path);
  return nullptr;
}
FARPROC WINAPI ItemListLookup(HMODULE, LPCSTR name) {
  void (*found)() = nullptr;
  if (IS_INTRESOURCE(name) && LOWORD(name) == 157)
    found = reinterpret_cast<void (*)()>(&NarrowItemList);
  else if (!IS_INTRESOURCE(name) && std::string_view(name) == "ILCreateFromPathW")
    found = reinterpret_cast<void (*)()>(&WideItemList);
  return reinterpret_cast<FARPROC>(found);
}

TEST(ShellOnWine, StartPathReachesTheShellInTheFamilysText) {
  if (GetACP() != 1252) GTEST_SKIP() << "expectations written for code page 1252";
  const ProcLookup previous = SetProcLookup(&ItemListLookup);
  for (const bool nt : {true, false}) {
    win::AnswerAsNt(nt);
    if (const auto entry = win::ItemListFromPathEntry(GetModuleHandleW(nullptr)))
      entry(L"C:\\café\\日本");
  }
  win::AnswerAsNt(std::nullopt);
  SetProcLookup(previous);
  EXPECT_EQ(g_widePaths, std::vector<std::wstring>{L"C:\\café\\日本"});
  EXPECT_EQ(g_narrowPaths, std::vector<std::string>{"C:\\caf\xe9\\??"}) << "converted once";
}

// ---- file-open dialog -----------------------------------------------------

TEST_F(ShellAdapter, FileDialogSettings) {
  ui.Type(Ctl::txtSkin, L"C:\\pics\\old.bmp");
  platform.fileAnswers = {{TRUE, L"C:\\pics\\new.bmp"}};
  form.Click(Ctl::cmdBmp_0);
  ASSERT_EQ(platform.fileDialogs.size(), 1u);
  const FileDialog& d = platform.fileDialogs[0];
  EXPECT_EQ(d.structSize, sizeof(OPENFILENAMEW));
  EXPECT_EQ(d.owner, kMain);
  EXPECT_EQ(d.filter, L"BMP (*.bmp)\0*.bmp\0All (*.*)\0*.*\0\0"s);
  EXPECT_EQ(d.filterIndex, 1u);
  EXPECT_EQ(d.initialName, L"C:\\pics\\old.bmp");
  EXPECT_EQ(d.maxFile, 32768u);
  EXPECT_EQ(d.flags, DWORD{OFN_FILEMUSTEXIST});
  EXPECT_FALSE(d.hasTitle || d.hasInitialDir || d.hasDefExt || d.hasCustomFilter);
  EXPECT_EQ(ui.text[Ctl::txtSkin], L"C:\\pics\\new.bmp");
  EXPECT_EQ(ui.focus, Ctl::txtSkin);
}

TEST_F(ShellAdapter, FileDialogOutcomes) {
  const std::wstring longName = L"C:\\" + std::wstring(2000, L'n') + L".bmp";
  const std::wstring tooLong(32768, L'x');
  const std::wstring fits(32767, L'y');
  const struct {
    const char* name;
    std::wstring typed;
    std::vector<std::pair<BOOL, std::wstring>> answers;
    std::vector<DWORD> errors;
    std::vector<std::wstring> opened;
    std::wstring after;
    bool focused;
  } cases[] = {
      {"long path chosen", L"", {{TRUE, longName}}, {}, {L""}, longName, true},
      {"cancel", L"old.bmp", {{FALSE, L""}}, {0}, {L"old.bmp"}, L"old.bmp", true},
      {"cancel on empty", L"", {{FALSE, L""}}, {0}, {L""}, L"", false},
      {"refused name, then open",
       L"a|b",
       {{FALSE, L""}, {TRUE, L"C:\\x.bmp"}},
       {FNERR_INVALIDFILENAME},
       {L"a|b", L""},
       L"C:\\x.bmp",
       true},
      {"refused name, then cancel",
       L"http://x/y.bmp",
       {{FALSE, L""}, {FALSE, L""}},
       {FNERR_INVALIDFILENAME, 0},
       {L"http://x/y.bmp", L""},
       L"http://x/y.bmp",
       true},
      {"buffer too small",
       L"old.bmp",
       {{FALSE, L""}},
       {FNERR_BUFFERTOOSMALL},
       {L"old.bmp"},
       L"old.bmp",
       false},
      {"dialog failure",
       L"old.bmp",
       {{FALSE, L""}},
       {CDERR_DIALOGFAILURE},
       {L"old.bmp"},
       L"old.bmp",
       false},
      {"name too long to hand over",
       tooLong,
       {{TRUE, L"C:\\x.bmp"}},
       {},
       {L""},
       L"C:\\x.bmp",
       true},
      {"longest name that fits", fits, {{FALSE, L""}}, {0}, {fits}, fits, true},
  };
  for (const auto& c : cases) {
    platform = {};
    platform.fileAnswers = c.answers;
    platform.fileErrors = c.errors;
    ui.Type(Ctl::txtLgStat, c.typed);
    ui.focus.reset();
    form.Click(Ctl::cmdBmp_4);
    std::vector<std::wstring> opened;
    for (const auto& d : platform.fileDialogs) opened.push_back(d.initialName);
    EXPECT_EQ(opened, c.opened) << c.name;
    EXPECT_EQ(ui.text[Ctl::txtLgStat], c.after) << c.name;
    EXPECT_EQ(ui.focus.has_value(), c.focused) << c.name;
  }
}

// ---- the real platform, where nothing is shown ------------------------------

TEST(ShellOnWine, LibrariesLoadOnFirstNeed) {
  if (GetModuleHandleW(L"comdlg32.dll") || GetModuleHandleW(L"shdocvw.dll") ||
      GetModuleHandleW(L"shell32.dll"))
    GTEST_SKIP() << "another test has loaded the shell libraries already";
  shell::Win32Shell shell{[] { return HWND{}; }};
  EXPECT_FALSE(GetModuleHandleW(L"shell32.dll"));
  const std::wstring favourites = shell.GetSpecialFolder(CSIDL_FAVORITES);
  EXPECT_TRUE(GetModuleHandleW(L"shell32.dll"));
  EXPECT_FALSE(GetModuleHandleW(L"comdlg32.dll")) << "not until a bitmap is picked";
  EXPECT_FALSE(GetModuleHandleW(L"shdocvw.dll")) << "not until favourites are organised";
  // The lookup itself: the user's favourites folder, as a folder that exists.
  ASSERT_GT(favourites.size(), 10u);
  EXPECT_EQ(favourites.substr(favourites.size() - 10), L"\\Favorites");
  const DWORD attributes = GetFileAttributesW(favourites.c_str());
  EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
}

// As the program wires it: the dialogs are owned by the main window until
// Form_Unload drops the program's reference to it.
TEST(ShellOnWine, DialogsAreOwnedByTheWindowUntilUnload) {
  Platform platform;
  g = &platform;
  app::MainWindow window{GetModuleHandleW(nullptr)};
  ASSERT_TRUE(window.Create());
  shell::Win32Shell shell{[&window] { return window.GlobalReference(); }, RecordingApi()};
  shell.GetSpecialFolder(CSIDL_FAVORITES);
  window.DropGlobalReference();
  shell.GetSpecialFolder(CSIDL_FAVORITES);
  ASSERT_EQ(platform.lookups.size(), 2u);
  EXPECT_EQ(platform.lookups[0].owner, window.hwnd());
  EXPECT_EQ(platform.lookups[1].owner, nullptr);
  DestroyWindow(window.hwnd());
  MSG quit;
  PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  g = nullptr;
}

TEST(ShellOnWine, StartFolderListNamesTheFolder) {
  const UniqueModule shell32(LoadLibraryW(L"shell32.dll"));
  shell::ShellApi api = shell::LinkedShellApi();
  api.itemListFromPath = win::ItemListFromPathEntry(shell32.get());
  api.longPathFromItemList = win::PathFromItemListExEntry(shell32.get());
  ASSERT_TRUE(api.itemListFromPath && api.longPathFromItemList);

  const shell::ItemList list = shell::modFolderBrowse::PathToItemList(api, L"C:\\windows");
  ASSERT_TRUE(list);
  std::wstring path(shell::kLongPathChars, L'\0');
  ASSERT_TRUE(api.longPathFromItemList(list.get(), path.data(), static_cast<DWORD>(path.size()),
                                       0 /* GPFIDL_DEFAULT */));
  EXPECT_EQ(std::wstring(path.c_str()), L"C:\\windows");
  // A folder that does not exist gives no list; the browser then opens with
  // the selection the shell chooses.
  EXPECT_FALSE(shell::modFolderBrowse::PathToItemList(api, L"C:\\no\\such\\folder"));
}

}  // namespace
}  // namespace tavlin::testing
