// Registry.pol: the bytes the writer lays down, what the reader reads back,
// and the faults of a damaged file with their record and byte.
#include <gtest/gtest.h>

#include "settings/pol_file.h"
#include "support/export_doubles.h"
#include "support/memory_registry.h"

namespace tavlin::testing {
namespace {

using namespace settings;

Bytes U16(std::wstring_view s) {
  return Utf16Bytes(s, false);
}
Bytes Le32(std::uint32_t n) {
  return DwordBytes(n);
}
// One record as [MS-GPREG] 2.2.1 lays it out, with the size given apart so
// that a test can lie about it.
Bytes Record(std::wstring_view key, std::wstring_view name, std::uint32_t type, std::uint32_t size,
             const Bytes& data) {
  return U16(L"[") + Utf16Bytes(key, true) + U16(L";") + Utf16Bytes(name, true) + U16(L";") +
         Le32(type) + U16(L";") + Le32(size) + U16(L";") + data + U16(L"]");
}
const Bytes kHeader =
    Bytes{std::byte{'P'}, std::byte{'R'}, std::byte{'e'}, std::byte{'g'}} + Le32(1);

TEST(PolFile, WritesRecordsAsTheFormatLaysThemOutAndReadsThemBack) {
  RegFileKey key;
  key.name = L"HKEY_CURRENT_USER\\Software\\A";
  key.values = {Value(L"Text", kRegSz, Utf16Bytes(L"ab", true)),
                Value(L"Num", kRegDword, DwordBytes(7)), Value(L"gone", 0, Bytes(), true),
                Value(L"raw", kRegBinary, Bytes(65535, std::byte{1}))};
  const WrittenFile out = WritePolFile({key});
  ASSERT_TRUE(out.refusals.empty());
  const Bytes expected =
      kHeader + Record(L"Software\\A", L"Text", kRegSz, 6, Utf16Bytes(L"ab", true)) +
      Record(L"Software\\A", L"Num", kRegDword, 4, DwordBytes(7)) +
      Record(L"Software\\A", L"**del.gone", kRegSz, 4, Utf16Bytes(L" ", true)) +
      Record(L"Software\\A", L"raw", kRegBinary, 65535, Bytes(65535, std::byte{1}));
  EXPECT_EQ(out.bytes, expected);

  ASSERT_TRUE(HasPolSignature(out.bytes));
  const PolFile back = ReadPolFile(out.bytes);
  ASSERT_FALSE(back.problem);
  ASSERT_EQ(back.records.size(), 4u);
  EXPECT_EQ(back.records[0],
            (PolRecord{1, 8, L"Software\\A", L"Text", kRegSz, Utf16Bytes(L"ab", true)}));
  EXPECT_EQ(back.records[2].valueName, L"**del.gone");
  EXPECT_EQ(back.records[3].data.size(), 65535u);
  EXPECT_TRUE(ReadPolFile(kHeader).records.empty()) << "a header alone is a file with nothing";
}

TEST(PolFile, RefusesWhatTheFormatCannotHold) {
  const struct {
    RegFileValue value;
    std::wstring_view says;
  } cases[] = {
      {Value(L"none", kRegNone, Bytes()), L"REG_NONE"},
      {Value(L"link", 6, Bytes()), L"REG_LINK"},
      {Value(L"odd", 0x1234, Bytes()), L"type 0x1234"},
      {Value(L"big", kRegBinary, Bytes(65536, std::byte{0})), L"65536 bytes"},
      {Value(L"**soft.x", kRegSz, Utf16Bytes(L"x", true)), L"\"**\""},
  };
  for (const auto& c : cases) {
    RegFileKey key;
    key.name = L"HKEY_CURRENT_USER\\Software\\A";
    key.values = {Value(L"fine", kRegSz, Utf16Bytes(L"x", true)), c.value};
    const WrittenFile out = WritePolFile({key});
    ASSERT_EQ(out.refusals.size(), 1u) << c.value.name.size();
    EXPECT_EQ(out.refusals[0].valueName, c.value.name);
    EXPECT_NE(out.refusals[0].why.find(c.says), std::wstring::npos);
    EXPECT_TRUE(out.bytes.empty());
  }
}

TEST(PolFile, FaultsNameTheirRecordAndByte) {
  const Bytes good = Record(L"K", L"v", kRegSz, 4, Utf16Bytes(L"x", true));  // bytes 8 to 39
  const Bytes badBracket = U16(L"(") + Bytes(good.begin() + 2, good.end());
  const struct {
    Bytes bytes;
    std::size_t record, offset;
    std::wstring_view says;
  } cases[] = {
      {Bytes(kHeader.begin(), kHeader.begin() + 6), 0, 6, L"header"},
      {kHeader.substr(0, 4) + Le32(2), 0, 4, L"version 2"},
      {kHeader + badBracket, 1, 8, L"'[' must open"},
      {kHeader + U16(L"[K"), 1, 12, L"inside the key"},
      {kHeader + good.substr(0, 16), 1, 22, L"inside the type"},
      {kHeader + good.substr(0, 12) + U16(L"]") + good.substr(14), 1, 20,
       L"';' must follow the value"},
      {kHeader + good.substr(0, 18) + U16(L"]") + good.substr(20), 1, 26,
       L"';' must follow the type"},
      {kHeader + Record(L"K", L"v", kRegSz, 2, Utf16Bytes(L"x", true)), 1, 36, L"']' must close"},
      {kHeader + Record(L"K", L"v", kRegSz, 0xFFFFFFF0, Bytes()), 1, 34, L"4294967280 bytes"},
      {kHeader + good + good.substr(0, good.size() - 2), 2, 70, L"inside the record"},
      {kHeader + good + Bytes(1, std::byte{'['}), 2, 40, L"inside the record"},
  };
  for (const auto& c : cases) {
    const PolFile f = ReadPolFile(c.bytes);
    ASSERT_TRUE(f.problem) << c.offset;
    EXPECT_EQ(f.problem->record, c.record) << c.offset;
    EXPECT_EQ(f.problem->offset, c.offset)
        << std::string(f.problem->what.begin(), f.problem->what.end());
    EXPECT_NE(f.problem->what.find(c.says), std::wstring::npos)
        << std::string(f.problem->what.begin(), f.problem->what.end());
    EXPECT_TRUE(f.records.empty());
  }
}

}  // namespace
}  // namespace tavlin::testing
