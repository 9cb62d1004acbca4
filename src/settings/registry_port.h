// What the settings rules need of the registry, in the platform's own terms:
// numeric error codes, type codes and byte buffers. The Win32 adapter maps each
// call to the registry function it is named for, through the text boundary (the
// W form on NT, the A form with the code page on 98 and ME); the in-memory
// double answers the same way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace tavlin::settings {

using Hive = std::uint32_t;  // a predefined root key, as its 32-bit handle value
inline constexpr Hive kHkeyCurrentUser = 0x80000001u;

using KeyRef = std::uintptr_t;  // an open key; 0 means none
enum class Access { Read, Write };

// Registry type codes.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;
inline constexpr std::uint32_t kRegQword = 11;

// Platform error codes the rules look at.
inline constexpr long kErrorSuccess = 0;
inline constexpr long kErrorFileNotFound = 2;
inline constexpr long kErrorAccessDenied = 5;
inline constexpr long kErrorInvalidHandle = 6;
inline constexpr long kErrorMoreData = 234;
inline constexpr long kErrorNoUnicodeTranslation = 1113;

class RegistryPort {
 public:
  virtual ~RegistryPort() = default;
  // Opens an existing key; never creates one. On failure `key` is left 0.
  virtual long Open(Hive hive, std::wstring_view path, Access access, KeyRef& key) = 0;
  // Opens a key for writing, creating it and any missing parents first. Only
  // an import asks for this; the window never creates a key.
  virtual long Create(Hive hive, std::wstring_view path, KeyRef& key) = 0;
  // With an empty `data` this asks only for the type and the size in bytes.
  // Otherwise `size` comes in as the buffer's capacity and goes out as the
  // count written, or the count needed with kErrorMoreData.
  virtual long Query(KeyRef key, std::wstring_view name, std::uint32_t& type,
                     std::span<std::byte> data, std::uint32_t& size) = 0;
  // Stores exactly `data`: no terminator is added to a string type.
  virtual long Set(KeyRef key, std::wstring_view name, std::uint32_t type,
                   std::span<const std::byte> data) = 0;
  virtual long Delete(KeyRef key, std::wstring_view name) = 0;
  virtual void Close(KeyRef key) = 0;
  // Whether a text value stores every character of `text`. A registry that
  // keeps UTF-16 holds any; the 95 family's keeps the system code page's
  // bytes up to the first NUL, and a store of a text it cannot keep whole fails
  // there (for a NUL inside, with the platform's invalid-data error) rather
  // than keep '?' in its place or cut it short.
  virtual bool HoldsText(std::wstring_view /*text*/) { return true; }
};

}  // namespace tavlin::settings
