#include "gui/rain/FrmIdfCurves.h"

#include "gui/rain/IdfPlot.h"

#include <QVBoxLayout>

namespace pluvane::gui {

FrmIdfCurves::FrmIdfCurves(const IdfCurvesSource& source, const QIcon& icon, QWidget* parent)
    : QWidget(parent, Qt::Window), m_plot(new IdfPlot(this)) {
    setObjectName("FrmIdfCurves");
    setWindowTitle(QString("IDF Curves - %1").arg(source.location));
    setWindowIcon(icon);
    setAttribute(Qt::WA_DeleteOnClose);
    m_plot->setGrid(source.grid);
    m_plot->setTitle(source.location);
    m_plot->setMarkedTc(source.tcMinutes);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_plot);
    resize(640, 480);
}

} // namespace pluvane::gui
