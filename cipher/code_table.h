#pragma once

#include <array>
#include <cstdint>
#include <exception>

namespace quorvel {

// An index outside the table or a text. No input the window admits gets there, and nobody
// reads what it says, so it carries no message of its own.
class SubscriptOutOfRange : public std::exception {
 public:
  const char* what() const noexcept override;
};

// The cipher codes of the latest run, one byte a phrase position (slot 0 is never used).
// A run over n positions rewrites slots 1..n and leaves the others as they were.
class CodeTable {
 public:
  static constexpr long kSize = 301;

  std::uint8_t At(long index) const { return slots_[Checked(index)]; }
  void Set(long index, std::uint8_t code) { slots_[Checked(index)] = code; }

  // Throws SubscriptOutOfRange unless index is 0..300.
  static std::size_t Checked(long index);

 private:
  std::array<std::uint8_t, kSize> slots_{};
};

}  // namespace quorvel
