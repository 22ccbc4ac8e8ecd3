#include "gui/network/CanvasView.h"

#include "core/network/NetworkModel.h"
#include "core/text/NumberText.h"
#include "gui/app/Pictures.h"

#include <QCoreApplication>
#include <QGraphicsLineItem>
#include <QGraphicsPixmapItem>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

#include <algorithm>

namespace pluvane::gui {

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr int kLabelTwips = 165; // about 11 pixels at 96 dpi
constexpr ElementKind kAllKinds[] = {ElementKind::Basin, ElementKind::Surface, ElementKind::Channel,
                                     ElementKind::Node};

std::pair<int, int> key(ElementKind kind, int index) { return {static_cast<int>(kind), index}; }

constexpr double kZoomStep = 1.25;
constexpr double kMinZoom = 0.1;
constexpr double kMaxZoom = 8;

// A name on a patch of the canvas colour, so that a connector passing under it never crosses
// the letters.
class NameLabel : public QGraphicsSimpleTextItem {
public:
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option,
               QWidget* widget) override {
        if (!text().isEmpty())
            painter->fillRect(boundingRect().adjusted(-15, 0, 15, 0),
                              QColor(0xfa, 0xfa, 0xf7, 230));
        QGraphicsSimpleTextItem::paint(painter, option, widget);
    }
};

QString shortName(const QString& name, int length) {
    return name.size() <= length ? name : name.left(length - 1).trimmed() + QChar(0x2026);
}

} // namespace

CanvasView::CanvasView(NetworkModel& model, QWidget* parent)
    : QGraphicsView(parent), m_model(model), m_scene(new QGraphicsScene(this)) {
    setObjectName("CanvasView");
    setScene(m_scene);
    setRenderHint(QPainter::Antialiasing);
    setBackgroundBrush(QColor(0xfa, 0xfa, 0xf7));
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setDragMode(QGraphicsView::NoDrag);
    const double scale = logicalDpiX() / kTwipsPerInch;
    setTransform(QTransform::fromScale(scale, scale));
    m_scene->setSceneRect(0, 0, 16000, 12000);
    viewport()->setMouseTracking(true); // the status bar follows the pointer
    sync();
}

QGraphicsPixmapItem* CanvasView::itemFor(ElementKind kind, int index) {
    QGraphicsPixmapItem*& item = m_items[key(kind, index)];
    if (!item) {
        const CanvasImage& image = m_model.image(kind, index);
        const double scale = logicalDpiX() / kTwipsPerInch;
        const QSize pixels(qRound(image.width * scale), qRound(image.height * scale));
        item = m_scene->addPixmap(ElementPicture(kind, pixels));
        // The picture is painted at screen size; scale it back to twips in the scene.
        item->setTransform(
            QTransform::fromScale(image.width / pixels.width(), image.height / pixels.height()));
        item->setZValue(1);
        item->setData(0, static_cast<int>(kind));
        item->setData(1, index);
        QGraphicsRectItem* border =
            m_scene->addRect(0, 0, image.width, image.height, QPen(Qt::black, 0));
        border->setVisible(false);
        border->setZValue(1000000);
        m_borders[key(kind, index)] = border;
        auto* label = new NameLabel;
        m_scene->addItem(label);
        QFont font("Liberation Sans");
        font.setFamilies({"Liberation Sans", "Arial", "DejaVu Sans"}); // the first installed
        font.setStyleHint(QFont::SansSerif);
        font.setPixelSize(kLabelTwips);
        label->setFont(font);
        label->setBrush(QColor(0x26, 0x32, 0x38));
        label->setZValue(999999);
        m_labels[key(kind, index)] = label;
    }
    return item;
}

void CanvasView::sync() {
    for (ElementKind kind : kAllKinds) {
        const auto& images = m_model.images(kind);
        for (int i = 0; i < static_cast<int>(images.size()); ++i) {
            const CanvasImage& image = images[static_cast<std::size_t>(i)];
            if (!image.visible && !m_items.count(key(kind, i)))
                continue; // templates and deleted elements need no picture
            QGraphicsPixmapItem* item = itemFor(kind, i);
            item->setPos(image.left, image.top);
            item->setVisible(image.visible);
            QGraphicsRectItem* border = m_borders[key(kind, i)];
            border->setPos(image.left, image.top);
            border->setVisible(image.visible && image.bordered);
            QGraphicsSimpleTextItem* label = m_labels[key(kind, i)];
            const auto name = m_names.find({kind, image.tag});
            const QString fullName = name == m_names.end() ? QString() : name->second;
            label->setText(shortName(fullName, kNameLength));
            label->setToolTip(fullName);
            item->setToolTip(fullName);
            // Centred under the picture, so that the drawing says what each element is.
            label->setPos(image.left + image.width / 2 - label->boundingRect().width() / 2,
                          image.top + image.height + 20);
            label->setVisible(image.visible);
        }
    }
    const auto& connectors = m_model.connectors();
    while (m_lines.size() > connectors.size()) {
        delete m_lines.back();
        m_lines.pop_back();
    }
    while (m_lines.size() < connectors.size()) {
        QGraphicsLineItem* line = m_scene->addLine(QLineF(), QPen(QColor(0x37, 0x47, 0x4f), 0));
        line->setZValue(0); // under every picture
        m_lines.push_back(line);
    }
    for (std::size_t k = 0; k < connectors.size(); ++k)
        m_lines[k]->setLine(connectors[k].x1, connectors[k].y1, connectors[k].x2, connectors[k].y2);
    syncMarkers();
    // Let the scene grow with the drawing so every element stays reachable by scrolling.
    // A margin right and below lets Fit centre a drawing that reaches the scene's edge.
    m_scene->setSceneRect(
        m_scene->itemsBoundingRect().adjusted(0, 0, 480, 480).united(QRectF(0, 0, 16000, 12000)));
}

void CanvasView::setNames(std::map<std::pair<ElementKind, std::string>, QString> names) {
    m_names = std::move(names);
    sync();
}

QString CanvasView::nameShown(ElementKind kind, int index) const {
    const auto label = m_labels.find(key(kind, index));
    return label == m_labels.end() || !label->second->isVisible() ? QString()
                                                                  : label->second->text();
}

std::optional<CanvasView::Hit> CanvasView::hitAt(const QPoint& viewPos) const {
    for (QGraphicsItem* item : items(viewPos)) {
        if (item->data(0).isValid() && item->isVisible())
            return Hit{static_cast<ElementKind>(item->data(0).toInt()), item->data(1).toInt()};
    }
    return std::nullopt;
}

QPoint CanvasView::viewPointOf(ElementKind kind, int index, double dx, double dy) const {
    const CanvasImage& image = m_model.image(kind, index);
    return mapFromScene(QPointF(image.left + dx, image.top + dy));
}

void CanvasView::mousePressEvent(QMouseEvent* event) {
    const std::optional<Hit> hit = hitAt(event->position().toPoint());
    if (!hit) {
        QGraphicsView::mousePressEvent(event);
        return;
    }
    if (event->button() == Qt::LeftButton) {
        const CanvasImage& image = m_model.image(hit->kind, hit->index);
        const QPointF scenePos = mapToScene(event->position().toPoint());
        // The grabbed point in whole twips (halves to even), so it stays under the pointer.
        m_pressOffset = QPointF(static_cast<double>(RoundHalfEven(scenePos.x() - image.left)),
                                static_cast<double>(RoundHalfEven(scenePos.y() - image.top)));
        m_grabbed = hit;
        itemFor(hit->kind, hit->index)->setZValue(++m_topZ); // to the front
    }
    emit imagePressed(hit->kind, hit->index, event->button(), event->globalPosition().toPoint());
    event->accept();
}

void CanvasView::mouseMoveEvent(QMouseEvent* event) {
    emit pointerMoved(mapToScene(event->position().toPoint()), true);
    if (!m_grabbed || !m_movable || event->buttons() != Qt::LeftButton) {
        QGraphicsView::mouseMoveEvent(event);
        return;
    }
    const QPointF scenePos = mapToScene(event->position().toPoint());
    // Never past the drawing's top or left edge: a picture there could not be reached again.
    m_model.MoveImage(m_grabbed->kind, m_grabbed->index,
                      static_cast<float>(std::max(0.0, scenePos.x() - m_pressOffset.x())),
                      static_cast<float>(std::max(0.0, scenePos.y() - m_pressOffset.y())));
    sync();
    event->accept();
}

void CanvasView::mouseReleaseEvent(QMouseEvent* event) {
    std::optional<Hit> hit = m_grabbed ? m_grabbed : hitAt(event->position().toPoint());
    m_grabbed.reset();
    if (!hit) {
        QGraphicsView::mouseReleaseEvent(event);
        return;
    }
    emit imageReleased(hit->kind, hit->index);
    event->accept();
}

bool CanvasView::hasSelection() const {
    for (ElementKind kind : kAllKinds)
        for (const CanvasImage& image : m_model.images(kind))
            if (image.visible && image.bordered)
                return true;
    return false;
}

namespace {

// Twips per arrow key press; with Shift ten times as far.
constexpr float kNudgeTwips = 15;
constexpr float kShiftNudgeTwips = 150;

std::optional<QPointF> arrowStep(const QKeyEvent* event) {
    const float step = event->modifiers() & Qt::ShiftModifier ? kShiftNudgeTwips : kNudgeTwips;
    switch (event->key()) {
    case Qt::Key_Left:
        return QPointF(-step, 0);
    case Qt::Key_Right:
        return QPointF(step, 0);
    case Qt::Key_Up:
        return QPointF(0, -step);
    case Qt::Key_Down:
        return QPointF(0, step);
    default:
        return std::nullopt;
    }
}

} // namespace

void CanvasView::keyPressEvent(QKeyEvent* event) {
    if (const std::optional<QPointF> step = arrowStep(event); step && hasSelection()) {
        emit keyNudged(static_cast<float>(step->x()), static_cast<float>(step->y()));
        event->accept();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && hasSelection()) {
        emit selectionOpenRequested();
        event->accept();
        return;
    }
    QGraphicsView::keyPressEvent(event);
}

void CanvasView::keyReleaseEvent(QKeyEvent* event) {
    if (arrowStep(event) && !event->isAutoRepeat()) {
        emit keyNudgeEnded();
        event->accept();
        return;
    }
    QGraphicsView::keyReleaseEvent(event);
}

bool CanvasView::event(QEvent* event) {
    // Tab walks the elements instead of leaving the canvas.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
            !(key->modifiers() & Qt::ControlModifier)) {
            emit selectionCycleRequested(key->key() == Qt::Key_Tab &&
                                         !(key->modifiers() & Qt::ShiftModifier));
            return true;
        }
    }
    return QGraphicsView::event(event);
}

void CanvasView::setZoom(double zoom) {
    const double clamped = std::clamp(zoom, kMinZoom, kMaxZoom);
    if (clamped == m_zoom)
        return; // a new transform would scroll the view even at the same scale
    m_zoom = clamped;
    const double scale = logicalDpiX() / kTwipsPerInch * m_zoom;
    setTransform(QTransform::fromScale(scale, scale));
}

void CanvasView::zoomIn() {
    m_autoFit = false;
    setZoom(m_zoom * kZoomStep);
}

void CanvasView::zoomOut() {
    m_autoFit = false;
    setZoom(m_zoom / kZoomStep);
}

QRectF CanvasView::drawingRect() const {
    QRectF rect;
    for (const auto& [k, item] : m_items)
        if (item->isVisible())
            rect = rect.united(item->sceneBoundingRect());
    for (const auto& [k, label] : m_labels)
        if (label->isVisible() && !label->text().isEmpty())
            rect = rect.united(label->sceneBoundingRect());
    return rect;
}

void CanvasView::renderDrawing(QPainter* painter, const QRectF& target) {
    std::vector<QGraphicsRectItem*> hidden;
    for (const auto& [k, border] : m_borders)
        if (border->isVisible()) {
            border->hide();
            hidden.push_back(border);
        }
    m_scene->render(painter, target, drawingRect().adjusted(-120, -120, 120, 120),
                    Qt::KeepAspectRatio);
    for (QGraphicsRectItem* border : hidden)
        border->show();
}

void CanvasView::zoomToFit() {
    m_autoFit = false;
    const QRectF drawing = drawingRect();
    // The room left when both scroll bars show, so that one appearing cannot hide an edge.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const QSize room = maximumViewportSize() - QSize(bar, bar);
    if (drawing.isEmpty() || room.isEmpty())
        return;
    // A margin of a quarter inch around the drawing, so no picture touches the window's edge.
    const QRectF shown = drawing.adjusted(-360, -360, 360, 360);
    const double natural = logicalDpiX() / kTwipsPerInch;
    const double fit = std::min(room.width() / (shown.width() * natural),
                                room.height() / (shown.height() * natural));
    setZoom(std::min(fit, kMaxFitZoom));
    // The scroll bars the new scale needs show or hide on a queued call; taken now, so that the
    // centre is found in the viewport as it will stay.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    centerOn(shown.center());
}

void CanvasView::zoomToActualSize() {
    m_autoFit = false;
    setZoom(1);
}

void CanvasView::fitNow() {
    const QRectF drawing = drawingRect();
    const QSize room = viewport()->size();
    if (drawing.isEmpty() || room.isEmpty())
        return;
    // From the drawing's origin, as it is laid out, with a margin right and below.
    const QRectF shown(0, 0, drawing.right() + 240, drawing.bottom() + 240);
    const double natural = logicalDpiX() / kTwipsPerInch;
    const double fit = std::min(room.width() / (shown.width() * natural),
                                room.height() / (shown.height() * natural));
    setZoom(std::min(1.0, fit));
    horizontalScrollBar()->setValue(horizontalScrollBar()->minimum());
    verticalScrollBar()->setValue(verticalScrollBar()->minimum());
}

void CanvasView::applyAutoFit() {
    if (!m_autoFit || !isVisible())
        return;
    const QRectF drawing = drawingRect();
    const double natural = logicalDpiX() / kTwipsPerInch;
    const bool larger = (drawing.right() + 240) * natural > viewport()->width() ||
                        (drawing.bottom() + 240) * natural > viewport()->height();
    if (larger) {
        fitNow();
    } else {
        setZoom(1);
        horizontalScrollBar()->setValue(horizontalScrollBar()->minimum());
        verticalScrollBar()->setValue(verticalScrollBar()->minimum());
    }
}

void CanvasView::resizeEvent(QResizeEvent* event) {
    QGraphicsView::resizeEvent(event);
    applyAutoFit();
}

void CanvasView::leaveEvent(QEvent* event) {
    emit pointerMoved(QPointF(), false);
    QGraphicsView::leaveEvent(event);
}

void CanvasView::wheelEvent(QWheelEvent* event) {
    if (event->modifiers() & Qt::ControlModifier) {
        event->angleDelta().y() > 0 ? zoomIn() : zoomOut();
        event->accept();
        return;
    }
    QGraphicsView::wheelEvent(event);
}

} // namespace pluvane::gui
