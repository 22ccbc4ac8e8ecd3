#pragma once

#include "core/store/IntensityDb.h"
#include "gui/elements/ModelessDialog.h"

#include <array>
#include <optional>
#include <string>

class QGridLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace pluvane::gui {

class IdfPlot;

// "Rainfall Intensity Table": the table of one rainfall location as a grid of 10 durations by 7
// return periods, where its values come from, and their IDF curves, redrawn as cells change.
// The cells are named "Text<c>_<r>": c = 1..7 for 1, 2, 5, 10, 25, 50 and 100 years, r = 0..9
// for 5 min .. 24 hr (the row of ID r + 1); column headings "Label1_0".."Label1_6", row
// headings "Label2_0".."Label2_9". Nothing is stored before Update, which writes the grid and
// the source under the name field's text (a new location, or, once the user agreed, over the
// one of that name in any case) and records it as the open project's table. The rainfall
// database is shared by every project, so a typed or imported name that is already stored asks
// before it replaces that table, and hand edits of a published table say so in its source.
class FrmIntensityTable final : public ModelessDialog {
    Q_OBJECT
public:
    explicit FrmIntensityTable(AppContext& ctx, QWidget* parent = nullptr);

    // Shows the one editor of the project with the current location ("Atlanta" when none is
    // current, shown without becoming current), and tells the user when that location's table
    // is missing or short. An editor that is up already is brought forward as it stands while
    // it shows the current location or holds unsaved edits (a new location being typed); when
    // another location has become current, or after its own "Change Basin", it reads the
    // current one afresh, asking first when that drops unsaved edits.
    static FrmIntensityTable* open(AppContext& ctx, QWidget* parent = nullptr);
    // Before the project is left (New, Open, Close, Exit): the rainfall database is shared, so
    // unsaved edits in the session's editor are not the project's to drop. The editor is brought
    // forward and asks its question; false when the user keeps the edits (nothing may be left).
    // Once agreed, the editor closes with the session without asking again.
    static bool mayLeaveProject(AppContext& ctx);

    // The cell of return period `column` (0 = 1 year .. 6 = 100 years), duration `row` (0..9).
    QLineEdit* cell(int column, int row) const;
    // The cells' texts as they stand, in the order the store takes them.
    IntensityGrid gridTexts() const;
    IdfPlot* plot() const { return m_plot; }
    // True while the name field shows a stored location; false after "Add New Basin".
    bool isNameLocked() const;
    // True while the grid, the name or the source holds edits that Update has not stored.
    bool hasUnsavedChanges() const { return m_dirty; }

protected:
    bool mayDiscard() override;

private:
    struct Buttons {
        QPushButton* selectBasin;
        QPushButton* add;
        QPushButton* update;
        QPushButton* cancel;
        QPushButton* import;
    };
    // The steps of building the window, in the order the constructor takes them: the widgets
    // are made in the order the tests and the focus chain see them.
    QLabel* makeNameField();
    QGridLayout* makeGrid();
    QLineEdit* makeCell(int column, int row);
    QLabel* makeSourceField();
    void markEditsOfNameAndSource();
    void makePlot();
    Buttons makeButtons();
    void arrange(QLabel* nameLabel, QGridLayout* grid, QLabel* sourceLabel, const Buttons& buttons);
    void orderTabs(const Buttons& buttons);
    void connectButtons(const Buttons& buttons);

    // Reads the current location into the dialog. Returns what the user should be told about
    // a missing or short table, "" when nothing.
    QString load();
    bool showsCurrentLocation() const;
    void changeBasin();
    void addNewBasin();
    // Update's steps: every cell filled and a number, the name agreed, the table stored.
    void update();
    bool isComplete();
    bool cellsAreNumbers();
    // The name to store under: the typed one, or the listed spelling of a stored location of
    // that name (asking first when typed or imported over it); none when the user declined or
    // the list could not be read.
    std::optional<std::string> nameToStore();
    void storeTable(const std::string& name);
    void importTable();
    void setNameLocked(bool locked);
    void refreshPlot();

    std::array<std::array<QLineEdit*, 10>, 7> m_cells{};
    QLineEdit* m_name = nullptr;
    QPlainTextEdit* m_provenance = nullptr;
    IdfPlot* m_plot = nullptr;
    void markEdited(bool cell);
    // The name as the rainfall database lists it when it is there in any letter case, else "".
    std::string storedNameOf(const std::string& name) const;

    std::string m_loaded;          // the location the last load read
    bool m_awaitingPicker = false; // "Change Basin" opened the picker, whose OK reloads
    bool m_filling = false;        // the program is filling the fields: not the user's edits
    bool m_dirty = false;          // edits since the last load or save
    bool m_cellsEdited = false;    // a cell was typed into since the values were loaded
    bool m_imported = false;       // the grid holds a file's values, under a proposed name
};

} // namespace pluvane::gui
