#pragma once

// What the element dialog tests share: a real project on disk, recorded message boxes, a canvas
// model and a main window that owns (and on teardown deletes) every dialog opened.
//
// Screenshots of the dialogs for a person to look at:
//   PLUVANE_SCREENSHOTS=/tmp/pluvane-shots ctest --test-dir build -R tst_element
// (or scripts/screenshots).

#include "GuiTestSupport.h"
#include "core/network/NetworkModel.h"
#include "core/store/Database.h"
#include "core/store/IntensityDb.h"
#include "gui/app/AppContext.h"
#include "gui/app/Prompts.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QtTest>

#include <string>
#include <vector>

namespace pluvane::gui::test {

struct ElementFixture {
    TestProject project;
    RecordingPrompts prompts;
    AppContext ctx{project.workspace, prompts};
    NetworkModel network;
    QWidget mainWindow; // parent of every dialog, so each test's dialogs end with it

    ElementFixture() {
        ctx.setNetwork(&network);
        ctx.session().setCurrentIntensityTable("Atlanta");
        QPixmap picture(16, 16);
        picture.fill(Qt::darkCyan);
        mainWindow.setWindowIcon(QIcon(picture));
        ctx.setMainWindow(&mainWindow);
    }

    Workspace& ws() { return ctx.workspace(); }

    // Makes a rainfall table whose 2-year 24-hour intensity is `twoYearDaily` (every other cell
    // 1.0) the current table.
    void useRainfall(const std::string& twoYearDaily, const std::string& name = "Testville") {
        IntensityGrid grid;
        for (auto& row : grid)
            row.fill("1.0");
        grid[9][1] = twoYearDaily; // row 10 is the 24-hour row, column 1 the 2-year period
        SaveLocation(ws(), name, grid);
        ctx.session().setCurrentIntensityTable(name);
    }

    // Every row of `table` whose tag column holds `tag`, read on a connection of its own.
    std::vector<Record> rows(const std::string& table, const std::string& tagColumn,
                             const std::string& tag) {
        Database db = Database::open(ws().ProjectPath, Database::Mode::ReadOnly);
        Statement query = db.prepare("SELECT * FROM " + table + " WHERE " + tagColumn + " = ?");
        query.bind(1, tag);
        return readAll(query);
    }
    long long rowCount(const std::string& table) {
        Database db = Database::open(ws().ProjectPath, Database::Mode::ReadOnly);
        Statement query = db.prepare("SELECT COUNT(*) FROM " + table);
        query.step();
        return query.integer(0);
    }

    QStringList messageTitles() const {
        QStringList titles;
        for (const RecordingPrompts::Shown& box : prompts.shown)
            titles << box.title;
        return titles;
    }
};

// A named control of a dialog; a missing one ends the test program with its name.
template <class T = QWidget>
T* control(QWidget* dialog, const char* name) {
    T* found = dialog->findChild<T*>(name);
    if (!found)
        qFatal("%s has no control %s of the expected type", qPrintable(dialog->objectName()), name);
    return found;
}

inline QLineEdit* field(QWidget* dialog, const char* name) {
    return control<QLineEdit>(dialog, name);
}
inline QString text(QWidget* dialog, const char* name) { return field(dialog, name)->text(); }
inline void setText(QWidget* dialog, const char* name, const QString& value) {
    field(dialog, name)->setText(value);
}
inline void click(QWidget* dialog, const char* name) {
    QTest::mouseClick(control<QAbstractButton>(dialog, name), Qt::LeftButton);
}

// The label whose buddy is `target`, or null.
inline QLabel* labelOf(QWidget* dialog, QWidget* target) {
    for (QLabel* label : dialog->findChildren<QLabel*>())
        if (label->buddy() == target)
            return label;
    return nullptr;
}

// The named controls in the order Tab visits them, starting at `first`.
inline QStringList tabOrder(QWidget* first) {
    QStringList names;
    QWidget* widget = first;
    do {
        const QString name = widget->objectName();
        if ((widget->focusPolicy() & Qt::TabFocus) && widget->isVisibleTo(first->window()) &&
            (name.startsWith("Txt") || name.startsWith("Cmd") || name.startsWith("Cmb") ||
             name.startsWith("Combo") || name.startsWith("Command")))
            names << name;
        widget = widget->nextInFocusChain();
    } while (widget != first);
    return names;
}

// Labels and buttons whose text does not fit the room they were given, "|"-separated.
inline QString cutOffTexts(QWidget* dialog) {
    QStringList cut;
    for (QLabel* label : dialog->findChildren<QLabel*>())
        if (label->isVisibleTo(dialog) && label->width() < label->minimumSizeHint().width())
            cut << label->text();
    // A button's size hint holds the style's minimum width, so its text is measured instead.
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
        if (button->isVisibleTo(dialog) &&
            button->width() < button->fontMetrics().horizontalAdvance(button->text()) + 8)
            cut << button->text();
    return cut.join('|');
}

} // namespace pluvane::gui::test
