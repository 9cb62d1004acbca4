#include "support/memory_registry.h"

#include <algorithm>
#include <cstring>

#include "settings/modReg_Func.h"

namespace tavlin::testing {

using namespace settings;

namespace {
std::wstring Fold(std::wstring_view s) {
  std::wstring out(s);
  for (auto& c : out)
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  return out;
}
}  // namespace

Bytes Utf16Bytes(std::wstring_view text, bool withTerminator) {
  Bytes out;
  for (wchar_t c : text) {
    out.push_back(static_cast<std::byte>(static_cast<std::uint16_t>(c) & 0xFF));
    out.push_back(static_cast<std::byte>(static_cast<std::uint16_t>(c) >> 8));
  }
  if (withTerminator) out.append(2, std::byte{0});
  return out;
}

Bytes DwordBytes(std::uint32_t v) {
  return Bytes{std::byte(v & 0xFF), std::byte((v >> 8) & 0xFF), std::byte((v >> 16) & 0xFF),
               std::byte(v >> 24)};
}

std::wstring MemoryRegistry::KeyName(Hive hive, std::wstring_view path) {
  return std::to_wstring(hive) + L"\\" + Fold(path);
}

void MemoryRegistry::CreateKey(Hive hive, std::wstring_view path) {
  keys_[KeyName(hive, path)];
}

void MemoryRegistry::Put(Hive hive, std::wstring_view path, std::wstring_view name,
                         std::uint32_t type, Bytes data) {
  keys_[KeyName(hive, path)].values[Fold(name)] = StoredValue{type, std::move(data)};
}

bool MemoryRegistry::HasKey(Hive hive, std::wstring_view path) const {
  return keys_.count(KeyName(hive, path)) != 0;
}

const StoredValue* MemoryRegistry::Get(Hive hive, std::wstring_view path,
                                       std::wstring_view name) const {
  const auto k = keys_.find(KeyName(hive, path));
  if (k == keys_.end()) return nullptr;
  const auto v = k->second.values.find(Fold(name));
  return v == k->second.values.end() ? nullptr : &v->second;
}

void MemoryRegistry::DenyAccess(Hive hive, std::wstring_view path, bool read, bool write) {
  Key& k = keys_[KeyName(hive, path)];
  k.denyRead = read;
  k.denyWrite = write;
}

std::map<std::wstring, std::map<std::wstring, StoredValue>> MemoryRegistry::Snapshot() const {
  std::map<std::wstring, std::map<std::wstring, StoredValue>> out;
  for (const auto& [name, key] : keys_) out[name] = key.values;
  return out;
}

long MemoryRegistry::Open(Hive hive, std::wstring_view path, Access access, KeyRef& key) {
  ++opens;
  accessRequested.push_back(access);
  key = 0;
  const auto k = keys_.find(KeyName(hive, path));
  if (k == keys_.end()) return kErrorFileNotFound;
  if ((access == Access::Read && k->second.denyRead) ||
      (access == Access::Write && k->second.denyWrite))
    return kErrorAccessDenied;
  key = next_++;
  handles_[key] = Handle{k->first, access};
  return kErrorSuccess;
}

long MemoryRegistry::Create(Hive hive, std::wstring_view path, KeyRef& key) {
  ++creates;
  key = 0;
  const std::wstring name = KeyName(hive, path);
  if (const auto k = keys_.find(name); k != keys_.end()) {
    if (k->second.denyWrite) return kErrorAccessDenied;
  } else {
    // Like the platform: every missing parent is made on the way.
    for (std::size_t at = path.find(L'\\'); at != std::wstring_view::npos;
         at = path.find(L'\\', at + 1))
      keys_.try_emplace(KeyName(hive, path.substr(0, at)));
    keys_.try_emplace(name);
  }
  key = next_++;
  handles_[key] = Handle{name, Access::Write};
  return kErrorSuccess;
}

MemoryRegistry::Key* MemoryRegistry::Find(KeyRef key, Access need, long& rc) {
  const auto h = handles_.find(key);
  if (h == handles_.end()) {
    rc = kErrorInvalidHandle;
    return nullptr;
  }
  if (h->second.access != need) {
    rc = kErrorAccessDenied;
    return nullptr;
  }
  const auto k = keys_.find(h->second.key);
  if (k == keys_.end()) {
    rc = kErrorInvalidHandle;  // deleted under an open handle
    return nullptr;
  }
  rc = kErrorSuccess;
  return &k->second;
}

long MemoryRegistry::Query(KeyRef key, std::wstring_view name, std::uint32_t& type,
                           std::span<std::byte> data, std::uint32_t& size) {
  if (!data.empty() && beforeDataQuery) beforeDataQuery(*this);
  if (data.empty() && log) log->push_back(L"read " + std::wstring(name));
  long rc = 0;
  Key* k = Find(key, Access::Read, rc);
  if (!k) return rc;
  const auto v = k->values.find(Fold(name));
  if (v == k->values.end()) return kErrorFileNotFound;
  type = v->second.type;
  const auto needed = static_cast<std::uint32_t>(v->second.data.size());
  if (data.empty()) {
    size = needed;
    return kErrorSuccess;
  }
  if (size < needed || data.size() < needed) {
    size = needed;
    return kErrorMoreData;
  }
  std::copy(v->second.data.begin(), v->second.data.end(), data.begin());
  size = needed;
  return kErrorSuccess;
}

long MemoryRegistry::Set(KeyRef key, std::wstring_view name, std::uint32_t type,
                         std::span<const std::byte> data) {
  long rc = 0;
  if (log) log->push_back(L"set " + std::wstring(name));
  Key* k = Find(key, Access::Write, rc);
  if (!k) return rc;
  if (type == kRegSz && !HoldsText(modReg_Func::DisplayForm(modReg_Func::DecodeRegSz(data))))
    return kErrorNoUnicodeTranslation;
  k->values[Fold(name)] = StoredValue{type, Bytes(data.begin(), data.end())};
  return kErrorSuccess;
}

bool MemoryRegistry::HoldsText(std::wstring_view text) {
  return std::all_of(text.begin(), text.end(), [this](wchar_t c) { return c <= keepsUpTo; });
}

long MemoryRegistry::Delete(KeyRef key, std::wstring_view name) {
  if (log) log->push_back(L"delete " + std::wstring(name));
  long rc = 0;
  Key* k = Find(key, Access::Write, rc);
  if (!k) return rc;
  return k->values.erase(Fold(name)) ? kErrorSuccess : kErrorFileNotFound;
}

void MemoryRegistry::Close(KeyRef key) {
  ++closes;
  handles_.erase(key);
}

}  // namespace tavlin::testing
