// Export and import of the ten settings against the in-memory registry: what
// an export holds, which entries of a file an import applies, and that a file
// brings back exactly the state it was exported from.
#include <gtest/gtest.h>

#include "settings/catalogue.h"
#include "settings/transfer.h"
#include "support/memory_registry.h"

namespace tavlin::testing {
namespace {

using namespace settings;

const AnsiDecoder kNoAnsi;

struct Rig {
  MemoryRegistry reg;
  void Put(std::wstring_view key, std::wstring_view name, std::uint32_t type, Bytes data) {
    reg.Put(kHkeyCurrentUser, key, name, type, std::move(data));
  }
  const StoredValue* Get(std::wstring_view key, std::wstring_view name) const {
    return reg.Get(kHkeyCurrentUser, key, name);
  }
  // Every catalogue value set, some of them in shapes the window cannot show.
  void SeedOddState() {
    Put(kMainKey, L"Window Title", kRegSz, Utf16Bytes(L"Title \"q\" \\ \x00E9", true));
    Put(kBrowserKey, L"Download Directory", kRegSz, Utf16Bytes(L"C:\\dl", false));  // no NUL
    Put(kMainKey, L"Start Page", kRegExpandSz, Utf16Bytes(L"%HOMEDRIVE%\\start.htm", true));
    Put(kMainKey, L"FullScreen", kRegDword, DwordBytes(1));
    Put(kMainKey, L"Save Directory", kRegSz, Utf16Bytes(std::wstring(L"C:\\s\0hidden", 11), true));
    Put(kToolbarKey, L"BackBitmapIE5", kRegSz, Utf16Bytes(L"skin.bmp", true));
    Put(kToolbarKey, L"BackBitmap", kRegSz, Utf16Bytes(L"old-name skin.bmp", true));
    Put(kToolbarKey, L"smBrandBitmap", kRegBinary, Bytes{std::byte{1}, std::byte{2}});
    Put(kToolbarKey, L"BigBitmap", kRegSz, Bytes{std::byte{'a'}, std::byte{0}, std::byte{'b'}});
    // BrandBitmap and SmallBitmap are not set.
    Put(kMainKey, L"Unrelated", kRegSz, Utf16Bytes(L"keep", true));
  }
};

RegFile ThroughTheFile(const std::vector<RegFileKey>& keys) {
  const DecodedRegFile d = DecodeRegFileBytes(EncodeUtf16LeWithBom(FormatRegFile(keys)), kNoAnsi);
  EXPECT_FALSE(d.problem);
  RegFile f = ParseRegFile(d.text, kNoAnsi);
  EXPECT_FALSE(f.problem);
  return f;
}

RegFile Parse(std::wstring_view body) {
  RegFile f =
      ParseRegFile(L"Windows Registry Editor Version 5.00\r\n\r\n" + std::wstring(body), kNoAnsi);
  EXPECT_FALSE(f.problem) << (f.problem ? f.problem->line : 0);
  return f;
}

TEST(Export, HoldsStoredBytesAndDeletionsForMissingPictures) {
  Rig rig;
  rig.SeedOddState();
  rig.reg.Put(kHkeyCurrentUser, kMainKey, L"Save Directory", kRegSz, Utf16Bytes(L"x", true));
  rig.reg.Put(kHkeyCurrentUser, kBrowserKey, L"Download Directory", kRegSz, Bytes());
  const SettingsExport out = CollectExport(rig.reg, L"BackBitmapIE5");
  EXPECT_TRUE(out.failures.empty());
  ASSERT_EQ(out.keys.size(), 3u);
  EXPECT_EQ(out.keys[0].name, L"HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer");
  EXPECT_EQ(out.keys[1].name, L"HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Main");
  EXPECT_EQ(out.keys[2].name,
            L"HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Toolbar");
  EXPECT_EQ(out.values, 8);
  EXPECT_EQ(out.removals, 2);
  EXPECT_TRUE(out.notSet.empty());

  std::vector<std::wstring> toolbar;
  for (const RegFileValue& v : out.keys[2].values) {
    toolbar.push_back(v.name + (v.remove ? L"=-" : L""));
    if (v.remove) continue;
    const StoredValue* stored = rig.Get(kToolbarKey, v.name);
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(v.type, stored->type) << "as stored, whatever the type";
    EXPECT_EQ(v.data, stored->data);
  }
  EXPECT_EQ(toolbar, (std::vector<std::wstring>{L"BackBitmapIE5", L"smBrandBitmap",
                                                L"BrandBitmap=-", L"SmallBitmap=-", L"BigBitmap"}))
      << "the skin under this machine's name only; the other name is not the program's";
  EXPECT_EQ(out.keys[0].values[0].data, Bytes()) << "a value of zero bytes is still a value";
  for (const RegFileValue& v : out.keys[1].values) EXPECT_NE(v.name, L"Unrelated");
}

TEST(Export, PlainValuesThatAreNotSetAreLeftOutAndMissingKeysMeanDeletions) {
  Rig rig;
  rig.reg.CreateKey(kHkeyCurrentUser, kMainKey);
  rig.Put(kMainKey, L"Start Page", kRegSz, Utf16Bytes(L"about:blank", true));
  const SettingsExport out = CollectExport(rig.reg, L"BackBitmap");
  EXPECT_TRUE(out.failures.empty());
  EXPECT_EQ(out.values, 1);
  EXPECT_EQ(out.removals, 5);
  EXPECT_EQ(out.notSet, (std::vector<std::wstring_view>{L"Download Directory", L"Window Title",
                                                        L"FullScreen", L"Save Directory"}));
  ASSERT_EQ(out.keys.size(), 2u) << "no section for a key with nothing to say";
  EXPECT_EQ(out.keys[1].values[0].name, L"BackBitmap");
  EXPECT_TRUE(out.keys[1].values[0].remove);
}

TEST(Export, AValueThatCannotBeReadIsAFailureNotADeletion) {
  Rig rig;
  rig.SeedOddState();
  rig.reg.DenyAccess(kHkeyCurrentUser, kToolbarKey, /*read=*/true, /*write=*/false);
  const SettingsExport out = CollectExport(rig.reg, L"BackBitmapIE5");
  ASSERT_EQ(out.failures.size(), 5u);
  EXPECT_EQ(out.failures[0].status, kErrorAccessDenied);
  EXPECT_EQ(out.failures[0].valueName, L"BackBitmapIE5");
  for (const RegFileKey& k : out.keys)
    for (const RegFileValue& v : k.values) EXPECT_FALSE(v.remove) << v.name;

  // A value that keeps changing while it is read fails the same way.
  Rig busy;
  busy.SeedOddState();
  std::size_t n = 1;
  busy.reg.beforeDataQuery = [&](MemoryRegistry& r) {
    r.Put(kHkeyCurrentUser, kToolbarKey, L"BigBitmap", kRegSz,
          Utf16Bytes(std::wstring(n *= 2, L'x'), true));
  };
  const SettingsExport changing = CollectExport(busy.reg, L"BackBitmapIE5");
  EXPECT_FALSE(changing.failures.empty());
  EXPECT_EQ(busy.reg.OpenHandles(), 0u);
}

TEST(Export, AValueThatShrinksWhileItIsReadHoldsWhatWasRead) {
  Rig rig;
  rig.Put(kToolbarKey, L"BigBitmap", kRegSz, Utf16Bytes(L"C:\\a longer name.bmp", true));
  rig.reg.beforeDataQuery = [](MemoryRegistry& r) {
    r.Put(kHkeyCurrentUser, kToolbarKey, L"BigBitmap", kRegSz, Utf16Bytes(L"b.bmp", true));
  };
  const SettingsExport out = CollectExport(rig.reg, L"BackBitmapIE5");
  ASSERT_FALSE(out.keys.empty());
  EXPECT_EQ(out.keys.back().values.back().name, L"BigBitmap");
  EXPECT_EQ(out.keys.back().values.back().data, Utf16Bytes(L"b.bmp", true));
}

TEST(Import, ExportChangeImportGivesBackTheFirstStateByteForByte) {
  Rig rig;
  rig.SeedOddState();
  const auto before = rig.reg.Snapshot();
  const RegFile file = ThroughTheFile(CollectExport(rig.reg, L"BackBitmapIE5").keys);

  // Values changed, as Apply would leave them, and a picture set that was not.
  rig.Put(kMainKey, L"Window Title", kRegSz, Utf16Bytes(L"other", true));
  rig.Put(kMainKey, L"FullScreen", kRegSz, Utf16Bytes(L"yes", true));
  rig.Put(kBrowserKey, L"Download Directory", kRegSz, Utf16Bytes(L"D:\\", true));
  rig.Put(kToolbarKey, L"BrandBitmap", kRegSz, Utf16Bytes(L"new.bmp", true));
  rig.Put(kToolbarKey, L"BackBitmapIE5", kRegSz, Utf16Bytes(L"new skin.bmp", true));

  const ImportPlan plan = PlanImport(file, L"BackBitmapIE5");
  EXPECT_TRUE(plan.skipped.empty());
  ASSERT_EQ(plan.steps.size(), 10u);
  const ImportOutcome outcome = ApplyImport(rig.reg, plan);
  EXPECT_EQ(outcome.refusal, 0);
  EXPECT_EQ(outcome.results, std::vector<long>(10, 0));
  EXPECT_EQ(rig.reg.Snapshot(), before);
  EXPECT_EQ(rig.reg.OpenHandles(), 0u);
}

TEST(Import, MissingKeysAreCreatedForValuesOnly) {
  Rig rig;
  const ImportPlan plan = PlanImport(Parse(L"[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet "
                                           L"Explorer\\Toolbar]\r\n"
                                           L"\"BigBitmap\"=\"big.bmp\"\r\n"
                                           L"[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet "
                                           L"Explorer\\Main]\r\n"
                                           L"\"Window Title\"=-\r\n"),
                                     L"BackBitmapIE5");
  ASSERT_EQ(plan.steps.size(), 1u);
  ApplyImport(rig.reg, plan);
  ASSERT_NE(rig.Get(kToolbarKey, L"BigBitmap"), nullptr);
  EXPECT_EQ(rig.Get(kToolbarKey, L"BigBitmap")->data, Utf16Bytes(L"big.bmp", true));
  EXPECT_TRUE(rig.reg.HasKey(kHkeyCurrentUser, L"Software\\Microsoft\\Internet Explorer"));
  EXPECT_FALSE(rig.reg.HasKey(kHkeyCurrentUser, kMainKey)) << "a skipped deletion creates nothing";

  // Removing a picture value from a key that is not there is done, not a failure.
  const ImportPlan removal = PlanImport(
      Parse(L"[HKCU\\Software\\Microsoft\\Internet Explorer\\Toolbar]\r\n\"BigBitmap\"=-\r\n"),
      L"BackBitmapIE5");
  Rig empty;
  EXPECT_EQ(ApplyImport(empty.reg, removal).results, std::vector<long>{0});
  EXPECT_EQ(empty.reg.creates, 0);
}

TEST(Import, OnlyTheTenSettingsAreEverApplied) {
  const RegFile file = Parse(
      L"[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Internet Explorer\\Main]\r\n"     // 3
      L"\"Start Page\"=\"http://machine/\"\r\n"                                     // 4
      L"[HKEY_CURRENT_USER\\Software\\Other]\r\n"                                   // 5
      L"\"Start Page\"=\"x\"\r\n"                                                   // 6
      L"\"y\"=dword:1\r\n"                                                          // 7
      L"[-HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Toolbar]\r\n"  // 8
      L"[hkcu\\software\\microsoft\\internet explorer\\MAIN]\r\n"                   // 9
      L"@=\"default\"\r\n"                                                          // 10
      L"\"Search Page\"=\"x\"\r\n"                                                  // 11
      L"\"window title\"=\"T\"\r\n"                                                 // 12
      L"\"Start Page\"=-\r\n"                                                       // 13
      L"\"Start Page\"=\"first\"\r\n"                                               // 14
      L"\"Start Page\"=\"second\"\r\n"                                              // 15
      L"[HKCU\\Software\\Microsoft\\Internet Explorer\\Main\\Sub]\r\n"              // 16
      L"\"FullScreen\"=\"yes\"\r\n"                                                 // 17
      L"[HKCU\\Software\\Microsoft\\Internet Explorer\\Toolbar]\r\n"                // 18
      L"\"SmallBitmap\"=-\r\n"                                                      // 19
      L"\"BigBitmap\"=hex(2):41,00,00,00\r\n");                                     // 20
  const ImportPlan plan = PlanImport(file, L"BackBitmapIE5");

  const struct {
    std::size_t line;
    SkipReason reason;
    std::size_t usedLine;
  } skips[] = {
      {3, SkipReason::ForeignKey, 0},    {5, SkipReason::ForeignKey, 0},
      {8, SkipReason::KeyRemoval, 0},    {10, SkipReason::DefaultValue, 0},
      {11, SkipReason::ForeignValue, 0}, {13, SkipReason::PlainRemoval, 0},
      {14, SkipReason::Superseded, 15},  {16, SkipReason::ForeignKey, 0},
  };
  ASSERT_EQ(plan.skipped.size(), std::size(skips));
  for (std::size_t i = 0; i < std::size(skips); ++i) {
    EXPECT_EQ(plan.skipped[i].line, skips[i].line) << i;
    EXPECT_EQ(plan.skipped[i].reason, skips[i].reason) << i;
    EXPECT_EQ(plan.skipped[i].usedLine, skips[i].usedLine) << i;
  }
  EXPECT_EQ(plan.skipped[1].values, 2u);

  ASSERT_EQ(plan.steps.size(), 4u);
  EXPECT_EQ(plan.steps[0].valueName, L"Window Title") << "stored under the program's spelling";
  EXPECT_EQ(plan.steps[1].valueName, L"Start Page");
  EXPECT_EQ(plan.steps[1].data, Utf16Bytes(L"second", true));
  EXPECT_EQ(plan.steps[2].valueName, L"SmallBitmap");
  EXPECT_TRUE(plan.steps[2].remove);
  EXPECT_EQ(plan.steps[3].type, kRegExpandSz);

  // Applied to a registry with other values in the same keys and elsewhere:
  // nothing but the four settings changes.
  Rig rig;
  rig.SeedOddState();
  rig.Put(L"Software\\Other", L"y", kRegSz, Utf16Bytes(L"kept", true));
  rig.Put(L"Software\\Microsoft\\Internet Explorer\\Main\\Sub", L"FullScreen", kRegSz,
          Utf16Bytes(L"kept", true));
  rig.Put(kMainKey, L"", kRegSz, Utf16Bytes(L"kept", true));
  auto expected = rig.reg.Snapshot();
  ApplyImport(rig.reg, plan);
  auto after = rig.reg.Snapshot();
  const auto main = L"2147483649\\software\\microsoft\\internet explorer\\main";
  const auto toolbar = L"2147483649\\software\\microsoft\\internet explorer\\toolbar";
  expected[main][L"window title"] = StoredValue{kRegSz, Utf16Bytes(L"T", true)};
  expected[main][L"start page"] = StoredValue{kRegSz, Utf16Bytes(L"second", true)};
  expected[toolbar].erase(L"smallbitmap");
  expected[toolbar][L"bigbitmap"] = StoredValue{kRegExpandSz, Utf16Bytes(L"A", true)};
  EXPECT_EQ(after, expected);
}

TEST(Import, TheSkinGoesUnderThisMachinesNameWhicheverTheFileUses) {
  const std::wstring key = L"[HKCU\\Software\\Microsoft\\Internet Explorer\\Toolbar]\r\n";
  const struct {
    std::wstring values;  // from line 4
    std::wstring_view machine;
    std::wstring stored;  // the text stored under the machine's name; empty: removed
    std::wstring fileName;
    std::vector<std::size_t> skippedLines;
  } cases[] = {
      {L"\"BackBitmap\"=\"old.bmp\"\r\n", L"BackBitmapIE5", L"old.bmp", L"BackBitmap", {}},
      {L"\"BackBitmapIE5\"=\"new.bmp\"\r\n", L"BackBitmap", L"new.bmp", L"BackBitmapIE5", {}},
      {L"\"BackBitmapIE5\"=\"new.bmp\"\r\n\"BackBitmap\"=\"old.bmp\"\r\n",
       L"BackBitmapIE5",
       L"new.bmp",
       L"BackBitmapIE5",
       {5}},
      {L"\"BackBitmap\"=\"old.bmp\"\r\n\"BackBitmapIE5\"=\"new.bmp\"\r\n",
       L"BackBitmapIE5",
       L"new.bmp",
       L"BackBitmapIE5",
       {4}},
      {L"\"BackBitmapIE5\"=\"new.bmp\"\r\n\"BackBitmap\"=\"old.bmp\"\r\n",
       L"BackBitmap",
       L"old.bmp",
       L"BackBitmap",
       {4}},
      {L"\"backbitmap\"=-\r\n", L"BackBitmapIE5", L"", L"backbitmap", {}},
      {L"\"BackBitmap\"=\"first.bmp\"\r\n\"BackBitmap\"=\"second.bmp\"\r\n",
       L"BackBitmapIE5",
       L"second.bmp",
       L"BackBitmap",
       {4}},
  };
  for (const auto& c : cases) {
    const ImportPlan plan = PlanImport(Parse(key + c.values), c.machine);
    ASSERT_EQ(plan.steps.size(), 1u);
    EXPECT_EQ(plan.steps[0].valueName, c.machine);
    EXPECT_EQ(plan.steps[0].fileName, c.fileName);
    std::vector<std::size_t> skipped;
    for (const ImportSkip& s : plan.skipped) skipped.push_back(s.line);
    EXPECT_EQ(skipped, c.skippedLines);

    Rig rig;
    rig.Put(kToolbarKey, L"BackBitmapIE5", kRegSz, Utf16Bytes(L"was5", true));
    rig.Put(kToolbarKey, L"BackBitmap", kRegSz, Utf16Bytes(L"was", true));
    ApplyImport(rig.reg, plan);
    const std::wstring_view other = c.machine == L"BackBitmap" ? L"BackBitmapIE5" : L"BackBitmap";
    const StoredValue* stored = rig.Get(kToolbarKey, c.machine);
    if (c.stored.empty()) {
      EXPECT_EQ(stored, nullptr);
    } else {
      ASSERT_NE(stored, nullptr);
      EXPECT_EQ(stored->data, Utf16Bytes(c.stored, true));
    }
    EXPECT_NE(rig.Get(kToolbarKey, other), nullptr) << "the other name is never touched";
  }
}

TEST(Import, AKeyThatCannotBeWrittenStopsTheImportBeforeAnyWrite) {
  Rig rig;
  rig.SeedOddState();
  rig.reg.DenyAccess(kHkeyCurrentUser, kToolbarKey, false, true);
  const auto before = rig.reg.Snapshot();
  const ImportPlan plan =
      PlanImport(Parse(L"[HKCU\\Software\\Microsoft\\Internet Explorer\\Main]\r\n"
                       L"\"Window Title\"=\"T\"\r\n"
                       L"[HKCU\\Software\\Microsoft\\Internet Explorer\\Toolbar]\r\n"
                       L"\"BigBitmap\"=-\r\n"),
                 L"BackBitmapIE5");
  const ImportOutcome outcome = ApplyImport(rig.reg, plan);
  EXPECT_EQ(outcome.refusal, kErrorAccessDenied);
  EXPECT_EQ(outcome.refusedKey, kToolbarKey);
  EXPECT_TRUE(outcome.results.empty());
  EXPECT_EQ(rig.reg.Snapshot(), before);
  EXPECT_EQ(rig.reg.OpenHandles(), 0u);
}

}  // namespace
}  // namespace tavlin::testing

namespace tavlin::testing {
namespace {

std::span<const std::byte> AsBytes(std::string_view s) {
  return {reinterpret_cast<const std::byte*>(s.data()), s.size()};
}

TEST(Formats, ExportByExtensionImportByContent) {
  const struct {
    std::wstring_view path;
    FileFormat format;
  } names[] = {{L"a.XML", FileFormat::Xml},       {L"\\\\s\\GPO\\Registry.pol", FileFormat::Pol},
               {L"a.reg", FileFormat::Reg},       {L"noext", FileFormat::Reg},
               {L"d.xml\\file", FileFormat::Reg}, {L"a.xml.reg", FileFormat::Reg}};
  for (const auto& n : names) EXPECT_EQ(ExportFormatFor(n.path), n.format);

  const struct {
    std::string_view bytes;
    FileFormat format;
  } contents[] = {
      {std::string_view("PReg\1\0\0\0", 8), FileFormat::Pol},
      {"\xEF\xBB\xBF<RegistrySettings/>", FileFormat::Xml},
      {"\r\n  <?xml version=\"1.0\"?><RegistrySettings/>", FileFormat::Xml},
      {"REGEDIT4\r\n", FileFormat::Reg},
      {"\xFF\xFER\0E\0", FileFormat::Reg},
      {std::string_view("\xFF\xFE<\0", 4), FileFormat::Xml},  // read as XML, to say it is UTF-16
      {std::string_view("\xFE\xFF\0<", 4), FileFormat::Xml},
      {"PRe", FileFormat::Reg},
  };
  for (const auto& c : contents) {
    const ImportFile in = ReadImportFile(AsBytes(c.bytes), kNoAnsi);
    EXPECT_EQ(in.format, c.format) << c.bytes;
  }
}

TEST(Formats, WhatOnlyGroupPolicyFilesSayIsSetAsideOrKeptToItsMeaning) {
  const std::string item = "<Registry><Properties hive=\"HKEY_CURRENT_USER\" ";
  const std::string main = "key=\"Software\\Microsoft\\Internet Explorer\\Main\" ";
  const std::string toolbar = "key=\"Software\\Microsoft\\Internet Explorer\\Toolbar\" ";
  const ImportFile in = ReadImportFile(
      AsBytes("<RegistrySettings>\n" +  // 1
              item + main +
              "action=\"C\" name=\"Window Title\" type=\"REG_SZ\" value=\"C\"/>"
              "</Registry>\n" +  // 2
              item +
              main +
              "action=\"C\" name=\"Start Page\" type=\"REG_SZ\" value=\"new\"/>"
              "</Registry>\n" +  // 3
              item +
              main + "action=\"R\" name=\"FullScreen\" type=\"REG_BINARY\"/></Registry>\n" + item +
              main + "action=\"D\"/></Registry>\n" +         // 5
              item + main + "action=\"U\"/></Registry>\n" +  // 6
              "<Registry disabled=\"1\"><Properties hive=\"HKEY_CURRENT_USER\" " + main +
              "name=\"Save Directory\" type=\"REG_SZ\"/><Filters/></Registry>\n" +  // 7
              item + main +
              "action=\"U\" name=\"Save Directory\" type=\"REG_SZ\" value=\"U\"/>"
              "</Registry>\n" +  // 8
              item +
              main +
              "action=\"C\" name=\"Save Directory\" type=\"REG_SZ\" value=\"C\"/>"
              "</Registry>\n" +  // 9: finds the value line 8 stores
              item +
              toolbar + "action=\"D\" name=\"BigBitmap\"/></Registry>\n" +  // 10
              item + toolbar +
              "action=\"C\" name=\"BigBitmap\" type=\"REG_SZ\" value=\"C\"/></Registry>\n" +  // 11
              "</RegistrySettings>"),
      kNoAnsi);
  ASSERT_FALSE(in.fault);
  Rig rig;
  rig.Put(kMainKey, L"Window Title", kRegSz, Utf16Bytes(L"kept", true));
  rig.Put(kToolbarKey, L"BigBitmap", kRegSz, Utf16Bytes(L"old.bmp", true));
  const ImportPlan plan = PlanImport(in.entries, L"BackBitmapIE5", in.setAside);
  std::vector<std::pair<std::size_t, SkipReason>> skipped;
  for (const ImportSkip& s : plan.skipped) skipped.emplace_back(s.line, s.reason);
  EXPECT_EQ(skipped,
            (std::vector<std::pair<std::size_t, SkipReason>>{{4, SkipReason::NotApplied},
                                                             {5, SkipReason::KeyRemoval},
                                                             {6, SkipReason::NotApplied},
                                                             {7, SkipReason::NotApplied},
                                                             {9, SkipReason::CreatedBefore},
                                                             {10, SkipReason::Superseded}}));
  EXPECT_EQ(plan.skipped[3].detail, L"the item is switched off in the file");
  ASSERT_EQ(plan.steps.size(), 4u);
  const ImportOutcome outcome = ApplyImport(rig.reg, plan);
  EXPECT_EQ(outcome.results, (std::vector<long>{0, 0, 0, 0}));
  EXPECT_EQ(outcome.kept, (std::vector<bool>{true, false, false, false}))
      << "Create leaves a value that is there";
  EXPECT_EQ(rig.Get(kMainKey, L"Save Directory")->data, Utf16Bytes(L"U", true));
  EXPECT_EQ(rig.Get(kMainKey, L"Window Title")->data, Utf16Bytes(L"kept", true));
  EXPECT_EQ(rig.Get(kMainKey, L"Start Page")->data, Utf16Bytes(L"new", true));
  EXPECT_EQ(rig.Get(kToolbarKey, L"BigBitmap")->data, Utf16Bytes(L"C", true))
      << "a Create after a deletion stores its value";

  // A Registry.pol's instructions other than **del. are set aside; its keys are the user's.
  Bytes pol = Bytes{std::byte{'P'}, std::byte{'R'}, std::byte{'e'}, std::byte{'g'}} + DwordBytes(1);
  const auto record = [&](std::wstring_view name, const Bytes& data) {
    pol += Utf16Bytes(L"[Software\\Microsoft\\Internet Explorer\\Toolbar", true) +
           Utf16Bytes(L";", false) + Utf16Bytes(name, true) + Utf16Bytes(L";", false) +
           DwordBytes(kRegSz) + Utf16Bytes(L";", false) +
           DwordBytes(static_cast<std::uint32_t>(data.size())) + Utf16Bytes(L";", false) + data +
           Utf16Bytes(L"]", false);
  };
  record(L"**delvals.", Utf16Bytes(L" ", true));
  record(L"**soft.BigBitmap", Utf16Bytes(L"x", true));
  record(L"**DEL.smBrandBitmap", Utf16Bytes(L" ", true));
  record(L"BigBitmap", Utf16Bytes(L"big.bmp", true));
  const ImportFile fromPol = ReadImportFile(pol, kNoAnsi);
  const ImportPlan polPlan = PlanImport(fromPol.entries, L"BackBitmapIE5", fromPol.setAside);
  ASSERT_EQ(polPlan.skipped.size(), 2u);
  EXPECT_EQ(polPlan.skipped[1].line, 2u);
  EXPECT_EQ(polPlan.skipped[1].valueName, L"**soft.BigBitmap");
  ASSERT_EQ(polPlan.steps.size(), 2u);
  EXPECT_TRUE(polPlan.steps[0].remove);
  EXPECT_EQ(polPlan.steps[0].valueName, L"smBrandBitmap");
  EXPECT_EQ(polPlan.steps[1].line, 4u);
}

}  // namespace
}  // namespace tavlin::testing
