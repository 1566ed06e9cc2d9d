// Checks a live Qt window against its form's layout: one walk over the layout's controls.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QtTest>

#include "platform/form_layout.h"
#include "platform/qt/qt_form_controls.h"

namespace veltrano::testing {

// The Qt class of each kind, in the order the kinds are declared.
inline const char* qtClassOf(layout::Kind kind) {
    constexpr const char* classes[] = {"QLabel",      "QPlainTextEdit", "QComboBox", "QCheckBox",
                                       "QPushButton", "QLabel",         "QFrame"};
    return classes[static_cast<int>(kind)];
}

inline QString shownText(const QWidget* w) {
    if (auto* button = qobject_cast<const QAbstractButton*>(w)) return button->text();
    if (auto* label = qobject_cast<const QLabel*>(w)) return label->text();
    if (auto* box = qobject_cast<const QPlainTextEdit*>(w)) return box->toPlainText();
    if (auto* combo = qobject_cast<const QComboBox*>(w)) return combo->currentText();
    return {};
}

// Tab from the first focusable control round to it again. A combo box's edit field, which
// has no name, stands for the combo box.
inline void checkTabOrder(QWidget& window, const QStringList& expected) {
    const auto focusName = [] {
        QWidget* focus = QApplication::focusWidget();
        while (focus && focus->objectName().isEmpty()) focus = focus->parentWidget();
        return focus ? focus->objectName() : QString();
    };
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.findChild<QWidget*>(expected.front())->setFocus();
    QStringList walked{focusName()};
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        walked << focusName();
    }
    QCOMPARE(walked, expected + QStringList{expected.front()});
}

inline void checkAgainstLayout(QWidget& window, const layout::Form& form) {
    QCOMPARE(window.objectName(), QString::fromStdString(form.name));
    QCOMPARE(window.windowTitle(), QString::fromStdString(form.caption));
    if (form.fixedPlaces) {
        QCOMPARE(window.size(),
                 QSize(twipsToPixels(form.clientWidth), twipsToPixels(form.clientHeight)));
    }
    QHash<QString, int> seen;  // a name shared by several controls is found once for each
    QStringList focusable;
    qsizetype built = 0;
    for (const layout::Control& c : form.controls) {
        if (!c.builtBy(layout::kQt)) continue;
        ++built;
        const QString name = QString::fromStdString(c.name);
        QWidget* w = window.findChildren<QWidget*>(name).value(seen[name]++);
        QVERIFY2(w && w->inherits(qtClassOf(c.kind)), qPrintable(name));
        if (form.fixedPlaces) QCOMPARE(w->geometry(), pixelRect(c.place));
        QCOMPARE(shownText(w), QString::fromStdString(c.caption));
        QCOMPARE(w->toolTip(), QString::fromStdString(c.tooltip));
        QCOMPARE(w->isEnabled(), c.enabled);
        QCOMPARE(!w->isHidden(), c.visible);
        if (layout::takesFocus(c.kind) && c.enabled && c.visible) focusable << name;
    }
    // Nothing named that the layout does not list.
    QCOMPARE(window
                 .findChildren<QWidget*>(QRegularExpression(QStringLiteral(".+")),
                                         Qt::FindDirectChildrenOnly)
                 .size(),
             built);
    checkTabOrder(window, focusable);
}

}  // namespace veltrano::testing
