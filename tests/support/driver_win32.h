// Drives a running tavlin.exe from another process, as a user and a screen
// reader would: finds its window and controls, reads their texts, presses
// buttons, and closes it. Also seeds and reads the registry of the test prefix.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/control_id.h"
#include "support/memory_registry.h"

namespace tavlin::testing {

class TavlinProcess {
 public:
  // Starts tavlin.exe (next to the test program) and waits for its window.
  TavlinProcess();
  TavlinProcess(const TavlinProcess&) = delete;
  TavlinProcess& operator=(const TavlinProcess&) = delete;
  ~TavlinProcess();  // closes it if it still runs

  bool Started() const { return window_ != nullptr; }
  HWND Window() const { return window_; }
  DWORD ProcessId() const { return pi_.dwProcessId; }
  HWND Control(Ctl c) const;
  std::wstring Text(HWND h) const;
  std::wstring Text(Ctl c) const { return Text(Control(c)); }
  void SetText(Ctl c, const std::wstring& text) const;
  // Presses a button (posted, so a modal dialog it opens does not block us).
  void Press(Ctl c) const;
  // A mouse click on a label or picture.
  void ClickLabel(Ctl c) const;
  // Waits until the few messages posted so far have been handled.
  void Settle() const;
  // Sends WM_CLOSE and waits for the process to end; its exit code, or nullopt.
  std::optional<DWORD> Close();
  // Waits for the process to end by itself.
  bool WaitForExit(DWORD ms);

 private:
  PROCESS_INFORMATION pi_{};
  HWND window_ = nullptr;
};

// The text of every tip the program's tooltip windows hold now, by the control
// it belongs to; read from inside the program's memory, so no tip need show.
// The tooltip windows of the program's process.
std::vector<HWND> Tooltips(const TavlinProcess& tavlin);
// The program makes its tooltip windows right after its first paint; waits
// (up to a deadline) until all 17 are there.
std::vector<HWND> AllTooltips(const TavlinProcess& tavlin);
// The one showing now, or null.
HWND VisibleTooltip(const TavlinProcess& tavlin);
std::map<Ctl, std::wstring> TipTexts(const TavlinProcess& tavlin);
// Rests the pointer at a point: there, and once an earlier balloon has gone,
// one pixel on, so that the window under it sees it arrive. Where it is then.
POINT RestPointerAt(const TavlinProcess& tavlin, POINT p);
// A few pixels inside the control, at its left (on a list, its drop-down button).
POINT RestPointerOn(const TavlinProcess& tavlin, Ctl control);
// Waits for the visible balloon with this text; its window, or null.
HWND ShownBalloon(const TavlinProcess& tavlin, const std::wstring& text);

// Whether windows on this screen take exactly the shape of their regions. Wine
// 10's shape mask turns a piece of a region that lies within one byte of the
// mask (8 pixels) into the rest of that byte instead: there a balloon's
// pointer shows as a dark wedge. Asked once, with a window of its own.
bool ScreenShapesWindowsExactly();

// What the screen shows in a rectangle now, read back once.
class ScreenPixels {
 public:
  explicit ScreenPixels(const RECT& area);
  // 0xRRGGBB at a point of the rectangle, its left-top corner 0, 0.
  std::uint32_t At(int x, int y) const;

 private:
  int width_;
  std::vector<std::uint32_t> pixels_;
};

// While it lives, the web pages the program opens reach no browser: Wine's
// browser launcher hands each address to record-url.sh beside the test
// program, which notes it.
class UrlRecorder {
 public:
  UrlRecorder();
  UrlRecorder(const UrlRecorder&) = delete;
  UrlRecorder& operator=(const UrlRecorder&) = delete;
  ~UrlRecorder();
  // The addresses opened so far, in order.
  std::vector<std::wstring> Opened() const;
};

// The folder of the running test program, with a trailing backslash.
std::wstring ProgramFolder();

// tavlin.exe is told that it runs on Windows 98 (cmake/windows-version.sh says
// so in TAVLIN_WINDOWS): it keeps text in the system code page, and text that
// the code page lacks cannot be in a registry of that system.
bool TavlinOnWindows98();
// The text, or on Windows 98 the one given for it there.
std::wstring TextFor98(std::wstring_view text, std::wstring_view on98);
// What tavlin.exe shows of a stored text: on Windows 98 as the code page spells it.
std::wstring AsTavlinShows(std::wstring_view text);

// Runs a command line (for example reg.exe) to completion; its exit code.
DWORD RunAndWait(const std::wstring& commandLine);

// Polls `done` every few milliseconds until it holds or `ms` pass.
template <typename F>
bool WaitFor(F done, DWORD ms = 10000) {
  const ULONGLONG end = GetTickCount64() + ms;
  while (!done()) {
    if (GetTickCount64() > end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
  return true;
}

// Raw registry access under HKEY_CURRENT_USER, for seeding and checking.
void RegPutRaw(const std::wstring& path, const std::wstring& name, DWORD type, const Bytes& data);
std::optional<StoredValue> RegGetRaw(const std::wstring& path, const std::wstring& name);
void RegDeleteRaw(const std::wstring& path, const std::wstring& name);
void RegEnsureKey(const std::wstring& path);
// Every value under the given keys, raw, by "key|name".
std::map<std::wstring, StoredValue> RegSnapshot(const std::vector<std::wstring>& keys);
void RegDeleteKeyTree(const std::wstring& path);

}  // namespace tavlin::testing
