// The regional-settings port on Qt's system locale.
#pragma once

#include <QLocale>

#include "platform/regional_settings.h"

namespace veltrano {

// The user's regional settings as the system locale gives them: its decimal point, digit
// grouping and signs. Locales carry no default count of decimals, so the regional number
// format shows two, as most regions do.
class QLocaleRegionalSettings final : public RegionalSettings {
public:
    explicit QLocaleRegionalSettings(QLocale locale = QLocale::system());

    std::string formatNumber(double value) const override;
    std::string generalText(double value) const override;
    char32_t decimalSeparator() const override;
    std::string decimalText() const override;
    std::string groupText() const override;

    static constexpr int kDefaultDecimals = 2;

private:
    QLocale locale_;
    QLocale ungrouped_;
};

}  // namespace veltrano
