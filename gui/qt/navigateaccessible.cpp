#include "gui/qt/navigateaccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>
#include <vector>

#include "gui/qt/navigatewidget.h"
#include "gui/qt/qtcanvas.h"

namespace {

class StepAccessible;

// The list: one child per step.
class NavListAccessible : public QAccessibleWidget {
 public:
  NavListAccessible(QWidget* list, NavigateWidget* owner)
      : QAccessibleWidget(list, QAccessible::List), m_owner(owner) {}
  ~NavListAccessible() override { Forget(); }

  int childCount() const override { return m_owner->model().FList->FHeights.Count(); }
  QAccessibleInterface* child(int index) const override;
  int indexOfChild(const QAccessibleInterface* child) const override;
  QAccessibleInterface* focusChild() const override { return child(m_owner->model().ItemIndex()); }
  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Name ? QStringLiteral("Steps") : QAccessibleWidget::text(t);
  }

  NavigateWidget* owner() const { return m_owner; }

 private:
  void Forget() const {
    for (QAccessible::Id id : m_ids) QAccessible::deleteAccessibleInterface(id);
    m_ids.clear();
  }

  NavigateWidget* m_owner;
  mutable std::vector<QAccessible::Id> m_ids;
};

// One step of the list.
class StepAccessible : public QAccessibleInterface {
 public:
  StepAccessible(const NavListAccessible* list, int index) : m_list(list), m_index(index) {}

  bool isValid() const override { return m_index < m_list->childCount(); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return m_list->window(); }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* parent() const override { return const_cast<NavListAccessible*>(m_list); }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessible::Role role() const override { return QAccessible::ListItem; }
  void setText(QAccessible::Text, const QString&) override {}

  QString text(QAccessible::Text t) const override {
    if (t != QAccessible::Name) return QString();
    QString caption = DisplayText(Model().FList->FHeights.GetText(m_index));
    caption.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return caption;
  }

  QAccessible::State state() const override {
    QAccessible::State s;
    const TNavList& list = *Model().FList;
    const bool selectable = list.CanSelect(m_index);
    s.selectable = selectable;
    s.focusable = selectable;
    s.disabled = !selectable;
    s.selected = m_index == list.FItemIndex;
    s.focused = m_index == list.FItemIndex;
    s.active = m_index == list.FItemIndex;
    return s;
  }

  QRect rect() const override {
    const TNavList& list = *Model().FList;
    const graphics::Rect r = list.ItemRect(m_index);
    const QWidget* widget = static_cast<QWidget*>(m_list->object());
    return QRect(widget->mapToGlobal(QPoint(r.left, r.top)), QSize(r.width(), r.height()));
  }

  int index() const { return m_index; }
  const NavListAccessible* list() const { return m_list; }

 private:
  TKelvaNavigate& Model() const { return m_list->owner()->model(); }

  const NavListAccessible* m_list;
  int m_index;
};

QAccessibleInterface* NavListAccessible::child(int index) const {
  if (index < 0 || index >= childCount()) return nullptr;
  while (static_cast<int>(m_ids.size()) <= index) {
    auto* step = new StepAccessible(this, static_cast<int>(m_ids.size()));
    m_ids.push_back(QAccessible::registerAccessibleInterface(step));
  }
  return QAccessible::accessibleInterface(m_ids[static_cast<size_t>(index)]);
}

int NavListAccessible::indexOfChild(const QAccessibleInterface* child) const {
  const auto* step = dynamic_cast<const StepAccessible*>(child);
  return step && step->list() == this ? step->index() : -1;
}

QAccessibleInterface* Factory(const QString& className, QObject* object) {
  if (className != QLatin1String("NavListWidget") || !object || !object->isWidgetType()) return nullptr;
  auto* list = static_cast<QWidget*>(object);
  auto* owner = qobject_cast<NavigateWidget*>(list->parentWidget() ? list->parentWidget()->parentWidget() : nullptr);
  return owner ? new NavListAccessible(list, owner) : nullptr;
}

}  // namespace

void InstallNavigateAccessibility() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  QAccessible::installFactory(Factory);
}

void NotifyCurrentStepChanged(QWidget* listWidget, int index) {
  if (!QAccessible::isActive()) return;
  QAccessibleEvent event(listWidget, QAccessible::Focus);
  event.setChild(index);
  QAccessible::updateAccessibility(&event);
}
