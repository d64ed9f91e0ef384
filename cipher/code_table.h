#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace quorvel {

// The cipher codes of the latest run, one byte a phrase position (slot 0 is never used).
// A run over n positions rewrites slots 1..n and leaves the others as they were.
// An index outside 0..300 reads nothing and writes nothing: no input the window admits gets
// there, and the core raises no exception of its own, so that it builds where there are none.
class CodeTable {
 public:
  static constexpr long kSize = 301;

  std::optional<std::uint8_t> At(long index) const {
    return InRange(index) ? std::optional<std::uint8_t>(slots_[Slot(index)]) : std::nullopt;
  }
  // Whether it was kept.
  bool Set(long index, std::uint8_t code) {
    if (!InRange(index)) {
      return false;
    }
    slots_[Slot(index)] = code;
    return true;
  }

  static bool InRange(long index) {
    return static_cast<unsigned long>(index) < static_cast<unsigned long>(kSize);
  }

 private:
  static std::size_t Slot(long index) { return static_cast<std::size_t>(index); }

  std::array<std::uint8_t, kSize> slots_{};
};

}  // namespace quorvel
