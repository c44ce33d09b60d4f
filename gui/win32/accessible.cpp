#include "gui/win32/accessible.h"

#include <commctrl.h>

#include "platform/text/utf8.h"

namespace win32skin {

BSTR ToBstr(const std::string& text) {
  const std::u16string wide = text::ToUtf16(text);
  return SysAllocStringLen(reinterpret_cast<const OLECHAR*>(wide.data()), static_cast<UINT>(wide.size()));
}

HRESULT AccessibleBase::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) || riid == __uuidof(IAccessible)) {
    *out = static_cast<IAccessible*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG AccessibleBase::Release() {
  const LONG refs = InterlockedDecrement(&m_refs);
  if (refs == 0) delete this;
  return refs;
}

HRESULT AccessibleBase::GetTypeInfoCount(UINT* count) {
  *count = 0;
  return S_OK;
}

HRESULT AccessibleBase::get_accChildCount(LONG* count) {
  *count = 0;
  return S_OK;
}

HRESULT AccessibleBase::get_accChild(VARIANT, IDispatch** out) {
  *out = nullptr;
  return E_INVALIDARG;
}

HRESULT AccessibleBase::get_accValue(VARIANT, BSTR* value) { return Nothing(value); }

HRESULT AccessibleBase::get_accHelpTopic(BSTR* file, VARIANT, LONG* topic) {
  *file = nullptr;
  *topic = 0;
  return S_FALSE;
}

HRESULT AccessibleBase::get_accFocus(VARIANT* focus) {
  focus->vt = VT_EMPTY;
  return S_FALSE;
}

HRESULT AccessibleBase::get_accSelection(VARIANT* selection) {
  selection->vt = VT_EMPTY;
  return S_FALSE;
}

HRESULT AccessibleBase::accNavigate(LONG, VARIANT, VARIANT* end) {
  end->vt = VT_EMPTY;
  return E_NOTIMPL;
}

HRESULT AccessibleBase::accHitTest(LONG x, LONG y, VARIANT* child) {
  child->vt = VT_EMPTY;
  RECT r;
  GetWindowRect(m_window, &r);
  if (x < r.left || x >= r.right || y < r.top || y >= r.bottom) return S_FALSE;
  child->vt = VT_I4;
  child->lVal = CHILDID_SELF;
  return S_OK;
}

HRESULT AccessibleBase::get_accParent(IDispatch** parent) {
  return AccessibleObjectFromWindow(m_window, OBJID_WINDOW, __uuidof(IDispatch), reinterpret_cast<void**>(parent));
}

HRESULT AccessibleBase::accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT) {
  RECT r;
  GetWindowRect(m_window, &r);
  *left = r.left;
  *top = r.top;
  *width = r.right - r.left;
  *height = r.bottom - r.top;
  return S_OK;
}

namespace {

class SimpleAccessible final : public AccessibleBase {
 public:
  SimpleAccessible(HWND window, SimpleAccessibleText text) : AccessibleBase(window), m_text(std::move(text)) {}

  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (child.vt != VT_I4 || child.lVal != CHILDID_SELF) return E_INVALIDARG;
    const std::string text = m_text.name ? m_text.name() : std::string();
    if (text.empty()) return Nothing(name);
    *name = ToBstr(text);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    if (child.vt != VT_I4 || child.lVal != CHILDID_SELF) return E_INVALIDARG;
    if (!m_text.value) return Nothing(value);
    *value = ToBstr(m_text.value());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (child.vt != VT_I4 || child.lVal != CHILDID_SELF) return E_INVALIDARG;
    role->vt = VT_I4;
    role->lVal = m_text.role;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (child.vt != VT_I4 || child.lVal != CHILDID_SELF) return E_INVALIDARG;
    state->vt = VT_I4;
    state->lVal = STATE_SYSTEM_READONLY | (IsWindowVisible(m_window) ? 0 : STATE_SYSTEM_INVISIBLE);
    return S_OK;
  }

 private:
  SimpleAccessibleText m_text;
};

// The system's own object for a native control, with a name of ours: every
// call but the name goes to the system's object.
class NamedAccessible final : public IAccessible {
 public:
  NamedAccessible(IAccessible* inner, std::function<std::string()> name) : m_inner(inner), m_name(std::move(name)) {}
  virtual ~NamedAccessible() { m_inner->Release(); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) || riid == __uuidof(IAccessible)) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    return m_inner->QueryInterface(riid, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&m_refs); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG refs = InterlockedDecrement(&m_refs);
    if (refs == 0) delete this;
    return refs;
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (child.vt != VT_I4 || child.lVal != CHILDID_SELF) return m_inner->get_accName(child, name);
    *name = ToBstr(m_name());
    return S_OK;
  }
  // Everything else as the system answers it.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { return m_inner->GetTypeInfoCount(n); }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT i, LCID l, ITypeInfo** t) override {
    return m_inner->GetTypeInfo(i, l, t);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID r, LPOLESTR* n, UINT c, LCID l, DISPID* d) override {
    return m_inner->GetIDsOfNames(r, n, c, l, d);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID d, REFIID r, LCID l, WORD f, DISPPARAMS* p, VARIANT* v, EXCEPINFO* e,
                                   UINT* a) override {
    return m_inner->Invoke(d, r, l, f, p, v, e, a);
  }
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** p) override { return m_inner->get_accParent(p); }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* n) override { return m_inner->get_accChildCount(n); }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT c, IDispatch** d) override { return m_inner->get_accChild(c, d); }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT c, BSTR* v) override { return m_inner->get_accValue(c, v); }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT c, BSTR* d) override {
    return m_inner->get_accDescription(c, d);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT c, VARIANT* r) override { return m_inner->get_accRole(c, r); }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT c, VARIANT* s) override { return m_inner->get_accState(c, s); }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT c, BSTR* h) override { return m_inner->get_accHelp(c, h); }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* f, VARIANT c, LONG* t) override {
    return m_inner->get_accHelpTopic(f, c, t);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT c, BSTR* k) override {
    return m_inner->get_accKeyboardShortcut(c, k);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* f) override { return m_inner->get_accFocus(f); }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* s) override { return m_inner->get_accSelection(s); }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT c, BSTR* a) override {
    return m_inner->get_accDefaultAction(c, a);
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG f, VARIANT c) override { return m_inner->accSelect(f, c); }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* l, LONG* t, LONG* w, LONG* h, VARIANT c) override {
    return m_inner->accLocation(l, t, w, h, c);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG d, VARIANT s, VARIANT* e) override {
    return m_inner->accNavigate(d, s, e);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* c) override { return m_inner->accHitTest(x, y, c); }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT c) override { return m_inner->accDoDefaultAction(c); }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT c, BSTR n) override { return m_inner->put_accName(c, n); }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT c, BSTR v) override { return m_inner->put_accValue(c, v); }

 private:
  IAccessible* m_inner;
  std::function<std::string()> m_name;
  LONG m_refs = 1;
};

LRESULT CALLBACK NamedControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  if (msg == WM_GETOBJECT && static_cast<LONG>(lParam) == static_cast<LONG>(OBJID_CLIENT)) {
    IAccessible* inner = nullptr;
    if (CreateStdAccessibleObject(hwnd, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&inner)) ==
            S_OK &&
        inner) {
      const auto& name = *reinterpret_cast<const std::function<std::string()>*>(data);
      auto* object = new NamedAccessible(inner, name);
      const LRESULT result = LresultFromObject(__uuidof(IAccessible), wParam, object);
      object->Release();
      return result;
    }
  }
  if (msg == WM_NCDESTROY) {
    delete reinterpret_cast<std::function<std::string()>*>(data);
    RemoveWindowSubclass(hwnd, NamedControlProc, 1);
  }
  return DefSubclassProc(hwnd, msg, wParam, lParam);
}

}  // namespace

void NameControl(HWND control, std::function<std::string()> name) {
  auto* kept = new std::function<std::string()>(std::move(name));
  SetWindowSubclass(control, NamedControlProc, 1, reinterpret_cast<DWORD_PTR>(kept));
}

LRESULT AnswerSimpleGetObject(HWND window, WPARAM wParam, LPARAM lParam, SimpleAccessibleText text) {
  if (static_cast<LONG>(lParam) != static_cast<LONG>(OBJID_CLIENT)) return 0;
  auto* object = new SimpleAccessible(window, std::move(text));
  const LRESULT result = LresultFromObject(__uuidof(IAccessible), wParam, object);
  object->Release();
  return result;
}

}  // namespace win32skin
