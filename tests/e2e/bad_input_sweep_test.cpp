// Every catalogue value seeded with every awkward shape, each through a whole
// session in the real window: start, read, edit, Apply, Reset, a picker
// cancelled, OK. Afterwards the registry differs, byte for byte, only where
// the session meant it to, and the program never crashed.
#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "common/win32_handles.h"
#include "settings/catalogue.h"
#include "settings/modReg_Func.h"
#include "settings/version.h"
#include "settings/version_win32.h"
#include "support/dialogs_win32.h"
#include "support/driver_win32.h"

namespace tavlin::testing {
namespace {

using namespace settings;

struct Shape {
  const char* what;
  DWORD type;
  Bytes data;
};

std::vector<Shape> Shapes() {
  const std::wstring big(32 * 1024, L'\x00E9');  // 32 KB of text past ASCII
  // Windows 98 keeps text in its code page: no character beyond it, and no
  // text of an odd byte count, can be in its registry.
  std::vector<Shape> shapes = {
      {"text", REG_SZ, Utf16Bytes(L"C:\\pics\\a.bmp", true)},
      {"one space", REG_SZ, Utf16Bytes(L" ", true)},
      {"empty text", REG_SZ, Utf16Bytes(L"", true)},
      {"zero bytes", REG_SZ, Bytes()},
      {"no terminator", REG_SZ, Utf16Bytes(L"C:\\x.bmp", false)},
      {"embedded NUL", REG_SZ, Utf16Bytes(std::wstring(L"C:\\a.bmp\0tail", 13), true)},
      {"non-ASCII", REG_SZ,
       Utf16Bytes(TextFor98(L"C:\\Bilder\\Grüße – 日本.bmp", L"C:\\Bilder\\Grüße – Köln.bmp"),
                  true)},
      {"32 KB", REG_SZ, Utf16Bytes(big, true)},
      {"odd byte count", REG_SZ, Bytes{std::byte{'a'}, std::byte{0}, std::byte{'b'}}},
      {"dword", REG_DWORD, DwordBytes(5)},
      {"dword -1", REG_DWORD, DwordBytes(0xFFFFFFFFu)},
      {"short dword", REG_DWORD, Bytes{std::byte{1}, std::byte{2}}},
      {"expand", REG_EXPAND_SZ, Utf16Bytes(L"%WINDIR%\\a.bmp", true)},
      {"binary", REG_BINARY, Bytes{std::byte{0xDE}, std::byte{0xAD}}},
      {"multi", REG_MULTI_SZ, Utf16Bytes(std::wstring(L"a\0b\0", 4), true)},
      {"qword", REG_QWORD, Bytes(8, std::byte{7})},
      {"none", REG_NONE, Bytes()},
  };
  if (TavlinOnWindows98())
    std::erase_if(shapes, [](const Shape& s) { return std::string(s.what) == "odd byte count"; });
  return shapes;
}

using Hive = std::map<std::wstring, StoredValue>;  // "key|name" -> raw value

// Every value under the three browser keys, as raw bytes.
Hive Snapshot() {
  return RegSnapshot(
      {std::wstring(kMainKey), std::wstring(kBrowserKey), std::wstring(kToolbarKey)});
}

std::wstring Slot(std::wstring_view key, std::wstring_view name) {
  return std::wstring(key) + L"|" + std::wstring(name);
}

// What Apply leaves of a value whose box the user did not touch: a number
// becomes its text, a text gains its terminator, an unreadable value stays.
std::optional<StoredValue> AfterUntouchedApply(const StoredValue& v) {
  const auto read = modReg_Func::DecodeRegSz(v.data);
  if (v.type == REG_DWORD && v.data.size() == 4) {
    std::int32_t n = 0;
    std::memcpy(&n, v.data.data(), 4);
    return StoredValue{REG_SZ, modReg_Func::EncodeRegSz(std::to_wstring(n))};
  }
  if (v.type == REG_SZ && read.kind == modReg_Func::ReadKind::Text)
    return StoredValue{REG_SZ, modReg_Func::EncodeRegSz(read.text)};
  return v;
}

void CancelAPicker(TavlinProcess& tavlin, int session) {
  const Ctl button = session % 2 == 0 ? Ctl::cmbdir_1 : Ctl::cmdBmp_3;
  const Ctl box = session % 2 == 0 ? Ctl::txtSaveDir : Ctl::txtSmStat;
  const std::wstring before = tavlin.Text(box);
  tavlin.Press(button);
  const HWND dialog = WaitForDialog(tavlin.ProcessId());
  ASSERT_NE(dialog, nullptr) << "the picker opens";
  PressDialogButton(dialog, IDCANCEL);
  ASSERT_TRUE(WaitForDialogGone(dialog));
  tavlin.Settle();
  EXPECT_EQ(tavlin.Text(box), before) << "a cancelled picker leaves its box";
}

TEST(BadInputSweep, EveryShapeInEverySlotSurvivesAWholeSession) {
  Win32Version version;
  const std::wstring skin(SkinValueNameFor(GetIEVersion(version)));
  const std::wstring otherSkin(skin == kSkinNameIE5 ? kSkinNameOld : kSkinNameIE5);
  // The ten catalogue values and the skin name that is not in use.
  std::vector<std::pair<std::wstring, std::wstring>> slots;
  for (const SettingEntry& e : kSettings)
    slots.emplace_back(std::wstring(e.key), std::wstring(ValueNameOf(e, skin)));
  slots.emplace_back(std::wstring(kToolbarKey), otherSkin);

  const std::vector<Shape> shapes = Shapes();
  // One more session than shapes: the last one runs with the browser's keys missing.
  for (std::size_t session = 0; session <= shapes.size(); ++session) {
    const bool keysMissing = session == shapes.size();
    SCOPED_TRACE("session " + std::to_string(session));
    RegDeleteKeyTree(std::wstring(kBrowserKey));
    if (!keysMissing) {
      for (std::size_t i = 0; i < slots.size(); ++i) {
        const Shape& s = shapes[(i + session) % shapes.size()];
        RegPutRaw(slots[i].first, slots[i].second, s.type, s.data);
      }
    }
    const Hive before = Snapshot();

    TavlinProcess tavlin;
    ASSERT_TRUE(tavlin.Started());
    for (const SettingEntry& e : kSettings) (void)tavlin.Text(e.control);  // read every box
    // Edit: a new title, and the last entry as the mark that Apply has finished.
    tavlin.SetText(Ctl::txtWinTitle, TextFor98(L"Swept ☂", L"Swept ß"));
    tavlin.SetText(Ctl::txtLgStat, L"mark.bmp");
    tavlin.Press(Ctl::cmbGo_0);
    if (!keysMissing) {
      ASSERT_TRUE(WaitFor([] {
        const auto v = RegGetRaw(std::wstring(kToolbarKey), L"BigBitmap");
        return v && v->data == Utf16Bytes(L"mark.bmp", true);
      }));
    }
    tavlin.Press(Ctl::cmdReset);
    ASSERT_TRUE(WaitFor([&] { return tavlin.Text(Ctl::txtLgStat).empty(); })) << "reset reloads";
    CancelAPicker(tavlin, static_cast<int>(session));
    tavlin.Press(Ctl::cmbGo_1);
    ASSERT_TRUE(tavlin.WaitForExit(15000)) << "OK ends the program";
    const auto code = tavlin.Close();
    EXPECT_EQ(code, std::optional<DWORD>(0)) << "a clean exit, no crash";

    // What the session meant: the title, Apply's rewrite of untouched boxes,
    // and Reset's removal of the skin in use and the four logos.
    Hive expected = before;
    for (const SettingEntry& e : kSettings) {
      const std::wstring slot = Slot(e.key, ValueNameOf(e, skin));
      if (!e.bRemove && expected.count(slot)) {
        if (auto after = AfterUntouchedApply(before.at(slot))) expected[slot] = *after;
      }
      if (e.bRemove) expected.erase(slot);  // Reset removes the skin in use and the four logos
    }
    if (!keysMissing) {
      expected[Slot(kMainKey, L"Window Title")] = {
          REG_SZ, Utf16Bytes(TextFor98(L"Swept ☂", L"Swept ß"), true)};
      EXPECT_TRUE(expected.count(Slot(kToolbarKey, otherSkin))) << "the skin not in use stays";
    }
    const Hive after = Snapshot();
    EXPECT_EQ(after.size(), expected.size());
    for (const auto& [slot, value] : expected) {
      const auto found = after.find(slot);
      ASSERT_NE(found, after.end()) << std::string(slot.begin(), slot.end()) << " was removed";
      EXPECT_TRUE(found->second == value) << std::string(slot.begin(), slot.end()) << " differs";
    }
    if (keysMissing) {
      UniqueKey key;
      EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, std::wstring(kBrowserKey).c_str(), 0, KEY_READ,
                              key.put()),
                ERROR_SUCCESS)
          << "no key is created";
    }
  }
}

}  // namespace
}  // namespace tavlin::testing
