#include "gui/win32/accessible.h"

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

}  // namespace

LRESULT AnswerSimpleGetObject(HWND window, WPARAM wParam, LPARAM lParam, SimpleAccessibleText text) {
  if (static_cast<LONG>(lParam) != static_cast<LONG>(OBJID_CLIENT)) return 0;
  auto* object = new SimpleAccessible(window, std::move(text));
  const LRESULT result = LresultFromObject(__uuidof(IAccessible), wParam, object);
  object->Release();
  return result;
}

}  // namespace win32skin
