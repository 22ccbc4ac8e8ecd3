#include "core/report/ReportStyle.h"

namespace pluvane {

void ApplyReportStyle(RichTextWriter& writer, ReportStyle style) {
    const bool body = style == ReportStyle::Body;
    writer.setSize(style == ReportStyle::SectionTitle ? 12.0 : 10.0);
    writer.setBold(!body);
    writer.setUnderline(style == ReportStyle::SectionTitle || style == ReportStyle::Heading);
    writer.setItalic(style == ReportStyle::SectionTitle);
}

void EvenTabStops(RichTextWriter& writer, int n) {
    std::vector<int> stops;
    if (n > 0) {
        const int step = 8000 / n;
        for (int k = 0; k < n; ++k)
            stops.push_back(step * (k + 1));
    }
    writer.setTabStops(std::move(stops));
}

std::string TabRun(int n) {
    return n > 0 ? std::string(static_cast<std::size_t>(n), '\t') : std::string();
}

} // namespace pluvane
