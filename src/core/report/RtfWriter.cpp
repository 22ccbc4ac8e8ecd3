#include "core/report/RtfWriter.h"

#include "core/Error.h"
#include "core/io/AtomicFile.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>

namespace pluvane {

namespace fs = std::filesystem;

namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr int kTextWidthTwips = 12240 - 2 * 1080; // US Letter less the two margins

// Reads the UTF-8 character at text[i] and moves i past it. A malformed sequence (stray
// continuation byte, truncated, overlong, surrogate, beyond U+10FFFF) reads as U+FFFD and
// consumes one byte, so the rest of the text still comes through.
char32_t nextCharacter(std::string_view text, std::size_t& i) {
    const auto byteAt = [&text](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byteAt(i);
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    std::size_t length = 0;
    char32_t code = 0;
    char32_t smallest = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, code = lead & 0x1Fu, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, code = lead & 0x0Fu, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, code = lead & 0x07u, smallest = 0x10000;
    } else {
        ++i;
        return kReplacement;
    }
    if (i + length > text.size()) {
        ++i;
        return kReplacement;
    }
    for (std::size_t k = 1; k < length; ++k) {
        const unsigned char next = byteAt(i + k);
        if ((next & 0xC0) != 0x80) {
            ++i;
            return kReplacement;
        }
        code = (code << 6) | (next & 0x3Fu);
    }
    if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        ++i;
        return kReplacement;
    }
    i += length;
    return code;
}

bool isDroppedControl(char32_t c) { return (c < 0x20 && c != '\t') || c == 0x7F; }

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// \uN takes a signed 16-bit N. The fallback "?" is written as \'3f rather than a literal "?":
// both mean the same to RTF readers, but some (pandoc among them) also swallow the character
// that follows a literal fallback.
void appendUnicodeUnit(std::string& out, std::uint16_t unit) {
    const int value = unit > 32767 ? static_cast<int>(unit) - 65536 : static_cast<int>(unit);
    out += "\\u" + std::to_string(value) + "\\'3f";
}

void appendRtfText(std::string& out, std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const char32_t c = nextCharacter(text, i);
        if (c == '\t') {
            out += "\\tab ";
        } else if (isDroppedControl(c)) {
            continue;
        } else if (c == '\\' || c == '{' || c == '}') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x10000) {
            appendUnicodeUnit(out, static_cast<std::uint16_t>(c));
        } else {
            const char32_t v = c - 0x10000;
            appendUnicodeUnit(out, static_cast<std::uint16_t>(0xD800 + (v >> 10)));
            appendUnicodeUnit(out, static_cast<std::uint16_t>(0xDC00 + (v & 0x3FF)));
        }
    }
}

// The paragraphs a writer puts out: all but a last one without runs.
std::size_t writtenParagraphs(const RichDocument& document) {
    const auto& paragraphs = document.paragraphs;
    return !paragraphs.empty() && paragraphs.back().runs.empty() ? paragraphs.size() - 1
                                                                 : paragraphs.size();
}

std::vector<Color> colorTable(const RichDocument& document) {
    std::vector<Color> colors;
    for (const Paragraph& paragraph : document.paragraphs)
        for (const Run& run : paragraph.runs)
            if (std::find(colors.begin(), colors.end(), run.format.color) == colors.end())
                colors.push_back(run.format.color);
    return colors;
}

// Only the attributes that change since the last run of the paragraph; the first run of a
// paragraph states them all. RTF keeps character formatting across \par, but some readers
// (pandoc among them) drop it at \pard.
void appendFormatChange(std::string& out, const CharFormat& format,
                        const std::optional<CharFormat>& previous, int colorIndex) {
    std::string words;
    if (!previous || previous->size != format.size) {
        const long halfPoints = std::max(1L, std::lround(format.size * 2.0));
        words += "\\fs" + std::to_string(halfPoints);
    }
    if (!previous || previous->bold != format.bold)
        words += format.bold ? "\\b" : "\\b0";
    if (!previous || previous->italic != format.italic)
        words += format.italic ? "\\i" : "\\i0";
    if (!previous || previous->underline != format.underline)
        words += format.underline ? "\\ul" : "\\ulnone";
    if (!previous || previous->color != format.color)
        words += "\\cf" + std::to_string(colorIndex);
    if (!words.empty())
        out += words + " "; // the space ends the last control word and is not text
}

// The running header and the page footer: the header's two parts at the margins, the footer's
// page number and count as fields a word processor fills in for its own pages, and the date
// as a DATE field, which it sets when the document is printed.
std::string furnitureRtf(const PageFurniture& furniture) {
    if (!furniture.enabled)
        return {};
    const std::string tabs = "\\tqr\\tx" + std::to_string(kTextWidthTwips);
    std::string out = "{\\header\\pard\\plain" + tabs + "\\fs18 ";
    appendRtfText(out, furniture.headerLeft);
    out += "\\tab ";
    appendRtfText(out, furniture.headerRight);
    out += "\\par}\n{\\footer\\pard\\plain" + tabs +
           "\\fs18 Page {\\chpgn} of {\\field{\\*\\fldinst NUMPAGES }{\\fldrslt 1}}\\tab Printed "
           "{\\field{\\*\\fldinst DATE \\\\@ \"yyyy-MM-dd\" }{\\fldrslt }}\\par}\n";
    return out;
}

} // namespace

std::string WriteRtf(const RichDocument& document) {
    const std::vector<Color> colors = colorTable(document);
    std::string out =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\n{\\colortbl;";
    for (const Color& color : colors)
        out += "\\red" + std::to_string(color.red) + "\\green" + std::to_string(color.green) +
               "\\blue" + std::to_string(color.blue) + ";";
    // US Letter with 0.75 inch margins: the widest report rows reach about 9300 twips, more
    // than the 8640 a default 1.25 inch margin leaves.
    out += "}\n\\paperw12240\\paperh15840\\margl1080\\margr1080\\margt1080\\margb1080\\f0\n";
    out += furnitureRtf(document.furniture);

    const std::size_t count = writtenParagraphs(document);
    for (std::size_t p = 0; p < count; ++p) {
        const Paragraph& paragraph = document.paragraphs[p];
        std::optional<CharFormat> current;
        out += "\\pard";
        if (paragraph.keepWithNext)
            out += "\\keepn";
        // A hanging paragraph starts its first line at the left indent and the others further in.
        if (paragraph.hangingIndent > paragraph.leftIndent)
            out += "\\li" + std::to_string(paragraph.hangingIndent) + "\\fi" +
                   std::to_string(paragraph.leftIndent - paragraph.hangingIndent);
        else if (paragraph.leftIndent != 0)
            out += "\\li" + std::to_string(paragraph.leftIndent);
        if (paragraph.rightIndent != 0)
            out += "\\ri" + std::to_string(paragraph.rightIndent);
        // A tab jumps to the next stop beyond the current position, so a repeated position
        // acts as one stop; readers expect the stops once each, in ascending order.
        std::vector<int> stops = paragraph.tabStops;
        std::sort(stops.begin(), stops.end());
        stops.erase(std::unique(stops.begin(), stops.end()), stops.end());
        for (int stop : stops)
            if (stop > 0)
                out += "\\tx" + std::to_string(stop);
        out += ' ';
        for (const Run& run : paragraph.runs) {
            const auto colorIndex =
                std::find(colors.begin(), colors.end(), run.format.color) - colors.begin() + 1;
            appendFormatChange(out, run.format, current, static_cast<int>(colorIndex));
            current = run.format;
            appendRtfText(out, run.text);
        }
        out += "\\par\n";
    }
    out += "}\n";
    return out;
}

std::string WritePlainText(const RichDocument& document) {
    std::string out;
    const std::size_t count = writtenParagraphs(document);
    for (std::size_t p = 0; p < count; ++p) {
        for (const Run& run : document.paragraphs[p].runs)
            for (std::size_t i = 0; i < run.text.size();) {
                const char32_t c = nextCharacter(run.text, i);
                if (!isDroppedControl(c))
                    appendUtf8(out, c);
            }
        out += '\n';
    }
    return out;
}

void SaveFileAtomically(const std::string& path, std::string_view bytes) {
    WriteFileAtomically(path, bytes);
}

void SaveRtf(const RichDocument& document, const std::string& path) {
    SaveFileAtomically(path, WriteRtf(document));
}

void SavePlainText(const RichDocument& document, const std::string& path) {
    SaveFileAtomically(path, WritePlainText(document));
}

} // namespace pluvane
