// Typed distances under Qt's locales.
#include "platform/qt/qlocale_regional_settings.h"
#include "support/typed_distances.h"

namespace veltrano::testing {
namespace {

TEST(typed_distance, reads_alike_under_qt_locales) {
    expectTypedDistances([](const char* locale) {
        return QLocaleRegionalSettings(QLocale(QString::fromLatin1(locale)));
    });
}

}  // namespace
}  // namespace veltrano::testing
