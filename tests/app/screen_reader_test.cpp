// What a screen reader hears of the program's window: it starts the program and, for every
// visible control, asks the control's accessible object for its name and role through MSAA, as
// NVDA, JAWS and Narrator do, from a process of its own.
// Usage: screen_reader_test <Quorvel.exe>
#include <windows.h>
// clang-format off
#include <oleacc.h>  // needs windows.h before it
// clang-format on

#include <cstdio>
#include <string>
#include <vector>

#include "top_window.h"

namespace {

constexpr GUID kIAccessible = {
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

struct Heard {
  std::wstring name;
  LONG role;
  LONG state;
  std::wstring value;
};

// The controls as they lie in z-order, which is the order they were made in.
const struct {
  const wchar_t* name;
  LONG role;
} kExpected[] = {
    {L"Криптиране и декриптиране", ROLE_SYSTEM_TEXT},
    {L"Информатика - шифър на Виженер, cipher Vigenere", ROLE_SYSTEM_STATICTEXT},
    {L"Текст:", ROLE_SYSTEM_STATICTEXT},
    {L"Текст:", ROLE_SYSTEM_TEXT},
    {L"Ключ:", ROLE_SYSTEM_STATICTEXT},
    {L"Ключ:", ROLE_SYSTEM_TEXT},
    {L"Изчисли", ROLE_SYSTEM_PUSHBUTTON},
    {L"Изчисти", ROLE_SYSTEM_PUSHBUTTON},
};

BOOL CALLBACK ListControl(HWND control, LPARAM list) {
  if (!IsWindowVisible(control)) {
    return TRUE;
  }
  Heard heard = {L"(no object)", -1, 0, L""};
  IAccessible* object = nullptr;
  if (SUCCEEDED(AccessibleObjectFromWindow(control, OBJID_CLIENT, kIAccessible,
                                           reinterpret_cast<void**>(&object)))) {
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR text = nullptr;
    heard.name = object->get_accName(self, &text) == S_OK && text != nullptr ? text : L"(none)";
    SysFreeString(text);
    text = nullptr;
    if (object->get_accValue(self, &text) == S_OK && text != nullptr) {
      heard.value = text;
    }
    SysFreeString(text);
    VARIANT answer;
    VariantInit(&answer);
    if (object->get_accRole(self, &answer) == S_OK && answer.vt == VT_I4) {
      heard.role = answer.lVal;
    }
    VariantInit(&answer);
    if (object->get_accState(self, &answer) == S_OK && answer.vt == VT_I4) {
      heard.state = answer.lVal;
    }
    object->Release();
  }
  reinterpret_cast<std::vector<Heard>*>(list)->push_back(heard);
  return TRUE;
}

std::string Utf8(const std::wstring& text) {
  std::string utf8(text.size() * 3, '\0');
  utf8.resize(static_cast<std::size_t>(
      WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(),
                          static_cast<int>(utf8.size()), nullptr, nullptr)));
  return utf8;
}

// What the program's window says to a screen reader, asked once it is ready for input.
std::vector<Heard> HearWindow(wchar_t* program) {
  std::vector<Heard> heard;
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(nullptr, program, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &info)) {
    std::printf("FAIL: cannot start the program (error %lu)\n", GetLastError());
    return heard;
  }
  WaitForInputIdle(info.hProcess, 20000);
  const HWND window = WaitForTopWindow(info.dwProcessId);
  if (window != nullptr) {
    EnumChildWindows(window, ListControl, reinterpret_cast<LPARAM>(&heard));
    PostMessageW(window, WM_CLOSE, 0, 0);
  }
  if (WaitForSingleObject(info.hProcess, 5000) != WAIT_OBJECT_0) {
    TerminateProcess(info.hProcess, 1);
  }
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return heard;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::printf("usage: screen_reader_test <Quorvel.exe>\n");
    return 2;
  }
  CoInitialize(nullptr);
  const std::vector<Heard> heard = HearWindow(argv[1]);
  bool ok = heard.size() == std::size(kExpected);
  if (!ok) {
    std::printf("FAIL: %zu visible controls heard, not %zu\n", heard.size(), std::size(kExpected));
  }
  for (std::size_t i = 0; i < heard.size() && i < std::size(kExpected); ++i) {
    const Heard& h = heard[i];
    // Wine's oleacc has no object of its own for static texts and buttons and gives them the
    // role of a plain client area.
    const bool role = h.role == kExpected[i].role ||
                      (h.role == ROLE_SYSTEM_CLIENT && kExpected[i].role != ROLE_SYSTEM_TEXT);
    const bool same = h.name == kExpected[i].name && role;
    std::printf("%s: \"%s\", role %ld\n", same ? "ok" : "FAIL", Utf8(h.name).c_str(), h.role);
    ok = ok && same;
  }
  // The log box stays what the system makes of a read-only edit box, its text for its value.
  if (!heard.empty()) {
    const Heard& box = heard.front();
    const bool readOnly = (box.state & STATE_SYSTEM_READONLY) != 0;
    const bool value = box.value.rfind(L"След използване на криптографски алгоритми", 0) == 0;
    std::printf("%s: the log box is read-only, and its value is its text\n",
                readOnly && value ? "ok" : "FAIL");
    ok = ok && readOnly && value;
  }
  CoUninitialize();
  return ok ? 0 : 1;
}
