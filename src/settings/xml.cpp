#include "settings/xml.h"

#include <algorithm>
#include <cstdint>

#include "common/text.h"

namespace tavlin::settings {
namespace {

std::uint32_t CodeUnit(wchar_t c) {
  return static_cast<std::uint32_t>(c) & 0xFFFF;
}

bool IsSpace(wchar_t c) {
  return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
}

// XML 1.0's name characters, with every character from U+00C0 on taken as a
// letter (the few it leaves out there are of no concern to these files).
bool IsNameStart(wchar_t c) {
  const std::uint32_t u = CodeUnit(c);
  return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || u == '_' || u == ':' ||
         (u >= 0xC0 && u != 0xD7 && u != 0xF7);
}

bool IsNameChar(wchar_t c) {
  const std::uint32_t u = CodeUnit(c);
  return IsNameStart(c) || (u >= '0' && u <= '9') || u == '-' || u == '.' || u == 0xB7;
}

std::wstring CodePointName(std::uint32_t c) {
  constexpr wchar_t kHex[] = L"0123456789ABCDEF";
  std::wstring out;
  do {
    out.insert(out.begin(), kHex[c & 0xF]);
    c >>= 4;
  } while (c != 0 || out.size() < 4);
  return L"U+" + out;
}

constexpr struct {
  std::wstring_view name;
  wchar_t meant;
} kEntities[] = {{L"lt", L'<'}, {L"gt", L'>'}, {L"amp", L'&'}, {L"quot", L'"'}, {L"apos", L'\''}};

class Reader {
 public:
  explicit Reader(std::wstring text) : text_(std::move(text)) {}

  XmlDocument Run() {
    Document();
    if (doc_.problem) doc_.elements.clear();
    return std::move(doc_);
  }

 private:
  void Document() {
    if (!CheckCharacters()) return;
    if (At(L"<?xml") && pos_ + 5 < text_.size() && IsSpace(text_[pos_ + 5]) && !Declaration())
      return;
    if (!Misc()) return;
    if (pos_ == text_.size()) {
      Fault(pos_, L"the file holds no element");
    } else if (text_[pos_] != L'<') {
      Fault(pos_, L"text before the first element");
    } else if (Elements() && Misc() && pos_ < text_.size()) {
      Fault(pos_, L"only comments and processing instructions may follow the last end tag");
    }
  }

  bool Fault(std::size_t at, std::initializer_list<std::wstring_view> what) {
    if (!doc_.problem) doc_.problem = XmlProblem{LineAt(at), Concat(what)};
    return false;
  }
  bool Fault(std::size_t at, std::wstring_view what) { return Fault(at, {what}); }

  // Lines end at LF, CR LF or a lone CR. Asked for positions that mostly grow.
  std::size_t LineAt(std::size_t pos) {
    if (pos < linePos_) linePos_ = 0, line_ = 1;
    for (; linePos_ < pos && linePos_ < text_.size(); ++linePos_) {
      const wchar_t c = text_[linePos_];
      const bool crlf = c == L'\r' && linePos_ + 1 < text_.size() && text_[linePos_ + 1] == L'\n';
      if (c == L'\n' || (c == L'\r' && !crlf)) ++line_;
    }
    return line_;
  }

  bool At(std::wstring_view s) const {
    return std::wstring_view(text_).substr(pos_, s.size()) == s;
  }
  bool SkipSpace() {
    const std::size_t start = pos_;
    while (pos_ < text_.size() && IsSpace(text_[pos_])) ++pos_;
    return pos_ > start;
  }

  bool CheckCharacters() {
    for (std::size_t i = 0; i < text_.size(); ++i) {
      const std::uint32_t u = CodeUnit(text_[i]);
      if (u >= 0xD800 && u <= 0xDFFF) continue;  // the decoder makes only whole pairs
      if (!IsXmlChar(u))
        return Fault(i, {L"the character ", CodePointName(u), L" may not appear in XML"});
    }
    return true;
  }

  std::optional<std::wstring> Name() {
    if (pos_ >= text_.size() || !IsNameStart(text_[pos_])) return std::nullopt;
    const std::size_t start = pos_;
    while (pos_ < text_.size() && IsNameChar(text_[pos_])) ++pos_;
    return text_.substr(start, pos_ - start);
  }

  // <?xml version="1.x" encoding="UTF-8" standalone="yes|no"?>, the last two optional.
  bool Declaration() {
    const std::size_t start = pos_;
    pos_ += 5;
    constexpr std::wstring_view kNames[] = {L"version", L"encoding", L"standalone"};
    std::size_t next = 0;
    for (;;) {
      const bool space = SkipSpace();
      if (At(L"?>")) break;
      const auto name = Name();
      const auto known = std::find(std::begin(kNames) + static_cast<std::ptrdiff_t>(next),
                                   std::end(kNames), name.value_or(L""));
      if (!space || !name || known == std::end(kNames) || (next == 0 && *name != kNames[0]))
        return Fault(pos_, L"the XML declaration must read <?xml version=\"1.0\" ...?>");
      next = static_cast<std::size_t>(known - std::begin(kNames)) + 1;
      SkipSpace();
      if (!At(L"=")) return Fault(pos_, {L"'=' must follow ", *name, L" in the XML declaration"});
      ++pos_;
      SkipSpace();
      const wchar_t quote = pos_ < text_.size() ? text_[pos_] : L'\0';
      const std::size_t end =
          quote == L'"' || quote == L'\'' ? text_.find(quote, pos_ + 1) : std::wstring::npos;
      if (end == std::wstring::npos)
        return Fault(pos_, {L"the XML declaration's ", *name, L" must be in quotes"});
      const std::wstring value = text_.substr(pos_ + 1, end - pos_ - 1);
      pos_ = end + 1;
      const bool digits =
          value.size() > 2 && std::all_of(value.begin() + 2, value.end(),
                                          [](wchar_t c) { return c >= L'0' && c <= L'9'; });
      if (*name == L"version" && !(value.starts_with(L"1.") && digits))
        return Fault(start, {L"XML version ", value, L" is not XML 1.0"});
      if (*name == L"encoding" && !EqualsIgnoringAsciiCase(value, L"UTF-8"))
        return Fault(start, {L"the file says it is in ", value,
                             L"; Tavlin reads these files in UTF-8, as Group Policy writes them"});
      if (*name == L"standalone" && value != L"yes" && value != L"no")
        return Fault(start, L"standalone must be \"yes\" or \"no\"");
    }
    if (next == 0) return Fault(start, L"the XML declaration names no version");
    pos_ += 2;
    return true;
  }

  bool Comment() {
    const std::size_t start = pos_;
    const std::size_t dashes = text_.find(L"--", pos_ + 4);
    if (dashes == std::wstring::npos) return Fault(start, L"the file ends inside a comment");
    if (dashes + 2 >= text_.size() || text_[dashes + 2] != L'>')
      return Fault(dashes, L"'--' may not appear inside a comment");
    pos_ = dashes + 3;
    return true;
  }

  bool ProcessingInstruction() {
    const std::size_t start = pos_;
    pos_ += 2;
    const auto target = Name();
    if (!target) return Fault(start, L"'<?' must be followed by a name");
    if (EqualsIgnoringAsciiCase(*target, L"xml"))
      return Fault(start, L"an XML declaration may only stand at the very start of the file");
    if (!SkipSpace() && !At(L"?>")) return Fault(pos_, {L"white space must follow <?", *target});
    const std::size_t end = text_.find(L"?>", pos_);
    if (end == std::wstring::npos)
      return Fault(start, {L"the file ends inside the processing instruction <?", *target});
    pos_ = end + 2;
    return true;
  }

  // White space, comments and processing instructions outside the elements.
  bool Misc() {
    for (;;) {
      SkipSpace();
      if (At(L"<!--")) {
        if (!Comment()) return false;
      } else if (At(L"<?")) {
        if (!ProcessingInstruction()) return false;
      } else if (At(L"<!")) {
        return Fault(pos_, L"a document type declaration (<!DOCTYPE ...>) is not allowed");
      } else {
        return true;
      }
    }
  }

  // A reference from its '&', appended to `out`.
  bool Reference(std::wstring& out) {
    const std::size_t start = pos_++;
    if (At(L"#")) {
      const bool hex = ++pos_ < text_.size() && text_[pos_] == L'x';
      if (hex) ++pos_;
      std::uint32_t value = 0;
      std::size_t digits = 0;
      for (; pos_ < text_.size(); ++pos_, ++digits) {
        const std::uint32_t u = CodeUnit(text_[pos_]);
        std::uint32_t d = 0;
        if (u >= '0' && u <= '9') {
          d = u - '0';
        } else if (hex && (u | 0x20) >= 'a' && (u | 0x20) <= 'f') {
          d = (u | 0x20) - 'a' + 10;
        } else {
          break;
        }
        value = std::min<std::uint32_t>(value * (hex ? 16 : 10) + d, 0x110000);
      }
      if (digits == 0 || !At(L";"))
        return Fault(start, L"a character reference is written &#NNN; or &#xHHH;");
      ++pos_;
      if (value > 0x10FFFF || !IsXmlChar(value))
        return Fault(start, {L"the character reference names ", CodePointName(value),
                             L", which may not appear in XML"});
      AppendUtf16(out, value);
      return true;
    }
    const auto name = Name();
    if (!name || !At(L";"))
      return Fault(start, L"'&' must start a reference such as &amp; (an '&' itself is &amp;)");
    ++pos_;
    const auto entity = std::find_if(std::begin(kEntities), std::end(kEntities),
                                     [&](const auto& e) { return e.name == *name; });
    if (entity == std::end(kEntities))
      return Fault(start, {L"the entity &", *name,
                           L"; is not defined: only &lt; &gt; &amp; &quot; &apos; and character "
                           L"references are"});
    out.push_back(entity->meant);
    return true;
  }

  std::optional<std::wstring> AttributeValue(const std::wstring& element,
                                             const std::wstring& name) {
    const wchar_t quote = pos_ < text_.size() ? text_[pos_] : L'\0';
    if (quote != L'"' && quote != L'\'') {
      Fault(pos_, {L"the value of ", name, L" in <", element, L"> must be in quotes"});
      return std::nullopt;
    }
    const std::size_t start = pos_++;
    std::wstring value;
    while (pos_ < text_.size() && text_[pos_] != quote) {
      const wchar_t c = text_[pos_];
      if (c == L'<') {
        Fault(pos_, {L"'<' may not appear in the value of ", name, L" (it is written &lt;)"});
        return std::nullopt;
      }
      if (c == L'&') {
        if (!Reference(value)) return std::nullopt;
        continue;
      }
      // A line end (CR LF, CR or LF) and a tab each become one space.
      if (c == L'\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == L'\n') ++pos_;
      value.push_back(IsSpace(c) ? L' ' : c);
      ++pos_;
    }
    if (pos_ == text_.size()) {
      Fault(start, {L"the value of ", name, L" in <", element, L"> has no closing quote"});
      return std::nullopt;
    }
    ++pos_;
    return value;
  }

  // A start tag from its '<'; `empty` says it closed itself.
  bool StartTag(std::size_t parent, bool& empty) {
    const std::size_t start = pos_++;
    XmlElement e;
    e.parent = parent;
    e.line = LineAt(start);
    const auto name = Name();
    if (!name) return Fault(start, L"'<' must be followed by an element name");
    e.name = *name;
    for (;;) {
      const bool space = SkipSpace();
      if (pos_ == text_.size()) return Fault(start, {L"the file ends inside the tag <", e.name});
      if (At(L"/>") || At(L">")) {
        empty = At(L"/>");
        pos_ += empty ? 2 : 1;
        break;
      }
      const auto attribute = space ? Name() : std::nullopt;
      if (!attribute)
        return Fault(pos_, {L"unexpected '", std::wstring_view(&text_[pos_], 1), L"' in the tag <",
                            e.name, L">"});
      SkipSpace();
      if (!At(L"=")) return Fault(pos_, {L"'=' must follow the attribute name ", *attribute});
      ++pos_;
      SkipSpace();
      auto value = AttributeValue(e.name, *attribute);
      if (!value) return false;
      if (e.Attribute(*attribute))
        return Fault(start, {L"the attribute ", *attribute, L" appears twice in <", e.name, L">"});
      e.attributes.push_back({*attribute, std::move(*value)});
    }
    doc_.elements.push_back(std::move(e));
    return true;
  }

  bool EndTag(std::vector<std::size_t>& open) {
    const std::size_t start = pos_;
    pos_ += 2;
    const auto name = Name();
    SkipSpace();
    if (!name || !At(L">")) return Fault(start, L"an end tag is written </name>");
    ++pos_;
    const XmlElement& e = doc_.elements[open.back()];
    if (*name != e.name)
      return Fault(start, {L"</", *name, L"> closes <", e.name, L"> of line ",
                           ToDecimal(static_cast<std::int64_t>(e.line))});
    open.pop_back();
    return true;
  }

  // The root element and everything in it.
  bool Elements() {
    std::vector<std::size_t> open;
    bool empty = false;
    if (!StartTag(XmlElement::kNoParent, empty)) return false;
    if (!empty) open.push_back(0);
    while (!open.empty()) {
      if (pos_ == text_.size()) {
        const XmlElement& e = doc_.elements[open.back()];
        return Fault(pos_, {L"the file ends inside <", e.name, L"> of line ",
                            ToDecimal(static_cast<std::int64_t>(e.line))});
      }
      bool ok = true;
      if (At(L"</")) {
        ok = EndTag(open);
      } else if (At(L"<!--")) {
        ok = Comment();
      } else if (At(L"<![CDATA[")) {
        const std::size_t end = text_.find(L"]]>", pos_);
        if (end == std::wstring::npos) return Fault(pos_, L"the file ends inside a CDATA section");
        pos_ = end + 3;
      } else if (At(L"<?")) {
        ok = ProcessingInstruction();
      } else if (At(L"<!")) {
        ok = Fault(pos_, L"a declaration (<!...>) may not appear inside an element");
      } else if (At(L"<")) {
        ok = StartTag(open.back(), empty);
        if (ok && !empty) open.push_back(doc_.elements.size() - 1);
      } else if (At(L"&")) {
        std::wstring ignored;
        ok = Reference(ignored);
      } else if (At(L"]]>")) {
        ok = Fault(pos_, L"']]>' may not appear in text");
      } else {
        ++pos_;
      }
      if (!ok) return false;
    }
    return true;
  }

  std::wstring text_;
  std::size_t pos_ = 0;
  std::size_t linePos_ = 0;
  std::size_t line_ = 1;
  XmlDocument doc_;
};

}  // namespace

const std::wstring* XmlElement::Attribute(std::wstring_view name) const {
  for (const XmlAttribute& a : attributes)
    if (a.name == name) return &a.value;
  return nullptr;
}

bool IsXmlChar(std::uint32_t c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
         (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

XmlDocument ReadXml(std::span<const std::byte> bytes) {
  const auto at = [&](std::size_t i) {
    return i < bytes.size() ? static_cast<unsigned>(bytes[i]) : 0x100u;
  };
  XmlDocument doc;
  if ((at(0) == 0xFF && at(1) == 0xFE) || (at(0) == 0xFE && at(1) == 0xFF)) {
    doc.problem = XmlProblem{1,
                             L"the file is in UTF-16; Tavlin reads these files in UTF-8, as "
                             L"Group Policy writes them"};
    return doc;
  }
  const bool bom = at(0) == 0xEF && at(1) == 0xBB && at(2) == 0xBF;
  const auto body = bytes.subspan(bom ? 3 : 0);
  std::wstring text;
  text.reserve(body.size());
  if (const std::size_t bad = DecodeUtf8(body, text); bad != std::wstring::npos) {
    const auto lines =
        std::count(body.begin(), body.begin() + static_cast<std::ptrdiff_t>(bad), std::byte{'\n'});
    doc.problem = XmlProblem{static_cast<std::size_t>(lines) + 1, L"the file is not UTF-8"};
    return doc;
  }
  return Reader(std::move(text)).Run();
}

std::optional<std::wstring> XmlAttributeText(std::wstring_view text, std::uint32_t& bad) {
  std::wstring out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::uint32_t u = CodeUnit(text[i]);
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < text.size() && CodeUnit(text[i + 1]) >= 0xDC00 &&
        CodeUnit(text[i + 1]) <= 0xDFFF) {
      out += text.substr(i++, 2);
      continue;
    }
    if ((u >= 0xD800 && u <= 0xDFFF) || !IsXmlChar(u)) {
      bad = u;
      return std::nullopt;
    }
    switch (u) {
      case '&':
        out += L"&amp;";
        break;
      case '<':
        out += L"&lt;";
        break;
      case '>':
        out += L"&gt;";
        break;
      case '"':
        out += L"&quot;";
        break;
      case '\t':
        out += L"&#x9;";
        break;
      case '\n':
        out += L"&#xA;";
        break;
      case '\r':
        out += L"&#xD;";
        break;
      default:
        out.push_back(text[i]);
    }
  }
  return out;
}

}  // namespace tavlin::settings
