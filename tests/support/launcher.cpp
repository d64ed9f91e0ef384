// Starts a GUI program and measures it: time until its window is ready for input, and its
// working set after start and after compute clicks (when it has a "Изчисли" button).
// Usage: launcher <program.exe> <clicks>...   e.g. launcher Quorvel.exe 100 1000
// It then closes the window and fails unless the program ends by itself with exit code 0.
// clang-format off
#include <windows.h>
#include <psapi.h>  // needs windows.h before it
// clang-format on

#include <cstdio>
#include <cstdlib>
#include <string>

#include "top_window.h"

namespace {

BOOL CALLBACK FindComputeButton(HWND child, LPARAM param) {
  wchar_t text[32] = {};
  GetWindowTextW(child, text, 32);
  if (std::wstring(text) == L"Изчисли") {
    *reinterpret_cast<HWND*>(param) = child;
    return FALSE;
  }
  return TRUE;
}

double WorkingSetKiB(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(process, &counters, sizeof counters)) {
    return -1;
  }
  return static_cast<double>(counters.WorkingSetSize) / 1024.0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: launcher <program.exe> <clicks>...\n");
    return 2;
  }
  std::wstring command = std::wstring(L"\"") + argv[1] + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};

  LARGE_INTEGER frequency, start, ready;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    std::fprintf(stderr, "cannot start the program (error %lu)\n", GetLastError());
    return 1;
  }
  const DWORD idle = WaitForInputIdle(info.hProcess, 20000);
  QueryPerformanceCounter(&ready);
  if (idle != 0) {
    std::fprintf(stderr, "the program did not become ready\n");
    TerminateProcess(info.hProcess, 1);
    return 1;
  }
  std::printf("startup_ms %.1f\n", 1000.0 * static_cast<double>(ready.QuadPart - start.QuadPart) /
                                       static_cast<double>(frequency.QuadPart));

  const HWND window = WaitForTopWindow(info.dwProcessId);
  Sleep(300);  // let the start settle before reading the working set
  std::printf("working_set_kib_start %.0f\n", WorkingSetKiB(info.hProcess));

  HWND compute = nullptr;
  if (window != nullptr) {
    EnumChildWindows(window, FindComputeButton, reinterpret_cast<LPARAM>(&compute));
  }
  int clicked = 0;
  for (int i = 2; i < argc && compute != nullptr; ++i) {
    const int target = std::wcstol(argv[i], nullptr, 10);
    for (; clicked < target; ++clicked) {
      SendMessageW(compute, BM_CLICK, 0, 0);
    }
    std::printf("working_set_kib_after_%d_clicks %.0f\n", clicked, WorkingSetKiB(info.hProcess));
  }

  // Closed as a user closes it, the program must end by itself and report success.
  if (window != nullptr) {
    PostMessageW(window, WM_CLOSE, 0, 0);
  }
  DWORD exitCode = 1;
  if (WaitForSingleObject(info.hProcess, 5000) != WAIT_OBJECT_0) {
    std::fprintf(stderr, "the program did not end when its window was closed\n");
    TerminateProcess(info.hProcess, 1);
  } else if (!GetExitCodeProcess(info.hProcess, &exitCode) || exitCode != 0) {
    std::fprintf(stderr, "the program ended with exit code %lu\n", exitCode);
  }
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return window != nullptr && exitCode == 0 ? 0 : 1;
}
