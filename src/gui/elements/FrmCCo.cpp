#include "gui/elements/FrmCCo.h"

#include "core/elements/Catalogs.h"
#include "gui/elements/BasinDialogs.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace pluvane::gui {

namespace {

const QColor kHoverColour(0, 0, 255);

// The window's layout, in pixels.
constexpr int kBoundWidth = 80;   // the least width of the Min and Max values
constexpr int kAverageWidth = 70; // the average C field

} // namespace

FrmCCo::FrmCCo(AppContext& ctx, QWidget* parent)
    : ModelessDialog(ctx, parent, "FrmCCo", "Run-off Coefficients", Prompts::Icon::None) {
    QGroupBox* landUseFrame = makeLandUseFrame();
    makeBoundFrame("FraMin", "Min", "Label2", m_minFrame, m_min);
    makeBoundFrame("FraMax", "Max", "Label3", m_maxFrame, m_max);
    setMouseTracking(true);
    QLabel* cLabel = makeAverageField();
    QPushButton* addButton = makeButton("Command1", "Add");
    arrange(landUseFrame, cLabel, addButton);
    // Esc closes like the title bar (nothing handed back); Enter is not bound.
    bindKeys(nullptr, true);
    setTabChain({m_landUses, m_c, addButton});
    connect(m_landUses, &QComboBox::currentIndexChanged, this, &FrmCCo::showLandUse);
    connect(addButton, &QPushButton::clicked, this, &FrmCCo::handOver);
    showDefaultLandUse();
}

QGroupBox* FrmCCo::makeLandUseFrame() {
    auto* frame = new QGroupBox("Land Use", this);
    frame->setObjectName("FraLandUse");
    m_landUses = new QComboBox(frame);
    m_landUses->setObjectName("Combo1");
    for (const LandUse& use : kLandUses)
        m_landUses->addItem(ToQString(use.name));
    (new QVBoxLayout(frame))->addWidget(m_landUses);
    return frame;
}

void FrmCCo::makeBoundFrame(const char* frameName, const QString& title, const char* labelName,
                            QGroupBox*& frame, QLabel*& label) {
    frame = new QGroupBox(title, this);
    frame->setObjectName(frameName);
    label = new QLabel(frame);
    label->setObjectName(labelName);
    label->setAlignment(Qt::AlignCenter);
    label->setCursor(Qt::PointingHandCursor);
    label->setToolTip("Click to take this value");
    label->setMinimumWidth(kBoundWidth);
    (new QVBoxLayout(frame))->addWidget(label);
    // Hovering is followed over the label, its frame and the dialog's background.
    for (QWidget* watched : {static_cast<QWidget*>(frame), static_cast<QWidget*>(label)}) {
        watched->setMouseTracking(true);
        watched->installEventFilter(this);
    }
}

QLabel* FrmCCo::makeAverageField() {
    m_c = makeField("TxtCVal", true, kAverageWidth);
    auto* label = new QLabel("Average C", this);
    label->setBuddy(m_c);
    return label;
}

void FrmCCo::arrange(QGroupBox* landUseFrame, QLabel* cLabel, QPushButton* addButton) {
    auto* bounds = new QHBoxLayout;
    bounds->addWidget(m_minFrame);
    bounds->addWidget(m_maxFrame);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(cLabel);
    bottom->addWidget(m_c);
    bottom->addStretch();
    bottom->addWidget(addButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(landUseFrame);
    layout->addLayout(bounds);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void FrmCCo::showDefaultLandUse() {
    // Each opening starts at the same land use; shown here too, as choosing the entry that is
    // current already emits no change.
    m_landUses->setCurrentIndex(static_cast<int>(kDefaultLandUse));
    showLandUse(m_landUses->currentIndex());
    m_landUses->setFocus();
}

void FrmCCo::showLandUse(int index) {
    if (index < 0 || index >= static_cast<int>(kLandUses.size()))
        return;
    const LandUse& use = kLandUses[static_cast<std::size_t>(index)];
    m_min->setText(ToQString(use.minC));
    m_max->setText(ToQString(use.maxC));
    // The mean is read back from the captions, as shown.
    m_c->setText(
        ToQString(RunoffCoefficientMean(m_min->text().toStdString(), m_max->text().toStdString())));
}

void FrmCCo::highlight(QLabel* label, bool on) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText,
                     on ? kHoverColour : this->palette().color(QPalette::WindowText));
    label->setPalette(palette);
}

bool FrmCCo::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseMove:
        // Taken here, so that the move does not go on to the frame or the dialog, which would
        // undo the colour.
        if (watched == m_min || watched == m_max) {
            highlight(static_cast<QLabel*>(watched), true);
            return true;
        }
        if (watched == m_minFrame || watched == m_maxFrame) {
            highlight(watched == m_minFrame ? m_min : m_max, false);
            return true;
        }
        break;
    case QEvent::Leave:
        // Leaving a label by any way, also straight out of the window, ends its highlight.
        if (watched == m_min || watched == m_max)
            highlight(static_cast<QLabel*>(watched), false);
        break;
    case QEvent::MouseButtonRelease:
        if ((watched == m_min || watched == m_max) &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            m_c->setText(static_cast<QLabel*>(watched)->text());
        break;
    default:
        break;
    }
    return ModelessDialog::eventFilter(watched, event);
}

void FrmCCo::mouseMoveEvent(QMouseEvent* event) {
    highlight(m_min, false);
    highlight(m_max, false);
    ModelessDialog::mouseMoveEvent(event);
}

void FrmCCo::handOver() {
    if (!checkNumbers({m_c}))
        return; // kept open for correction; nothing handed on
    BasinDialog* target = m_ctx.existing<FrmBasInfo>();
    if (!target)
        target = m_ctx.existing<FrmBasUpdate>();
    if (target)
        target->takeRunoffCoefficient(m_landUses->currentText(), m_c->text());
    close();
}

} // namespace pluvane::gui
