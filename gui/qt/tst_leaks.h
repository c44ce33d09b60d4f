#pragma once

#include <QApplication>
#include <QStringList>
#include <QWidget>

// The top-level windows a test left behind, by name and class; the label Qt
// keeps for hints is its own.
inline QString WindowsLeftBehind() {
  QStringList left;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->objectName() != QStringLiteral("qtooltip_label")) {
      left << w->objectName() + QLatin1Char('/') + QString::fromLatin1(w->metaObject()->className());
    }
  }
  return left.join(QStringLiteral(", "));
}
