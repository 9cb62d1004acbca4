// What a screen reader reads of the window, asked from another process the way
// one asks: each box named by its label, each "..." button by what it fills,
// and the balloon's text, warnings included, as the description.
#include <gtest/gtest.h>

#include <windows.h>
#include <oleacc.h>

#include <optional>
#include <string>

#include "app/layout.h"
#include "settings/catalogue.h"
#include "support/driver_win32.h"
#include "support/tip_texts.h"

namespace tavlin::testing {
namespace {

// Spelled out: MinGW's import library carries a wrong IID_IAccessible.
constexpr IID kIAccessible = {
    0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

struct Heard {
  std::wstring name, description;
  bool operator==(const Heard&) const = default;
  friend void PrintTo(const Heard& h, std::ostream* os) {
    *os << ::testing::PrintToString(h.name) << ", described as "
        << ::testing::PrintToString(h.description);
  }
};

std::wstring Take(BSTR text) {
  std::wstring taken = text ? std::wstring(text, SysStringLen(text)) : L"<none>";
  SysFreeString(text);
  return taken;
}

// The control's own object, as another process gets it, or null.
IAccessible* ObjectOf(HWND control) {
  IAccessible* object = nullptr;
  return SUCCEEDED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT),
                                              kIAccessible, reinterpret_cast<void**>(&object)))
             ? object
             : nullptr;
}

VARIANT Self() {
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  return self;
}

std::optional<Heard> Hear(HWND control) {
  IAccessible* const object = ObjectOf(control);
  if (!object) return std::nullopt;
  const VARIANT self = Self();
  BSTR name = nullptr, description = nullptr;
  object->get_accName(self, &name);
  object->get_accDescription(self, &description);
  object->Release();
  return Heard{Take(name), Take(description)};
}

// A link as a screen reader hears it: its name (asked both ways a client may
// ask), its role and its value.
struct HeardLink {
  std::wstring name, invokedName;
  LONG role = 0;
  std::wstring value;
  bool operator==(const HeardLink&) const = default;
  friend void PrintTo(const HeardLink& h, std::ostream* os) {
    *os << ::testing::PrintToString(h.name) << " / " << ::testing::PrintToString(h.invokedName)
        << ", role " << h.role << ", value " << ::testing::PrintToString(h.value);
  }
};

std::optional<HeardLink> HearLink(HWND control) {
  IAccessible* const object = ObjectOf(control);
  if (!object) return std::nullopt;
  const VARIANT self = Self();
  BSTR name = nullptr, value = nullptr;
  VARIANT role{}, invoked{};
  object->get_accName(self, &name);
  object->get_accRole(self, &role);
  object->get_accValue(self, &value);
  DISPPARAMS none{};
  object->Invoke(DISPID_ACC_NAME, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &invoked, nullptr,
                 nullptr);
  object->Release();
  return HeardLink{Take(name), Take(invoked.vt == VT_BSTR ? invoked.bstrVal : nullptr), role.lVal,
                   Take(value)};
}

std::wstring OneLine(std::wstring text) {
  for (auto at = text.find(L"\r\n"); at != std::wstring::npos; at = text.find(L"\r\n", at))
    text.replace(at, 2, L" ");
  return text;
}

TEST(ScreenReader, HearsEveryBoxByItsLabelEachButtonByItsJobAndTheBalloonAfter) {
  RegPutRaw(std::wstring(settings::kToolbarKey), L"SmallBitmap", REG_SZ,
            Utf16Bytes(L"C:\\no such picture.bmp", true));
  ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  {
    TavlinProcess tavlin;
    ASSERT_TRUE(tavlin.Started());
    ASSERT_EQ(AllTooltips(tavlin).size(), 17u);
    std::map<Ctl, std::wstring> tips =
        CatalogueWith({{Ctl::txtSmStat, L"Picture file: not found"}});
    const auto heard = [&](Ctl c, std::wstring_view name) {
      return Heard{std::wstring(name), tips.count(c) ? OneLine(tips[c]) : L"<none>"};
    };
    const std::pair<Ctl, std::wstring_view> rows[] = {
        {Ctl::txtWinTitle, L"Window Title"},
        {Ctl::txtStart, L"Start Page"},
        {Ctl::cboFullScreen, L"Full Screen Startup"},
        {Ctl::txtSkin, L"Toolbar Skin"},
        {Ctl::txtSmStat, L"Small Static logo"},
        {Ctl::txtSmBmp, L"Small Spinning logo"},
        {Ctl::txtLgStat, L"Large Static Logo"},
        {Ctl::txtLgBmp, L"Large Spinning Logo"},
        {Ctl::txtDownload, L"Save Download Files"},
        {Ctl::txtSaveDir, L"Save Web Pages"},
        {Ctl::cmdBmp_0, L"Toolbar Skin: choose a bitmap"},
        {Ctl::cmdBmp_3, L"Small Static logo: choose a bitmap"},
        {Ctl::cmdBmp_1, L"Small Spinning logo: choose a bitmap"},
        {Ctl::cmdBmp_4, L"Large Static Logo: choose a bitmap"},
        {Ctl::cmdBmp_2, L"Large Spinning Logo: choose a bitmap"},
        {Ctl::cmbdir_0, L"Save Download Files: choose a folder"},
        {Ctl::cmbdir_1, L"Save Web Pages: choose a folder"},
        // Named by its caption, described by its balloon.
        {Ctl::cmdReset, L"Reset Pictures & Logos to their Default"},
    };
    for (const auto& [control, name] : rows)
      EXPECT_EQ(Hear(tavlin.Control(control)), heard(control, name))
          << std::wstring(app::RowOf(control).name);
    // The drop-down's edit part, where its focus is, says the same.
    EXPECT_EQ(Hear(GetWindow(tavlin.Control(Ctl::cboFullScreen), GW_CHILD)),
              heard(Ctl::cboFullScreen, L"Full Screen Startup"));
    EXPECT_EQ(Hear(tavlin.Control(Ctl::txtVer)), heard(Ctl::txtVer, L"Internet Explorer version"));

    // The links, on both panels: a link's text names it, a picture link the
    // page it opens, and its address is its value.
    tavlin.ClickLabel(Ctl::Label13);
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(tavlin.Control(Ctl::frmMenu_1)); }));
    const std::wstring host = L"www.korvanti.example";
    const auto link = [](std::wstring_view name, LONG role, std::wstring value) {
      return HeardLink{std::wstring(name), std::wstring(name), role, std::move(value)};
    };
    const std::pair<Ctl, HeardLink> links[] = {
        {Ctl::lblProducts_2,
         link(L"Stowfast: quick, simple backups of the files that matter to you", ROLE_SYSTEM_LINK,
              L"http://" + host + L"/stowfast/")},
        {Ctl::lblCompany, link(L"Korvanti Technology", ROLE_SYSTEM_LINK, host + L"/products.htm")},
        {Ctl::Label13, link(L"About Tavlin", ROLE_SYSTEM_PUSHBUTTON, L"<none>")},
        {Ctl::lblOrv_2, link(L"Program update and support", ROLE_SYSTEM_LINK,
                             L"http://" + host + L"/freeware/index.htm")},
        {Ctl::imgLogo, link(L"Korvanti Technology home page", ROLE_SYSTEM_LINK, host)},
    };
    for (const auto& [control, expected] : links)
      EXPECT_EQ(HearLink(tavlin.Control(control)), expected)
          << std::wstring(app::RowOf(control).name);
    EXPECT_TRUE(tavlin.Close().has_value());
  }
  CoUninitialize();
  RegDeleteRaw(std::wstring(settings::kToolbarKey), L"SmallBitmap");
}

}  // namespace
}  // namespace tavlin::testing
