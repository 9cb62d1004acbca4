#include "support/dialogs_win32.h"

#include "support/driver_win32.h"

namespace tavlin::testing {

namespace {

constexpr UINT kTimeout = 5000;

struct DialogSearch {
  DWORD pid;
  HWND except;
  HWND found;
};

BOOL CALLBACK FindDialogProc(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<DialogSearch*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  wchar_t cls[16] = {};
  GetClassNameW(h, cls, 16);
  if (pid == s->pid && h != s->except && IsWindowVisible(h) && std::wstring(cls) == L"#32770") {
    s->found = h;
    return FALSE;
  }
  return TRUE;
}

struct ItemSearch {
  int id;
  HWND found;
};

BOOL CALLBACK FindItemProc(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<ItemSearch*>(lp);
  if (GetDlgCtrlID(h) == s->id) {
    s->found = h;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK FindEditProc(HWND h, LPARAM lp) {
  wchar_t cls[16] = {};
  GetClassNameW(h, cls, 16);
  if (lstrcmpiW(cls, L"Edit") == 0) {
    *reinterpret_cast<HWND*>(lp) = h;
    return FALSE;
  }
  return TRUE;
}

LRESULT Send(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(h, msg, wp, lp, SMTO_ABORTIFHUNG, kTimeout, &result);
  return static_cast<LRESULT>(result);
}

// The edit control that takes a field's text: the field itself, or the edit
// inside a combo box.
HWND EditOf(HWND field) {
  HWND edit = nullptr;
  EnumChildWindows(field, &FindEditProc, reinterpret_cast<LPARAM>(&edit));
  return edit ? edit : field;
}

}  // namespace

HWND WaitForDialog(DWORD processId, DWORD ms, HWND except) {
  DialogSearch s{processId, except, nullptr};
  WaitFor(
      [&] {
        EnumWindows(&FindDialogProc, reinterpret_cast<LPARAM>(&s));
        return s.found != nullptr;
      },
      ms);
  return s.found;
}

HWND DialogItem(HWND dialog, int id) {
  // The dialog's own child first: deeper windows (a list view's header, a
  // toolbar's buttons) may reuse small ids such as IDOK.
  if (const HWND direct = dialog ? GetDlgItem(dialog, id) : nullptr) return direct;
  ItemSearch s{id, nullptr};
  if (dialog) EnumChildWindows(dialog, &FindItemProc, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

bool PressDialogButton(HWND dialog, int id) {
  const HWND button = DialogItem(dialog, id);
  return button && PostMessageW(button, BM_CLICK, 0, 0);
}

bool SetDialogItemText(HWND dialog, int id, const std::wstring& text) {
  const HWND field = DialogItem(dialog, id);
  if (!field) return false;
  return Send(EditOf(field), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) != 0;
}

std::wstring DialogItemText(HWND dialog, int id) {
  const HWND field = DialogItem(dialog, id);
  if (!field) return L"<none>";
  const HWND edit = EditOf(field);
  std::wstring text(static_cast<std::size_t>(Send(edit, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      Send(edit, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

bool SelectComboItem(HWND dialog, int id, int index) {
  const HWND combo = DialogItem(dialog, id);
  if (!combo || Send(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0) != index) return false;
  // CB_SETCURSEL tells nobody; a user's pick sends CBN_SELCHANGE to the parent.
  Send(GetParent(combo), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
       reinterpret_cast<LPARAM>(combo));
  return true;
}

int ComboSelection(HWND dialog, int id) {
  const HWND combo = DialogItem(dialog, id);
  return combo ? static_cast<int>(Send(combo, CB_GETCURSEL, 0, 0)) : -2;
}

bool WaitForDialogGone(HWND dialog, DWORD ms) {
  return WaitFor([&] { return !IsWindow(dialog); }, ms);
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  const DWORD thread = GetWindowThreadProcessId(window, nullptr);
  if (!thread || !GetGUIThreadInfo(thread, &info)) return nullptr;
  return info.hwndFocus;
}

}  // namespace tavlin::testing
