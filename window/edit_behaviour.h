#pragma once

#include <windows.h>

namespace quorvel {

// A multi-line edit box asks the dialog manager for every key, Tab included; this one lets
// Tab and Shift+Tab move the focus on.
void LetTabThrough(HWND box);

// A single-line field the user can type and paste only Windows-1251 characters into: any
// other typed character is refused with a beep, and a paste keeps its first line's code-page
// characters up to the field's limit; Ctrl+Backspace deletes the word before the caret. Text
// set by a program is taken as it is.
void AdmitOnlyCodePage(HWND field);

}  // namespace quorvel
