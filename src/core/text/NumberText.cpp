#include "core/text/NumberText.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace pluvane {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Decimal digits and exponent of a finite value at 15 significant digits:
// value = 0.d1d2...d15 * 10^(exponent + 1), i.e. d1 is in the 10^exponent place.
struct Decimal15 {
    bool negative = false;
    std::string digits; // exactly 15 digits, d1 != '0' unless the value is zero
    int exponent = 0;
};

Decimal15 toDecimal15(double value) {
    std::array<char, 64> buffer{};
    auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                   std::chars_format::scientific, 14);
    (void)ec; // 64 characters always hold a 15-digit scientific double
    std::string_view text(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
    Decimal15 d;
    if (!text.empty() && text.front() == '-') {
        d.negative = true;
        text.remove_prefix(1);
    }
    const auto ePos = text.find('e');
    for (char c : text.substr(0, ePos))
        if (isDigit(c))
            d.digits.push_back(c);
    d.exponent = std::atoi(std::string(text.substr(ePos + 1)).c_str());
    return d;
}

} // namespace

double ParseLenient(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    const std::size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t mantissaDigits = 0;
    while (i < text.size() && isDigit(text[i])) {
        ++i;
        ++mantissaDigits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) {
            ++i;
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return 0.0;
    std::size_t end = i;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j]))
                ++j;
            end = j;
        }
    }
    // from_chars takes ".5" and "-.5" but not a leading "+".
    std::string_view number = text.substr(start, end - start);
    if (number.front() == '+')
        number.remove_prefix(1);
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec != std::errc() || !std::isfinite(value))
        return 0.0;
    return value;
}

std::string FormatFixed(double value, int decimals) {
    if (!std::isfinite(value))
        return "n/a";
    if (decimals < 0)
        decimals = 0;
    std::string intPart = "0";
    std::string fracPart(static_cast<std::size_t>(decimals), '0');
    bool negative = false;
    if (value != 0.0) {
        const Decimal15 d = toDecimal15(value);
        negative = d.negative;
        // Place the 15 digits on a fixed grid: all integer digits, then `decimals` digits, and
        // one more to decide the rounding.
        std::string whole; // digits before the point
        std::string frac;  // digits after the point
        if (d.exponent >= 0) {
            const auto intCount = static_cast<std::size_t>(d.exponent + 1);
            whole = d.digits.substr(0, std::min(intCount, d.digits.size()));
            if (whole.size() < intCount)
                whole.append(intCount - whole.size(), '0');
            if (intCount < d.digits.size())
                frac = d.digits.substr(intCount);
        } else {
            whole = "0";
            frac = std::string(static_cast<std::size_t>(-d.exponent - 1), '0') + d.digits;
        }
        const auto keep = static_cast<std::size_t>(decimals);
        const bool roundUp = frac.size() > keep && frac[keep] >= '5';
        frac.resize(keep, '0');
        std::string all = whole + frac;
        if (roundUp) {
            std::size_t k = all.size();
            while (k > 0) {
                --k;
                if (all[k] == '9') {
                    all[k] = '0';
                } else {
                    ++all[k];
                    break;
                }
                if (k == 0)
                    all.insert(all.begin(), '1');
            }
        }
        intPart = all.substr(0, all.size() - keep);
        fracPart = all.substr(all.size() - keep);
        const auto firstNonZero = intPart.find_first_not_of('0');
        intPart = firstNonZero == std::string::npos ? "0" : intPart.substr(firstNonZero);
        if (intPart == "0" && fracPart.find_first_not_of('0') == std::string::npos)
            negative = false; // no "-0.00"
    }
    std::string out = negative ? "-" : "";
    out += intPart;
    if (decimals > 0)
        out += "." + fracPart;
    return out;
}

std::string PlainNumberText(double value) {
    if (!std::isfinite(value))
        return "n/a";
    if (value == 0.0)
        return "0";
    std::array<char, 64> buffer{};
    auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                   std::chars_format::general, 15);
    (void)ec;
    std::string text(buffer.data(), end);
    // Near the top of the range, 15 digits round up past the largest double (DBL_MAX gives
    // 1.79769313486232e+308, which reads back as overflow): take the shortest exact text.
    if (std::abs(value) > 1e307 && !std::isfinite(std::strtod(text.c_str(), nullptr))) {
        auto exact = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
        text.assign(buffer.data(), exact.ptr);
    }
    return text;
}

std::string ShortestText(float value) {
    if (!std::isfinite(value))
        return "n/a";
    if (value == 0.0f)
        return "0";
    // Plain decimal form, never an exponent: 100000 twips stays "100000".
    std::array<char, 64> buffer{};
    auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                   std::chars_format::fixed);
    if (ec != std::errc())
        return PlainNumberText(value);
    return std::string(buffer.data(), end);
}

long long RoundHalfEven(double value) {
    // Out of range of the result (and NaN) the conversion would be undefined: clamp.
    constexpr double kLimit = 9.2e18; // just inside the range of long long
    if (std::isnan(value))
        return 0;
    if (value >= kLimit)
        return static_cast<long long>(kLimit);
    if (value <= -kLimit)
        return -static_cast<long long>(kLimit);
    const double down = std::floor(value);
    const double diff = value - down;
    double result = down;
    if (diff > 0.5 || (diff == 0.5 && std::fmod(down, 2.0) != 0.0))
        result = down + 1.0;
    return static_cast<long long>(result);
}

} // namespace pluvane
