#include "gui/app/FrmOpen.h"

#include "gui/app/Pictures.h"

#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace pluvane::gui {

FrmOpen::FrmOpen(QWidget* parent) : QWidget(parent) {
    setObjectName("FrmOpen");
    setWindowTitle("Pluvane");
    auto* layout = new QVBoxLayout(this);
    layout->addStretch();
    auto* version = new QLabel("Version 1.1 Beta", this);
    version->setObjectName("LblVersion");
    version->setAlignment(Qt::AlignRight);
    version->setStyleSheet("color: white; font-size: 12pt; background: transparent;");
    layout->addWidget(version);
}

void FrmOpen::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(rect(), StartScreenPicture(size()));
}

} // namespace pluvane::gui
