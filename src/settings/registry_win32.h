// The registry port over the system's registry, through the text boundary.
#pragma once

#include "settings/registry_port.h"

namespace tavlin::settings {

class Win32Registry : public RegistryPort {
 public:
  long Open(Hive hive, std::wstring_view path, Access access, KeyRef& key) override;
  long Create(Hive hive, std::wstring_view path, KeyRef& key) override;
  long Query(KeyRef key, std::wstring_view name, std::uint32_t& type, std::span<std::byte> data,
             std::uint32_t& size) override;
  long Set(KeyRef key, std::wstring_view name, std::uint32_t type,
           std::span<const std::byte> data) override;
  long Delete(KeyRef key, std::wstring_view name) override;
  bool HoldsText(std::wstring_view text) override;
  void Close(KeyRef key) override;
};

}  // namespace tavlin::settings
