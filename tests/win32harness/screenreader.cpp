#include "tests/win32harness/screenreader.h"

#include <cstdio>

namespace harness {
namespace {

std::string FromBstr(HRESULT hr, BSTR text) {
  std::string out;
  if (hr == S_OK && text) out = Narrow(std::wstring(text, SysStringLen(text)));
  if (text) SysFreeString(text);
  return out;
}

VARIANT ChildId(LONG child) {
  VARIANT v;
  v.vt = VT_I4;
  v.lVal = child;
  return v;
}

AccNode Read(IAccessible* acc, HWND window, LONG child, int depth) {
  AccNode node;
  node.depth = depth;
  node.window = window;
  node.child = child;
  const VARIANT id = ChildId(child);
  BSTR text = nullptr;
  HRESULT hr = acc->get_accName(id, &text);
  node.read = SUCCEEDED(hr);
  node.name = FromBstr(hr, text);
  text = nullptr;
  hr = acc->get_accValue(id, &text);
  node.hasValue = hr == S_OK && text;
  node.value = FromBstr(hr, text);
  VARIANT v;
  VariantInit(&v);
  if (acc->get_accRole(id, &v) == S_OK && v.vt == VT_I4) node.role = v.lVal;
  VariantClear(&v);
  if (acc->get_accState(id, &v) == S_OK && v.vt == VT_I4) node.state = v.lVal;
  VariantClear(&v);
  return node;
}

IAccessible* ClientOf(HWND window) {
  IAccessible* acc = nullptr;
  // __uuidof: the IID_IAccessible of mingw's import library is not the right one.
  if (FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&acc)))) {
    return nullptr;
  }
  return acc;
}

void Walk(IAccessible* acc, HWND window, int depth, std::vector<AccNode>* out) {
  const AccNode self = Read(acc, window, CHILDID_SELF, depth);
  out->push_back(self);
  if ((self.state & STATE_SYSTEM_INVISIBLE) || depth > 12) return;
  LONG count = 0;
  if (acc->get_accChildCount(&count) != S_OK || count <= 0) return;
  std::vector<VARIANT> children(static_cast<size_t>(count));
  LONG got = 0;
  if (FAILED(AccessibleChildren(acc, 0, count, children.data(), &got))) return;
  for (LONG i = 0; i < got; ++i) {
    VARIANT& c = children[static_cast<size_t>(i)];
    if (c.vt == VT_I4) {
      out->push_back(Read(acc, window, c.lVal, depth + 1));
    } else if (c.vt == VT_DISPATCH && c.pdispVal) {
      IAccessible* child = nullptr;
      if (SUCCEEDED(c.pdispVal->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&child)))) {
        HWND own = nullptr;
        WindowFromAccessibleObject(child, &own);
        if (own && own != window) {
          if (IAccessible* client = ClientOf(own)) {
            Walk(client, own, depth + 1, out);
            client->Release();
          }
        } else {
          Walk(child, window, depth + 1, out);
        }
        child->Release();
      }
    }
    VariantClear(&c);
  }
}

}  // namespace

std::vector<AccNode> ReadTree(HWND window) {
  std::vector<AccNode> nodes;
  if (IAccessible* acc = ClientOf(window)) {
    Walk(acc, window, 0, &nodes);
    acc->Release();
  }
  return nodes;
}

AccNode ReadEventObject(HWND window, LONG objectId, LONG child) {
  IAccessible* acc = nullptr;
  VARIANT id;
  VariantInit(&id);
  if (FAILED(AccessibleObjectFromEvent(window, static_cast<DWORD>(objectId), static_cast<DWORD>(child), &acc, &id)) ||
      !acc) {
    AccNode none;
    none.window = window;
    none.child = child;
    return none;
  }
  AccNode node = Read(acc, window, id.vt == VT_I4 ? id.lVal : CHILDID_SELF, 0);
  acc->Release();
  return node;
}

AccNode ReadClient(HWND window) {
  AccNode node;
  node.window = window;
  if (IAccessible* acc = ClientOf(window)) {
    node = Read(acc, window, CHILDID_SELF, 0);
    acc->Release();
  }
  return node;
}

std::string RoleText(LONG role) {
  wchar_t text[128] = {};
  if (!GetRoleTextW(static_cast<DWORD>(role), text, 128)) return "role " + std::to_string(role);
  return Narrow(text);
}

std::string StateText(LONG state) {
  std::string all;
  for (DWORD bit = 1; bit != 0 && bit <= STATE_SYSTEM_VALID; bit <<= 1) {
    if (!(static_cast<DWORD>(state) & bit)) continue;
    wchar_t text[128] = {};
    GetStateTextW(bit, text, 128);
    all += (all.empty() ? "" : ", ") + Narrow(text);
  }
  return all;
}

namespace {

// A value on one line, long ones cut (never inside a character).
std::string Abridged(const std::string& text) {
  constexpr size_t kLongest = 60;
  std::string line;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') continue;
    line += text[i] == '\n' ? std::string("\\n") : std::string(1, text[i]);
  }
  if (line.size() <= kLongest) return line;
  size_t cut = kLongest;
  while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
  return line.substr(0, cut) + "...";
}

}  // namespace

std::string Describe(const AccNode& node) {
  std::string line = ControlNameOf(node.window);
  if (node.child != CHILDID_SELF) line += "#" + std::to_string(node.child);
  if (!node.read) return line + " (no object)";
  line += " " + RoleText(node.role) + " \"" + node.name + "\"";
  if (node.hasValue) line += " value \"" + Abridged(node.value) + "\"";
  return line + " [" + StateText(node.state) + "]";
}

// --- Events ----------------------------------------------------------------

namespace {

// The hook's callback has no context: one recorder at a time.
DWORD g_followed = 0;
std::vector<WinEvent> g_events;

void CALLBACK OnEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
  DWORD pid = 0;
  if (!window || !GetWindowThreadProcessId(window, &pid) || pid != g_followed) return;
  g_events.push_back({event, window, object, child});
}

}  // namespace

EventRecorder::EventRecorder() {
  // The driver's thread needs a message queue for the events to arrive in.
  MSG msg;
  PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
  // Every process, kept apart by the callback: under Wine a hook for one
  // process id receives nothing.
  m_hook = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_END, nullptr, OnEvent, 0, 0,
                           WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
  g_events.clear();
}

EventRecorder::~EventRecorder() {
  if (m_hook) UnhookWinEvent(m_hook);
  g_followed = 0;
}

void EventRecorder::Follow(DWORD pid) { g_followed = pid; }

const std::vector<WinEvent>& EventRecorder::Events() const { return g_events; }

const WinEvent* EventRecorder::LastFocus() const {
  for (auto e = g_events.rbegin(); e != g_events.rend(); ++e) {
    if (e->event == EVENT_OBJECT_FOCUS) return &*e;
  }
  return nullptr;
}

}  // namespace harness
