// A registry to run the contract suite against: the in-memory double on the
// host, the real registry (under a throwaway key) under Wine. Seeding writes
// exact bytes straight to the store, bypassing the code under test.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "support/memory_registry.h"

namespace tavlin::testing {

class RegistryBackend {
 public:
  virtual ~RegistryBackend() = default;
  virtual settings::RegistryPort& Port() = 0;
  // An existing, empty key under HKEY_CURRENT_USER that the suite may use.
  virtual std::wstring Root() = 0;
  virtual void CreateKey(const std::wstring& path) = 0;
  virtual bool KeyExists(const std::wstring& path) = 0;
  virtual void Seed(const std::wstring& path, const std::wstring& name, std::uint32_t type,
                    const Bytes& data) = 0;
  virtual std::optional<StoredValue> Raw(const std::wstring& path, const std::wstring& name) = 0;
};

// Defined once per test program: the host's and Wine's.
std::unique_ptr<RegistryBackend> MakeRegistryBackend();

}  // namespace tavlin::testing
