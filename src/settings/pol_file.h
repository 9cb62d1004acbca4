// Registry.pol, the registry policy file of Group Policy ([MS-GPREG] 2.2.1):
// the signature "PReg" and version 1 (each a 32-bit little-endian number),
// then one record [key;value;type;size;data] per instruction. The brackets,
// semicolons, key and value name are UTF-16LE, the texts each ending in a NUL;
// type and size are 32-bit little-endian numbers, size counting the bytes of
// data, which are the value's bytes as stored. Keys carry no root key: where
// the file lies in a GPO (User\ or Machine\) decides that.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "settings/reg_file.h"

namespace tavlin::settings {

// A value name starting like this asks for the deletion of the value named
// by the rest; other names starting with "**" are instructions of other kinds
// (**delvals., **DeleteValues, **DeleteKeys, **SecureKey, **soft.).
inline constexpr std::wstring_view kPolDeletePrefix = L"**del.";
inline constexpr std::wstring_view kPolInstructionPrefix = L"**";

struct PolRecord {
  std::size_t number = 0;  // counted from 1
  std::size_t offset = 0;  // of its '['
  std::wstring key;
  std::wstring valueName;
  std::uint32_t type = 0;
  Bytes data;
  bool operator==(const PolRecord&) const = default;
};

struct PolProblem {
  std::size_t record = 0;  // 0: the header
  std::size_t offset = 0;  // the byte where the fault is
  std::wstring what;
};

struct PolFile {
  std::vector<PolRecord> records;
  std::optional<PolProblem> problem;  // the first fault; then there are no records
};

// Whether the bytes start with the signature "PReg".
bool HasPolSignature(std::span<const std::byte> bytes);

PolFile ReadPolFile(std::span<const std::byte> bytes);

// One record per value, a **del. record for each deletion. The key names'
// root keys are left out. The format holds the types REG_SZ, REG_EXPAND_SZ,
// REG_BINARY, REG_DWORD, REG_DWORD_BIG_ENDIAN, REG_MULTI_SZ and REG_QWORD, at
// most 65,535 bytes of data, and value names that do not start with "**".
WrittenFile WritePolFile(const std::vector<RegFileKey>& keys);

}  // namespace tavlin::settings
