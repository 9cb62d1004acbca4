// The contract suite's backend under Wine: the real registry, under a fresh
// scratch key of HKEY_CURRENT_USER (inside the test prefix) removed afterwards.
#include <windows.h>

#include <atomic>
#include <string>

#include "common/win32_handles.h"
#include "settings/registry_win32.h"
#include "support/driver_win32.h"
#include "support/registry_backend.h"

namespace tavlin::testing {
namespace {

class Win32Backend : public RegistryBackend {
 public:
  Win32Backend() {
    static std::atomic<int> serial{0};
    root_ = L"Software\\TavlinContract\\" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(serial++);
    CreateKey(root_);
  }
  ~Win32Backend() override { RegDeleteKeyTree(root_); }

  settings::RegistryPort& Port() override { return port_; }
  std::wstring Root() override { return root_; }
  void CreateKey(const std::wstring& path) override { RegEnsureKey(path); }
  bool KeyExists(const std::wstring& path) override {
    UniqueKey key;
    return RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
  }
  void Seed(const std::wstring& path, const std::wstring& name, std::uint32_t type,
            const Bytes& data) override {
    RegPutRaw(path, name, type, data);
  }
  std::optional<StoredValue> Raw(const std::wstring& path, const std::wstring& name) override {
    return RegGetRaw(path, name);
  }

 private:
  settings::Win32Registry port_;
  std::wstring root_;
};

}  // namespace

std::unique_ptr<RegistryBackend> MakeRegistryBackend() {
  return std::make_unique<Win32Backend>();
}

}  // namespace tavlin::testing
