#include "gui/elements/FrmTrapezArea.h"

#include "core/elements/ElementCalculations.h"
#include "gui/elements/ChannelDialogs.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

namespace pluvane::gui {

namespace {

// The window's layout, in pixels.
constexpr int kSketchGap = 8;     // between the sketch and the inputs
constexpr int kFormulaMargin = 4; // around the formulas, on their white ground
constexpr int kResultGap = 16;    // between the two results
constexpr int kButtonGap = 6;     // above the buttons

// A dimension line with arrow heads at both ends.
void drawDimension(QPainter& painter, QPointF from, QPointF to) {
    painter.drawLine(from, to);
    const QLineF line(from, to);
    const QLineF unit = line.unitVector();
    const QPointF along(unit.dx() * 6, unit.dy() * 6);
    const QPointF across(-unit.dy() * 3, unit.dx() * 3);
    for (const auto& [tip, back] : {std::pair{from, along}, std::pair{to, -along}}) {
        QPainterPath head;
        head.moveTo(tip);
        head.lineTo(tip + back + across);
        head.lineTo(tip + back - across);
        head.closeSubpath();
        painter.fillPath(head, painter.pen().color());
    }
}

} // namespace

TrapezoidSketch::TrapezoidSketch(QWidget* parent) : QWidget(parent) {
    setObjectName("PicSection");
    setFixedSize(sizeHint());
}

QSize TrapezoidSketch::sizeHint() const { return {280, 160}; }

void TrapezoidSketch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), Qt::white);

    // Drawn proportions: bottom 90 px, depth 64 px, sides at 1.1 horizontal to 1 vertical.
    constexpr qreal bottomWidth = 90, depth = 64, freeboard = 16, slope = 1.1;
    const qreal bottomY = height() - 38.0;
    const qreal left = width() / 2.0 - bottomWidth / 2.0 - 14;
    const QPointF bottomLeft(left, bottomY), bottomRight(left + bottomWidth, bottomY);
    const auto onBank = [&](QPointF foot, qreal rise, int side) {
        return QPointF(foot.x() + side * rise * slope, foot.y() - rise);
    };
    const QPointF waterLeft = onBank(bottomLeft, depth, -1);
    const QPointF waterRight = onBank(bottomRight, depth, 1);
    const QPointF bankLeft = onBank(bottomLeft, depth + freeboard, -1);
    const QPointF bankRight = onBank(bottomRight, depth + freeboard, 1);

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(205, 228, 255));
    painter.drawPolygon(QPolygonF({bottomLeft, bottomRight, waterRight, waterLeft}));
    painter.setPen(QPen(QColor(0, 70, 200), 1.5));
    painter.drawLine(waterLeft, waterRight);
    painter.setPen(QPen(Qt::black, 2));
    painter.drawPolyline(QPolygonF({bankLeft, bottomLeft, bottomRight, bankRight}));

    QFont font = painter.font();
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QPen(Qt::black, 1));

    // B below the bottom.
    const qreal dimensionY = bottomY + 14;
    drawDimension(painter, {bottomLeft.x(), dimensionY}, {bottomRight.x(), dimensionY});
    painter.drawText(QRectF(bottomLeft.x(), dimensionY + 2, bottomWidth, 18), Qt::AlignCenter, "B");

    // Y beside the right bank, from the bottom to the water surface.
    const qreal dimensionX = waterRight.x() + 16;
    painter.drawLine(QPointF(bottomRight.x() + 4, bottomY), QPointF(dimensionX + 4, bottomY));
    painter.drawLine(QPointF(waterRight.x() + 4, waterRight.y()),
                     QPointF(dimensionX + 4, waterRight.y()));
    drawDimension(painter, {dimensionX, bottomY}, {dimensionX, waterRight.y()});
    painter.drawText(QRectF(dimensionX + 6, (bottomY + waterRight.y()) / 2 - 9, 20, 18),
                     Qt::AlignLeft | Qt::AlignVCenter, "Y");

    // Z:1 as a slope triangle against the left bank: 1 up, Z across.
    const QPointF lower = onBank(bottomLeft, 12, -1);
    const QPointF upper = onBank(bottomLeft, 40, -1);
    const QPointF corner(upper.x(), lower.y());
    painter.drawLine(lower, corner);
    painter.drawLine(corner, upper);
    painter.drawText(QRectF(corner.x(), lower.y() + 1, lower.x() - corner.x(), 16), Qt::AlignCenter,
                     "Z");
    painter.drawText(QRectF(corner.x() - 16, upper.y(), 14, lower.y() - upper.y()),
                     Qt::AlignRight | Qt::AlignVCenter, "1");
}

FrmTrapezArea::FrmTrapezArea(AppContext& ctx, QWidget* parent)
    : ModelessDialog(ctx, parent, "FrmTrapezArea", "Trapezoidal Channel Section",
                     Prompts::Icon::None) {
    makeFields();
    const Buttons buttons = makeButtons();
    QHBoxLayout* sketchAndInputs = makeSketchAndInputs();
    QWidget* formulas = makeFormulas();
    QHBoxLayout* results = makeResults();
    arrange(sketchAndInputs, formulas, results, buttons);
    bindKeys(nullptr, false);
    setTabChain(
        {m_bottomWidth, m_depth, m_sideSlope, buttons.calculate, buttons.add, buttons.cancel});
    m_bottomWidth->setFocus();
    connectButtons(buttons);
}

void FrmTrapezArea::makeFields() {
    m_bottomWidth = makeField("TxtB", true, kNumberWidth);
    m_depth = makeField("TxtY", true, kNumberWidth);
    m_sideSlope = makeField("TxtZ", true, kNumberWidth);
    m_area = makeResultField("TxtArea", kNumberWidth);
    m_wettedPerimeter = makeResultField("TxtWp", kNumberWidth);
}

FrmTrapezArea::Buttons FrmTrapezArea::makeButtons() {
    return {makeButton("CmdCalculate", "Calculate"), makeButton("CmdAdd", "Add"),
            makeButton("CmdCancel", "Cancel")};
}

QHBoxLayout* FrmTrapezArea::makeSketchAndInputs() {
    auto* inputs = new QGridLayout;
    addRow(inputs, 0, "B", m_bottomWidth);
    addRow(inputs, 1, "Y", m_depth);
    addRow(inputs, 2, "Z", m_sideSlope);
    explainUnit(m_bottomWidth, "Bottom width B in feet (ft)");
    explainUnit(m_depth, "Flow depth Y in feet (ft)");
    explainUnit(m_sideSlope, "Side slope Z, horizontal per unit vertical (ft/ft)");
    inputs->setRowStretch(3, 1); // the inputs stand at the top, beside the sketch
    auto* row = new QHBoxLayout;
    row->addWidget(new TrapezoidSketch(this));
    row->addSpacing(kSketchGap);
    row->addLayout(inputs);
    return row;
}

QWidget* FrmTrapezArea::makeFormulas() {
    // The formulas on white, as printed beside a drawing.
    auto* formulas = new QWidget(this);
    formulas->setObjectName("PicFormulas");
    formulas->setAutoFillBackground(true);
    QPalette white = formulas->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    formulas->setPalette(white);
    auto* formulaLayout = new QVBoxLayout(formulas);
    formulaLayout->setContentsMargins(kFormulaMargin, kFormulaMargin, kFormulaMargin,
                                      kFormulaMargin);
    for (const auto& [name, text] :
         {std::pair{"LblAreaFormula", " Area = Y * (B+YZ)"},
          std::pair{"LblWpFormula", " Wetted Perimeter = 2*(Y^2 + (Y*Z)^2)^(1/2) + B"}}) {
        auto* label = new QLabel(text, formulas);
        label->setObjectName(name);
        formulaLayout->addWidget(label);
    }
    return formulas;
}

QHBoxLayout* FrmTrapezArea::makeResults() {
    auto* results = new QHBoxLayout;
    auto* area = new QLabel("Area =", this);
    auto* wettedPerimeter = new QLabel("WP =", this);
    area->setBuddy(m_area);
    wettedPerimeter->setBuddy(m_wettedPerimeter);
    results->addWidget(area);
    results->addWidget(m_area);
    results->addSpacing(kResultGap);
    results->addWidget(wettedPerimeter);
    results->addWidget(m_wettedPerimeter);
    explainUnit(m_area, "Flow area in square feet (sf)");
    explainUnit(m_wettedPerimeter, "Wetted perimeter in feet (ft)");
    results->addStretch();
    return results;
}

void FrmTrapezArea::arrange(QHBoxLayout* sketchAndInputs, QWidget* formulas, QHBoxLayout* results,
                            const Buttons& buttons) {
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(buttons.calculate);
    buttonRow->addWidget(buttons.add);
    buttonRow->addWidget(buttons.cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(sketchAndInputs);
    layout->addWidget(formulas);
    layout->addLayout(results);
    layout->addSpacing(kButtonGap);
    layout->addLayout(buttonRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void FrmTrapezArea::connectButtons(const Buttons& buttons) {
    connect(buttons.calculate, &QPushButton::clicked, this, &FrmTrapezArea::calculate);
    connect(buttons.add, &QPushButton::clicked, this, &FrmTrapezArea::handOver);
    connect(buttons.cancel, &QPushButton::clicked, this, &QDialog::close);
}

bool FrmTrapezArea::calculate() {
    // "2abc" would read as 2 and hand on a section the user never described.
    if (!checkNumbers({m_bottomWidth, m_depth, m_sideSlope}))
        return false;
    return attempt([this] {
        const TrapezoidTexts section =
            CalculateTrapezoid(m_bottomWidth->text().toStdString(), m_depth->text().toStdString(),
                               m_sideSlope->text().toStdString());
        m_area->setText(ToQString(section.area));
        m_wettedPerimeter->setText(ToQString(section.wettedPerimeter));
    });
}

void FrmTrapezArea::handOver() {
    // A section too large to compute is said and kept open for correction; nothing is handed.
    if (!calculate())
        return;
    ChannelDialog* target = m_ctx.existing<FrmChannelAddInfo>();
    if (!target)
        target = m_ctx.existing<FrmChannelUpdateInfo>();
    if (target)
        target->takeSection(m_area->text(), m_wettedPerimeter->text());
    close();
}

} // namespace pluvane::gui
