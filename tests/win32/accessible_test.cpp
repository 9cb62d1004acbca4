// The object a screen reader gets for a link: one COM identity whichever of
// its interfaces is asked, the same texts through IDispatch as through
// IAccessible, and a default action that clicks the link.
#include <gtest/gtest.h>

#include <windows.h>
#include <oleacc.h>

#include <string>

#include "app/accessible_win32.h"

namespace tavlin::testing {
namespace {

constexpr IID kIAccessible = {
    0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

UINT g_commands = 0;
LPARAM g_from = 0;
LRESULT CALLBACK CountCommands(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND && HIWORD(wp) == STN_CLICKED) {
    ++g_commands;
    g_from = lp;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

std::wstring Take(BSTR text) {
  std::wstring taken = text ? std::wstring(text, SysStringLen(text)) : L"<none>";
  SysFreeString(text);
  return taken;
}

TEST(AccessibleLink, OneIdentityTheSameTextsThroughInvokeAndAClickAsItsAction) {
  ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  WNDCLASSW wc{};
  wc.lpfnWndProc = &CountCommands;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TavlinLinkParent";
  RegisterClassW(&wc);
  const HWND parent = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 200, 50, nullptr,
                                      nullptr, wc.hInstance, nullptr);
  const HWND link = CreateWindowExW(0, L"STATIC", L" Get it ", WS_CHILD | SS_NOTIFY, 0, 0, 100, 20,
                                    parent, reinterpret_cast<HMENU>(177), wc.hInstance, nullptr);
  ASSERT_TRUE(link);
  LRESULT answer = 0;
  ASSERT_TRUE(app::AnswerAccessibleObject(
      link, 0, static_cast<LPARAM>(OBJID_CLIENT),
      {L"Get it", L"", app::AccessibleKind::Link, L"http://www.korvanti.example/"}, answer));
  IAccessible* object = nullptr;
  ASSERT_TRUE(
      SUCCEEDED(ObjectFromLresult(answer, kIAccessible, 0, reinterpret_cast<void**>(&object))));

  // One identity: IUnknown from IAccessible and from IOleWindow is one pointer.
  IOleWindow* window = nullptr;
  IUnknown *viaAccessible = nullptr, *viaWindow = nullptr;
  ASSERT_TRUE(SUCCEEDED(object->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(&window))));
  object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&viaAccessible));
  window->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&viaWindow));
  EXPECT_EQ(viaAccessible, viaWindow);
  HWND behind = nullptr;
  EXPECT_TRUE(SUCCEEDED(window->GetWindow(&behind)));
  EXPECT_EQ(behind, link);
  IUnknown* enumerator = nullptr;
  EXPECT_EQ(object->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(&enumerator)),
            E_NOINTERFACE)
      << "nothing of the standard object's own escapes";

  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr, value = nullptr;
  VARIANT role{};
  object->get_accName(self, &name);
  object->get_accValue(self, &value);
  object->get_accRole(self, &role);
  EXPECT_EQ(Take(name), L"Get it");
  EXPECT_EQ(Take(value), L"http://www.korvanti.example/");
  EXPECT_EQ(role.lVal, ROLE_SYSTEM_LINK);
  // Invoke, with and without the child argument, answers the same.
  for (const UINT args : {0u, 1u}) {
    DISPPARAMS params{&self, nullptr, args, 0};
    VARIANT result{};
    EXPECT_TRUE(SUCCEEDED(object->Invoke(DISPID_ACC_NAME, IID_NULL, 0, DISPATCH_PROPERTYGET,
                                         &params, &result, nullptr, nullptr)));
    ASSERT_EQ(result.vt, VT_BSTR);
    EXPECT_EQ(Take(result.bstrVal), L"Get it");
  }

  EXPECT_TRUE(SUCCEEDED(object->accDoDefaultAction(self)));
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  EXPECT_EQ(g_commands, 1u);
  EXPECT_EQ(g_from, reinterpret_cast<LPARAM>(link));

  for (IUnknown* u :
       {static_cast<IUnknown*>(window), viaAccessible, viaWindow, static_cast<IUnknown*>(object)})
    u->Release();
  DestroyWindow(parent);
  CoUninitialize();
}

}  // namespace
}  // namespace tavlin::testing
