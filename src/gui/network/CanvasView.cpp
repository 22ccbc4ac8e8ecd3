#include "network/CanvasView.h"

#include "app/Pictures.h"
#include "network/NetworkModel.h"
#include "text/NumberText.h"

#include <QGraphicsLineItem>
#include <QGraphicsPixmapItem>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QMouseEvent>

namespace pluvane::gui {

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr int kLabelTwips = 165; // about 11 pixels at 96 dpi
constexpr ElementKind kAllKinds[] = {ElementKind::Basin, ElementKind::Surface, ElementKind::Channel,
                                     ElementKind::Node};

std::pair<int, int> key(ElementKind kind, int index) { return {static_cast<int>(kind), index}; }

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
        item->setTransform(QTransform::fromScale(image.width / pixels.width(), image.height / pixels.height()));
        item->setZValue(1);
        item->setData(0, static_cast<int>(kind));
        item->setData(1, index);
        QGraphicsRectItem* border = m_scene->addRect(0, 0, image.width, image.height, QPen(Qt::black, 0));
        border->setVisible(false);
        border->setZValue(1000000);
        m_borders[key(kind, index)] = border;
        QGraphicsSimpleTextItem* label = m_scene->addSimpleText(QString());
        QFont font("Liberation Sans");
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
            label->setText(name == m_names.end() ? QString() : name->second);
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
    m_scene->setSceneRect(m_scene->itemsBoundingRect().united(QRectF(0, 0, 16000, 12000)));
}

void CanvasView::setNames(std::map<std::pair<ElementKind, std::string>, QString> names) {
    m_names = std::move(names);
    sync();
}

QString CanvasView::nameShown(ElementKind kind, int index) const {
    const auto label = m_labels.find(key(kind, index));
    return label == m_labels.end() || !label->second->isVisible() ? QString() : label->second->text();
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
    if (!m_grabbed || event->buttons() != Qt::LeftButton) {
        QGraphicsView::mouseMoveEvent(event);
        return;
    }
    const QPointF scenePos = mapToScene(event->position().toPoint());
    m_model.MoveImage(m_grabbed->kind, m_grabbed->index, static_cast<float>(scenePos.x() - m_pressOffset.x()),
                      static_cast<float>(scenePos.y() - m_pressOffset.y()));
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

} // namespace pluvane::gui
