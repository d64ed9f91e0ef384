// The program's stack protector at work: the guard is seeded with random bits at start, and an
// overrun buffer ends the process with STATUS_STACK_BUFFER_OVERRUN before its function returns.
// The test starts itself again to overrun a buffer in the second process.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>

extern "C" std::uintptr_t __stack_chk_guard;

namespace {

__attribute__((noinline)) void Fill(volatile char* at, std::size_t length) {
  for (std::size_t i = 0; i < length; ++i) {
    at[i] = 'x';
  }
}

// Writes length bytes into a buffer of 8, as a real bug would.
__attribute__((noinline)) void Overrun(std::size_t length) {
  volatile char buffer[8];
  Fill(buffer, length);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc > 1) {
    Overrun(8 * std::wcslen(argv[1]));  // 56 bytes, unknown to the compiler
    return 0;                           // reached only if the overrun went unnoticed
  }
  const auto fallback = static_cast<std::uintptr_t>(0x2F8A5C3E6D9B17F4ULL);
  if (__stack_chk_guard == fallback || __stack_chk_guard == 0) {
    std::printf("FAIL: the guard was not seeded\n");
    return 1;
  }
  wchar_t command[MAX_PATH + 16];
  std::swprintf(command, MAX_PATH + 16, L"\"%ls\" overrun", argv[0]);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION child = {};
  if (!CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &child)) {
    std::printf("FAIL: cannot start the overrun (error %lu)\n", GetLastError());
    return 1;
  }
  WaitForSingleObject(child.hProcess, 10000);
  DWORD exitCode = 0;
  GetExitCodeProcess(child.hProcess, &exitCode);
  CloseHandle(child.hThread);
  CloseHandle(child.hProcess);
  if (exitCode != 0xC0000409) {
    std::printf("FAIL: the overrun ended with exit code 0x%lx\n", exitCode);
    return 1;
  }
  std::printf("ok: guard seeded, the overrun ended with STATUS_STACK_BUFFER_OVERRUN\n");
  return 0;
}
