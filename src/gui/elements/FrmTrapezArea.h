#pragma once

#include "gui/elements/ModelessDialog.h"

class QHBoxLayout;

namespace pluvane::gui {

// The sketch of a trapezoidal channel section with its bottom width B, flow depth Y and side
// slope Z:1 marked.
class TrapezoidSketch final : public QWidget {
    Q_OBJECT
public:
    explicit TrapezoidSketch(QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// "Trapezoidal Channel Section": flow area and wetted perimeter of a trapezoidal section from
// bottom width, depth and side slope. "Add" computes afresh and hands both, as shown (two
// decimals), to the channel dialog that is shown (the add dialog first), then closes.
// Neither Enter nor Esc is bound.
class FrmTrapezArea final : public ModelessDialog {
    Q_OBJECT
public:
    explicit FrmTrapezArea(AppContext& ctx, QWidget* parent = nullptr);

private:
    struct Buttons {
        QPushButton* calculate;
        QPushButton* add;
        QPushButton* cancel;
    };
    // The steps of building the window, in the order the constructor takes them.
    void makeFields();
    Buttons makeButtons();
    QHBoxLayout* makeSketchAndInputs();
    QWidget* makeFormulas();
    QHBoxLayout* makeResults();
    void arrange(QHBoxLayout* sketchAndInputs, QWidget* formulas, QHBoxLayout* results,
                 const Buttons& buttons);
    void connectButtons(const Buttons& buttons);

    bool calculate();
    void handOver();

    QLineEdit* m_bottomWidth;
    QLineEdit* m_depth;
    QLineEdit* m_sideSlope;
    QLineEdit* m_area;
    QLineEdit* m_wettedPerimeter;
};

} // namespace pluvane::gui
