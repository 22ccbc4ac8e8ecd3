#include "gui/report/PrintRichText.h"

#include "gui/report/TextDocumentConversion.h"

#include <QAbstractTextDocumentLayout>
#include <QDate>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <memory>
#include <vector>

namespace pluvane::gui {

namespace {

struct PrintedLine {
    QTextLine line;
    QPointF origin;             // of its block's layout, in document coordinates
    bool keepsWithNext = false; // the last line of a block kept with the next one
    qreal top() const { return origin.y() + line.y(); }
    qreal bottom() const { return top() + line.height(); }
};

// Every line of a laid-out document, top to bottom.
std::vector<PrintedLine> linesOf(const QTextDocument& document) {
    std::vector<PrintedLine> lines;
    QAbstractTextDocumentLayout* layout = document.documentLayout();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QPointF origin = layout->blockBoundingRect(block).topLeft();
        const QTextLayout* text = block.layout();
        const bool keep = block.blockFormat().boolProperty(KeepWithNextProperty);
        for (int i = 0; i < text->lineCount(); ++i)
            lines.push_back({text->lineAt(i), origin, keep && i + 1 == text->lineCount()});
    }
    std::stable_sort(lines.begin(), lines.end(),
                     [](const PrintedLine& a, const PrintedLine& b) { return a.top() < b.top(); });
    return lines;
}

// The index of the first line of each page: as many lines as fit in `pageHeight` go on a page
// and the first one that does not fit begins the next (a line taller than a page gets a page of
// its own) -- the text never splits inside a line. A break is moved up over the lines that keep
// with the next one, so that a table's heading goes over with its first row; a chain of kept
// lines longer than a page is broken where it must be.
std::vector<std::size_t> pageStarts(const std::vector<PrintedLine>& lines, qreal pageHeight) {
    std::vector<std::size_t> starts{0};
    qreal pageTop = 0;
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].bottom() - pageTop > pageHeight && lines[i].top() > pageTop) {
            std::size_t at = i;
            while (at > starts.back() + 1 && lines[at - 1].keepsWithNext)
                --at;
            if (!(lines[at].top() > pageTop))
                at = i;
            starts.push_back(at);
            pageTop = lines[at].top();
        }
    return starts;
}

// The running header and the page footer, in the report face, a little smaller than the text.
QFont furnitureFont() {
    QFont font = ReportFont();
    font.setPointSizeF(8);
    return font;
}

void drawFurniture(QPainter& painter, const PageFurniture& furniture, const QRectF& draw,
                   qreal band, int page, int pages, const QString& date) {
    painter.save();
    painter.setFont(furnitureFont());
    const QFontMetricsF metrics(painter.font(), painter.device());
    const QRectF header(draw.left(), draw.top(), draw.width(), metrics.height());
    const QRectF footer(draw.left(), draw.bottom() - metrics.height(), draw.width(),
                        metrics.height());
    painter.drawText(header, Qt::AlignLeft | Qt::AlignVCenter,
                     QString::fromStdString(furniture.headerLeft));
    painter.drawText(header, Qt::AlignRight | Qt::AlignVCenter,
                     QString::fromStdString(furniture.headerRight));
    painter.drawText(footer, Qt::AlignLeft | Qt::AlignVCenter,
                     QString("Page %1 of %2").arg(page).arg(pages));
    painter.drawText(footer, Qt::AlignRight | Qt::AlignVCenter, QString("Printed %1").arg(date));
    // Hairlines between the furniture and the text.
    QPen pen(Qt::black);
    pen.setWidthF(painter.device()->logicalDpiY() / 288.0); // a quarter point
    painter.setPen(pen);
    const qreal under = draw.top() + metrics.height() + (band - metrics.height()) / 3;
    const qreal over = draw.bottom() - metrics.height() - (band - metrics.height()) / 3;
    painter.drawLine(QPointF(draw.left(), under), QPointF(draw.right(), under));
    painter.drawLine(QPointF(draw.left(), over), QPointF(draw.right(), over));
    painter.restore();
}

// On a paint device of its own, Qt's layout (6.4) scales tab positions and list indents to the
// device but takes paragraph margins and first-line indents as they stand, in device pixels:
// scaled here, or a 300-twip indent would print as a sliver on a 1200 dpi printer.
void scaleBlockMargins(QTextDocument& document, qreal scale) {
    QTextCursor cursor(&document);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QTextBlockFormat format = block.blockFormat();
        format.setLeftMargin(format.leftMargin() * scale);
        format.setRightMargin(format.rightMargin() * scale);
        format.setTopMargin(format.topMargin() * scale);
        format.setBottomMargin(format.bottomMargin() * scale);
        format.setTextIndent(format.textIndent() * scale);
        cursor.setPosition(block.position());
        cursor.setBlockFormat(format);
    }
}

} // namespace

bool PrintRichText(const QTextDocument& document, QPagedPaintDevice& device, int left, int top,
                   int right, int bottom) {
    if (left < 0 || top < 0 || right < 0 || bottom < 0)
        return false;
    const int dpiX = device.logicalDpiX();
    const int dpiY = device.logicalDpiY();
    if (dpiX <= 0 || dpiY <= 0)
        return false;

    // Painting starts at the corner of the printable area, so the unprintable margin comes off
    // the requested ones: the text then sits where the margins say on the sheet itself.
    const QPageLayout pageLayout = device.pageLayout();
    const QRectF sheet = pageLayout.fullRectPixels(dpiX);
    const QPointF offset = pageLayout.paintRectPixels(dpiX).topLeft();
    const auto xPixels = [dpiX](int twips) { return twips * dpiX / 1440.0; };
    const auto yPixels = [dpiY](int twips) { return twips * dpiY / 1440.0; };
    const QRectF draw(QPointF(xPixels(left) - offset.x(), yPixels(top) - offset.y()),
                      QPointF(sheet.width() - xPixels(right) - offset.x(),
                              sheet.height() - yPixels(bottom) - offset.y()));
    if (draw.width() < 1 || draw.height() < 1)
        return false;

    // The header and footer take a band of the draw rectangle each; the text goes between.
    const PageFurniture furniture = PageFurnitureOf(document);
    const qreal band =
        furniture.enabled ? QFontMetricsF(furnitureFont(), &device).height() * 2.0 : 0.0;
    const QRectF body = draw.adjusted(0, band, 0, -band);
    if (body.height() < 1)
        return false;
    const QString date = QDate::currentDate().toString(Qt::ISODate);

    // A copy laid out on the device, measured with the printer's fonts at the draw rectangle's
    // width; the on-screen layout is left alone. Pages are cut here, line by line, and each line
    // is drawn on its page alone: Qt's own pagination (6.4) can lose a page break where its
    // incremental layout resumes, and its clipped drawing also paints the line above the clip,
    // which a PDF keeps as hidden duplicate text.
    std::unique_ptr<QTextDocument> copy(document.clone());
    scaleBlockMargins(*copy, dpiY / LayoutDpi());
    copy->documentLayout()->setPaintDevice(&device);
    copy->setDocumentMargin(0);
    copy->setTextWidth(body.width());
    const std::vector<PrintedLine> lines = linesOf(*copy);
    const std::vector<std::size_t> starts = pageStarts(lines, body.height());

    QPainter painter;
    if (!painter.begin(&device))
        return false;
    painter.setPen(Qt::black);
    for (std::size_t page = 0; page < starts.size(); ++page) {
        if (page > 0 && !device.newPage()) {
            painter.end();
            return false;
        }
        const std::size_t first = starts[page];
        const std::size_t last = page + 1 < starts.size() ? starts[page + 1] : lines.size();
        const qreal pageTop = first < lines.size() ? lines[first].top() : 0;
        if (furniture.enabled)
            drawFurniture(painter, furniture, draw, band, static_cast<int>(page + 1),
                          static_cast<int>(starts.size()), date);
        painter.save();
        painter.setClipRect(body);
        painter.translate(body.left(), body.top() - (page == 0 ? 0 : pageTop));
        for (std::size_t i = first; i < last; ++i)
            lines[i].line.draw(&painter, lines[i].origin);
        painter.restore();
    }
    return painter.end();
}

} // namespace pluvane::gui
