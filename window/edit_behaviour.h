#pragma once

#include <windows.h>

namespace quorvel {

// A multi-line edit box asks the dialog manager for every key, Tab included; this one lets
// Tab and Shift+Tab move the focus on.
void LetTabThrough(HWND box);

}  // namespace quorvel
