// Moving the ten settings in and out of files: what an export holds, the
// formats (a .reg file, and Group Policy's Registry.pol and preferences
// Registry.xml), and which entries of a file an import may apply. Only the
// catalogue's values are ever read or written, always through modReg_Func.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "settings/preferences_file.h"
#include "settings/reg_file.h"
#include "settings/registry_port.h"

namespace tavlin::settings {

// ---- export ----------------------------------------------------------------

struct ExportFailure {
  std::wstring_view key;
  std::wstring valueName;
  long status = 0;  // the platform's error code
};

struct SettingsExport {
  // Present values exactly as stored; the picture values that are not set as
  // deletions, so that importing the file brings back this very state. The
  // skin value goes under the name this machine uses.
  std::vector<RegFileKey> keys;
  int values = 0;                         // present values written
  int removals = 0;                       // picture values not set, written as deletions
  std::vector<std::wstring_view> notSet;  // plain values not set: not in the file
  // Values that exist but could not be read. An export with any is refused:
  // leaving one out, or writing a deletion for it, would lose it on import.
  std::vector<ExportFailure> failures;
};

SettingsExport CollectExport(RegistryPort& reg, std::wstring_view skinValueName);

// The full name of a catalogue key as a .reg file writes it.
std::wstring RegFileKeyName(std::wstring_view key);

enum class FileFormat { Reg, Pol, Xml };

// An export's format, by the file name's extension: .pol and .xml (in any
// case) for Group Policy's files, anything else a .reg file.
FileFormat ExportFormatFor(std::wstring_view path);

// The exported keys in a format. The clock and the identifiers are used by
// the preferences format only.
WrittenFile FormatExport(FileFormat format, const std::vector<RegFileKey>& keys, ClockPort& clock,
                         GuidPort& guids);

// ---- import ----------------------------------------------------------------

enum class SkipReason {
  KeyRemoval,     // [-key]: keys are never deleted
  ForeignKey,     // a key that holds none of the ten settings
  DefaultValue,   // "@" in one of the browser keys
  ForeignValue,   // a value that is not one of the ten settings
  PlainRemoval,   // a deletion of one of the five values that are never deleted
  OtherSkinName,  // the other skin value name, while the file also has this machine's
  Superseded,     // the same setting again later in the file
  CreatedBefore,  // a create-only entry after one that stores the same setting
  NotApplied,     // an entry of a kind the format's reader sets aside; `detail` says which
};

struct ImportSkip {
  std::size_t line = 0;
  SkipReason reason = SkipReason::ForeignValue;
  std::wstring key;          // the key as the file names it
  std::wstring valueName;    // empty for a whole key (and for "@")
  std::size_t values = 0;    // for a skipped key: how many values it held
  std::size_t usedLine = 0;  // OtherSkinName, Superseded, CreatedBefore: the line applied instead
  std::wstring detail;       // NotApplied: why
};

struct ImportStep {
  std::size_t line = 0;
  std::size_t entry = 0;  // index into kSettings
  std::wstring_view key;
  std::wstring valueName;  // as stored on this machine
  std::wstring fileName;   // as the file names it (the skin's other name, maybe)
  bool remove = false;
  bool createOnly = false;  // stored only when the value is not there yet
  std::uint32_t type = 0;
  Bytes data;
};

struct ImportPlan {
  std::vector<ImportStep> steps;    // in catalogue order, one per setting at most
  std::vector<ImportSkip> skipped;  // in file order
};

// Where a file cannot be read. `position` is a line (.reg, .xml) or a record
// (.pol, where 0 stands for the header); a .pol fault also names its byte.
struct ImportFault {
  std::size_t position = 0;
  std::optional<std::size_t> byte;
  std::wstring what;
};

// A file of any format as an import reads it: its entries as a .reg file
// would hold them (a .pol record's or an .xml item's number or line standing
// for the line), and the entries its format's reader has set aside.
struct ImportFile {
  FileFormat format = FileFormat::Reg;
  RegFile entries;
  std::vector<ImportSkip> setAside;
  std::optional<ImportFault> fault;  // then there are no entries
};

// Knows the format by the content: the signature "PReg" a Registry.pol, a
// file that starts like XML a preferences file, anything else a .reg file.
// A Registry.pol's keys are taken as a user one's, under HKEY_CURRENT_USER.
ImportFile ReadImportFile(std::span<const std::byte> bytes, const AnsiDecoder& ansi);

// Only catalogue values under HKEY_CURRENT_USER, and deletions of the five
// picture values, are applied; the skin value is stored under `skinValueName`
// whichever of its two names the file uses. Where one setting appears more
// than once the last entry wins, except that the skin name this machine uses
// wins over the other one. The entries a reader set aside are listed with
// the skipped ones.
ImportPlan PlanImport(const RegFile& file, std::wstring_view skinValueName,
                      const std::vector<ImportSkip>& setAside = {});

struct ImportOutcome {
  // Set when a key cannot be written; then nothing at all was written.
  long refusal = 0;
  std::wstring_view refusedKey;
  std::vector<long> results;  // one per step: 0 or the platform's error code
  std::vector<bool> kept;     // one per step: a create-only value found set and left alone
};

// Checks first that every key the plan writes to may be written, then stores
// and removes the values, one step after another; a create-only step stores
// its value only where there is none yet.
ImportOutcome ApplyImport(RegistryPort& reg, const ImportPlan& plan);

}  // namespace tavlin::settings
