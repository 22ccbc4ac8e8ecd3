// The number texts: every text parses to a finite number, every finite number's text reads
// back (to its 15 digits; single precision exactly), and rounding never leaves its range.
#include "FuzzTarget.h"

#include "core/text/NumberText.h"

#include <cmath>
#include <cstring>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pluvane;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (!std::isfinite(ParseLenient(text)))
        FuzzFail("ParseLenient gave a non-finite value");
    if (size < sizeof(double))
        return 0;
    double value = 0;
    std::memcpy(&value, data, sizeof value);
    float single = 0;
    std::memcpy(&single, data, sizeof single);
    (void)RoundHalfEven(value);
    for (int decimals : {2, 3, 4})
        (void)FormatFixed(value, decimals);
    if (std::isfinite(value)) {
        const double back = ParseLenient(PlainNumberText(value));
        if (std::abs(back - value) > std::abs(value) * 1e-14)
            FuzzFail("PlainNumberText does not read back: " + PlainNumberText(value));
    }
    if (std::isfinite(single) && static_cast<float>(ParseLenient(ShortestText(single))) != single)
        FuzzFail("ShortestText does not read back: " + ShortestText(single));
    return 0;
}
