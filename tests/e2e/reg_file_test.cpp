// tavlin.exe /export, /import and /? under Wine: the program runs without its
// window, prints to the handles it was given and ends with its exit code; the
// .reg files it writes are read by Wine's own reg.exe, the Group Policy files
// are left with what they should hold for the test command's checker
// (tests/gpo/check_gpo_files.py), and what it imports is checked in the raw
// registry.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>

#include "common/text.h"
#include "common/win32_handles.h"
#include "settings/catalogue.h"
#include "settings/version.h"
#include "settings/version_win32.h"
#include "support/driver_win32.h"

namespace tavlin::testing {
namespace {

using namespace settings;

const std::wstring kMain(kMainKey), kBrowser(kBrowserKey), kToolbar(kToolbarKey);
const std::wstring kForeign = L"Software\\TavlinForeign";
const std::wstring kForeignDeleted = L"Software\\TavlinForeignDeleted";

std::wstring SkinName() {
  Win32Version v;
  return std::wstring(SkinValueNameFor(GetIEVersion(v)));
}

std::wstring OtherSkinName() {
  return SkinName() == L"BackBitmapIE5" ? L"BackBitmap" : L"BackBitmapIE5";
}

// The eleven values of the catalogue as "key|name" (the skin under this
// machine's name), and everything under the three browser keys.
std::vector<std::pair<std::wstring, std::wstring>> CatalogueValues() {
  std::vector<std::pair<std::wstring, std::wstring>> out;
  for (const SettingEntry& e : kSettings)
    out.emplace_back(std::wstring(e.key), std::wstring(ValueNameOf(e, SkinName())));
  return out;
}
std::map<std::wstring, StoredValue> BrowserKeys() {
  return RegSnapshot({kMain, kBrowser, kToolbar, kForeign, kForeignDeleted});
}

std::wstring TempFile(const std::wstring& name) {
  std::wstring dir(MAX_PATH + 1, L'\0');
  dir.resize(GetTempPathW(static_cast<DWORD>(dir.size()), dir.data()));
  return dir + L"tavlin-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" + name;
}

// Wine's helper processes can inherit the handles given to tavlin.exe and
// keep them open after it ends, so these files are shared every way.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::string ReadAll(const std::wstring& path) {
  const UniqueHandle file = OwnFile(
      CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr));
  std::string text;
  if (!file) return text;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
    text.append(buffer, got);
  return text;
}

void WriteAll(const std::wstring& path, std::string_view bytes) {
  const UniqueHandle file =
      OwnFile(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD wrote = 0;
  ASSERT_TRUE(file);
  ASSERT_TRUE(
      WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr));
}

struct Outcome {
  DWORD code = 0xDEAD;
  std::string out, err;  // UTF-8, as written to redirected handles
};

// Runs tavlin.exe with its output and errors sent to files. A switch must
// never open the window: the program has to end by itself.
Outcome RunTavlin(const std::wstring& args) {
  Outcome o;
  static int run = 0;
  const std::wstring serial = std::to_wstring(++run);
  const std::wstring outPath = TempFile(serial + L"-stdout.txt");
  const std::wstring errPath = TempFile(serial + L"-stderr.txt");
  {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const UniqueHandle out = OwnFile(CreateFileW(outPath.c_str(), GENERIC_WRITE, kShareAll,
                                                 &inherit, CREATE_ALWAYS, 0, nullptr));
    const UniqueHandle err = OwnFile(CreateFileW(errPath.c_str(), GENERIC_WRITE, kShareAll,
                                                 &inherit, CREATE_ALWAYS, 0, nullptr));
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = out.get();
    si.hStdError = err.get();
    PROCESS_INFORMATION pi{};
    std::wstring cmd = L"\"" + ProgramFolder() + L"tavlin.exe\" " + args;
    if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi))
      return o;
    UniqueHandle process(pi.hProcess), thread(pi.hThread);
    if (WaitForSingleObject(pi.hProcess, 30000) != WAIT_OBJECT_0) {
      TerminateProcess(pi.hProcess, 9);
      ADD_FAILURE() << "tavlin.exe did not end by itself: a window opened?";
      return o;
    }
    GetExitCodeProcess(pi.hProcess, &o.code);
  }
  o.out = ReadAll(outPath);
  o.err = ReadAll(errPath);
  DeleteFileW(outPath.c_str());
  DeleteFileW(errPath.c_str());
  return o;
}

// A fresh state: every catalogue value set or not set on purpose, in shapes
// the window cannot show as well, plus values that are not the program's.
void SeedState() {
  RegDeleteKeyTree(kToolbar);
  RegDeleteKeyTree(kForeign);
  RegDeleteKeyTree(kForeignDeleted);
  RegPutRaw(kMain, L"Window Title", REG_SZ,
            Utf16Bytes(TextFor98(L"Title \"q\" \\ ☂ Ünï", L"Title \"q\" \\ ß Ünï"), true));
  RegPutRaw(kBrowser, L"Download Directory", REG_SZ, Utf16Bytes(L"C:\\Downloads", true));
  RegPutRaw(kMain, L"Start Page", REG_EXPAND_SZ, Utf16Bytes(L"%SystemRoot%\\start.htm", true));
  RegPutRaw(kMain, L"FullScreen", REG_DWORD, DwordBytes(1));
  // (A text with a NUL inside cannot be in a registry of Windows 98.)
  RegPutRaw(kMain, L"Save Directory", REG_SZ,
            Utf16Bytes(TextFor98(std::wstring(L"C:\\s\0tail", 9), L"C:\\s"), true));
  RegPutRaw(kToolbar, SkinName(), REG_SZ, Utf16Bytes(L"C:\\skins\\blue.bmp", true));
  RegPutRaw(kToolbar, OtherSkinName(), REG_SZ, Utf16Bytes(L"other name.bmp", true));
  Bytes logo;
  for (int i = 0; i < 200; ++i) logo.push_back(static_cast<std::byte>(i));
  RegPutRaw(kToolbar, L"smBrandBitmap", REG_BINARY, logo);  // long enough to be wrapped
  RegPutRaw(kToolbar, L"BigBitmap", REG_SZ, Utf16Bytes(L"C:\\logos\\big.bmp", true));
  RegDeleteRaw(kToolbar, L"BrandBitmap");
  RegDeleteRaw(kToolbar, L"SmallBitmap");
  RegPutRaw(kMain, L"Unrelated", REG_SZ, Utf16Bytes(L"keep", true));
  RegPutRaw(kForeign, L"keep", REG_SZ, Utf16Bytes(L"foreign", true));
  RegPutRaw(kForeignDeleted, L"keep", REG_DWORD, DwordBytes(7));
}

TEST(CommandLine, UsageAndBadUsageEndWithoutAWindow) {
  const Outcome help = RunTavlin(L"/?");
  EXPECT_EQ(help.code, 0u);
  EXPECT_NE(help.out.find("tavlin.exe /export FILE"), std::string::npos) << help.out;
  EXPECT_NE(help.out.find("\r\n"), std::string::npos) << "lines end in CR LF";
  EXPECT_TRUE(help.err.empty()) << help.err;

  const Outcome bad = RunTavlin(L"/export");
  EXPECT_EQ(bad.code, 2u);
  EXPECT_NE(bad.err.find("/export needs a file name (.reg, .xml or .pol)"), std::string::npos)
      << bad.err;
}

TEST(CommandLine, ExportedFileImportedByRegGivesTheSameBytes) {
  SeedState();
  std::map<std::wstring, std::optional<StoredValue>> before;
  for (const auto& [key, name] : CatalogueValues())
    before[key + L"|" + name] = RegGetRaw(key, name);
  const std::wstring file = TempFile(L"Ünï export.reg");  // a name beyond ASCII
  const Outcome exported = RunTavlin(L"/export \"" + file + L"\"");
  ASSERT_EQ(exported.code, 0u) << exported.err;
  EXPECT_NE(exported.out.find("\xC3\x9Cn\xC3\xAF export.reg"), std::string::npos)
      << "UTF-8 to a redirected handle: " << exported.out;
  EXPECT_NE(exported.out.find("8 values as stored"), std::string::npos) << exported.out;
  const std::string bytes = ReadAll(file);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE") << "UTF-16LE with its byte-order mark";

  // A clean slate for the ten values, the Toolbar key gone, then Wine's reg.exe.
  for (const auto& [key, name] : CatalogueValues()) RegDeleteRaw(key, name);
  RegDeleteKeyTree(kToolbar);
  ASSERT_EQ(RunAndWait(L"reg.exe import \"" + file + L"\""), 0u);
  for (const auto& [key, name] : CatalogueValues()) {
    const auto now = RegGetRaw(key, name);
    const auto& was = before[key + L"|" + name];
    ASSERT_EQ(now.has_value(), was.has_value()) << std::string(name.begin(), name.end());
    if (was) {
      EXPECT_EQ(now->type, was->type) << std::string(name.begin(), name.end());
      EXPECT_EQ(now->data, was->data) << std::string(name.begin(), name.end());
    }
  }
  DeleteFileW(file.c_str());
}

TEST(CommandLine, ExportThenApplyThenImportGivesBackTheFirstStateByteForByte) {
  SeedState();
  // Shapes that only an exact import keeps: a text without its terminator
  // (which Windows 98 always stores).
  RegPutRaw(kToolbar, L"BigBitmap", REG_SZ,
            Utf16Bytes(L"C:\\no terminator.bmp", TavlinOnWindows98()));
  const auto first = BrowserKeys();
  const std::wstring file = TempFile(L"backup.reg");
  ASSERT_EQ(RunTavlin(L"/export \"" + file + L"\"").code, 0u);

  {
    TavlinProcess tavlin;
    ASSERT_TRUE(tavlin.Started());
    tavlin.SetText(Ctl::txtWinTitle, L"A new look");
    tavlin.SetText(Ctl::txtDownload, L"D:\\elsewhere");
    tavlin.SetText(Ctl::txtStart, L"http://example.org/");
    tavlin.SetText(Ctl::cboFullScreen, L"no");
    tavlin.SetText(Ctl::txtSaveDir, L"D:\\saved");
    tavlin.SetText(Ctl::txtSkin, L"C:\\skins\\red.bmp");
    tavlin.SetText(Ctl::txtSmBmp, L"");                    // deleted
    tavlin.SetText(Ctl::txtLgBmp, L"C:\\logos\\new.bmp");  // was not set
    tavlin.SetText(Ctl::txtSmStat, L"C:\\logos\\s.bmp");   // was not set
    tavlin.SetText(Ctl::txtLgStat, L"C:\\logos\\last.bmp");
    tavlin.Press(Ctl::cmbGo_0);
    ASSERT_TRUE(WaitFor([] {
      const auto v = RegGetRaw(kToolbar, L"BigBitmap");
      return v && v->data == Utf16Bytes(L"C:\\logos\\last.bmp", true);
    }));
  }
  ASSERT_NE(BrowserKeys(), first);

  const Outcome imported = RunTavlin(L"/import \"" + file + L"\"");
  EXPECT_EQ(imported.code, 0u) << imported.out << imported.err;
  EXPECT_NE(imported.out.find("Imported 10 settings"), std::string::npos) << imported.out;
  EXPECT_EQ(BrowserKeys(), first);
  DeleteFileW(file.c_str());
}

TEST(CommandLine, ForeignKeysAndValuesInAFileChangeNothing) {
  SeedState();
  const auto before = BrowserKeys();
  const std::wstring skinName = SkinName(), otherName = OtherSkinName();
  const std::string skin(skinName.begin(), skinName.end());
  const std::string other(otherName.begin(), otherName.end());
  const std::wstring file = TempFile(L"mixed.reg");
  // UTF-8 without a byte-order mark, LF line ends.
  WriteAll(file,
           "Windows Registry Editor Version 5.00\n"
           "\n"
           "[HKEY_LOCAL_MACHINE\\Software\\TavlinForeign]\n"  // 3
           "\"x\"=\"machine-wide\"\n"
           "[HKEY_CURRENT_USER\\Software\\TavlinForeign]\n"  // 5
           "\"keep\"=\"changed\"\n"
           "\"new\"=dword:00000001\n"
           "[-HKEY_CURRENT_USER\\Software\\TavlinForeignDeleted]\n"                   // 8
           "[-HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Toolbar]\n"  // 9
           "[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Main]\n"      // 10
           "@=\"default\"\n"
           "\"Unrelated\"=\"changed\"\n"
           "\"Window Title\"=\"From the file \xE2\x98\x82\"\n"  // 13
           "\"Start Page\"=-\n"
           "[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Main\\Sub]\n"  // 15
           "\"FullScreen\"=\"yes\"\n"
           "[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Toolbar]\n"  // 17
           "\"" +
               other +
               "\"=\"other name from the file\"\n"
               "\"" +
               skin + "\"=\"C:\\\\skins\\\\from file.bmp\"\n");  // 19
  const Outcome o = RunTavlin(L"/import \"" + file + L"\"");
  // Windows 98 keeps text in its code page, which has no umbrella: the title
  // is refused there, not stored with '?' in its place, and the rest imported.
  const bool refused = TavlinOnWindows98();
  EXPECT_EQ(o.code, refused ? 3u : 0u) << o.out << o.err;
  if (refused) {
    EXPECT_NE(o.err.find("could not set \"Window Title\""), std::string::npos) << o.err;
  }
  for (const char* line : {"Skipped line 3:", "Skipped line 5:", "Skipped line 8:",
                           "Skipped line 9:", "Skipped line 11:", "Skipped line 12:",
                           "Skipped line 14:", "Skipped line 15:", "Skipped line 18:"})
    EXPECT_NE(o.out.find(line), std::string::npos) << line << "\n" << o.out;

  auto expected = before;
  if (!refused)
    expected[kMain + L"|Window Title"] = StoredValue{REG_SZ, Utf16Bytes(L"From the file ☂", true)};
  expected[kToolbar + L"|" + SkinName()] =
      StoredValue{REG_SZ, Utf16Bytes(L"C:\\skins\\from file.bmp", true)};
  EXPECT_EQ(BrowserKeys(), expected);
  UniqueKey machine;
  EXPECT_NE(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kForeign.c_str(), 0, KEY_READ, machine.put()),
            ERROR_SUCCESS)
      << "nothing under HKEY_LOCAL_MACHINE";
  UniqueKey sub;
  EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, (kMain + L"\\Sub").c_str(), 0, KEY_READ, sub.put()),
            ERROR_SUCCESS);
  DeleteFileW(file.c_str());
}

TEST(CommandLine, ABrokenFileWritesNothing) {
  SeedState();
  RegDeleteKeyTree(kToolbar);
  const auto before = BrowserKeys();
  const std::wstring file = TempFile(L"broken.reg");
  WriteAll(file,
           "REGEDIT4\r\n"
           "\r\n"
           "[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Toolbar]\r\n"
           "\"BigBitmap\"=\"C:\\\\big.bmp\"\r\n"
           "[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Main]\r\n"
           "\"Window Title\"=\"Never written\"\r\n"
           "\"Start Page\"=hex(2):41,00,\\\r\n"
           "  42,00,\\\r\n"
           "  zz\r\n");
  const Outcome o = RunTavlin(L"/import \"" + file + L"\"");
  EXPECT_EQ(o.code, 1u);
  EXPECT_NE(o.err.find("broken.reg\", line 9:"), std::string::npos) << o.err;
  EXPECT_NE(o.err.find("Nothing was imported."), std::string::npos) << o.err;
  EXPECT_EQ(BrowserKeys(), before);
  UniqueKey key;
  EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, kToolbar.c_str(), 0, KEY_READ, key.put()),
            ERROR_SUCCESS)
      << "not even a key is created";

  const Outcome missing = RunTavlin(L"/import \"" + TempFile(L"no such file.reg") + L"\"");
  EXPECT_EQ(missing.code, 1u);
  EXPECT_EQ(BrowserKeys(), before);
  DeleteFileW(file.c_str());
}

// ---- Group Policy's files ----------------------------------------------------

// Where the files go that the test command checks with Samba and xmllint once
// the suites have run: gpo-files beside the test program, in its build folder.
std::wstring GpoFile(const std::wstring& extension) {
  const std::wstring dir = ProgramFolder() + L"gpo-files\\";
  CreateDirectoryW(dir.c_str(), nullptr);
  wchar_t told[16] = {};
  const bool named = GetEnvironmentVariableW(L"TAVLIN_WINDOWS", told, 16) > 0;
  return dir + L"tavlin-" + (named ? told : L"default") + extension;
}

std::string Hex(const Bytes& data) {
  std::string out;
  for (std::byte b : data) {
    constexpr char kDigits[] = "0123456789abcdef";
    out += kDigits[static_cast<unsigned>(b) >> 4];
    out += kDigits[static_cast<unsigned>(b) & 0xF];
  }
  return out;
}

// A stored text without its terminator, in UTF-8.
std::string Text(const Bytes& data) {
  std::wstring text;
  for (std::size_t i = 0; i + 3 < data.size(); i += 2)
    text.push_back(static_cast<wchar_t>(static_cast<unsigned>(data[i]) |
                                        (static_cast<unsigned>(data[i + 1]) << 8)));
  return EncodeUtf8(text);
}

// A REG_DWORD as a preferences file writes it: eight hex digits.
std::string DwordText(const Bytes& data) {
  std::uint32_t n = 0;
  for (std::size_t i = data.size(); i-- > 0;) n = (n << 8) | static_cast<unsigned>(data[i]);
  char text[9];
  std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(n));
  return text;
}

// What the exported file must hold, from the registry as the test left it:
// each value set, and a deletion for each picture value that is not.
void WriteExpectations(const std::wstring& file) {
  const bool pol = file.ends_with(L".pol");
  std::string lines;
  for (const SettingEntry& e : kSettings) {
    const std::wstring name = std::wstring(ValueNameOf(e, SkinName()));
    const std::string key(e.key.begin(), e.key.end()), value(name.begin(), name.end());
    const auto stored = RegGetRaw(std::wstring(e.key), name);
    if (!stored && !e.bRemove) continue;
    if (pol && stored)
      lines += key + "\t" + value + "\t" + std::to_string(stored->type) + "\t" + Hex(stored->data) +
               "\n";
    else if (pol)
      lines += key + "\t**del." + value + "\t1\t\n";
    else if (!stored)
      lines += "D\tHKEY_CURRENT_USER\t" + key + "\t" + value + "\tREG_SZ\t\n";
    else if (stored->type == REG_DWORD)
      lines += "U\tHKEY_CURRENT_USER\t" + key + "\t" + value + "\tREG_DWORD\t" +
               DwordText(stored->data) + "\n";
    else
      lines += "U\tHKEY_CURRENT_USER\t" + key + "\t" + value + "\t" +
               (stored->type == REG_EXPAND_SZ ? "REG_EXPAND_SZ" : "REG_SZ") + "\t" +
               Text(stored->data) + "\n";
  }
  WriteAll(file + L".expected", lines);
}

// A state both formats hold: texts of one terminator, REG_EXPAND_SZ and
// REG_DWORD; for a Registry.pol also binary data.
void SeedStateForGroupPolicy(bool binary) {
  SeedState();
  RegPutRaw(kMain, L"Save Directory", REG_SZ,
            Utf16Bytes(L"C:\\Saved \"pages\" & <more>\tand a tab", true));
  if (!binary)
    RegPutRaw(kToolbar, L"smBrandBitmap", REG_SZ, Utf16Bytes(L"C:\\logos\\small.bmp", true));
}

// Values changed the ways the window changes them, pictures set and removed.
void ChangeTheSettings() {
  RegPutRaw(kMain, L"Window Title", REG_SZ, Utf16Bytes(L"A new look", true));
  RegPutRaw(kMain, L"FullScreen", REG_SZ, Utf16Bytes(L"no", true));
  RegPutRaw(kBrowser, L"Download Directory", REG_SZ, Utf16Bytes(L"D:\\elsewhere", true));
  RegPutRaw(kToolbar, SkinName(), REG_SZ, Utf16Bytes(L"C:\\skins\\red.bmp", true));
  RegPutRaw(kToolbar, L"BrandBitmap", REG_SZ, Utf16Bytes(L"C:\\logos\\new.bmp", true));
  RegDeleteRaw(kToolbar, L"BigBitmap");
}

TEST(GroupPolicyFiles, EachFormatGoesOutAndComesBackAsItWas) {
  for (const std::wstring extension : {L".pol", L".xml"}) {
    SeedStateForGroupPolicy(extension == L".pol");
    const auto first = BrowserKeys();
    const std::wstring file = GpoFile(extension);
    DeleteFileW(file.c_str());
    const Outcome exported = RunTavlin(L"/export \"" + file + L"\"");
    ASSERT_EQ(exported.code, 0u) << exported.out << exported.err;
    EXPECT_NE(exported.out.find("8 values as stored"), std::string::npos) << exported.out;
    WriteExpectations(file);

    ChangeTheSettings();
    ASSERT_NE(BrowserKeys(), first);
    const Outcome imported = RunTavlin(L"/import \"" + file + L"\"");
    EXPECT_EQ(imported.code, 0u) << imported.out << imported.err;
    EXPECT_NE(imported.out.find("Imported 10 settings"), std::string::npos) << imported.out;
    EXPECT_EQ(imported.out.find("Skipped"), std::string::npos) << imported.out;
    EXPECT_EQ(BrowserKeys(), first) << std::string(extension.begin(), extension.end());
  }
}

TEST(GroupPolicyFiles, ARegistryPolKeepsEveryShapeExactly) {
  SeedState();
  RegPutRaw(kToolbar, L"BigBitmap", REG_SZ,
            Utf16Bytes(L"C:\\no terminator.bmp", TavlinOnWindows98()));
  const auto first = BrowserKeys();
  const std::wstring file = TempFile(L"odd shapes.pol");
  ASSERT_EQ(RunTavlin(L"/export \"" + file + L"\"").code, 0u);
  ChangeTheSettings();
  const Outcome imported = RunTavlin(L"/import \"" + file + L"\"");
  EXPECT_EQ(imported.code, 0u) << imported.out << imported.err;
  EXPECT_EQ(BrowserKeys(), first);
  DeleteFileW(file.c_str());
}

TEST(GroupPolicyFiles, WhatAFormatCannotHoldOrReadWritesNothing) {
  SeedState();  // the small logo is binary, which a preferences file does not hold
  const std::wstring xml = TempFile(L"refused.xml");
  const Outcome refused = RunTavlin(L"/export \"" + xml + L"\"");
  EXPECT_EQ(refused.code, 1u);
  EXPECT_NE(refused.err.find("\"smBrandBitmap\" in HKEY_CURRENT_USER\\Software\\Microsoft\\"
                             "Internet Explorer\\Toolbar cannot go into a preferences file"),
            std::string::npos)
      << refused.err;
  EXPECT_EQ(GetFileAttributesW(xml.c_str()), INVALID_FILE_ATTRIBUTES) << "no file is written";

  const std::wstring pol = TempFile(L"cut.pol");
  ASSERT_EQ(RunTavlin(L"/export \"" + pol + L"\"").code, 0u);
  const std::string whole = ReadAll(pol);
  WriteAll(pol, whole.substr(0, whole.size() - 3));
  ChangeTheSettings();
  const auto changed = BrowserKeys();
  const Outcome cut = RunTavlin(L"/import \"" + pol + L"\"");
  EXPECT_EQ(cut.code, 1u);
  EXPECT_NE(cut.err.find("cut.pol\", record 10 at byte "), std::string::npos) << cut.err;
  EXPECT_EQ(BrowserKeys(), changed) << "a faulty file changes nothing";

  DeleteFileW(pol.c_str());
  DeleteFileW(xml.c_str());
}

}  // namespace
}  // namespace tavlin::testing
