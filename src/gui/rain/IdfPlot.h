#pragma once

#include "core/store/IntensityDb.h"

#include <QIcon>
#include <QString>
#include <QWidget>

#include <array>
#include <optional>
#include <vector>

namespace pluvane::gui {

// The ten stored durations of a rainfall table in minutes, row by row (5 min .. 24 hr).
inline constexpr std::array<double, 10> kDurationMinutes{5,   10,  15,  30,  60,
                                                         120, 180, 360, 720, 1440};

// One plotted point: its table row (0..9), duration in minutes and intensity in in/hr.
struct IdfPoint {
    int row = 0;
    double minutes = 0;
    double intensity = 0;
};

// The intensity-duration curve of one return period (in years), in row order.
struct IdfCurve {
    int years = 0;
    std::vector<IdfPoint> points;
};

// The seven curves of a grid of texts, read with the lenient parse. A cell that reads zero or
// less has no place on a log axis: it is left out and its curve breaks there.
std::vector<IdfCurve> IdfCurves(const IntensityGrid& grid);

// A log axis between two values of the 1-2-5 series, e.g. 5 .. 2000.
struct LogRange {
    double low = 1;
    double high = 10;
};
// The narrowest 1-2-5 range that holds [low, high] (both > 0); a single value gets room on
// either side.
LogRange NiceLogRange(double low, double high);

// Intensity against duration on log-log axes: one curve per return period with its legend,
// grid lines at every decade (lighter ones between), and optionally a time of concentration
// marked by a vertical line. Painted by hand with QPainter rather than with Qt Charts, which is
// licensed GPL-3 only and brings the QML runtime along for seven polylines.
class IdfPlot : public QWidget {
    Q_OBJECT
public:
    explicit IdfPlot(QWidget* parent = nullptr);

    void setGrid(const IntensityGrid& grid);
    void setTitle(const QString& title);
    // Marks a duration (minutes), e.g. the total Tc of a solve; nullopt or <= 0 removes it.
    void setMarkedTc(std::optional<double> minutes);

    // What is drawn, for tests and for whoever needs the numbers.
    const std::vector<IdfCurve>& curves() const { return m_curves; }
    std::optional<double> markedTc() const { return m_tc; }
    const QString& title() const { return m_title; }
    LogRange durationRange() const;
    LogRange intensityRange() const;

    QSize sizeHint() const override { return {480, 400}; }
    QSize minimumSizeHint() const override { return {320, 260}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<IdfCurve> m_curves;
    std::optional<double> m_tc;
    QString m_title;
};

// The colour of the curve of return period `index` (0 = 1 year .. 6 = 100 years).
QColor IdfCurveColour(int index);

// A small picture of the plot, for the toolbar button that shows it.
QIcon IdfCurvesIcon();

} // namespace pluvane::gui
