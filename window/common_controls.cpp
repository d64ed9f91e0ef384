#include "common_controls.h"

#include "system_function.h"

namespace quorvel {
namespace {

struct CommonControls {
  decltype(&::InitCommonControlsEx) initCommonControlsEx = nullptr;
  decltype(&::SetWindowSubclass) setWindowSubclass = nullptr;
  decltype(&::RemoveWindowSubclass) removeWindowSubclass = nullptr;
  decltype(&::DefSubclassProc) defSubclassProc = nullptr;
};

const CommonControls& Loaded() {
  static const CommonControls loaded = [] {
    CommonControls functions;
    const HMODULE dll = LoadLibraryW(L"comctl32.dll");  // kept for the process's life
    functions.initCommonControlsEx =
        SystemFunction<decltype(&::InitCommonControlsEx)>(dll, "InitCommonControlsEx");
    functions.setWindowSubclass =
        SystemFunction<decltype(&::SetWindowSubclass)>(dll, "SetWindowSubclass");
    functions.removeWindowSubclass =
        SystemFunction<decltype(&::RemoveWindowSubclass)>(dll, "RemoveWindowSubclass");
    functions.defSubclassProc =
        SystemFunction<decltype(&::DefSubclassProc)>(dll, "DefSubclassProc");
    if (functions.removeWindowSubclass == nullptr || functions.defSubclassProc == nullptr) {
      functions.setWindowSubclass = nullptr;  // no subclass that could not be served
    }
    return functions;
  }();
  return loaded;
}

}  // namespace

BOOL InitCommonControlsAtRunTime(const INITCOMMONCONTROLSEX& controls) {
  const auto init = Loaded().initCommonControlsEx;
  return init != nullptr && init(&controls);
}

BOOL SetSubclass(HWND window, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data) {
  const auto set = Loaded().setWindowSubclass;
  return set != nullptr && set(window, proc, id, data);
}

BOOL RemoveSubclass(HWND window, SUBCLASSPROC proc, UINT_PTR id) {
  const auto remove = Loaded().removeWindowSubclass;
  return remove != nullptr && remove(window, proc, id);
}

LRESULT DefSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return Loaded().defSubclassProc(window, message, wParam, lParam);
}

}  // namespace quorvel
