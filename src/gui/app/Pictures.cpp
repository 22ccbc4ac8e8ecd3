#include "gui/app/Pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>

namespace pluvane::gui {

namespace {

void paintBasin(QPainter& p, const QRectF& r) {
    // A sub-basin: a patch of land with grass tufts.
    QLinearGradient green(r.topLeft(), r.bottomLeft());
    green.setColorAt(0, QColor(0x9c, 0xcc, 0x65));
    green.setColorAt(1, QColor(0x55, 0x8b, 0x2f));
    QPainterPath patch;
    patch.moveTo(r.left() + r.width() * 0.08, r.bottom() - 1);
    patch.cubicTo(r.left(), r.top() + r.height() * 0.3, r.left() + r.width() * 0.3, r.top() + 1,
                  r.center().x(), r.top() + r.height() * 0.15);
    patch.cubicTo(r.right() - r.width() * 0.2, r.top(), r.right(), r.top() + r.height() * 0.4,
                  r.right() - r.width() * 0.06, r.bottom() - 1);
    patch.closeSubpath();
    p.setBrush(green);
    p.setPen(QPen(QColor(0x33, 0x69, 0x1e), 1));
    p.drawPath(patch);
    p.setPen(QPen(QColor(0xe8, 0xf5, 0xe9), 1));
    for (double x = 0.25; x < 0.8; x += 0.18) {
        const QPointF base(r.left() + r.width() * x, r.bottom() - r.height() * 0.28);
        p.drawLine(base, base + QPointF(-2, -4));
        p.drawLine(base, base + QPointF(0, -5));
        p.drawLine(base, base + QPointF(2, -4));
    }
}

void paintSurface(QPainter& p, const QRectF& r) {
    // Shallow concentrated flow: a sheet of water over ground, arrows showing the flow.
    p.setPen(QPen(QColor(0x79, 0x55, 0x48), 1));
    p.setBrush(QColor(0xd7, 0xcc, 0xc8));
    p.drawRoundedRect(r.adjusted(0.5, r.height() * 0.2, -0.5, -0.5), 3, 3);
    p.setPen(QPen(QColor(0x1e, 0x88, 0xe5), 1.6));
    const double y1 = r.top() + r.height() * 0.48, y2 = r.top() + r.height() * 0.75;
    for (double y : {y1, y2}) {
        p.drawLine(QPointF(r.left() + 5, y), QPointF(r.right() - 7, y));
        p.drawLine(QPointF(r.right() - 7, y), QPointF(r.right() - 11, y - 3));
        p.drawLine(QPointF(r.right() - 7, y), QPointF(r.right() - 11, y + 3));
    }
}

void paintChannel(QPainter& p, const QRectF& r) {
    // A channel in section: a trapezoid of lining holding water.
    QPolygonF banks;
    banks << QPointF(r.left() + 1, r.top() + 1)
          << QPointF(r.left() + r.width() * 0.3, r.bottom() - 1)
          << QPointF(r.right() - r.width() * 0.3, r.bottom() - 1)
          << QPointF(r.right() - 1, r.top() + 1);
    p.setPen(QPen(QColor(0x61, 0x61, 0x61), 1.5));
    p.setBrush(QColor(0xbd, 0xbd, 0xbd));
    p.drawPolygon(banks);
    QPolygonF water;
    const double level = r.top() + r.height() * 0.35;
    const double inset = r.width() * 0.3 * 0.35 / 1.0;
    water << QPointF(r.left() + 1 + inset, level)
          << QPointF(r.left() + r.width() * 0.3 + 1, r.bottom() - 2)
          << QPointF(r.right() - r.width() * 0.3 - 1, r.bottom() - 2)
          << QPointF(r.right() - 1 - inset, level);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x42, 0xa5, 0xf5));
    p.drawPolygon(water);
}

void paintNode(QPainter& p, const QRectF& r) {
    // The outlet: a manhole cover.
    const QRectF disc = QRectF(0, 0, r.height() - 2, r.height() - 2);
    QRectF cover = disc;
    cover.moveCenter(r.center());
    QRadialGradient metal(cover.center(), cover.width() / 2);
    metal.setColorAt(0, QColor(0x78, 0x90, 0x9c));
    metal.setColorAt(1, QColor(0x37, 0x47, 0x4f));
    p.setBrush(metal);
    p.setPen(QPen(QColor(0x26, 0x32, 0x38), 1.5));
    p.drawEllipse(cover);
    p.setPen(QPen(QColor(0xcf, 0xd8, 0xdc), 1));
    p.drawEllipse(cover.adjusted(4, 4, -4, -4));
    p.drawLine(QPointF(cover.center().x(), cover.top() + 5),
               QPointF(cover.center().x(), cover.bottom() - 5));
    p.drawLine(QPointF(cover.left() + 5, cover.center().y()),
               QPointF(cover.right() - 5, cover.center().y()));
}

} // namespace

QPixmap ElementPicture(ElementKind kind, QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(0, 0, size.width(), size.height());
    switch (kind) {
    case ElementKind::Basin:
        paintBasin(p, r);
        break;
    case ElementKind::Surface:
        paintSurface(p, r);
        break;
    case ElementKind::Channel:
        paintChannel(p, r);
        break;
    case ElementKind::Node:
        paintNode(p, r);
        break;
    }
    return pixmap;
}

QIcon ApplicationIcon() {
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64, 128}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        const double s = side;
        QPainterPath drop;
        drop.moveTo(s * 0.5, s * 0.06);
        drop.cubicTo(s * 0.62, s * 0.3, s * 0.86, s * 0.48, s * 0.86, s * 0.64);
        drop.cubicTo(s * 0.86, s * 0.86, s * 0.7, s * 0.96, s * 0.5, s * 0.96);
        drop.cubicTo(s * 0.3, s * 0.96, s * 0.14, s * 0.86, s * 0.14, s * 0.64);
        drop.cubicTo(s * 0.14, s * 0.48, s * 0.38, s * 0.3, s * 0.5, s * 0.06);
        QLinearGradient blue(0, 0, 0, s);
        blue.setColorAt(0, QColor(0x64, 0xb5, 0xf6));
        blue.setColorAt(1, QColor(0x15, 0x65, 0xc0));
        p.setBrush(blue);
        p.setPen(QPen(QColor(0x0d, 0x47, 0xa1), std::max(1.0, s / 32)));
        p.drawPath(drop);
        p.setPen(QPen(Qt::white, std::max(1.0, s / 16), Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(s * 0.3, s * 0.7), QPointF(s * 0.7, s * 0.7)); // the flow out
        p.drawLine(QPointF(s * 0.58, s * 0.6), QPointF(s * 0.7, s * 0.7));
        p.drawLine(QPointF(s * 0.58, s * 0.8), QPointF(s * 0.7, s * 0.7));
        icon.addPixmap(pixmap);
    }
    return icon;
}

QIcon PaintedIcon(const std::function<void(QPainter&)>& paint) {
    QIcon icon;
    for (const int side : {16, 24, 32, 48}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(side / 24.0, side / 24.0);
        paint(p);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QPixmap StartScreenPicture(QSize size) {
    QPixmap pixmap(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const double w = size.width(), h = size.height();
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, QColor(0x45, 0x5a, 0x64));
    sky.setColorAt(0.55, QColor(0x90, 0xa4, 0xae));
    sky.setColorAt(1, QColor(0xcf, 0xd8, 0xdc));
    p.fillRect(pixmap.rect(), sky);
    // Rain.
    QRandomGenerator rng(1440); // fixed seed: the same picture every time
    p.setPen(QPen(QColor(255, 255, 255, 90), 1.2));
    for (int i = 0; i < 260; ++i) {
        const double x = rng.bounded(w + 60.0) - 30, y = rng.bounded(h * 0.75);
        p.drawLine(QPointF(x, y), QPointF(x - 6, y + 16));
    }
    // Hills draining to a channel.
    QPainterPath hills;
    hills.moveTo(0, h * 0.62);
    hills.cubicTo(w * 0.2, h * 0.5, w * 0.35, h * 0.58, w * 0.46, h * 0.8);
    hills.lineTo(w * 0.54, h * 0.8);
    hills.cubicTo(w * 0.65, h * 0.58, w * 0.8, h * 0.52, w, h * 0.6);
    hills.lineTo(w, h);
    hills.lineTo(0, h);
    hills.closeSubpath();
    QLinearGradient green(0, h * 0.5, 0, h);
    green.setColorAt(0, QColor(0x7c, 0xb3, 0x42));
    green.setColorAt(1, QColor(0x33, 0x69, 0x1e));
    p.fillPath(hills, green);
    QPainterPath water;
    water.moveTo(w * 0.465, h * 0.82);
    water.lineTo(w * 0.535, h * 0.82);
    water.lineTo(w * 0.56, h);
    water.lineTo(w * 0.44, h);
    water.closeSubpath();
    p.fillPath(water, QColor(0x42, 0xa5, 0xf5));
    // The name.
    QFont title("DejaVu Sans", std::max(12, size.height() / 9), QFont::Bold);
    title.setFamilies({"DejaVu Sans", "Segoe UI", "Arial"}); // the first installed
    title.setStyleHint(QFont::SansSerif);
    p.setFont(title);
    p.setPen(QColor(255, 255, 255, 235));
    p.drawText(QRectF(0, h * 0.08, w, h * 0.25), Qt::AlignCenter, "Pluvane");
    QFont subtitle("DejaVu Sans", std::max(8, size.height() / 30));
    subtitle.setFamilies({"DejaVu Sans", "Segoe UI", "Arial"});
    subtitle.setStyleHint(QFont::SansSerif);
    p.setFont(subtitle);
    p.drawText(QRectF(0, h * 0.28, w, h * 0.1), Qt::AlignCenter, "Rational Method storm drainage");
    return pixmap;
}

} // namespace pluvane::gui
