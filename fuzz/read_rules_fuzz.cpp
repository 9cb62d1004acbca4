// Feeds arbitrary registry answers through the value-reading rules: every
// query gets a result code, a type and a byte string taken from the input, so
// values that change, grow, shrink or vanish between queries are all covered.
// The rules must never crash, read past a buffer, or return a shape they
// should not (an unreadable value always reads as absent).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "settings/modReg_Func.h"

namespace {

using namespace tavlin::settings;

class ScriptedRegistry : public RegistryPort {
 public:
  ScriptedRegistry(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  int queries = 0;

  long Open(Hive, std::wstring_view, Access, KeyRef& key) override {
    key = Take() % 8 == 0 ? 0 : 1;  // sometimes the key is missing
    return key ? kErrorSuccess : kErrorFileNotFound;
  }
  long Create(Hive h, std::wstring_view p, KeyRef& key) override {
    return Open(h, p, Access::Write, key);
  }
  long Query(KeyRef, std::wstring_view, std::uint32_t& type, std::span<std::byte> data,
             std::uint32_t& size) override {
    ++queries;
    static constexpr long kCodes[] = {kErrorSuccess,  kErrorSuccess,      kErrorSuccess,
                                      kErrorMoreData, kErrorFileNotFound, kErrorAccessDenied};
    const long rc = kCodes[Take() % 6];
    type = Take() % 12;
    const std::size_t length = Take();
    if (rc == kErrorMoreData) {
      size = static_cast<std::uint32_t>(length + data.size());
      return rc;
    }
    if (rc != kErrorSuccess) return rc;
    if (data.empty()) {
      size = static_cast<std::uint32_t>(length);
      return rc;
    }
    // Like the platform: never more than the buffer holds.
    const std::size_t n = std::min({length, data.size(), static_cast<std::size_t>(size)});
    for (std::size_t i = 0; i < n; ++i) data[i] = static_cast<std::byte>(Take());
    size = static_cast<std::uint32_t>(n);
    return rc;
  }
  long Set(KeyRef, std::wstring_view, std::uint32_t, std::span<const std::byte>) override {
    return 0;
  }
  long Delete(KeyRef, std::wstring_view) override { return 0; }
  void Close(KeyRef) override {}

 private:
  std::uint8_t Take() { return pos_ < size_ ? data_[pos_++] : 0; }
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ScriptedRegistry reg(data, size);
  const auto r = tavlin::modReg_Func::ReadRegValue(reg, kHkeyCurrentUser, L"k", L"v");
  using tavlin::modReg_Func::ReadKind;
  if (r.unreadable && r.kind != ReadKind::Absent) std::abort();
  if (r.kind != ReadKind::Text && !r.text.empty()) std::abort();
  if (reg.queries > 2 * tavlin::modReg_Func::kMaxReadAttempts) std::abort();  // bounded retries
  (void)tavlin::modReg_Func::DisplayForm(r);
  return 0;
}
