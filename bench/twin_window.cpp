// The window made the plainest way, as the yardstick of what the program itself costs: the
// same controls with the same classes, styles, rectangles, texts and font, read from the same
// table, one CreateWindowEx each, and nothing else: no painting, colours, focus or DPI changes.
// clang-format off
#include <windows.h>
#include <commctrl.h>  // needs windows.h before it
// clang-format on

#include "control_class.h"
#include "dpi.h"
#include "layout.h"
#include "plain_window.h"

namespace {

const wchar_t* Wide(const char16_t* text) {
  return reinterpret_cast<const wchar_t*>(text);
}

void AddControls(HWND window, HINSTANCE instance, int dpi) {
  const UINT at = static_cast<UINT>(dpi);
  // Freed with the process.
  HFONT font = CreateFontW(-MulDiv(quorvel::kFontPoints, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                           FALSE, RUSSIAN_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           DEFAULT_QUALITY, DEFAULT_PITCH | FF_ROMAN, Wide(quorvel::kFontFace));
  for (const quorvel::ControlSpec& spec : quorvel::kLayout) {
    const quorvel::ControlClass cls = quorvel::ClassOf(spec.kind);
    const quorvel::TwipRect& r = spec.twips;
    HWND control = CreateWindowExW(cls.exStyle, cls.className, Wide(spec.text),
                                   WS_CHILD | (spec.shown ? WS_VISIBLE : 0) | cls.style,
                                   quorvel::ToPixels(r.left, at), quorvel::ToPixels(r.top, at),
                                   quorvel::ToPixels(r.width, at), quorvel::ToPixels(r.height, at),
                                   window, nullptr, instance, nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  const UINT dpi = static_cast<UINT>(SystemDpi());
  const SIZE client = {quorvel::ToPixels(quorvel::kClientWidthTwips, dpi),
                       quorvel::ToPixels(quorvel::kClientHeightTwips, dpi)};
  return RunPlainWindow(instance, Wide(quorvel::kWindowCaption), quorvel::kWindowStyle,
                        COLOR_BTNFACE, client, showCommand, AddControls);
}
