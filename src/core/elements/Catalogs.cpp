#include "core/elements/Catalogs.h"

#include "core/text/NumberText.h"

namespace pluvane {

std::string RunoffCoefficientMean(std::string_view minText, std::string_view maxText) {
    const double mean = (ParseLenient(minText) + ParseLenient(maxText)) / 2.0;
    return FormatFixed(mean, 2);
}

} // namespace pluvane
