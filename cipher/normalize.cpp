#include "normalize.h"

namespace quorvel {

Normalized Normalize(const std::u16string& text) {
  Normalized result;
  result.upper = text;
  for (char16_t& ch : result.upper) {
    if (ch >= u'a' && ch <= u'z') {
      ch = static_cast<char16_t>(ch - u'a' + u'A');
    }
  }
  result.phrase.reserve(text.size());
  for (char16_t ch : result.upper) {
    if (ch >= u'A' && ch <= u'Z') {
      result.phrase += ch;
    }
  }
  return result;
}

}  // namespace quorvel
