// What a screen reader hears of the program's window: it starts the program and, for every
// visible control, asks for its name and role through MSAA, as NVDA and JAWS do, and for its
// name through UI Automation, as Narrator does, where the system has it; all from a process of
// its own. A control that answers WM_GETOBJECT with an object of its own must not pass for one
// of oleacc's proxies, which UI Automation's MSAA proxy refuses on Windows.
// Usage: screen_reader_test <Quorvel.exe>
#include <cstdio>
#include <string>
#include <vector>

#include "accessible.h"
#include "top_window.h"

// The two UI Automation interfaces used, up to the methods called: Debian 12's MinGW-w64
// headers have none of them. Outside the anonymous namespace: there GCC would see that no class
// of the program implements them and drop the calls as unreachable.
struct UiaElement : IUnknown {
  virtual void STDMETHODCALLTYPE Unused3to22_0() = 0;
  virtual void STDMETHODCALLTYPE Unused3to22_1() = 0;
  virtual void STDMETHODCALLTYPE Unused3to22_2() = 0;
  virtual void STDMETHODCALLTYPE Unused3to22_3() = 0;
  virtual void STDMETHODCALLTYPE Unused3to22_4() = 0;
  virtual void STDMETHODCALLTYPE Unused3to22_5() = 0;
  virtual void STDMETHODCALLTYPE Unused3to22_6() = 0;
  virtual void STDMETHODCALLTYPE Unused3to22_7() = 0;
  virtual void STDMETHODCALLTYPE Unused3to22_8() = 0;
  virtual void STDMETHODCALLTYPE Unused3to22_9() = 0;
  virtual void STDMETHODCALLTYPE Unused3to22_10() = 0;
  virtual void STDMETHODCALLTYPE Unused3to22_11() = 0;
  virtual void STDMETHODCALLTYPE Unused3to22_12() = 0;
  virtual void STDMETHODCALLTYPE Unused3to22_13() = 0;
  virtual void STDMETHODCALLTYPE Unused3to22_14() = 0;
  virtual void STDMETHODCALLTYPE Unused3to22_15() = 0;
  virtual void STDMETHODCALLTYPE Unused3to22_16() = 0;
  virtual void STDMETHODCALLTYPE Unused3to22_17() = 0;
  virtual void STDMETHODCALLTYPE Unused3to22_18() = 0;
  virtual void STDMETHODCALLTYPE Unused3to22_19() = 0;
  virtual HRESULT STDMETHODCALLTYPE get_CurrentName(BSTR* name) = 0;  // vtable slot 23
};
struct UiaAutomation : IUnknown {
  virtual void STDMETHODCALLTYPE CompareElements() = 0;
  virtual void STDMETHODCALLTYPE CompareRuntimeIds() = 0;
  virtual void STDMETHODCALLTYPE GetRootElement() = 0;
  virtual HRESULT STDMETHODCALLTYPE ElementFromHandle(HWND window, UiaElement** element) = 0;
};

namespace {

constexpr GUID kIServiceProvider = {
    0x6d5140c1, 0x7436, 0x11ce, {0x80, 0x34, 0x00, 0xaa, 0x00, 0x60, 0x09, 0xfa}};
constexpr GUID kIsOleaccProxy = {
    0x902697fa, 0x80e4, 0x4560, {0x80, 0x2a, 0xa1, 0x3f, 0x22, 0xa6, 0x47, 0x09}};
constexpr GUID kCUIAutomation = {
    0xff48dba4, 0x60ef, 0x4201, {0xaa, 0x87, 0x54, 0x10, 0x3e, 0xef, 0x59, 0x4e}};
constexpr GUID kIUIAutomation = {
    0x30cbe57d, 0xd9d0, 0x452a, {0xab, 0x13, 0x7a, 0xc5, 0xac, 0x48, 0x25, 0xee}};

struct Heard {
  std::wstring name;
  LONG role;
  LONG state;
  std::wstring value;
  std::wstring uiaName;  // empty where the system has no UI Automation
};

struct Listing {
  std::vector<Heard> heard;
  UiaAutomation* automation;
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
  Heard heard = {L"(no object)", -1, 0, L"", L""};
  if (IAccessible* object = AccessibleOf(control)) {
    const VARIANT self = Self();
    heard.name =
        AccessibleText([&](BSTR* text) { return object->get_accName(self, text); }, L"(none)");
    heard.value = AccessibleText([&](BSTR* text) { return object->get_accValue(self, text); });
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
  auto* listing = reinterpret_cast<Listing*>(list);
  UiaElement* element = nullptr;
  if (listing->automation != nullptr) {
    heard.uiaName = L"(no element)";
    if (SUCCEEDED(listing->automation->ElementFromHandle(control, &element)) && element) {
      heard.uiaName =
          AccessibleText([&](BSTR* text) { return element->get_CurrentName(text); }, L"(none)");
      element->Release();
    }
  }
  listing->heard.push_back(heard);
  return TRUE;
}

// The object a control gives of itself when asked by WM_GETOBJECT, as oleacc asks; nullptr for
// a control that leaves the question to the system.
IAccessible* OwnObject(HWND control) {
  const LRESULT answer = SendMessageW(control, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
  IAccessible* object = nullptr;
  if (answer > 0 &&
      FAILED(ObjectFromLresult(answer, kIAccessible, 0, reinterpret_cast<void**>(&object)))) {
    object = nullptr;
  }
  return object;
}

// Whether UI Automation's MSAA proxy takes a control's own object: one that says it is one of
// oleacc's own proxies is refused by Windows, and so is heard without the control's name.
bool UiaTakes(IAccessible* object) {
  IServiceProvider* services = nullptr;
  if (SUCCEEDED(object->QueryInterface(kIServiceProvider, reinterpret_cast<void**>(&services)))) {
    IUnknown* proxy = nullptr;
    const HRESULT isProxy =
        services->QueryService(kIsOleaccProxy, IID_IUnknown, reinterpret_cast<void**>(&proxy));
    if (proxy != nullptr) {
      proxy->Release();
    }
    services->Release();
    if (isProxy == S_OK) {
      std::printf("FAIL: the log box's own object says it is one of oleacc's proxies\n");
      return false;
    }
  }
  using FromAccessible = HRESULT(WINAPI*)(IAccessible*, long, DWORD, IUnknown**);
  HMODULE core = LoadLibraryW(L"uiautomationcore.dll");
  const auto fromAccessible = reinterpret_cast<FromAccessible>(
      core != nullptr ? reinterpret_cast<void*>(GetProcAddress(core, "UiaProviderFromIAccessible"))
                      : nullptr);
  if (fromAccessible == nullptr) {
    std::printf("FAIL: uiautomationcore.dll has no UiaProviderFromIAccessible\n");
    return false;
  }
  IUnknown* provider = nullptr;
  const HRESULT made = fromAccessible(object, CHILDID_SELF, 0, &provider);
  if (provider != nullptr) {
    provider->Release();
  }
  if (made != S_OK) {
    std::printf("FAIL: UiaProviderFromIAccessible refuses the log box's own object (0x%08lx)\n",
                static_cast<unsigned long>(made));
    return false;
  }
  return true;
}

// What the program's window says to a screen reader, asked once it is ready for input; ok
// becomes false where the log box's own object would not reach UI Automation.
std::vector<Heard> HearWindow(wchar_t* program, UiaAutomation* automation, bool& ok) {
  Listing listing = {{}, automation};
  std::vector<Heard>& heard = listing.heard;
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
    EnumChildWindows(window, ListControl, reinterpret_cast<LPARAM>(&listing));
    HWND box = FindWindowExW(window, nullptr, L"Edit", nullptr);
    while (box != nullptr && (GetWindowLongW(box, GWL_STYLE) & ES_MULTILINE) == 0) {
      box = FindWindowExW(window, box, L"Edit", nullptr);
    }
    if (IAccessible* own = box != nullptr ? OwnObject(box) : nullptr) {
      std::printf("the log box answers WM_GETOBJECT with an object of its own\n");
      ok = UiaTakes(own) && ok;
      own->Release();
    } else {
      std::printf("the log box leaves WM_GETOBJECT to the system\n");
    }
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
  UiaAutomation* automation = nullptr;
  if (FAILED(CoCreateInstance(kCUIAutomation, nullptr, CLSCTX_INPROC_SERVER, kIUIAutomation,
                              reinterpret_cast<void**>(&automation)))) {
    automation = nullptr;
    std::printf("this system has no UI Automation client (CUIAutomation): MSAA alone is asked\n");
  }
  bool ok = true;
  const std::vector<Heard> heard = HearWindow(argv[1], automation, ok);
  if (heard.size() != std::size(kExpected)) {
    ok = false;
    std::printf("FAIL: %zu visible controls heard, not %zu\n", heard.size(), std::size(kExpected));
  }
  for (std::size_t i = 0; i < heard.size() && i < std::size(kExpected); ++i) {
    const Heard& h = heard[i];
    // Wine's oleacc has no object of its own for static texts and buttons and gives them the
    // role of a plain client area.
    const bool role = h.role == kExpected[i].role ||
                      (h.role == ROLE_SYSTEM_CLIENT && kExpected[i].role != ROLE_SYSTEM_TEXT);
    const bool same =
        h.name == kExpected[i].name && role && (automation == nullptr || h.uiaName == h.name);
    std::printf("%s: \"%s\", role %ld", same ? "ok" : "FAIL", Utf8(h.name).c_str(), h.role);
    if (automation != nullptr) {
      std::printf(", UI Automation \"%s\"", Utf8(h.uiaName).c_str());
    }
    std::printf("\n");
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
  if (automation != nullptr) {
    automation->Release();
  }
  CoUninitialize();
  return ok ? 0 : 1;
}
