#pragma once

#include <windows.h>

struct TopWindowOf {
  DWORD process;
  HWND window;
};

inline BOOL CALLBACK FindTopWindowOf(HWND window, LPARAM param) {
  auto* found = reinterpret_cast<TopWindowOf*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == found->process && IsWindowVisible(window)) {
    found->window = window;
    return FALSE;
  }
  return TRUE;
}

// The visible top-level window of a process just started, waited for up to about two seconds
// after it became ready for input; nullptr if none appeared.
inline HWND WaitForTopWindow(DWORD process) {
  TopWindowOf found = {process, nullptr};
  for (int tries = 0; tries < 200 && found.window == nullptr; ++tries) {
    EnumWindows(FindTopWindowOf, reinterpret_cast<LPARAM>(&found));
    if (found.window == nullptr) {
      Sleep(10);
    }
  }
  return found.window;
}
