#include "gui/report/ReportPdf.h"

#include "core/Error.h"
#include "core/report/ReportMessages.h"
#include "gui/report/PrintRichText.h"
#include "gui/report/TextDocumentConversion.h"

#include <QBuffer>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>

namespace pluvane::gui {

namespace {

[[noreturn]] void fail(const QString& path, const QString& reason) {
    throw Error(PdfNotWrittenMessage(path.toStdString(), reason.toStdString()));
}

} // namespace

void WriteReportPdf(const QTextDocument& document, const QString& path) {
    // Opened first so that an unwritable place is reported before any work; the pages go to
    // memory and reach the file in one piece.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        fail(path, file.errorString());

    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setPageSize(QPageSize(QPageSize::Letter));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setTitle("Report");
        writer.setCreator("Pluvane");
        if (!PrintRichText(document, writer, PageMargins{}))
            fail(path, QString::fromUtf8(kPagesNotDrawn.data(), kPagesNotDrawn.size()));
    }
    if (file.write(pdf.data()) != pdf.data().size() || !file.commit())
        fail(path, file.errorString());
}

void WriteReportPdf(const RichDocument& document, const QString& path) {
    QTextDocument text;
    ToTextDocument(document, text);
    WriteReportPdf(text, path);
}

} // namespace pluvane::gui
