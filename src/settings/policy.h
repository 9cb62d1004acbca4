// Policies that override what a box edits. The browser reads an
// administrator's policy values (under Software\Policies, machine-wide first,
// then the user's) before the user's own settings, so a box whose setting a
// policy holds edits a value the browser ignores. These are only ever read:
// no policy key is opened for writing, created or changed.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "common/control_id.h"
#include "settings/registry_port.h"

namespace tavlin::settings {

inline constexpr Hive kHkeyLocalMachine = 0x80000002u;

inline constexpr std::wstring_view kPolicyBrowserKey =
    L"Software\\Policies\\Microsoft\\Internet Explorer";
inline constexpr std::wstring_view kPolicyMainKey =
    L"Software\\Policies\\Microsoft\\Internet Explorer\\Main";
inline constexpr std::wstring_view kPolicyControlPanelKey =
    L"Software\\Policies\\Microsoft\\Internet Explorer\\Control Panel";

enum class PolicyEffect {
  SetsValue,  // the policy's own value is used instead of the box's
  Locks,      // a non-zero number forbids changing the setting
};

struct PolicyValue {
  Ctl control;
  std::wstring_view key;
  std::wstring_view name;
  PolicyEffect effect;
};

// Every policy value checked, by the box it overrides. A value that sets the
// setting outranks a lock on the same box.
inline constexpr std::array<PolicyValue, 3> kPolicyValues = {{
    // "Disable changing home page settings": the page, and the lock of the page.
    {Ctl::txtStart, kPolicyMainKey, L"Start Page", PolicyEffect::SetsValue},
    {Ctl::txtStart, kPolicyControlPanelKey, L"HomePage", PolicyEffect::Locks},
    // The user's download folder, set by policy.
    {Ctl::txtDownload, kPolicyBrowserKey, L"Download Directory", PolicyEffect::SetsValue},
}};

// The hives searched, in the order the browser gives them precedence.
inline constexpr std::array<Hive, 2> kPolicyHives = {kHkeyLocalMachine, kHkeyCurrentUser};

// The lines a tip gains.
std::wstring SetByPolicyLine(std::wstring_view value);
inline constexpr std::wstring_view kLockedByPolicyLine = L"Locked by policy";

// The line the control's tip gains from the policies in force, read now; the
// empty text when none applies (or the control has no policy).
std::wstring PolicyLine(RegistryPort& reg, Ctl control);

}  // namespace tavlin::settings
