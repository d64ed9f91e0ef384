#include "dpi.h"

#include "system_function.h"

namespace quorvel {
namespace {

template <typename Function>
Function FromUser32(const char* name) {
  return SystemFunction<Function>(GetModuleHandleW(L"user32.dll"), name);
}

UINT SystemDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : kBaseDpi;
}

}  // namespace

UINT DpiOf(HWND window) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = FromUser32<GetDpiForWindowFn>("GetDpiForWindow");
  if (getDpiForWindow != nullptr) {
    const UINT dpi = getDpiForWindow(window);
    if (dpi != 0) {
      return dpi;
    }
  }
  return SystemDpi();
}

int SystemMetricForDpi(int metric, UINT dpi) {
  using ForDpiFn = int(WINAPI*)(int, UINT);
  static const auto forDpi = FromUser32<ForDpiFn>("GetSystemMetricsForDpi");
  if (forDpi != nullptr) {
    return forDpi(metric, dpi);
  }
  return MulDiv(GetSystemMetrics(metric), static_cast<int>(dpi), static_cast<int>(SystemDpi()));
}

SIZE OuterSize(int width, int height, DWORD style, DWORD exStyle, UINT dpi) {
  using AdjustFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  static const auto adjustForDpi = FromUser32<AdjustFn>("AdjustWindowRectExForDpi");
  RECT rect = {0, 0, width, height};
  if (adjustForDpi != nullptr) {
    adjustForDpi(&rect, style, FALSE, exStyle, dpi);
  } else {
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  }
  return {rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace quorvel
