#include "accessible_name.h"

#include <oleacc.h>

#include <new>

#include "common_controls.h"
#include "system_function.h"

namespace quorvel {
namespace {

// MinGW-w64's liboleacc.a gives IID_IAccessible as code, not data, and the program does not
// link oleacc.dll anyway.
constexpr GUID kIAccessible = {
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
constexpr GUID kIDispatch = {
    0x00020400, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr GUID kIUnknown = {
    0x00000000, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// The system's accessible object of the control with another name; every other question goes
// to the system's object as it is.
class NamedAccessible final : public IAccessible {
 public:
  using SysAllocStringFn = BSTR(WINAPI*)(const OLECHAR*);
  NamedAccessible(IAccessible* standard, const wchar_t* name, SysAllocStringFn sysAllocString)
      : standard_(standard), name_(name), sysAllocString_(sysAllocString) {}
  NamedAccessible(const NamedAccessible&) = delete;
  NamedAccessible& operator=(const NamedAccessible&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) {
      return E_POINTER;
    }
    if (IsEqualGUID(iid, kIUnknown) || IsEqualGUID(iid, kIDispatch) ||
        IsEqualGUID(iid, kIAccessible)) {
      *object = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    return standard_->QueryInterface(iid, object);  // IEnumVARIANT, IOleWindow and the like
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) {
      delete this;
    }
    return static_cast<ULONG>(left);
  }

  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (child.vt != VT_I4 || child.lVal != CHILDID_SELF) {
      return standard_->get_accName(child, name);
    }
    if (name == nullptr) {
      return E_POINTER;
    }
    *name = sysAllocString_(name_);
    return *name != nullptr ? S_OK : E_OUTOFMEMORY;
  }

  // clang-format off
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return standard_->GetTypeInfoCount(count); }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override { return standard_->GetTypeInfo(index, locale, info); }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override { return standard_->GetIDsOfNames(iid, names, count, locale, ids); }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception, UINT* argument) override { return standard_->Invoke(id, iid, locale, flags, params, result, exception, argument); }
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return standard_->get_accParent(parent); }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override { return standard_->get_accChildCount(count); }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override { return standard_->get_accChild(child, object); }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override { return standard_->get_accValue(child, value); }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override { return standard_->get_accDescription(child, text); }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override { return standard_->get_accRole(child, role); }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override { return standard_->get_accState(child, state); }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override { return standard_->get_accHelp(child, help); }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override { return standard_->get_accHelpTopic(file, child, topic); }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override { return standard_->get_accKeyboardShortcut(child, keys); }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return standard_->get_accFocus(child); }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override { return standard_->get_accSelection(children); }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override { return standard_->get_accDefaultAction(child, action); }
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override { return standard_->accSelect(flags, child); }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override { return standard_->accLocation(left, top, width, height, child); }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override { return standard_->accNavigate(direction, start, end); }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG left, LONG top, VARIANT* child) override { return standard_->accHitTest(left, top, child); }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override { return standard_->accDoDefaultAction(child); }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override { return standard_->put_accName(child, name); }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override { return standard_->put_accValue(child, value); }
  // clang-format on

 private:
  ~NamedAccessible() { standard_->Release(); }

  IAccessible* standard_;
  const wchar_t* name_;
  SysAllocStringFn sysAllocString_;
  LONG references_ = 1;
};

// The answer to WM_GETOBJECT for the control's client area: the system's object, named.
LRESULT NamedObject(HWND control, WPARAM flags, const wchar_t* name) {
  // Kept loaded: the object may outlive this call. oleacc brings oleaut32 in with it.
  HMODULE oleacc = LoadLibraryW(L"oleacc.dll");
  HMODULE oleaut = oleacc != nullptr ? GetModuleHandleW(L"oleaut32.dll") : nullptr;
  if (oleaut == nullptr) {
    return 0;
  }
  using CreateStdFn = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
  using LresultFn = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
  const auto createStd = SystemFunction<CreateStdFn>(oleacc, "CreateStdAccessibleObject");
  const auto lresultFromObject = SystemFunction<LresultFn>(oleacc, "LresultFromObject");
  const auto sysAllocString =
      SystemFunction<NamedAccessible::SysAllocStringFn>(oleaut, "SysAllocString");
  IAccessible* standard = nullptr;
  if (createStd == nullptr || lresultFromObject == nullptr || sysAllocString == nullptr ||
      FAILED(createStd(control, OBJID_CLIENT, kIAccessible, reinterpret_cast<void**>(&standard)))) {
    return 0;
  }
  auto* named = new (std::nothrow) NamedAccessible(standard, name, sysAllocString);
  if (named == nullptr) {
    standard->Release();
    return 0;
  }
  const LRESULT result = lresultFromObject(kIAccessible, flags, named);
  named->Release();  // the result holds its own reference
  return result > 0 ? result : 0;
}

LRESULT CALLBACK NameProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                          DWORD_PTR name) {
  switch (message) {
    case WM_GETOBJECT:
      if (static_cast<LONG>(lParam) == OBJID_CLIENT) {
        if (const LRESULT object =
                NamedObject(control, wParam, reinterpret_cast<const wchar_t*>(name))) {
          return object;
        }
      }
      break;
    case WM_NCDESTROY:
      RemoveSubclass(control, NameProc, id);
      break;
    default:
      break;
  }
  return DefSubclass(control, message, wParam, lParam);
}

}  // namespace

void NameForScreenReaders(HWND control, const wchar_t* name) {
  SetSubclass(control, NameProc, 2, reinterpret_cast<DWORD_PTR>(name));
}

}  // namespace quorvel
