// An in-memory registry that answers like the platform's: same error codes,
// same two-step query, same access rules. It records what it was asked, and
// tests can seed any value shape, refuse access or change a value mid-read.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "settings/registry_port.h"

namespace tavlin::testing {

using Bytes = std::basic_string<std::byte>;

// One journal of calls, in the order they were made, that several doubles may
// share ("read Start Page", "delete BigBitmap", "caption", ...).
using CallLog = std::vector<std::wstring>;

struct StoredValue {
  std::uint32_t type = 0;
  Bytes data;
  bool operator==(const StoredValue&) const = default;
};

Bytes Utf16Bytes(std::wstring_view text, bool withTerminator);
Bytes DwordBytes(std::uint32_t value);

class MemoryRegistry : public settings::RegistryPort {
 public:
  // Seeding and inspection (case-insensitive names, as the platform's).
  void CreateKey(settings::Hive hive, std::wstring_view path);
  void Put(settings::Hive hive, std::wstring_view path, std::wstring_view name, std::uint32_t type,
           Bytes data);
  bool HasKey(settings::Hive hive, std::wstring_view path) const;
  const StoredValue* Get(settings::Hive hive, std::wstring_view path, std::wstring_view name) const;
  void DenyAccess(settings::Hive hive, std::wstring_view path, bool read, bool write);
  // Called before every query that asks for data (not the size-only query).
  std::function<void(MemoryRegistry&)> beforeDataQuery;
  // The highest character a text value keeps. Below 0xFFFF it stands for a
  // registry in a code page (the 95 family's): a REG_SZ with a higher one is
  // refused.
  wchar_t keepsUpTo = 0xFFFF;

  // What was asked. With a log, every value read (its size query), write and
  // delete is also journalled by name.
  CallLog* log = nullptr;
  int opens = 0;
  int closes = 0;
  int creates = 0;
  std::vector<settings::Access> accessRequested;
  std::size_t OpenHandles() const { return handles_.size(); }
  // The whole store, for before / after comparisons.
  std::map<std::wstring, std::map<std::wstring, StoredValue>> Snapshot() const;

  long Open(settings::Hive hive, std::wstring_view path, settings::Access access,
            settings::KeyRef& key) override;
  long Create(settings::Hive hive, std::wstring_view path, settings::KeyRef& key) override;
  long Query(settings::KeyRef key, std::wstring_view name, std::uint32_t& type,
             std::span<std::byte> data, std::uint32_t& size) override;
  long Set(settings::KeyRef key, std::wstring_view name, std::uint32_t type,
           std::span<const std::byte> data) override;
  long Delete(settings::KeyRef key, std::wstring_view name) override;
  void Close(settings::KeyRef key) override;
  bool HoldsText(std::wstring_view text) override;

 private:
  struct Key {
    std::map<std::wstring, StoredValue> values;  // by folded name
    bool denyRead = false, denyWrite = false;
  };
  struct Handle {
    std::wstring key;
    settings::Access access;
  };
  static std::wstring KeyName(settings::Hive hive, std::wstring_view path);
  Key* Find(settings::KeyRef key, settings::Access need, long& rc);

  std::map<std::wstring, Key> keys_;
  std::map<settings::KeyRef, Handle> handles_;
  settings::KeyRef next_ = 0x100;
};

}  // namespace tavlin::testing
