#include "settings/modReg_Func.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "common/text.h"

namespace tavlin::modReg_Func {
namespace {

using namespace settings;

// Holds one open key for the length of one operation.
class OpenKey {
 public:
  OpenKey(RegistryPort& reg, Hive hive, std::wstring_view path, Access access) : reg_(reg) {
    status_ = reg_.Open(hive, path, access, key_);  // a failed open leaves key_ 0
  }
  struct CreateIt {};
  OpenKey(RegistryPort& reg, Hive hive, std::wstring_view path, CreateIt) : reg_(reg) {
    status_ = reg_.Create(hive, path, key_);
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  ~OpenKey() {
    if (key_ != 0) reg_.Close(key_);
  }
  KeyRef get() const { return key_; }
  // The open's own result; a handle of 0 with success still counts as failed.
  long status() const {
    return key_ != 0 ? kErrorSuccess : status_ != 0 ? status_ : kErrorInvalidHandle;
  }

 private:
  RegistryPort& reg_;
  KeyRef key_ = 0;
  long status_ = kErrorSuccess;
};

}  // namespace

std::wstring DisplayForm(const RegRead& value) {
  switch (value.kind) {
    case ReadKind::Text:
      return value.text;
    case ReadKind::Integer:
      return ToDecimal(value.number);
    case ReadKind::Absent:
      break;
  }
  return {};
}

RegRead DecodeRegSz(std::span<const std::byte> bytes) {
  if (bytes.empty()) return RegRead::Absent();
  if (bytes.size() % 2 != 0) return RegRead::Unreadable();
  std::wstring text(bytes.size() / 2, L'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto lo = static_cast<unsigned>(bytes[2 * i]);
    const auto hi = static_cast<unsigned>(bytes[2 * i + 1]);
    text[i] = static_cast<wchar_t>(lo | (hi << 8));
  }
  if (text.back() == L'\0') text.pop_back();
  return RegRead::Text(std::move(text));
}

std::basic_string<std::byte> EncodeRegSz(std::wstring_view text) {
  std::basic_string<std::byte> bytes;
  bytes.reserve((text.size() + 1) * 2);
  AppendUtf16Le(bytes, text);
  bytes.append(2, std::byte{0});
  return bytes;
}

void AppendUtf16Le(std::basic_string<std::byte>& out, std::wstring_view text) {
  for (wchar_t c : text) {
    const auto unit = static_cast<std::uint16_t>(c);
    out.push_back(static_cast<std::byte>(unit & 0xFF));
    out.push_back(static_cast<std::byte>(unit >> 8));
  }
}

long ReadValueFromKey(RegistryPort& reg, KeyRef key, std::wstring_view name, RegRead& result) {
  result = RegRead::Absent();
  // Each attempt asks for the type and size, then reads. Another program may
  // change the value in between; then the read reports more data or another
  // type, and the attempt is made again rather than taking the value for absent.
  for (int attempt = 0; attempt < kMaxReadAttempts; ++attempt) {
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    long rc = reg.Query(key, name, type, {}, size);
    if (rc != kErrorSuccess) return rc;  // missing value, or no key

    if (type == kRegSz) {
      std::vector<std::byte> buffer(size);
      std::uint32_t got = size;
      std::uint32_t type2 = 0;
      if (size == 0) {
        result = RegRead::Absent();
        return kErrorSuccess;
      }
      rc = reg.Query(key, name, type2, buffer, got);
      if (rc == kErrorMoreData || (rc == kErrorSuccess && type2 != kRegSz)) continue;
      if (rc == kErrorFileNotFound) return rc;  // deleted in between: truly absent
      if (rc != kErrorSuccess) {
        result = RegRead::Unreadable();
        return rc;
      }
      if (got > size) got = size;  // never trust a count past the buffer
      result = DecodeRegSz(std::span<const std::byte>(buffer.data(), got));
      return result.unreadable ? kStatusTypeNotHandled : kErrorSuccess;
    }

    if (type == kRegDword) {
      std::byte raw[4] = {};
      std::uint32_t got = sizeof raw;
      std::uint32_t type2 = 0;
      rc = reg.Query(key, name, type2, raw, got);
      if (rc == kErrorSuccess && type2 == kRegDword && got == 4) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, raw, 4);  // the registry and every target are little-endian
        result = RegRead::Integer(static_cast<std::int32_t>(bits));
        return kErrorSuccess;
      }
      if ((rc == kErrorSuccess || rc == kErrorMoreData) && type2 != kRegDword) continue;
      if (rc == kErrorFileNotFound) return rc;
      result = RegRead::Unreadable();  // a REG_DWORD of the wrong size, or a failed read
      return rc != kErrorSuccess ? rc : kStatusTypeNotHandled;
    }

    result = RegRead::Unreadable();
    return kStatusTypeNotHandled;
  }
  result = RegRead::Unreadable();
  return kErrorMoreData;
}

RegRead QueryKeyValue(RegistryPort& reg, Hive hive, std::wstring_view path,
                      std::wstring_view name) {
  // Reading asks only for query access, so a key the user may read but not
  // write still shows its values.
  OpenKey key(reg, hive, path, Access::Read);
  RegRead result;
  if (key.get() == 0) return result;
  ReadValueFromKey(reg, key.get(), name, result);
  return result;
}

RegRead ReadRegValue(RegistryPort& reg, Hive hive, std::wstring_view path, std::wstring_view name) {
  return QueryKeyValue(reg, hive, path, name);
}

long WriteValueToKey(RegistryPort& reg, KeyRef key, std::wstring_view name, std::uint32_t type,
                     std::wstring_view value) {
  if (type == kRegSz) {
    const auto bytes = EncodeRegSz(value);
    return reg.Set(key, name, kRegSz, bytes);
  }
  if (type == kRegDword) {
    const auto number = ParseInt32(value);
    if (!number) return kErrorSuccess;  // not a 32-bit number: nothing is stored
    const auto bits = static_cast<std::uint32_t>(*number);
    const std::byte raw[4] = {std::byte(bits & 0xFF), std::byte((bits >> 8) & 0xFF),
                              std::byte((bits >> 16) & 0xFF), std::byte(bits >> 24)};
    return reg.Set(key, name, kRegDword, raw);
  }
  return kErrorSuccess;  // other types are never written
}

void WriteKeyValue(RegistryPort& reg, Hive hive, std::wstring_view path, std::wstring_view name,
                   std::wstring_view value, std::uint32_t type) {
  OpenKey key(reg, hive, path, Access::Write);
  if (key.get() == 0) return;
  WriteValueToKey(reg, key.get(), name, type, value);
}

void WriteRegValue(RegistryPort& reg, Hive hive, std::wstring_view path, std::wstring_view name,
                   std::wstring_view value, std::uint32_t type) {
  WriteKeyValue(reg, hive, path, name, value, type);
}

void DeleteRegValue(RegistryPort& reg, Hive hive, std::wstring_view path, std::wstring_view name) {
  OpenKey key(reg, hive, path, Access::Write);
  if (key.get() == 0) return;
  reg.Delete(key.get(), name);
}

RawValue ReadRegRaw(RegistryPort& reg, Hive hive, std::wstring_view path, std::wstring_view name) {
  OpenKey key(reg, hive, path, Access::Read);
  if (key.get() == 0) return {key.status(), 0, {}};
  // As for a text read: a value that changes size between the two queries is
  // read again, a bounded number of times.
  for (int attempt = 0; attempt < kMaxReadAttempts; ++attempt) {
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    long rc = reg.Query(key.get(), name, type, {}, size);
    if (rc != kErrorSuccess) return {rc, 0, {}};
    if (size == 0) return {kErrorSuccess, type, {}};
    Bytes buffer(size, std::byte{0});
    std::uint32_t got = size;
    rc = reg.Query(key.get(), name, type, std::span<std::byte>(buffer.data(), buffer.size()), got);
    if (rc == kErrorMoreData) continue;
    if (rc != kErrorSuccess) return {rc, 0, {}};
    buffer.resize(std::min(got, size));
    return {kErrorSuccess, type, std::move(buffer)};
  }
  return {kErrorMoreData, 0, {}};
}

long CheckKeyWritable(RegistryPort& reg, Hive hive, std::wstring_view path) {
  OpenKey key(reg, hive, path, Access::Write);
  const long rc = key.status();
  return rc == kErrorFileNotFound ? kErrorSuccess : rc;
}

long StoreRegRaw(RegistryPort& reg, Hive hive, std::wstring_view path, std::wstring_view name,
                 std::uint32_t type, std::span<const std::byte> data) {
  OpenKey key(reg, hive, path, OpenKey::CreateIt{});
  if (key.get() == 0) return key.status();
  return reg.Set(key.get(), name, type, data);
}

long RemoveRegValue(RegistryPort& reg, Hive hive, std::wstring_view path, std::wstring_view name) {
  OpenKey key(reg, hive, path, Access::Write);
  if (key.get() == 0) return key.status() == kErrorFileNotFound ? kErrorSuccess : key.status();
  const long rc = reg.Delete(key.get(), name);
  return rc == kErrorFileNotFound ? kErrorSuccess : rc;
}

}  // namespace tavlin::modReg_Func
