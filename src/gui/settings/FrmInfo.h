#pragma once

#include "gui/elements/ModelessDialog.h"

#include <initializer_list>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class QComboBox;

namespace pluvane::gui {

// "Project Setup": the project's descriptive data and its outlet node's name and rainfall
// table. Reads the project when made; OK writes the project and node rows, makes the table
// current, asks for the canvas (AppContext::onOpenCanvas) and closes. Whether OK adds the rows
// or rewrites them is decided once, when the window is made.
class FrmInfo final : public ModelessDialog {
    Q_OBJECT
public:
    explicit FrmInfo(AppContext& ctx, QWidget* parent = nullptr);

    // Shows the one setup window of the run, made on first use, and brings it forward.
    static FrmInfo* open(AppContext& ctx, QWidget* parent = nullptr);

    // The intensity table field, as the picker fills it.
    void setIntensityTable(const QString& name);
    // Shows the stored project and node rows afresh (an undo or redo rewrote them), dropping
    // what was typed.
    void reload() { load(); }
    // True when the project already had its row when the window was made.
    bool existingProject() const { return m_existingProject; }

private:
    struct Labels {
        QLabel* projectName;
        QLabel* jobNumber;
        QLabel* designDate;
        QLabel* designEngineer;
        QLabel* projectManager;
        QLabel* basinName;
        QLabel* intensityTable;
        QLabel* minimumTc;
    };
    // The steps of building the window, in the order the constructor takes them.
    Labels makeFields();
    void makeButtons();
    void alignLabels(const Labels& labels);
    QGroupBox* makeProjectFrame(const Labels& labels);
    QGroupBox* makeDesignFrame(const Labels& labels);
    QGroupBox* makeBasinFrame(const Labels& labels);
    void stackFrames(std::initializer_list<QGroupBox*> frames);
    void connectButtons();

    void load();
    void chooseTable();
    void confirm();

    bool m_existingProject = false;
    QLineEdit* m_projectName;
    QLineEdit* m_jobNumber;
    QComboBox* m_minimumTc; // "none" or minutes: a shorter total Tc is solved at it
    QLineEdit* m_designDate;
    QLineEdit* m_designEngineer;
    QLineEdit* m_projectManager;
    QLineEdit* m_basinName;
    QLineEdit* m_intensityTable;
    QPushButton* m_tableList;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};

} // namespace pluvane::gui
