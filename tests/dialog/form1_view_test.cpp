// The main dialog's window on its own: controls found by their names, their places in
// twips, texts, tooltips, tab order, and how it hands texts to the presenter.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include "dialog/qt/qt_form1_view.h"

namespace veltrano {

class Form1ViewTest : public QObject {
    Q_OBJECT

private:
    template <typename W>
    static W* child(QtForm1View& view, const QString& name) {
        return view.findChild<W*>(name);
    }

private Q_SLOTS:
    void caption_and_client_area() {
        QtForm1View view;
        QCOMPARE(view.objectName(), QStringLiteral("Form1"));
        QCOMPARE(view.windowTitle(),
                 QStringLiteral("MapInfo utility: Put points along the Selected polyline"));
        QCOMPARE(view.size(), QSize(QtForm1View::pixels(9105), QtForm1View::pixels(4980)));
    }

    void control_places_texts_and_tooltips_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("tooltip");
        const auto row = [](const char* name, QRect twips, const char* text, const char* tip) {
            QTest::newRow(name) << QString::fromLatin1(name) << twips << QString::fromUtf8(text)
                                << QString::fromUtf8(tip);
        };
        row("cmdAbout", {8145, 4545, 870, 330}, "About", "");
        row("cmdRefreshMI", {6930, 225, 465, 420}, "", "Обновить данные из MapInfo");
        row("cmdOK", {3195, 4545, 870, 330}, "OK", "Выполнить расстановку точек");
        row("cmdClose", {5940, 4545, 870, 330}, "Close", "Выйти из программы");
        row("txtSelectedPolyline", {3195, 1890, 3660, 2580}, "", "");
        row("chkStartFromTheEnd", {3195, 810, 3660, 315}, "Отсчет от конца линии",
            "Вычислять координты о конца линии.");
        row("chkBreakLine", {3195, 1215, 3660, 315}, "Разбивать линию в точках",
            "В местах вставки точки добавлять вершину к полилинии.");
        row("Combo1", {3195, 450, 3660, 315}, "", "Таблица, в которую будут помещены точки.");
        row("txtPoints", {45, 450, 2985, 4020}, "",
            "Линейные координаты точек в метрах. Разделяются \";\" или переносом.");
        row("Label3", {3195, 1620, 3660, 285}, "Информация о выбранных объектах", "");
        row("Label2", {3195, 180, 3660, 285}, "Таблица для создаваемых точек", "");
        row("Label1", {45, 180, 2985, 285}, "Список точек (координаты в метрах)", "");
    }

    void control_places_texts_and_tooltips() {
        QFETCH(QString, name);
        QFETCH(QRect, twips);
        QFETCH(QString, text);
        QFETCH(QString, tooltip);
        QtForm1View view;
        auto* control = child<QWidget>(view, name);
        QVERIFY(control != nullptr);
        const QRect expected(QtForm1View::pixels(twips.x()), QtForm1View::pixels(twips.y()),
                             QtForm1View::pixels(twips.width()),
                             QtForm1View::pixels(twips.height()));
        QCOMPARE(control->geometry(), expected);
        QCOMPARE(control->toolTip(), tooltip);
        QString shown;
        if (auto* button = qobject_cast<QAbstractButton*>(control)) shown = button->text();
        if (auto* label = qobject_cast<QLabel*>(control)) shown = label->text();
        if (auto* box = qobject_cast<QPlainTextEdit*>(control)) shown = box->toPlainText();
        if (auto* combo = qobject_cast<QComboBox*>(control)) shown = combo->currentText();
        QCOMPARE(shown, text);
    }

    void defaults_of_options_and_lists() {
        QtForm1View view;
        auto* breakLine = child<QCheckBox>(view, "chkBreakLine");
        QVERIFY(!breakLine->isEnabled());
        QCOMPARE(breakLine->checkState(), Qt::Unchecked);
        QCOMPARE(child<QCheckBox>(view, "chkStartFromTheEnd")->checkState(), Qt::Unchecked);
        QCOMPARE(view.startFromTheEndValue(), 0);
        auto* combo = child<QComboBox>(view, "Combo1");
        QVERIFY(combo->isEditable());
        QCOMPARE(combo->count(), 0);
        for (const char* name : {"txtPoints", "txtSelectedPolyline"}) {
            auto* box = child<QPlainTextEdit>(view, name);
            QCOMPARE(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
            QCOMPARE(box->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        }
    }

    void refresh_button_shows_a_dark_blue_arrow_on_grey() {
        QtForm1View view;
        const QIcon icon = child<QPushButton>(view, "cmdRefreshMI")->icon();
        QVERIFY(!icon.isNull());
        const QImage picture = icon.pixmap(16, 16).toImage();
        QCOMPARE(picture.size(), QSize(16, 16));
        QCOMPARE(picture.pixelColor(15, 15), QColor(0xc0, 0xc0, 0xc0));
        int darkBlue = 0;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                const QColor c = picture.pixelColor(x, y);
                if (c.blue() > 0x60 && c.red() < 0x40 && c.green() < 0x40) ++darkBlue;
            }
        }
        QVERIFY(darkBlue > 20);
    }

    void tab_order_follows_the_tab_indexes() {
        QtForm1View view;
        view.show();
        view.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&view));
        child<QWidget>(view, "txtPoints")->setFocus();
        QStringList visited{QStringLiteral("txtPoints")};
        for (int i = 0; i < 7; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* focus = QApplication::focusWidget();
            // The combo box's edit field stands for the combo box.
            while (focus && focus->objectName().isEmpty()) focus = focus->parentWidget();
            visited << (focus ? focus->objectName() : QString());
        }
        const QStringList expected{"txtPoints",           "Combo1",   "chkStartFromTheEnd",
                                   "txtSelectedPolyline", "cmdClose", "cmdOK",
                                   "cmdRefreshMI",        "cmdAbout"};
        QCOMPARE(visited, expected);
    }

    void multi_line_texts_reach_the_presenter_with_cr_lf() {
        QtForm1View view;
        view.setPointsText("10\r\n20\r\n30");
        QCOMPARE(child<QPlainTextEdit>(view, "txtPoints")->toPlainText(),
                 QStringLiteral("10\n20\n30"));
        child<QPlainTextEdit>(view, "txtPoints")->setPlainText(QStringLiteral("1;2\n3"));
        QCOMPARE(view.pointsText(), std::string("1;2\r\n3"));

        view.setSummaryText("head\r\n");
        view.appendSummaryText("\r\n ** 3 points allocated.");
        QCOMPARE(view.summaryText(), std::string("head\r\n\r\n ** 3 points allocated."));
    }

    void output_table_list_chooses_only_when_asked() {
        QtForm1View view;
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
        QTest::mouseClick(child<QPushButton>(view, "cmdOK"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(view, "cmdClose"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(view, "cmdAbout"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(view, "cmdRefreshMI"), Qt::LeftButton);
        QCOMPARE(ok.count() + close.count() + about.count() + refresh.count(), 4);
        QCOMPARE(ok.count(), 1);
        QCOMPARE(refresh.count(), 1);
        view.setOkEnabled(false);
        QTest::mouseClick(child<QPushButton>(view, "cmdOK"), Qt::LeftButton);
        QCOMPARE(ok.count(), 1);
    }

    void input_during_a_command_is_dropped() {
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
        // Afterwards the window listens again.
        QTest::mouseClick(cmdOK, Qt::LeftButton);
        QCOMPARE(ok.count(), 1);
    }

    void closing_the_window_unloads() {
        QtForm1View view;
        view.show();
        QSignalSpy unloading(&view, &QtForm1View::unloading);
        view.closeWindow();
        QCOMPARE(unloading.count(), 1);
        QVERIFY(!view.isVisible());
    }
};

}  // namespace veltrano

QTEST_MAIN(veltrano::Form1ViewTest)
#include "form1_view_test.moc"
