// Enter and Esc on the main dialog's table box and options: no button takes them.
#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QtTest>

#include "dialog/qt/qt_form1_view.h"
#include "dialog_fixture.h"

namespace veltrano {

class Form1KeysTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void enter_and_escape_send_nothing_to_the_host() {
        testing::DialogFixture f;
        f.openTables({{"Roads", 1, false}, {"Out", 1, false}});
        f.select({{"Polyline", 3, 1, 100.0}});
        QtForm1View view;
        int placements = 0;
        Form1 form{view,
                   {f.provider, f.messages, f.beep, f.busy, f.regional, f.activation},
                   [&](miProObj&, const PlacementRequest&) { return ++placements; },
                   {}};
        connect(&view, &QtForm1View::okRequested, [&] { form.cmdOKClick(); });
        connect(&view, &QtForm1View::closeRequested, [&] { form.cmdCloseClick(); });
        form.load();
        view.show();
        view.findChild<QPlainTextEdit*>(QStringLiteral("txtPoints"))
            ->setPlainText(QStringLiteral("10"));
        auto* combo = view.findChild<QComboBox*>(QStringLiteral("Combo1"));
        combo->setCurrentIndex(1);
        f.host->clearRequests();
        for (QWidget* target : {static_cast<QWidget*>(combo),
                                view.findChild<QWidget*>(QStringLiteral("chkStartFromTheEnd"))}) {
            target->setFocus();
            for (const auto key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
                QTest::keyClick(target, key);
            }
        }
        QVERIFY(f.host->traffic().empty());
        QCOMPARE(placements, 0);
        QVERIFY(view.isVisible());
    }
};

}  // namespace veltrano

QTEST_MAIN(veltrano::Form1KeysTest)
#include "form1_keys_test.moc"
