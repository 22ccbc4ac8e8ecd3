#pragma once

#include <string>
#include <string_view>

namespace pluvane {

// The leading decimal number of a text: optional blanks, an optional sign, digits with at most
// one decimal point, an optional exponent. Anything after it is ignored ("1.2.3" reads 1.2,
// "2.5 ft" reads 2.5); a text without a leading number, or one too large for a double, reads 0.
// Never throws, never returns a non-finite value.
double ParseLenient(std::string_view text);

// "#0.00", "#0.000", "#0.0000": the value's decimal form (15 significant digits, as a
// spreadsheet shows it) rounded half away from zero to `decimals` places, at least one digit
// before the point. (0.70 + 0.95) / 2 gives "0.83". A non-finite value gives "n/a".
std::string FormatFixed(double value, int decimals);

// General number text: up to 15 significant digits, no trailing zeros, no thousands separator
// (12.5, 0.35, 3). Very large or small magnitudes use an exponent (1e+15, 1e-05). A
// non-finite value gives "n/a".
std::string PlainNumberText(double value);

// Shortest plain decimal text (no exponent) that reads back as the same single-precision value
// (positions in twips, results).
std::string ShortestText(float value);

// Nearest whole number, halves to even (2.5 -> 2, 3.5 -> 4); beyond +-9.2e18 the limit, NaN 0.
long long RoundHalfEven(double value);

} // namespace pluvane
