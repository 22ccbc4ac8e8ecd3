#include "gui/report/TextDocumentConversion.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <cmath>
#include <limits>

namespace pluvane::gui {

namespace {

constexpr qreal kTwipsPerInch = 1440.0;
constexpr int kDefaultTabTwips = 720;
// The page furniture rides on the document object, beside its text.
constexpr const char* kFurnitureEnabled = "pluvanePageFurniture";
constexpr const char* kHeaderLeft = "pluvaneHeaderLeft";
constexpr const char* kHeaderRight = "pluvaneHeaderRight";

QTextCharFormat toCharFormat(const CharFormat& format) {
    QTextCharFormat qt;
    qt.setFontFamilies(ReportFont().families());
    qt.setFontPointSize(format.size);
    qt.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
    qt.setFontItalic(format.italic);
    qt.setFontUnderline(format.underline);
    qt.setForeground(QColor(format.color.red, format.color.green, format.color.blue));
    return qt;
}

CharFormat fromCharFormat(const QTextCharFormat& qt, const QFont& defaultFont) {
    CharFormat format;
    // Pasted HTML may give a size in pixels, which the model has no place for.
    if (qt.fontPointSize() > 0)
        format.size = qt.fontPointSize();
    else if (qt.hasProperty(QTextFormat::FontPixelSize) &&
             qt.intProperty(QTextFormat::FontPixelSize) > 0)
        format.size = qt.intProperty(QTextFormat::FontPixelSize) * 72.0 / LayoutDpi();
    else if (defaultFont.pointSizeF() > 0)
        format.size = defaultFont.pointSizeF();
    format.bold = qt.hasProperty(QTextFormat::FontWeight) ? qt.fontWeight() >= QFont::DemiBold
                                                          : defaultFont.bold();
    format.italic =
        qt.hasProperty(QTextFormat::FontItalic) ? qt.fontItalic() : defaultFont.italic();
    format.underline = qt.fontUnderline() || qt.underlineStyle() != QTextCharFormat::NoUnderline;
    if (qt.foreground().style() != Qt::NoBrush) {
        const QColor color = qt.foreground().color().toRgb();
        format.color =
            Color{static_cast<std::uint8_t>(color.red()), static_cast<std::uint8_t>(color.green()),
                  static_cast<std::uint8_t>(color.blue())};
    }
    return format;
}

// A hanging paragraph is a block whose margin is the hanging indent and whose first line is
// indented back to the left indent.
bool hangs(const Paragraph& paragraph) { return paragraph.hangingIndent > paragraph.leftIndent; }

QTextBlockFormat toBlockFormat(const Paragraph& paragraph) {
    QTextBlockFormat block;
    const int margin = hangs(paragraph) ? paragraph.hangingIndent : paragraph.leftIndent;
    block.setLeftMargin(TwipsToLayoutUnits(margin));
    if (hangs(paragraph))
        block.setTextIndent(TwipsToLayoutUnits(paragraph.leftIndent - paragraph.hangingIndent));
    block.setRightMargin(TwipsToLayoutUnits(paragraph.rightIndent));
    if (paragraph.keepWithNext)
        block.setProperty(KeepWithNextProperty, true);
    // The layout takes the first stop beyond the pen, in list order: ascending, each once. Its
    // stops count from where the first line starts (the block's left margin, less a negative
    // first-line indent), the model's from the edge of the text area; a stop at or before the
    // indent can never be reached and is left out.
    std::vector<int> stops = paragraph.tabStops;
    std::sort(stops.begin(), stops.end());
    stops.erase(std::unique(stops.begin(), stops.end()), stops.end());
    QList<QTextOption::Tab> tabs;
    for (const int stop : stops)
        if (stop > paragraph.leftIndent)
            tabs.append(QTextOption::Tab(TwipsToLayoutUnits(stop - paragraph.leftIndent),
                                         QTextOption::LeftTab));
    block.setTabPositions(tabs);
    return block;
}

void appendRun(Paragraph& paragraph, const QString& text, const CharFormat& format) {
    if (text.isEmpty())
        return;
    std::string utf8 = text.toStdString();
    if (!paragraph.runs.empty() && paragraph.runs.back().format == format)
        paragraph.runs.back().text += utf8;
    else
        paragraph.runs.push_back(Run{std::move(utf8), format});
}

Paragraph emptyParagraphLike(const Paragraph& paragraph) {
    Paragraph next;
    next.leftIndent = paragraph.leftIndent;
    next.rightIndent = paragraph.rightIndent;
    next.tabStops = paragraph.tabStops;
    next.hangingIndent = paragraph.hangingIndent;
    return next;
}

} // namespace

QFont ReportFont() {
    // The saved RTF names Arial; Liberation Sans has Arial's widths, so the columns fit on screen
    // and in print as they do where the RTF is opened. DejaVu Sans when neither is installed.
    QFont font;
    font.setFamilies({"Liberation Sans", "Arial", "DejaVu Sans"});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(CharFormat{}.size);
    return font;
}

qreal LayoutDpi() {
    // Qt's own default dpi: the primary screen's logical dpi, vertical axis.
    if (QCoreApplication::testAttribute(Qt::AA_Use96Dpi))
        return 96.0;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        return std::round(screen->logicalDotsPerInchY());
    return 96.0;
}

qreal TwipsToLayoutUnits(int twips) { return twips * LayoutDpi() / kTwipsPerInch; }

int LayoutUnitsToTwips(qreal units) {
    return static_cast<int>(std::lround(units * kTwipsPerInch / LayoutDpi()));
}

void ToTextDocument(const RichDocument& source, QTextDocument& target) {
    target.clear();
    target.setDefaultFont(ReportFont());
    // Past the last stop, tabs go to the next half inch, as in word processors.
    QTextOption option = target.defaultTextOption();
    option.setTabStopDistance(TwipsToLayoutUnits(kDefaultTabTwips));
    target.setDefaultTextOption(option);
    QTextCursor cursor(&target);
    cursor.beginEditBlock();
    CharFormat inForce;
    bool first = true;
    for (const Paragraph& paragraph : source.paragraphs) {
        if (!paragraph.runs.empty())
            inForce = paragraph.runs.front().format;
        if (first) {
            cursor.setBlockFormat(toBlockFormat(paragraph));
            cursor.setBlockCharFormat(toCharFormat(inForce));
            first = false;
        } else {
            cursor.insertBlock(toBlockFormat(paragraph), toCharFormat(inForce));
        }
        for (const Run& run : paragraph.runs)
            cursor.insertText(QString::fromStdString(run.text), toCharFormat(run.format));
        if (!paragraph.runs.empty())
            inForce = paragraph.runs.back().format;
    }
    cursor.endEditBlock();
    SetPageFurniture(target, source.furniture);
    target.clearUndoRedoStacks();
    target.setModified(false);
}

RichDocument FromTextDocument(const QTextDocument& source) {
    return FromTextDocument(source, 0, std::numeric_limits<int>::max());
}

RichDocument FromTextDocument(const QTextDocument& source, int from, int to) {
    RichDocument result;
    result.paragraphs.clear();
    const QFont defaultFont = source.defaultFont();
    for (QTextBlock block = source.findBlock(from); block.isValid() && block.position() <= to;
         block = block.next()) {
        // A selection that ends where a paragraph begins does not take that paragraph.
        if (block.position() == to && to > from)
            break;
        const QTextBlockFormat blockFormat = block.blockFormat();
        Paragraph paragraph;
        const int margin = LayoutUnitsToTwips(blockFormat.leftMargin());
        const int indent = LayoutUnitsToTwips(blockFormat.textIndent());
        paragraph.leftIndent = indent < 0 ? margin + indent : margin;
        paragraph.hangingIndent = indent < 0 ? margin : 0;
        paragraph.rightIndent = LayoutUnitsToTwips(blockFormat.rightMargin());
        paragraph.keepWithNext = blockFormat.boolProperty(KeepWithNextProperty);
        for (const QTextOption::Tab& tab : blockFormat.tabPositions())
            paragraph.tabStops.push_back(paragraph.leftIndent + LayoutUnitsToTwips(tab.position));

        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const int start = std::max(fragment.position(), from);
            const int end = std::min(fragment.position() + fragment.length(), to);
            if (start >= end)
                continue;
            const CharFormat format = fromCharFormat(fragment.charFormat(), defaultFont);
            QString piece;
            for (const QChar c : fragment.text().mid(start - fragment.position(), end - start)) {
                if (c == QChar::ObjectReplacementCharacter)
                    continue;
                if (c == QChar::LineSeparator) {
                    appendRun(paragraph, piece, format);
                    piece.clear();
                    Paragraph next = emptyParagraphLike(paragraph);
                    result.paragraphs.push_back(std::move(paragraph));
                    paragraph = std::move(next);
                    continue;
                }
                piece += c;
            }
            appendRun(paragraph, piece, format);
        }
        result.paragraphs.push_back(std::move(paragraph));
    }
    if (result.paragraphs.empty())
        result.paragraphs.emplace_back();
    result.furniture = PageFurnitureOf(source);
    return result;
}

void SetPageFurniture(QTextDocument& document, const PageFurniture& furniture) {
    document.setProperty(kFurnitureEnabled, furniture.enabled);
    document.setProperty(kHeaderLeft, QString::fromStdString(furniture.headerLeft));
    document.setProperty(kHeaderRight, QString::fromStdString(furniture.headerRight));
}

PageFurniture PageFurnitureOf(const QTextDocument& document) {
    PageFurniture furniture;
    furniture.enabled = document.property(kFurnitureEnabled).toBool();
    furniture.headerLeft = document.property(kHeaderLeft).toString().toStdString();
    furniture.headerRight = document.property(kHeaderRight).toString().toStdString();
    return furniture;
}

} // namespace pluvane::gui
