// A program that ends at once, having loaded only what it imports, user32 as every window
// program does: what it loads, Wine's own DLLs load before any program's code.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  return GetSystemMetrics(SM_CXSCREEN) >= 0 ? 0 : 1;
}
