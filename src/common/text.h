// UTF-16 text helpers shared by the subsystems. The program keeps all text as
// std::wstring (UTF-16 on Windows, and the rules treat it as code units).
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tavlin {

// Signed decimal without leading zeros, spaces or '+'.
std::wstring ToDecimal(std::int64_t n);

// Removes leading and trailing spaces (only U+0020, as the version display needs).
std::wstring TrimSpaces(std::wstring_view s);

// Parses a whole text as a signed 32-bit decimal number; nullopt unless the
// text is an optional sign followed by digits and the number fits.
std::optional<std::int32_t> ParseInt32(std::wstring_view s);

// Parses a whole text as an unsigned decimal number; nullopt if not all digits.
std::optional<std::uint32_t> ParseUInt32(std::wstring_view s);

// Comparisons in which A-Z and a-z count as the same letters and every other
// code unit only as itself, as for registry names, switches and device names
// (never the locale's rules).
bool EqualsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b);
bool StartsWithIgnoringAsciiCase(std::wstring_view s, std::wstring_view prefix);

// Strict UTF-8 (no overlong forms, no surrogates, nothing past U+10FFFF)
// appended to `out` as UTF-16 code units. Returns the offset of the first bad
// byte, or std::wstring::npos when all is well.
std::size_t DecodeUtf8(std::span<const std::byte> in, std::wstring& out);

// The parts one after another. One call in place of a chain of operator+,
// which costs code at every link.
std::wstring Concat(std::initializer_list<std::wstring_view> parts);

// One code point (at most U+10FFFF, no surrogate) as UTF-16 code units.
void AppendUtf16(std::wstring& out, std::uint32_t codePoint);

// UTF-16 code units as UTF-8; a surrogate without its partner becomes U+FFFD.
std::string EncodeUtf8(std::wstring_view text);

// The system keeps its text in UTF-16 (the NT family) only when the version
// call answered exactly 1 and reported platform id 2 (VER_PLATFORM_WIN32_NT).
bool IsNtPlatform(int callResult, std::uint32_t platformId);

}  // namespace tavlin
