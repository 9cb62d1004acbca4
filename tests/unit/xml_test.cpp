// The strict XML reader: what it keeps of a well-formed file, the faults it
// finds with their lines, and that what the attribute writer writes reads back.
#include <gtest/gtest.h>

#include "settings/xml.h"

namespace tavlin::testing {
namespace {

using namespace settings;

std::span<const std::byte> Bytes(std::string_view s) {
  return {reinterpret_cast<const std::byte*>(s.data()), s.size()};
}

TEST(XmlReader, KeepsElementsAttributesAndLines) {
  const XmlDocument doc =
      ReadXml(Bytes("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?>\r\n"
                    "<!-- a comment -->\r\n"
                    "<?app some instruction?>\n"
                    "<a x='1' y=\"&lt;&gt;&amp;&quot;&apos;&#65;&#x1F600;\">\r"
                    "  text &amp; <![CDATA[ <not> & a tag ]]>\n"
                    "  <b z=\"line\r\nend\ttab&#xA;kept\"/><c\n"
                    "    w=\"\xC3\xA9\"></c>\n"
                    "</a>\n"
                    "<!-- after -->\n"));
  ASSERT_FALSE(doc.problem) << doc.problem->line;
  ASSERT_EQ(doc.elements.size(), 3u);
  EXPECT_EQ(doc.elements[0].name, L"a");
  EXPECT_EQ(doc.elements[0].line, 4u);
  EXPECT_EQ(*doc.elements[0].Attribute(L"x"), L"1");
  EXPECT_EQ(*doc.elements[0].Attribute(L"y"), std::wstring(L"<>&\"'A\xD83D\xDE00"));
  EXPECT_EQ(doc.elements[1].line, 6u) << "a lone CR ends a line too";
  EXPECT_EQ(doc.elements[1].parent, 0u);
  EXPECT_EQ(*doc.elements[1].Attribute(L"z"), L"line end tab\nkept")
      << "literal line ends and tabs become spaces, references stay";
  EXPECT_EQ(*doc.elements[2].Attribute(L"w"), L"\x00E9");
  EXPECT_EQ(doc.elements[2].Attribute(L"nothing"), nullptr);
}

TEST(XmlReader, FaultsNameTheirLineAndKeepNothing) {
  const struct {
    std::string_view text;
    std::size_t line;
    std::wstring_view says;
  } cases[] = {
      {"", 1, L"no element"},
      {"  \n just text", 2, L"text before"},
      {"<!DOCTYPE a [<!ENTITY e \"x\">]>\n<a>&e;</a>", 1, L"document type"},
      {"<a>\n<!DOCTYPE a>\n</a>", 2, L"declaration"},
      {"<a>\n&e;</a>", 2, L"entity &e; is not defined"},
      {"<a x=\"&ext;\"/>", 1, L"entity &ext;"},
      {"<a>\n & </a>", 2, L"'&' must start"},
      {"<a>&#0;</a>", 1, L"U+0000"},
      {"<a>&#xD800;</a>", 1, L"U+D800"},
      {"<a>&#1114112;</a>", 1, L"may not appear"},
      {"<a>&#;</a>", 1, L"character reference"},
      {"<a>\n\x01</a>", 2, L"U+0001"},
      {"<a>\n\xFF</a>", 2, L"not UTF-8"},
      {"\xFF\xFE<\0a\0/\0>\0", 1, L"UTF-16"},
      {"<a>\n<b>\n</a>", 3, L"</a> closes <b> of line 2"},
      {"<a>\n<b>", 2, L"ends inside <b>"},
      {"<a/>\n<b/>", 2, L"may follow the last end tag"},
      {"<a x=\"1\" x=\"2\"/>", 1, L"appears twice"},
      {"<a x=\"1\"y=\"2\"/>", 1, L"unexpected 'y'"},
      {"<a x=1/>", 1, L"in quotes"},
      {"<a x=\"<\"/>", 1, L"'<' may not appear"},
      {"<a x=\"open/>", 1, L"no closing quote"},
      {"<a\n  ", 1, L"ends inside the tag"},
      {"<a>]]></a>", 1, L"']]>'"},
      {"<a><!-- a -- b --></a>", 1, L"'--'"},
      {"<a><!-- open", 1, L"inside a comment"},
      {"<a><![CDATA[ open", 1, L"CDATA"},
      {"<a>\n<?xml version=\"1.0\"?></a>", 2, L"very start"},
      {"<?xml version=\"2.0\"?><a/>", 1, L"not XML 1.0"},
      {"<?xml version=\"1.\"?><a/>", 1, L"not XML 1.0"},
      {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a/>", 1, L"ISO-8859-1"},
      {"<?xml encoding=\"UTF-8\"?><a/>", 1, L"<?xml version="},
      {"<?xml version=1.0?><a/>", 1, L"version must be in quotes"},
      {"<?xml version=\"1.0\" standalone=\"maybe\"?><a/>", 1, L"standalone must be"},
      {"<a>\n<?pi never closed</a>", 2, L"ends inside the processing instruction <?pi"},
      {"<a></ b>", 1, L"end tag"},
  };
  for (const auto& c : cases) {
    const XmlDocument doc = ReadXml(Bytes(c.text));
    ASSERT_TRUE(doc.problem) << c.text;
    EXPECT_EQ(doc.problem->line, c.line) << c.text;
    EXPECT_NE(doc.problem->what.find(c.says), std::wstring::npos)
        << c.text << ": " << std::string(doc.problem->what.begin(), doc.problem->what.end());
    EXPECT_TRUE(doc.elements.empty());
  }
}

TEST(XmlAttributeText, EscapesWhatItMustAndRefusesWhatXmlCannotCarry) {
  std::uint32_t bad = 0;
  const std::wstring awkward = L"a&b<c>d\"e'f\tg\nh\ri \x00E9 \xD83D\xDE00 \x7F";
  const auto escaped = XmlAttributeText(awkward, bad);
  ASSERT_TRUE(escaped);
  EXPECT_EQ(*escaped, L"a&amp;b&lt;c&gt;d&quot;e'f&#x9;g&#xA;h&#xD;i \x00E9 \xD83D\xDE00 \x7F");
  // Read back as an attribute, the text is the same again.
  const std::string doc = "<a v=\"a&amp;b&lt;c&gt;d&quot;e'f&#x9;g&#xA;h&#xD;i\"/>";
  EXPECT_EQ(*ReadXml(Bytes(doc)).elements[0].Attribute(L"v"), L"a&b<c>d\"e'f\tg\nh\ri");

  for (const std::wstring& badText : {std::wstring(L"x\0y", 3), std::wstring(L"\x01"),
                                      std::wstring(L"\xFFFE"), std::wstring(L"\xDC00 lone")}) {
    EXPECT_FALSE(XmlAttributeText(badText, bad));
    EXPECT_EQ(bad, static_cast<std::uint32_t>(badText[badText.find_first_not_of(L"x")]));
  }
}

}  // namespace
}  // namespace tavlin::testing
