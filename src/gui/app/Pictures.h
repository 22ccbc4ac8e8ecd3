#pragma once

#include "core/ElementKind.h"

#include <QIcon>
#include <QPixmap>
#include <QSize>

#include <functional>

class QPainter;

namespace pluvane::gui {

// The program's pictures, painted in code so that they stay sharp at any size and need no
// image files at run time.
QPixmap ElementPicture(ElementKind kind, QSize size);
QIcon ApplicationIcon();

// A toolbar icon painted at the usual sizes: `paint` draws on a 24 x 24 canvas, antialiased,
// which is scaled to each size.
QIcon PaintedIcon(const std::function<void(QPainter&)>& paint);
QPixmap StartScreenPicture(QSize size);

} // namespace pluvane::gui
