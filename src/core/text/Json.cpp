#include "core/text/Json.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace pluvane {

namespace {

// Length of the valid UTF-8 sequence starting at text[i], 0 when none starts there.
std::size_t utf8Length(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length = 0;
    unsigned int minimum = 0;
    unsigned int code = 0;
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, minimum = 0x80, code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, minimum = 0x800, code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, minimum = 0x10000, code = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    // Overlong forms, UTF-16 surrogates and values past U+10FFFF are not UTF-8.
    if (code < minimum || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
        return 0;
    return length;
}

} // namespace

std::string JsonString(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            // C1 controls (U+0080..U+009F, C2 80..C2 9F) are escaped as the C0 ones: they drive
            // a terminal as ESC does.
            const bool c1 = c == 0xC2 && i + 1 < text.size() &&
                            static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                            static_cast<unsigned char>(text[i + 1]) < 0xA0;
            if (c < 0x20 || c == 0x7F || c1) {
                const unsigned code = c1 ? static_cast<unsigned char>(text[i + 1]) : c;
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", code);
                out += escaped;
                i += c1 ? 2 : 1;
                continue;
            } else if (const std::size_t length = utf8Length(text, i); length > 0) {
                out.append(text.substr(i, length));
                i += length;
                continue;
            } else {
                out += "\xEF\xBF\xBD";
            }
        }
        ++i;
    }
    out += '"';
    return out;
}

std::string JsonNumber(double value) {
    if (!std::isfinite(value))
        return "null";
    // Shortest round-trip form, independent of the locale.
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

} // namespace pluvane
