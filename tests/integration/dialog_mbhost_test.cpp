// The whole utility with two processes: mbhost holding the workspace, and Veltrano's dialog
// (real widgets on the offscreen platform, the real engine) attached over the socket.
#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include "automation/socket/socket_automation_provider.h"
#include "dialog/engine_placement.h"
#include "dialog/form1.h"
#include "dialog/qt/qt_form1_view.h"
#include "placement_host.h"
#include "platform/fixed_regional_settings.h"
#include "support/fake_ports.h"

namespace veltrano {

using testing::PlacementHost;

class dialog_with_mbhost : public QObject {
    Q_OBJECT

private:
    struct Utility {
        explicit Utility(const std::string& socket) : hosts(socket) {
            QObject::connect(&view, &QtForm1View::okRequested,
                             [this] { view.runWithoutInput([this] { form.cmdOKClick(); }); });
            QObject::connect(&view, &QtForm1View::refreshRequested,
                             [this] { form.cmdRefreshMIClick(); });
            QObject::connect(&view, &QtForm1View::unloading, [this] { form.unload(); });
            form.load();
            view.show();
        }
        template <typename W>
        W* child(const char* name) {
            return view.findChild<W*>(QString::fromLatin1(name));
        }

        ipc::SocketAutomationProvider hosts;
        testing::RecordingMessageBox messages;
        testing::CountingBeep beep;
        testing::RecordingBusyPointer busy;
        FixedRegionalSettings regional = FixedRegionalSettings::pointLocale();
        testing::RecordingWindowActivation activation;
        QtForm1View view;
        Form1 form{view,
                   {hosts, messages, beep, busy, regional, activation},
                   enginePlacement({messages}),
                   {}};
    };

private Q_SLOTS:
    // Only writable base tables are offered; typed distances placed from the end are written
    // back sorted; refresh drops the result lines; closing leaves the host running.
    void typed_distances_become_points_and_closing_leaves_the_host() {
        PlacementHost host;
        QVERIFY(host.listening());
        auto veltrano = std::make_unique<Utility>(host.socket());
        QVERIFY(veltrano->child<QPushButton>("cmdOK")->isEnabled());
        auto* combo = veltrano->child<QComboBox>("Combo1");
        QCOMPARE(combo->count(), 2);
        QVERIFY(combo->findText(QStringLiteral("roads")) >= 0);
        const int placed = combo->findText(QString::fromLatin1(PlacementHost::kOutputTable));
        QVERIFY(placed >= 0);
        auto* summary = veltrano->child<QPlainTextEdit>("txtSelectedPolyline");
        const QString fresh = summary->toPlainText();
        QVERIFY(fresh.contains(QStringLiteral(" 1. {Polyline} - 3 Points in 1 Segment(s)")));

        auto* points = veltrano->child<QPlainTextEdit>("txtPoints");
        points->setFocus();
        QTest::keyClicks(points, QStringLiteral("1500;100"));
        QTest::keyClick(points, Qt::Key_Return);
        QTest::keyClicks(points, QStringLiteral("600"));
        combo->setCurrentIndex(placed);
        QTest::mouseClick(veltrano->child<QCheckBox>("chkStartFromTheEnd"), Qt::LeftButton);
        QTest::mouseClick(veltrano->child<QPushButton>("cmdOK"), Qt::LeftButton);

        QCOMPARE(points->toPlainText(), QStringLiteral("100\n600\n1500"));
        QCOMPARE(summary->toPlainText(),
                 fresh + QStringLiteral("\n ** 3 points allocated.\n ** 1 points allocated."));
        QVERIFY(veltrano->messages.shown.empty());
        QCOMPARE(veltrano->beep.count, 2);
        QCOMPARE(combo->currentText(), QString::fromLatin1(PlacementHost::kOutputTable));
        const auto rows = host.placedRows();
        QCOMPARE(rows.size(), std::size_t{4});
        const double expected[][4] = {{100, 1, 413000, 6180900},
                                      {600, 1, 413000, 6180400},
                                      {1500, 1, 412500, 6180000},
                                      {100, 2, 412400, 6182000}};
        for (std::size_t i = 0; i < rows.size(); ++i) {
            QCOMPARE(rows[i].distance, expected[i][0]);
            QCOMPARE(rows[i].rowId, int(expected[i][1]));
            QVERIFY(std::abs(rows[i].x - expected[i][2]) < 1 &&
                    std::abs(rows[i].y - expected[i][3]) < 1);
        }

        QTest::mouseClick(veltrano->child<QPushButton>("cmdRefreshMI"), Qt::LeftButton);
        QCOMPARE(summary->toPlainText(), fresh);
        veltrano->view.close();
        veltrano.reset();
        QCOMPARE(QString::fromStdString(host.client().Eval("2*2")), QStringLiteral("4"));
    }
};

}  // namespace veltrano

QTEST_MAIN(veltrano::dialog_with_mbhost)
#include "dialog_mbhost_test.moc"
