// Checks a live Qt window against its form's layout: one walk over the layout's controls.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include "platform/form_layout.h"
#include "platform/qt/qt_form_controls.h"

namespace veltrano::testing {

inline bool isOfKind(const QWidget* w, layout::Kind kind) {
    using layout::Kind;
    switch (kind) {
        case Kind::Label:
        case Kind::PictureBox:
            return qobject_cast<const QLabel*>(w);
        case Kind::TextBox:
            return qobject_cast<const QPlainTextEdit*>(w);
        case Kind::ComboBox:
            return qobject_cast<const QComboBox*>(w) &&
                   static_cast<const QComboBox*>(w)->isEditable();
        case Kind::CheckBox:
            return qobject_cast<const QCheckBox*>(w);
        case Kind::CommandButton:
            return qobject_cast<const QPushButton*>(w);
        case Kind::Line:
            return qobject_cast<const QFrame*>(w) &&
                   static_cast<const QFrame*>(w)->frameShape() == QFrame::HLine;
    }
    return false;
}

inline QString shownText(const QWidget* w) {
    if (auto* button = qobject_cast<const QAbstractButton*>(w)) return button->text();
    if (auto* label = qobject_cast<const QLabel*>(w)) return label->text();
    if (auto* box = qobject_cast<const QPlainTextEdit*>(w)) return box->toPlainText();
    if (auto* combo = qobject_cast<const QComboBox*>(w)) return combo->currentText();
    return {};
}

// The named widget that focus rests on: a combo box's edit field stands for the combo box.
inline QString focusName() {
    QWidget* focus = QApplication::focusWidget();
    while (focus && focus->objectName().isEmpty()) focus = focus->parentWidget();
    return focus ? focus->objectName() : QString();
}

// Tab from the first focusable control round to it again.
inline void checkTabOrder(QWidget& window, const QStringList& expected) {
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
        QVERIFY2(w && isOfKind(w, c.kind), qPrintable(name));
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
