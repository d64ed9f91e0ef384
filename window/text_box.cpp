#include "text_box.h"

namespace quorvel {

std::u16string ReadText(HWND box) {
  const int length = GetWindowTextLengthW(box);
  if (length <= 0) {
    return {};
  }
  std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
  const int read = GetWindowTextW(box, reinterpret_cast<wchar_t*>(text.data()), length + 1);
  text.resize(read > 0 ? static_cast<std::size_t>(read) : 0);
  return text;
}

void WriteText(HWND box, const std::u16string& text) {
  SetWindowTextW(box, Wide(text));
  SendMessageW(box, EM_SETSEL, 0, 0);
  SendMessageW(box, EM_SCROLLCARET, 0, 0);
}

}  // namespace quorvel
