#pragma once

#include <windows.h>
// clang-format off
#include <commctrl.h>  // needs windows.h before it
// clang-format on

namespace quorvel {

// The common controls, version 6 as the manifest binds them, loaded when the first window is
// made rather than imported: Windows loads an imported DLL before the program's first
// instruction, and the common controls load the visual styles' DLL by name as they start, from
// the program's folder if one lies there. Without them each function fails (FALSE), and the
// controls keep their own ways.
BOOL InitCommonControlsAtRunTime(const INITCOMMONCONTROLSEX& controls);
BOOL SetSubclass(HWND window, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data = 0);
BOOL RemoveSubclass(HWND window, SUBCLASSPROC proc, UINT_PTR id);
// Called only from a subclass procedure, which exists only where the common controls are loaded.
LRESULT DefSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace quorvel
