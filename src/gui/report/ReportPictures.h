#pragma once

#include <QIcon>

namespace pluvane::gui {

enum class ReportTool { SaveAs, Print, Copy, Close, ExportPdf, PrintPreview, ExportCsv };

// The pictures of the report window's toolbar, painted in code like the program's others.
QIcon ReportToolIcon(ReportTool tool);

} // namespace pluvane::gui
