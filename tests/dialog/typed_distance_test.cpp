// The user's regional settings as the Qt adapter reads them; typed distances under the portable
// and the Qt settings; the main dialog writes back what it read and takes no Enter or Esc.
#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

#include "dialog/qt/qt_form1_view.h"
#include "platform/qt/qlocale_regional_settings.h"
#include "support/dialog_fixture.h"
#include "support/typed_distances.h"

namespace veltrano::testing {
namespace {

const QLocaleRegionalSettings kRussian{QLocale(QLocale::Russian, QLocale::Russia)};
const QLocaleRegionalSettings kAmerican{QLocale(QLocale::English, QLocale::UnitedStates)};
const QLocaleRegionalSettings kGerman{QLocale(QLocale::German, QLocale::Germany)};

TEST(qlocale_regional_settings, reads_and_writes_numbers_as_the_locale_does) {
    const std::pair<const QLocaleRegionalSettings*, std::string> numeric[] = {
        {&kRussian, "2,5"}, {&kAmerican, " -2.5 "}, {&kAmerican, "1.5e3"}};
    for (const auto& [regional, text] : numeric) EXPECT_TRUE(regional->isNumeric(text)) << text;
    for (const std::string text : {"", "   ", "12abc", "12\n"}) {
        EXPECT_FALSE(kAmerican.isNumeric(text)) << text;
    }
    EXPECT_FALSE(kRussian.isNumeric("2.5"));
    // The number format groups with two decimals; the general text is short and ungrouped.
    EXPECT_EQ(kAmerican.formatNumber(1234567.456), "1,234,567.46");
    EXPECT_EQ(kRussian.formatNumber(1234.5), "1\u00a0234,50");
    EXPECT_EQ(kGerman.formatNumber(0.5), "0,50");
    const std::pair<double, std::string> general[] = {
        {12345.25, "12345.25"}, {30.0, "30"}, {0.1 + 0.2, "0.3"}, {0.0, "0"}, {-3.0, "-3"}};
    for (const auto& [value, text] : general) EXPECT_EQ(kAmerican.generalText(value), text);
    EXPECT_EQ(kRussian.generalText(2.5), "2,5");
    EXPECT_EQ(kAmerican.decimalSeparator(), U'.');
    EXPECT_EQ(kRussian.decimalSeparator(), U',');
    const std::vector<double> list{0.25, 1234.5, 1e20};  // written back, read back alike
    for (const auto* regional : {&kRussian, &kAmerican, &kGerman}) {
        EXPECT_EQ(parseDistanceList(distanceListText(list, *regional), *regional), list);
    }
}

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
        QtForm1View view;
        DialogFixture f(FixedRegionalSettings::forLocale(locale));
        f.window = &view;
        answerTables(*f.host, {{.name = "Out"}});
        f.select({{"Polyline", 3, 1, 100.0}});
        QObject::connect(&view, &QtForm1View::okRequested, [&] { f.form().cmdOKClick(); });
        f.form().load();
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
