#include "colours.h"

namespace quorvel {

bool SystemHighContrast() {
  HIGHCONTRASTW contrast = {};
  contrast.cbSize = sizeof contrast;
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

COLORREF SurfaceColour(COLORREF own, bool highContrast) {
  return highContrast ? GetSysColor(COLOR_BTNFACE) : own;
}

}  // namespace quorvel
