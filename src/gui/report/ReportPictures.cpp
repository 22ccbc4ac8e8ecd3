#include "gui/report/ReportPictures.h"

#include "gui/app/Pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace pluvane::gui {

namespace {

const QColor kInk(0x37, 0x47, 0x4f);
const QColor kPaper(0xfa, 0xfa, 0xfa);
const QColor kAccent(0x1e, 0x88, 0xe5);

// All pictures are drawn on a 24 x 24 grid and scaled.
void paintPage(QPainter& p, const QRectF& r) {
    QPainterPath page;
    const qreal fold = r.width() * 0.3;
    page.moveTo(r.topLeft());
    page.lineTo(r.right() - fold, r.top());
    page.lineTo(r.right(), r.top() + fold);
    page.lineTo(r.bottomRight());
    page.lineTo(r.bottomLeft());
    page.closeSubpath();
    p.setBrush(kPaper);
    p.drawPath(page);
    p.drawLine(QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold));
    p.drawLine(QPointF(r.right() - fold, r.top() + fold), QPointF(r.right(), r.top() + fold));
}

void paintSave(QPainter& p) {
    p.setBrush(kAccent);
    p.drawRoundedRect(QRectF(3, 3, 18, 18), 2, 2);
    p.setBrush(kPaper);
    p.drawRect(QRectF(7, 3, 10, 7));
    p.drawRect(QRectF(6, 13, 12, 8));
    p.drawLine(QPointF(8, 16), QPointF(16, 16));
    p.drawLine(QPointF(8, 18.5), QPointF(14, 18.5));
}

void paintPrint(QPainter& p) {
    p.setBrush(kPaper);
    p.drawRect(QRectF(7, 3, 10, 6));
    p.setBrush(QColor(0x90, 0xa4, 0xae));
    p.drawRoundedRect(QRectF(3, 9, 18, 9), 2, 2);
    p.setBrush(kPaper);
    p.drawRect(QRectF(7, 14, 10, 7));
    p.drawLine(QPointF(9, 17), QPointF(15, 17));
    p.setBrush(kAccent);
    p.drawEllipse(QPointF(18, 12), 1, 1);
}

void paintCopy(QPainter& p) {
    p.setBrush(QColor(0xa1, 0x88, 0x7f));
    p.drawRoundedRect(QRectF(4, 4, 16, 18), 2, 2);
    p.setBrush(kPaper);
    p.drawRect(QRectF(7, 7, 10, 12));
    p.setBrush(QColor(0x90, 0xa4, 0xae));
    p.drawRoundedRect(QRectF(8.5, 2, 7, 4), 1, 1);
    for (const qreal y : {10.0, 13.0, 16.0})
        p.drawLine(QPointF(9, y), QPointF(15, y));
}

void paintClose(QPainter& p) {
    p.setBrush(QColor(0xe5, 0x39, 0x35));
    p.drawEllipse(QRectF(3, 3, 18, 18));
    QPen cross(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap);
    p.setPen(cross);
    p.drawLine(QPointF(8.5, 8.5), QPointF(15.5, 15.5));
    p.drawLine(QPointF(15.5, 8.5), QPointF(8.5, 15.5));
}

// A page with a band naming the kind of file ("PDF", "CSV").
void paintFileKind(QPainter& p, const QColor& band, const QString& kind) {
    paintPage(p, QRectF(4, 2, 16, 20));
    p.setBrush(band);
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(2, 12, 16, 7));
    p.setPen(Qt::white);
    QFont font("DejaVu Sans");
    font.setFamilies({"DejaVu Sans", "Segoe UI", "Arial"}); // the first installed
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(6);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRectF(2, 12, 16, 7), Qt::AlignCenter, kind);
}

// A page under a magnifying glass.
void paintPreview(QPainter& p) {
    paintPage(p, QRectF(3, 2, 14, 18));
    for (const qreal y : {7.0, 10.0, 13.0})
        p.drawLine(QPointF(5.5, y), QPointF(12, y));
    p.setBrush(QColor(0xe3, 0xf2, 0xfd));
    p.drawEllipse(QPointF(15, 14), 4.5, 4.5);
    p.setPen(QPen(kInk, 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(18.2, 17.2), QPointF(21.5, 20.5));
}

} // namespace

QIcon ReportToolIcon(ReportTool tool) {
    return PaintedIcon([tool](QPainter& p) {
        p.setPen(QPen(kInk, 1.2));
        switch (tool) {
        case ReportTool::SaveAs:
            paintSave(p);
            break;
        case ReportTool::Print:
            paintPrint(p);
            break;
        case ReportTool::Copy:
            paintCopy(p);
            break;
        case ReportTool::Close:
            paintClose(p);
            break;
        case ReportTool::ExportPdf:
            paintFileKind(p, QColor(0xc6, 0x28, 0x28), "PDF");
            break;
        case ReportTool::ExportCsv:
            paintFileKind(p, QColor(0x2e, 0x7d, 0x32), "CSV");
            break;
        case ReportTool::PrintPreview:
            paintPreview(p);
            break;
        }
    });
}

} // namespace pluvane::gui
