#include "common/text_boundary_win32.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstring>
#include <utility>

#include "common/entry_points_win32.h"
#include "common/text.h"
#include "common/win32_handles.h"

namespace tavlin::win {
namespace {

// A W entry point, from the table looked up on NT.
#define WIDE(name) (WideTable().name)

std::optional<bool> g_answerAsNt;

bool SystemIsNt() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  const BOOL answered = GetVersionExA(&version);
  return IsNtPlatform(answered, version.dwPlatformId);
}

int Length(std::size_t n) {
  return n > INT_MAX ? INT_MAX : static_cast<int>(n);
}

// A text read through a length-then-text pair of calls.
template <typename Char, typename LengthFn, typename ReadFn>
std::basic_string<Char> ReadText(LengthFn length, ReadFn read) {
  const int n = length();
  if (n <= 0) return {};
  std::basic_string<Char> text(static_cast<std::size_t>(n) + 1, Char{});
  const int got = read(text.data(), n + 1);
  text.resize(got > 0 && got <= n ? static_cast<std::size_t>(got) : 0);
  return text;
}

// A text a call writes into a buffer whose size it reports: grows the buffer
// until the text fits. `call(buffer, size)` returns the length written, or
// the size needed when it is at least `size`, or 0 on failure.
template <typename Char, typename Fn>
std::basic_string<Char> GrowingText(Fn call) {
  std::basic_string<Char> text(MAX_PATH, Char{});
  for (int tries = 0; tries < 8; ++tries) {
    const DWORD n = call(text.data(), static_cast<DWORD>(text.size()));
    if (n == 0) return {};
    if (n < text.size()) {
      text.resize(n);
      return text;
    }
    text.resize(std::max<std::size_t>(n + 1, text.size() * 2));
  }
  return {};
}

bool IsTextType(DWORD type) {
  return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// The 95 family's tool record: the same layout, 8-bit text.
TTTOOLINFOA NarrowTool(const TTTOOLINFOW& tool, std::string& text) {
  static_assert(sizeof(TTTOOLINFOA) == sizeof(TTTOOLINFOW));
  TTTOOLINFOA a;
  std::memcpy(&a, &tool, sizeof a);
  a.lpszText = text.data();
  return a;
}

}  // namespace

bool IsWinNT() {
  static const bool nt = SystemIsNt();
  return g_answerAsNt.value_or(nt);
}

bool AnswerAsNt(std::optional<bool> nt) {
  const bool before = IsWinNT();
  g_answerAsNt = nt;
  return before;
}

std::string Narrow(std::wstring_view text, UINT codePage) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(codePage, 0, text.data(), Length(text.size()), nullptr, 0,
                                    nullptr, nullptr);
  if (n <= 0) return {};
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), Length(text.size()), out.data(), n, nullptr,
                      nullptr);
  return out;
}

std::wstring Widen(std::string_view text, UINT codePage) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(codePage, 0, text.data(), Length(text.size()), nullptr, 0);
  if (n <= 0) return {};
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), Length(text.size()), out.data(), n);
  return out;
}

bool CodePageHolds(std::wstring_view text) {
  return Widen(Narrow(text)) == text;
}

// ---- windows, messages and painting -----------------------------------------

ATOM RegisterWindowClass(const WNDCLASSEXW& wc) {
  if (IsWinNT()) return WIDE(RegisterClassExW)(&wc);
  const std::string name = IS_INTRESOURCE(wc.lpszClassName) ? "" : Narrow(wc.lpszClassName);
  const std::string menu =
      !wc.lpszMenuName || IS_INTRESOURCE(wc.lpszMenuName) ? "" : Narrow(wc.lpszMenuName);
  WNDCLASSEXA a{};
  a.cbSize = sizeof a;
  a.style = wc.style;
  a.lpfnWndProc = wc.lpfnWndProc;
  a.cbClsExtra = wc.cbClsExtra;
  a.cbWndExtra = wc.cbWndExtra;
  a.hInstance = wc.hInstance;
  a.hIcon = wc.hIcon;
  a.hCursor = wc.hCursor;
  a.hbrBackground = wc.hbrBackground;
  a.lpszMenuName = !wc.lpszMenuName || IS_INTRESOURCE(wc.lpszMenuName)
                       ? reinterpret_cast<LPCSTR>(wc.lpszMenuName)
                       : menu.c_str();
  a.lpszClassName =
      IS_INTRESOURCE(wc.lpszClassName) ? reinterpret_cast<LPCSTR>(wc.lpszClassName) : name.c_str();
  a.hIconSm = wc.hIconSm;
  return RegisterClassExA(&a);
}

BOOL UnregisterWindowClass(std::wstring_view name, HINSTANCE instance) {
  if (IsWinNT()) return WIDE(UnregisterClassW)(std::wstring(name).c_str(), instance);
  return UnregisterClassA(Narrow(name).c_str(), instance);
}

HWND MakeWindow(DWORD exStyle, const wchar_t* cls, std::wstring_view title, DWORD style, int x,
                int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                void* param) {
  const bool atom = IS_INTRESOURCE(cls);
  if (IsWinNT()) {
    const std::wstring t(title);
    return WIDE(CreateWindowExW)(exStyle, cls, t.c_str(), style, x, y, width, height, parent, menu,
                                 instance, param);
  }
  const std::string name = atom ? std::string() : Narrow(cls);
  const std::string t = Narrow(title);
  return CreateWindowExA(exStyle, atom ? reinterpret_cast<LPCSTR>(cls) : name.c_str(), t.c_str(),
                         style, x, y, width, height, parent, menu, instance, param);
}

LRESULT DefaultWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return IsWinNT() ? WIDE(DefWindowProcW)(hwnd, msg, wp, lp) : DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT CallProcedure(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return IsWinNT() ? WIDE(CallWindowProcW)(proc, hwnd, msg, wp, lp)
                   : CallWindowProcA(proc, hwnd, msg, wp, lp);
}

LRESULT SendWithoutText(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return IsWinNT() ? WIDE(SendMessageW)(hwnd, msg, wp, lp) : SendMessageA(hwnd, msg, wp, lp);
}

BOOL PostWithoutText(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return IsWinNT() ? WIDE(PostMessageW)(hwnd, msg, wp, lp) : PostMessageA(hwnd, msg, wp, lp);
}

LONG_PTR ReadWindowLong(HWND hwnd, int index) {
  return IsWinNT() ? WIDE(GetWindowLongPtrW)(hwnd, index) : GetWindowLongPtrA(hwnd, index);
}

LONG_PTR WriteWindowLong(HWND hwnd, int index, LONG_PTR value) {
  return IsWinNT() ? WIDE(SetWindowLongPtrW)(hwnd, index, value)
                   : SetWindowLongPtrA(hwnd, index, value);
}

std::wstring WindowText(HWND hwnd) {
  if (IsWinNT()) {
    return ReadText<wchar_t>([&] { return WIDE(GetWindowTextLengthW)(hwnd); },
                             [&](wchar_t* b, int n) { return WIDE(GetWindowTextW)(hwnd, b, n); });
  }
  // A length in bytes, which a text in a double-byte code page needs.
  return Widen(ReadText<char>([&] { return GetWindowTextLengthA(hwnd); },
                              [&](char* b, int n) { return GetWindowTextA(hwnd, b, n); }));
}

BOOL ReplaceWindowText(HWND hwnd, std::wstring_view text) {
  if (IsWinNT()) return WIDE(SetWindowTextW)(hwnd, std::wstring(text).c_str());
  return SetWindowTextA(hwnd, Narrow(text).c_str());
}

BOOL WaitForMessage(MSG& msg) {
  return IsWinNT() ? WIDE(GetMessageW)(&msg, nullptr, 0, 0) : GetMessageA(&msg, nullptr, 0, 0);
}

LRESULT Dispatch(const MSG& msg) {
  return IsWinNT() ? WIDE(DispatchMessageW)(&msg) : DispatchMessageA(&msg);
}

BOOL HandleDialogKey(HWND dialog, MSG& msg) {
  return IsWinNT() ? WIDE(IsDialogMessageW)(dialog, &msg) : IsDialogMessageA(dialog, &msg);
}

HCURSOR LoadArrowCursor() {
  constexpr WORD kArrow = 32512;  // IDC_ARROW
  return IsWinNT() ? WIDE(LoadCursorW)(nullptr, MAKEINTRESOURCEW(kArrow))
                   : LoadCursorA(nullptr, MAKEINTRESOURCEA(kArrow));
}

HANDLE LoadResourceImage(HINSTANCE instance, WORD id, UINT type, int cx, int cy, UINT flags) {
  return IsWinNT() ? WIDE(LoadImageW)(instance, MAKEINTRESOURCEW(id), type, cx, cy, flags)
                   : LoadImageA(instance, MAKEINTRESOURCEA(id), type, cx, cy, flags);
}

HBITMAP LoadBitmapFile(std::wstring_view path) {
  constexpr UINT kFlags = LR_LOADFROMFILE | LR_CREATEDIBSECTION;
  if (IsWinNT())
    return static_cast<HBITMAP>(
        WIDE(LoadImageW)(nullptr, std::wstring(path).c_str(), IMAGE_BITMAP, 0, 0, kFlags));
  return static_cast<HBITMAP>(
      LoadImageA(nullptr, Narrow(path).c_str(), IMAGE_BITMAP, 0, 0, kFlags));
}

HFONT MakeFont(const LOGFONTW& font) {
  if (IsWinNT()) return WIDE(CreateFontIndirectW)(&font);
  LOGFONTA a{};
  static_assert(offsetof(LOGFONTA, lfFaceName) == offsetof(LOGFONTW, lfFaceName));
  std::memcpy(&a, &font, offsetof(LOGFONTA, lfFaceName));
  const std::string face = Narrow(font.lfFaceName);
  face.copy(a.lfFaceName, LF_FACESIZE - 1);
  return CreateFontIndirectA(&a);
}

FontMetrics FontMetricsOf(HDC dc) {
  if (IsWinNT()) {
    TEXTMETRICW tm{};
    return WIDE(GetTextMetricsW)(dc, &tm) ? FontMetrics{tm.tmHeight, tm.tmAveCharWidth}
                                          : FontMetrics{};
  }
  TEXTMETRICA tm{};
  return GetTextMetricsA(dc, &tm) ? FontMetrics{tm.tmHeight, tm.tmAveCharWidth} : FontMetrics{};
}

int DrawTextIn(HDC dc, std::wstring_view text, RECT& rect, UINT format) {
  if (IsWinNT()) return WIDE(DrawTextW)(dc, text.data(), Length(text.size()), &rect, format);
  const std::string a = Narrow(text);
  return DrawTextA(dc, a.data(), Length(a.size()), &rect, format);
}

LRESULT AddComboString(HWND combo, std::wstring_view text) {
  if (IsWinNT()) {
    const std::wstring w(text);
    return WIDE(SendMessageW)(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(w.c_str()));
  }
  const std::string a = Narrow(text);
  return SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(a.c_str()));
}

LRESULT AddTool(HWND tip, TTTOOLINFOW tool, std::wstring_view text) {
  if (IsWinNT()) {
    std::wstring w(text);  // the tooltip keeps its own copy
    tool.lpszText = w.data();
    return WIDE(SendMessageW)(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  std::string a = Narrow(text);
  TTTOOLINFOA record = NarrowTool(tool, a);
  return SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&record));
}

LRESULT UpdateTipText(HWND tip, TTTOOLINFOW tool, std::wstring_view text) {
  if (IsWinNT()) {
    std::wstring w(text);
    tool.lpszText = w.data();
    return WIDE(SendMessageW)(tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  std::string a = Narrow(text);
  TTTOOLINFOA record = NarrowTool(tool, a);
  return SendMessageA(tip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&record));
}

LRESULT NewToolRect(HWND tip, const TTTOOLINFOW& tool) {
  if (IsWinNT())
    return WIDE(SendMessageW)(tip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
  std::string none;
  TTTOOLINFOA record = NarrowTool(tool, none);
  record.lpszText = nullptr;
  return SendMessageA(tip, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&record));
}

bool EnumTool(HWND tip, UINT index, TTTOOLINFOW& tool) {
  // Room for whatever text the tool holds; the caller does not want it.
  if (IsWinNT()) {
    std::wstring room(INFOTIPSIZE, L'\0');
    tool.lpszText = room.data();
    const bool got =
        WIDE(SendMessageW)(tip, TTM_ENUMTOOLSW, index, reinterpret_cast<LPARAM>(&tool)) != 0;
    tool.lpszText = nullptr;
    return got;
  }
  std::string room(INFOTIPSIZE, '\0');
  TTTOOLINFOA record = NarrowTool(tool, room);
  const bool got = SendMessageA(tip, TTM_ENUMTOOLSA, index, reinterpret_cast<LPARAM>(&record)) != 0;
  std::memcpy(&tool, &record, sizeof tool);
  tool.lpszText = nullptr;
  return got;
}

// ---- files, the process and the console ----------------------------------

HANDLE OpenFileHandle(std::wstring_view path, DWORD access, DWORD share, DWORD disposition,
                      DWORD flags) {
  if (IsWinNT())
    return WIDE(CreateFileW)(std::wstring(path).c_str(), access, share, nullptr, disposition, flags,
                             nullptr);
  constexpr DWORD kOpenNoRecall = 0x00100000;  // FILE_FLAG_OPEN_NO_RECALL
  return CreateFileA(Narrow(path).c_str(), access, share & ~DWORD{FILE_SHARE_DELETE}, nullptr,
                     disposition, flags & ~kOpenNoRecall, nullptr);
}

BOOL RemoveFile(std::wstring_view path) {
  if (IsWinNT()) return WIDE(DeleteFileW)(std::wstring(path).c_str());
  return DeleteFileA(Narrow(path).c_str());
}

BOOL MoveFileReplacing(std::wstring_view from, std::wstring_view target) {
  if (IsWinNT())
    return WIDE(MoveFileExW)(std::wstring(from).c_str(), std::wstring(target).c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  // The 95 family has no MoveFileEx: the old file goes aside, the new one
  // takes its name, and the old one is deleted only then.
  const std::string source = Narrow(from), dest = Narrow(target);
  if (GetFileAttributesA(dest.c_str()) == INVALID_FILE_ATTRIBUTES)
    return MoveFileA(source.c_str(), dest.c_str());
  const std::string aside = dest + ".tavlin-old";
  DeleteFileA(aside.c_str());
  if (!MoveFileA(dest.c_str(), aside.c_str())) return FALSE;
  if (MoveFileA(source.c_str(), dest.c_str())) {
    DeleteFileA(aside.c_str());
    return TRUE;
  }
  const DWORD error = GetLastError();
  MoveFileA(aside.c_str(), dest.c_str());
  SetLastError(error);
  return FALSE;
}

BOOL FileAttributes(std::wstring_view path, WIN32_FILE_ATTRIBUTE_DATA& data) {
  if (IsWinNT())
    return WIDE(GetFileAttributesExW)(std::wstring(path).c_str(), GetFileExInfoStandard, &data);
  return GetFileAttributesExA(Narrow(path).c_str(), GetFileExInfoStandard, &data);
}

std::wstring FullPath(std::wstring_view path) {
  if (IsWinNT()) {
    const std::wstring p(path);
    return GrowingText<wchar_t>(
        [&](wchar_t* b, DWORD n) { return WIDE(GetFullPathNameW)(p.c_str(), n, b, nullptr); });
  }
  const std::string p = Narrow(path);
  return Widen(GrowingText<char>(
      [&](char* b, DWORD n) { return GetFullPathNameA(p.c_str(), n, b, nullptr); }));
}

UINT DriveType(std::wstring_view root) {
  if (IsWinNT()) return WIDE(GetDriveTypeW)(std::wstring(root).c_str());
  return GetDriveTypeA(Narrow(root).c_str());
}

std::wstring ModuleFileName(HMODULE module) {
  // The call cuts a long name short and returns the buffer's size: grown then.
  const auto call = [](auto get) {
    return [get](auto* b, DWORD n) {
      const DWORD got = get(b, n);
      return got >= n ? n : got;
    };
  };
  if (IsWinNT())
    return GrowingText<wchar_t>(
        call([module](wchar_t* b, DWORD n) { return WIDE(GetModuleFileNameW)(module, b, n); }));
  return Widen(GrowingText<char>(
      call([module](char* b, DWORD n) { return GetModuleFileNameA(module, b, n); })));
}

std::wstring SystemDirectory() {
  if (IsWinNT())
    return GrowingText<wchar_t>(
        [](wchar_t* b, DWORD n) { return WIDE(GetSystemDirectoryW)(b, n); });
  return Widen(GrowingText<char>([](char* b, DWORD n) { return GetSystemDirectoryA(b, n); }));
}

HMODULE LoadLibraryFrom(std::wstring_view path, DWORD flags) {
  if (IsWinNT()) return WIDE(LoadLibraryExW)(std::wstring(path).c_str(), nullptr, flags);
  return LoadLibraryExA(Narrow(path).c_str(), nullptr, flags);
}

std::wstring ErrorText(DWORD code) {
  // The system allocates the text, whatever its length.
  constexpr DWORD kFlags =
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
  std::wstring text;
  if (IsWinNT()) {
    wchar_t* buffer = nullptr;
    const DWORD n = WIDE(FormatMessageW)(kFlags, nullptr, code, 0,
                                         reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    const UniqueLocal owner(buffer);
    if (n > 0 && buffer) text.assign(buffer, n);
  } else {
    char* buffer = nullptr;
    const DWORD n =
        FormatMessageA(kFlags, nullptr, code, 0, reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
    const UniqueLocal owner(buffer);
    if (n > 0 && buffer) text = Widen({buffer, n});
  }
  // The system ends its sentence with a full stop and a line end.
  while (!text.empty() && (text.back() == L' ' || text.back() == L'.' || text.back() == L'\r' ||
                           text.back() == L'\n'))
    text.pop_back();
  return text;
}

BOOL WriteToConsole(HANDLE console, std::wstring_view text) {
  DWORD done = 0;
  if (IsWinNT())
    return WIDE(WriteConsoleW)(console, text.data(), static_cast<DWORD>(text.size()), &done,
                               nullptr);
  // The console shows its own code page.
  const std::string bytes = Narrow(text, GetConsoleOutputCP());
  if (bytes.empty() && !text.empty()) return FALSE;
  return WriteConsoleA(console, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
}

std::wstring CommandLine() {
  if (IsWinNT()) {
    const wchar_t* line = WIDE(GetCommandLineW)();
    return line ? std::wstring(line) : std::wstring();
  }
  const char* line = GetCommandLineA();
  return line ? Widen(line) : std::wstring();
}

// ---- the registry ---------------------------------------------------------

LONG OpenKey(HKEY root, std::wstring_view path, REGSAM access, HKEY& key) {
  if (IsWinNT()) return WIDE(RegOpenKeyExW)(root, std::wstring(path).c_str(), 0, access, &key);
  return RegOpenKeyExA(root, Narrow(path).c_str(), 0, access, &key);
}

LONG CreateKey(HKEY root, std::wstring_view path, REGSAM access, HKEY& key) {
  if (IsWinNT())
    return WIDE(RegCreateKeyExW)(root, std::wstring(path).c_str(), 0, nullptr,
                                 REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr);
  return RegCreateKeyExA(root, Narrow(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                         nullptr, &key, nullptr);
}

LONG QueryValue(HKEY key, std::wstring_view name, DWORD* type, BYTE* data, DWORD* size) {
  if (IsWinNT())
    return WIDE(RegQueryValueExW)(key, std::wstring(name).c_str(), nullptr, type, data, size);
  const std::string n = Narrow(name);
  DWORD t = 0, s = 0;
  LONG rc = RegQueryValueExA(key, n.c_str(), nullptr, &t, nullptr, &s);
  if (rc != ERROR_SUCCESS) return rc;
  if (!IsTextType(t)) return RegQueryValueExA(key, n.c_str(), nullptr, type, data, size);
  // A text in the code page: read whole, then handed out as UTF-16, so that
  // sizes are those of the UTF-16 text.
  std::string bytes;
  for (int tries = 0;; ++tries) {
    bytes.assign(s, '\0');
    DWORD got = s;
    rc = RegQueryValueExA(key, n.c_str(), nullptr, &t, reinterpret_cast<BYTE*>(bytes.data()), &got);
    if (rc == ERROR_MORE_DATA && tries < 4) {
      s = got;
      continue;
    }
    if (rc != ERROR_SUCCESS) return rc;
    bytes.resize(std::min(got, s));
    break;
  }
  if (!IsTextType(t)) return RegQueryValueExA(key, n.c_str(), nullptr, type, data, size);
  const std::wstring text = Widen(bytes);
  const DWORD need = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  if (type) *type = t;
  if (!size) return data ? ERROR_INVALID_PARAMETER : ERROR_SUCCESS;
  if (data && *size < need) {
    *size = need;
    return ERROR_MORE_DATA;
  }
  if (data) std::memcpy(data, text.data(), need);
  *size = need;
  return ERROR_SUCCESS;
}

LONG SetValue(HKEY key, std::wstring_view name, DWORD type, const BYTE* data, DWORD size) {
  if (IsWinNT()) return WIDE(RegSetValueExW)(key, std::wstring(name).c_str(), 0, type, data, size);
  const std::string n = Narrow(name);
  if (!IsTextType(type)) return RegSetValueExA(key, n.c_str(), 0, type, data, size);
  std::wstring text(size / sizeof(wchar_t), L'\0');
  if (!text.empty()) std::memcpy(text.data(), data, text.size() * sizeof(wchar_t));
  if (const LONG refused = TextValueRefusal(type, text)) return refused;
  const std::string bytes = Narrow(text);
  return RegSetValueExA(key, n.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.c_str()),
                        static_cast<DWORD>(bytes.size()));
}

LONG TextValueRefusal(DWORD type, std::wstring_view text) {
  if (IsWinNT()) return ERROR_SUCCESS;
  // The 95 family stores a REG_SZ up to its first NUL, whatever the size given.
  if (type == REG_SZ &&
      text.substr(0, text.find_last_not_of(L'\0') + 1).find(L'\0') != std::wstring_view::npos)
    return ERROR_INVALID_DATA;
  return CodePageHolds(text) ? ERROR_SUCCESS : ERROR_NO_UNICODE_TRANSLATION;
}

LONG DeleteValue(HKEY key, std::wstring_view name) {
  if (IsWinNT()) return WIDE(RegDeleteValueW)(key, std::wstring(name).c_str());
  return RegDeleteValueA(key, Narrow(name).c_str());
}

// ---- version resources ------------------------------------------------------

std::vector<std::byte> FileVersionInfo(std::wstring_view path) {
  DWORD ignored = 0;
  std::vector<std::byte> block;
  if (IsWinNT()) {
    const std::wstring p(path);
    const DWORD size = WIDE(GetFileVersionInfoSizeW)(p.c_str(), &ignored);
    block.resize(size);
    if (size == 0 || !WIDE(GetFileVersionInfoW)(p.c_str(), 0, size, block.data())) block.clear();
    return block;
  }
  std::string p = Narrow(path);
  const DWORD size = GetFileVersionInfoSizeA(p.data(), &ignored);
  block.resize(size);
  if (size == 0 || !GetFileVersionInfoA(p.data(), 0, size, block.data())) block.clear();
  return block;
}

const VS_FIXEDFILEINFO* FixedFileInfo(const std::vector<std::byte>& block) {
  if (block.empty()) return nullptr;
  void* info = nullptr;
  UINT length = 0;
  // The block is the one the same family's call made.
  const BOOL found = IsWinNT() ? WIDE(VerQueryValueW)(block.data(), L"\\", &info, &length)
                               : VerQueryValueA(const_cast<std::byte*>(block.data()),
                                                const_cast<char*>("\\"), &info, &length);
  if (!found || !info || length < sizeof(VS_FIXEDFILEINFO)) return nullptr;
  return static_cast<const VS_FIXEDFILEINFO*>(info);
}

// ---- accessibility ------------------------------------------------------------

BSTR NewBstr(std::wstring_view text) {
  // Loaded when a screen reader first asks (the accessibility library needs
  // it too), and kept for the run.
  static const auto allocate = TAVLIN_LOOKUP(LoadSystemLibrary(L"oleaut32.dll"), SysAllocStringLen);
  return allocate ? allocate(text.data(), static_cast<UINT>(text.size())) : nullptr;
}

}  // namespace tavlin::win
