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

std::size_t PasteRoom(std::size_t limit, std::size_t length, std::size_t selected) {
  const std::size_t kept = selected < length ? length - selected : 0;
  return kept < limit ? limit - kept : 0;
}

std::size_t WordStartBefore(const std::u16string& text, std::size_t caret) {
  const auto blank = [&text](std::size_t at) { return text[at] == u' ' || text[at] == u'\t'; };
  std::size_t start = caret < text.size() ? caret : text.size();
  while (start > 0 && blank(start - 1)) {
    --start;
  }
  while (start > 0 && !blank(start - 1)) {
    --start;
  }
  return start;
}

}  // namespace quorvel
