#pragma once

#include <windows.h>

namespace quorvel {

// Paints an owner-drawn push button in its own background colour: raised or pressed edge,
// centred caption, focus rectangle.
void PaintButton(const DRAWITEMSTRUCT& item, HBRUSH background);

}  // namespace quorvel
