#include "field_input.h"

#include "cp1251.h"

namespace quorvel {

Admitted AdmitPaste(const std::u16string& clipboard, std::size_t room) {
  Admitted result;
  for (char16_t ch : clipboard) {
    if (ch == u'\r' || ch == u'\n') {
      break;
    }
    if (!InCodePage(ch)) {
      result.refused = true;
    } else if (result.text.size() < room) {
      result.text += ch;
    }
  }
  return result;
}

}  // namespace quorvel
