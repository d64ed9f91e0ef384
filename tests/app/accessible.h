#pragma once

// What the tests that stand in for a screen reader share.
#include <windows.h>
// clang-format off
#include <oleacc.h>  // needs windows.h before it
// clang-format on

#include <string>

// MinGW-w64's liboleacc.a gives IID_IAccessible as code, not data.
constexpr GUID kIAccessible = {
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

inline std::string Utf8(const std::wstring& text) {
  std::string utf8(text.size() * 3, '\0');
  utf8.resize(static_cast<std::size_t>(
      WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(),
                          static_cast<int>(utf8.size()), nullptr, nullptr)));
  return utf8;
}

// A control's MSAA object, as a screen reader asks for it; nullptr for none. Release it.
inline IAccessible* AccessibleOf(HWND control) {
  IAccessible* object = nullptr;
  return SUCCEEDED(AccessibleObjectFromWindow(control, OBJID_CLIENT, kIAccessible,
                                              reinterpret_cast<void**>(&object)))
             ? object
             : nullptr;
}

// The object itself rather than a child of it, for its get_acc calls.
inline VARIANT Self() {
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  return self;
}

// A text an object gives, get(&text) asking it; `none` where it gives none.
template <typename Get>
std::wstring AccessibleText(Get get, const wchar_t* none = L"") {
  BSTR text = nullptr;
  std::wstring result = get(&text) == S_OK && text != nullptr ? text : none;
  SysFreeString(text);
  return result;
}

// The name MSAA gives a control; empty for none.
inline std::wstring AccessibleName(HWND control) {
  std::wstring name;
  if (IAccessible* object = AccessibleOf(control)) {
    name = AccessibleText([object](BSTR* text) { return object->get_accName(Self(), text); });
    object->Release();
  }
  return name;
}
