#pragma once

#include <windows.h>

namespace quorvel {

// Owns one GDI object (a brush or a font) and deletes it with itself.
template <typename Handle>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(Handle handle) : handle_(handle) {}
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  GdiObject(GdiObject&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) {
      Reset(other.handle_);
      other.handle_ = nullptr;
    }
    return *this;
  }
  ~GdiObject() { Reset(nullptr); }

  Handle get() const { return handle_; }
  void Reset(Handle handle) {
    if (handle_ != nullptr) {
      DeleteObject(handle_);
    }
    handle_ = handle;
  }

 private:
  Handle handle_ = nullptr;
};

using Brush = GdiObject<HBRUSH>;
using Font = GdiObject<HFONT>;

}  // namespace quorvel
