#include <windows.h>

#include "quorvel_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  quorvel::Quorvel window(instance);
  if (window.hwnd() == nullptr) {
    return 1;
  }
  ShowWindow(window.hwnd(), showCommand);
  UpdateWindow(window.hwnd());

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    // Dialog-style keyboard: Tab and Shift+Tab move through the controls.
    if (window.hwnd() == nullptr || !IsDialogMessageW(window.hwnd(), &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  return static_cast<int>(message.wParam);
}
