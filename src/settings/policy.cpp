#include "settings/policy.h"

#include <algorithm>

#include "common/text.h"
#include "settings/modReg_Func.h"

namespace tavlin::settings {
namespace {

// A value is shown in a tip on one line and not at any length: line breaks,
// other control characters and the tooltip's "|" line mark become spaces.
constexpr std::size_t kShownChars = 80;

std::wstring OneLine(std::wstring_view value) {
  std::size_t shown = std::min(value.size(), kShownChars);
  // Never cut a character made of two UTF-16 units in half.
  if (shown < value.size() && shown > 0 && value[shown - 1] >= 0xD800 && value[shown - 1] <= 0xDBFF)
    --shown;
  std::wstring out;
  for (const wchar_t c : value.substr(0, shown))
    out += (c < L' ' || c == L'|' || c == 0x7F) ? L' ' : c;
  if (shown < value.size()) out += L'\u2026';
  return out;
}

// A lock is on when it holds a non-zero number (a DWORD, or its digits).
bool LockOn(const modReg_Func::RegRead& read) {
  using modReg_Func::ReadKind;
  if (read.kind == ReadKind::Integer) return read.number != 0;
  if (read.kind == ReadKind::Text) {
    const auto n = ParseUInt32(read.text);
    return n && *n != 0;
  }
  return false;
}

}  // namespace

std::wstring SetByPolicyLine(std::wstring_view value) {
  return L"Set by policy: " + OneLine(value) + L"; this box has no effect";
}

std::wstring PolicyLine(RegistryPort& reg, Ctl control) {
  bool locked = false;
  for (const PolicyEffect effect : {PolicyEffect::SetsValue, PolicyEffect::Locks}) {
    for (const PolicyValue& policy : kPolicyValues) {
      if (policy.control != control || policy.effect != effect) continue;
      for (const Hive hive : kPolicyHives) {
        const auto read = modReg_Func::ReadRegValue(reg, hive, policy.key, policy.name);
        if (effect == PolicyEffect::SetsValue) {
          const std::wstring shown = modReg_Func::DisplayForm(read);
          if (!shown.empty()) return SetByPolicyLine(shown);
        } else {
          locked = locked || LockOn(read);
        }
      }
    }
  }
  return locked ? std::wstring(kLockedByPolicyLine) : std::wstring();
}

}  // namespace tavlin::settings
