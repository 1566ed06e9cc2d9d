#include "platform/qt/qlocale_regional_settings.h"

#include <QString>

namespace veltrano {

namespace {
QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Only blanks and tabs surround a number; line breaks make it a different text.
QString trimBlanks(QString text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    const auto blank = [](QChar c) { return c == u' ' || c == u'\t'; };
    while (first < last && blank(text[first])) ++first;
    while (last > first && blank(text[last - 1])) --last;
    return text.mid(first, last - first);
}

std::string toUtf8(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}
}  // namespace

QLocaleRegionalSettings::QLocaleRegionalSettings(QLocale locale)
    : locale_(locale), ungrouped_(locale) {
    ungrouped_.setNumberOptions(QLocale::OmitGroupSeparator);
}

bool QLocaleRegionalSettings::isNumeric(std::string_view text) const {
    const QString trimmed = trimBlanks(fromUtf8(text));
    // The locale would skip any white space, line breaks too.
    if (trimmed.isEmpty() || trimmed.front().isSpace() || trimmed.back().isSpace()) return false;
    bool ok = false;
    locale_.toDouble(trimmed, &ok);
    return ok;
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

}  // namespace veltrano
