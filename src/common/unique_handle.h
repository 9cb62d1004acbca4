// One move-only owner for every kind of platform handle: keys, fonts, regions,
// item lists, paint DCs. The close function runs exactly once, from the
// destructor or from reset(); a handle is never released by hand.
#pragma once

#include <utility>

namespace tavlin {

template <typename H, auto Close, H Empty = H{}>
class Unique {
 public:
  Unique() = default;
  explicit Unique(H handle) noexcept : handle_(handle) {}
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;
  Unique(Unique&& other) noexcept : handle_(other.release()) {}
  Unique& operator=(Unique&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~Unique() { reset(); }

  H get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != Empty; }
  H release() noexcept { return std::exchange(handle_, Empty); }
  void reset(H handle = Empty) noexcept {
    H old = std::exchange(handle_, handle);
    if (old != Empty) Close(old);
  }
  // For out-parameters: frees what is held, then hands out the slot.
  H* put() noexcept {
    reset();
    return &handle_;
  }

 private:
  H handle_ = Empty;
};

}  // namespace tavlin
