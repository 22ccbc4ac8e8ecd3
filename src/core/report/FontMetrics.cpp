#include "core/report/FontMetrics.h"

#include <array>
#include <cstdint>

namespace pluvane {

namespace {

#include "core/report/FontWidthTable.inc"

constexpr double kTwipsPerPoint = 20.0;

// Font units of a code point's advance.
int advanceUnits(char32_t c, bool bold) {
    const auto& table = bold ? kBoldWidths : kRegularWidths;
    if (c >= 0x20 && c <= 0x7E)
        return table[c - 0x20];
    if (c >= 0xA0 && c <= 0xFF)
        return table[(c - 0xA0) + (0x7F - 0x20)];
    if (c == '\t' || c == '\r' || c == '\n')
        return 0;
    return bold ? kWidestBold : kWidestRegular;
}

} // namespace

double CharacterWidthTwips(char32_t character, double points, bool bold) {
    return advanceUnits(character, bold) * points * kTwipsPerPoint / kUnitsPerEm;
}

double TextWidthTwips(std::string_view utf8, double points, bool bold) {
    long units = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            units += advanceUnits(lead, bold);
            ++i;
            continue;
        }
        // A multi-byte character: decoded only as far as telling Latin-1 from the rest, which
        // all count as the widest glyph. Continuation bytes are skipped with their lead.
        std::size_t length = (lead & 0xE0) == 0xC0   ? 2
                             : (lead & 0xF0) == 0xE0 ? 3
                             : (lead & 0xF8) == 0xF0 ? 4
                                                     : 1;
        char32_t code = 0x110000; // not a character: widest
        if (length == 2 && i + 1 < utf8.size() &&
            (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80)
            code = (static_cast<char32_t>(lead & 0x1F) << 6) |
                   (static_cast<unsigned char>(utf8[i + 1]) & 0x3F);
        units += advanceUnits(code, bold);
        std::size_t step = 1;
        while (step < length && i + step < utf8.size() &&
               (static_cast<unsigned char>(utf8[i + step]) & 0xC0) == 0x80)
            ++step;
        i += step;
    }
    return units * points * kTwipsPerPoint / kUnitsPerEm;
}

} // namespace pluvane
