// The About window's widgets, driven by their control names with the presenter behind them.
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "about/about_layout.h"
#include "about/about_texts.h"
#include "about/frm_about.h"
#include "about/qt/qt_about_view.h"
#include "foundation/version.h"
#include "platform/qt/empty_registry.h"
#include "platform/qt/qt_message_box.h"
#include "platform/qt/qt_process_start.h"
#include "support/qt_form_check.h"

namespace veltrano {

class about_widget : public QObject {
    Q_OBJECT

private:
    struct Window {
        QtAboutView view;
        QtMessageBox messages;
        EmptyRegistry registry;
        QtProcessStart processes;
        frmAbout presenter{view, {messages, registry, processes}};
        Window() {
            QObject::connect(&view, &QtAboutView::okRequested, [this] { presenter.cmdOKClick(); });
            QObject::connect(&view, &QtAboutView::sysInfoRequested,
                             [this] { presenter.cmdSysInfoClick(); });
            presenter.load();
        }
        template <typename W>
        W* child(const char* name) {
            return view.findChild<W*>(QString::fromLatin1(name));
        }
    };

private Q_SLOTS:
    void matches_its_form_layout() {
        QtAboutView view;
        testing::checkAgainstLayout(view, about::aboutLayout());
        QVERIFY(!view.findChild<QLabel*>(QStringLiteral("picIcon"))->pixmap().isNull());
    }

    void load_fills_in_the_version_and_the_whole_texts() {
        Window w;
        QCOMPARE(w.view.windowTitle(), QStringLiteral("About Veltrano"));
        QCOMPARE(w.child<QLabel>("lblVersion")->text(),
                 QString("Version ") + veltrano::kVersionText);
        QCOMPARE(w.child<QLabel>("lblDisclaimer")->text(),
                 QString::fromStdString(about::disclaimerText()));
        const QString shown = w.child<QLabel>("lblDescription")->text();
        QCOMPARE(shown, QString::fromStdString(about::descriptionText())
                            .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        QCOMPARE(shown.count(QLatin1Char('\n')), 2);
    }

    void system_info_without_registry_says_so_and_ok_closes() {
        Window w;
        w.view.show();
        QString caption, text;
        QTimer::singleShot(0, [&] {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                if (auto* box = qobject_cast<QMessageBox*>(top); box && box->isVisible()) {
                    caption = box->windowTitle();
                    text = box->text();
                    box->button(QMessageBox::Ok)->click();
                }
            }
        });
        QTest::mouseClick(w.child<QPushButton>("cmdSysInfo"), Qt::LeftButton);
        QCOMPARE(caption, QStringLiteral("Veltrano"));
        QCOMPARE(text, QStringLiteral("System Information Is Unavailable At This Time"));
        QVERIFY(w.view.isVisible());
        QTest::mouseClick(w.child<QPushButton>("cmdOK"), Qt::LeftButton);
        QVERIFY(!w.view.isVisible());
        QCOMPARE(w.view.result(), int(QDialog::Accepted));
    }
};

}  // namespace veltrano

QTEST_MAIN(veltrano::about_widget)
#include "about_widget_test.moc"
