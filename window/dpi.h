#pragma once

#include <windows.h>

#include "layout.h"

namespace quorvel {

constexpr UINT kBaseDpi = 96;

// Pixels of a length in twips at the given dots per inch.
inline int ToPixels(int twips, UINT dpi) {
  return MulDiv(twips, static_cast<int>(dpi), kTwipsPerInch);
}

// The dots per inch the window is shown at. Windows before 10 lack the per-window query;
// there the system's value serves.
UINT DpiOf(HWND window);

// A system metric (an icon's size, say) as it is at the given dpi. Windows before 10 give it
// only at the system's dpi; there it is scaled.
int SystemMetricForDpi(int metric, UINT dpi);

// The outer size of a window whose client area is width x height at the given dpi.
SIZE OuterSize(int width, int height, DWORD style, DWORD exStyle, UINT dpi);

}  // namespace quorvel
