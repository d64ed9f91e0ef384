// The yardstick for the program's start-up and memory, and what any window loads: a bare Win32
// window of the same client size, built with the same flags, doing nothing.
#include "layout.h"
#include "plain_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  const int dpi = SystemDpi();
  const SIZE client = {MulDiv(quorvel::kClientWidthTwips, dpi, quorvel::kTwipsPerInch),
                       MulDiv(quorvel::kClientHeightTwips, dpi, quorvel::kTwipsPerInch)};
  return RunPlainWindow(instance, L"Bare window", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                        COLOR_WINDOW, client, showCommand, nullptr);
}
