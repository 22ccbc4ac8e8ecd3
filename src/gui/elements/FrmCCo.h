#pragma once

#include "gui/elements/ModelessDialog.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace pluvane::gui {

// "Run-off Coefficients": picks a sub-basin's land use and C from the table of land uses with
// their low and high C. Shows the range and proposes the mean; a click on a bound takes it.
// "Add" writes land use and C into the sub-basin dialog that is shown (the add dialog first)
// and always closes; closing by the title bar hands nothing back.
class FrmCCo final : public ModelessDialog {
    Q_OBJECT
public:
    explicit FrmCCo(AppContext& ctx, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    // The steps of building the window, in the order the constructor takes them.
    QGroupBox* makeLandUseFrame();
    // A frame holding one bound of the range, which a click takes as C.
    void makeBoundFrame(const char* frameName, const QString& title, const char* labelName,
                        QGroupBox*& frame, QLabel*& label);
    QLabel* makeAverageField();
    void arrange(QGroupBox* landUseFrame, QLabel* cLabel, QPushButton* addButton);
    void showDefaultLandUse();

    void showLandUse(int index);
    void highlight(QLabel* label, bool on);
    void handOver();

    QComboBox* m_landUses;
    QGroupBox* m_minFrame;
    QGroupBox* m_maxFrame;
    QLabel* m_min;
    QLabel* m_max;
    QLineEdit* m_c;
};

} // namespace pluvane::gui
