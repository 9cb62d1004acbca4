#include "support/driver_win32.h"

#include <commctrl.h>

#include <cstdio>

#include "app/layout.h"
#include "common/text_boundary_win32.h"
#include "common/win32_handles.h"

namespace tavlin::testing {

std::wstring ProgramFolder() {
  std::wstring path(4096, L'\0');
  const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(n);
  return path.substr(0, path.find_last_of(L'\\') + 1);
}

namespace {

constexpr wchar_t kBrowserKey[] = L"Software\\Wine\\WineBrowser";

std::wstring UrlLog() {
  return ProgramFolder() + L"opened-urls.txt";
}

}  // namespace

UrlRecorder::UrlRecorder() {
  DeleteFileW(UrlLog().c_str());
  // Wine's launcher runs a Unix program: the script's path as Unix sees it.
  using UnixName = char*(CDECL*)(const wchar_t*);
  const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  char* script = unixName ? unixName((ProgramFolder() + L"record-url.sh").c_str()) : nullptr;
  if (!script) return;
  const std::string path(script);
  HeapFree(GetProcessHeap(), 0, script);
  const std::wstring browsers(path.begin(), path.end());
  RegSetKeyValueW(HKEY_CURRENT_USER, kBrowserKey, L"Browsers", REG_SZ, browsers.c_str(),
                  static_cast<DWORD>((browsers.size() + 1) * sizeof(wchar_t)));
}

UrlRecorder::~UrlRecorder() {
  RegDeleteKeyValueW(HKEY_CURRENT_USER, kBrowserKey, L"Browsers");
  DeleteFileW(UrlLog().c_str());
}

std::vector<std::wstring> UrlRecorder::Opened() const {
  std::vector<std::wstring> urls;
  const HANDLE file = CreateFileW(UrlLog().c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return urls;
  std::string bytes(65536, '\0');
  DWORD got = 0;
  ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  CloseHandle(file);
  bytes.resize(got);
  for (std::size_t at = 0, end; (end = bytes.find('\n', at)) != std::string::npos; at = end + 1)
    urls.emplace_back(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                      bytes.begin() + static_cast<std::ptrdiff_t>(end));
  return urls;
}

bool TavlinOnWindows98() {
  wchar_t told[16] = {};
  return GetEnvironmentVariableW(L"TAVLIN_WINDOWS", told, 16) > 0 && std::wstring(told) == L"win98";
}

std::wstring TextFor98(std::wstring_view text, std::wstring_view on98) {
  return std::wstring(TavlinOnWindows98() ? on98 : text);
}

std::wstring AsTavlinShows(std::wstring_view text) {
  return TavlinOnWindows98() ? win::Widen(win::Narrow(text)) : std::wstring(text);
}

DWORD RunAndWait(const std::wstring& commandLine) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::wstring cmd = commandLine;
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      nullptr, &si, &pi))
    return static_cast<DWORD>(-1);
  WaitForSingleObject(pi.hProcess, 60000);
  DWORD code = static_cast<DWORD>(-1);
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return code;
}

namespace {
struct FindTop {
  DWORD pid;
  HWND found;
};
BOOL CALLBACK FindTopProc(HWND h, LPARAM lp) {
  auto* f = reinterpret_cast<FindTop*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  wchar_t cls[64] = {};
  GetClassNameW(h, cls, 64);
  if (pid == f->pid && std::wstring(cls) == L"TavlinMain") {
    f->found = h;
    return FALSE;
  }
  return TRUE;
}
struct FindChild {
  int id;
  HWND found;
};
BOOL CALLBACK FindChildProc(HWND h, LPARAM lp) {
  auto* f = reinterpret_cast<FindChild*>(lp);
  if (GetDlgCtrlID(h) == f->id) {
    f->found = h;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

TavlinProcess::TavlinProcess() {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  std::wstring cmd = L"\"" + ProgramFolder() + L"tavlin.exe\"";
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                      &pi_)) {
    // Said in the test output, so that a start that failed is told from a window that never came.
    std::fprintf(stderr, "tavlin.exe did not start: CreateProcessW error %lu\n", GetLastError());
    return;
  }
  WaitForInputIdle(pi_.hProcess, 20000);
  WaitFor(
      [&] {
        FindTop f{pi_.dwProcessId, nullptr};
        EnumWindows(&FindTopProc, reinterpret_cast<LPARAM>(&f));
        if (f.found && IsWindowVisible(f.found)) window_ = f.found;
        return window_ != nullptr;
      },
      20000);
  if (!window_) {
    DWORD code = 0;
    GetExitCodeProcess(pi_.hProcess, &code);
    std::fprintf(
        stderr, "tavlin.exe showed no window in 20 s (exit code %lu, 259 = still running)\n", code);
  }
}

TavlinProcess::~TavlinProcess() {
  if (pi_.hProcess) {
    if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) {
      Close();
      if (WaitForSingleObject(pi_.hProcess, 5000) == WAIT_TIMEOUT)
        TerminateProcess(pi_.hProcess, 9);
    }
    CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
  }
}

HWND TavlinProcess::Control(Ctl c) const {
  FindChild f{app::ControlIdOf(c), nullptr};
  if (window_) EnumChildWindows(window_, &FindChildProc, reinterpret_cast<LPARAM>(&f));
  return f.found;
}

std::wstring TavlinProcess::Text(HWND h) const {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(h, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
    return L"<hung>";
  std::wstring text(length + 1, L'\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutW(h, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_ABORTIFHUNG, 5000, &got);
  text.resize(got);
  return text;
}

void TavlinProcess::SetText(Ctl c, const std::wstring& text) const {
  // As typed: WM_SETTEXT marks nothing, so the control's own text changes as it would by hand.
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(Control(c), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                      SMTO_ABORTIFHUNG, 5000, &ignored);
}

void TavlinProcess::Press(Ctl c) const {
  PostMessageW(Control(c), BM_CLICK, 0, 0);
}

void TavlinProcess::ClickLabel(Ctl c) const {
  const HWND h = Control(c);
  PostMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  PostMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

void TavlinProcess::Settle() const {
  // A message sent from another thread is handled inside the target's next
  // message fetch, before the posted message that fetch returns. Each round trip
  // therefore lets at least one more posted message through; our presses and
  // clicks post at most a few.
  for (int i = 0; i < 6; ++i) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &ignored);
  }
}

std::optional<DWORD> TavlinProcess::Close() {
  if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
  if (!WaitForExit(15000)) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(pi_.hProcess, &code);
  return code;
}

bool TavlinProcess::WaitForExit(DWORD ms) {
  return pi_.hProcess && WaitForSingleObject(pi_.hProcess, ms) == WAIT_OBJECT_0;
}

namespace {
// The tooltip windows of one process.
struct TipWalk {
  DWORD pid;
  std::vector<HWND> tips;
};
BOOL CALLBACK CollectTips(HWND h, LPARAM lp) {
  auto* w = reinterpret_cast<TipWalk*>(lp);
  DWORD pid = 0;
  wchar_t cls[64] = {};
  GetWindowThreadProcessId(h, &pid);
  GetClassNameW(h, cls, 64);
  if (pid == w->pid && std::wstring(cls) == TOOLTIPS_CLASSW) w->tips.push_back(h);
  return TRUE;
}
}  // namespace

std::vector<HWND> Tooltips(const TavlinProcess& tavlin) {
  TipWalk walk{tavlin.ProcessId(), {}};
  EnumWindows(&CollectTips, reinterpret_cast<LPARAM>(&walk));
  return walk.tips;
}

std::vector<HWND> AllTooltips(const TavlinProcess& tavlin) {
  std::vector<HWND> tips;
  WaitFor([&] { return (tips = Tooltips(tavlin)).size() >= 17; }, 10000);
  return tips;
}

HWND VisibleTooltip(const TavlinProcess& tavlin) {
  for (const HWND h : Tooltips(tavlin))
    if (IsWindowVisible(h)) return h;
  return nullptr;
}

std::map<Ctl, std::wstring> TipTexts(const TavlinProcess& tavlin) {
  std::map<Ctl, std::wstring> texts;
  const HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE,
                                     FALSE, tavlin.ProcessId());
  if (!process) return texts;
  // A tool record and a text buffer in the program's own memory: the tooltip
  // writes into them when asked, as it would for the program itself.
  constexpr std::size_t kChars = 4096;
  const SIZE_T size = sizeof(TTTOOLINFOW) + kChars * sizeof(wchar_t);
  auto* remote = static_cast<std::byte*>(
      VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  for (const HWND tip : Tooltips(tavlin)) {
    if (!remote) break;
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V1_SIZE;
    tool.lpszText = reinterpret_cast<wchar_t*>(remote + sizeof tool);
    std::wstring text(kChars, L'\0');
    SIZE_T moved = 0;
    DWORD_PTR found = 0;
    if (!WriteProcessMemory(process, remote, &tool, sizeof tool, &moved) ||
        !WriteProcessMemory(process, remote + sizeof tool, text.data(), 2, &moved) ||
        !SendMessageTimeoutW(tip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(remote),
                             SMTO_ABORTIFHUNG, 5000, &found) ||
        !found || !ReadProcessMemory(process, remote, &tool, sizeof tool, &moved) ||
        !ReadProcessMemory(process, remote + sizeof tool, text.data(), kChars * sizeof(wchar_t),
                           &moved))
      continue;
    if (const auto end = text.find(L'\0'); end != std::wstring::npos) text.resize(end);
    const int id = GetDlgCtrlID(tool.hwnd);
    if (app::IsControlId(id)) texts[app::ControlOfId(id)] = text;
  }
  if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return texts;
}

POINT RestPointerAt(const TavlinProcess& tavlin, POINT p) {
  SetCursorPos(p.x, p.y);
  WaitFor([&] { return VisibleTooltip(tavlin) == nullptr; }, 3000);
  INPUT move{};
  move.type = INPUT_MOUSE;
  move.mi.dx = 1;
  move.mi.dwFlags = MOUSEEVENTF_MOVE;
  SendInput(1, &move, sizeof move);
  POINT now{};
  WaitFor([&] { return GetCursorPos(&now) && now.x == p.x + 1 && now.y == p.y; }, 2000);
  return now;
}

POINT RestPointerOn(const TavlinProcess& tavlin, Ctl control) {
  RECT r;
  GetWindowRect(tavlin.Control(control), &r);
  return RestPointerAt(tavlin, control == Ctl::cboFullScreen
                                   ? POINT{r.right - 6, r.top + 8}
                                   : POINT{r.left + 6, (r.top + r.bottom) / 2});
}

HWND ShownBalloon(const TavlinProcess& tavlin, const std::wstring& text) {
  HWND shown = nullptr;
  // A tip shows half a second after the pointer comes to rest; the bound is
  // under the two seconds a hidden balloon blocked the program for while Wine
  // took the tooltip windows for ones a window manager looks after.
  WaitFor(
      [&] {
        for (const HWND tip : Tooltips(tavlin))
          if (IsWindowVisible(tip) && tavlin.Text(tip) == text) shown = tip;
        return shown != nullptr;
      },
      2000);
  return shown;
}

bool ScreenShapesWindowsExactly() {
  static const bool exact = [] {
    // A red window shaped to two columns in the middle of a byte of the mask.
    WNDCLASSW wc{};
    wc.lpfnWndProc = &DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = CreateSolidBrush(RGB(255, 0, 0));
    wc.lpszClassName = L"TavlinShapeProbe";
    RegisterClassW(&wc);
    const POINT at{GetSystemMetrics(SM_CXSCREEN) - 64, GetSystemMetrics(SM_CYSCREEN) - 32};
    const HWND probe =
        CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, wc.lpszClassName, L"", WS_POPUP, at.x,
                        at.y, 32, 8, nullptr, nullptr, wc.hInstance, nullptr);
    SetWindowRgn(probe, CreateRectRgn(9, 0, 11, 8), TRUE);  // the window owns it
    ShowWindow(probe, SW_SHOWNA);
    UpdateWindow(probe);
    bool shaped = false;
    WaitFor(
        [&] {
          const ScreenPixels shown({at.x, at.y, at.x + 32, at.y + 8});
          shaped = shown.At(9, 4) == 0xFF0000 && shown.At(10, 4) == 0xFF0000;
          return shaped;
        },
        1000);
    const ScreenPixels shown({at.x, at.y, at.x + 32, at.y + 8});
    const bool exact = shaped && shown.At(13, 4) != 0xFF0000 && shown.At(8, 4) != 0xFF0000;
    DestroyWindow(probe);
    DeleteObject(wc.hbrBackground);
    return exact;
  }();
  return exact;
}

ScreenPixels::ScreenPixels(const RECT& area) : width_(area.right - area.left) {
  const int height = area.bottom - area.top;
  if (width_ <= 0 || height <= 0) return;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, width_, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  const WindowDC screen(nullptr);
  const UniqueDC shot(CreateCompatibleDC(screen.get()));
  const UniqueBitmap bitmap(CreateDIBSection(shot.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) return;
  {
    const SelectScope select(shot.get(), bitmap.get());
    BitBlt(shot.get(), 0, 0, width_, height, screen.get(), area.left, area.top, SRCCOPY);
    GdiFlush();
  }
  const auto* p = static_cast<const std::uint32_t*>(bits);
  pixels_.assign(p, p + std::size_t(width_) * height);
}

std::uint32_t ScreenPixels::At(int x, int y) const {
  const std::size_t i = std::size_t(y) * width_ + x;
  return x >= 0 && x < width_ && i < pixels_.size() ? pixels_[i] & 0xFFFFFF : 0xFFFFFFFF;
}

void RegEnsureKey(const std::wstring& path) {
  UniqueKey key;
  RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                  key.put(), nullptr);
}

void RegDeleteKeyTree(const std::wstring& path) {
  RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
  RegDeleteKeyW(HKEY_CURRENT_USER, path.c_str());
}

void RegPutRaw(const std::wstring& path, const std::wstring& name, DWORD type, const Bytes& data) {
  RegEnsureKey(path);
  UniqueKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_SET_VALUE, key.put()) != ERROR_SUCCESS)
    return;
  Bytes guarded = data;  // a non-zero guard, so no terminator is added for us
  guarded.append(4, std::byte{'!'});
  RegSetValueExW(key.get(), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(guarded.data()),
                 static_cast<DWORD>(data.size()));
}

std::optional<StoredValue> RegGetRaw(const std::wstring& path, const std::wstring& name) {
  UniqueKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, key.put()) !=
      ERROR_SUCCESS)
    return std::nullopt;
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return std::nullopt;
  StoredValue v{type, Bytes(size, std::byte{0})};
  if (size && RegQueryValueExW(key.get(), name.c_str(), nullptr, &type,
                               reinterpret_cast<BYTE*>(v.data.data()), &size) != ERROR_SUCCESS)
    return std::nullopt;
  v.data.resize(size);
  return v;
}

void RegDeleteRaw(const std::wstring& path, const std::wstring& name) {
  UniqueKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_SET_VALUE, key.put()) == ERROR_SUCCESS)
    RegDeleteValueW(key.get(), name.c_str());
}

}  // namespace tavlin::testing

namespace tavlin::testing {

std::map<std::wstring, StoredValue> RegSnapshot(const std::vector<std::wstring>& keys) {
  std::map<std::wstring, StoredValue> all;
  for (const std::wstring& path : keys) {
    UniqueKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, key.put()) !=
        ERROR_SUCCESS)
      continue;
    for (DWORD i = 0;; ++i) {
      std::wstring name(16384, L'\0');
      DWORD length = static_cast<DWORD>(name.size());
      if (RegEnumValueW(key.get(), i, name.data(), &length, nullptr, nullptr, nullptr, nullptr) !=
          ERROR_SUCCESS)
        break;
      name.resize(length);
      if (auto v = RegGetRaw(path, name)) all[path + L"|" + name] = *v;
    }
  }
  return all;
}

}  // namespace tavlin::testing
