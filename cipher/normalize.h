#pragma once

#include <string>

namespace quorvel {

struct Normalized {
  std::u16string upper;   // the text with "a".."z" turned into capitals, same length
  std::u16string phrase;  // only the capitals "A".."Z" of it, in order
};

// Reduces typed text to the capital Latin letters the cipher works on. The comparison goes by
// character code, so accented and Cyrillic letters never pass.
Normalized Normalize(const std::u16string& text);

}  // namespace quorvel
