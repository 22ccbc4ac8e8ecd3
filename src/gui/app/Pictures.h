#pragma once

#include "ElementKind.h"

#include <QIcon>
#include <QPixmap>
#include <QSize>

namespace pluvane::gui {

// The program's pictures, painted in code so that they stay sharp at any size and need no
// image files at run time.
QPixmap ElementPicture(ElementKind kind, QSize size);
QIcon ApplicationIcon();
QPixmap StartScreenPicture(QSize size);

} // namespace pluvane::gui
