// The main dialog as the user meets it: real widgets found by their names, the presenter
// behind them, and a scripted host with an output table and a selection.
#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include "dialog/qt/qt_form1_view.h"
#include "dialog_fixture.h"

namespace veltrano {

using testing::DialogFixture;

class Form1WidgetTest : public QObject {
    Q_OBJECT

private:
    // The presenter of the fixture wired to a real window instead of the memory view.
    struct Dialog {
        DialogFixture f;
        QtForm1View view;
        std::vector<int> fromEndSeen;
        Form1 form{view,
                   {f.provider, f.messages, f.beep, f.busy, f.regional, f.activation},
                   [this](miProObj&, const PlacementRequest& r) {
                       fromEndSeen.push_back(r.fromTheEnd);
                       return r.outputTable == "Out" ? static_cast<std::int32_t>(r.distances.size())
                                                     : -1;
                   },
                   {}};
        Dialog() {
            f.openTables({{"Roads", 1, false}, {"Out", 1, false}, {"Query1", 2, false}});
            f.select({{"Polyline", 3, 1, 100.0}, {"Line", 2, 1, 50.0}});
            QObject::connect(&view, &QtForm1View::okRequested,
                             [this] { view.runWithoutInput([this] { form.cmdOKClick(); }); });
            QObject::connect(&view, &QtForm1View::refreshRequested,
                             [this] { form.cmdRefreshMIClick(); });
            QObject::connect(&view, &QtForm1View::closeRequested, [this] { form.cmdCloseClick(); });
            QObject::connect(&view, &QtForm1View::unloading, [this] { form.unload(); });
            form.load();
            view.show();
        }
        template <typename W>
        W* child(const char* name) {
            return view.findChild<W*>(QString::fromLatin1(name));
        }
    };

private Q_SLOTS:
    void start_lists_writable_tables_and_describes_the_selection() {
        Dialog d;
        auto* combo = d.child<QComboBox>("Combo1");
        QCOMPARE(combo->count(), 2);
        QCOMPARE(combo->itemText(0), QStringLiteral("Roads"));
        QCOMPARE(combo->itemText(1), QStringLiteral("Out"));
        QCOMPARE(combo->currentText(), QString());
        QVERIFY(d.child<QPushButton>("cmdOK")->isEnabled());
        const QString summary = d.child<QPlainTextEdit>("txtSelectedPolyline")->toPlainText();
        QVERIFY(summary.startsWith(QStringLiteral("---  Selection :: [Query1] --- \n2 Object(s)")));
        QVERIFY(summary.contains(QStringLiteral(" 2. {Line} - 2 Points in 1 Segment\n")));
    }

    void typed_distances_are_placed_and_written_back() {
        Dialog d;
        auto* points = d.child<QPlainTextEdit>("txtPoints");
        points->setFocus();
        QTest::keyClicks(points, QStringLiteral("30;10"));
        QTest::keyClick(points, Qt::Key_Return);
        QTest::keyClicks(points, QStringLiteral("20;"));
        d.child<QComboBox>("Combo1")->setCurrentIndex(1);
        QTest::mouseClick(d.child<QCheckBox>("chkStartFromTheEnd"), Qt::LeftButton);
        QTest::mouseClick(d.child<QPushButton>("cmdOK"), Qt::LeftButton);

        QCOMPARE(points->toPlainText(), QStringLiteral("10\n20\n30"));
        const QString summary = d.child<QPlainTextEdit>("txtSelectedPolyline")->toPlainText();
        QVERIFY(summary.endsWith(QStringLiteral(
            "--------------- \n\n ** 3 points allocated.\n ** 3 points allocated.")));
        QCOMPARE(d.fromEndSeen, (std::vector<int>{1, 1}));
        QCOMPARE(d.f.beep.count, 2);
        QVERIFY(d.f.messages.shown.empty());
        QCOMPARE(d.child<QComboBox>("Combo1")->currentText(), QStringLiteral("Out"));
    }

    void refresh_replaces_the_result_lines() {
        Dialog d;
        auto* summary = d.child<QPlainTextEdit>("txtSelectedPolyline");
        const QString fresh = summary->toPlainText();
        d.child<QPlainTextEdit>("txtPoints")->setPlainText(QStringLiteral("5"));
        d.child<QComboBox>("Combo1")->setEditText(QStringLiteral("out"));
        QTest::mouseClick(d.child<QPushButton>("cmdOK"), Qt::LeftButton);
        QVERIFY(summary->toPlainText() != fresh);
        QTest::mouseClick(d.child<QPushButton>("cmdRefreshMI"), Qt::LeftButton);
        QCOMPARE(summary->toPlainText(), fresh);
    }

    void close_detaches_from_the_host() {
        Dialog d;
        d.f.host->clearRequests();
        QTest::mouseClick(d.child<QPushButton>("cmdClose"), Qt::LeftButton);
        QVERIFY(!d.view.isVisible());
        QVERIFY(d.f.sent("Set Application Window 0"));
    }
};

}  // namespace veltrano

QTEST_MAIN(veltrano::Form1WidgetTest)
#include "form1_widget_test.moc"
