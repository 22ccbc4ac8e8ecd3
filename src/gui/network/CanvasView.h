#pragma once

#include "core/ElementKind.h"

#include <QGraphicsView>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

class QGraphicsPixmapItem;
class QGraphicsLineItem;
class QGraphicsRectItem;
class QGraphicsEllipseItem;
class QGraphicsSimpleTextItem;

namespace pluvane {
class NetworkModel;
} // namespace pluvane

namespace pluvane::gui {

// The drawing: a view of the network model. Scene units are twips; the view scales them to the
// screen (1/15 at 96 dpi). It draws what the model holds and turns mouse presses, drags and
// releases into calls on the model and signals for the window.
class CanvasView : public QGraphicsView {
    Q_OBJECT
public:
    explicit CanvasView(NetworkModel& model, QWidget* parent = nullptr);

    // Brings the pictures, borders, names and connectors in line with the model.
    void sync();

    // The names shown under the pictures, by kind and tag (the node's under an empty tag).
    void setNames(std::map<std::pair<ElementKind, std::string>, QString> names);
    QString nameShown(ElementKind kind, int index) const;

    // The screen position (view coordinates) of an image's point at (dx, dy) twips from its
    // top-left corner, for tests that press and drag.
    QPoint viewPointOf(ElementKind kind, int index, double dx = 100, double dy = 100) const;
    int connectorCount() const { return static_cast<int>(m_lines.size()); }

    // Zoom, relative to the drawing's natural size (1 = 100 %, twips at the screen's dpi).
    double zoom() const { return m_zoom; }
    void setZoom(double zoom);
    void zoomIn();
    void zoomOut();
    // The drawing's bounding rectangle fills the window, centred: a large drawing is made
    // smaller, a small one larger (up to kMaxFitZoom).
    void zoomToFit();
    static constexpr double kMaxFitZoom = 4;
    void zoomToActualSize();
    // Until the user zooms, the drawing is fitted whenever it is larger than the window.
    void fitWhenLarger() {
        m_autoFit = true;
        applyAutoFit();
    }
    // Every live picture with its name, in scene units.
    QRectF drawingRect() const;
    // Paints the drawing (without the selection's border) into `target` of a painter on a page,
    // scaled to fit with its proportions kept.
    void renderDrawing(QPainter* painter, const QRectF& target);

    // Names longer than this are cut short under the picture; the whole name is its tooltip.
    static constexpr int kNameLength = 24;

    // The tags of the elements a review found a warning about; each carries a small marker at
    // its top-right corner (CanvasMarkers.cpp).
    void setWarned(std::set<std::string> tags);
    // False while the project cannot be written: a drag moves nothing.
    void setImagesMovable(bool movable) { m_movable = movable; }
    bool markerShown(ElementKind kind, int index) const;

signals:
    void imagePressed(pluvane::ElementKind kind, int index, Qt::MouseButton button,
                      QPoint globalPos);
    void imageReleased(pluvane::ElementKind kind, int index);
    // The keyboard: an arrow key moves the selection by (dx, dy) twips; its release ends the
    // move as a mouse release ends a drag. Tab asks for the next (or previous) element, Enter
    // for the selected element's dialog.
    void keyNudged(float dx, float dy);
    void keyNudgeEnded();
    void selectionCycleRequested(bool forward);
    void selectionOpenRequested();
    // The pointer is over the drawing at `scenePos` (twips); `inside` false when it left.
    void pointerMoved(QPointF scenePos, bool inside);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    struct Hit {
        ElementKind kind;
        int index;
    };
    std::optional<Hit> hitAt(const QPoint& viewPos) const;
    QGraphicsPixmapItem* itemFor(ElementKind kind, int index);
    bool hasSelection() const;
    void applyAutoFit();
    void fitNow();

    void syncMarkers();

    NetworkModel& m_model;
    QGraphicsScene* m_scene;
    std::map<std::pair<int, int>, QGraphicsPixmapItem*> m_items; // (kind, index) -> picture
    std::map<std::pair<int, int>, QGraphicsRectItem*> m_borders;
    std::map<std::pair<int, int>, QGraphicsSimpleTextItem*> m_labels;
    std::map<std::pair<ElementKind, std::string>, QString> m_names;
    std::vector<QGraphicsLineItem*> m_lines;
    std::set<std::string> m_warned;
    std::map<std::pair<int, int>, QGraphicsEllipseItem*> m_markers;
    qreal m_topZ = 1;
    // The grabbed point, in twips from the pressed image's top-left corner.
    std::optional<Hit> m_grabbed;
    QPointF m_pressOffset;
    double m_zoom = 1;
    bool m_autoFit = false;
    bool m_movable = true;
};

} // namespace pluvane::gui
