// Feeds arbitrary bytes through the XML reader and the Registry.xml rules an
// import runs. They must never crash or read past a buffer; a fault must keep
// nothing; a plan may only ever touch the ten settings; and every value item
// the file holds for HKEY_CURRENT_USER, the writer writes in a form that
// reads back to the same key, name, type and bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "settings/catalogue.h"
#include "settings/preferences_file.h"
#include "settings/transfer.h"
#include "settings/xml.h"

namespace {

using namespace tavlin::settings;

void Check(bool ok) {
  if (!ok) std::abort();
}

class NoClock : public ClockPort {
 public:
  UtcTime NowUtc() override { return {2000, 1, 1, 0, 0, 0}; }
};
class NoGuids : public GuidPort {
 public:
  long NewGuid(Guid&) override { return 0; }
};

bool Plain(const PreferenceItem& item) {
  return !item.disabled && !item.targeted && !item.keyOnly && !item.bitfield &&
         item.hive == L"HKEY_CURRENT_USER" && !item.key.starts_with(L'\\') &&
         !item.key.ends_with(L'\\') &&
         (item.action == PreferenceAction::Delete || item.typeCode.has_value());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::byte> bytes(reinterpret_cast<const std::byte*>(data), size);
  const XmlDocument doc = ReadXml(bytes);
  if (doc.problem) Check(doc.elements.empty() && doc.problem->line >= 1);
  for (std::size_t i = 1; i < doc.elements.size(); ++i) Check(doc.elements[i].parent < i);

  const PreferencesFile file = ReadPreferencesFile(bytes);
  if (file.problem) {
    Check(file.items.empty());
    return 0;
  }
  const ImportFile in = ReadImportFile(bytes, nullptr);
  if (LooksLikeXml(bytes)) {
    Check(!in.fault && in.format == FileFormat::Xml);
    for (std::wstring_view skin : {kSkinNameIE5, kSkinNameOld}) {
      const ImportPlan plan = PlanImport(in.entries, skin, in.setAside);
      Check(plan.steps.size() <= kSettings.size());
      for (const ImportStep& s : plan.steps)
        Check(s.entry < kSettings.size() && s.key == kSettings[s.entry].key &&
              s.valueName == ValueNameOf(kSettings[s.entry], skin));
    }
  }

  std::vector<RegFileKey> keys;
  for (const PreferenceItem& item : file.items) {
    if (!Plain(item)) continue;
    RegFileKey key;
    key.name = item.hive + L"\\" + item.key;
    RegFileValue v;
    v.name = item.name;
    v.isDefault = item.isDefault;
    v.remove = item.action == PreferenceAction::Delete;
    v.type = item.typeCode.value_or(0);
    v.data = item.data;
    key.values.push_back(std::move(v));
    keys.push_back(std::move(key));
  }
  NoClock clock;
  NoGuids guids;
  const WrittenFile out = WritePreferencesFile(keys, clock, guids);
  if (!out.refusals.empty()) return 0;
  const PreferencesFile again = ReadPreferencesFile(out.bytes);
  Check(!again.problem && again.items.size() == keys.size());
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const RegFileValue& v = keys[i].values[0];
    const PreferenceItem& item = again.items[i];
    Check(L"HKEY_CURRENT_USER\\" + item.key == keys[i].name && item.name == v.name &&
          item.isDefault == v.isDefault && (item.action == PreferenceAction::Delete) == v.remove);
    if (!v.remove) Check(item.typeCode == v.type && item.data == v.data);
  }
  return 0;
}
