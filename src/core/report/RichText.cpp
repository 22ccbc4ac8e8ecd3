#include "core/report/RichText.h"

namespace pluvane {

std::string Paragraph::text() const {
    std::string joined;
    for (const Run& run : runs)
        joined += run.text;
    return joined;
}

std::string RichDocument::plainText() const {
    std::string text;
    for (std::size_t i = 0; i < paragraphs.size(); ++i) {
        const bool lastAndEmpty = i + 1 == paragraphs.size() && paragraphs[i].runs.empty();
        if (!lastAndEmpty)
            text += paragraphs[i].text() + "\n";
    }
    return text;
}

void RichTextWriter::setIndents(int left, int right) {
    current().leftIndent = left;
    current().rightIndent = right;
}

void RichTextWriter::setHangingIndent(int twips) { current().hangingIndent = twips; }

void RichTextWriter::setTabStops(std::vector<int> stops) { current().tabStops = std::move(stops); }

void RichTextWriter::append(std::string_view text) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            m_lastWasCr = false;
            continue;
        }
        appendRunText(text.substr(start, i - start));
        start = i + 1;
        if (c == '\n' && m_lastWasCr && i == 0) {
            // The LF of a CR LF whose CR ended the previous call: already counted.
            m_lastWasCr = false;
            continue;
        }
        if (c == '\n' && i > 0 && text[i - 1] == '\r') {
            m_lastWasCr = false;
            continue;
        }
        endParagraph();
        m_lastWasCr = c == '\r';
    }
    appendRunText(text.substr(start));
}

void RichTextWriter::appendRunText(std::string_view text) {
    if (text.empty())
        return;
    m_lastWasCr = false;
    std::vector<Run>& runs = current().runs;
    if (!runs.empty() && runs.back().format == m_format)
        runs.back().text += text;
    else
        runs.push_back(Run{std::string(text), m_format});
}

void RichTextWriter::endParagraph() {
    Paragraph next;
    next.leftIndent = current().leftIndent;
    next.rightIndent = current().rightIndent;
    next.tabStops = current().tabStops;
    next.hangingIndent = current().hangingIndent;
    m_document.paragraphs.push_back(std::move(next));
}

} // namespace pluvane
