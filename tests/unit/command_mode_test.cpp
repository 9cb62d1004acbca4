// The command line and the modes without the window: switches, exit codes, and
// what is written where, against in-memory files, console and registry.
#include <gtest/gtest.h>

#include <map>

#include "app/command_mode.h"
#include "settings/catalogue.h"
#include "settings/reg_file.h"
#include "settings/transfer.h"
#include "support/export_doubles.h"
#include "support/fakes.h"
#include "support/memory_registry.h"

namespace tavlin::testing {
namespace {

using namespace settings;
using app::Command;
using app::RunMode;

TEST(CommandLine, SplitsLikeTheWindowsRuntime) {
  const struct {
    std::wstring_view line;
    std::vector<std::wstring> args;
  } cases[] = {
      {L"", {}},
      {L"   \t ", {}},
      {L"/import \\\\server\\share\\browser.reg", {L"/import", L"\\\\server\\share\\browser.reg"}},
      {L"/export \"C:\\My Files\\b.reg\"", {L"/export", L"C:\\My Files\\b.reg"}},
      {L"  a\tb  ", {L"a", L"b"}},
      {L"\"\"", {L""}},
      {L"a\\\\\"b c\"", {L"a\\b c"}},          // 2n backslashes: n, and the quote opens
      {L"a\\\"b", {L"a\"b"}},                  // 2n+1: n and a literal quote
      {L"\"a\"\"b\"", {L"a\"b"}},              // two quotes inside a quoted part
      {L"C:\\dir\\ x", {L"C:\\dir\\", L"x"}},  // backslashes before no quote stay
      {L"\"open", {L"open"}},                  // a quote never closed
  };
  for (const auto& c : cases)
    EXPECT_EQ(app::SplitCommandLine(c.line), c.args) << std::string(c.line.begin(), c.line.end());
}

TEST(CommandLine, TheProgramsNameEndsAtABlankOutsideQuotes) {
  const struct {
    std::wstring_view line, arguments;
  } cases[] = {
      {L"tavlin.exe", L""},
      {L"tavlin.exe  /export a.reg ", L"/export a.reg "},
      {L"\"C:\\Program Files\\tavlin.exe\"\t/? ", L"/? "},
      {L"C:\\a\"b c\"\\tavlin.exe \"x y\"", L"\"x y\""},  // quotes anywhere in the name
      {L"C:\\dir\\\"tavlin.exe /import", L""},            // a backslash escapes nothing
      {L"", L""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(app::ArgumentsOf(c.line), c.arguments) << std::string(c.line.begin(), c.line.end());
}

TEST(CommandLine, SwitchesChooseTheModeAndAnythingElseKeepsTheWindow) {
  const struct {
    std::wstring_view line;
    RunMode mode;
    std::wstring file;
  } cases[] = {
      {L"", RunMode::Window, L""},
      {L"some words", RunMode::Window, L""},
      {L"/?", RunMode::Usage, L""},
      {L"-?", RunMode::Usage, L""},
      {L"--HELP", RunMode::Usage, L""},
      {L"/h", RunMode::Usage, L""},
      {L"/export out.reg", RunMode::Export, L"out.reg"},
      {L"-Export \"a b.reg\"", RunMode::Export, L"a b.reg"},
      {L"/IMPORT /tmp/x.reg", RunMode::Import, L"/tmp/x.reg"},
      {L"/import", RunMode::BadUsage, L""},
      {L"/import \"\"", RunMode::BadUsage, L""},
      {L"/import a b", RunMode::BadUsage, L""},
      {L"/? extra", RunMode::BadUsage, L""},
      {L"/exports x", RunMode::BadUsage, L""},
      {L"x.reg /import", RunMode::BadUsage, L""},
  };
  for (const auto& c : cases) {
    const Command cmd = app::ParseCommandLine(c.line);
    EXPECT_EQ(cmd.mode, c.mode) << std::string(c.line.begin(), c.line.end());
    EXPECT_EQ(cmd.file, c.file) << std::string(c.line.begin(), c.line.end());
    EXPECT_EQ(cmd.problem.empty(), c.mode != RunMode::BadUsage);
  }
}

class MemoryFiles : public app::FilePort {
 public:
  std::map<std::wstring, Bytes> files;
  std::map<std::wstring, long> failures;  // paths that fail with this code
  long Read(std::wstring_view path, Bytes& bytes) override {
    if (failures.count(std::wstring(path))) return failures[std::wstring(path)];
    const auto f = files.find(std::wstring(path));
    if (f == files.end()) return kErrorFileNotFound;
    bytes = f->second;
    return 0;
  }
  long Write(std::wstring_view path, std::span<const std::byte> bytes) override {
    if (failures.count(std::wstring(path))) return failures[std::wstring(path)];
    files[std::wstring(path)] = Bytes(bytes.begin(), bytes.end());
    return 0;
  }
  std::wstring DecodeAnsi(std::string_view s) override {
    std::wstring out;
    for (char c : s) out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return out;
  }
  std::wstring ErrorText(long code) override {
    return code == kErrorAccessDenied ? L"Access is denied" : L"";
  }
  void PutUtf8(const std::wstring& path, std::string_view text) {
    files[path] = Bytes(reinterpret_cast<const std::byte*>(text.data()), text.size());
  }
};

class MemoryConsole : public app::ConsolePort {
 public:
  std::vector<std::wstring> out, err;
  void Out(std::wstring_view line) override { out.emplace_back(line); }
  void Err(std::wstring_view line) override { err.emplace_back(line); }
  static bool Has(const std::vector<std::wstring>& lines, std::wstring_view part) {
    for (const auto& l : lines)
      if (l.find(part) != std::wstring::npos) return true;
    return false;
  }
};

// Fails every store of one value name, as a value the user may not change would.
class RefusingOneValue : public RegistryPort {
 public:
  RefusingOneValue(RegistryPort& inner, std::wstring name)
      : inner_(inner), name_(std::move(name)) {}
  long Open(Hive h, std::wstring_view p, Access a, KeyRef& k) override {
    return inner_.Open(h, p, a, k);
  }
  long Create(Hive h, std::wstring_view p, KeyRef& k) override { return inner_.Create(h, p, k); }
  long Query(KeyRef k, std::wstring_view n, std::uint32_t& t, std::span<std::byte> d,
             std::uint32_t& s) override {
    return inner_.Query(k, n, t, d, s);
  }
  long Set(KeyRef k, std::wstring_view n, std::uint32_t t, std::span<const std::byte> d) override {
    return n == name_ ? kErrorAccessDenied : inner_.Set(k, n, t, d);
  }
  long Delete(KeyRef k, std::wstring_view n) override { return inner_.Delete(k, n); }
  void Close(KeyRef k) override { inner_.Close(k); }

 private:
  RegistryPort& inner_;
  std::wstring name_;
};

struct CommandRig {
  MemoryRegistry reg;
  FakeVersion version;  // 6.0.2900: the skin value is "BackBitmapIE5"
  MemoryFiles files;
  MemoryConsole console;
  FixedClock clock;
  CountingGuids guids;
  int Run(std::wstring_view line, RegistryPort* port = nullptr) {
    return app::RunCommand(app::ParseCommandLine(line),
                           {port ? *port : reg, version, files, console, clock, guids});
  }
  void Seed() {
    reg.Put(kHkeyCurrentUser, kMainKey, L"Window Title", kRegSz, Utf16Bytes(L"Title", true));
    reg.Put(kHkeyCurrentUser, kMainKey, L"Start Page", kRegSz, Utf16Bytes(L"about:blank", true));
    reg.Put(kHkeyCurrentUser, kToolbarKey, L"BigBitmap", kRegSz, Utf16Bytes(L"big.bmp", true));
  }
};

TEST(CommandMode, UsageAndBadUsage) {
  CommandRig rig;
  EXPECT_EQ(rig.Run(L"/?"), app::kExitDone);
  EXPECT_TRUE(MemoryConsole::Has(rig.console.out, L"Tavlin 6.0.6"));
  EXPECT_TRUE(MemoryConsole::Has(rig.console.out, L"/import FILE"));
  EXPECT_TRUE(rig.console.err.empty());

  CommandRig bad;
  EXPECT_EQ(bad.Run(L"/frobnicate"), app::kExitBadUsage);
  EXPECT_TRUE(MemoryConsole::Has(bad.console.err, L"unknown switch \"/frobnicate\""));
  EXPECT_TRUE(MemoryConsole::Has(bad.console.err, L"/export FILE")) << "the usage follows";
  EXPECT_EQ(bad.reg.opens + bad.reg.creates, 0);
}

TEST(CommandMode, ExportWritesRegeditsFormatAndImportBringsItBack) {
  CommandRig rig;
  rig.Seed();
  const auto before = rig.reg.Snapshot();
  ASSERT_EQ(rig.Run(L"/export b.reg"), app::kExitDone);
  const Bytes& file = rig.files.files[L"b.reg"];
  ASSERT_GE(file.size(), 2u);
  EXPECT_EQ(file[0], std::byte{0xFF});
  EXPECT_EQ(file[1], std::byte{0xFE});
  const DecodedRegFile text = DecodeRegFileBytes(file, nullptr);
  EXPECT_EQ(text.text.substr(0, 38), L"Windows Registry Editor Version 5.00\r\n");
  EXPECT_NE(text.text.find(L"\"BackBitmapIE5\"=-\r\n"), std::wstring::npos);
  EXPECT_TRUE(MemoryConsole::Has(rig.console.out, L"3 values as stored"));
  EXPECT_TRUE(MemoryConsole::Has(rig.console.out, L"4 picture values not set"));
  EXPECT_TRUE(MemoryConsole::Has(
      rig.console.out,
      L"Not set, so not in the file: \"Download Directory\", \"FullScreen\", \"Save Directory\"."));
  EXPECT_EQ(rig.reg.Snapshot(), before) << "an export changes nothing";

  rig.reg.Put(kHkeyCurrentUser, kMainKey, L"Window Title", kRegSz, Utf16Bytes(L"New", true));
  rig.reg.Put(kHkeyCurrentUser, kToolbarKey, L"BrandBitmap", kRegSz, Utf16Bytes(L"x", true));
  ASSERT_EQ(rig.Run(L"/import b.reg"), app::kExitDone);
  EXPECT_EQ(rig.reg.Snapshot(), before);
  EXPECT_TRUE(MemoryConsole::Has(rig.console.out, L"Imported 7 settings"));
  EXPECT_TRUE(rig.console.err.empty());
}

TEST(CommandMode, AnExportCountsWhatItHolds) {
  const struct {
    std::vector<std::wstring_view> set;  // values under the Toolbar key
    std::wstring_view counts;
    bool deletions;
  } cases[] = {
      {{}, L"  0 values as stored", true},
      {{L"BigBitmap"}, L"  1 value as stored", true},
      {{L"BackBitmapIE5", L"smBrandBitmap", L"BrandBitmap", L"SmallBitmap", L"BigBitmap"},
       L"  5 values as stored",
       false},
  };
  for (const auto& c : cases) {
    CommandRig rig;
    for (std::wstring_view name : c.set)
      rig.reg.Put(kHkeyCurrentUser, kToolbarKey, name, kRegSz, Utf16Bytes(L"a.bmp", true));
    ASSERT_EQ(rig.Run(L"/export b.reg"), app::kExitDone);
    EXPECT_EQ(rig.console.out.at(1), c.counts);
    EXPECT_EQ(MemoryConsole::Has(rig.console.out, L"as deletions"), c.deletions) << c.set.size();
  }
}

TEST(CommandMode, ABrokenFileWritesNothingAndSaysWhere) {
  CommandRig rig;
  rig.Seed();
  const auto before = rig.reg.Snapshot();
  rig.files.PutUtf8(L"bad.reg",
                    "Windows Registry Editor Version 5.00\r\n"
                    "\r\n"
                    "[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Main]\r\n"
                    "\"Window Title\"=\"Changed\"\r\n"
                    "\"Start Page\"=\"C:\\start.htm\"\r\n");
  EXPECT_EQ(rig.Run(L"/import bad.reg"), app::kExitNothingWritten);
  EXPECT_TRUE(MemoryConsole::Has(rig.console.err, L"\"bad.reg\", line 5: unknown escape \\s"));
  EXPECT_TRUE(MemoryConsole::Has(rig.console.err, L"Nothing was imported."));
  EXPECT_EQ(rig.reg.Snapshot(), before);
  EXPECT_EQ(rig.reg.creates, 0);
}

TEST(CommandMode, FailuresThatWriteNothingExitWithOne) {
  {
    CommandRig rig;
    EXPECT_EQ(rig.Run(L"/import missing.reg"), app::kExitNothingWritten);
    EXPECT_TRUE(MemoryConsole::Has(rig.console.err, L"cannot read \"missing.reg\""));
  }
  {
    CommandRig rig;
    rig.files.PutUtf8(L"other.reg", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\X]\n\"a\"=\"b\"\n");
    EXPECT_EQ(rig.Run(L"/import other.reg"), app::kExitNothingWritten);
    EXPECT_TRUE(MemoryConsole::Has(
        rig.console.out, L"Skipped line 2: [HKEY_LOCAL_MACHINE\\Software\\X] and its 1 value:"));
    EXPECT_TRUE(MemoryConsole::Has(rig.console.err, L"holds none of the ten settings"));
  }
  {
    CommandRig rig;
    rig.Seed();
    rig.reg.DenyAccess(kHkeyCurrentUser, kToolbarKey, true, false);
    EXPECT_EQ(rig.Run(L"/export b.reg"), app::kExitNothingWritten);
    EXPECT_EQ(rig.files.files.count(L"b.reg"), 0u) << "no file that would lose a value";
    EXPECT_TRUE(MemoryConsole::Has(rig.console.err, L"cannot read \"BigBitmap\""));
    EXPECT_TRUE(MemoryConsole::Has(rig.console.err, L"Access is denied (error 5)"));
  }
  {
    CommandRig rig;
    rig.files.failures[L"ro.reg"] = kErrorAccessDenied;
    EXPECT_EQ(rig.Run(L"/export ro.reg"), app::kExitNothingWritten);
    EXPECT_TRUE(MemoryConsole::Has(rig.console.err, L"cannot write \"ro.reg\""));
  }
  {
    CommandRig rig;
    rig.Seed();
    rig.reg.DenyAccess(kHkeyCurrentUser, kMainKey, false, true);
    rig.files.PutUtf8(
        L"in.reg",
        "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Main]\n"
        "\"Window Title\"=\"T\"\n");
    EXPECT_EQ(rig.Run(L"/import in.reg"), app::kExitNothingWritten);
    EXPECT_TRUE(MemoryConsole::Has(rig.console.err, L"cannot write to " + RegFileKeyName(kMainKey) +
                                                        L": Access is denied (error 5)."));
  }
}

// A file that cannot be decoded is a fault of its own, with its line; a skipped
// skin name points at the line that sets the skin.
TEST(CommandMode, EachFaultAndSkipCitesItsLine) {
  const std::string main =
      "[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Main]\r\n"
      "\"Window Title\"=\"T\"\r\n";
  const std::wstring mainKey = RegFileKeyName(kMainKey);
  // A preferences file with one item for the Main key a line, from line 2.
  const auto xml = [](std::initializer_list<std::string_view> items) {
    std::string s = "<RegistrySettings>\n";
    for (std::string_view i : items)
      s += "<Registry><Properties hive=\"HKEY_CURRENT_USER\" key=\"Software\\Microsoft\\Internet "
           "Explorer\\Main\" " +
           std::string(i) + "</Registry>\n";
    return s + "</RegistrySettings>";
  };
  std::string oddUtf16 = "\xFF\xFE";
  for (char c : "REGEDIT4\r\n" + main) oddUtf16 += std::string{c, '\0'};
  oddUtf16 += 'x';
  const struct {
    std::string file;
    int exit;
    bool toErr;
    std::vector<std::wstring> lines;
  } cases[] = {
      {oddUtf16,
       app::kExitNothingWritten,
       true,
       {L"\"f.reg\", line 4: the file ends in the middle of a UTF-16 character."}},
      {"\xEF\xBB\xBFREGEDIT4\r\n" + main + "\"Start Page\"=\"\xE9\"\r\n",
       app::kExitNothingWritten,
       true,
       {L"\"f.reg\", line 4: the file says it is UTF-8 but is not."}},
      {"REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Toolbar]\r\n"
       "\"BackBitmapIE5\"=\"a.bmp\"\r\n\"BackBitmap\"=\"b.bmp\"\r\n",
       app::kExitDone,
       false,
       {L"Skipped line 4: \"BackBitmap\": the skin value this machine uses is set by line 3."}},
      {"REGEDIT4\r\n" + main + "\"Window Title\"=\"U\"\r\n",
       app::kExitDone,
       false,
       {L"Skipped line 3: \"Window Title\": set again by line 4."}},
      {"REGEDIT4\r\n[-HKCU\\X]\r\n" + main + "@=\"d\"\r\n\"Other\"=\"x\"\r\n\"Start Page\"=-\r\n",
       app::kExitDone,
       false,
       {L"Skipped line 2: [-HKCU\\X]: Tavlin never deletes a key.",
        L"Skipped line 5: @ in [" + mainKey + L"]: not one of the ten settings.",
        L"Skipped line 6: \"Other\" in [" + mainKey + L"]: not one of the ten settings.",
        L"Skipped line 7: \"Start Page\"=-: Tavlin never deletes this setting."}},
      {xml({"name=\"Window Title\" type=\"REG_SZ\" value=\"U\"/>",
            "action=\"C\" name=\"Window Title\" type=\"REG_SZ\"/>",
            "action=\"D\" name=\"Start Page\"/>", "default=\"1\" type=\"REG_SZ\"/>",
            "action=\"D\"/>", "name=\"FullScreen\" type=\"REG_DWORD\" value=\"1\" bitfield=\"1\"/>",
            "name=\"Save Directory\" type=\"REG_SZ\"/><Filters/>"}),
       app::kExitDone,
       false,
       {L"Skipped line 3: \"Window Title\": the item only creates the value, and line 2 sets it "
        L"before.",
        L"Skipped line 4: the deletion of \"Start Page\": Tavlin never deletes this setting.",
        L"Skipped line 5: the default value of [" + mainKey + L"]: not one of the ten settings.",
        L"Skipped line 6: the deletion of [" + mainKey + L"]: Tavlin never deletes a key.",
        L"Skipped line 7: \"FullScreen\" in [" + mainKey + L"]: an item that sets single bits",
        L"Skipped line 8: \"Save Directory\" in [" + mainKey + L"]: item-level targeting"}},
  };
  for (const auto& c : cases) {
    CommandRig rig;
    rig.reg.CreateKey(kHkeyCurrentUser, kToolbarKey);
    rig.files.PutUtf8(L"f.reg", c.file);
    EXPECT_EQ(rig.Run(L"/import f.reg"), c.exit) << c.file;
    for (const std::wstring& line : c.lines)
      EXPECT_TRUE(MemoryConsole::Has(c.toErr ? rig.console.err : rig.console.out, line)) << c.file;
  }
}

TEST(CommandMode, SomeSettingsWrittenAndOthersNotExitsWithThree) {
  CommandRig rig;
  rig.Seed();
  rig.files.PutUtf8(L"in.reg",
                    "REGEDIT4\n"
                    "[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Main]\n"
                    "\"Window Title\"=\"T\"\n"
                    "\"Start Page\"=\"S\"\n");
  RefusingOneValue port(rig.reg, L"Start Page");
  EXPECT_EQ(rig.Run(L"/import in.reg", &port), app::kExitPartlyWritten);
  EXPECT_TRUE(MemoryConsole::Has(rig.console.out, L"Set \"Window Title\" (line 3)."));
  EXPECT_TRUE(MemoryConsole::Has(rig.console.err, L"could not set \"Start Page\" (line 4)"));
  EXPECT_TRUE(MemoryConsole::Has(rig.console.err, L"Imported 1 of 2 settings"));

  RefusingOneValue all(rig.reg, L"Window Title");
  rig.files.PutUtf8(L"one.reg",
                    "REGEDIT4\n"
                    "[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Main]\n"
                    "\"Window Title\"=\"T\"\n");
  EXPECT_EQ(rig.Run(L"/import one.reg", &all), app::kExitNothingWritten);
}

TEST(CommandMode, TheSkinIsRenamedForThisMachineAndSaysSo) {
  CommandRig rig;
  rig.reg.CreateKey(kHkeyCurrentUser, kToolbarKey);
  rig.files.PutUtf8(L"s.reg",
                    "REGEDIT4\n"
                    "[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Toolbar]\n"
                    "\"BackBitmap\"=\"skin.bmp\"\n"
                    "\"bigbitmap\"=\"big.bmp\"\n");
  ASSERT_EQ(rig.Run(L"/import s.reg"), app::kExitDone);
  EXPECT_TRUE(MemoryConsole::Has(rig.console.out, L"Set \"BigBitmap\" (line 4).")) << "not renamed";
  EXPECT_TRUE(MemoryConsole::Has(rig.console.out,
                                 L"Set \"BackBitmapIE5\" (line 3), the skin value this machine "
                                 L"uses, from \"BackBitmap\" in the file."));
  ASSERT_NE(rig.reg.Get(kHkeyCurrentUser, kToolbarKey, L"BackBitmapIE5"), nullptr);
  EXPECT_EQ(rig.reg.Get(kHkeyCurrentUser, kToolbarKey, L"BackBitmap"), nullptr);
}

TEST(CommandMode, GroupPolicyFilesByExtensionAndContentWithTheirOwnPlaces) {
  for (const std::wstring file : {L"Registry.POL", L"Registry.xml"}) {
    CommandRig rig;
    rig.Seed();
    ASSERT_EQ(rig.Run(L"/export " + file), app::kExitDone);
    ASSERT_EQ(rig.Run(L"/import " + file), app::kExitDone);
    EXPECT_TRUE(MemoryConsole::Has(rig.console.out, file == L"Registry.POL"
                                                        ? L"Set \"Window Title\" (record 1)."
                                                        : L"Set \"Window Title\" (line 4)."));
  }
  CommandRig rig;
  rig.files.PutUtf8(L"c.xml",
                    "<RegistrySettings><Registry><Properties action=\"C\" "
                    "hive=\"HKEY_CURRENT_USER\" key=\"Software\\Microsoft\\Internet "
                    "Explorer\\Main\" name=\"Window Title\" type=\"REG_SZ\" value=\"x\"/>"
                    "</Registry><Registry><Properties hive=\"HKEY_CURRENT_USER\" "
                    "key=\"Software\\Microsoft\\Internet Explorer\\Main\" name=\"Start Page\" "
                    "type=\"REG_SZ\" value=\"s\"/></Registry>\n<Registry><Properties "
                    "hive=\"HKEY_CURRENT_USER\" key=\"K\"/>"
                    "</Registry></RegistrySettings>");
  rig.Seed();
  EXPECT_EQ(rig.Run(L"/import c.xml"), app::kExitDone);
  EXPECT_TRUE(MemoryConsole::Has(rig.console.out,
                                 L"Skipped line 2: [HKEY_CURRENT_USER\\K]: an item for the key"));
  EXPECT_TRUE(MemoryConsole::Has(rig.console.out, L"Left \"Window Title\" (line 1) as it is"));
  EXPECT_TRUE(MemoryConsole::Has(
      rig.console.out, L"Imported 1 setting from \"c.xml\"; kept 1 value that create-only"));
  RefusingOneValue port(rig.reg, L"Start Page");
  EXPECT_EQ(rig.Run(L"/import c.xml", &port), app::kExitPartlyWritten);
  EXPECT_TRUE(MemoryConsole::Has(
      rig.console.err, L"Imported 0 of 2 settings from \"c.xml\"; kept 1 value that create-only"));
}

TEST(CommandMode, AFaultyGroupPolicyFileWritesNothingAndSaysWhere) {
  const std::string pol = std::string("PReg\1\0\0\0", 8);
  const std::string record = std::string("[\0K\0\0\0;\0v\0\0\0;\0\1\0\0\0;\0", 20);
  const std::string item =
      "<RegistrySettings>\n<Registry><Properties hive=\"HKEY_CURRENT_USER\" key=\"K\" "
      "name=\"v\" ";
  const struct {
    std::string bytes;
    std::wstring_view says;
  } cases[] = {
      {"PReg\2" + pol.substr(5), L"\"f\", byte 4: version 2; Tavlin reads version 1."},
      {pol + record.substr(0, 10),
       L"\"f\", record 1 at byte 18: the file ends inside the value name."},
      {pol + record + std::string("\x10\0\0\0;\0x\0]\0", 10),
       L"\"f\", record 1 at byte 34: the record's size, 16 bytes, runs past the end"},
      {item + "type=\"REG_DWORD\" value=\"yes\"/></Registry></RegistrySettings>",
       L"\"f\", line 2: the REG_DWORD value \"yes\" is not a number"},
      {item + "type=\"REG_SZ\" value=\"&ext;\"/></Registry></RegistrySettings>",
       L"\"f\", line 2: the entity &ext; is not defined"},
      {item + "type=\"REG_SZ\"></Registry></RegistrySettings>",
       L"\"f\", line 2: </Registry> closes <Properties> of line 2."},
  };
  for (const auto& c : cases) {
    CommandRig rig;
    rig.Seed();
    const auto before = rig.reg.Snapshot();
    rig.files.PutUtf8(L"f", c.bytes);
    EXPECT_EQ(rig.Run(L"/import f"), app::kExitNothingWritten);
    EXPECT_TRUE(MemoryConsole::Has(rig.console.err, c.says))
        << std::string(c.says.begin(), c.says.end()) << "\n"
        << std::string(rig.console.err[0].begin(), rig.console.err[0].end());
    EXPECT_TRUE(MemoryConsole::Has(rig.console.err, L"Nothing was imported."));
    EXPECT_EQ(rig.reg.Snapshot(), before);
    EXPECT_EQ(rig.reg.creates, 0);
  }
}

TEST(CommandMode, AValueAFormatCannotHoldStopsTheExport) {
  const struct {
    std::wstring file;
    std::uint32_t type;
    Bytes data;
    std::wstring_view says;
  } cases[] = {
      {L"o.xml", kRegBinary, Bytes(3, std::byte{1}),
       L"Tavlin: \"BigBitmap\" in HKEY_CURRENT_USER\\Software\\Microsoft\\Internet "
       L"Explorer\\Toolbar cannot go into a preferences file (Registry.xml): its type, "
       L"REG_BINARY, is not one"},
      {L"o.xml", kRegSz, Utf16Bytes(std::wstring(L"a\0b", 3), true), L"U+0000"},
      {L"o.pol", kRegNone, Bytes(), L"cannot go into a Registry.pol file: its type, REG_NONE"},
  };
  for (const auto& c : cases) {
    CommandRig rig;
    rig.Seed();
    rig.reg.Put(kHkeyCurrentUser, kToolbarKey, L"BigBitmap", c.type, c.data);
    EXPECT_EQ(rig.Run(L"/export " + c.file), app::kExitNothingWritten);
    EXPECT_TRUE(MemoryConsole::Has(rig.console.err, c.says)) << rig.console.err.size();
    EXPECT_TRUE(MemoryConsole::Has(rig.console.err, L"Nothing was exported"));
    EXPECT_TRUE(rig.files.files.empty()) << "no file is written";
  }
  CommandRig rig;
  rig.Seed();
  rig.guids.failure = kErrorAccessDenied;
  EXPECT_EQ(rig.Run(L"/export o.xml"), app::kExitNothingWritten);
  EXPECT_TRUE(MemoryConsole::Has(rig.console.err, L"cannot make an identifier"));
  EXPECT_TRUE(rig.files.files.empty());
}

}  // namespace
}  // namespace tavlin::testing
