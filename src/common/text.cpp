#include "common/text.h"

#include <algorithm>

namespace tavlin {
namespace {

wchar_t FoldAscii(wchar_t c) {
  return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

}  // namespace

std::wstring ToDecimal(std::int64_t n) {
  // Built by hand so that the result never depends on a locale.
  const bool negative = n < 0;
  std::uint64_t magnitude =
      negative ? std::uint64_t(0) - static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n);
  std::wstring digits;
  do {
    digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + magnitude % 10));
    magnitude /= 10;
  } while (magnitude != 0);
  if (negative) digits.insert(digits.begin(), L'-');
  return digits;
}

std::wstring TrimSpaces(std::wstring_view s) {
  const auto first = s.find_first_not_of(L' ');
  if (first == std::wstring_view::npos) return {};
  const auto last = s.find_last_not_of(L' ');
  return std::wstring(s.substr(first, last - first + 1));
}

std::optional<std::uint32_t> ParseUInt32(std::wstring_view s) {
  if (s.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (wchar_t c : s) {
    if (c < L'0' || c > L'9') return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - L'0');
    if (value > 0xFFFFFFFFull) return std::nullopt;
  }
  return static_cast<std::uint32_t>(value);
}

std::optional<std::int32_t> ParseInt32(std::wstring_view s) {
  bool negative = false;
  if (!s.empty() && (s.front() == L'-' || s.front() == L'+')) {
    negative = s.front() == L'-';
    s.remove_prefix(1);
  }
  const auto magnitude = ParseUInt32(s);
  if (!magnitude) return std::nullopt;
  const std::int64_t value =
      negative ? -static_cast<std::int64_t>(*magnitude) : static_cast<std::int64_t>(*magnitude);
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

bool EqualsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](wchar_t x, wchar_t y) { return FoldAscii(x) == FoldAscii(y); });
}

bool StartsWithIgnoringAsciiCase(std::wstring_view s, std::wstring_view prefix) {
  return s.size() >= prefix.size() && EqualsIgnoringAsciiCase(s.substr(0, prefix.size()), prefix);
}

void AppendUtf16(std::wstring& out, std::uint32_t codePoint) {
  if (codePoint >= 0x10000) {
    codePoint -= 0x10000;
    out.push_back(static_cast<wchar_t>(0xD800 + (codePoint >> 10)));
    out.push_back(static_cast<wchar_t>(0xDC00 + (codePoint & 0x3FF)));
  } else {
    out.push_back(static_cast<wchar_t>(codePoint));
  }
}

std::size_t DecodeUtf8(std::span<const std::byte> in, std::wstring& out) {
  std::size_t i = 0;
  while (i < in.size()) {
    const auto b0 = static_cast<std::uint8_t>(in[i]);
    std::uint32_t cp = 0;
    std::size_t len = 0;
    std::uint32_t min = 0;
    if (b0 < 0x80) {
      out.push_back(static_cast<wchar_t>(b0));
      ++i;
      continue;
    } else if ((b0 & 0xE0) == 0xC0) {
      cp = b0 & 0x1F, len = 2, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
      cp = b0 & 0x0F, len = 3, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
      cp = b0 & 0x07, len = 4, min = 0x10000;
    } else {
      return i;
    }
    if (in.size() - i < len) return i;
    for (std::size_t k = 1; k < len; ++k) {
      const auto b = static_cast<std::uint8_t>(in[i + k]);
      if ((b & 0xC0) != 0x80) return i;
      cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return i;
    AppendUtf16(out, cp);
    i += len;
  }
  return std::wstring::npos;
}

std::wstring Concat(std::initializer_list<std::wstring_view> parts) {
  std::size_t size = 0;
  for (std::wstring_view p : parts) size += p.size();
  std::wstring out;
  out.reserve(size);
  for (std::wstring_view p : parts) out += p;
  return out;
}

std::string EncodeUtf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t cp = static_cast<std::uint32_t>(text[i]) & 0xFFFF;
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size()) {
      const auto low = static_cast<std::uint32_t>(text[i + 1]) & 0xFFFF;
      if (low >= 0xDC00 && low <= 0xDFFF) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    if (cp >= 0xD800 && cp <= 0xDFFF) cp = 0xFFFD;
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

bool IsNtPlatform(int callResult, std::uint32_t platformId) {
  constexpr std::uint32_t kPlatformNt = 2;
  return callResult == 1 && platformId == kPlatformNt;
}

}  // namespace tavlin
