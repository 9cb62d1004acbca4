#include "support/registry_backend.h"

namespace tavlin::testing {
namespace {

class MemoryBackend : public RegistryBackend {
 public:
  MemoryBackend() { reg_.CreateKey(settings::kHkeyCurrentUser, Root()); }
  settings::RegistryPort& Port() override { return reg_; }
  std::wstring Root() override { return L"Software\\TavlinContract"; }
  void CreateKey(const std::wstring& path) override {
    reg_.CreateKey(settings::kHkeyCurrentUser, path);
  }
  bool KeyExists(const std::wstring& path) override {
    return reg_.HasKey(settings::kHkeyCurrentUser, path);
  }
  void Seed(const std::wstring& path, const std::wstring& name, std::uint32_t type,
            const Bytes& data) override {
    reg_.Put(settings::kHkeyCurrentUser, path, name, type, data);
  }
  std::optional<StoredValue> Raw(const std::wstring& path, const std::wstring& name) override {
    const StoredValue* v = reg_.Get(settings::kHkeyCurrentUser, path, name);
    return v ? std::optional<StoredValue>(*v) : std::nullopt;
  }

 private:
  MemoryRegistry reg_;
};

}  // namespace

std::unique_ptr<RegistryBackend> MakeRegistryBackend() {
  return std::make_unique<MemoryBackend>();
}

}  // namespace tavlin::testing
