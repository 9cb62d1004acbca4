// Feeds arbitrary bytes through the .reg file rules an import runs: decoding,
// parsing and the import plan. They must never crash or read past a buffer; a
// plan may only ever touch the ten settings; and whatever a file parses to,
// the writer writes in a form that parses back to the very same values.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "settings/catalogue.h"
#include "settings/reg_file.h"
#include "settings/transfer.h"

namespace {

using namespace tavlin::settings;

std::wstring Latin1(std::string_view s) {
  std::wstring out;
  for (char c : s) out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
  return out;
}

void Check(bool ok) {
  if (!ok) std::abort();
}

bool IsCatalogueStep(const ImportStep& s, std::wstring_view skin) {
  if (s.entry >= kSettings.size()) return false;
  const SettingEntry& e = kSettings[s.entry];
  return s.key == e.key && s.valueName == ValueNameOf(e, skin) && (!s.remove || e.bRemove);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const AnsiDecoder ansi = Latin1;
  const std::span<const std::byte> bytes(reinterpret_cast<const std::byte*>(data), size);
  const DecodedRegFile decoded = DecodeRegFileBytes(bytes, ansi);
  if (decoded.problem) return 0;
  const RegFile file = ParseRegFile(decoded.text, ansi);
  if (file.problem) {
    Check(file.keys.empty() && file.problem->line >= 1);
    return 0;
  }

  for (std::wstring_view skin : {kSkinNameIE5, kSkinNameOld}) {
    const ImportPlan plan = PlanImport(file, skin);
    Check(plan.steps.size() <= kSettings.size());
    for (const ImportStep& s : plan.steps) Check(IsCatalogueStep(s, skin));
  }

  const RegFile again = ParseRegFile(FormatRegFile(file.keys), ansi);
  Check(!again.problem && again.keys.size() == file.keys.size());
  for (std::size_t k = 0; k < file.keys.size(); ++k) {
    const RegFileKey& a = file.keys[k];
    const RegFileKey& b = again.keys[k];
    Check(a.name == b.name && a.remove == b.remove && a.values.size() == b.values.size());
    for (std::size_t i = 0; i < a.values.size(); ++i) {
      const RegFileValue& x = a.values[i];
      const RegFileValue& y = b.values[i];
      Check(x.name == y.name && x.isDefault == y.isDefault && x.remove == y.remove);
      if (!x.remove) Check(x.type == y.type && x.data == y.data);
    }
  }
  return 0;
}
