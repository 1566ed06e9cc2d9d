// The main dialog's window on its own: its controls against its form's layout, and how it
// hands texts to the presenter.
#include <QCheckBox>
#include <QComboBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include "dialog/form1_layout.h"
#include "dialog/qt/qt_form1_view.h"
#include "support/qt_form_check.h"

namespace veltrano {

class form1_view : public QObject {
    Q_OBJECT

private:
    template <typename W>
    static W* child(QtForm1View& view, const QString& name) {
        return view.findChild<W*>(name);
    }

private Q_SLOTS:
    void matches_its_form_layout_with_options_off_lists_scrolled_and_an_arrow_on_refresh() {
        QtForm1View view;
        testing::checkAgainstLayout(view, form1Layout());
        QCOMPARE(child<QCheckBox>(view, "chkBreakLine")->checkState(), Qt::Unchecked);
        QCOMPARE(child<QCheckBox>(view, "chkStartFromTheEnd")->checkState(), Qt::Unchecked);
        QCOMPARE(view.startFromTheEndValue(), 0);
        QVERIFY(child<QComboBox>(view, "Combo1")->isEditable());
        for (const char* name : {"txtPoints", "txtSelectedPolyline"}) {
            auto* box = child<QPlainTextEdit>(view, name);
            QCOMPARE(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
            QCOMPARE(box->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        }
        // Refresh shows a dark blue arrow on grey.
        const QImage picture =
            child<QPushButton>(view, "cmdRefreshMI")->icon().pixmap(16, 16).toImage();
        QCOMPARE(picture.size(), QSize(16, 16));
        QCOMPARE(picture.pixelColor(15, 15), QColor(0xc0, 0xc0, 0xc0));
        int darkBlue = 0;
        for (int i = 0; i < 16 * 16; ++i) {
            const QColor c = picture.pixelColor(i % 16, i / 16);
            darkBlue += c.blue() > 0x60 && c.red() < 0x40 && c.green() < 0x40;
        }
        QVERIFY(darkBlue > 20);
    }

    // Texts cross in CR LF; the table list chooses only when asked.
    void texts_and_lists_reach_the_presenter_as_it_writes_them() {
        QtForm1View view;
        view.setPointsText("10\r\n20\r\n30");
        auto* points = child<QPlainTextEdit>(view, "txtPoints");
        QCOMPARE(points->toPlainText(), QStringLiteral("10\n20\n30"));
        points->setPlainText(QStringLiteral("1;2\n3"));
        QCOMPARE(view.pointsText(), std::string("1;2\r\n3"));
        view.setSummaryText("head\r\n");
        view.appendSummaryText("\r\n ** 3 points allocated.");
        QCOMPARE(view.summaryText(), std::string("head\r\n\r\n ** 3 points allocated."));

        view.addOutputTable("Roads");
        view.addOutputTable("Точки");
        QCOMPARE(view.outputTableText(), std::string());
        view.selectOutputTable(1);
        QCOMPARE(view.outputTableText(), std::string("Точки"));
        view.clearOutputTables();
        QCOMPARE(view.outputTableText(), std::string());
        QCOMPARE(child<QComboBox>(view, "Combo1")->count(), 0);
    }

    void buttons_forward_what_the_user_asks_for() {
        QtForm1View view;
        QSignalSpy ok(&view, &QtForm1View::okRequested);
        QSignalSpy close(&view, &QtForm1View::closeRequested);
        QSignalSpy about(&view, &QtForm1View::aboutRequested);
        QSignalSpy refresh(&view, &QtForm1View::refreshRequested);
        const std::pair<const char*, QSignalSpy*> buttons[] = {
            {"cmdOK", &ok}, {"cmdClose", &close}, {"cmdAbout", &about}, {"cmdRefreshMI", &refresh}};
        for (const auto& [name, spy] : buttons) {
            QTest::mouseClick(child<QPushButton>(view, name), Qt::LeftButton);
            QCOMPARE(ok.count() + close.count() + about.count() + refresh.count(), 1);
            QCOMPARE(spy->count(), 1);
            spy->clear();
        }
        // A click ticks the end option as the presenter reads it: 1, never the greyed 2.
        QTest::mouseClick(child<QCheckBox>(view, "chkStartFromTheEnd"), Qt::LeftButton);
        QCOMPARE(view.startFromTheEndValue(), 1);
        view.setOkEnabled(false);
        QTest::mouseClick(child<QPushButton>(view, "cmdOK"), Qt::LeftButton);
        QCOMPARE(ok.count(), 0);
    }

    void input_during_a_command_is_dropped_and_closing_unloads() {
        QtForm1View view;
        view.show();
        QSignalSpy ok(&view, &QtForm1View::okRequested);
        auto* cmdOK = child<QPushButton>(view, "cmdOK");
        const QPointF centre = QRectF(cmdOK->rect()).center();
        view.runWithoutInput([&] {
            for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
                QCoreApplication::postEvent(
                    cmdOK, new QMouseEvent(type, centre, cmdOK->mapToGlobal(centre), Qt::LeftButton,
                                           Qt::LeftButton, Qt::NoModifier));
            }
        });
        QCoreApplication::processEvents();
        QCOMPARE(ok.count(), 0);
        // Afterwards the window listens again, until it closes and unloads.
        QTest::mouseClick(cmdOK, Qt::LeftButton);
        QCOMPARE(ok.count(), 1);
        QSignalSpy unloading(&view, &QtForm1View::unloading);
        view.closeWindow();
        QCOMPARE(unloading.count(), 1);
        QVERIFY(!view.isVisible());
    }
};

}  // namespace veltrano

QTEST_MAIN(veltrano::form1_view)
#include "form1_view_test.moc"
