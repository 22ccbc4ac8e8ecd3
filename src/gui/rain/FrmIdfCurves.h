#pragma once

#include "core/store/IntensityDb.h"

#include <QWidget>

#include <optional>

namespace pluvane::gui {

class IdfPlot;

// What the report's plot shows: the rainfall table a solve read and the Tc it read it at.
struct IdfCurvesSource {
    QString location;
    IntensityGrid grid;
    std::optional<double> tcMinutes; // none when the solve did not run
};

// A small window with the IDF curves of one rainfall table and, when known, the total Tc of the
// solve marked on them. Deleted when closed.
class FrmIdfCurves final : public QWidget {
    Q_OBJECT
public:
    FrmIdfCurves(const IdfCurvesSource& source, const QIcon& icon, QWidget* parent = nullptr);

    IdfPlot* plot() const { return m_plot; }

private:
    IdfPlot* m_plot;
};

} // namespace pluvane::gui
