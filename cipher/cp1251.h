#pragma once

#include <cstdint>

namespace quorvel {

using AnsiCode = std::uint8_t;

// The code of a character in the Windows-1251 code page. A character the code page lacks
// becomes "?" (63), as Windows' own conversion does.
AnsiCode ToAnsi(char16_t ch);

// The character of a Windows-1251 code.
char16_t FromAnsi(AnsiCode code);

// Whether the code page holds the character, i.e. ToAnsi does not have to fall back to "?".
bool InCodePage(char16_t ch);

}  // namespace quorvel
