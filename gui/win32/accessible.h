#pragma once

#include <windows.h>

#include <oleacc.h>

#include <functional>
#include <string>

// Active Accessibility for windows the system does not describe itself.
namespace win32skin {

// An accessible object: IUnknown and IDispatch done, every IAccessible call
// answered "nothing" until a subclass says more.
class AccessibleBase : public IAccessible {
 public:
  virtual ~AccessibleBase() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&m_refs); }
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override;
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override;
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR* text) override { return Nothing(text); }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override { return Nothing(help); }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, LONG* topic) override;
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* key) override { return Nothing(key); }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override;
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override;
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT, BSTR* action) override { return Nothing(action); }
  HRESULT STDMETHODCALLTYPE accSelect(LONG, VARIANT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG, VARIANT, VARIANT* end) override;
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override;
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

  // The window's client object, its parent the window's own object.
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override;

 protected:
  explicit AccessibleBase(HWND window) : m_window(window) {}
  static HRESULT Nothing(BSTR* out) {
    *out = nullptr;
    return S_FALSE;
  }
  HWND m_window;

 private:
  LONG m_refs = 1;
};

// UTF-8 text as a string for a screen reader.
BSTR ToBstr(const std::string& text);

// The client object of a drawn control without children: a role, a name and
// (when given) a value, each asked for when a reader wants it.
struct SimpleAccessibleText {
  LONG role;
  std::function<std::string()> name;
  std::function<std::string()> value;  // may be empty
};
LRESULT AnswerSimpleGetObject(HWND window, WPARAM wParam, LPARAM lParam, SimpleAccessibleText text);

// A native control without a label before it (which the system would name
// it by) named for screen readers; all else the system describes.
void NameControl(HWND control, std::function<std::string()> name);

}  // namespace win32skin
