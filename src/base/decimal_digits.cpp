#include "base/decimal_digits.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

DecimalDigits SplitAtPoint(std::string_view text)
{
    if (!text.empty() && text.front() == '-')
        text.remove_prefix(1);
    const auto point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    return DecimalDigits{std::string(whole.empty() ? std::string_view("0") : whole),
                         std::string(fraction)};
}

// Adds one to the last digit, carrying to the left; "999" becomes "1000".
void IncrementDigits(std::string &digits)
{
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

} // namespace

DecimalDigits RoundDecimalDigits(DecimalDigits digits, int decimals)
{
    decimals = std::max(decimals, 0);
    if (int(digits.fraction.size()) <= decimals) {
        digits.fraction.append(decimals - digits.fraction.size(), '0');
        return digits;
    }
    // The first dropped digit decides: 5 or more means the dropped part is at least a half.
    const bool roundUp = digits.fraction[decimals] >= '5';
    digits.fraction.resize(decimals);
    if (!roundUp)
        return digits;
    std::string all = digits.whole + digits.fraction;
    IncrementDigits(all);
    digits.whole = all.substr(0, all.size() - decimals);
    digits.fraction = all.substr(all.size() - decimals);
    return digits;
}

DecimalDigits ExactDecimalDigits(double x)
{
    // x = m * 2^(e - 53) with an integer m, so 53 - e fraction digits hold it exactly.
    int exponent = 0;
    std::frexp(x, &exponent);
    const int precision = std::max(53 - exponent, 0);
    char buffer[1600];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::fixed,
                                      precision);
    return SplitAtPoint(std::string_view(buffer, result.ptr - buffer));
}

DecimalDigits ShortestDecimalDigits(double x)
{
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::fixed);
    return SplitAtPoint(std::string_view(buffer, result.ptr - buffer));
}
