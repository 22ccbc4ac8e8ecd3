#include "core/report/ColumnFit.h"

#include "core/report/FontMetrics.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace pluvane {

namespace {

constexpr int kDefaultTabTwips = 720;

// The size a run is measured and set at once its table is `step` points smaller: never below
// the minimum, and a run already at or below it stays as it is.
double shrunk(double size, double step, double minimum) {
    return size > minimum ? std::max(minimum, size - step) : size;
}

// The cells of a paragraph: the text between tabs, each with its width.
struct Cells {
    std::vector<double> widths; // one more than there are tabs
    std::vector<bool> filled;   // whether the cell holds any character
    bool hasTab() const { return widths.size() > 1; }
    bool hasText() const { return std::find(filled.begin(), filled.end(), true) != filled.end(); }
};

Cells cellsOf(const Paragraph& paragraph, double step, double minimum) {
    Cells cells;
    cells.widths.push_back(0.0);
    cells.filled.push_back(false);
    for (const Run& run : paragraph.runs) {
        const double size = shrunk(run.format.size, step, minimum);
        std::size_t from = 0;
        while (from <= run.text.size()) {
            const std::size_t tab = run.text.find('\t', from);
            const std::size_t to = tab == std::string::npos ? run.text.size() : tab;
            if (to > from) {
                cells.widths.back() += TextWidthTwips(
                    std::string_view(run.text).substr(from, to - from), size, run.format.bold);
                cells.filled.back() = true;
            }
            if (tab == std::string::npos)
                break;
            cells.widths.push_back(0.0);
            cells.filled.push_back(false);
            from = tab + 1;
        }
    }
    return cells;
}

// The stops a tab can reach, ascending, each once: those beyond the left indent.
std::vector<int> reachableStops(const Paragraph& paragraph) {
    std::vector<int> stops;
    for (int stop : paragraph.tabStops)
        if (stop > paragraph.leftIndent)
            stops.push_back(stop);
    std::sort(stops.begin(), stops.end());
    stops.erase(std::unique(stops.begin(), stops.end()), stops.end());
    return stops;
}

// The next tab position beyond `pen`.
double nextTab(double pen, const std::vector<int>& stops, int leftIndent) {
    const auto stop = std::upper_bound(stops.begin(), stops.end(), pen,
                                       [](double x, int s) { return x < static_cast<double>(s); });
    if (stop != stops.end())
        return *stop;
    const double past = pen - leftIndent;
    return leftIndent + kDefaultTabTwips * (std::floor(past / kDefaultTabTwips) + 1.0);
}

// Where each tab lands, and how far right the text reaches (the end of the last cell holding
// text; the left indent when there is none).
struct Landing {
    std::vector<double> tabs;
    double reach = 0.0;
};

Landing land(const Cells& cells, const std::vector<int>& stops, int leftIndent) {
    Landing result;
    double pen = leftIndent;
    result.reach = leftIndent;
    for (std::size_t k = 0; k < cells.widths.size(); ++k) {
        pen += cells.widths[k];
        if (cells.filled[k])
            result.reach = std::max(result.reach, pen);
        if (k + 1 < cells.widths.size()) {
            pen = nextTab(pen, stops, leftIndent);
            result.tabs.push_back(pen);
        }
    }
    return result;
}

bool sameTable(const Paragraph& a, const Paragraph& b) {
    return a.leftIndent == b.leftIndent && a.rightIndent == b.rightIndent &&
           a.hangingIndent == b.hangingIndent && a.tabStops == b.tabStops;
}

// The rows of a table that hold cells (a tab and some text), and the largest size any
// tab-holding paragraph is set in.
struct TableRows {
    std::vector<std::size_t> rows;
    double largest = 0.0;
};

TableRows tableRows(const std::vector<Paragraph>& paragraphs, std::size_t begin, std::size_t end,
                    const ColumnFitOptions& options) {
    TableRows table;
    for (std::size_t p = begin; p < end; ++p) {
        const Cells cells = cellsOf(paragraphs[p], 0.0, options.minimumSize);
        if (!cells.hasTab())
            continue;
        for (const Run& run : paragraphs[p].runs)
            table.largest = std::max(table.largest, run.format.size);
        if (cells.hasText())
            table.rows.push_back(p);
    }
    return table;
}

// The columns, as the stops stand: the stops the tabs of the heading (the first row with text)
// land on. The other rows' cells belong under the heading's, one per tab.
std::vector<bool> headingColumns(const Paragraph& heading, const std::vector<int>& stops,
                                 const ColumnFitOptions& options) {
    std::vector<bool> isColumn(stops.size(), false);
    const Landing landing =
        land(cellsOf(heading, 0.0, options.minimumSize), stops, heading.leftIndent);
    for (double at : landing.tabs) {
        const auto found = std::find(stops.begin(), stops.end(), static_cast<int>(at));
        if (found != stops.end() && *found == at)
            isColumn[static_cast<std::size_t>(found - stops.begin())] = true;
    }
    return isColumn;
}

// The widest filled cell of each column at a size `step` points smaller.
std::vector<double> widestCells(const std::vector<Paragraph>& paragraphs,
                                const std::vector<std::size_t>& rows, std::size_t columnCount,
                                double step, const ColumnFitOptions& options) {
    std::vector<double> widest(columnCount, 0.0);
    for (std::size_t p : rows) {
        const Cells cells = cellsOf(paragraphs[p], step, options.minimumSize);
        for (std::size_t k = 0; k < cells.widths.size() && k < columnCount; ++k)
            if (cells.filled[k])
                widest[k] = std::max(widest[k], cells.widths[k]);
    }
    return widest;
}

// The stops moved so that each column's widest cell ends, with the gap, before the next column;
// every later stop moves with them. Stops past the last column with text serve rule lines and
// trailing tabs only: moved along, they stay on the page (unless the table wraps by design), so
// that a rule never wraps.
std::vector<int> placeStops(const std::vector<int>& stops, const std::vector<bool>& isColumn,
                            const std::vector<double>& widest, int leftIndent, bool wraps,
                            double limit, const ColumnFitOptions& options) {
    std::vector<int> fitted(stops.size(), 0);
    double shift = 0.0;
    double columnStart = leftIndent;
    std::size_t column = 0;
    std::size_t lastFilled = 0; // the stop of the last column holding text; 0 for the indent
    for (std::size_t j = 0; j < stops.size(); ++j) {
        double at = stops[j] + shift;
        if (isColumn[j]) {
            if (widest[column] > 0.0)
                at =
                    std::max(at, std::ceil(columnStart + widest[column] * (1.0 + options.gapShare) +
                                           options.gap));
            ++column;
            columnStart = at;
            if (column < widest.size() && widest[column] > 0.0)
                lastFilled = j + 1;
        }
        fitted[j] = static_cast<int>(std::lround(at));
        shift = fitted[j] - stops[j];
    }
    if (!wraps)
        for (std::size_t j = lastFilled; j < stops.size(); ++j)
            fitted[j] = std::min(fitted[j], static_cast<int>(limit));
    return fitted;
}

// How far right the widest row reaches on the fitted stops.
double reachOf(const std::vector<Paragraph>& paragraphs, const std::vector<std::size_t>& rows,
               const std::vector<int>& fitted, int leftIndent, double step,
               const ColumnFitOptions& options) {
    double reach = leftIndent;
    for (std::size_t p : rows)
        reach = std::max(
            reach,
            land(cellsOf(paragraphs[p], step, options.minimumSize), fitted, leftIndent).reach);
    return reach;
}

// Writes the fitted stops (and the smaller size, when there is one) into the table.
void applyFit(std::vector<Paragraph>& paragraphs, std::size_t begin, std::size_t end,
              const std::vector<int>& stops, const std::vector<int>& fitted, double step,
              const ColumnFitOptions& options) {
    std::map<int, int> moved;
    for (std::size_t j = 0; j < stops.size(); ++j)
        moved[stops[j]] = fitted[j];
    for (std::size_t p = begin; p < end; ++p) {
        Paragraph& paragraph = paragraphs[p];
        for (int& stop : paragraph.tabStops)
            if (const auto found = moved.find(stop); found != moved.end())
                stop = found->second;
        if (step > 0.0 && paragraph.text().find('\t') != std::string::npos)
            for (Run& run : paragraph.runs)
                run.format.size = shrunk(run.format.size, step, options.minimumSize);
    }
}

// Fits paragraphs [begin, end), which share their indents and stops: the stops as the cells
// need them, a step smaller while the widest row passes the right indent.
void fitTable(std::vector<Paragraph>& paragraphs, std::size_t begin, std::size_t end,
              const ColumnFitOptions& options) {
    const Paragraph& first = paragraphs[begin];
    const int leftIndent = first.leftIndent;
    const std::vector<int> stops = reachableStops(first);
    if (stops.empty())
        return;
    const TableRows table = tableRows(paragraphs, begin, end, options);
    if (table.rows.empty())
        return;
    const std::vector<bool> isColumn =
        headingColumns(paragraphs[table.rows.front()], stops, options);
    const std::size_t columnCount =
        1 + static_cast<std::size_t>(std::count(isColumn.begin(), isColumn.end(), true));
    // A wrapping value column (the project block) may be wider than the page by design.
    const bool wraps = first.hangingIndent > leftIndent;
    const double limit = options.textWidth - first.rightIndent;

    std::vector<int> fitted;
    double step = 0.0;
    while (true) {
        const std::vector<double> widest =
            widestCells(paragraphs, table.rows, columnCount, step, options);
        fitted = placeStops(stops, isColumn, widest, leftIndent, wraps, limit, options);
        const double reach = reachOf(paragraphs, table.rows, fitted, leftIndent, step, options);
        const bool smallest = table.largest - step <= options.minimumSize;
        if (wraps || reach <= limit || smallest)
            break;
        step += options.sizeStep;
    }
    applyFit(paragraphs, begin, end, stops, fitted, step, options);
}

} // namespace

void FitColumns(RichDocument& document, const ColumnFitOptions& options) {
    std::vector<Paragraph>& paragraphs = document.paragraphs;
    for (std::size_t begin = 0; begin < paragraphs.size();) {
        std::size_t end = begin + 1;
        while (end < paragraphs.size() && sameTable(paragraphs[begin], paragraphs[end]))
            ++end;
        fitTable(paragraphs, begin, end, options);
        begin = end;
    }
}

std::vector<double> TabLandings(const Paragraph& paragraph) {
    return land(cellsOf(paragraph, 0.0, 0.0), reachableStops(paragraph), paragraph.leftIndent).tabs;
}

} // namespace pluvane
