// The registry rules, run unchanged against the in-memory double (host) and
// Wine's real registry, so that the double is known to answer like the platform.
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "settings/modReg_Func.h"
#include "support/registry_backend.h"

namespace tavlin::testing {
namespace {

using namespace settings;
using modReg_Func::ReadKind;
using modReg_Func::RegRead;

// Passes every call through, counting opens and closes, recording the access
// asked for, and running a hook before each data query (to change a value
// between the size query and the read, as another program might).
class Watching : public RegistryPort {
 public:
  explicit Watching(RegistryPort& inner) : inner_(inner) {}
  int opens = 0, closes = 0;
  std::vector<Access> access;
  std::function<void()> beforeDataQuery;

  long Open(Hive h, std::wstring_view p, Access a, KeyRef& k) override {
    access.push_back(a);
    const long rc = inner_.Open(h, p, a, k);
    if (k != 0) ++opens;
    return rc;
  }
  long Create(Hive h, std::wstring_view p, KeyRef& k) override {
    const long rc = inner_.Create(h, p, k);
    if (k != 0) ++opens;
    return rc;
  }
  long Query(KeyRef k, std::wstring_view n, std::uint32_t& t, std::span<std::byte> d,
             std::uint32_t& s) override {
    if (!d.empty() && beforeDataQuery) beforeDataQuery();
    return inner_.Query(k, n, t, d, s);
  }
  long Set(KeyRef k, std::wstring_view n, std::uint32_t t, std::span<const std::byte> d) override {
    return inner_.Set(k, n, t, d);
  }
  long Delete(KeyRef k, std::wstring_view n) override { return inner_.Delete(k, n); }
  void Close(KeyRef k) override {
    ++closes;
    inner_.Close(k);
  }

 private:
  RegistryPort& inner_;
};

class RegistryContract : public ::testing::Test {
 protected:
  std::unique_ptr<RegistryBackend> backend = MakeRegistryBackend();
  Watching reg{backend->Port()};
  std::wstring root = backend->Root();

  RegRead Read(const std::wstring& name) {
    return modReg_Func::ReadRegValue(reg, kHkeyCurrentUser, root, name);
  }
  void Seed(const std::wstring& name, std::uint32_t type, const Bytes& data) {
    backend->Seed(root, name, type, data);
  }
  void TearDown() override { EXPECT_EQ(reg.opens, reg.closes) << "every opened key is closed"; }
};

TEST_F(RegistryContract, MissingKeyReadsAbsentAndCreatesNothing) {
  const std::wstring missing = root + L"\\Nowhere";
  EXPECT_EQ(modReg_Func::ReadRegValue(reg, kHkeyCurrentUser, missing, L"x"), RegRead::Absent());
  modReg_Func::WriteRegValue(reg, kHkeyCurrentUser, missing, L"x", L"text", kRegSz);
  modReg_Func::DeleteRegValue(reg, kHkeyCurrentUser, missing, L"x");
  EXPECT_FALSE(backend->KeyExists(missing));
  EXPECT_EQ(modReg_Func::ReadRegValue(reg, kHkeyCurrentUser, missing, L"x"), RegRead::Absent());
}

TEST_F(RegistryContract, MissingValueReadsAbsentNotUnreadable) {
  EXPECT_EQ(Read(L"none"), RegRead::Absent());
}

TEST_F(RegistryContract, TextReadsWithOrWithoutItsTerminator) {
  Seed(L"with", kRegSz, Utf16Bytes(L"abc", true));
  Seed(L"without", kRegSz, Utf16Bytes(L"abc", false));
  Seed(L"double", kRegSz, Utf16Bytes(std::wstring(L"abc\0", 4), true));
  Seed(L"only", kRegSz, Utf16Bytes(L"", true));
  Seed(L"zero", kRegSz, Bytes());
  Seed(L"inner", kRegSz, Utf16Bytes(std::wstring(L"a\0b", 3), true));
  EXPECT_EQ(Read(L"with"), RegRead::Text(L"abc"));
  EXPECT_EQ(Read(L"without"), RegRead::Text(L"abc"));
  EXPECT_EQ(Read(L"double"), RegRead::Text(std::wstring(L"abc\0", 4))) << "only one NUL dropped";
  EXPECT_EQ(Read(L"only"), RegRead::Text(L""));
  EXPECT_EQ(Read(L"zero"), RegRead::Absent());
  EXPECT_EQ(Read(L"inner"), RegRead::Text(std::wstring(L"a\0b", 3)));
}

TEST_F(RegistryContract, NonAsciiTextSurvivesBothWays) {
  const std::wstring text =
      L"Ünïcödé – Ωμέγα – 日本語 – \xD83D\xDE00";  // an emoji as its surrogate pair
  modReg_Func::WriteRegValue(reg, kHkeyCurrentUser, root, L"Título", text, kRegSz);
  EXPECT_EQ(Read(L"Título"), RegRead::Text(text));
  const auto raw = backend->Raw(root, L"Título");
  ASSERT_TRUE(raw);
  EXPECT_EQ(raw->type, kRegSz);
  EXPECT_EQ(raw->data, Utf16Bytes(text, true));
}

TEST_F(RegistryContract, WrittenTextIsStoredWithOneTerminator) {
  modReg_Func::WriteRegValue(reg, kHkeyCurrentUser, root, L"t", L"hello", kRegSz);
  const auto raw = backend->Raw(root, L"t");
  ASSERT_TRUE(raw);
  EXPECT_EQ(raw->type, kRegSz);
  EXPECT_EQ(raw->data.size(), 12u);
  EXPECT_EQ(raw->data, Utf16Bytes(L"hello", true));
  // A write replaces a value of another type.
  Seed(L"d", kRegDword, DwordBytes(5));
  modReg_Func::WriteRegValue(reg, kHkeyCurrentUser, root, L"d", L"5", kRegSz);
  EXPECT_EQ(backend->Raw(root, L"d")->type, kRegSz);
}

TEST_F(RegistryContract, DwordReadsAsSignedInteger) {
  Seed(L"minus", kRegDword, DwordBytes(0xFFFFFFFFu));
  Seed(L"five", kRegDword, DwordBytes(5));
  EXPECT_EQ(Read(L"minus"), RegRead::Integer(-1));
  EXPECT_EQ(Read(L"five"), RegRead::Integer(5));
  EXPECT_EQ(modReg_Func::DisplayForm(Read(L"minus")), L"-1");
}

TEST_F(RegistryContract, ShapesThatCannotBeShownAreUnreadable) {
  Seed(L"expand", kRegExpandSz, Utf16Bytes(L"%TEMP%", true));
  Seed(L"binary", kRegBinary, Bytes{std::byte{1}, std::byte{2}});
  Seed(L"multi", kRegMultiSz, Utf16Bytes(std::wstring(L"a\0b\0", 4), true));
  Seed(L"qword", kRegQword, Bytes(8, std::byte{1}));
  Seed(L"none", kRegNone, Bytes());
  Seed(L"odd", kRegSz, Bytes{std::byte{'a'}, std::byte{0}, std::byte{'b'}});
  Seed(L"shortdword", kRegDword, Bytes{std::byte{1}, std::byte{2}});
  Seed(L"longdword", kRegDword, Bytes(8, std::byte{7}));
  for (const wchar_t* name :
       {L"expand", L"binary", L"multi", L"qword", L"none", L"odd", L"shortdword", L"longdword"}) {
    const RegRead r = Read(name);
    EXPECT_EQ(r.kind, ReadKind::Absent) << name;
    EXPECT_TRUE(r.unreadable) << name;
    EXPECT_EQ(modReg_Func::DisplayForm(r), L"") << name;
  }
}

TEST_F(RegistryContract, DeleteRemovesOneValueAndToleratesAMissingOne) {
  Seed(L"a", kRegSz, Utf16Bytes(L"1", true));
  Seed(L"b", kRegSz, Utf16Bytes(L"2", true));
  modReg_Func::DeleteRegValue(reg, kHkeyCurrentUser, root, L"a");
  modReg_Func::DeleteRegValue(reg, kHkeyCurrentUser, root, L"never");
  EXPECT_FALSE(backend->Raw(root, L"a"));
  EXPECT_TRUE(backend->Raw(root, L"b"));
}

TEST_F(RegistryContract, EmptyNameAddressesTheDefaultValue) {
  Seed(L"", kRegSz, Utf16Bytes(L"default", true));
  EXPECT_EQ(Read(L""), RegRead::Text(L"default"));
}

TEST_F(RegistryContract, ReadingAsksOnlyForQueryAccessWritingForSetAccess) {
  Seed(L"v", kRegSz, Utf16Bytes(L"x", true));
  Read(L"v");
  modReg_Func::WriteRegValue(reg, kHkeyCurrentUser, root, L"v", L"y", kRegSz);
  modReg_Func::DeleteRegValue(reg, kHkeyCurrentUser, root, L"v");
  EXPECT_EQ(reg.access, (std::vector<Access>{Access::Read, Access::Write, Access::Write}));
}

TEST_F(RegistryContract, TextThatGrowsBetweenTheQueriesIsStillRead) {
  Seed(L"grow", kRegSz, Utf16Bytes(L"C:\\a", true));
  int grown = 0;
  reg.beforeDataQuery = [&] {
    if (grown++ < 2) Seed(L"grow", kRegSz, Utf16Bytes(std::wstring(40 * grown, L'x'), true));
  };
  EXPECT_EQ(Read(L"grow"), RegRead::Text(std::wstring(80, L'x')));
}

TEST_F(RegistryContract, TextThatKeepsGrowingIsGivenUpAfterTheSetAttemptsAsUnreadable) {
  Seed(L"grow", kRegSz, Utf16Bytes(L"x", true));
  std::size_t n = 1;
  int reads = 0;
  reg.beforeDataQuery = [&] {
    ++reads;
    Seed(L"grow", kRegSz, Utf16Bytes(std::wstring(n *= 3, L'x'), true));
  };
  const RegRead r = Read(L"grow");
  EXPECT_EQ(r.kind, ReadKind::Absent);
  EXPECT_TRUE(r.unreadable) << "not taken for a missing value";
  EXPECT_EQ(reads, modReg_Func::kMaxReadAttempts) << "no more and no fewer attempts";
}

TEST_F(RegistryContract, ValueDeletedBetweenTheSizeQueryAndTheReadIsAbsent) {
  Seed(L"text", kRegSz, Utf16Bytes(L"C:\\gone.bmp", true));
  Seed(L"number", kRegDword, DwordBytes(3));
  for (const wchar_t* name : {L"text", L"number"}) {
    reg.beforeDataQuery = [&] {
      modReg_Func::DeleteRegValue(backend->Port(), kHkeyCurrentUser, root, name);
    };
    EXPECT_EQ(Read(name), RegRead::Absent()) << name << ": absent, not unreadable";
  }
}

TEST_F(RegistryContract, ValueReplacedByAnotherTypeMidReadIsReadAgain) {
  Seed(L"swap", kRegSz, Utf16Bytes(L"text", true));
  bool swapped = false;
  reg.beforeDataQuery = [&] {
    if (!swapped) Seed(L"swap", kRegDword, DwordBytes(7));
    swapped = true;
  };
  EXPECT_EQ(Read(L"swap"), RegRead::Integer(7));

  // The other way round: the 4-byte buffer is too small for the text that
  // replaced the number, and the text is read in a second attempt.
  Seed(L"swap", kRegDword, DwordBytes(7));
  swapped = false;
  reg.beforeDataQuery = [&] {
    if (!swapped) Seed(L"swap", kRegSz, Utf16Bytes(L"C:\\longer than four bytes.bmp", true));
    swapped = true;
  };
  EXPECT_EQ(Read(L"swap"), RegRead::Text(L"C:\\longer than four bytes.bmp"));
}

TEST_F(RegistryContract, DwordWriteStoresANumberAndRefusesText) {
  modReg_Func::WriteRegValue(reg, kHkeyCurrentUser, root, L"n", L"-2", kRegDword);
  modReg_Func::WriteRegValue(reg, kHkeyCurrentUser, root, L"bad", L"12x", kRegDword);
  modReg_Func::WriteRegValue(reg, kHkeyCurrentUser, root, L"bin", L"12", kRegBinary);
  ASSERT_TRUE(backend->Raw(root, L"n"));
  EXPECT_EQ(backend->Raw(root, L"n")->data, DwordBytes(0xFFFFFFFEu));
  EXPECT_FALSE(backend->Raw(root, L"bad"));
  EXPECT_FALSE(backend->Raw(root, L"bin"));
}

TEST_F(RegistryContract, DwordWriteTakesExactlyTheSigned32BitRange) {
  const struct {
    const wchar_t* text;
    std::optional<std::uint32_t> stored;
  } cases[] =
      {
          {L"-2147483648", 0x80000000u},  {L"2147483647", 0x7FFFFFFFu},
          {L"-2147483649", std::nullopt}, {L"2147483648", std::nullopt},
          {L"4294967295", std::nullopt},  // fits 32 bits, but not as the signed number shown
      };
  for (const auto& c : cases) {
    modReg_Func::WriteRegValue(reg, kHkeyCurrentUser, root, L"n", c.text, kRegDword);
    const auto raw = backend->Raw(root, L"n");
    if (c.stored) {
      ASSERT_TRUE(raw) << c.text;
      EXPECT_EQ(raw->data, DwordBytes(*c.stored)) << c.text;
    } else {
      EXPECT_FALSE(raw) << c.text << " is refused, nothing stored";
    }
    modReg_Func::DeleteRegValue(reg, kHkeyCurrentUser, root, L"n");
  }
}

// The exact-value operations behind .reg export and import.
TEST_F(RegistryContract, RawStoreKeepsEveryByteOfEveryShape) {
  const struct {
    const wchar_t* name;
    std::uint32_t type;
    Bytes data;
  } shapes[] = {
      {L"unterminated", kRegSz, Utf16Bytes(L"abc", false)},
      {L"odd", kRegSz, Bytes{std::byte{'a'}, std::byte{0}, std::byte{'b'}}},
      {L"expand", kRegExpandSz, Utf16Bytes(L"%TEMP%", false)},
      {L"multi", kRegMultiSz, Utf16Bytes(std::wstring(L"a\0b", 3), false)},
      {L"empty", kRegSz, Bytes()},
      {L"binary", kRegBinary, Bytes{std::byte{0}, std::byte{0xFF}}},
      {L"odd type", 0x12345, Bytes{std::byte{7}}},
  };
  for (const auto& s : shapes) {
    EXPECT_EQ(modReg_Func::StoreRegRaw(reg, kHkeyCurrentUser, root, s.name, s.type, s.data), 0)
        << s.name;
    const auto raw = backend->Raw(root, s.name);
    ASSERT_TRUE(raw) << s.name;
    EXPECT_EQ(raw->type, s.type) << s.name;
    EXPECT_EQ(raw->data, s.data) << s.name << ": no terminator added";
    const modReg_Func::RawValue back = modReg_Func::ReadRegRaw(reg, kHkeyCurrentUser, root, s.name);
    EXPECT_TRUE(back.Present()) << s.name;
    EXPECT_EQ(back.type, s.type) << s.name;
    EXPECT_EQ(back.data, s.data) << s.name;
  }
  EXPECT_TRUE(modReg_Func::ReadRegRaw(reg, kHkeyCurrentUser, root, L"none").Missing());
  EXPECT_TRUE(modReg_Func::ReadRegRaw(reg, kHkeyCurrentUser, root + L"\\No", L"x").Missing());
}

TEST_F(RegistryContract, RawStoreCreatesMissingKeysRemoveNever) {
  const std::wstring deep = root + L"\\New\\Deeper";
  EXPECT_EQ(modReg_Func::CheckKeyWritable(reg, kHkeyCurrentUser, deep), 0);
  EXPECT_EQ(modReg_Func::RemoveRegValue(reg, kHkeyCurrentUser, deep, L"x"), 0);
  EXPECT_FALSE(backend->KeyExists(root + L"\\New")) << "checking and removing create nothing";
  EXPECT_EQ(
      modReg_Func::StoreRegRaw(reg, kHkeyCurrentUser, deep, L"v", kRegSz, Utf16Bytes(L"x", true)),
      0);
  EXPECT_TRUE(backend->KeyExists(root + L"\\New"));
  ASSERT_TRUE(backend->Raw(deep, L"v"));
  EXPECT_EQ(modReg_Func::RemoveRegValue(reg, kHkeyCurrentUser, deep, L"v"), 0);
  EXPECT_FALSE(backend->Raw(deep, L"v"));
  EXPECT_EQ(modReg_Func::RemoveRegValue(reg, kHkeyCurrentUser, deep, L"v"), 0) << "already gone";
}

}  // namespace
}  // namespace tavlin::testing
