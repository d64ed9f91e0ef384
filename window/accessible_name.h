#pragma once

#include <windows.h>

namespace quorvel {

// Gives a control the name that screen readers announce, where the system finds none (an edit
// box without a caption before it). Everything else a screen reader asks is the system's own
// answer for the control. oleacc.dll is loaded only when a screen reader asks.
void NameForScreenReaders(HWND control, const wchar_t* name);

}  // namespace quorvel
