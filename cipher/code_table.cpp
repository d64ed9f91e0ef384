#include "code_table.h"

#include <string>

namespace quorvel {

SubscriptOutOfRange::SubscriptOutOfRange(long index)
    : std::out_of_range("CodeTable index " + std::to_string(index) + " is outside 0..300") {}

std::size_t CodeTable::Checked(long index) {
  if (static_cast<unsigned long>(index) >= static_cast<unsigned long>(kSize)) {
    throw SubscriptOutOfRange(index);
  }
  return static_cast<std::size_t>(index);
}

}  // namespace quorvel
