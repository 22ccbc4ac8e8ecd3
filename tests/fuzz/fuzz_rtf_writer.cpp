// The RTF writer on documents built from any bytes: pure ASCII, braces balanced, and one
// paragraph end per paragraph written.
#include "FuzzTarget.h"

#include "core/report/RichText.h"
#include "core/report/RtfWriter.h"

#include <cctype>

namespace {

// Counts "\par" control words (not "\pard"), skipping escaped characters.
std::size_t paragraphEnds(const std::string& rtf) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < rtf.size(); ++i) {
        if (rtf[i] != '\\')
            continue;
        if (i + 1 < rtf.size() && !std::isalpha(static_cast<unsigned char>(rtf[i + 1]))) {
            ++i;
            continue;
        }
        std::size_t end = i + 1;
        while (end < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[end])))
            ++end;
        if (rtf.compare(i + 1, end - i - 1, "par") == 0)
            ++count;
        i = end - 1;
    }
    return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    pluvane::RichTextWriter writer;
    std::size_t i = 0;
    while (i < size) {
        const std::uint8_t op = data[i++];
        const std::uint8_t arg = i < size ? data[i] : 0;
        switch (op % 6) {
        case 0:
            writer.setBold(arg & 1);
            writer.setItalic(arg & 2);
            writer.setUnderline(arg & 4);
            ++i;
            break;
        case 1:
            writer.setSize(1 + arg % 72);
            ++i;
            break;
        case 2:
            writer.setIndents(arg * 40, (arg % 7) * 100);
            ++i;
            break;
        case 3:
            writer.setTabStops({arg * 20, arg * 20 + 720});
            ++i;
            break;
        case 4:
            writer.setColor(
                {arg, static_cast<std::uint8_t>(arg * 3), static_cast<std::uint8_t>(arg * 7)});
            ++i;
            break;
        default: {
            const std::size_t length = std::min<std::size_t>(1 + arg % 24, size - i);
            writer.append(std::string_view(reinterpret_cast<const char*>(data + i), length));
            i += length;
        }
        }
    }
    const pluvane::RichDocument& document = writer.document();
    const std::string rtf = pluvane::WriteRtf(document);
    int depth = 0;
    for (std::size_t k = 0; k < rtf.size(); ++k) {
        const unsigned char c = static_cast<unsigned char>(rtf[k]);
        if (c >= 0x80)
            FuzzFail("a byte outside ASCII in the RTF");
        if (c == '\\') {
            ++k;
            continue;
        }
        depth += c == '{' ? 1 : c == '}' ? -1 : 0;
        if (depth < 0)
            FuzzFail("a closing brace without its opening one");
    }
    if (depth != 0)
        FuzzFail("unbalanced braces");
    const bool lastEmpty = document.paragraphs.back().runs.empty();
    const std::size_t written = document.paragraphs.size() - (lastEmpty ? 1 : 0);
    if (paragraphEnds(rtf) != written)
        FuzzFail("paragraph ends " + std::to_string(paragraphEnds(rtf)) + " for " +
                 std::to_string(written) + " paragraphs");
    return 0;
}
