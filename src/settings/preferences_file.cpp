#include "settings/preferences_file.h"

#include <algorithm>

#include "common/text.h"
#include "settings/registry_port.h"
#include "settings/xml.h"

namespace tavlin::settings {
namespace {

constexpr std::wstring_view kSettingsClsid = L"{A3CCFC41-DFDB-43a5-8D26-0FE8B954DA51}";
constexpr std::wstring_view kCollectionClsid = L"{53B533F5-224C-47e3-B01B-CA3B3F3FF4BF}";
constexpr std::wstring_view kItemClsid = L"{9CD4B2F4-923D-47f5-A062-E897DD1DAD50}";
constexpr std::wstring_view kCollectionName = L"Tavlin";

// The type names an item may carry; the values of the first three are read.
constexpr struct {
  std::wstring_view name;
  std::optional<std::uint32_t> read;
} kTypes[] = {{L"REG_SZ", kRegSz},           {L"REG_EXPAND_SZ", kRegExpandSz},
              {L"REG_DWORD", kRegDword},     {L"REG_MULTI_SZ", std::nullopt},
              {L"REG_BINARY", std::nullopt}, {L"REG_QWORD", std::nullopt}};

constexpr struct {
  wchar_t letter;
  PreferenceAction action;
} kActions[] = {{L'C', PreferenceAction::Create},
                {L'R', PreferenceAction::Replace},
                {L'U', PreferenceAction::Update},
                {L'D', PreferenceAction::Delete}};

std::wstring Hex(std::uint32_t n, int digits) {
  constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
  std::wstring out(static_cast<std::size_t>(digits), L'0');
  for (int i = digits - 1; i >= 0; --i, n >>= 4)
    out[static_cast<std::size_t>(i)] = kDigits[n & 0xF];
  return out;
}

std::optional<std::uint32_t> ParseHex(std::wstring_view s) {
  if (s.empty() || s.size() > 8) return std::nullopt;
  std::uint32_t n = 0;
  for (wchar_t c : s) {
    const auto u = static_cast<std::uint32_t>(c);
    std::uint32_t d = 0;
    if (u >= '0' && u <= '9')
      d = u - '0';
    else if ((u | 0x20) >= 'a' && (u | 0x20) <= 'f')
      d = (u | 0x20) - 'a' + 10;
    else
      return std::nullopt;
    n = (n << 4) | d;
  }
  return n;
}

class Interpreter {
 public:
  explicit Interpreter(const XmlDocument& doc) : doc_(doc) {}

  PreferencesFile Run() {
    const auto& all = doc_.elements;
    if (all[0].name != L"RegistrySettings") {
      Fail(all[0].line, {L"the document is a <", all[0].name,
                         L">: a preferences registry file holds <RegistrySettings>"});
      return std::move(file_);
    }
    // Whether each element is switched off or targeted, itself or by one around it.
    std::vector<bool> off(all.size()), targeted(all.size());
    for (const XmlElement& e : all)
      if (e.name == L"Filters" && e.parent != XmlElement::kNoParent) targeted[e.parent] = true;
    for (std::size_t i = 0; i < all.size(); ++i) {
      const std::wstring* disabled = all[i].Attribute(L"disabled");
      off[i] = disabled && *disabled == L"1";
      if (all[i].parent == XmlElement::kNoParent) continue;
      off[i] = off[i] || off[all[i].parent];
      targeted[i] = targeted[i] || targeted[all[i].parent];
    }
    std::vector<std::size_t> itemOf(all.size(), kNone);
    for (std::size_t i = 1; i < all.size() && !file_.problem; ++i) {
      const XmlElement& e = all[i];
      const std::wstring& parent = all[e.parent].name;
      if (parent == L"RegistrySettings" || parent == L"Collection") {
        if (e.name != L"Collection" && e.name != L"Registry" && e.name != L"Filters")
          Fail(e.line, {L"<", e.name, L"> may not stand in <", parent,
                        L">: only Registry items and Collections may"});
        if (e.name == L"Registry") itemOf[i] = kPending;
      } else if (parent == L"Registry") {
        if (e.name == L"Properties") {
          if (itemOf[e.parent] != kPending) {
            Fail(e.line, {L"a Registry item holds one <Properties>"});
            break;
          }
          itemOf[e.parent] = file_.items.size();
          Item(all[e.parent], e, off[e.parent], targeted[e.parent]);
        } else if (e.name != L"Filters") {
          Fail(e.line, {L"<", e.name, L"> may not stand in a Registry item"});
        }
      }
      // What Properties and Filters hold (Values, SubProp, the filters) is not read.
    }
    for (std::size_t i = 0; i < all.size() && !file_.problem; ++i)
      if (itemOf[i] == kPending) Fail(all[i].line, {L"the Registry item has no <Properties>"});
    if (file_.problem) file_.items.clear();
    return std::move(file_);
  }

 private:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  static constexpr std::size_t kPending = kNone - 1;

  void Fail(std::size_t line, std::initializer_list<std::wstring_view> what) {
    if (!file_.problem) file_.problem = RegFileProblem{line, Concat(what)};
  }

  void Item(const XmlElement& registry, const XmlElement& p, bool disabled, bool targeted) {
    PreferenceItem item;
    item.line = registry.line;
    item.disabled = disabled;
    item.targeted = targeted;
    const auto attribute = [&](std::wstring_view name) {
      const std::wstring* a = p.Attribute(name);
      return a ? *a : std::wstring();
    };
    const std::wstring action = p.Attribute(L"action") ? attribute(L"action") : L"U";
    const auto known = std::find_if(std::begin(kActions), std::end(kActions), [&](const auto& a) {
      return action.size() == 1 && action[0] == a.letter;
    });
    if (known == std::end(kActions)) {
      Fail(p.line, {L"action \"", action, L"\": an item's action is C, R, U or D"});
      return;
    }
    item.action = known->action;
    if (!p.Attribute(L"hive") || !p.Attribute(L"key")) {
      Fail(p.line, {L"the item names no hive or no key"});
      return;
    }
    item.hive = attribute(L"hive");
    item.key = attribute(L"key");
    item.name = attribute(L"name");
    item.isDefault = attribute(L"default") == L"1";
    item.keyOnly = item.name.empty() && !item.isDefault;
    item.bitfield = attribute(L"bitfield") == L"1";
    item.type = attribute(L"type");
    if (!item.keyOnly && item.action != PreferenceAction::Delete && !Value(p, item)) return;
    file_.items.push_back(std::move(item));
  }

  bool Value(const XmlElement& p, PreferenceItem& item) {
    const auto type = std::find_if(std::begin(kTypes), std::end(kTypes),
                                   [&](const auto& t) { return t.name == item.type; });
    if (type == std::end(kTypes)) {
      Fail(p.line, {L"type \"", item.type,
                    L"\": a value's type is REG_SZ, REG_EXPAND_SZ, REG_DWORD, REG_MULTI_SZ, "
                    L"REG_BINARY or REG_QWORD"});
      return false;
    }
    item.typeCode = type->read;
    const std::wstring* value = p.Attribute(L"value");
    const std::wstring text = value ? *value : std::wstring();
    if (item.typeCode == kRegDword) {
      const auto n = ParseHex(text);
      if (!n) {
        Fail(p.line, {L"the REG_DWORD value \"", std::wstring_view(text).substr(0, 20),
                      L"\" is not a number of one to eight hex digits"});
        return false;
      }
      item.data = Bytes{std::byte(*n & 0xFF), std::byte((*n >> 8) & 0xFF),
                        std::byte((*n >> 16) & 0xFF), std::byte(*n >> 24)};
    } else if (item.typeCode) {
      item.data = modReg_Func::EncodeRegSz(text);
    }
    return true;
  }

  const XmlDocument& doc_;
  PreferencesFile file_;
};

// ---- writing ---------------------------------------------------------------

std::wstring Two(int n) {
  return {static_cast<wchar_t>(L'0' + n / 10 % 10), static_cast<wchar_t>(L'0' + n % 10)};
}

std::wstring Stamp(const UtcTime& t) {
  return Concat({ToDecimal(t.year), L"-", Two(t.month), L"-", Two(t.day), L" ", Two(t.hour), L":",
                 Two(t.minute), L":", Two(t.second)});
}

std::wstring CodePointName(std::uint32_t c) {
  return L"U+" + Hex(c, c > 0xFFFF ? 6 : 4);
}

// An attribute: name="text", or a reason the text cannot be one.
std::optional<std::wstring> Attribute(std::wstring& out, std::wstring_view name,
                                      std::wstring_view text, std::wstring_view what) {
  std::uint32_t bad = 0;
  const auto escaped = XmlAttributeText(text, bad);
  if (!escaped)
    return Concat({L"its ", what, L" holds ", CodePointName(bad), L", which XML 1.0 cannot carry"});
  out = Concat({L" ", name, L"=\"", *escaped, L"\""});
  return std::nullopt;
}

struct Item {
  std::wstring type;
  std::wstring value;
  int image = 0;
};

// The type and value text of a value, or why it has none.
std::optional<std::wstring> Describe(const RegFileValue& v, Item& item) {
  if (v.remove) {
    item = {L"REG_SZ", L"", 8};
    return std::nullopt;
  }
  if (v.type == kRegDword) {
    if (v.data.size() != 4)
      return Concat({L"it is a REG_DWORD of ", ToDecimal(static_cast<std::int64_t>(v.data.size())),
                     L" bytes, not 4"});
    std::uint32_t n = 0;
    for (int i = 3; i >= 0; --i) n = (n << 8) | static_cast<std::uint32_t>(v.data[i]);
    item = {L"REG_DWORD", Hex(n, 8), 12};
    return std::nullopt;
  }
  if (v.type != kRegSz && v.type != kRegExpandSz)
    return Concat({L"its type, ", RegTypeName(v.type),
                   L", is not one a preferences file holds (REG_SZ, REG_EXPAND_SZ, REG_DWORD)"});
  if (v.data.size() % 2 != 0)
    return Concat({L"its ", ToDecimal(static_cast<std::int64_t>(v.data.size())),
                   L" bytes are not whole UTF-16 characters"});
  std::wstring text;
  for (std::size_t i = 0; i + 1 < v.data.size(); i += 2)
    text.push_back(static_cast<wchar_t>(static_cast<unsigned>(v.data[i]) |
                                        (static_cast<unsigned>(v.data[i + 1]) << 8)));
  if (text.empty() || text.back() != L'\0')
    return L"its text does not end in a NUL, which a preferences item always adds";
  text.pop_back();
  if (text.find(L'\0') != std::wstring::npos)
    return L"its text holds U+0000 before its end, which XML 1.0 cannot carry";
  item = {RegTypeName(v.type), std::move(text), 7};
  return std::nullopt;
}

}  // namespace

bool LooksLikeXml(std::span<const std::byte> bytes) {
  const auto at = [&](std::size_t i) {
    return i < bytes.size() ? static_cast<unsigned>(bytes[i]) : 0x100u;
  };
  if (at(0) == 0xFF && at(1) == 0xFE) return at(2) == '<' && at(3) == 0;
  if (at(0) == 0xFE && at(1) == 0xFF) return at(2) == 0 && at(3) == '<';
  std::size_t i = at(0) == 0xEF && at(1) == 0xBB && at(2) == 0xBF ? 3 : 0;
  while (at(i) == ' ' || at(i) == '\t' || at(i) == '\r' || at(i) == '\n') ++i;
  return at(i) == '<';
}

PreferencesFile ReadPreferencesFile(std::span<const std::byte> bytes) {
  const XmlDocument doc = ReadXml(bytes);
  if (doc.problem) return {{}, RegFileProblem{doc.problem->line, doc.problem->what}};
  return Interpreter(doc).Run();
}

std::wstring FormatGuid(const Guid& g) {
  std::wstring tail;
  for (std::size_t i = 2; i < g.data4.size(); ++i) tail += Hex(g.data4[i], 2);
  return Concat({L"{", Hex(g.data1, 8), L"-", Hex(g.data2, 4), L"-", Hex(g.data3, 4), L"-",
                 Hex(g.data4[0], 2), Hex(g.data4[1], 2), L"-", tail, L"}"});
}

WrittenFile WritePreferencesFile(const std::vector<RegFileKey>& keys, ClockPort& clock,
                                 GuidPort& guids) {
  WrittenFile out;
  const std::wstring changed = Stamp(clock.NowUtc());
  std::wstring text =
      Concat({L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<RegistrySettings clsid=\"",
              kSettingsClsid, L"\">\r\n  <Collection clsid=\"", kCollectionClsid, L"\" name=\"",
              kCollectionName, L"\">\r\n"});
  for (const RegFileKey& key : keys) {
    std::wstring_view path = SplitRegKeyName(key.name).path;
    while (path.starts_with(L'\\')) path.remove_prefix(1);
    while (path.ends_with(L'\\')) path.remove_suffix(1);
    for (const RegFileValue& v : key.values) {
      Item item;
      std::wstring name, status, keyAttribute, nameAttribute, valueAttribute;
      const std::wstring_view shown = v.isDefault ? L"(Default)" : std::wstring_view(v.name);
      auto why = Describe(v, item);
      if (!why) why = Attribute(name, L"name", shown, L"name");
      if (!why) why = Attribute(status, L"status", shown, L"name");
      if (!why) why = Attribute(keyAttribute, L"key", path, L"key");
      if (!why) why = Attribute(nameAttribute, L"name", v.name, L"name");
      if (!why) why = Attribute(valueAttribute, L"value", item.value, L"text");
      if (why) {
        out.refusals.push_back({key.name, v.name, *why});
        continue;
      }
      Guid uid;
      if (out.guidFailure == 0) out.guidFailure = guids.NewGuid(uid);
      // As the console writes an item: its name and status are the value's name.
      text += Concat({L"    <Registry clsid=\"",
                      kItemClsid,
                      L"\"",
                      name,
                      status,
                      L" image=\"",
                      ToDecimal(item.image),
                      L"\" changed=\"",
                      changed,
                      L"\" uid=\"",
                      FormatGuid(uid),
                      L"\">\r\n      <Properties action=\"",
                      v.remove ? L"D" : L"U",
                      L"\" displayDecimal=\"",
                      item.type == L"REG_DWORD" ? L"1" : L"0",
                      L"\" default=\"",
                      v.isDefault ? L"1" : L"0",
                      L"\" hive=\"HKEY_CURRENT_USER\"",
                      keyAttribute,
                      nameAttribute,
                      L" type=\"",
                      item.type,
                      L"\"",
                      valueAttribute,
                      L"/>\r\n    </Registry>\r\n"});
    }
  }
  text += L"  </Collection>\r\n</RegistrySettings>\r\n";
  if (!out.refusals.empty() || out.guidFailure != 0) return out;
  const std::string utf8 = EncodeUtf8(text);
  out.bytes.assign(reinterpret_cast<const std::byte*>(utf8.data()), utf8.size());
  return out;
}

}  // namespace tavlin::settings
