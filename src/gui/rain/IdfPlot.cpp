#include "gui/rain/IdfPlot.h"

#include "gui/app/Pictures.h"

#include "core/ReturnPeriods.h"
#include "core/text/NumberText.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>
#include <cmath>

namespace pluvane::gui {

namespace {

// A value's decade exponent; the small lift keeps exact powers of ten (1000) in their own decade.
double decadeOf(double value) { return std::floor(std::log10(value) + 1e-12); }

bool isDecade(double value) { return std::abs(value / std::pow(10.0, decadeOf(value)) - 1) < 1e-9; }

double niceBelow(double value) {
    const double unit = std::pow(10.0, decadeOf(value));
    const double mantissa = value / unit;
    for (const double step : {5.0, 2.0})
        if (mantissa >= step * (1 - 1e-9))
            return step * unit;
    return unit;
}

double niceAbove(double value) {
    const double unit = std::pow(10.0, decadeOf(value));
    const double mantissa = value / unit;
    for (const double step : {1.0, 2.0, 5.0})
        if (mantissa <= step * (1 + 1e-9))
            return step * unit;
    return 10 * unit;
}

bool inRange(double value, const LogRange& range) {
    return value >= range.low * (1 - 1e-9) && value <= range.high * (1 + 1e-9);
}

// Every value m x 10^e of the range for the given mantissas, ascending.
std::vector<double> seriesIn(const LogRange& range, std::initializer_list<int> mantissas) {
    std::vector<double> values;
    for (double e = decadeOf(range.low); e <= decadeOf(range.high); ++e)
        for (const int m : mantissas)
            if (const double value = m * std::pow(10.0, e); inRange(value, range))
                values.push_back(value);
    return values;
}

QString tickText(double value) {
    // 0.05, 0.2, 1, 20, 1000: as many decimals as the value needs, never an exponent.
    const int decimals = value >= 1 ? 0 : static_cast<int>(-decadeOf(value));
    return QString::number(value, 'f', decimals);
}

QString periodText(int years) { return QString("%1 yr").arg(years); }

} // namespace

std::vector<IdfCurve> IdfCurves(const IntensityGrid& grid) {
    std::vector<IdfCurve> curves;
    for (std::size_t k = 0; k < ReturnPeriods.size(); ++k) {
        IdfCurve curve;
        curve.years = ReturnPeriods[k];
        for (std::size_t r = 0; r < grid.size(); ++r) {
            const double intensity = ParseLenient(grid[r][k]);
            if (intensity > 0)
                curve.points.push_back({static_cast<int>(r), kDurationMinutes[r], intensity});
        }
        curves.push_back(std::move(curve));
    }
    return curves;
}

LogRange NiceLogRange(double low, double high) {
    if (!(low > 0) || !(high > 0) || !std::isfinite(low) || !std::isfinite(high))
        return {};
    if (low > high)
        std::swap(low, high);
    LogRange range{niceBelow(low), niceAbove(high)};
    if (range.high <= range.low * (1 + 1e-9))
        range = {niceBelow(low / 1.5), niceAbove(high * 1.5)};
    return range;
}

QColor IdfCurveColour(int index) {
    // Distinct hues in return-period order, readable on white and in print.
    static const std::array<QColor, 7> colours{QColor(0x1f, 0x77, 0xb4), QColor(0x2c, 0xa0, 0x2c),
                                               QColor(0xff, 0x7f, 0x0e), QColor(0x94, 0x67, 0xbd),
                                               QColor(0x8c, 0x56, 0x4b), QColor(0xe3, 0x77, 0xc2),
                                               QColor(0xd6, 0x27, 0x28)};
    return colours[static_cast<std::size_t>(std::clamp(index, 0, 6))];
}

IdfPlot::IdfPlot(QWidget* parent) : QWidget(parent) {
    setObjectName("IdfPlot");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_curves = IdfCurves(IntensityGrid{});
}

void IdfPlot::setGrid(const IntensityGrid& grid) {
    m_curves = IdfCurves(grid);
    update();
}

void IdfPlot::setTitle(const QString& title) {
    m_title = title;
    update();
}

void IdfPlot::setMarkedTc(std::optional<double> minutes) {
    m_tc = minutes && *minutes > 0 && std::isfinite(*minutes) ? minutes : std::nullopt;
    update();
}

LogRange IdfPlot::durationRange() const {
    double low = kDurationMinutes.front(), high = kDurationMinutes.back();
    if (m_tc) {
        low = std::min(low, *m_tc);
        high = std::max(high, *m_tc);
    }
    return NiceLogRange(low, high);
}

LogRange IdfPlot::intensityRange() const {
    double low = 0, high = 0;
    for (const IdfCurve& curve : m_curves)
        for (const IdfPoint& point : curve.points) {
            low = low > 0 ? std::min(low, point.intensity) : point.intensity;
            high = std::max(high, point.intensity);
        }
    return low > 0 ? NiceLogRange(low, high) : LogRange{0.1, 10};
}

namespace {

// The plot's layout, in pixels.
constexpr int kTitleGap = 14;     // below the title line
constexpr int kAxisTitleGap = 10; // between the rotated axis title and the tick labels
constexpr int kTickLabelGap = 8;  // between the y tick labels and the plot area
constexpr int kBottomGap = 14;    // below the x tick labels and the x axis title
constexpr int kRightMargin = 18;
constexpr int kMinimumArea = 40;    // smaller than this, nothing is drawn
constexpr double kLabelScale = 0.9; // tick and legend labels against the widget font
constexpr int kCrowdedDecades = 4;  // beyond this many decades only decades are labelled
constexpr double kCurveWidth = 1.8;
constexpr double kPointRadius = 2.6;
constexpr double kTcLineWidth = 1.4;
constexpr int kLegendSample = 18; // the length of a legend's line sample
constexpr double kLegendLineWidth = 2.2;

const QColor kDecadeGrid(0xb0, 0xb7, 0xbb);
const QColor kMinorGrid(0xe6, 0xe9, 0xeb);
const QColor kFrameColour(0x37, 0x47, 0x4f);
const QColor kNoDataColour(0x78, 0x90, 0x9c);
const QColor kLegendText(0x26, 0x32, 0x38);

// The plot area and the two logarithmic axes that map onto it.
struct PlotFrame {
    QRectF area;
    LogRange x, y;
    QFontMetrics fm;

    double xOf(double minutes) const {
        return area.left() + (std::log10(minutes) - std::log10(x.low)) /
                                 (std::log10(x.high) - std::log10(x.low)) * area.width();
    }
    double yOf(double intensity) const {
        return area.bottom() - (std::log10(intensity) - std::log10(y.low)) /
                                   (std::log10(y.high) - std::log10(y.low)) * area.height();
    }
};

// Over many decades the 2s and 5s would crowd: then only the decades are labelled.
bool labelled(const LogRange& range, double value) {
    const bool crowded = decadeOf(range.high) - decadeOf(range.low) > kCrowdedDecades;
    return !crowded || isDecade(value);
}

// Grid: every decade darker, the values between lighter; then the frame.
void drawGrid(QPainter& p, const PlotFrame& f) {
    const QPen decadePen(kDecadeGrid, 1);
    const QPen minorPen(kMinorGrid, 1);
    for (const double x : seriesIn(f.x, {1, 2, 3, 4, 5, 6, 7, 8, 9})) {
        p.setPen(isDecade(x) ? decadePen : minorPen);
        p.drawLine(QPointF(f.xOf(x), f.area.top()), QPointF(f.xOf(x), f.area.bottom()));
    }
    for (const double y : seriesIn(f.y, {1, 2, 3, 4, 5, 6, 7, 8, 9})) {
        p.setPen(isDecade(y) ? decadePen : minorPen);
        p.drawLine(QPointF(f.area.left(), f.yOf(y)), QPointF(f.area.right(), f.yOf(y)));
    }
    p.setPen(QPen(kFrameColour, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(f.area);
}

// Tick labels and axis titles, in the label font.
void drawAxes(QPainter& p, const PlotFrame& f, int yLabelWidth) {
    const QFontMetrics& fm = f.fm;
    for (const double x : seriesIn(f.x, {1, 2, 5})) {
        if (!labelled(f.x, x))
            continue;
        const QRectF box(f.xOf(x) - 40, f.area.bottom() + 4, 80, fm.height());
        p.drawText(box, Qt::AlignHCenter | Qt::AlignTop, tickText(x));
    }
    for (const double y : seriesIn(f.y, {1, 2, 5})) {
        if (!labelled(f.y, y))
            continue;
        const QRectF box(f.area.left() - 6 - yLabelWidth, f.yOf(y) - fm.height() / 2.0, yLabelWidth,
                         fm.height());
        p.drawText(box, Qt::AlignRight | Qt::AlignVCenter, tickText(y));
    }
    p.drawText(
        QRectF(f.area.left(), f.area.bottom() + fm.height() + 8, f.area.width(), fm.height()),
        Qt::AlignHCenter | Qt::AlignTop, "Duration (min)");
    p.save();
    p.translate(4, f.area.center().y());
    p.rotate(-90);
    p.drawText(QRectF(-f.area.height() / 2, 0, f.area.height(), fm.height()),
               Qt::AlignHCenter | Qt::AlignTop, "Intensity (in/hr)");
    p.restore();
}

// The curves, broken where a cell holds no positive number. False when there was no point.
bool drawCurves(QPainter& p, const PlotFrame& f, const std::vector<IdfCurve>& curves) {
    p.save();
    p.setClipRect(f.area.adjusted(-4, -4, 4, 4));
    bool anyPoint = false;
    for (std::size_t k = 0; k < curves.size(); ++k) {
        const QColor colour = IdfCurveColour(static_cast<int>(k));
        const std::vector<IdfPoint>& points = curves[k].points;
        p.setPen(QPen(colour, kCurveWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        for (std::size_t i = 1; i < points.size(); ++i)
            if (points[i].row == points[i - 1].row + 1)
                p.drawLine(QPointF(f.xOf(points[i - 1].minutes), f.yOf(points[i - 1].intensity)),
                           QPointF(f.xOf(points[i].minutes), f.yOf(points[i].intensity)));
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        for (const IdfPoint& point : points) {
            p.drawEllipse(QPointF(f.xOf(point.minutes), f.yOf(point.intensity)), kPointRadius,
                          kPointRadius);
            anyPoint = true;
        }
    }
    p.restore();
    return anyPoint;
}

void drawTcMarker(QPainter& p, const PlotFrame& f, double tc) {
    const double x = f.xOf(tc);
    p.setPen(QPen(kFrameColour, kTcLineWidth, Qt::DashLine));
    p.drawLine(QPointF(x, f.area.top()), QPointF(x, f.area.bottom()));
    const QString text = QString("Tc = %1 min").arg(QString::fromStdString(FormatFixed(tc, 1)));
    const double width = f.fm.horizontalAdvance(text) + 8;
    // Beside the line, on whichever side has room, low down where the falling curves leave space.
    const double labelLeft = x + width + 4 <= f.area.right() ? x + 3 : x - width - 3;
    const QRectF box(labelLeft, f.area.bottom() - f.fm.height() - 6, width, f.fm.height() + 2);
    p.fillRect(box, QColor(255, 255, 255, 225));
    p.setPen(kFrameColour);
    p.drawText(box, Qt::AlignCenter, text);
}

// Legend, top right, where the falling curves leave room: the highest curve first.
void drawLegend(QPainter& p, const PlotFrame& f, const std::vector<IdfCurve>& curves) {
    int textWidth = 0;
    for (const IdfCurve& curve : curves)
        textWidth = std::max(textWidth, f.fm.horizontalAdvance(periodText(curve.years)));
    const double rowHeight = f.fm.height();
    const int width = kLegendSample + 6 + textWidth + 16;
    const QRectF legend(f.area.right() - width - 6, f.area.top() + 6, width,
                        rowHeight * static_cast<double>(curves.size()) + 8);
    p.setPen(QPen(kDecadeGrid, 1));
    p.setBrush(QColor(255, 255, 255, 235));
    p.drawRect(legend);
    for (std::size_t i = 0; i < curves.size(); ++i) {
        const std::size_t k = curves.size() - 1 - i;
        const double y = legend.top() + 4 + rowHeight * static_cast<double>(i) + rowHeight / 2;
        p.setPen(QPen(IdfCurveColour(static_cast<int>(k)), kLegendLineWidth));
        p.drawLine(QPointF(legend.left() + 8, y), QPointF(legend.left() + 8 + kLegendSample, y));
        p.setPen(kLegendText);
        p.drawText(QRectF(legend.left() + 8 + kLegendSample + 6, y - rowHeight / 2, textWidth + 4,
                          rowHeight),
                   Qt::AlignLeft | Qt::AlignVCenter, periodText(curves[k].years));
    }
}

} // namespace

void IdfPlot::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), Qt::white); // paper, whatever the desktop's colours

    QFont labelFont = font();
    labelFont.setPointSizeF(labelFont.pointSizeF() * kLabelScale);
    QFont titleFont = font();
    titleFont.setBold(true);
    const QFontMetrics fm(labelFont);
    const LogRange xRange = durationRange();
    const LogRange yRange = intensityRange();
    int yLabelWidth = 0;
    for (const double value : seriesIn(yRange, {1, 2, 5}))
        yLabelWidth = std::max(yLabelWidth, fm.horizontalAdvance(tickText(value)));

    const int top = m_title.isEmpty() ? fm.height() : QFontMetrics(titleFont).height() + kTitleGap;
    const int left = fm.height() + kAxisTitleGap + yLabelWidth + kTickLabelGap;
    const int bottom = 2 * fm.height() + kBottomGap;
    const PlotFrame frame{QRectF(rect()).adjusted(left, top, -kRightMargin, -bottom), xRange,
                          yRange, fm};
    if (frame.area.width() < kMinimumArea || frame.area.height() < kMinimumArea)
        return;

    drawGrid(p, frame);
    p.setFont(labelFont);
    drawAxes(p, frame, yLabelWidth);
    if (!m_title.isEmpty()) {
        p.setFont(titleFont);
        p.drawText(QRectF(frame.area.left(), 4, frame.area.width(), top - 8), Qt::AlignCenter,
                   m_title);
        p.setFont(labelFont);
    }
    if (!drawCurves(p, frame, m_curves)) {
        p.setPen(kNoDataColour);
        p.drawText(frame.area, Qt::AlignCenter, "No positive intensities to plot");
    }
    if (m_tc)
        drawTcMarker(p, frame, *m_tc);
    drawLegend(p, frame, m_curves);
}

QIcon IdfCurvesIcon() {
    return PaintedIcon([](QPainter& p) {
        p.setPen(QPen(QColor(0xfa, 0xfa, 0xfa), 0));
        p.setBrush(QColor(0xfa, 0xfa, 0xfa));
        p.drawRect(QRectF(4, 3, 17, 17));
        p.setPen(QPen(QColor(0x37, 0x47, 0x4f), 1.4));
        p.drawLine(QPointF(4, 3), QPointF(4, 20));
        p.drawLine(QPointF(4, 20), QPointF(21, 20));
        // Three falling curves, as the plot shows them.
        const int colours[] = {0, 3, 6};
        for (int i = 0; i < 3; ++i) {
            const double lift = 4.0 * i;
            QPainterPath curve;
            curve.moveTo(5.5, 12 - lift);
            curve.cubicTo(9, 15 - lift, 13, 16.5 - lift, 20.5, 17.5 - lift);
            p.setPen(QPen(IdfCurveColour(colours[i]), 1.6, Qt::SolidLine, Qt::RoundCap));
            p.setBrush(Qt::NoBrush);
            p.drawPath(curve);
        }
    });
}

} // namespace pluvane::gui
