// Registry.xml, the registry settings of Group Policy Preferences
// ([MS-GPPREF] 2.2.1.17): a RegistrySettings element holding Registry items,
// maybe in Collections, each with one Properties element that names an
// action, a hive, a key, a value name, a type and the value as text.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "settings/reg_file.h"

namespace tavlin::settings {

// ---- reading ---------------------------------------------------------------

enum class PreferenceAction { Create, Replace, Update, Delete };

struct PreferenceItem {
  std::size_t line = 0;  // of its Registry element
  PreferenceAction action = PreferenceAction::Update;
  std::wstring hive;  // as written, e.g. HKEY_CURRENT_USER
  std::wstring key;   // without the hive
  std::wstring name;  // the value name; empty for the default value and for a key item
  bool isDefault = false;
  bool keyOnly = false;  // no value named: the item is about the key itself
  std::wstring type;     // as written, e.g. REG_SZ
  // Set for REG_SZ, REG_EXPAND_SZ and REG_DWORD, the types a value is read
  // from: the bytes a store puts in the registry. Others are not read.
  std::optional<std::uint32_t> typeCode;
  Bytes data;
  bool disabled = false;  // the item or a collection around it is switched off
  bool targeted = false;  // item-level targeting (Filters) on it or a collection around it
  bool bitfield = false;  // the value is a set of bits given by SubProp elements
};

struct PreferencesFile {
  std::vector<PreferenceItem> items;
  std::optional<RegFileProblem> problem;  // the first fault; then there are no items
};

// Whether the bytes look like XML: after a UTF-8 byte-order mark and white
// space, a '<' (a UTF-16 byte-order mark before it counts too, so that such a
// file gets a fitting message).
bool LooksLikeXml(std::span<const std::byte> bytes);

// Reads the whole file. A file that is not well-formed XML, holds a document
// type declaration or an entity other than the five predefined ones, is not
// a RegistrySettings document, or has an item whose action, type or value is
// not what the format allows, is a fault with its line.
PreferencesFile ReadPreferencesFile(std::span<const std::byte> bytes);

// ---- writing ---------------------------------------------------------------

struct UtcTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// A GUID in its parts, as the platform makes them.
struct Guid {
  std::uint32_t data1 = 0;
  std::uint16_t data2 = 0, data3 = 0;
  std::array<std::uint8_t, 8> data4{};
};

// The clock each item's "changed" time comes from.
class ClockPort {
 public:
  virtual ~ClockPort() = default;
  virtual UtcTime NowUtc() = 0;
};

// A fresh identifier for each item ("uid").
class GuidPort {
 public:
  virtual ~GuidPort() = default;
  // Returns 0 or the platform's error code.
  virtual long NewGuid(Guid& guid) = 0;
};

// "{01234567-89AB-CDEF-0123-456789ABCDEF}".
std::wstring FormatGuid(const Guid& guid);

// One Registry item per value, in a Collection named for the program: a value
// with action U ("update": create or change it), a deletion with action D. The
// format holds REG_SZ and REG_EXPAND_SZ values that are one text and its
// terminator, with characters XML 1.0 can carry, and REG_DWORD values of four
// bytes.
// The file is UTF-8.
WrittenFile WritePreferencesFile(const std::vector<RegFileKey>& keys, ClockPort& clock,
                                 GuidPort& guids);

}  // namespace tavlin::settings
