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

}  // namespace tavlin
