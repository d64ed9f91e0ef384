#pragma once

#include <cstddef>
#include <string>

namespace quorvel {

struct Admitted {
  std::u16string text;   // what goes into the field
  bool refused = false;  // some character was left out for being outside the code page
};

// What a paste of clipboard text puts into a single-line field with room for `room` more
// characters: the first line only, as the system's own single-line edit boxes take it, without
// the characters the Windows-1251 code page lacks, cut to the room.
Admitted AdmitPaste(const std::u16string& clipboard, std::size_t room);

// The room a paste has in a field of at most `limit` characters that holds `length`, of which
// the `selected` ones are replaced.
std::size_t PasteRoom(std::size_t limit, std::size_t length, std::size_t selected);

// Where the word before the caret starts, as Ctrl+Backspace finds it: back over the blanks
// before the caret, then over the word's own characters up to the blank before it.
std::size_t WordStartBefore(const std::u16string& text, std::size_t caret);

}  // namespace quorvel
