// Registry.xml of Group Policy Preferences: the text the writer writes, the
// values it refuses, and the items and faults the reader finds.
#include <gtest/gtest.h>

#include "settings/preferences_file.h"
#include "support/export_doubles.h"
#include "support/memory_registry.h"

namespace tavlin::testing {
namespace {

using namespace settings;

std::span<const std::byte> AsBytes(std::string_view s) {
  return {reinterpret_cast<const std::byte*>(s.data()), s.size()};
}

TEST(PreferencesFile, WritesOneItemPerValueAndReadsItBack) {
  RegFileKey main, toolbar;
  main.name = L"HKEY_CURRENT_USER\\Software\\Main";
  main.values = {
      Value(L"Title", kRegSz, Utf16Bytes(L"\"q\" & <x>\t\x00E9\x4E2D\xD83D\xDE00", true)),
      Value(L"Full", kRegDword, DwordBytes(0x2A))};
  toolbar.name = L"HKEY_CURRENT_USER\\Software\\Toolbar";
  toolbar.values = {Value(L"Big", 0, Bytes(), true)};
  FixedClock clock;
  CountingGuids guids;
  const WrittenFile out = WritePreferencesFile({main, toolbar}, clock, guids);
  ASSERT_TRUE(out.refusals.empty());
  const std::string text(reinterpret_cast<const char*>(out.bytes.data()), out.bytes.size());
  EXPECT_EQ(text.substr(0, text.find("    <Registry", text.find("    <Registry") + 1)),
            "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
            "<RegistrySettings clsid=\"{A3CCFC41-DFDB-43a5-8D26-0FE8B954DA51}\">\r\n"
            "  <Collection clsid=\"{53B533F5-224C-47e3-B01B-CA3B3F3FF4BF}\" name=\"Tavlin\">\r\n"
            "    <Registry clsid=\"{9CD4B2F4-923D-47f5-A062-E897DD1DAD50}\" name=\"Title\" "
            "status=\"Title\" image=\"7\" changed=\"2024-03-05 07:08:09\" "
            "uid=\"{0000000A-000B-000C-0D0E-0F0102030405}\">\r\n"
            "      <Properties action=\"U\" displayDecimal=\"0\" default=\"0\" "
            "hive=\"HKEY_CURRENT_USER\" key=\"Software\\Main\" name=\"Title\" type=\"REG_SZ\" "
            "value=\"&quot;q&quot; &amp; &lt;x&gt;&#x9;\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80\"/>\r\n"
            "    </Registry>\r\n");
  for (const char* part : {"uid=\"{0000000B-", "type=\"REG_DWORD\" value=\"0000002A\"",
                           "<Properties action=\"D\"", "</Collection>\r\n</RegistrySettings>\r\n"})
    EXPECT_NE(text.find(part), std::string::npos) << part;

  const PreferencesFile back = ReadPreferencesFile(out.bytes);
  ASSERT_FALSE(back.problem) << back.problem->line;
  ASSERT_EQ(back.items.size(), 3u);
  EXPECT_EQ(back.items[0].line, 4u);
  EXPECT_EQ(back.items[0].data, main.values[0].data);
  EXPECT_EQ(back.items[1].typeCode, kRegDword);
  EXPECT_EQ(back.items[1].data, DwordBytes(0x2A));
  EXPECT_EQ(back.items[2].action, PreferenceAction::Delete);
  EXPECT_EQ(back.items[2].key, L"Software\\Toolbar");

  guids.failure = -2147467259;  // E_FAIL
  const WrittenFile failed = WritePreferencesFile({main}, clock, guids);
  EXPECT_EQ(failed.guidFailure, -2147467259);
  EXPECT_TRUE(failed.bytes.empty());
}

TEST(PreferencesFile, RefusesValuesItCannotHoldAsStored) {
  const struct {
    RegFileValue value;
    std::wstring_view says;
  } cases[] = {
      {Value(L"bin", kRegBinary, Bytes(2, std::byte{1})), L"REG_BINARY"},
      {Value(L"multi", kRegMultiSz, Utf16Bytes(std::wstring(L"a\0", 2), true)), L"REG_MULTI_SZ"},
      {Value(L"short", kRegDword, Bytes(2, std::byte{1})), L"2 bytes, not 4"},
      {Value(L"bare", kRegSz, Utf16Bytes(L"x", false)), L"does not end in a NUL"},
      {Value(L"empty", kRegSz, Bytes()), L"does not end in a NUL"},
      {Value(L"odd", kRegExpandSz, Bytes(3, std::byte{0})), L"3 bytes"},
      {Value(L"inner", kRegSz, Utf16Bytes(std::wstring(L"a\0b", 3), true)), L"U+0000"},
      {Value(L"control", kRegSz, Utf16Bytes(L"a\x01", true)), L"U+0001"},
      {Value(L"lone", kRegSz, Utf16Bytes(L"\xD800", true)), L"U+D800"},
      {Value(L"bad\x0B name", kRegSz, Utf16Bytes(L"x", true)), L"name holds U+000B"},
  };
  FixedClock clock;
  CountingGuids guids;
  for (const auto& c : cases) {
    RegFileKey key;
    key.name = L"HKEY_CURRENT_USER\\Software\\A";
    key.values = {Value(L"fine", kRegSz, Utf16Bytes(L"x", true)), c.value};
    const WrittenFile out = WritePreferencesFile({key}, clock, guids);
    ASSERT_EQ(out.refusals.size(), 1u) << std::string(c.value.name.begin(), c.value.name.end());
    EXPECT_EQ(out.refusals[0].valueName, c.value.name);
    EXPECT_NE(out.refusals[0].why.find(c.says), std::wstring::npos)
        << std::string(out.refusals[0].why.begin(), out.refusals[0].why.end());
    EXPECT_TRUE(out.bytes.empty());
  }
}

TEST(PreferencesFile, ReadsEachItemWithItsActionAndWhatSetsItApart) {
  const PreferencesFile f = ReadPreferencesFile(AsBytes(
      "<?xml version=\"1.0\"?>\n"
      "<RegistrySettings clsid=\"{A3CCFC41-DFDB-43a5-8D26-0FE8B954DA51}\">\n"
      "<Registry name=\"a\" disabled=\"0\"><Properties hive=\"HKEY_CURRENT_USER\" key=\"K\" "
      "name=\"a\" type=\"REG_DWORD\" value=\"2a\"/></Registry>\n"  // line 3, no action: U
      "<Registry><Properties action=\"C\" hive=\"HKEY_CURRENT_USER\" key=\"K\" name=\"b\" "
      "type=\"REG_EXPAND_SZ\" value=\"%x%\"/></Registry>\n"  // 4
      "<Registry><Properties action=\"R\" hive=\"HKEY_LOCAL_MACHINE\" key=\"K\" default=\"1\" "
      "type=\"REG_SZ\"/></Registry>\n"  // 5
      "<Registry><Properties action=\"D\" hive=\"HKEY_CURRENT_USER\" key=\"K\"/></Registry>\n"
      "<Collection name=\"off\" disabled=\"1\"><Collection>\n"  // 7
      "<Registry><Properties hive=\"HKEY_CURRENT_USER\" key=\"K\" name=\"c\" type=\"REG_BINARY\" "
      "value=\"0102\"/></Registry></Collection></Collection>\n"  // 8
      "<Registry><Properties hive=\"HKEY_CURRENT_USER\" key=\"K\" name=\"d\" type=\"REG_DWORD\" "
      "value=\"1\" bitfield=\"1\"><SubProp id=\"\" value=\"1\" mask=\"1\"/></Properties>\n"
      "<Filters><FilterUser name=\"x\"/></Filters></Registry>\n"  // 9
      "</RegistrySettings>\n"));
  ASSERT_FALSE(f.problem) << f.problem->line;
  const struct {
    std::size_t line;
    PreferenceAction action;
    std::wstring_view name;
    bool isDefault, keyOnly, disabled, targeted, bitfield, read;
  } want[] = {
      {3, PreferenceAction::Update, L"a", false, false, false, false, false, true},
      {4, PreferenceAction::Create, L"b", false, false, false, false, false, true},
      {5, PreferenceAction::Replace, L"", true, false, false, false, false, true},
      {6, PreferenceAction::Delete, L"", false, true, false, false, false, false},
      {8, PreferenceAction::Update, L"c", false, false, true, false, false, false},
      {9, PreferenceAction::Update, L"d", false, false, false, true, true, true},
  };
  ASSERT_EQ(f.items.size(), std::size(want));
  for (std::size_t i = 0; i < std::size(want); ++i) {
    const PreferenceItem& item = f.items[i];
    EXPECT_EQ(item.line, want[i].line) << i;
    EXPECT_EQ(item.action, want[i].action) << i;
    EXPECT_EQ(item.name, want[i].name) << i;
    EXPECT_EQ(item.isDefault, want[i].isDefault) << i;
    EXPECT_EQ(item.keyOnly, want[i].keyOnly) << i;
    EXPECT_EQ(item.disabled, want[i].disabled) << i;
    EXPECT_EQ(item.targeted, want[i].targeted) << i;
    EXPECT_EQ(item.bitfield, want[i].bitfield) << i;
    EXPECT_EQ(item.typeCode.has_value(), want[i].read) << i;
  }
  EXPECT_EQ(f.items[0].data, DwordBytes(0x2A));
  EXPECT_EQ(f.items[1].data, Utf16Bytes(L"%x%", true));
  EXPECT_EQ(f.items[2].data, Utf16Bytes(L"", true)) << "no value attribute: the empty text";
  EXPECT_EQ(f.items[2].hive, L"HKEY_LOCAL_MACHINE");
}

TEST(PreferencesFile, FaultsNameTheirLine) {
  const std::string head = "<RegistrySettings>\n";
  const std::string p = "<Registry><Properties hive=\"HKEY_CURRENT_USER\" key=\"K\" name=\"n\" ";
  const struct {
    std::string body;  // from line 2
    std::size_t line;
    std::wstring_view says;
  } cases[] = {
      {p + "type=\"REG_DWORD\" value=\"xyz\"/></Registry>", 2, L"\"xyz\" is not a number"},
      {p + "type=\"REG_DWORD\" value=\"123456789\"/></Registry>", 2, L"one to eight hex"},
      {p + "type=\"REG_DWORD\" value=\"0123456789abcdefghijk\"/></Registry>", 2,
       L"\"0123456789abcdefghij\" is not"},
      {p + "type=\"REG_SZ\" value=\"&bad;\"/></Registry>", 2, L"&bad;"},
      {p + "type=\"REG_FOO\"/></Registry>", 2, L"\"REG_FOO\""},
      {p + "action=\"X\" type=\"REG_SZ\"/></Registry>", 2, L"action \"X\""},
      {"<Registry><Properties name=\"n\"/></Registry>", 2, L"no hive"},
      {"\n<Registry>\n</Registry>", 3, L"no <Properties>"},
      {"<Registry>" + p.substr(10) + "type=\"REG_SZ\"/>\n<Properties/></Registry>", 3,
       L"one <Properties>"},
      {"<Collection>\n<Drive/></Collection>", 3, L"<Drive> may not stand in <Collection>"},
      {p + "type=\"REG_SZ\"/>\n<Extra/></Registry>", 3, L"<Extra> may not stand"},
      {p + "type=\"REG_SZ\" value=\"unclosed/></Registry>", 2, L"'<' may not"},
  };
  for (const auto& c : cases) {
    const PreferencesFile f = ReadPreferencesFile(AsBytes(head + c.body + "\n</RegistrySettings>"));
    ASSERT_TRUE(f.problem) << c.body;
    EXPECT_EQ(f.problem->line, c.line) << c.body;
    EXPECT_NE(f.problem->what.find(c.says), std::wstring::npos)
        << c.body << ": " << std::string(f.problem->what.begin(), f.problem->what.end());
    EXPECT_TRUE(f.items.empty());
  }
  const PreferencesFile other = ReadPreferencesFile(AsBytes("\n<DriveSettings/>"));
  ASSERT_TRUE(other.problem);
  EXPECT_EQ(other.problem->line, 2u);
}

}  // namespace
}  // namespace tavlin::testing
