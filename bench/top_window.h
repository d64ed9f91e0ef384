#pragma once

#include <windows.h>

// The visible top-level window of a process just started, waited for up to about two seconds
// after it became ready for input; nullptr if none appeared.
inline HWND WaitForTopWindow(DWORD process) {
  struct Found {
    DWORD process;
    HWND window;
  } found = {process, nullptr};
  const auto find = [](HWND window, LPARAM param) -> BOOL {
    auto* found = reinterpret_cast<Found*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == found->process && IsWindowVisible(window)) {
      found->window = window;
      return FALSE;
    }
    return TRUE;
  };
  for (int tries = 0; tries < 200 && found.window == nullptr; ++tries) {
    EnumWindows(find, reinterpret_cast<LPARAM>(&found));
    if (found.window == nullptr) {
      Sleep(10);
    }
  }
  return found.window;
}
