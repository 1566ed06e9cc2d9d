#include "platform/qt/qlocale_regional_settings.h"

#include <QString>

namespace veltrano {

namespace {
std::string toUtf8(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}
}  // namespace

QLocaleRegionalSettings::QLocaleRegionalSettings(QLocale locale)
    : locale_(locale), ungrouped_(locale) {
    ungrouped_.setNumberOptions(QLocale::OmitGroupSeparator);
}

std::string QLocaleRegionalSettings::formatNumber(double value) const {
    return toUtf8(locale_.toString(value, 'f', kDefaultDecimals));
}

std::string QLocaleRegionalSettings::generalText(double value) const {
    if (value == 0.0) return "0";
    return toUtf8(ungrouped_.toString(value, 'G', 15));
}

char32_t QLocaleRegionalSettings::decimalSeparator() const {
    const QString point = locale_.decimalPoint();
    return point.isEmpty() ? U'.' : static_cast<char32_t>(point.toUcs4().value(0, U'.'));
}

std::string QLocaleRegionalSettings::decimalText() const {
    const std::string point = toUtf8(locale_.decimalPoint());
    return point.empty() ? "." : point;
}

std::string QLocaleRegionalSettings::groupText() const {
    return toUtf8(locale_.groupSeparator());
}

}  // namespace veltrano
