#pragma once

#include <windows.h>

// The frame of the yardsticks, a plain window and nothing more: its class registered, the
// window opened with a client area of the window's size at the system's dpi, `fill` given it
// to add what it holds, then shown and run until it is closed.
inline LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

inline int SystemDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

inline int RunPlainWindow(HINSTANCE instance, const wchar_t* caption, DWORD style, int background,
                          SIZE client, int showCommand,
                          void (*fill)(HWND window, HINSTANCE instance, int dpi)) {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = PlainWindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(background + 1));
  wc.lpszClassName = L"PlainWindow";
  RegisterClassExW(&wc);
  const int dpi = SystemDpi();
  RECT rect = {0, 0, client.cx, client.cy};
  AdjustWindowRectEx(&rect, style, FALSE, 0);
  HWND window = CreateWindowExW(0, L"PlainWindow", caption, style, CW_USEDEFAULT, CW_USEDEFAULT,
                                rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                                instance, nullptr);
  if (fill != nullptr) {
    fill(window, instance, dpi);
  }
  ShowWindow(window, showCommand);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
