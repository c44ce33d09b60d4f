#include "gui/qt/navigateaccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <vector>

#include "gui/qt/navigatewidget.h"
#include "gui/qt/qtcanvas.h"
#include "navigate/navaccess.h"

namespace {

constexpr int kListChild = navaccess::kListPart;

// Interfaces made on demand, registered with Qt and removed with their owner.
class OwnedInterfaces {
 public:
  ~OwnedInterfaces() {
    for (QAccessible::Id id : m_ids) QAccessible::deleteAccessibleInterface(id);
  }
  // The interface of child index, made by make() the first time.
  template <typename Make>
  QAccessibleInterface* Get(int index, Make make) const {
    while (static_cast<int>(m_ids.size()) <= index) {
      m_ids.push_back(QAccessible::registerAccessibleInterface(make(static_cast<int>(m_ids.size()))));
    }
    return QAccessible::accessibleInterface(m_ids[static_cast<size_t>(index)]);
  }

 private:
  mutable std::vector<QAccessible::Id> m_ids;
};

// The side-bar: a widget whose children are drawn parts, not widgets.
class SideBarAccessible : public QAccessibleWidget {
 public:
  explicit SideBarAccessible(NavigateWidget* bar) : QAccessibleWidget(bar) {}

  // Nothing to show until the wizard gives the side-bar its model.
  int childCount() const override { return Bar()->HasModel() ? navaccess::kPartCount : 0; }
  // The keyboard focus of the side-bar lies on its current step.
  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.focused = false;
    return s;
  }
  QAccessibleInterface* focusChild() const override {
    QAccessibleInterface* list = childCount() > kListChild ? child(kListChild) : nullptr;
    return Bar()->hasFocus() && list ? list->focusChild() : nullptr;
  }
  QAccessibleInterface* child(int index) const override;
  int indexOfChild(const QAccessibleInterface* child) const override;
  QAccessibleInterface* childAt(int x, int y) const override;

  NavigateWidget* Bar() const { return static_cast<NavigateWidget*>(widget()); }
  TKelvaNavigate& Model() const { return Bar()->model(); }
  // A rectangle of the side-bar on the screen.
  QRect ToScreen(const graphics::Rect& r) const {
    return QRect(Bar()->mapToGlobal(QPoint(r.left, r.top)), QSize(r.width(), r.height()));
  }

 private:
  OwnedInterfaces m_children;
};

// The interface of something drawn, not a widget: no object of its own, a
// parent, and no children unless a subclass has some.
class DrawnAccessible : public QAccessibleInterface {
 public:
  explicit DrawnAccessible(const QAccessibleInterface* parent) : m_parent(const_cast<QAccessibleInterface*>(parent)) {}

  bool isValid() const override { return m_parent->isValid(); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return m_parent->window(); }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* parent() const override { return m_parent; }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  void setText(QAccessible::Text, const QString&) override {}

 private:
  QAccessibleInterface* m_parent;
};

// A part of the side-bar (the list adds its steps).
class PartAccessible : public DrawnAccessible {
 public:
  PartAccessible(const SideBarAccessible* bar, int index) : DrawnAccessible(bar), m_bar(bar), m_index(index) {}

  QRect rect() const override { return m_bar->ToScreen(Node().bounds); }

  const SideBarAccessible* Bar() const { return m_bar; }
  int Index() const { return m_index; }

 protected:
  navaccess::Node Node() const { return navaccess::Part(Model(), m_index); }
  TKelvaNavigate& Model() const { return m_bar->Model(); }

 private:
  const SideBarAccessible* m_bar;
  int m_index;
};

// A scroll arrow or the previous/next button: pressing it clicks it.
class ButtonAccessible : public PartAccessible, public QAccessibleActionInterface {
 public:
  using PartAccessible::PartAccessible;

  QAccessible::Role role() const override { return QAccessible::Button; }
  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Name ? DisplayText(Node().name) : QString();
  }
  QAccessible::State state() const override {
    QAccessible::State s;
    const navaccess::Node button = Node();
    s.disabled = !button.enabled;
    s.invisible = !button.visible;
    return s;
  }
  void* interface_cast(QAccessible::InterfaceType type) override {
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
  }

  QStringList actionNames() const override { return {pressAction()}; }
  void doAction(const QString& name) override {
    if (name == pressAction()) navaccess::Press(Model(), Index());
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }
};

class StepAccessible;

// The step list: one child per step.
class ListAccessible : public PartAccessible {
 public:
  using PartAccessible::PartAccessible;

  QAccessible::Role role() const override { return QAccessible::List; }
  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Name ? DisplayText(Node().name) : QString();
  }
  QAccessible::State state() const override { return QAccessible::State(); }
  int childCount() const override { return navaccess::StepCount(Model()); }
  QAccessibleInterface* child(int index) const override;
  int indexOfChild(const QAccessibleInterface* child) const override;
  QAccessibleInterface* focusChild() const override { return child(Model().ItemIndex()); }

  using PartAccessible::Model;

 private:
  OwnedInterfaces m_steps;
};

// One step of the list.
class StepAccessible : public DrawnAccessible {
 public:
  StepAccessible(const ListAccessible* list, int index) : DrawnAccessible(list), m_list(list), m_index(index) {}

  bool isValid() const override { return m_list->isValid() && m_index < m_list->childCount(); }
  QAccessible::Role role() const override { return QAccessible::ListItem; }

  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Name ? DisplayText(Node().name) : QString();
  }

  QAccessible::State state() const override {
    QAccessible::State s;
    const navaccess::Node step = Node();
    s.selectable = step.selectable;
    s.focusable = step.selectable;
    s.disabled = !step.enabled;
    s.selected = step.selected;
    // Focused only while the side-bar holds the keyboard focus.
    s.focused = step.selected && m_list->Bar()->Bar()->hasFocus();
    s.active = step.selected;
    return s;
  }

  QRect rect() const override { return m_list->Bar()->ToScreen(Node().bounds); }

  int index() const { return m_index; }
  const ListAccessible* list() const { return m_list; }
  navaccess::Node Node() const { return navaccess::Step(m_list->Model(), m_index); }

 private:
  const ListAccessible* m_list;
  int m_index;
};

QAccessibleInterface* SideBarAccessible::child(int index) const {
  if (index < 0 || index >= childCount()) return nullptr;
  return m_children.Get(index, [this](int i) -> QAccessibleInterface* {
    if (i == kListChild) return new ListAccessible(this, i);
    return new ButtonAccessible(this, i);
  });
}

int SideBarAccessible::indexOfChild(const QAccessibleInterface* child) const {
  const auto* part = dynamic_cast<const PartAccessible*>(child);
  return part && part->Bar() == this ? part->Index() : -1;
}

QAccessibleInterface* SideBarAccessible::childAt(int x, int y) const {
  if (!Bar()->HasModel()) return nullptr;
  const QPoint p = Bar()->mapFromGlobal(QPoint(x, y));
  return child(navaccess::PartAt(Model(), p.x(), p.y()));
}

QAccessibleInterface* ListAccessible::child(int index) const {
  if (index < 0 || index >= childCount()) return nullptr;
  return m_steps.Get(index, [this](int i) { return new StepAccessible(this, i); });
}

int ListAccessible::indexOfChild(const QAccessibleInterface* child) const {
  const auto* step = dynamic_cast<const StepAccessible*>(child);
  return step && step->list() == this ? step->index() : -1;
}

QAccessibleInterface* Factory(const QString& className, QObject* object) {
  if (className != QLatin1String("NavigateWidget")) return nullptr;
  auto* bar = qobject_cast<NavigateWidget*>(object);
  return bar ? new SideBarAccessible(bar) : nullptr;
}

}  // namespace

void InstallNavigateAccessibility() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  QAccessible::installFactory(Factory);
}

void NotifyCurrentStepChanged(NavigateWidget* sideBar, int index) {
  if (!QAccessible::isActive()) return;
  QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(sideBar);
  QAccessibleInterface* list = bar ? bar->child(kListChild) : nullptr;
  QAccessibleInterface* step = list ? list->child(index) : nullptr;
  if (!step) return;
  QAccessibleEvent selection(step, QAccessible::Selection);
  QAccessible::updateAccessibility(&selection);
  if (!sideBar->hasFocus()) return;
  QAccessibleEvent focus(step, QAccessible::Focus);
  QAccessible::updateAccessibility(&focus);
}
