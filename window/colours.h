#pragma once

#include <windows.h>

namespace quorvel {

// Whether Windows' high-contrast mode is on.
bool SystemHighContrast();

// What a surface of the window's own colour (its background, a caption, a button) is painted
// in: its own colour, or, while high contrast is on, the button face a dialog has, so that the
// user's contrast theme holds. Its text then takes the button text colour.
COLORREF SurfaceColour(COLORREF own, bool highContrast);

}  // namespace quorvel
