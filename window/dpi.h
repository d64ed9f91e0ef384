#pragma once

#include <windows.h>

namespace quorvel {

constexpr UINT kBaseDpi = 96;

// The dots per inch the window is shown at. Windows before 10 lack the per-window query;
// there the system's value serves.
UINT DpiOf(HWND window);

// The outer size of a window whose client area is width x height at the given dpi.
SIZE OuterSize(int width, int height, DWORD style, DWORD exStyle, UINT dpi);

}  // namespace quorvel
