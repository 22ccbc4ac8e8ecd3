#include "core/report/DocumentFile.h"

#include "core/Error.h"
#include "core/report/ReportMessages.h"

#include <charconv>
#include <cstddef>

namespace pluvane {

namespace {

constexpr std::string_view kHeader = "pluvane-document 1\n";

template <class Number>
void put(std::string& out, Number value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

// Reads the text back field by field; any surprise is a damaged document.
class Reader {
public:
    explicit Reader(std::string_view text) : m_text(text) {}

    bool atEnd() const { return m_pos == m_text.size(); }
    char tag() {
        const char c = byte();
        expect(' ');
        return c;
    }
    template <class Number>
    Number number(char after) {
        const Number value = number<Number>();
        expect(after);
        return value;
    }
    template <class Number>
    Number number() {
        Number value{};
        const char* begin = m_text.data() + m_pos;
        const char* end = m_text.data() + m_text.size();
        const auto result = std::from_chars(begin, end, value);
        if (result.ec != std::errc() || result.ptr == begin)
            fail();
        m_pos += static_cast<std::size_t>(result.ptr - begin);
        return value;
    }
    std::string bytes(std::size_t count) {
        if (count > m_text.size() - m_pos)
            fail();
        std::string text(m_text.substr(m_pos, count));
        m_pos += count;
        expect('\n');
        return text;
    }
    void expect(char c) {
        if (byte() != c)
            fail();
    }

private:
    char byte() {
        if (atEnd())
            fail();
        return m_text[m_pos++];
    }
    [[noreturn]] static void fail() { throw Error(std::string(kReportDocumentBroken)); }

    std::string_view m_text;
    std::size_t m_pos = 0;
};

bool flag(Reader& in, char after) {
    const int value = in.number<int>(after);
    if (value != 0 && value != 1)
        throw Error(std::string(kReportDocumentBroken));
    return value == 1;
}

std::uint8_t component(Reader& in) {
    const int value = in.number<int>(' ');
    if (value < 0 || value > 255)
        throw Error(std::string(kReportDocumentBroken));
    return static_cast<std::uint8_t>(value);
}

} // namespace

std::string SerializeDocument(const RichDocument& document) {
    std::string out(kHeader);
    // The page furniture first: the PDF helper prints the same header and footer as the window.
    const PageFurniture& furniture = document.furniture;
    out += "F ";
    put(out, int(furniture.enabled));
    out += ' ';
    put(out, furniture.headerLeft.size());
    out += '\n' + furniture.headerLeft + '\n';
    put(out, furniture.headerRight.size());
    out += '\n' + furniture.headerRight + '\n';
    for (const Paragraph& paragraph : document.paragraphs) {
        out += "P ";
        put(out, paragraph.leftIndent);
        out += ' ';
        put(out, paragraph.rightIndent);
        out += ' ';
        put(out, paragraph.hangingIndent);
        out += ' ';
        put(out, int(paragraph.keepWithNext));
        out += ' ';
        put(out, paragraph.tabStops.size());
        for (int stop : paragraph.tabStops) {
            out += ' ';
            put(out, stop);
        }
        out += '\n';
        for (const Run& run : paragraph.runs) {
            const CharFormat& f = run.format;
            out += "R ";
            put(out, f.size);
            for (int value : {int(f.bold), int(f.italic), int(f.underline), int(f.color.red),
                              int(f.color.green), int(f.color.blue)}) {
                out += ' ';
                put(out, value);
            }
            out += ' ';
            put(out, run.text.size());
            out += '\n';
            out += run.text;
            out += '\n';
        }
    }
    return out;
}

RichDocument ParseDocument(std::string_view text) {
    if (!text.starts_with(kHeader))
        throw Error(std::string(kReportDocumentBroken));
    Reader in(text.substr(kHeader.size()));
    RichDocument document;
    document.paragraphs.clear();
    while (!in.atEnd()) {
        const char tag = in.tag();
        if (tag == 'F' && document.paragraphs.empty()) {
            document.furniture.enabled = flag(in, ' ');
            document.furniture.headerLeft = in.bytes(in.number<std::size_t>('\n'));
            document.furniture.headerRight = in.bytes(in.number<std::size_t>('\n'));
        } else if (tag == 'P') {
            Paragraph& paragraph = document.paragraphs.emplace_back();
            paragraph.leftIndent = in.number<int>(' ');
            paragraph.rightIndent = in.number<int>(' ');
            paragraph.hangingIndent = in.number<int>(' ');
            paragraph.keepWithNext = flag(in, ' ');
            const std::size_t count = in.number<std::size_t>();
            for (std::size_t k = 0; k < count; ++k) {
                in.expect(' ');
                paragraph.tabStops.push_back(in.number<int>());
            }
            in.expect('\n');
        } else if (tag == 'R' && !document.paragraphs.empty()) {
            Run run;
            run.format.size = in.number<double>(' ');
            run.format.bold = flag(in, ' ');
            run.format.italic = flag(in, ' ');
            run.format.underline = flag(in, ' ');
            run.format.color = {component(in), component(in), component(in)};
            run.text = in.bytes(in.number<std::size_t>('\n'));
            document.paragraphs.back().runs.push_back(std::move(run));
        } else {
            throw Error(std::string(kReportDocumentBroken));
        }
    }
    if (document.paragraphs.empty())
        throw Error(std::string(kReportDocumentBroken));
    return document;
}

} // namespace pluvane
