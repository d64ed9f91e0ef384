#pragma once

#include <windows.h>

#include <string>

namespace quorvel {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows text is UTF-16");

inline const wchar_t* Wide(const char16_t* text) {
  return reinterpret_cast<const wchar_t*>(text);
}
inline const wchar_t* Wide(const std::u16string& text) {
  return Wide(text.c_str());
}

// The whole text of an edit box or any other window.
std::u16string ReadText(HWND box);

// Replaces the whole text and shows it from its first line.
void WriteText(HWND box, const std::u16string& text);

}  // namespace quorvel
