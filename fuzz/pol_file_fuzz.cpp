// Feeds arbitrary bytes through the Registry.pol rules an import runs: the
// reader and the import plan. They must never crash or read past a buffer; a
// fault must name a place inside the file; a plan may only ever touch the ten
// settings; and whatever a file reads as, the writer writes it in a form that
// reads back to the very same values.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "settings/catalogue.h"
#include "settings/pol_file.h"
#include "settings/transfer.h"

namespace {

using namespace tavlin::settings;

void Check(bool ok) {
  if (!ok) std::abort();
}

class NoClock : public ClockPort {
 public:
  UtcTime NowUtc() override { return {}; }
};
class NoGuids : public GuidPort {
 public:
  long NewGuid(Guid&) override { return 0; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::byte> bytes(reinterpret_cast<const std::byte*>(data), size);
  const PolFile pol = ReadPolFile(bytes);
  if (pol.problem) {
    Check(pol.records.empty() && pol.problem->offset <= size);
    return 0;
  }
  for (const PolRecord& r : pol.records) Check(r.offset + 8 < size && r.data.size() < size);

  const ImportFile in = ReadImportFile(bytes, nullptr);
  if (!HasPolSignature(bytes)) return 0;
  Check(!in.fault && in.format == FileFormat::Pol);
  for (std::wstring_view skin : {kSkinNameIE5, kSkinNameOld}) {
    const ImportPlan plan = PlanImport(in.entries, skin, in.setAside);
    Check(plan.steps.size() <= kSettings.size());
    for (const ImportStep& s : plan.steps)
      Check(s.entry < kSettings.size() && s.key == kSettings[s.entry].key &&
            s.valueName == ValueNameOf(kSettings[s.entry], skin));
  }

  NoClock clock;
  NoGuids guids;
  const WrittenFile out = FormatExport(FileFormat::Pol, in.entries.keys, clock, guids);
  if (!out.refusals.empty()) return 0;
  const ImportFile again = ReadImportFile(out.bytes, nullptr);
  Check(!again.fault && again.entries.keys.size() == in.entries.keys.size());
  for (std::size_t k = 0; k < in.entries.keys.size(); ++k) {
    const RegFileKey& a = in.entries.keys[k];
    const RegFileKey& b = again.entries.keys[k];
    Check(a.name == b.name && a.values.size() == 1 && b.values.size() == 1);
    const RegFileValue& x = a.values[0];
    const RegFileValue& y = b.values[0];
    Check(x.name == y.name && x.remove == y.remove && x.isDefault == y.isDefault);
    if (!x.remove) Check(x.type == y.type && x.data == y.data);
  }
  return 0;
}
