// .reg files as regedit and reg.exe write and read them: the two headers
// ("Windows Registry Editor Version 5.00" and "REGEDIT4"), key and value lines,
// quoted texts with their escapes, dword: and hex: data with line
// continuations, comments, and the encodings such files come in. The ANSI code
// page belongs to the platform, so the caller passes the function that decodes it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "settings/modReg_Func.h"

namespace tavlin::settings {

using modReg_Func::Bytes;

// Turns bytes of the system's ANSI code page into UTF-16 text.
using AnsiDecoder = std::function<std::wstring(std::string_view)>;

// Where and why a file cannot be read. Lines count from 1.
struct RegFileProblem {
  std::size_t line = 0;
  std::wstring what;
  bool operator==(const RegFileProblem&) const = default;
};

enum class RegFileEncoding { Utf16Le, Utf16Be, Utf8, Ansi };

struct DecodedRegFile {
  std::wstring text;  // UTF-16 code units, the byte-order mark removed
  RegFileEncoding encoding = RegFileEncoding::Utf8;
  std::optional<RegFileProblem> problem;
};

// UTF-16 with a byte-order mark (as regedit writes), UTF-8 with or without
// one, UTF-16LE without one, and otherwise the ANSI code page: bytes that are
// valid UTF-8 are taken as UTF-8, any others as ANSI.
DecodedRegFile DecodeRegFileBytes(std::span<const std::byte> bytes, const AnsiDecoder& ansi);

// The bytes regedit writes: a UTF-16LE byte-order mark, then the text.
Bytes EncodeUtf16LeWithBom(std::wstring_view text);

enum class RegFileVersion { Regedit4, Regedit5 };

struct RegFileValue {
  std::size_t line = 0;
  bool isDefault = false;  // "@": the key's unnamed value
  std::wstring name;
  bool remove = false;  // "name"=-
  std::uint32_t type = 0;
  Bytes data;  // exactly what a store puts in the registry
  // Set only where the value is to be created and an existing one kept (a
  // preferences item's Create action); a .reg file has no such entry.
  bool createOnly = false;
  bool operator==(const RegFileValue&) const = default;
};

struct RegFileKey {
  std::size_t line = 0;
  std::wstring name;    // as written, the root key included
  bool remove = false;  // [-name]: the whole key is to go
  std::vector<RegFileValue> values;
};

struct RegFile {
  RegFileVersion version = RegFileVersion::Regedit5;
  std::vector<RegFileKey> keys;
  std::optional<RegFileProblem> problem;  // the first fault; nothing in the file then counts
};

// Reads the whole text. Comment lines (';') and blank lines are allowed
// anywhere, also between the lines of continued hex data; anything else that
// is not a header, key or value line is a fault. In a REGEDIT4 file the hex
// forms of the text types (1, 2 and 7) hold ANSI bytes and are stored as UTF-16.
RegFile ParseRegFile(std::wstring_view text, const AnsiDecoder& ansi);

// Root keys by their long and short names.
enum class RegRoot { Unknown, ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };
struct RegKeyName {
  RegRoot root = RegRoot::Unknown;
  std::wstring_view path;  // below the root; empty for the root itself
};
RegKeyName SplitRegKeyName(std::wstring_view name);

// Compares registry names as the registry does for the names this program
// uses: letters A-Z without regard to case.
bool SameRegName(std::wstring_view a, std::wstring_view b);

// A value that another file format cannot hold as it is stored, and why.
struct ValueRefusal {
  std::wstring key;  // the full name, the root key included
  std::wstring valueName;
  std::wstring why;
};

// What the writer of another format makes of the values: the file's bytes, or
// none when the format cannot hold some value as it is stored (those values
// and why) or the platform gave no identifier for an item (its error).
struct WrittenFile {
  Bytes bytes;
  std::vector<ValueRefusal> refusals;
  long guidFailure = 0;
};

// "REG_SZ", "REG_DWORD" and the other names of registry types; "type 0x..."
// for a number without one.
std::wstring RegTypeName(std::uint32_t type);

// The text of a whole version 5.00 file with CR LF line ends.
std::wstring FormatRegFile(const std::vector<RegFileKey>& keys);

// One value's line (or lines, for long hex data). A REG_SZ that is one text
// with one terminator and no control characters is written as a quoted text;
// every other value, of any type, in hex form, so its bytes come back exactly.
std::wstring FormatRegValue(const RegFileValue& value);

}  // namespace tavlin::settings
