#include "gui/win32/navigateaccessible.h"

#include <string>

#include "gui/win32/accessible.h"
#include "gui/win32/dpi.h"
#include "navigate/navaccess.h"

namespace win32skin {
namespace {

const wchar_t kModelProperty[] = L"SetupSideBarModel";

// One object: the side-bar's client (its parts, and the steps as children
// 101...) or the step list (its steps as children 1...).
class SideBarAccessible final : public AccessibleBase {
 public:
  SideBarAccessible(HWND window, TKelvaNavigate* model, bool list)
      : AccessibleBase(window), m_model(model), m_list(list) {}

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (!m_list) return AccessibleBase::get_accParent(parent);
    *parent = new SideBarAccessible(m_window, m_model, false);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    *count = !Alive() ? 0 : m_list ? navaccess::StepCount(*m_model) : navaccess::kPartCount;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    *out = nullptr;
    if (child.vt != VT_I4) return E_INVALIDARG;
    if (!m_list && child.lVal == navaccess::kListPart + 1) {
      *out = new SideBarAccessible(m_window, m_model, true);
      return S_OK;
    }
    return Valid(child.lVal) ? S_FALSE : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    *name = nullptr;
    navaccess::Node n;
    if (!NodeOf(child, &n)) return E_INVALIDARG;
    // The side-bar itself has no name: its parts say it.
    if ((child.lVal == CHILDID_SELF && !m_list) || n.name.empty()) return S_FALSE;
    *name = ToBstr(n.name);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    navaccess::Node n;
    if (!NodeOf(child, &n)) return E_INVALIDARG;
    role->vt = VT_I4;
    if (child.lVal == CHILDID_SELF && !m_list) {
      role->lVal = ROLE_SYSTEM_PANE;
    } else {
      role->lVal = n.role == navaccess::Role::kButton ? ROLE_SYSTEM_PUSHBUTTON
                   : n.role == navaccess::Role::kList ? ROLE_SYSTEM_LIST
                                                      : ROLE_SYSTEM_LISTITEM;
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    navaccess::Node n;
    if (!NodeOf(child, &n)) return E_INVALIDARG;
    LONG s = 0;
    if (!n.visible) s |= STATE_SYSTEM_INVISIBLE;
    if (!n.enabled) s |= STATE_SYSTEM_UNAVAILABLE;
    if (n.role == navaccess::Role::kListItem && n.selectable) s |= STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
    if (n.selected) s |= STATE_SYSTEM_SELECTED;
    if (n.selected && GetFocus() == m_window) s |= STATE_SYSTEM_FOCUSED;
    if (child.lVal == CHILDID_SELF && !m_list) s |= STATE_SYSTEM_FOCUSABLE;
    state->vt = VT_I4;
    state->lVal = s;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    focus->vt = VT_EMPTY;
    if (!Alive() || GetFocus() != m_window) return S_FALSE;
    focus->vt = VT_I4;
    focus->lVal = StepId(m_model->ItemIndex());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    selection->vt = VT_EMPTY;
    if (!Alive()) return S_FALSE;
    selection->vt = VT_I4;
    selection->lVal = StepId(m_model->ItemIndex());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    navaccess::Node n;
    if (!NodeOf(child, &n) || child.lVal == CHILDID_SELF || n.role == navaccess::Role::kList) return Nothing(action);
    *action = ToBstr(n.role == navaccess::Role::kButton ? "Press" : "Select");
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
    const int step = StepOf(child);
    if (step < 0 || !(flags & (SELFLAG_TAKESELECTION | SELFLAG_TAKEFOCUS))) return E_INVALIDARG;
    if (flags & SELFLAG_TAKEFOCUS) SetFocus(m_window);
    m_model->SetItemIndex(step);  // as a click: a step that cannot be chosen is ignored
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override {
    navaccess::Node n;
    if (!NodeOf(child, &n)) return E_INVALIDARG;
    RECT r = DrawingDpi(m_window).Px(n.bounds);
    if (child.lVal == CHILDID_SELF && !m_list) GetClientRect(m_window, &r);
    MapWindowPoints(m_window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    *left = r.left;
    *top = r.top;
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
    child->vt = VT_EMPTY;
    if (!Alive()) return S_FALSE;
    POINT p{x, y};
    ScreenToClient(m_window, &p);
    RECT client;
    GetClientRect(m_window, &client);
    if (!PtInRect(&client, p)) return S_FALSE;
    const Dpi dpi = DrawingDpi(m_window);
    const int step = navaccess::StepAt(*m_model, dpi.Units(p.x), dpi.Units(p.y));
    const int part = navaccess::PartAt(*m_model, dpi.Units(p.x), dpi.Units(p.y));
    child->vt = VT_I4;
    child->lVal = step >= 0 ? StepId(step) : part >= 0 && part != navaccess::kListPart ? part + 1 : CHILDID_SELF;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    if (child.vt != VT_I4) return E_INVALIDARG;
    const int step = StepOf(child);
    if (step >= 0) {
      m_model->SetItemIndex(step);
      return S_OK;
    }
    if (m_list || child.lVal < 1 || child.lVal > navaccess::kPartCount) return E_INVALIDARG;
    return navaccess::Press(*m_model, child.lVal - 1) ? S_OK : DISP_E_MEMBERNOTFOUND;
  }

 private:
  // The model may go before the window: an object a screen reader keeps
  // answers only while the window still shows the model it was made for.
  bool Alive() const { return m_model && IsWindow(m_window) && GetPropW(m_window, kModelProperty) == m_model; }
  LONG StepId(int step) const { return m_list ? step + 1 : kStepChildBase + step + 1; }
  int StepOf(const VARIANT& child) const {
    if (child.vt != VT_I4 || !Alive()) return -1;
    const LONG first = m_list ? 1 : kStepChildBase + 1;
    const LONG step = child.lVal - first;
    return step >= 0 && step < navaccess::StepCount(*m_model) ? static_cast<int>(step) : -1;
  }
  bool Valid(LONG id) const {
    if (!Alive()) return false;
    if (id == CHILDID_SELF) return true;
    VARIANT v;
    v.vt = VT_I4;
    v.lVal = id;
    return StepOf(v) >= 0 || (!m_list && id >= 1 && id <= navaccess::kPartCount);
  }
  bool NodeOf(const VARIANT& child, navaccess::Node* node) const {
    if (child.vt != VT_I4 || !Valid(child.lVal)) return false;
    const int step = StepOf(child);
    if (step >= 0) {
      *node = navaccess::Step(*m_model, step);
    } else if (child.lVal == CHILDID_SELF) {
      *node = m_list ? navaccess::Part(*m_model, navaccess::kListPart) : navaccess::Node{};
    } else {
      *node = navaccess::Part(*m_model, child.lVal - 1);
    }
    return true;
  }

  TKelvaNavigate* m_model;
  bool m_list;
};

}  // namespace

LRESULT AnswerGetObject(HWND window, TKelvaNavigate* model, WPARAM wParam, LPARAM lParam) {
  if (static_cast<LONG>(lParam) != static_cast<LONG>(OBJID_CLIENT) || !model) return 0;
  auto* object = new SideBarAccessible(window, model, false);
  const LRESULT result = LresultFromObject(__uuidof(IAccessible), wParam, object);
  object->Release();
  return result;
}

void BindModel(HWND window, TKelvaNavigate* model) {
  if (model) {
    SetPropW(window, kModelProperty, model);
  } else {
    RemovePropW(window, kModelProperty);
  }
}

void NotifyStepChanged(HWND window, int step, bool focused) {
  const LONG child = kStepChildBase + step + 1;
  NotifyWinEvent(EVENT_OBJECT_SELECTION, window, OBJID_CLIENT, child);
  if (focused) NotifyWinEvent(EVENT_OBJECT_FOCUS, window, OBJID_CLIENT, child);
}

}  // namespace win32skin
