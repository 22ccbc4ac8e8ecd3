#pragma once

#include "core/report/RichText.h"

#include <QString>

class QTextDocument;

namespace pluvane::gui {

// Writes the report as a PDF file: US Letter sheets (the report's units are US customary) with
// the print margins, paginated as a print is. Needs a QGuiApplication (fonts). Throws Error when
// the file cannot be written; a failed write leaves any earlier file at `path` as it was.
void WriteReportPdf(const RichDocument& document, const QString& path);
void WriteReportPdf(const QTextDocument& document, const QString& path);

} // namespace pluvane::gui
