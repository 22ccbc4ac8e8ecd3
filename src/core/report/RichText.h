#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pluvane {

// A small rich-text document: what the report builder writes, what the RTF and plain-text
// writers read, and what the report window converts to and from its own document. Text is
// UTF-8; sizes are points; indents and tab stops are twips from the left edge of the text area.

struct Color {
    std::uint8_t red = 0, green = 0, blue = 0;
    bool operator==(const Color&) const = default;
};

struct CharFormat {
    double size = 10.0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    Color color{};
    bool operator==(const CharFormat&) const = default;
};

// A stretch of text in one format. Holds no line ends; may hold tab characters.
struct Run {
    std::string text;
    CharFormat format;
    bool operator==(const Run&) const = default;
};

struct Paragraph {
    int leftIndent = 0;
    int rightIndent = 0;
    std::vector<int> tabStops; // in the order they were set; a position may repeat
    std::vector<Run> runs;
    // Where the lines after the first start when the paragraph wraps; 0 = at the left indent.
    // A value column that wraps under itself, not back under its label.
    int hangingIndent = 0;
    // Printed on the same page as the next paragraph: a table's heading and its first row, a
    // short table, never split by a page break.
    bool keepWithNext = false;
    bool operator==(const Paragraph&) const = default;

    std::string text() const; // the runs' texts joined
};

// What a paged copy (print, PDF, RTF) puts on every page around the text: a running header
// (left and right part) and a footer "Page N of M" with the print date. None unless enabled.
struct PageFurniture {
    bool enabled = false;
    std::string headerLeft;  // e.g. the project name
    std::string headerRight; // e.g. "Job Number: 24-117"
    bool operator==(const PageFurniture&) const = default;
};

struct RichDocument {
    // Always at least one paragraph; the last one is the paragraph being written and may be
    // empty (writers leave out a last paragraph that has no runs).
    std::vector<Paragraph> paragraphs{Paragraph{}};
    PageFurniture furniture;
    bool operator==(const RichDocument&) const = default;

    // The paragraphs' texts, each followed by "\n" but the last empty one.
    std::string plainText() const;
};

// Writes a document strictly front to back, as a rich-text view does when every piece of text
// is appended at the end: character attributes set now apply to all text appended later;
// paragraph attributes (indents, tab stops) set now apply to the paragraph being written and
// are inherited by every later paragraph until changed.
class RichTextWriter {
public:
    void setSize(double points) { m_format.size = points; }
    void setBold(bool on) { m_format.bold = on; }
    void setItalic(bool on) { m_format.italic = on; }
    void setUnderline(bool on) { m_format.underline = on; }
    void setColor(Color color) { m_format.color = color; }
    const CharFormat& format() const { return m_format; }

    void setIndents(int left, int right);
    void setHangingIndent(int twips);
    void setTabStops(std::vector<int> stops);
    const std::vector<int>& tabStops() const { return current().tabStops; }

    // Appends text. "\r\n", a lone "\r" and a lone "\n" each end the paragraph ("\r\n" ends
    // one, not two). A "\r\n" split across two calls still counts as one line end.
    void append(std::string_view text);

    const RichDocument& document() const { return m_document; }
    // Hands the document over and starts a new, empty one.
    RichDocument take() { return std::exchange(m_document, RichDocument{}); }

private:
    Paragraph& current() { return m_document.paragraphs.back(); }
    const Paragraph& current() const { return m_document.paragraphs.back(); }
    void appendRunText(std::string_view text);
    void endParagraph();

    RichDocument m_document;
    CharFormat m_format;
    bool m_lastWasCr = false;
};

} // namespace pluvane
