#pragma once
// Checks of what a shown window offers its user, made on the running window.

#include <QApplication>
#include <QStringList>
#include <QTest>
#include <QWidget>
#include <string>

namespace vantrel::testing {

// The controls the Tab key visits from `first` until it comes back, by name.
inline std::string TabOrder(QWidget* first) {
    first->activateWindow();
    if (!QTest::qWaitForWindowActive(first->window())) return "(the window never became active)";
    first->setFocus(Qt::TabFocusReason);
    QStringList order;
    for (int i = 0; i < 64; ++i) {
        QWidget* focus = QApplication::focusWidget();
        if (focus == nullptr || (i > 0 && focus == first)) break;
        order << focus->objectName();
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    return order.join(' ').toStdString();
}

// The controls that do not lie wholly inside their window: none should.
inline QStringList CutOff(const QWidget& window) {
    QStringList cut;
    for (const QWidget* w : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (w->isVisibleTo(&window) && !window.rect().contains(w->geometry())) {
            cut << w->objectName();
        }
    }
    return cut;
}

}  // namespace vantrel::testing
