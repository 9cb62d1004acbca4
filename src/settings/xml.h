// A small strict reader of XML 1.0 in UTF-8, as much as the files Group Policy
// keeps its preferences in use: a declaration, elements and attributes,
// comments, processing instructions, CDATA sections and character data. It
// never looks outside the file: a document type declaration is a fault, and
// the only references are the five predefined entities and character
// references. Only elements and attributes are kept.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tavlin::settings {

struct XmlAttribute {
  std::wstring name;
  std::wstring value;  // references resolved, white space normalised as XML 1.0 says
};

struct XmlElement {
  static constexpr std::size_t kNoParent = static_cast<std::size_t>(-1);
  std::wstring name;
  std::vector<XmlAttribute> attributes;
  std::size_t line = 0;  // of its start tag's '<', counted from 1
  std::size_t parent = kNoParent;
  const std::wstring* Attribute(std::wstring_view name) const;
};

struct XmlProblem {
  std::size_t line = 0;
  std::wstring what;
};

struct XmlDocument {
  // In document order, so elements[0] is the root and a parent always comes
  // before its children. Kept flat, so that no depth of nesting costs stack.
  std::vector<XmlElement> elements;
  std::optional<XmlProblem> problem;  // the first fault; then there are no elements
};

// Reads a whole file: UTF-8, with or without a byte-order mark.
XmlDocument ReadXml(std::span<const std::byte> bytes);

// Whether a character may appear in an XML 1.0 document at all, even as a
// character reference (NUL, most control characters, U+FFFE and U+FFFF may not).
bool IsXmlChar(std::uint32_t codePoint);

// A text as an attribute value between double quotes, or, when the text holds
// a character XML 1.0 cannot carry, nothing and that character in `bad` (a
// surrogate without its partner counts as such). Tab, line feed and carriage
// return become character references, which a reader keeps as they are.
std::optional<std::wstring> XmlAttributeText(std::wstring_view text, std::uint32_t& bad);

}  // namespace tavlin::settings
