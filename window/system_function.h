#pragma once

#include <windows.h>

namespace quorvel {

// A function of a DLL looked up at run time, for what Windows 7 lacks or what is loaded only
// when needed; nullptr where the DLL or the function is missing.
template <typename Function>
Function SystemFunction(HMODULE dll, const char* name) {
  return dll == nullptr
             ? nullptr
             : reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
}

}  // namespace quorvel
