// The guard value and the failure path that -fstack-protector code calls on. GCC's libssp has
// both, but it seeds the guard through the CryptoAPI, which loads a cryptographic provider at
// every start (about 30 ms and 600 KiB more under Wine). The C runtime's rand_s draws from the
// same system generator without it; newer MinGW-w64 runtimes seed their own guard the same way.
#define _CRT_RAND_S
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" {

// Used as it stands only if the system has no random numbers to give.
std::uintptr_t __stack_chk_guard = static_cast<std::uintptr_t>(0x2F8A5C3E6D9B17F4ULL);

// Runs before any code of the program's own but the DLL search's (constructor 101), so no
// protected function is active while the guard changes; it must not be protected itself.
__attribute__((constructor(102), no_stack_protector)) static void SeedStackGuard() {
  unsigned int parts[sizeof(std::uintptr_t) / sizeof(unsigned int)];
  for (unsigned int& part : parts) {
    if (rand_s(&part) != 0) {
      return;
    }
  }
  std::uintptr_t guard = 0;
  std::memcpy(&guard, parts, sizeof guard);
  if (guard != 0) {
    __stack_chk_guard = guard;
  }
}

// A function's stack was overwritten: end the process at once, running nothing more of it.
[[noreturn]] void __stack_chk_fail() {
  TerminateProcess(GetCurrentProcess(), STATUS_STACK_BUFFER_OVERRUN);
  std::abort();  // TerminateProcess on the own process does not return
}

}  // extern "C"
