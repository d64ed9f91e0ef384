#include "edit_behaviour.h"

#include <commctrl.h>

namespace quorvel {
namespace {

LRESULT CALLBACK TabThroughProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                DWORD_PTR) {
  switch (message) {
    case WM_GETDLGCODE:
      return DefSubclassProc(box, message, wParam, lParam) & ~(DLGC_WANTALLKEYS | DLGC_WANTTAB);
    case WM_NCDESTROY:
      RemoveWindowSubclass(box, TabThroughProc, id);
      break;
    default:
      break;
  }
  return DefSubclassProc(box, message, wParam, lParam);
}

}  // namespace

void LetTabThrough(HWND box) {
  SetWindowSubclass(box, TabThroughProc, 1, 0);
}

}  // namespace quorvel
