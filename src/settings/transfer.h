// Moving the ten settings in and out of .reg files: what an export holds, and
// which entries of a file an import may apply. Only the catalogue's values are
// ever read or written, always through modReg_Func.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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

// ---- import ----------------------------------------------------------------

enum class SkipReason {
  KeyRemoval,     // [-key]: keys are never deleted
  ForeignKey,     // a key that holds none of the ten settings
  DefaultValue,   // "@" in one of the browser keys
  ForeignValue,   // a value that is not one of the ten settings
  PlainRemoval,   // a deletion of one of the five values that are never deleted
  OtherSkinName,  // the other skin value name, while the file also has this machine's
  Superseded,     // the same setting again later in the file
};

struct ImportSkip {
  std::size_t line = 0;
  SkipReason reason = SkipReason::ForeignValue;
  std::wstring key;          // the key as the file names it
  std::wstring valueName;    // empty for a whole key (and for "@")
  std::size_t values = 0;    // for a skipped key: how many values it held
  std::size_t usedLine = 0;  // OtherSkinName, Superseded: the line applied instead
};

struct ImportStep {
  std::size_t line = 0;
  std::size_t entry = 0;  // index into kSettings
  std::wstring_view key;
  std::wstring valueName;  // as stored on this machine
  std::wstring fileName;   // as the file names it (the skin's other name, maybe)
  bool remove = false;
  std::uint32_t type = 0;
  Bytes data;
};

struct ImportPlan {
  std::vector<ImportStep> steps;    // in catalogue order, one per setting at most
  std::vector<ImportSkip> skipped;  // in file order
};

// Only catalogue values under HKEY_CURRENT_USER, and deletions of the five
// picture values, are applied; the skin value is stored under `skinValueName`
// whichever of its two names the file uses. Where one setting appears more
// than once the last entry wins, except that the skin name this machine uses
// wins over the other one.
ImportPlan PlanImport(const RegFile& file, std::wstring_view skinValueName);

struct ImportOutcome {
  // Set when a key cannot be written; then nothing at all was written.
  long refusal = 0;
  std::wstring_view refusedKey;
  std::vector<long> results;  // one per step: 0 or the platform's error code
};

// Checks first that every key the plan writes to may be written, then stores
// and removes the values, one step after another.
ImportOutcome ApplyImport(RegistryPort& reg, const ImportPlan& plan);

}  // namespace tavlin::settings
