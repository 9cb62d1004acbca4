// The only code that reads, writes or deletes registry values. Every public
// operation opens its key, does one thing to one value and closes the key
// again; none reports a failure to its caller.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "settings/registry_port.h"

namespace tavlin::modReg_Func {

using settings::Hive;
using settings::KeyRef;
using settings::RegistryPort;

enum class ReadKind { Absent, Text, Integer };

struct RegRead {
  ReadKind kind = ReadKind::Absent;
  std::wstring text;        // when kind is Text; may hold NUL characters
  std::int32_t number = 0;  // when kind is Integer
  // The value exists but cannot be shown: a type other than REG_SZ / REG_DWORD,
  // a REG_DWORD that is not 4 bytes, a REG_SZ of an odd byte count, or a read
  // that kept failing. Such a value reads as absent, and the caller must not
  // take the empty box for a value the user cleared.
  bool unreadable = false;

  static RegRead Absent() { return {}; }
  static RegRead Text(std::wstring t) { return {ReadKind::Text, std::move(t), 0, false}; }
  static RegRead Integer(std::int32_t n) { return {ReadKind::Integer, {}, n, false}; }
  static RegRead Unreadable() { return {ReadKind::Absent, {}, 0, true}; }
  bool operator==(const RegRead&) const = default;
};

// Absent is the empty text, an integer is its signed decimal form.
std::wstring DisplayForm(const RegRead& value);

// How REG_SZ bytes become text: UTF-16 code units, one trailing NUL unit dropped
// (once). Zero bytes read as absent; an odd byte count cannot be UTF-16 and is
// unreadable.
RegRead DecodeRegSz(std::span<const std::byte> bytes);

// The bytes stored for a REG_SZ text: its code units plus one NUL unit.
std::basic_string<std::byte> EncodeRegSz(std::wstring_view text);

// Appends each UTF-16 code unit of the text as two bytes, low byte first, as
// the registry and .reg files store text.
void AppendUtf16Le(std::basic_string<std::byte>& out, std::wstring_view text);

// A text read that the value keeps outgrowing is tried this many times.
inline constexpr int kMaxReadAttempts = 4;

// Status: 0, the platform's error code, or -1 for a type that is not handled.
inline constexpr long kStatusTypeNotHandled = -1;

long ReadValueFromKey(RegistryPort& reg, KeyRef key, std::wstring_view name, RegRead& result);
RegRead QueryKeyValue(RegistryPort& reg, Hive hive, std::wstring_view path, std::wstring_view name);
RegRead ReadRegValue(RegistryPort& reg, Hive hive, std::wstring_view path, std::wstring_view name);

long WriteValueToKey(RegistryPort& reg, KeyRef key, std::wstring_view name, std::uint32_t type,
                     std::wstring_view value);
void WriteKeyValue(RegistryPort& reg, Hive hive, std::wstring_view path, std::wstring_view name,
                   std::wstring_view value, std::uint32_t type);
void WriteRegValue(RegistryPort& reg, Hive hive, std::wstring_view path, std::wstring_view name,
                   std::wstring_view value, std::uint32_t type);
void DeleteRegValue(RegistryPort& reg, Hive hive, std::wstring_view path, std::wstring_view name);

// Exact stored values, for moving the settings in and out of .reg files.
using Bytes = std::basic_string<std::byte>;

// A value as stored. `status` is 0 when it is there, kErrorFileNotFound when
// it or its key is not, and the platform's error code when it could not be
// read; a value that cannot be read is never taken for a missing one.
struct RawValue {
  long status = settings::kErrorFileNotFound;
  std::uint32_t type = 0;
  Bytes data;
  bool Present() const { return status == settings::kErrorSuccess; }
  bool Missing() const { return status == settings::kErrorFileNotFound; }
};
RawValue ReadRegRaw(RegistryPort& reg, Hive hive, std::wstring_view path, std::wstring_view name);

// 0 when values under the key may be set, also when the key is missing (a
// store creates it); otherwise the platform's error code. Changes nothing.
long CheckKeyWritable(RegistryPort& reg, Hive hive, std::wstring_view path);

// Stores exactly these bytes as a value of this type, creating the key (and
// its parents) when it is missing. Returns 0 or the platform's error code.
long StoreRegRaw(RegistryPort& reg, Hive hive, std::wstring_view path, std::wstring_view name,
                 std::uint32_t type, std::span<const std::byte> data);

// Removes one value. Returns 0 also when the value or its key is not there.
long RemoveRegValue(RegistryPort& reg, Hive hive, std::wstring_view path, std::wstring_view name);

}  // namespace tavlin::modReg_Func
