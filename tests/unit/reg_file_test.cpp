// The .reg reader and writer: encodings, the line grammar, faults with their
// line numbers, and that what the writer writes reads back to the same bytes.
#include <gtest/gtest.h>

#include "settings/reg_file.h"
#include "support/memory_registry.h"

namespace tavlin::testing {
namespace {

using namespace settings;

// Stands in for the ANSI code page: Windows-1252's euro sign at 0x80, the
// rest as Latin-1, so a test sees that the decoder was used.
std::wstring FakeAnsi(std::string_view s) {
  std::wstring out;
  for (char c : s) {
    const auto b = static_cast<unsigned char>(c);
    out.push_back(b == 0x80 ? L'\x20AC' : static_cast<wchar_t>(b));
  }
  return out;
}
const AnsiDecoder kAnsi = FakeAnsi;

constexpr std::wstring_view kHead = L"Windows Registry Editor Version 5.00\r\n\r\n";

RegFile Parse(std::wstring_view text) {
  return ParseRegFile(text, kAnsi);
}

Bytes Raw(std::initializer_list<int> bytes) {
  Bytes out;
  for (int b : bytes) out.push_back(static_cast<std::byte>(b));
  return out;
}

Bytes Narrow(std::string_view s) {
  Bytes out;
  for (char c : s) out.push_back(static_cast<std::byte>(c));
  return out;
}

TEST(RegFileDecode, EveryEncodingGivesTheSameText) {
  const std::wstring text = L"REGEDIT4\r\n; \x00E9t\x00E9 \x20AC\r\n";
  Bytes le = Raw({0xFF, 0xFE}), be = Raw({0xFE, 0xFF}), leBare;
  for (wchar_t c : text) {
    const auto u = static_cast<unsigned>(c);
    le.append(Raw({static_cast<int>(u & 0xFF), static_cast<int>(u >> 8)}));
    leBare.append(Raw({static_cast<int>(u & 0xFF), static_cast<int>(u >> 8)}));
    be.append(Raw({static_cast<int>(u >> 8), static_cast<int>(u & 0xFF)}));
  }
  const Bytes utf8 = Narrow("REGEDIT4\r\n; \xC3\xA9t\xC3\xA9 \xE2\x82\xAC\r\n");
  const Bytes utf8Bom = Raw({0xEF, 0xBB, 0xBF}) + utf8;
  const Bytes ansi = Narrow("REGEDIT4\r\n; \xE9t\xE9 \x80\r\n");  // not valid UTF-8

  const struct {
    const char* name;
    const Bytes& bytes;
    RegFileEncoding encoding;
  } cases[] = {
      {"UTF-16LE with its mark", le, RegFileEncoding::Utf16Le},
      {"UTF-16BE with its mark", be, RegFileEncoding::Utf16Be},
      {"UTF-16LE without a mark", leBare, RegFileEncoding::Utf16Le},
      {"UTF-8 with its mark", utf8Bom, RegFileEncoding::Utf8},
      {"UTF-8 without a mark", utf8, RegFileEncoding::Utf8},
      {"ANSI", ansi, RegFileEncoding::Ansi},
  };
  for (const auto& c : cases) {
    const DecodedRegFile d = DecodeRegFileBytes(c.bytes, kAnsi);
    EXPECT_FALSE(d.problem) << c.name;
    EXPECT_EQ(d.encoding, c.encoding) << c.name;
    EXPECT_EQ(d.text, text) << c.name;
  }
}

TEST(RegFileDecode, BrokenEncodingsNameTheirLine) {
  // Half a UTF-16 character at the end of line 3.
  Bytes odd = Raw({0xFF, 0xFE});
  for (wchar_t c : std::wstring(L"REGEDIT4\r\n\r\nx")) odd.append(Raw({static_cast<int>(c), 0}));
  odd.push_back(std::byte{'y'});
  const DecodedRegFile a = DecodeRegFileBytes(odd, kAnsi);
  ASSERT_TRUE(a.problem);
  EXPECT_EQ(a.problem->line, 3u);

  // A file that says it is UTF-8 and is not, on line 2.
  const Bytes lying = Raw({0xEF, 0xBB, 0xBF}) + Narrow("REGEDIT4\n\xE9\"a\"=\"x\"\n");
  const DecodedRegFile b = DecodeRegFileBytes(lying, kAnsi);
  ASSERT_TRUE(b.problem);
  EXPECT_EQ(b.problem->line, 2u);

  // Overlong forms and encoded surrogates are not UTF-8: without a mark, ANSI.
  for (const char* s : {"REGEDIT4\n\xC0\xAF", "REGEDIT4\n\xE0\x82\x80", "REGEDIT4\n\xED\xA0\x80",
                        "REGEDIT4\n\xF4\x90\x80\x80"})
    EXPECT_EQ(DecodeRegFileBytes(Narrow(s), kAnsi).encoding, RegFileEncoding::Ansi) << s;

  // Characters outside the first plane become surrogate pairs.
  const DecodedRegFile emoji = DecodeRegFileBytes(Narrow("\xF0\x9F\x98\x80"), kAnsi);
  EXPECT_EQ(emoji.text, std::wstring(L"\xD83D\xDE00"));
}

TEST(RegFileParse, ReadsEveryDataFormAndSkipsCommentsAndBlankLines) {
  const RegFile f = Parse(std::wstring(kHead) +
                          L"; a comment\r\n"
                          L"\r\n"
                          L"  [HKEY_CURRENT_USER\\Software\\A]  \r\n"
                          L"\"text\"=\"C:\\\\dir\\\\file \\\"q\\\"\" ; after\r\n"
                          L"\"lines\"=\"one\\ntwo\\r\"\r\n"
                          L"@=\"default\"\r\n"
                          L"\"num\" = dword:0000002A\r\n"
                          L"\"short\"=DWORD:f\r\n"
                          L"\"bin\"=hex:01,ff, 0a ,\\\r\n"
                          L"  ; a comment between the lines\r\n"
                          L"\r\n"
                          L"  7\r\n"
                          L"\"expand\"=hex(2):25,00,00,00\r\n"
                          L"\"q\"=hex(b):01,02,03,04,05,06,07,08\r\n"
                          L"\"none\"=hex(0):\r\n"
                          L"\"gone\"=-\r\n"
                          L"\"a \\\"quoted\\\" \\\\ name\"=\"x\"\r\n"
                          L"[-HKCU\\Software\\B]\r\n");
  ASSERT_FALSE(f.problem) << "line " << f.problem->line;
  EXPECT_EQ(f.version, RegFileVersion::Regedit5);
  ASSERT_EQ(f.keys.size(), 2u);
  EXPECT_EQ(f.keys[0].name, L"HKEY_CURRENT_USER\\Software\\A");
  EXPECT_EQ(f.keys[0].line, 5u);
  EXPECT_TRUE(f.keys[1].remove);
  EXPECT_EQ(f.keys[1].name, L"HKCU\\Software\\B");

  const auto& v = f.keys[0].values;
  ASSERT_EQ(v.size(), 11u);
  const auto sz = [](std::wstring_view t) { return Utf16Bytes(t, true); };
  const struct {
    std::wstring name;
    bool isDefault, remove;
    std::uint32_t type;
    Bytes data;
    std::size_t line;
  } want[] = {
      {L"text", false, false, kRegSz, sz(L"C:\\dir\\file \"q\""), 6},
      {L"lines", false, false, kRegSz, sz(L"one\ntwo\r"), 7},
      {L"", true, false, kRegSz, sz(L"default"), 8},
      {L"num", false, false, kRegDword, DwordBytes(42), 9},
      {L"short", false, false, kRegDword, DwordBytes(15), 10},
      {L"bin", false, false, kRegBinary, Raw({1, 0xFF, 0x0A, 7}), 11},
      {L"expand", false, false, kRegExpandSz, Raw({0x25, 0, 0, 0}), 15},
      {L"q", false, false, kRegQword, Raw({1, 2, 3, 4, 5, 6, 7, 8}), 16},
      {L"none", false, false, kRegNone, Bytes(), 17},
      {L"gone", false, true, 0, Bytes(), 18},
      {L"a \"quoted\" \\ name", false, false, kRegSz, sz(L"x"), 19},
  };
  for (std::size_t i = 0; i < std::size(want); ++i) {
    EXPECT_EQ(v[i].name, want[i].name) << i;
    EXPECT_EQ(v[i].isDefault, want[i].isDefault) << i;
    EXPECT_EQ(v[i].remove, want[i].remove) << i;
    EXPECT_EQ(v[i].type, want[i].type) << i;
    EXPECT_EQ(v[i].data, want[i].data) << i;
    EXPECT_EQ(v[i].line, want[i].line) << i;
  }
}

TEST(RegFileParse, FaultsNameTheirLineAndKeepNothing) {
  const struct {
    std::wstring body;  // after the header and a blank line, so line 3 is the first
    std::size_t line;
  } cases[] = {
      {L"\"a\"=\"x\"\r\n", 3},                             // a value before any key
      {L"[HKCU\\A]\r\n\"a\"=\"unclosed\r\n", 4},           // no closing quote
      {L"[HKCU\\A]\r\n\"a\"=\"C:\\dir\"\r\n", 4},          // \d is no escape
      {L"[HKCU\\A]\r\n\"a\"=\"x\" trailing\r\n", 4},       // text after the value
      {L"[HKCU\\A]\r\n\"a\" \"x\"\r\n", 4},                // no '='
      {L"[HKCU\\A]\r\n\"a\"=dword:123456789\r\n", 4},      // nine digits
      {L"[HKCU\\A]\r\n\"a\"=dword:\r\n", 4},               // none
      {L"[HKCU\\A]\r\n\"a\"=dword:1 x\r\n", 4},            // text after the number
      {L"[HKCU\\A]\r\n\"a\"=\r\n", 4},                     // no data at all
      {L"[HKCU\\A]\r\n\"a\"=hex:1,2,345\r\n", 4},          // three-digit byte
      {L"[HKCU\\A]\r\n\"a\"=hex:01 02\r\n", 4},            // no comma
      {L"[HKCU\\A]\r\n\"a\"=hex(x):01\r\n", 4},            // bad type
      {L"[HKCU\\A]\r\n\"a\"=hex(2)01\r\n", 4},             // no ':'
      {L"[HKCU\\A]\r\n\"a\"=hex:01,\\\r\n  zz\r\n", 5},    // continued with junk
      {L"[HKCU\\A]\r\n\"a\"=hex:01,02\\\r\n  03\r\n", 4},  // no comma before the break
      {L"[HKCU\\A]\r\n\"a\"=hex:01,\\\r\n\r\n", 5},        // file ends inside hex data
      {L"[HKCU\\A]\r\n\"a\"=hex:01,\\", 4},                // ...also mid-line
      {L"[HKCU\\A]\r\n\"a\"=\"trunc", 4},                  // a file that ends mid-text
      {L"[HKCU\\A]\r\n\"a\"=text\r\n", 4},                 // unknown data form
      {L"[HKCU\\A\r\n", 3},                                // no ']'
      {L"[]\r\n", 3},                                      // no name
      {L"[HKEY_NOWHERE\\A]\r\n", 3},                       // unknown root
      {L"[-HKCU\\A]\r\n\"a\"=\"x\"\r\n", 4},               // a value under a deletion
      {L"[HKCU\\A]\r\njunk\r\n", 4},                       // not a line of any kind
      {L"[HKCU\\A]\r\n\"a\"=\"ok\"\r\n\r\n[HKCU\\B]\r\n\"b\"=-x\r\n", 7},  // later fault
  };
  for (const auto& c : cases) {
    const RegFile f = Parse(std::wstring(kHead) + c.body);
    ASSERT_TRUE(f.problem) << std::string(c.body.begin(), c.body.end());
    EXPECT_EQ(f.problem->line, c.line) << std::string(c.body.begin(), c.body.end());
    EXPECT_FALSE(f.problem->what.empty());
    EXPECT_TRUE(f.keys.empty()) << "a faulty file yields nothing to apply";
  }
}

TEST(RegFileParse, HeaderLineEndsAndTheLastLine) {
  EXPECT_EQ(Parse(L"").problem->line, 1u);
  EXPECT_EQ(Parse(L"REGEDIT5\r\n").problem->line, 1u);
  EXPECT_EQ(Parse(L"Windows Registry Editor Version 5.0\r\n").problem->line, 1u);
  // Blanks around the header, LF or lone CR line ends, no line end at the very end.
  for (std::wstring_view text :
       {L"  REGEDIT4 \n[HKCU\\A]\n\"a\"=\"x\"", L"REGEDIT4\r[HKCU\\A]\r\"a\"=\"x\"\r",
        L"REGEDIT4\r\n[HKCU\\A]\r\n\"a\"=\"x\"\r\n"}) {
    const RegFile f = Parse(text);
    ASSERT_FALSE(f.problem);
    EXPECT_EQ(f.version, RegFileVersion::Regedit4);
    ASSERT_EQ(f.keys.size(), 1u);
    ASSERT_EQ(f.keys[0].values.size(), 1u);
    EXPECT_EQ(f.keys[0].values[0].line, 3u);
  }
}

TEST(RegFileParse, Regedit4TextTypesInHexAreAnsi) {
  const RegFile f = Parse(
      L"REGEDIT4\r\n[HKCU\\A]\r\n\"e\"=hex(2):25,80,25,00\r\n\"b\"=hex:25,80\r\n"
      L"\"m\"=hex(7):61,00,80,00,00\r\n");
  ASSERT_FALSE(f.problem);
  EXPECT_EQ(f.keys[0].values[0].data, Utf16Bytes(L"%\x20AC%", true));
  EXPECT_EQ(f.keys[0].values[1].data, Raw({0x25, 0x80})) << "binary stays as it is";
  EXPECT_EQ(f.keys[0].values[2].data, Utf16Bytes(std::wstring(L"a\0\x20AC\0\0", 5), false));
  // The same line in a version 5 file is taken as UTF-16 bytes.
  const RegFile g = Parse(std::wstring(kHead) + L"[HKCU\\A]\r\n\"e\"=hex(2):25,80,25,00\r\n");
  EXPECT_EQ(g.keys[0].values[0].data, Raw({0x25, 0x80, 0x25, 0}));
}

TEST(RegFileWrite, QuotedOnlyWhatReadsBackTheSame) {
  const auto v = [](std::uint32_t type, Bytes data) {
    RegFileValue out;
    out.name = L"n";
    out.type = type;
    out.data = std::move(data);
    return FormatRegValue(out);
  };
  EXPECT_EQ(v(kRegSz, Utf16Bytes(L"C:\\a \"b\"", true)), L"\"n\"=\"C:\\\\a \\\"b\\\"\"");
  EXPECT_EQ(v(kRegSz, Utf16Bytes(L"", true)), L"\"n\"=\"\"");
  EXPECT_EQ(v(kRegDword, DwordBytes(0xFFFFFFFE)), L"\"n\"=dword:fffffffe");
  EXPECT_EQ(v(kRegDword, Raw({1, 2})), L"\"n\"=hex(4):01,02");
  EXPECT_EQ(v(kRegBinary, Raw({0xAB})), L"\"n\"=hex:ab");
  EXPECT_EQ(v(kRegQword, Bytes()), L"\"n\"=hex(b):");
  // Texts that a quoted form would change: no terminator, two, one inside,
  // an odd byte count, a line end, a lone surrogate, nothing at all.
  EXPECT_EQ(v(kRegSz, Utf16Bytes(L"ab", false)), L"\"n\"=hex(1):61,00,62,00");
  EXPECT_EQ(v(kRegSz, Utf16Bytes(std::wstring(L"a\0", 2), true)),
            L"\"n\"=hex(1):61,00,00,00,00,00");
  EXPECT_EQ(v(kRegSz, Utf16Bytes(std::wstring(L"a\0b", 3), true)),
            L"\"n\"=hex(1):61,00,00,00,62,00,00,00");
  EXPECT_EQ(v(kRegSz, Raw({0x61, 0, 0})), L"\"n\"=hex(1):61,00,00");
  EXPECT_EQ(v(kRegSz, Utf16Bytes(L"a\r\nb", true)).substr(0, 11), L"\"n\"=hex(1):");
  EXPECT_EQ(v(kRegSz, Utf16Bytes(L"\xD800", true)), L"\"n\"=hex(1):00,d8,00,00");
  EXPECT_EQ(v(kRegSz, Utf16Bytes(L"\xDE00 ", true)), L"\"n\"=hex(1):00,de,20,00,00,00");
  EXPECT_EQ(v(kRegSz, Utf16Bytes(L"\xD83D\xE000", true)), L"\"n\"=hex(1):3d,d8,00,e0,00,00");
  EXPECT_EQ(v(kRegSz, Bytes()), L"\"n\"=hex(1):");
  EXPECT_EQ(v(kRegSz, Utf16Bytes(L"\xD83D\xDE00", true)), L"\"n\"=\"\xD83D\xDE00\"")
      << "a pair is fine";

  RegFileValue removal;
  removal.name = L"gone";
  removal.remove = true;
  EXPECT_EQ(FormatRegValue(removal), L"\"gone\"=-");
}

TEST(RegFileWrite, LongHexDataIsWrappedAtEightyColumns) {
  RegFileValue v;
  v.name = L"BrandBitmap";
  v.type = kRegExpandSz;
  v.data = Bytes(100, std::byte{0x41});
  const std::wstring text = FormatRegValue(v);
  std::size_t start = 0, lines = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find(L"\r\n", start), text.size());
    const std::wstring_view line = std::wstring_view(text).substr(start, end - start);
    EXPECT_LE(line.size(), 80u);
    if (end < text.size()) {
      EXPECT_EQ(line.back(), L'\\');
    }
    if (lines > 0) {
      EXPECT_EQ(line.substr(0, 2), L"  ");
    }
    ++lines;
    start = end + 2;
  }
  EXPECT_GT(lines, 3u);
}

// What the writer writes, the reader reads back byte for byte: every type,
// awkward names, and a 32,767-character path.
TEST(RegFileWrite, EverythingWrittenReadsBackExactly) {
  std::wstring longPath = L"C:\\";
  while (longPath.size() < 32767) longPath += L"d\\";
  longPath.resize(32767);
  RegFileKey key;
  key.name = L"HKEY_CURRENT_USER\\Software\\Round Trip";
  const auto add = [&](std::wstring name, std::uint32_t type, Bytes data, bool remove = false) {
    RegFileValue v;
    v.name = std::move(name);
    v.type = type;
    v.data = std::move(data);
    v.remove = remove;
    key.values.push_back(std::move(v));
  };
  add(L"Download Directory", kRegSz, Utf16Bytes(longPath, true));
  add(L"with \"quotes\" and \\ back\\slashes\\", kRegSz, Utf16Bytes(L"v", true));
  add(L"line\nend in name", kRegSz, Utf16Bytes(L"\xD83D\xDE00 \x00E9", true));
  add(L"expand", kRegExpandSz, Utf16Bytes(L"%USERPROFILE%\\x", true));
  add(L"multi", kRegMultiSz, Utf16Bytes(std::wstring(L"a\0b\0", 4), true));
  add(L"odd", kRegSz, Raw({0x61, 0, 0x62}));
  add(L"huge", kRegBinary, Bytes(70000, std::byte{0xEE}));
  add(L"no bytes", kRegBinary, Bytes());
  add(L"dword", kRegDword, DwordBytes(0x80000000));
  add(L"type ffffffff", 0xFFFFFFFF, Raw({9}));
  add(L"gone", 0, Bytes(), true);
  RegFileValue def;
  def.isDefault = true;
  def.type = kRegSz;
  def.data = Utf16Bytes(L"d", true);
  key.values.push_back(def);
  RegFileKey removed;
  removed.name = L"HKEY_CURRENT_USER\\Software\\Gone";
  removed.remove = true;

  const std::wstring text = FormatRegFile({key, removed});
  EXPECT_EQ(text.substr(0, kHead.size()), kHead);
  EXPECT_EQ(text.substr(text.size() - 4), L"\r\n\r\n");
  const DecodedRegFile decoded = DecodeRegFileBytes(EncodeUtf16LeWithBom(text), kAnsi);
  ASSERT_FALSE(decoded.problem);
  const RegFile back = ParseRegFile(decoded.text, kAnsi);
  ASSERT_FALSE(back.problem) << back.problem->line;
  ASSERT_EQ(back.keys.size(), 2u);
  EXPECT_TRUE(back.keys[1].remove);
  ASSERT_EQ(back.keys[0].values.size(), key.values.size());
  for (std::size_t i = 0; i < key.values.size(); ++i) {
    const RegFileValue& a = key.values[i];
    const RegFileValue& b = back.keys[0].values[i];
    EXPECT_EQ(b.name, a.name) << i;
    EXPECT_EQ(b.isDefault, a.isDefault) << i;
    EXPECT_EQ(b.remove, a.remove) << i;
    if (!a.remove) {
      EXPECT_EQ(b.type, a.type) << i;
      EXPECT_EQ(b.data, a.data) << i;
    }
  }
}

TEST(RegFileNames, RootsAndCaseFolding) {
  EXPECT_EQ(SplitRegKeyName(L"HKEY_CURRENT_USER\\Software\\X").root, RegRoot::CurrentUser);
  EXPECT_EQ(SplitRegKeyName(L"hkcu\\Software\\X").path, L"Software\\X");
  EXPECT_EQ(SplitRegKeyName(L"HKLM\\Software").root, RegRoot::LocalMachine);
  EXPECT_EQ(SplitRegKeyName(L"HKEY_USERS").path, L"");
  EXPECT_EQ(SplitRegKeyName(L"HKEY_CURRENT_USERS\\X").root, RegRoot::Unknown);
  EXPECT_TRUE(SameRegName(L"Window TITLE", L"window title"));
  EXPECT_FALSE(SameRegName(L"Window Title ", L"Window Title"));
  EXPECT_FALSE(SameRegName(L"\x00C9", L"\x00E9")) << "only A-Z fold";
}

}  // namespace
}  // namespace tavlin::testing
