// File > Print Drawing: the drawing on one page, under the project's name and the date.
#include "core/Workspace.h"
#include "core/network/NetworkMessages.h"
#include "core/settings/ProjectSettings.h"
#include "gui/app/AppContext.h"
#include "gui/network/CanvasView.h"
#include "gui/network/FrmDraw.h"

#include <QDateTime>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>

namespace pluvane::gui {

namespace {

// The project's name as its setup records it, else the file's name.
QString projectName(const Workspace& ws) {
    try {
        const std::string name = LoadProjectSettings(ws).project.projectName;
        if (!name.empty())
            return QString::fromStdString(name);
    } catch (const std::exception&) {
    }
    return QFileInfo(QString::fromStdString(ws.ProjectPath)).completeBaseName();
}

} // namespace

void FrmDraw::printDrawing() {
    const Workspace& ws = m_ctx.workspace();
    const QString name = projectName(ws);
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::Letter));
    const QRectF drawing = m_view->drawingRect();
    printer.setPageOrientation(drawing.width() > drawing.height() ? QPageLayout::Landscape
                                                                  : QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(0.5, 0.5, 0.5, 0.5), QPageLayout::Inch);
    printer.setDocName(name);
    printer.setFromTo(1, 1);
    if (!m_ctx.prompts().setUpPrinter(this, printer))
        return;
    QPainter painter;
    if (!painter.begin(&printer)) {
        m_ctx.prompts().error(
            this, QString::fromUtf8(kDrawingNotPrinted.data(), kDrawingNotPrinted.size()));
        return;
    }
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    const QRectF area(0, 0, page.width(), page.height());
    QFont heading("Liberation Sans", 14, QFont::Bold);
    heading.setFamilies({"Liberation Sans", "Arial", "DejaVu Sans"}); // the first installed
    heading.setStyleHint(QFont::SansSerif);
    painter.setFont(heading);
    const QFontMetricsF headingMetrics(heading, &printer);
    painter.drawText(QRectF(area.left(), area.top(), area.width(), headingMetrics.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, name);
    QFont detail("Liberation Sans", 9);
    detail.setFamilies({"Liberation Sans", "Arial", "DejaVu Sans"});
    detail.setStyleHint(QFont::SansSerif);
    painter.setFont(detail);
    const QFontMetricsF detailMetrics(detail, &printer);
    const double detailTop = area.top() + headingMetrics.height() * 1.2;
    painter.drawText(QRectF(area.left(), detailTop, area.width(), detailMetrics.height()),
                     Qt::AlignLeft | Qt::AlignVCenter,
                     QString("%1   Printed %2")
                         .arg(QFileInfo(QString::fromStdString(ws.ProjectPath)).fileName(),
                              QDate::currentDate().toString(Qt::ISODate)));
    const double top = detailTop + detailMetrics.height() * 2;
    m_view->renderDrawing(&painter, QRectF(area.left(), top, area.width(), area.bottom() - top));
    painter.end();
}

} // namespace pluvane::gui
