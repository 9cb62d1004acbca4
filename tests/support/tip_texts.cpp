#include "support/tip_texts.h"

namespace tavlin::testing {

std::map<Ctl, std::wstring> CatalogueWith(std::map<Ctl, std::wstring> extra) {
  std::map<Ctl, std::wstring> tips;
  for (const auto& row : tooltip::TipCatalogue()) {
    tips[row.control] = tooltip::TipText(row);
    if (extra.count(row.control)) tips[row.control] += L"\r\n" + extra[row.control];
  }
  return tips;
}

}  // namespace tavlin::testing
