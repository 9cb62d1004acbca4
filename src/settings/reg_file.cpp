#include "settings/reg_file.h"

#include <algorithm>

#include "common/text.h"
#include "settings/registry_port.h"

namespace tavlin::settings {
namespace {

constexpr std::wstring_view kHeader5 = L"Windows Registry Editor Version 5.00";
constexpr std::wstring_view kHeader4 = L"REGEDIT4";

bool IsBlank(wchar_t c) {
  return c == L' ' || c == L'\t';
}

std::wstring_view SkipBlanks(std::wstring_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  return s;
}

std::wstring_view TrimBlanks(std::wstring_view s) {
  s = SkipBlanks(s);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

int HexDigit(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

// Takes a number of one to `most` hex digits off the front of `s`. With no
// digit, or more than `most`, gives nothing and leaves `s` as it was.
std::optional<std::uint32_t> TakeHex(std::wstring_view& s, std::size_t most) {
  std::size_t digits = 0;
  std::uint32_t n = 0;
  for (; digits < s.size() && HexDigit(s[digits]) >= 0; ++digits)
    n = (n << 4) | static_cast<std::uint32_t>(HexDigit(s[digits]));
  if (digits == 0 || digits > most) return std::nullopt;
  s.remove_prefix(digits);
  return n;
}

// The escapes of a quoted text: the character after the backslash, and the
// character it stands for.
constexpr struct {
  wchar_t written, meant;
} kEscapes[] = {{L'\\', L'\\'}, {L'"', L'"'}, {L'n', L'\n'}, {L'r', L'\r'}};

std::size_t LineOfOffset(std::span<const std::byte> bytes, std::size_t offset) {
  return 1 +
         static_cast<std::size_t>(std::count(
             bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(offset), std::byte{'\n'}));
}

DecodedRegFile DecodeUtf16(std::span<const std::byte> in, bool bigEndian) {
  DecodedRegFile d;
  d.encoding = bigEndian ? RegFileEncoding::Utf16Be : RegFileEncoding::Utf16Le;
  d.text.reserve(in.size() / 2);
  for (std::size_t i = 0; i + 1 < in.size(); i += 2) {
    const auto a = static_cast<unsigned>(in[i]);
    const auto b = static_cast<unsigned>(in[i + 1]);
    d.text.push_back(static_cast<wchar_t>(bigEndian ? (a << 8) | b : a | (b << 8)));
  }
  if (in.size() % 2 != 0) {
    const auto lines = static_cast<std::size_t>(std::count(d.text.begin(), d.text.end(), L'\n'));
    d.problem = RegFileProblem{lines + 1, L"the file ends in the middle of a UTF-16 character"};
  }
  return d;
}

// ---- reading ---------------------------------------------------------------

struct Line {
  std::wstring_view text;
  std::size_t number;
};

std::vector<Line> SplitLines(std::wstring_view text) {
  std::vector<Line> lines;
  std::size_t start = 0;
  std::size_t number = 1;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'\r' && text[i] != L'\n') continue;
    lines.push_back({text.substr(start, i - start), number++});
    if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
    start = i + 1;
  }
  // The last line, also one without a line end; a final line end makes no empty line.
  if (start < text.size()) lines.push_back({text.substr(start), number});
  return lines;
}

class Parser {
 public:
  Parser(std::wstring_view text, const AnsiDecoder& ansi) : lines_(SplitLines(text)), ansi_(ansi) {}

  RegFile Run() {
    if (lines_.empty())
      return Fail(1, L"the file is empty: a .reg file starts with the line \"" +
                         std::wstring(kHeader5) + L"\"");
    const std::wstring_view header = TrimBlanks(lines_[0].text);
    if (header == kHeader5) {
      file_.version = RegFileVersion::Regedit5;
    } else if (header == kHeader4) {
      file_.version = RegFileVersion::Regedit4;
    } else {
      return Fail(1, L"not a registry file: the first line must be \"" + std::wstring(kHeader5) +
                         L"\" or \"" + std::wstring(kHeader4) + L"\"");
    }
    for (next_ = 1; next_ < lines_.size() && !file_.problem;) {
      const Line line = lines_[next_++];
      ParseLine(line);
    }
    if (file_.problem) file_.keys.clear();
    return std::move(file_);
  }

 private:
  RegFile Fail(std::size_t line, std::wstring what) {
    file_.keys.clear();
    file_.problem = RegFileProblem{line, std::move(what)};
    return std::move(file_);
  }
  void Problem(std::size_t line, std::wstring what) {
    if (!file_.problem) file_.problem = RegFileProblem{line, std::move(what)};
  }

  static bool IsSkippable(std::wstring_view rest) { return rest.empty() || rest.front() == L';'; }

  void ParseLine(const Line& line) {
    const std::wstring_view s = SkipBlanks(line.text);
    if (IsSkippable(s)) return;
    if (s.front() == L'[') return ParseKey(line.number, s);
    if (s.front() == L'@' || s.front() == L'"') return ParseValue(line.number, s);
    Problem(line.number, L"this is not a [key] line, a value line or a ';' comment");
  }

  void ParseKey(std::size_t number, std::wstring_view s) {
    s = TrimBlanks(s);
    if (s.size() < 2 || s.back() != L']') return Problem(number, L"a key line must end with ']'");
    std::wstring_view name = s.substr(1, s.size() - 2);
    RegFileKey key;
    key.line = number;
    if (!name.empty() && name.front() == L'-') {
      key.remove = true;
      name.remove_prefix(1);
    }
    if (name.empty()) return Problem(number, L"the key name is empty");
    if (SplitRegKeyName(name).root == RegRoot::Unknown)
      return Problem(number, L"the key does not start with a root key such as HKEY_CURRENT_USER");
    key.name = std::wstring(name);
    file_.keys.push_back(std::move(key));
  }

  // A quoted text from just after its opening quote; `s` is left after the
  // closing quote.
  std::optional<std::wstring> Quoted(std::size_t number, std::wstring_view& s,
                                     const wchar_t* what) {
    std::wstring out;
    for (std::size_t i = 0; i < s.size(); ++i) {
      const wchar_t c = s[i];
      if (c == L'"') {
        s.remove_prefix(i + 1);
        return out;
      }
      if (c != L'\\') {
        out.push_back(c);
        continue;
      }
      if (++i == s.size()) break;
      const auto escape = std::find_if(std::begin(kEscapes), std::end(kEscapes),
                                       [&](const auto& e) { return e.written == s[i]; });
      if (escape == std::end(kEscapes)) {
        Problem(number, std::wstring(L"unknown escape \\") + s[i] + L" in " + what +
                            L" (a backslash is written \\\\, a quote \\\")");
        return std::nullopt;
      }
      out.push_back(escape->meant);
    }
    Problem(number, std::wstring(what) + L" has no closing quote");
    return std::nullopt;
  }

  // Only blanks and a comment may follow a value.
  bool AtEnd(std::size_t number, std::wstring_view rest) {
    rest = TrimBlanks(rest);
    if (IsSkippable(rest)) return true;
    Problem(number, L"unexpected text after the value: " + std::wstring(rest.substr(0, 20)));
    return false;
  }

  void ParseValue(std::size_t number, std::wstring_view s) {
    if (file_.keys.empty()) return Problem(number, L"a value comes before the first [key] line");
    if (file_.keys.back().remove)
      return Problem(number, L"a value comes under a [-key] line, which names no key to put it in");
    RegFileValue value;
    value.line = number;
    if (s.front() == L'@') {
      value.isDefault = true;
      s.remove_prefix(1);
    } else {
      s.remove_prefix(1);
      auto name = Quoted(number, s, L"the value name");
      if (!name) return;
      value.name = std::move(*name);
    }
    s = TrimBlanks(s);
    if (s.empty() || s.front() != L'=') return Problem(number, L"'=' must follow the value name");
    s = SkipBlanks(s.substr(1));

    if (!s.empty() && s.front() == L'-') {
      value.remove = true;
      if (!AtEnd(number, s.substr(1))) return;
    } else if (!s.empty() && s.front() == L'"') {
      s.remove_prefix(1);
      auto text = Quoted(number, s, L"the text");
      if (!text || !AtEnd(number, s)) return;
      value.type = kRegSz;
      value.data = modReg_Func::EncodeRegSz(*text);
    } else if (StartsWithIgnoringAsciiCase(s, L"dword:")) {
      s = SkipBlanks(s.substr(6));
      const auto n = TakeHex(s, 8);
      if (!n) return Problem(number, L"dword: takes one to eight hex digits");
      if (!AtEnd(number, s)) return;
      value.type = kRegDword;
      value.data = Bytes{std::byte(*n & 0xFF), std::byte((*n >> 8) & 0xFF),
                         std::byte((*n >> 16) & 0xFF), std::byte(*n >> 24)};
    } else if (StartsWithIgnoringAsciiCase(s, L"hex:") || StartsWithIgnoringAsciiCase(s, L"hex(")) {
      if (!HexValue(number, s, value)) return;
    } else {
      return Problem(number, L"the data must be \"text\", dword:, hex:, hex(type): or -");
    }
    file_.keys.back().values.push_back(std::move(value));
  }

  bool HexValue(std::size_t number, std::wstring_view s, RegFileValue& value) {
    const auto type = HexType(number, s);
    if (!type) return false;
    auto bytes = HexBytes(number, s);
    if (!bytes) return false;
    value.type = *type;
    const bool text = *type == kRegSz || *type == kRegExpandSz || *type == kRegMultiSz;
    value.data = file_.version == RegFileVersion::Regedit4 && text ? AnsiTextAsUtf16(*bytes)
                                                                   : std::move(*bytes);
    return true;
  }

  // "hex:" is binary data; "hex(type):" names its type. `s` is left after the ':'.
  std::optional<std::uint32_t> HexType(std::size_t number, std::wstring_view& s) {
    const bool named = StartsWithIgnoringAsciiCase(s, L"hex(");
    s.remove_prefix(4);
    if (!named) return kRegBinary;
    const auto type = TakeHex(s, 8);
    if (!type || !s.starts_with(L"):")) {
      Problem(number, L"hex(type): takes a type of one to eight hex digits");
      return std::nullopt;
    }
    s.remove_prefix(2);
    return type;
  }

  // Bytes separated by commas; after a comma, a backslash continues the list
  // on the next line that is not blank or a comment.
  std::optional<Bytes> HexBytes(std::size_t number, std::wstring_view s) {
    std::size_t at = number;
    Bytes bytes;
    bool afterComma = true;
    for (;;) {
      s = SkipBlanks(s);
      if (IsSkippable(s)) return bytes;
      if (s.front() == L'\\' && afterComma) {
        if (!AtEnd(at, s.substr(1)) || !NextDataLine(at, s)) return std::nullopt;
        continue;
      }
      if (!afterComma) {
        Problem(at, L"a comma must separate the hex bytes");
        return std::nullopt;
      }
      const auto byte = TakeHex(s, 2);
      if (!byte) {
        Problem(at, L"hex data takes bytes of one or two hex digits, separated by commas");
        return std::nullopt;
      }
      bytes.push_back(static_cast<std::byte>(*byte));
      s = SkipBlanks(s);
      afterComma = s.starts_with(L',');
      if (afterComma) s.remove_prefix(1);
    }
  }

  // Moves on to the line that continues the hex data of line `at`: `s` and
  // `at` become its text and number.
  bool NextDataLine(std::size_t& at, std::wstring_view& s) {
    while (next_ < lines_.size()) {
      const Line& line = lines_[next_++];
      const std::wstring_view t = TrimBlanks(line.text);
      if (IsSkippable(t)) continue;
      s = t;
      at = line.number;
      return true;
    }
    Problem(lines_.back().number,
            L"the file ends inside the hex data continued on line " + ToDecimal(at));
    return false;
  }

  // A REGEDIT4 file holds the text types as ANSI bytes, which are stored as
  // UTF-16; without a code page each byte stands for the character of the
  // same number.
  Bytes AnsiTextAsUtf16(const Bytes& bytes) const {
    std::string narrow;
    std::wstring wide;
    for (std::byte b : bytes) {
      narrow.push_back(static_cast<char>(b));
      wide.push_back(static_cast<wchar_t>(b));
    }
    if (ansi_) wide = ansi_(narrow);
    Bytes out;
    modReg_Func::AppendUtf16Le(out, wide);
    return out;
  }

  std::vector<Line> lines_;
  const AnsiDecoder& ansi_;
  std::size_t next_ = 0;
  RegFile file_;
};

// ---- writing ---------------------------------------------------------------

std::wstring Escaped(std::wstring_view s) {
  std::wstring out;
  out.reserve(s.size() + 2);
  for (wchar_t c : s) {
    const auto escape = std::find_if(std::begin(kEscapes), std::end(kEscapes),
                                     [&](const auto& e) { return e.meant == c; });
    if (escape == std::end(kEscapes)) {
      out.push_back(c);
    } else {
      out.push_back(L'\\');
      out.push_back(escape->written);
    }
  }
  return out;
}

constexpr wchar_t kHexDigits[] = L"0123456789abcdef";

std::wstring Hex(std::uint32_t n, int minDigits) {
  std::wstring out;
  do {
    out.insert(out.begin(), kHexDigits[n & 0xF]);
    n >>= 4;
  } while (n != 0 || static_cast<int>(out.size()) < minDigits);
  return out;
}

// The text a REG_SZ holds when it can be written quoted: one terminator at
// the end and none before it, no control characters (a line end would break
// the line), and no unpaired surrogate.
std::optional<std::wstring> QuotableText(const RegFileValue& v) {
  if (v.type != kRegSz || v.data.size() < 2 || v.data.size() % 2 != 0) return std::nullopt;
  const auto read = modReg_Func::DecodeRegSz(v.data);
  if (read.kind != modReg_Func::ReadKind::Text) return std::nullopt;
  if (modReg_Func::EncodeRegSz(read.text) != v.data) return std::nullopt;  // not one terminator
  const std::wstring& t = read.text;
  for (std::size_t i = 0; i < t.size(); ++i) {
    const auto u = static_cast<std::uint32_t>(t[i]);
    if (u < 0x20 || u == 0x7F) return std::nullopt;
    if (u >= 0xD800 && u <= 0xDBFF) {
      if (i + 1 == t.size() || static_cast<std::uint32_t>(t[i + 1]) < 0xDC00 ||
          static_cast<std::uint32_t>(t[i + 1]) > 0xDFFF)
        return std::nullopt;
      ++i;
    } else if (u >= 0xDC00 && u <= 0xDFFF) {
      return std::nullopt;
    }
  }
  return t;
}

}  // namespace

bool SameRegName(std::wstring_view a, std::wstring_view b) {
  return EqualsIgnoringAsciiCase(a, b);
}

RegKeyName SplitRegKeyName(std::wstring_view name) {
  static constexpr struct {
    std::wstring_view longName, shortName;
    RegRoot root;
  } kRoots[] = {
      {L"HKEY_CLASSES_ROOT", L"HKCR", RegRoot::ClassesRoot},
      {L"HKEY_CURRENT_USER", L"HKCU", RegRoot::CurrentUser},
      {L"HKEY_LOCAL_MACHINE", L"HKLM", RegRoot::LocalMachine},
      {L"HKEY_USERS", L"HKU", RegRoot::Users},
      {L"HKEY_CURRENT_CONFIG", L"HKCC", RegRoot::CurrentConfig},
  };
  const std::size_t slash = name.find(L'\\');
  const std::wstring_view root = name.substr(0, slash);
  RegKeyName out;
  for (const auto& r : kRoots)
    if (SameRegName(root, r.longName) || SameRegName(root, r.shortName)) out.root = r.root;
  if (slash != std::wstring_view::npos) out.path = name.substr(slash + 1);
  return out;
}

DecodedRegFile DecodeRegFileBytes(std::span<const std::byte> bytes, const AnsiDecoder& ansi) {
  const auto at = [&](std::size_t i) {
    return i < bytes.size() ? static_cast<unsigned>(bytes[i]) : 0x100u;
  };
  if (at(0) == 0xFF && at(1) == 0xFE) return DecodeUtf16(bytes.subspan(2), false);
  if (at(0) == 0xFE && at(1) == 0xFF) return DecodeUtf16(bytes.subspan(2), true);
  // Without a mark, UTF-16LE still shows itself by a NUL after its first character.
  if (at(0) != 0 && at(0) < 0x80 && at(1) == 0) return DecodeUtf16(bytes, false);

  DecodedRegFile d;
  d.encoding = RegFileEncoding::Utf8;
  const bool bom = at(0) == 0xEF && at(1) == 0xBB && at(2) == 0xBF;
  const auto body = bytes.subspan(bom ? 3 : 0);
  const std::size_t bad = DecodeUtf8(body, d.text);
  if (bad == std::wstring::npos) return d;
  if (bom) {
    d.problem = RegFileProblem{LineOfOffset(body, bad), L"the file says it is UTF-8 but is not"};
    return d;
  }
  d.encoding = RegFileEncoding::Ansi;
  std::string narrow(body.size(), '\0');
  std::transform(body.begin(), body.end(), narrow.begin(),
                 [](std::byte b) { return static_cast<char>(b); });
  d.text = ansi ? ansi(narrow) : std::wstring();
  if (!ansi) d.problem = RegFileProblem{LineOfOffset(body, bad), L"the file is not UTF-8"};
  return d;
}

Bytes EncodeUtf16LeWithBom(std::wstring_view text) {
  Bytes out;
  out.reserve(2 + text.size() * 2);
  modReg_Func::AppendUtf16Le(out, L"\uFEFF");
  modReg_Func::AppendUtf16Le(out, text);
  return out;
}

RegFile ParseRegFile(std::wstring_view text, const AnsiDecoder& ansi) {
  return Parser(text, ansi).Run();
}

std::wstring RegTypeName(std::uint32_t type) {
  static constexpr std::wstring_view kNames[] = {L"REG_NONE",
                                                 L"REG_SZ",
                                                 L"REG_EXPAND_SZ",
                                                 L"REG_BINARY",
                                                 L"REG_DWORD",
                                                 L"REG_DWORD_BIG_ENDIAN",
                                                 L"REG_LINK",
                                                 L"REG_MULTI_SZ",
                                                 L"REG_RESOURCE_LIST",
                                                 L"REG_FULL_RESOURCE_DESCRIPTOR",
                                                 L"REG_RESOURCE_REQUIREMENTS_LIST",
                                                 L"REG_QWORD"};
  if (type < std::size(kNames)) return std::wstring(kNames[type]);
  return L"type 0x" + Hex(type, 1);
}

std::wstring FormatRegValue(const RegFileValue& v) {
  std::wstring line = v.isDefault ? L"@=" : L"\"" + Escaped(v.name) + L"\"=";
  if (v.remove) return line + L"-";
  if (const auto text = QuotableText(v)) return line + L"\"" + Escaped(*text) + L"\"";
  if (v.type == kRegDword && v.data.size() == 4) {
    std::uint32_t n = 0;
    for (int i = 3; i >= 0; --i) n = (n << 8) | static_cast<std::uint32_t>(v.data[i]);
    return line + L"dword:" + Hex(n, 8);
  }
  line += v.type == kRegBinary ? L"hex:" : L"hex(" + Hex(v.type, 1) + L"):";
  // As regedit: lines of at most 80 characters, continued with a backslash
  // and indented by two spaces.
  std::size_t column = line.size();
  for (std::size_t i = 0; i < v.data.size(); ++i) {
    const bool last = i + 1 == v.data.size();
    if (i > 0 && column + (last ? 2 : 3) > 79) {
      line += L"\\\r\n  ";
      column = 2;
    }
    const auto b = static_cast<std::uint32_t>(v.data[i]);
    line += Hex(b, 2);
    if (!last) line += L',';
    column += last ? 2 : 3;
  }
  return line;
}

std::wstring FormatRegFile(const std::vector<RegFileKey>& keys) {
  std::wstring out(kHeader5);
  out += L"\r\n\r\n";
  for (const RegFileKey& key : keys) {
    out += key.remove ? L"[-" : L"[";
    out += key.name;
    out += L"]\r\n";
    for (const RegFileValue& v : key.values) {
      out += FormatRegValue(v);
      out += L"\r\n";
    }
    out += L"\r\n";
  }
  return out;
}

}  // namespace tavlin::settings
