#include "engine/random_digits.h"

#include <cmath>

#include "foundation/number_text.h"

namespace veltrano {

namespace {

constexpr double kDrawScale = 1'000'000.0;
constexpr double kShortTextScale = 3.2148975;
constexpr std::size_t kMinTextLength = 8;

std::string trimmed(std::string_view s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(' ');
    return std::string(s.substr(first, last - first + 1));
}

// One piece of digits; leaves in quotient the value whose text it came from.
std::string drawPiece(RandomSource& random, double& quotient) {
    double a = random.next() * kDrawScale;
    const double b = random.next() * kDrawScale;
    while (std::fabs(a) < 1e-20) a = random.next() * kDrawScale;
    quotient = b / a;
    while (generalNumberText(quotient).size() < kMinTextLength) {
        quotient = random.next() * kShortTextScale;
    }
    std::string text = generalNumberText(quotient);
    for (char& c : text) {
        if (c == '-')
            c = '8';
        else if (c == '.')
            c = '6';
        else if (c == 'E' || c == 'e')
            c = '4';
    }
    return trimmed(std::string_view(text).substr(2));
}

}  // namespace

std::string getRandomDigits(RandomSource& random, TimerPort& timer) {
    random.reseed(timer.secondsSinceMidnight());
    random.reseed(random.next());
    double quotient = 0.0;
    std::string digits = drawPiece(random, quotient);
    random.reseed(quotient);
    digits += drawPiece(random, quotient);
    return digits;
}

std::string getRandomDigits() {
    return getRandomDigits(processRandom(), systemTimer());
}

std::string temporaryVariableName(std::string_view digits) {
    const std::size_t length = digits.size() > 8 ? 6 : (digits.size() >= 2 ? digits.size() - 2 : 0);
    return "qzv" + std::string(digits.substr(digits.empty() ? 0 : 1, length));
}

}  // namespace veltrano
