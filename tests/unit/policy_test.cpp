// Which policies hold a box's setting, which one wins, the line the tip gains,
// and that policy keys are only ever read.
#include <gtest/gtest.h>

#include "settings/modReg_Func.h"
#include "settings/policy.h"
#include "support/memory_registry.h"

namespace tavlin::testing {
namespace {

using namespace settings;

struct Seed {
  Hive hive;
  std::wstring_view key, name;
  std::uint32_t type;
  Bytes data;
};

std::wstring LineWith(const std::vector<Seed>& seeds, Ctl control) {
  MemoryRegistry reg;
  for (const Seed& s : seeds) reg.Put(s.hive, s.key, s.name, s.type, s.data);
  return PolicyLine(reg, control);
}

Bytes Sz(std::wstring_view text) {
  return Utf16Bytes(text, true);
}

TEST(Policy, TheStartPageAndDownloadFolderPoliciesAndWhichOneWins) {
  const std::wstring kSet = L"Set by policy: http://intranet/; this box has no effect";
  // Its second unit is the 80th, the last one shown.
  const std::wstring kPairAt79 = std::wstring(78, L'x') + wchar_t(0xD83D) + wchar_t(0xDE00);
  const struct {
    const char* what;
    std::vector<Seed> seeds;
    Ctl control;
    std::wstring line;
  } cases[] = {
      {"nothing set", {}, Ctl::txtStart, L""},
      {"the user's page policy",
       {{kHkeyCurrentUser, kPolicyMainKey, L"Start Page", kRegSz, Sz(L"http://intranet/")}},
       Ctl::txtStart,
       kSet},
      {"the machine's page policy outranks the user's",
       {{kHkeyCurrentUser, kPolicyMainKey, L"Start Page", kRegSz, Sz(L"http://user/")},
        {kHkeyLocalMachine, kPolicyMainKey, L"Start Page", kRegSz, Sz(L"http://intranet/")}},
       Ctl::txtStart,
       kSet},
      {"a page outranks a lock",
       {{kHkeyCurrentUser, kPolicyControlPanelKey, L"HomePage", kRegDword, DwordBytes(1)},
        {kHkeyCurrentUser, kPolicyMainKey, L"Start Page", kRegSz, Sz(L"http://intranet/")}},
       Ctl::txtStart,
       kSet},
      {"a lock alone",
       {{kHkeyLocalMachine, kPolicyControlPanelKey, L"HomePage", kRegDword, DwordBytes(1)}},
       Ctl::txtStart,
       L"Locked by policy"},
      {"a lock in digits",
       {{kHkeyCurrentUser, kPolicyControlPanelKey, L"HomePage", kRegSz, Sz(L"1")}},
       Ctl::txtStart,
       L"Locked by policy"},
      {"a lock turned off",
       {{kHkeyCurrentUser, kPolicyControlPanelKey, L"HomePage", kRegDword, DwordBytes(0)},
        {kHkeyLocalMachine, kPolicyControlPanelKey, L"HomePage", kRegSz, Sz(L"0")}},
       Ctl::txtStart,
       L""},
      {"an empty page sets nothing",
       {{kHkeyCurrentUser, kPolicyMainKey, L"Start Page", kRegSz, Sz(L"")}},
       Ctl::txtStart,
       L""},
      {"a page of a type the browser does not read",
       {{kHkeyCurrentUser, kPolicyMainKey, L"Start Page", kRegBinary, Sz(L"x")}},
       Ctl::txtStart,
       L""},
      {"the page policy on the user's own key is no policy",
       {{kHkeyCurrentUser, L"Software\\Microsoft\\Internet Explorer\\Main", L"Start Page", kRegSz,
         Sz(L"http://mine/")}},
       Ctl::txtStart,
       L""},
      {"the download folder",
       {{kHkeyLocalMachine, kPolicyBrowserKey, L"Download Directory", kRegSz, Sz(L"D:\\In")}},
       Ctl::txtDownload,
       L"Set by policy: D:\\In; this box has no effect"},
      {"a character of two units that ends at the limit is kept whole",
       {{kHkeyCurrentUser, kPolicyMainKey, L"Start Page", kRegSz, Sz(kPairAt79 + L"y")}},
       Ctl::txtStart,
       L"Set by policy: " + kPairAt79 + L"\u2026; this box has no effect"},
      {"a page policy does not touch the download box",
       {{kHkeyCurrentUser, kPolicyMainKey, L"Start Page", kRegSz, Sz(L"http://intranet/")}},
       Ctl::txtDownload,
       L""},
  };
  for (const auto& c : cases) EXPECT_EQ(LineWith(c.seeds, c.control), c.line) << c.what;
}

TEST(Policy, AValueIsShownOnOneShortLine) {
  EXPECT_EQ(SetByPolicyLine(L"a\r\nb|c\td\x7F"),
            L"Set by policy: a  b c d ; this box has no effect");
  const std::wstring longPage = L"http://" + std::wstring(200, L'x');
  EXPECT_EQ(SetByPolicyLine(longPage),
            L"Set by policy: " + longPage.substr(0, 80) + L"\u2026; this box has no effect");
  // A character of two UTF-16 units is not cut in half at the limit.
  std::wstring pair(79, L'x');
  pair += {wchar_t(0xD83D), wchar_t(0xDE00), L'y'};
  EXPECT_EQ(SetByPolicyLine(pair),
            L"Set by policy: " + std::wstring(79, L'x') + L"\u2026; this box has no effect");
  MemoryRegistry reg;
  reg.Put(kHkeyCurrentUser, kPolicyMainKey, L"Start Page", kRegSz, Sz(std::wstring(L"a\0b", 3)));
  EXPECT_EQ(PolicyLine(reg, Ctl::txtStart), L"Set by policy: a b; this box has no effect");
}

TEST(Policy, KeysAreOnlyReadNeverCreatedOrChanged) {
  MemoryRegistry reg;
  reg.Put(kHkeyLocalMachine, kPolicyControlPanelKey, L"HomePage", kRegDword, DwordBytes(1));
  const auto before = reg.Snapshot();
  for (const Ctl control : {Ctl::txtStart, Ctl::txtDownload, Ctl::txtWinTitle, Ctl::cmbGo_0})
    PolicyLine(reg, control);
  EXPECT_EQ(reg.Snapshot(), before);
  EXPECT_FALSE(reg.HasKey(kHkeyCurrentUser, kPolicyMainKey));
  EXPECT_FALSE(reg.HasKey(kHkeyLocalMachine, kPolicyBrowserKey));
  EXPECT_GT(reg.opens, 0);
  for (const Access a : reg.accessRequested) EXPECT_EQ(a, Access::Read);
  EXPECT_EQ(reg.OpenHandles(), 0u);
  // A box no policy holds reads nothing at all.
  MemoryRegistry quiet;
  PolicyLine(quiet, Ctl::txtWinTitle);
  PolicyLine(quiet, Ctl::cboFullScreen);
  EXPECT_EQ(quiet.opens, 0);
}

TEST(Policy, ARefusedKeyCountsAsNoPolicy) {
  MemoryRegistry reg;
  reg.Put(kHkeyLocalMachine, kPolicyMainKey, L"Start Page", kRegSz, Sz(L"http://hidden/"));
  reg.DenyAccess(kHkeyLocalMachine, kPolicyMainKey, true, true);
  reg.Put(kHkeyCurrentUser, kPolicyMainKey, L"Start Page", kRegSz, Sz(L"http://user/"));
  EXPECT_EQ(PolicyLine(reg, Ctl::txtStart), L"Set by policy: http://user/; this box has no effect");
}

}  // namespace
}  // namespace tavlin::testing
