#include "code_table.h"

namespace quorvel {

const char* SubscriptOutOfRange::what() const noexcept {
  return "subscript out of range";
}

std::size_t CodeTable::Checked(long index) {
  if (static_cast<unsigned long>(index) >= static_cast<unsigned long>(kSize)) {
    throw SubscriptOutOfRange();
  }
  return static_cast<std::size_t>(index);
}

}  // namespace quorvel
