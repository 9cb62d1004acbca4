#include "settings/transfer.h"

#include <algorithm>
#include <array>
#include <optional>

#include "settings/catalogue.h"
#include "settings/modReg_Func.h"

namespace tavlin::settings {
namespace {

// The catalogue keys in the order regedit would list them.
constexpr std::array<std::wstring_view, 3> kKeysInFileOrder = {kBrowserKey, kMainKey, kToolbarKey};

}  // namespace

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

ImportPlan PlanImport(const RegFile& file, std::wstring_view skinValueName) {
  ImportPlan plan;
  struct Choice {
    const RegFileKey* key;
    const RegFileValue* value;
    bool exactName;
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
      if (slot) {
        skip(*slot->key, slot->value,
             exact == slot->exactName ? SkipReason::Superseded : SkipReason::OtherSkinName, v.line);
      }
      slot = Choice{&k, &v, exact};
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
    out.results.push_back(
        s.remove
            ? modReg_Func::RemoveRegValue(reg, kHkeyCurrentUser, s.key, s.valueName)
            : modReg_Func::StoreRegRaw(reg, kHkeyCurrentUser, s.key, s.valueName, s.type, s.data));
  }
  return out;
}

}  // namespace tavlin::settings
