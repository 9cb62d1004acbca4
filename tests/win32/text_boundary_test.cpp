// The text boundary's own promises, on both families: the system's error texts
// without their final full stop, class atoms and menu names passed through,
// a window's text read through the W calls on NT alone; and the handle owners
// keep the last error.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <utility>

#include "app/accessible_win32.h"
#include "common/entry_points_win32.h"
#include "common/text_boundary_win32.h"
#include "common/win32_handles.h"

namespace tavlin::testing {
namespace {

LRESULT CALLBACK PlainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return win::DefaultWindowProc(hwnd, msg, wp, lp);
}

// The W functions that read a window's text, counted where the boundary
// looks them up.
int g_wideCalls = 0;
int WINAPI CountedTextLength(HWND hwnd) {
  ++g_wideCalls;
  return GetWindowTextLengthW(hwnd);
}
int WINAPI CountedText(HWND hwnd, LPWSTR text, int room) {
  ++g_wideCalls;
  return GetWindowTextW(hwnd, text, room);
}
LRESULT WINAPI CountedDefaultProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  ++g_wideCalls;
  return DefWindowProcW(hwnd, msg, wp, lp);
}
FARPROC WINAPI CountingLookup(HMODULE module, LPCSTR name) {
  const std::pair<const char*, void (*)()> counted[] = {
      {"GetWindowTextLengthW", reinterpret_cast<void (*)()>(&CountedTextLength)},
      {"GetWindowTextW", reinterpret_cast<void (*)()>(&CountedText)},
      {"DefWindowProcW", reinterpret_cast<void (*)()>(&CountedDefaultProc)}};
  for (const auto& [counts, standIn] : counted)
    if (!IS_INTRESOURCE(name) && std::strcmp(name, counts) == 0)
      return reinterpret_cast<FARPROC>(standIn);
  return GetProcAddress(module, name);
}

TEST(TextBoundary, ErrorTextsClassAtomsAndCountedCallsOnBothFamilies) {
  const ProcLookup previous = SetProcLookup(&CountingLookup);
  for (const bool nt : {true, false}) {
    SCOPED_TRACE(nt ? "NT" : "the 95 family");
    win::AnswerAsNt(nt);
    const std::wstring denied = win::ErrorText(ERROR_ACCESS_DENIED);
    ASSERT_FALSE(denied.empty());
    EXPECT_EQ(std::wstring(L".\r\n ").find(denied.back()), std::wstring::npos)
        << std::string(denied.begin(), denied.end());
    EXPECT_EQ(win::ErrorText(0x2000FFFF), L"") << "a code the system has no words for";

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &PlainProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TavlinBoundaryTest";
    wc.lpszMenuName = L"NoSuchMenu";
    const ATOM atom = win::RegisterWindowClass(wc);
    ASSERT_NE(atom, 0);
    WNDCLASSEXA kept{};
    kept.cbSize = sizeof kept;
    ASSERT_TRUE(GetClassInfoExA(wc.hInstance, "TavlinBoundaryTest", &kept));
    EXPECT_STREQ(kept.lpszMenuName, "NoSuchMenu");
    const HWND made = win::MakeWindow(0, MAKEINTATOM(atom), L"made by its atom", WS_POPUP, 0, 0, 10,
                                      10, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_TRUE(made);
    g_wideCalls = 0;
    EXPECT_EQ(win::WindowText(made), L"made by its atom");
    // Two calls read the text, and the window's procedure answers each with
    // one more; none of them on 98.
    EXPECT_EQ(g_wideCalls, nt ? 4 : 0);
    DestroyWindow(made);
    EXPECT_TRUE(win::UnregisterWindowClass(L"TavlinBoundaryTest", wc.hInstance));
  }
  win::AnswerAsNt(std::nullopt);
  SetProcLookup(previous);
}

TEST(TextBoundary, OwnersKeepTheLastErrorAndNothingIsMadeForAnotherObject) {
  {
    // Closing this one fails, and says so in the last error, which must not reach us.
    const UniqueHandle stale(reinterpret_cast<HANDLE>(0x7FF0));
    SetLastError(ERROR_FILE_NOT_FOUND);
  }
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

  const HWND box =
      CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  LRESULT answer = 0;
  EXPECT_FALSE(app::AnswerAccessibleObject(box, 0, static_cast<LPARAM>(OBJID_WINDOW),
                                           {L"Name", L"Help", app::AccessibleKind::Standard, L""},
                                           answer));
  EXPECT_FALSE(app::AnswerAccessibleObject(box, 0, static_cast<LPARAM>(OBJID_CLIENT), {}, answer))
      << "nothing to replace";
  DestroyWindow(box);
}

}  // namespace
}  // namespace tavlin::testing
