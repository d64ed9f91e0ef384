// The program run from a download folder with a stub DLL planted beside it under every name that
// it or the system could load by name (Wine is told by the test's environment to prefer such a
// DLL to its own: a process started from here keeps Wine's own load order). The program is used
// as a pupil would use it, with a screen reader asking too, and closed: it must end with exit
// code 0 and load none of the stubs.
// Wine's own DLLs load some of them before any program's code runs (Wine 8's user32 version.dll
// and imm32.dll, Wine 10's imm32.dll): a program that ends at once shows which, and those loads
// are Wine's, not the program's, to answer for. What a bare window, which does nothing against
// planted DLLs, loads of the rest is reported: what the program's defence must keep out.
// Usage: planted_dll_test <Quorvel.exe> <nothing.exe> <bare_window.exe> <planted.dll> <folder>
#include <cstdio>
#include <string>
#include <vector>

#include "accessible.h"
#include "dlls_loaded_by_name.h"
#include "top_window.h"

namespace {

using quorvel::kLoadedByName;

bool Among(const std::vector<std::wstring>& names, const std::wstring& name) {
  for (const std::wstring& each : names) {
    if (each == name) {
      return true;
    }
  }
  return false;
}

// A copy of the program in a folder of its own, with the stub beside it under every name but
// those left out.
std::wstring Plant(const std::wstring& folder, const wchar_t* exe, const wchar_t* stub,
                   const std::vector<std::wstring>& leftOut = {}) {
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring program = folder + L"\\program.exe";
  bool planted = CopyFileW(exe, program.c_str(), FALSE) != 0;
  for (const wchar_t* name : kLoadedByName) {
    const std::wstring dll = folder + L"\\" + name;
    DeleteFileW((dll + L".loaded").c_str());
    DeleteFileW(dll.c_str());
    if (!Among(leftOut, name)) {
      planted = CopyFileW(stub, dll.c_str(), FALSE) != 0 && planted;
    }
  }
  return planted ? program : std::wstring();
}

// The names whose stub left its marker in the folder.
std::vector<std::wstring> Loaded(const std::wstring& folder) {
  std::vector<std::wstring> loaded;
  for (const wchar_t* name : kLoadedByName) {
    if (GetFileAttributesW((folder + L"\\" + name + L".loaded").c_str()) !=
        INVALID_FILE_ATTRIBUTES) {
      loaded.push_back(name);
    }
  }
  return loaded;
}

std::string List(const std::vector<std::wstring>& names) {
  std::string list;
  for (const std::wstring& name : names) {
    list += (list.empty() ? "" : " ") + Utf8(name);
  }
  return list.empty() ? "none" : list;
}

HWND Child(HWND window, const wchar_t* className, const wchar_t* text, bool multiLine) {
  for (HWND child = FindWindowExW(window, nullptr, className, text); child != nullptr;
       child = FindWindowExW(window, child, className, text)) {
    if (((GetWindowLongW(child, GWL_STYLE) & ES_MULTILINE) != 0) == multiLine) {
      return child;
    }
  }
  return nullptr;
}

std::wstring TextOf(HWND control) {
  wchar_t text[4096] = L"";  // the log of a 50-letter phrase is far shorter
  SendMessageW(control, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text));
  return text;
}

void SetClipboard(const std::wstring& text) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  if (memory == nullptr || !OpenClipboard(nullptr)) {
    return;
  }
  wchar_t* chars = static_cast<wchar_t*>(GlobalLock(memory));
  text.copy(chars, text.size());
  chars[text.size()] = L'\0';
  GlobalUnlock(memory);
  EmptyClipboard();
  SetClipboardData(CF_UNICODETEXT, memory);
  CloseClipboard();
}

// Every feature a pupil reaches, each through the window messages that typing, pasting and
// clicking send; what the program did not do, or nothing.
std::string UseEveryFeature(HWND window) {
  HWND phrase = Child(window, L"Edit", nullptr, false);
  HWND box = Child(window, L"Edit", nullptr, true);
  HWND compute = FindWindowExW(window, nullptr, L"Button", L"Изчисли");
  HWND clear = FindWindowExW(window, nullptr, L"Button", L"Изчисти");
  if (phrase == nullptr || box == nullptr || compute == nullptr || clear == nullptr) {
    return "the window lacks a field, the log box or a button";
  }
  SendMessageW(phrase, EM_SETSEL, 0, -1);
  SendMessageW(phrase, WM_CHAR, 0x4E2D, 1);  // outside the code page: refused with a beep
  SetClipboard(L"ab\u4E2Dcd ef\r\nxyz");
  SendMessageW(phrase, WM_PASTE, 0, 0);
  SendMessageW(phrase, WM_CHAR, 0x7F, 1);  // Ctrl+Backspace
  const std::wstring typed = TextOf(phrase);
  SendMessageW(compute, BM_CLICK, 0, 0);
  const std::wstring computed = TextOf(phrase);
  const std::wstring log = TextOf(box);
  for (int page = 0; page < 3; ++page) {
    SendMessageW(box, WM_VSCROLL, SB_PAGEDOWN, 0);
  }
  SendMessageW(box, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
  UpdateWindow(box);
  const std::wstring heard = AccessibleName(box);
  SendMessageW(clear, BM_CLICK, 0, 0);
  const std::wstring cleared = TextOf(phrase);
  Sleep(200);  // and let it paint what it scrolled
  const bool ok = typed == L"abcd " && computed == L"ABCD" &&
                  log.rfind(L"Дължина на въведената фраза и ключ за кодиране: 4:5\r\n", 0) == 0 &&
                  heard == L"Криптиране и декриптиране" && cleared.empty();
  return ok ? ""
            : "typed \"" + Utf8(typed) + "\", computed \"" + Utf8(computed) + "\", heard \"" +
                  Utf8(heard) + "\", log \"" + Utf8(log.substr(0, 40)) + "\"";
}

struct Outcome {
  std::string failure;  // empty when it was used and ended by itself with exit code 0
  DWORD status;
};

// Starts the program, uses it (or, for the bare programs, only lets it open) and closes it.
Outcome Run(std::wstring program, bool use) {
  std::wstring command = L"\"" + program + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    return {"cannot start " + Utf8(program), 1};
  }
  WaitForInputIdle(info.hProcess, 20000);
  const bool ended = WaitForSingleObject(info.hProcess, 0) == WAIT_OBJECT_0;
  const HWND window = ended ? nullptr : WaitForTopWindow(info.dwProcessId);
  std::string failure = window != nullptr && use ? UseEveryFeature(window) : "";
  if (window != nullptr) {
    PostMessageW(window, WM_CLOSE, 0, 0);
  }
  DWORD status = 1;
  if (WaitForSingleObject(info.hProcess, 10000) != WAIT_OBJECT_0) {
    TerminateProcess(info.hProcess, 1);
  }
  GetExitCodeProcess(info.hProcess, &status);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  if (use && failure.empty() && (window == nullptr || status != 0)) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%lx", status);
    failure = Utf8(program) + " did not open and close normally (exit code " + code + ")";
  }
  return {failure, status};
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 6) {
    std::printf(
        "usage: planted_dll_test <Quorvel.exe> <nothing.exe> <bare_window.exe> <planted.dll> "
        "<folder>\n");
    return 2;
  }
  CoInitialize(nullptr);
  const wchar_t* stub = argv[4];
  const std::wstring folder = argv[5];
  CreateDirectoryW(folder.c_str(), nullptr);

  // Only what they load counts: they may well fail on a stub that Wine's own DLLs call.
  const std::wstring nothing = Plant(folder + L"\\nothing", argv[2], stub);
  Run(nothing, false);
  const std::vector<std::wstring> early = Loaded(folder + L"\\nothing");
  std::printf("Wine loads them before any program's code: %s\n", List(early).c_str());
  const std::wstring bare = Plant(folder + L"\\bare", argv[3], stub, early);
  Run(bare, false);
  const std::vector<std::wstring> wines = Loaded(folder + L"\\bare");
  std::printf("a bare window, undefended, loads: %s\n", List(wines).c_str());
  // Wine 8 and 10 load some stub into a program that does nothing against them: where none
  // is loaded, the stubs were not planted where Wine looks.
  bool ok = !early.empty() || !wines.empty();
  if (!ok) {
    std::printf("FAIL: not even a bare program loads a stub: the test cannot see a load\n");
  }
  std::wstring quorvel = Plant(folder + L"\\quorvel", argv[1], stub);
  if (nothing.empty() || bare.empty() || quorvel.empty()) {
    std::printf("FAIL: the stubs could not be planted in %s\n", Utf8(folder).c_str());
    return 1;
  }
  std::size_t planted = std::size(kLoadedByName);
  Outcome used = Run(quorvel, true);
  // Wine 10's edit box calls into the imm32.dll its user32 loaded before the program's code: a
  // stub's missing function ends the program; then it runs again without those stubs.
  constexpr DWORD kWineStubCalled = 0x80000100;
  if (used.status == kWineStubCalled && !early.empty()) {
    std::printf("Wine called a function of a stub that it loaded itself (%s); again without them\n",
                used.failure.c_str());
    quorvel = Plant(folder + L"\\quorvel", argv[1], stub, early);
    planted -= early.size();
    used = Run(quorvel, true);
  }
  if (!used.failure.empty()) {
    std::printf("FAIL: %s\n", used.failure.c_str());
    ok = false;
  }
  std::vector<std::wstring> own;
  for (const std::wstring& name : Loaded(folder + L"\\quorvel")) {
    if (!Among(early, name)) {
      own.push_back(name);
    }
  }
  if (!own.empty()) {
    std::printf("FAIL: loaded from beside the program: %s\n", List(own).c_str());
    ok = false;
  }
  if (ok) {
    std::printf(
        "ok: %zu planted DLLs beside the program, which loaded none of them but Wine's own while"
        " it was typed into, pasted into, computed, cleared, scrolled and asked by a screen"
        " reader\n",
        planted);
  }
  CoUninitialize();
  return ok ? 0 : 1;
}
