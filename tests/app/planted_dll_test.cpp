// The program run from a download folder with a stub DLL planted beside it under every name that
// it or the system could load by name (Wine is told by the test's environment to prefer such a
// DLL to its own: a process started from here keeps Wine's own load order). The
// program is used as a pupil would use it, with a screen reader asking too, and closed: it must
// end with exit code 0 and load none of the stubs. What a bare window program loads under the
// same conditions is Wine's own doing (its user32 loads version.dll before any program's first
// instruction): reported, not counted against the program.
// Usage: planted_dll_test <Quorvel.exe> <bare_window.exe> <planted.dll> <folder>
#include <cstdio>
#include <string>
#include <vector>

#include "accessible.h"
#include "dlls_loaded_by_name.h"
#include "top_window.h"

namespace {

using quorvel::kLoadedByName;

// A copy of the program in a folder of its own, with the stub beside it under every name.
std::wstring Plant(const std::wstring& folder, const wchar_t* exe, const wchar_t* stub) {
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring program = folder + L"\\program.exe";
  bool planted = CopyFileW(exe, program.c_str(), FALSE) != 0;
  for (const wchar_t* name : kLoadedByName) {
    const std::wstring dll = folder + L"\\" + name;
    DeleteFileW((dll + L".loaded").c_str());
    planted = CopyFileW(stub, dll.c_str(), FALSE) != 0 && planted;
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
// clicking send; false, with a line saying what, where the program did not do it.
bool UseEveryFeature(HWND window) {
  HWND phrase = Child(window, L"Edit", nullptr, false);
  HWND box = Child(window, L"Edit", nullptr, true);
  HWND compute = FindWindowExW(window, nullptr, L"Button", L"Изчисли");
  HWND clear = FindWindowExW(window, nullptr, L"Button", L"Изчисти");
  if (phrase == nullptr || box == nullptr || compute == nullptr || clear == nullptr) {
    std::printf("FAIL: the window lacks a field, the log box or a button\n");
    return false;
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
  if (!ok) {
    std::printf("FAIL: typed \"%s\", computed \"%s\", heard \"%s\", log \"%s\"\n",
                Utf8(typed).c_str(), Utf8(computed).c_str(), Utf8(heard).c_str(),
                Utf8(log.substr(0, 40)).c_str());
  }
  return ok;
}

// Starts the program, uses it (or, for the bare window, only opens it) and closes it; true if it
// then ended by itself with exit code 0.
bool Run(std::wstring program, bool use) {
  std::wstring command = L"\"" + program + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    std::printf("FAIL: cannot start %s (error %lu)\n", Utf8(program).c_str(), GetLastError());
    return false;
  }
  WaitForInputIdle(info.hProcess, 20000);
  const HWND window = WaitForTopWindow(info.dwProcessId);
  bool ok = window != nullptr && (!use || UseEveryFeature(window));
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
  if (window == nullptr || status != 0) {
    std::printf("%s: %s did not open and close normally (exit code 0x%lx)\n", use ? "FAIL" : "note",
                Utf8(program).c_str(), status);
    ok = false;
  }
  return ok;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 5) {
    std::printf("usage: planted_dll_test <Quorvel.exe> <bare_window.exe> <planted.dll> <folder>\n");
    return 2;
  }
  CoInitialize(nullptr);

  const std::wstring folder = argv[4];
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring bare = Plant(folder + L"\\bare", argv[2], argv[3]);
  const std::wstring quorvel = Plant(folder + L"\\quorvel", argv[1], argv[3]);
  if (bare.empty() || quorvel.empty()) {
    std::printf("FAIL: the stubs could not be planted in %s\n", Utf8(folder).c_str());
    return 1;
  }
  // Only what it loads counts: it may well fail on a stub of a DLL that Wine's user32 calls.
  Run(bare, false);
  const std::vector<std::wstring> wines = Loaded(folder + L"\\bare");
  std::printf("a bare window loads, by Wine's own doing: %s\n", List(wines).c_str());
  // Wine 8 and 10 load some stub into a program that does nothing against them: where none
  // is loaded, the stubs were not planted where Wine looks.
  bool ok = !wines.empty();
  if (!ok) {
    std::printf("FAIL: not even a bare window loads a stub: the test cannot see a load\n");
  }
  ok = Run(quorvel, true) && ok;
  std::vector<std::wstring> own;
  for (const std::wstring& name : Loaded(folder + L"\\quorvel")) {
    bool wine = false;
    for (const std::wstring& w : wines) {
      wine = wine || w == name;
    }
    if (!wine) {
      own.push_back(name);
    }
  }
  if (!own.empty()) {
    std::printf("FAIL: loaded from beside the program: %s\n", List(own).c_str());
    ok = false;
  }
  if (ok) {
    std::printf(
        "ok: %zu planted DLLs beside the program, which loaded none of them while it was"
        " typed into, pasted into, computed, cleared, scrolled and asked by a screen"
        " reader\n",
        std::size(kLoadedByName));
  }
  CoUninitialize();
  return ok ? 0 : 1;
}
