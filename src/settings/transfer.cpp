#include "settings/transfer.h"

#include <algorithm>
#include <array>
#include <optional>

#include "common/text.h"
#include "settings/catalogue.h"
#include "settings/modReg_Func.h"
#include "settings/pol_file.h"

namespace tavlin::settings {
namespace {

// The catalogue keys in the order regedit would list them.
constexpr std::array<std::wstring_view, 3> kKeysInFileOrder = {kBrowserKey, kMainKey, kToolbarKey};

std::wstring_view KeyPart(const std::wstring& key) {
  return key.empty() ? std::wstring_view() : std::wstring_view(L"\\");
}

ImportSkip SetAside(std::size_t line, std::wstring key, std::wstring valueName,
                    std::wstring detail) {
  ImportSkip s;
  s.line = line;
  s.reason = SkipReason::NotApplied;
  s.key = std::move(key);
  s.valueName = std::move(valueName);
  s.detail = std::move(detail);
  return s;
}

// A Registry.pol holds the keys of one user (or the machine) without a root
// key; an import takes it as a user's.
ImportFile FromPolFile(const PolFile& pol) {
  ImportFile in;
  in.format = FileFormat::Pol;
  if (pol.problem) {
    in.fault = ImportFault{pol.problem->record, pol.problem->offset, pol.problem->what};
    return in;
  }
  for (const PolRecord& r : pol.records) {
    RegFileKey key;
    key.line = r.number;
    key.name = RegFileKeyName(r.key);
    RegFileValue v;
    v.line = r.number;
    if (StartsWithIgnoringAsciiCase(r.valueName, kPolDeletePrefix)) {
      v.name = r.valueName.substr(kPolDeletePrefix.size());
      v.remove = true;
    } else if (r.valueName.starts_with(kPolInstructionPrefix)) {
      in.setAside.push_back(SetAside(r.number, key.name, r.valueName,
                                     L"an instruction of a Registry.pol, not a value"));
      continue;
    } else {
      v.name = r.valueName;
      v.type = r.type;
      v.data = r.data;
    }
    v.isDefault = v.name.empty();
    key.values.push_back(std::move(v));
    in.entries.keys.push_back(std::move(key));
  }
  return in;
}

ImportFile FromPreferencesFile(const PreferencesFile& xml) {
  ImportFile in;
  in.format = FileFormat::Xml;
  if (xml.problem) {
    in.fault = ImportFault{xml.problem->line, std::nullopt, xml.problem->what};
    return in;
  }
  for (const PreferenceItem& item : xml.items) {
    RegFileKey key;
    key.line = item.line;
    key.name = Concat({item.hive, KeyPart(item.key), item.key});
    const bool removal = item.action == PreferenceAction::Delete;
    const auto aside = [&](std::wstring why) {
      in.setAside.push_back(SetAside(item.line, key.name, item.name, std::move(why)));
    };
    if (item.disabled) {
      aside(L"the item is switched off in the file");
    } else if (item.targeted) {
      aside(L"item-level targeting, which Tavlin does not weigh, decides where it applies");
    } else if (item.keyOnly && removal) {
      key.remove = true;
      in.entries.keys.push_back(std::move(key));
    } else if (item.keyOnly) {
      aside(L"an item for the key itself, with no value");
    } else if (item.bitfield) {
      aside(L"an item that sets single bits of its value");
    } else if (!removal && !item.typeCode) {
      aside(Concat({L"its type, ", item.type,
                    L", is not one Tavlin reads (REG_SZ, REG_EXPAND_SZ, REG_DWORD)"}));
    } else {
      RegFileValue v;
      v.line = item.line;
      v.name = item.name;
      v.isDefault = item.isDefault;
      v.remove = removal;
      v.type = item.typeCode.value_or(0);
      v.data = item.data;
      // Create makes a value that is missing and leaves one that is there;
      // Replace and Update both end with the item's value stored.
      v.createOnly = item.action == PreferenceAction::Create;
      key.values.push_back(std::move(v));
      in.entries.keys.push_back(std::move(key));
    }
  }
  return in;
}

}  // namespace

FileFormat ExportFormatFor(std::wstring_view path) {
  const std::size_t dot = path.find_last_of(L'.');
  const std::size_t slash = path.find_last_of(L"\\/");
  if (dot == std::wstring_view::npos || (slash != std::wstring_view::npos && slash > dot))
    return FileFormat::Reg;
  const std::wstring_view extension = path.substr(dot);
  if (EqualsIgnoringAsciiCase(extension, L".pol")) return FileFormat::Pol;
  if (EqualsIgnoringAsciiCase(extension, L".xml")) return FileFormat::Xml;
  return FileFormat::Reg;
}

WrittenFile FormatExport(FileFormat format, const std::vector<RegFileKey>& keys, ClockPort& clock,
                         GuidPort& guids) {
  switch (format) {
    case FileFormat::Pol:
      return WritePolFile(keys);
    case FileFormat::Xml:
      return WritePreferencesFile(keys, clock, guids);
    case FileFormat::Reg:
      break;
  }
  return {EncodeUtf16LeWithBom(FormatRegFile(keys)), {}, 0};
}

ImportFile ReadImportFile(std::span<const std::byte> bytes, const AnsiDecoder& ansi) {
  if (HasPolSignature(bytes)) return FromPolFile(ReadPolFile(bytes));
  if (LooksLikeXml(bytes)) return FromPreferencesFile(ReadPreferencesFile(bytes));
  ImportFile in;
  const DecodedRegFile decoded = DecodeRegFileBytes(bytes, ansi);
  if (!decoded.problem) in.entries = ParseRegFile(decoded.text, ansi);
  if (const auto& problem = decoded.problem ? decoded.problem : in.entries.problem)
    in.fault = ImportFault{problem->line, std::nullopt, problem->what};
  return in;
}

std::wstring RegFileKeyName(std::wstring_view key) {
  return L"HKEY_CURRENT_USER\\" + std::wstring(key);
}

SettingsExport CollectExport(RegistryPort& reg, std::wstring_view skinValueName) {
  SettingsExport out;
  for (std::wstring_view key : kKeysInFileOrder) {
    RegFileKey section;
    section.name = RegFileKeyName(key);
    for (const SettingEntry& e : kSettings) {
      if (e.key != key) continue;
      const std::wstring_view name = ValueNameOf(e, skinValueName);
      if (name.empty()) continue;  // no skin name chosen: nothing to export for it
      modReg_Func::RawValue raw = modReg_Func::ReadRegRaw(reg, kHkeyCurrentUser, key, name);
      RegFileValue v;
      v.name = std::wstring(name);
      if (raw.Present()) {
        v.type = raw.type;
        v.data = std::move(raw.data);
        ++out.values;
      } else if (raw.Missing() && e.bRemove) {
        v.remove = true;
        ++out.removals;
      } else if (raw.Missing()) {
        out.notSet.push_back(e.valueName);
        continue;
      } else {
        out.failures.push_back({key, v.name, raw.status});
        continue;
      }
      section.values.push_back(std::move(v));
    }
    if (!section.values.empty()) out.keys.push_back(std::move(section));
  }
  return out;
}

ImportPlan PlanImport(const RegFile& file, std::wstring_view skinValueName,
                      const std::vector<ImportSkip>& setAside) {
  ImportPlan plan;
  plan.skipped = setAside;
  struct Choice {
    const RegFileKey* key;
    const RegFileValue* value;
    bool exactName;
    bool createOnly;
  };
  std::array<std::optional<Choice>, kSettings.size()> chosen;

  const auto skip = [&](const RegFileKey& k, const RegFileValue* v, SkipReason why,
                        std::size_t usedLine = 0) {
    ImportSkip s;
    s.line = v ? v->line : k.line;
    s.reason = why;
    s.key = k.name;
    if (v) s.valueName = v->name;
    if (!v) s.values = k.values.size();
    s.usedLine = usedLine;
    plan.skipped.push_back(std::move(s));
  };

  for (const RegFileKey& k : file.keys) {
    if (k.remove) {
      skip(k, nullptr, SkipReason::KeyRemoval);
      continue;
    }
    const RegKeyName name = SplitRegKeyName(k.name);
    const auto ours = std::find_if(kKeysInFileOrder.begin(), kKeysInFileOrder.end(),
                                   [&](std::wstring_view c) { return SameRegName(c, name.path); });
    if (name.root != RegRoot::CurrentUser || ours == kKeysInFileOrder.end()) {
      skip(k, nullptr, SkipReason::ForeignKey);
      continue;
    }
    for (const RegFileValue& v : k.values) {
      if (v.isDefault) {
        skip(k, &v, SkipReason::DefaultValue);
        continue;
      }
      std::optional<std::size_t> entry;
      for (std::size_t i = 0; i < kSettings.size() && !entry; ++i) {
        const SettingEntry& e = kSettings[i];
        if (e.key != *ours) continue;
        const bool match =
            e.IsSkin() ? SameRegName(v.name, kSkinNameIE5) || SameRegName(v.name, kSkinNameOld)
                       : SameRegName(v.name, e.valueName);
        if (match) entry = i;
      }
      if (!entry) {
        skip(k, &v, SkipReason::ForeignValue);
        continue;
      }
      const SettingEntry& e = kSettings[*entry];
      if (v.remove && !e.bRemove) {
        skip(k, &v, SkipReason::PlainRemoval);
        continue;
      }
      const bool exact = !e.IsSkin() || SameRegName(v.name, skinValueName);
      std::optional<Choice>& slot = chosen[*entry];
      if (slot && slot->exactName && !exact) {
        skip(k, &v, SkipReason::OtherSkinName, slot->value->line);
        continue;
      }
      // Applied in file order, a create-only entry finds the value an earlier
      // one stores, and stores its own after an earlier deletion.
      if (slot && v.createOnly && !slot->value->remove) {
        skip(k, &v, SkipReason::CreatedBefore, slot->value->line);
        continue;
      }
      const bool createOnly = v.createOnly && !(slot && slot->value->remove);
      if (slot) {
        skip(*slot->key, slot->value,
             exact == slot->exactName ? SkipReason::Superseded : SkipReason::OtherSkinName, v.line);
      }
      slot = Choice{&k, &v, exact, createOnly};
    }
  }

  for (std::size_t i = 0; i < kSettings.size(); ++i) {
    if (!chosen[i]) continue;
    const SettingEntry& e = kSettings[i];
    const RegFileValue& v = *chosen[i]->value;
    const std::wstring_view target = ValueNameOf(e, skinValueName);
    if (target.empty()) continue;  // no skin name chosen: the skin cannot be placed
    ImportStep step;
    step.line = v.line;
    step.entry = i;
    step.key = e.key;
    step.valueName = std::wstring(target);
    step.fileName = v.name;
    step.remove = v.remove;
    step.createOnly = chosen[i]->createOnly;
    step.type = v.type;
    step.data = v.data;
    plan.steps.push_back(std::move(step));
  }
  std::stable_sort(plan.skipped.begin(), plan.skipped.end(),
                   [](const ImportSkip& a, const ImportSkip& b) { return a.line < b.line; });
  return plan;
}

ImportOutcome ApplyImport(RegistryPort& reg, const ImportPlan& plan) {
  ImportOutcome out;
  for (std::wstring_view key : kKeysInFileOrder) {
    const bool used = std::any_of(plan.steps.begin(), plan.steps.end(),
                                  [&](const ImportStep& s) { return s.key == key; });
    if (!used) continue;
    if (const long rc = modReg_Func::CheckKeyWritable(reg, kHkeyCurrentUser, key); rc != 0) {
      out.refusal = rc;
      out.refusedKey = key;
      return out;
    }
  }
  for (const ImportStep& s : plan.steps) {
    if (s.createOnly) {
      const auto now = modReg_Func::ReadRegRaw(reg, kHkeyCurrentUser, s.key, s.valueName);
      out.kept.push_back(now.Present());
      if (!now.Missing()) {
        out.results.push_back(now.Present() ? 0 : now.status);
        continue;
      }
    } else {
      out.kept.push_back(false);
    }
    out.results.push_back(
        s.remove
            ? modReg_Func::RemoveRegValue(reg, kHkeyCurrentUser, s.key, s.valueName)
            : modReg_Func::StoreRegRaw(reg, kHkeyCurrentUser, s.key, s.valueName, s.type, s.data));
  }
  return out;
}

}  // namespace tavlin::settings
