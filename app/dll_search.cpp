// Windows looks for a DLL that is loaded by name in the program's own folder first. Run from
// Downloads, where any web page can leave a file, that would let a planted uxtheme.dll (or
// another DLL the system loads by name) run inside the program. From its first instruction on,
// the program has Windows look in System32 only.
#include <windows.h>

#include <cstddef>
#include <cwchar>
#include <iterator>

#include "dlls_loaded_by_name.h"
#include "system_function.h"

namespace {

// Loads each DLL named from System32 by its full path, for good: a DLL loaded once is never
// searched for again.
void LoadFromSystem32(const wchar_t* const* names, std::size_t count) {
  wchar_t path[MAX_PATH];
  const UINT folder = GetSystemDirectoryW(path, MAX_PATH);
  if (folder == 0 || folder >= MAX_PATH) {
    return;
  }
  path[folder] = L'\\';
  for (const wchar_t* const* name = names; name != names + count; ++name) {
    const std::size_t length = std::wcslen(*name);
    if (folder + 1 + length < MAX_PATH) {
      std::wmemcpy(path + folder + 1, *name, length + 1);
      // Its own dependencies are looked for beside it, in System32, not beside the program.
      LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
  }
}

// Runs before everything else of the program's, the stack guard's seeding included: rand_s
// reaches the system's random numbers through advapi32, which on Windows 7 loads cryptbase.dll
// by name. Windows 7 without update KB2533623 cannot restrict the search: there every DLL of
// the list is loaded from System32 at once instead.
__attribute__((constructor(101))) void SearchSystem32ForDlls() {
  SetDllDirectoryW(L"");  // nor the current folder, on every Windows
  const auto setDefaultDllDirectories = quorvel::SystemFunction<BOOL(WINAPI*)(DWORD)>(
      GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
  if (setDefaultDllDirectories != nullptr &&
      setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
    LoadFromSystem32(quorvel::kLoadedLateByWine, std::size(quorvel::kLoadedLateByWine));
  } else {
    LoadFromSystem32(quorvel::kLoadedByName, std::size(quorvel::kLoadedByName));
  }
}

}  // namespace
