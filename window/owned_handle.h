#pragma once

#include <windows.h>

namespace quorvel {

// Owns one handle of the system's (a brush, a font, an icon) and gives it back with itself.
template <typename Handle, auto Release>
class OwnedHandle {
 public:
  OwnedHandle() = default;
  explicit OwnedHandle(Handle handle) : handle_(handle) {}
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;
  OwnedHandle(OwnedHandle&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
  OwnedHandle& operator=(OwnedHandle&& other) noexcept {
    if (this != &other) {
      Reset(other.handle_);
      other.handle_ = nullptr;
    }
    return *this;
  }
  ~OwnedHandle() { Reset(nullptr); }

  Handle get() const { return handle_; }
  void Reset(Handle handle) {
    if (handle_ != nullptr) {
      Release(handle_);
    }
    handle_ = handle;
  }

 private:
  Handle handle_ = nullptr;
};

using Brush = OwnedHandle<HBRUSH, DeleteObject>;
using Font = OwnedHandle<HFONT, DeleteObject>;
using Icon = OwnedHandle<HICON, DestroyIcon>;

}  // namespace quorvel
