#include "gui/settings/FrmAbout.h"

#include "gui/app/AppContext.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace pluvane::gui {

namespace {

constexpr double kProductNamePoints = 13.5;

} // namespace

FrmAbout::FrmAbout(AppContext& ctx, QWidget* parent)
    : ModelessDialog(ctx, parent, "FrmAbout", "About", Prompts::Icon::Exclamation) {
    QLabel* productName = makeLabel("LblProductName", "Pluvane");
    QFont nameFont = productName->font();
    // The name stands out from the rest even where the desktop's own text is large.
    nameFont.setPointSizeF(std::max(kProductNamePoints, nameFont.pointSizeF() + 4));
    productName->setFont(nameFont);
    QLabel* version = makeLabel("LblVersion", "Version 1.1 Beta");
    QLabel* line1 = makeLabel("LblDescription1", "Software for Hydraulic Calculation Methods");
    QLabel* line2 =
        makeLabel("LblDescription2", "Hydrolic Calculations program utilizing Rational Method.");
    QPushButton* ok = makeButton("Command1", "OK");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QWidget::close);

    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(16);
    int column = 0;
    if (const QIcon icon = ctx.icon(); !icon.isNull()) {
        QLabel* picture = makeLabel("PicIcon", QString());
        picture->setPixmap(icon.pixmap(48, 48));
        picture->setAlignment(Qt::AlignTop);
        grid->addWidget(picture, 0, 0, 3, 1);
        column = 1;
    }
    auto* title = new QHBoxLayout;
    title->addWidget(productName, 0, Qt::AlignBaseline);
    title->addSpacing(12);
    title->addWidget(version, 0, Qt::AlignBaseline);
    title->addStretch();
    grid->addLayout(title, 0, column);
    grid->addWidget(line1, 1, column);
    grid->addWidget(line2, 2, column);
    grid->setRowMinimumHeight(3, 8);
    grid->addWidget(ok, 4, column, Qt::AlignRight);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}

FrmAbout* FrmAbout::open(AppContext& ctx, QWidget* parent) {
    return ctx.open<FrmAbout>([&] { return new FrmAbout(ctx, parent); });
}

} // namespace pluvane::gui
