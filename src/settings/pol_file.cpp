#include "settings/pol_file.h"

#include <algorithm>

#include "common/text.h"
#include "settings/registry_port.h"

namespace tavlin::settings {
namespace {

constexpr std::uint32_t kSignature = 0x67655250;  // "PReg" read as a little-endian number
constexpr std::uint32_t kVersion = 1;
constexpr std::size_t kMaxData = 0xFFFF;

// The types a record may carry.
constexpr std::uint32_t kPolTypes[] = {
    kRegSz,      kRegExpandSz, kRegBinary, kRegDword, 5 /* REG_DWORD_BIG_ENDIAN */,
    kRegMultiSz, kRegQword};

class Reader {
 public:
  explicit Reader(std::span<const std::byte> bytes) : bytes_(bytes) {}

  PolFile Run() {
    if (bytes_.size() < 8) return Fail(0, bytes_.size(), L"the file ends inside its 8-byte header");
    pos_ = 4;
    if (const std::uint32_t version = Number(); version != kVersion)
      return Fail(0, 4, Concat({L"version ", ToDecimal(version), L"; Tavlin reads version 1"}));
    while (pos_ < bytes_.size() && !file_.problem) Record();
    if (file_.problem) file_.records.clear();
    return std::move(file_);
  }

 private:
  PolFile Fail(std::size_t record, std::size_t offset, std::wstring what) {
    return {{}, PolProblem{record, offset, std::move(what)}};
  }
  bool Fault(std::wstring what) {
    if (!file_.problem) file_.problem = PolProblem{file_.records.size() + 1, pos_, std::move(what)};
    return false;
  }

  std::size_t Left() const { return bytes_.size() - pos_; }
  std::uint32_t Unit() {
    const auto u = static_cast<std::uint32_t>(bytes_[pos_]) |
                   (static_cast<std::uint32_t>(bytes_[pos_ + 1]) << 8);
    pos_ += 2;
    return u;
  }
  std::uint32_t Number() {
    std::uint32_t n = 0;
    for (int i = 3; i >= 0; --i) n = (n << 8) | static_cast<std::uint32_t>(bytes_[pos_ + i]);
    pos_ += 4;
    return n;
  }

  bool Mark(wchar_t mark, const wchar_t* where) {
    if (Left() < 2) return Fault(L"the file ends inside the record");
    if (Unit() == static_cast<std::uint32_t>(mark)) return true;
    pos_ -= 2;
    return Fault(Concat({L"'", std::wstring_view(&mark, 1), L"' must ", where}));
  }

  bool Text(std::wstring& out, const wchar_t* what) {
    for (;;) {
      if (Left() < 2) return Fault(Concat({L"the file ends inside the ", what}));
      const std::uint32_t u = Unit();
      if (u == 0) return true;
      out.push_back(static_cast<wchar_t>(u));
    }
  }

  bool Field(std::uint32_t& n, const wchar_t* what) {
    if (Left() < 4) return Fault(Concat({L"the file ends inside the ", what}));
    n = Number();
    return true;
  }

  void Record() {
    PolRecord r;
    r.number = file_.records.size() + 1;
    r.offset = pos_;
    std::uint32_t size = 0;
    if (!Mark(L'[', L"open each record") || !Text(r.key, L"key") ||
        !Mark(L';', L"follow the key") || !Text(r.valueName, L"value name") ||
        !Mark(L';', L"follow the value name") || !Field(r.type, L"type") ||
        !Mark(L';', L"follow the type") || !Field(size, L"size") || !Mark(L';', L"follow the size"))
      return;
    if (size > Left()) {
      Fault(Concat(
          {L"the record's size, ", ToDecimal(size), L" bytes, runs past the end of the file"}));
      return;
    }
    r.data.assign(bytes_.begin() + static_cast<std::ptrdiff_t>(pos_),
                  bytes_.begin() + static_cast<std::ptrdiff_t>(pos_ + size));
    pos_ += size;
    if (!Mark(L']', L"close the record after its data")) return;
    file_.records.push_back(std::move(r));
  }

  std::span<const std::byte> bytes_;
  std::size_t pos_ = 0;
  PolFile file_;
};

void AppendNumber(Bytes& out, std::uint32_t n) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::byte>((n >> (8 * i)) & 0xFF));
}

void AppendRecord(Bytes& out, std::wstring_view key, std::wstring_view name, std::uint32_t type,
                  std::span<const std::byte> data) {
  modReg_Func::AppendUtf16Le(out, L"[");
  modReg_Func::AppendUtf16Le(out, key);
  modReg_Func::AppendUtf16Le(out, std::wstring_view(L"\0;", 2));
  modReg_Func::AppendUtf16Le(out, name);
  modReg_Func::AppendUtf16Le(out, std::wstring_view(L"\0;", 2));
  AppendNumber(out, type);
  modReg_Func::AppendUtf16Le(out, L";");
  AppendNumber(out, static_cast<std::uint32_t>(data.size()));
  modReg_Func::AppendUtf16Le(out, L";");
  out.append(data.begin(), data.end());
  modReg_Func::AppendUtf16Le(out, L"]");
}

std::optional<std::wstring> Refusal(const RegFileValue& v) {
  if (StartsWithIgnoringAsciiCase(v.name, kPolInstructionPrefix))
    return L"its name starts with \"**\", which a Registry.pol keeps for instructions";
  if (v.remove) return std::nullopt;
  if (std::find(std::begin(kPolTypes), std::end(kPolTypes), v.type) == std::end(kPolTypes))
    return Concat({L"its type, ", RegTypeName(v.type), L", is not one a Registry.pol holds"});
  if (v.data.size() > kMaxData)
    return Concat({L"its ", ToDecimal(static_cast<std::int64_t>(v.data.size())),
                   L" bytes are more than the 65535 a Registry.pol record holds"});
  return std::nullopt;
}

}  // namespace

bool HasPolSignature(std::span<const std::byte> bytes) {
  return bytes.size() >= 4 && bytes[0] == std::byte{'P'} && bytes[1] == std::byte{'R'} &&
         bytes[2] == std::byte{'e'} && bytes[3] == std::byte{'g'};
}

PolFile ReadPolFile(std::span<const std::byte> bytes) {
  return Reader(bytes).Run();
}

WrittenFile WritePolFile(const std::vector<RegFileKey>& keys) {
  WrittenFile out;
  AppendNumber(out.bytes, kSignature);
  AppendNumber(out.bytes, kVersion);
  // A deletion's data is not used; Windows' own tools write a single space.
  const Bytes ignored = modReg_Func::EncodeRegSz(L" ");
  for (const RegFileKey& key : keys) {
    const std::wstring_view path = SplitRegKeyName(key.name).path;
    for (const RegFileValue& v : key.values) {
      if (const auto why = Refusal(v)) {
        out.refusals.push_back({key.name, v.name, *why});
        continue;
      }
      if (v.remove)
        AppendRecord(out.bytes, path, std::wstring(kPolDeletePrefix) + v.name, kRegSz, ignored);
      else
        AppendRecord(out.bytes, path, v.name, v.type, v.data);
    }
  }
  if (!out.refusals.empty()) out.bytes.clear();
  return out;
}

}  // namespace tavlin::settings
