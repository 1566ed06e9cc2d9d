// Typed distances under the portable and the Qt settings; the main dialog writes back what it
// read and takes no Enter or Esc.
#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

#include "dialog/qt/qt_form1_view.h"
#include "platform/qt/qlocale_regional_settings.h"
#include "support/dialog_fixture.h"
#include "support/typed_distances.h"

namespace veltrano::testing {
namespace {

TEST(typed_distance, reads_alike_under_the_portable_and_the_qt_settings) {
    expectTypedDistances(FixedRegionalSettings::forLocale);
    expectTypedDistances([](std::string_view name) {
        return QLocaleRegionalSettings(QLocale(QString::fromLatin1(name.data(), name.size())));
    });
}

TEST(typed_distance, the_dialog_takes_no_enter_or_esc_and_writes_back_what_it_read) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "typed_distance", *argv[] = {name, nullptr};
    QApplication app(argc, argv);
    for (const auto& [locale, typed, shown] : {std::tuple{"en-US", "1,000;2,5", "2\r\n1000"},
                                               std::tuple{"de-DE", "2.500;1.50", "1,5\r\n2500"}}) {
        DialogFixture f(FixedRegionalSettings::forLocale(locale));
        f.openTables({{"Out", 1, false}});
        f.select({{"Polyline", 3, 1, 100.0}});
        QtForm1View view;
        Form1 form{view,
                   {f.provider, f.messages, f.beep, f.busy, f.regional, f.activation},
                   [](miProObj&, const PlacementRequest&) { return 1; },
                   {}};
        QObject::connect(&view, &QtForm1View::okRequested, [&] { form.cmdOKClick(); });
        form.load();
        view.selectOutputTable(0);
        view.setPointsText(typed);
        f.host->clearRequests();
        for (const char* target : {"Combo1", "chkStartFromTheEnd"}) {
            for (const int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
                QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
                QApplication::sendEvent(view.findChild<QWidget*>(target), &press);
            }
        }
        EXPECT_TRUE(f.host->traffic().empty()) << locale;
        view.findChild<QPushButton*>("cmdOK")->click();
        EXPECT_EQ(view.pointsText(), shown);
    }
}

}  // namespace
}  // namespace veltrano::testing
