#include "button_painting.h"

namespace quorvel {

void PaintButton(const DRAWITEMSTRUCT& item, HBRUSH background) {
  HDC dc = item.hDC;
  RECT rect = item.rcItem;
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;

  FillRect(dc, &rect, background);
  DrawEdge(dc, &rect, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);

  wchar_t caption[64];
  const int length = GetWindowTextW(item.hwndItem, caption, 64);
  RECT textRect = rect;
  if (pressed) {
    OffsetRect(&textRect, 1, 1);
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor((item.itemState & ODS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
  DrawTextW(dc, caption, length, &textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);

  if ((item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0) {
    InflateRect(&rect, -2, -2);
    DrawFocusRect(dc, &rect);
  }
}

}  // namespace quorvel
