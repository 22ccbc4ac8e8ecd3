#include "gui/network/CanvasView.h"

#include "core/network/NetworkModel.h"

#include <QBrush>
#include <QGraphicsEllipseItem>
#include <QGraphicsScene>
#include <QPen>

namespace pluvane::gui {

namespace {

constexpr double kMarkerTwips = 150; // about 10 pixels at 96 dpi

} // namespace

void CanvasView::setWarned(std::set<std::string> tags) {
    m_warned = std::move(tags);
    syncMarkers();
}

// A small amber disc over the picture's top-right corner. It carries no element data, so a
// press on it reaches the picture beneath.
void CanvasView::syncMarkers() {
    for (ElementKind kind : {ElementKind::Basin, ElementKind::Surface, ElementKind::Channel}) {
        const auto& images = m_model.images(kind);
        for (int i = 0; i < static_cast<int>(images.size()); ++i) {
            const CanvasImage& image = images[static_cast<std::size_t>(i)];
            const bool marked = image.visible && m_warned.count(image.tag) > 0;
            const std::pair<int, int> key{static_cast<int>(kind), i};
            if (!marked && !m_markers.count(key))
                continue;
            QGraphicsEllipseItem*& marker = m_markers[key];
            if (!marker) {
                marker = m_scene->addEllipse(0, 0, kMarkerTwips, kMarkerTwips,
                                             QPen(QColor(0x5d, 0x40, 0x37), 0),
                                             QBrush(QColor(0xff, 0xb3, 0x00)));
                marker->setZValue(1000001);
                marker->setToolTip(
                    "A review note warns about this element (Data > Review Project...)");
            }
            marker->setPos(image.left + image.width - kMarkerTwips / 2,
                           image.top - kMarkerTwips / 2);
            marker->setVisible(marked);
        }
    }
}

bool CanvasView::markerShown(ElementKind kind, int index) const {
    const auto marker = m_markers.find({static_cast<int>(kind), index});
    return marker != m_markers.end() && marker->second && marker->second->isVisible();
}

} // namespace pluvane::gui
