#include "rain/IdfPlot.h"

#include "app/Pictures.h"

#include "ReturnPeriods.h"
#include "text/NumberText.h"

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
    static const std::array<QColor, 7> colours{
        QColor(0x1f, 0x77, 0xb4), QColor(0x2c, 0xa0, 0x2c), QColor(0xff, 0x7f, 0x0e),
        QColor(0x94, 0x67, 0xbd), QColor(0x8c, 0x56, 0x4b), QColor(0xe3, 0x77, 0xc2),
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

void IdfPlot::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), Qt::white); // paper, whatever the desktop's colours

    QFont labelFont = font();
    labelFont.setPointSizeF(labelFont.pointSizeF() * 0.9);
    QFont titleFont = font();
    titleFont.setBold(true);
    const QFontMetrics fm(labelFont);
    const LogRange xRange = durationRange();
    const LogRange yRange = intensityRange();
    const std::vector<double> xTicks = seriesIn(xRange, {1, 2, 5});
    const std::vector<double> yTicks = seriesIn(yRange, {1, 2, 5});
    // Over many decades the 2s and 5s would crowd: then only the decades are labelled.
    const auto labelled = [](const LogRange& range, double value) {
        const bool crowded = decadeOf(range.high) - decadeOf(range.low) > 4;
        return !crowded || isDecade(value);
    };
    int yLabelWidth = 0;
    for (const double value : yTicks)
        yLabelWidth = std::max(yLabelWidth, fm.horizontalAdvance(tickText(value)));

    const int top = m_title.isEmpty() ? fm.height() : QFontMetrics(titleFont).height() + 14;
    const int left = fm.height() + 10 + yLabelWidth + 8;
    const int bottom = 2 * fm.height() + 14;
    const QRectF area = QRectF(rect()).adjusted(left, top, -18, -bottom);
    if (area.width() < 40 || area.height() < 40)
        return;

    const auto xOf = [&](double minutes) {
        return area.left() + (std::log10(minutes) - std::log10(xRange.low)) /
                                 (std::log10(xRange.high) - std::log10(xRange.low)) * area.width();
    };
    const auto yOf = [&](double intensity) {
        return area.bottom() - (std::log10(intensity) - std::log10(yRange.low)) /
                                   (std::log10(yRange.high) - std::log10(yRange.low)) * area.height();
    };

    // Grid: every decade darker, the values between lighter.
    const QPen decadePen(QColor(0xb0, 0xb7, 0xbb), 1);
    const QPen minorPen(QColor(0xe6, 0xe9, 0xeb), 1);
    for (const double x : seriesIn(xRange, {1, 2, 3, 4, 5, 6, 7, 8, 9})) {
        p.setPen(isDecade(x) ? decadePen : minorPen);
        p.drawLine(QPointF(xOf(x), area.top()), QPointF(xOf(x), area.bottom()));
    }
    for (const double y : seriesIn(yRange, {1, 2, 3, 4, 5, 6, 7, 8, 9})) {
        p.setPen(isDecade(y) ? decadePen : minorPen);
        p.drawLine(QPointF(area.left(), yOf(y)), QPointF(area.right(), yOf(y)));
    }
    p.setPen(QPen(QColor(0x37, 0x47, 0x4f), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(area);

    // Tick labels and axis titles.
    p.setFont(labelFont);
    for (const double x : xTicks) {
        if (!labelled(xRange, x))
            continue;
        const QRectF box(xOf(x) - 40, area.bottom() + 4, 80, fm.height());
        p.drawText(box, Qt::AlignHCenter | Qt::AlignTop, tickText(x));
    }
    for (const double y : yTicks) {
        if (!labelled(yRange, y))
            continue;
        const QRectF box(area.left() - 6 - yLabelWidth, yOf(y) - fm.height() / 2.0, yLabelWidth, fm.height());
        p.drawText(box, Qt::AlignRight | Qt::AlignVCenter, tickText(y));
    }
    p.drawText(QRectF(area.left(), area.bottom() + fm.height() + 8, area.width(), fm.height()),
               Qt::AlignHCenter | Qt::AlignTop, "Duration (min)");
    p.save();
    p.translate(4, area.center().y());
    p.rotate(-90);
    p.drawText(QRectF(-area.height() / 2, 0, area.height(), fm.height()), Qt::AlignHCenter | Qt::AlignTop,
               "Intensity (in/hr)");
    p.restore();
    if (!m_title.isEmpty()) {
        p.setFont(titleFont);
        p.drawText(QRectF(area.left(), 4, area.width(), top - 8), Qt::AlignCenter, m_title);
        p.setFont(labelFont);
    }

    // The curves, broken where a cell holds no positive number.
    p.save();
    p.setClipRect(area.adjusted(-4, -4, 4, 4));
    bool anyPoint = false;
    for (std::size_t k = 0; k < m_curves.size(); ++k) {
        const QColor colour = IdfCurveColour(static_cast<int>(k));
        const std::vector<IdfPoint>& points = m_curves[k].points;
        p.setPen(QPen(colour, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        for (std::size_t i = 1; i < points.size(); ++i)
            if (points[i].row == points[i - 1].row + 1)
                p.drawLine(QPointF(xOf(points[i - 1].minutes), yOf(points[i - 1].intensity)),
                           QPointF(xOf(points[i].minutes), yOf(points[i].intensity)));
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        for (const IdfPoint& point : points) {
            p.drawEllipse(QPointF(xOf(point.minutes), yOf(point.intensity)), 2.6, 2.6);
            anyPoint = true;
        }
    }
    p.restore();
    if (!anyPoint) {
        p.setPen(QColor(0x78, 0x90, 0x9c));
        p.drawText(area, Qt::AlignCenter, "No positive intensities to plot");
    }

    if (m_tc) {
        const double x = xOf(*m_tc);
        p.setPen(QPen(QColor(0x37, 0x47, 0x4f), 1.4, Qt::DashLine));
        p.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
        const QString text = QString("Tc = %1 min").arg(QString::fromStdString(FormatFixed(*m_tc, 1)));
        const double width = fm.horizontalAdvance(text) + 8;
        // Beside the line, on whichever side has room, low down where the falling curves leave space.
        const double labelLeft = x + width + 4 <= area.right() ? x + 3 : x - width - 3;
        const QRectF box(labelLeft, area.bottom() - fm.height() - 6, width, fm.height() + 2);
        p.fillRect(box, QColor(255, 255, 255, 225));
        p.setPen(QColor(0x37, 0x47, 0x4f));
        p.drawText(box, Qt::AlignCenter, text);
    }

    // Legend, top right, where the falling curves leave room: the highest curve first.
    const int sample = 18;
    int textWidth = 0;
    for (const IdfCurve& curve : m_curves)
        textWidth = std::max(textWidth, fm.horizontalAdvance(periodText(curve.years)));
    const double rowHeight = fm.height();
    const QRectF legend(area.right() - (sample + 6 + textWidth + 16) - 6, area.top() + 6,
                        sample + 6 + textWidth + 16, rowHeight * static_cast<double>(m_curves.size()) + 8);
    p.setPen(QPen(QColor(0xb0, 0xb7, 0xbb), 1));
    p.setBrush(QColor(255, 255, 255, 235));
    p.drawRect(legend);
    for (std::size_t i = 0; i < m_curves.size(); ++i) {
        const std::size_t k = m_curves.size() - 1 - i;
        const double y = legend.top() + 4 + rowHeight * static_cast<double>(i) + rowHeight / 2;
        p.setPen(QPen(IdfCurveColour(static_cast<int>(k)), 2.2));
        p.drawLine(QPointF(legend.left() + 8, y), QPointF(legend.left() + 8 + sample, y));
        p.setPen(QColor(0x26, 0x32, 0x38));
        p.drawText(QRectF(legend.left() + 8 + sample + 6, y - rowHeight / 2, textWidth + 4, rowHeight),
                   Qt::AlignLeft | Qt::AlignVCenter, periodText(m_curves[k].years));
    }
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
