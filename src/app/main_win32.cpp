// Program entry: the common controls, the window, frmMain and its ports, and
// a dialog-style message loop so that Tab, Shift+Tab, Escape and F1 work. A switch
// on the command line (/export, /import, /?) runs without the window instead.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <new>
#include <string>

#include "app/command_line.h"
#include "app/command_mode_win32.h"
#include "app/frmMain.h"
#include "app/window_win32.h"
#include "common/text_boundary_win32.h"
#include "settings/registry_win32.h"
#include "settings/version_win32.h"
#include "shell/file_probe_win32.h"
#include "shell/shell_win32.h"
#include "tooltip/tooltip_win32.h"

// The 8-bit entry point, which every system starts: the command line is read
// whole from the text boundary, in UTF-16 on NT.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  const std::wstring commandLine = tavlin::win::CommandLine();
  if (const auto command = tavlin::app::ParseCommandLine(tavlin::app::ArgumentsOf(commandLine));
      command.mode != tavlin::app::RunMode::Window)
    return tavlin::app::RunCommandMode(command);

  // The standard classes are the version 6 controls' own (XP and later); an
  // older library may refuse a request that names them.
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  if (!InitCommonControlsEx(&icc)) {
    icc.dwICC = ICC_WIN95_CLASSES;
    InitCommonControlsEx(&icc);
  }

  tavlin::app::MainWindow window(instance);
  if (!window.Create()) return 1;

  tavlin::settings::Win32Registry registry;
  tavlin::settings::Win32Version version;
  tavlin::tooltip::Win32Tooltips tips(window.hwnd(),
                                      [&window](tavlin::Ctl c) { return window.Control(c); });
  tavlin::shell::Win32Shell shell([&window] { return window.GlobalReference(); });
  tavlin::shell::Win32FileProbe files;
  // The window object outlives the message loop: a close can arrive while a
  // picker's own loop is running inside one of its handlers.
  tavlin::app::frmMain form({window, registry, version, tips, shell, files});
  window.Attach(&form);
  form.Form_Load();

  ShowWindow(window.hwnd(), show);
  UpdateWindow(window.hwnd());

  MSG msg;
  while (tavlin::win::WaitForMessage(msg) > 0) {
    const HWND main = window.hwnd();
    if (!window.PreTranslate(msg) && !(main && tavlin::win::HandleDialogKey(main, msg))) {
      TranslateMessage(&msg);
      tavlin::win::Dispatch(msg);
    }
    window.AfterMessage();
  }
  window.Attach(nullptr);
  return static_cast<int>(msg.wParam);
}

// The C++ library's default terminate handler prints the demangled name of an
// uncaught exception's type; that drags some 45 KB of demangler into a program
// that has no console to print to. Ending at once is all that is needed.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
  std::abort();
}
}  // namespace __gnu_cxx

// The library's operator new reports failure with an exception; its code
// brings the whole exception machinery, and with it a threads library that
// older systems cannot load. Running out of memory ends the program here, as
// the uncaught exception would.
void* operator new(std::size_t size) {
  if (void* p = std::malloc(size ? size : 1)) return p;
  std::abort();
}
void* operator new[](std::size_t size) {
  return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return std::malloc(size ? size : 1);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
  std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
  std::free(p);
}

// The library's containers report a length or index out of range through these
// helpers, which build a std::logic_error from a message; the error classes
// bring the library's whole narrow string implementation with them (some 80 KB
// on x86). This program catches no exception, so such an error would end it
// through the terminate handler above anyway: ending here is the same, sooner.
// Every helper of the set is defined, so that the library's own never links.
namespace std {
#define TAVLIN_ENDS_HERE(name, ...) \
  void name(__VA_ARGS__) {          \
    std::abort();                   \
  }
TAVLIN_ENDS_HERE(__throw_bad_exception)
TAVLIN_ENDS_HERE(__throw_bad_alloc)
TAVLIN_ENDS_HERE(__throw_bad_array_new_length)
TAVLIN_ENDS_HERE(__throw_bad_cast)
TAVLIN_ENDS_HERE(__throw_bad_typeid)
TAVLIN_ENDS_HERE(__throw_bad_function_call)
TAVLIN_ENDS_HERE(__throw_logic_error, const char*)
TAVLIN_ENDS_HERE(__throw_domain_error, const char*)
TAVLIN_ENDS_HERE(__throw_invalid_argument, const char*)
TAVLIN_ENDS_HERE(__throw_length_error, const char*)
TAVLIN_ENDS_HERE(__throw_out_of_range, const char*)
TAVLIN_ENDS_HERE(__throw_out_of_range_fmt, const char*, ...)
TAVLIN_ENDS_HERE(__throw_runtime_error, const char*)
TAVLIN_ENDS_HERE(__throw_range_error, const char*)
TAVLIN_ENDS_HERE(__throw_overflow_error, const char*)
TAVLIN_ENDS_HERE(__throw_underflow_error, const char*)
#undef TAVLIN_ENDS_HERE
}  // namespace std
