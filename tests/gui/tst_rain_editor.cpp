// The rainfall intensity table editor on a private copy of the shipped rainfall database: what
// it loads, the fill check, what Update leaves in the database (read back on a connection of
// its own), Change Basin through the picker, the key filter, import for review, and the IDF
// curves that follow the cells.
#include "GuiTestSupport.h"

#include "core/rain/RainfallImport.h"
#include "core/settings/ProjectSettings.h"
#include "core/store/Database.h"
#include "core/store/IntensityDb.h"
#include "core/store/ProjectDb.h"
#include "gui/app/AppContext.h"
#include "gui/app/Prompts.h"
#include "gui/rain/FrmIdfCurves.h"
#include "gui/rain/FrmIntensityTable.h"
#include "gui/rain/IdfPlot.h"
#include "gui/settings/FrmSelectIvalBasin.h"

#include <QClipboard>
#include <QDate>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

using namespace pluvane;
using namespace pluvane::gui;
using namespace pluvane::gui::test;

namespace {

const QString kFillAll = "Please fill all fields";

template <class W>
W* child(QWidget* window, const QString& name) {
    W* widget = window->findChild<W*>(name);
    if (!widget)
        qFatal("%s has no %s", qPrintable(window->objectName()), qPrintable(name));
    return widget;
}

QLineEdit* field(QWidget* window, const QString& name) { return child<QLineEdit>(window, name); }
void click(QWidget* window, const char* button) {
    QTest::mouseClick(child<QPushButton>(window, button), Qt::LeftButton);
}

// Runs the closes and deletions a window asked for, as the event loop would.
void settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Highlights a location in a picker the way a user does, by clicking it.
void pick(QWidget* picker, const QString& location) {
    auto* list = child<QListWidget>(picker, "List1");
    const QList<QListWidgetItem*> items = list->findItems(location, Qt::MatchExactly);
    QCOMPARE(items.size(), 1);
    list->scrollToItem(items.front());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(items.front()).center());
}

// A cell's text in the grid; column 0..6 is 1..100 years, row 0..9 is 5 min..24 hr.
QString cellText(FrmIntensityTable* editor, int column, int row) {
    return editor->cell(column, row)->text();
}

void fillGrid(FrmIntensityTable* editor, const std::function<QString(int column, int row)>& value) {
    for (int r = 0; r < 10; ++r)
        for (int c = 0; c < 7; ++c)
            editor->cell(c, r)->setText(value(c, r));
}

// A value that differs in every cell, so that a transposed or shifted write shows.
QString distinctValue(int column, int row) {
    return QString("%1.%2").arg(10 - row).arg(column + 1);
}

// What the rainfall database holds, read on a connection of its own as a later run would.
struct StoredRow {
    QString id;
    QString duration;
    QStringList values;
    bool operator==(const StoredRow&) const = default;
};
QList<StoredRow> storedTable(const Workspace& ws, const QString& table) {
    Database db = Database::open(ws.intensityDbPath(), Database::Mode::ReadOnly);
    Statement q = db.prepare(
        "SELECT ID, Duration, \"1\", \"2\", \"5\", \"10\", \"25\", \"50\", \"100\" FROM \"" +
        table.toStdString() + "\" ORDER BY ID");
    QList<StoredRow> rows;
    while (q.step()) {
        StoredRow row{QString::fromStdString(q.text(0).value_or("")),
                      QString::fromStdString(q.text(1).value_or("")),
                      {}};
        for (int c = 2; c < 9; ++c)
            row.values << QString::fromStdString(q.text(c).value_or("<null>"));
        rows << row;
    }
    return rows;
}
QStringList listRows(const Workspace& ws) {
    Database db = Database::open(ws.intensityDbPath(), Database::Mode::ReadOnly);
    Statement q = db.prepare("SELECT BasinName FROM BasinName ORDER BY rowid");
    QStringList names;
    while (q.step())
        names << QString::fromStdString(q.text(0).value_or(""));
    return names;
}
void execOnRainfallDb(const Workspace& ws, const std::string& sql) {
    Database db = Database::open(ws.intensityDbPath());
    db.exec(sql);
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    file.write(bytes);
    return path;
}

// A table in the format the program ships its locations in, made up for these tests.
QByteArray shippedFormatTable(const QByteArray& location, const QByteArray& fiveMinuteRow) {
    return "# location: " + location +
           "\n"
           "# source: hand-made test table, partial duration series\n"
           "# point: 12.3456 N, 65.4321 W\n"
           "duration_hours,1,2,5,10,25,50,100\n" +
           fiveMinuteRow +
           "\n"
           "0.166667,4.00,4.60,5.60,6.40,7.60,8.60,9.60\n"
           "0.25,3.30,3.80,4.60,5.30,6.30,7.10,7.90\n"
           "0.50,2.30,2.70,3.30,3.80,4.50,5.10,5.70\n"
           "1.0,1.50,1.75,2.15,2.50,3.00,3.40,3.80\n"
           "2.0,0.900,1.05,1.30,1.52,1.85,2.10,2.40\n"
           "3.0,0.650,0.760,0.950,1.12,1.36,1.56,1.78\n"
           "6.0,0.390,0.460,0.580,0.690,0.840,0.970,1.11\n"
           "12.0,0.230,0.272,0.345,0.410,0.500,0.580,0.665\n"
           "24.0,0.135,0.160,0.203,0.242,0.296,0.343,0.394\n";
}

// One test's world: a private rainfall database and project, recorded prompts, and a stand-in
// main window whose icon the editor takes and which reopens the editor as the program does.
struct World {
    TestProject project;
    RecordingPrompts prompts;
    AppContext ctx{project.workspace, prompts};
    QWidget owner;

    World() {
        QPixmap picture(32, 32);
        picture.fill(Qt::darkCyan);
        owner.setWindowIcon(QIcon(picture));
        ctx.setMainWindow(&owner);
        ctx.onShowIntensityEditor = [this] { FrmIntensityTable::open(ctx, &owner); };
        ctx.session().setCurrentIntensityTable("Atlanta"); // as a run that used it before
    }
    Workspace& ws() { return ctx.workspace(); }
    FrmIntensityTable* openEditor(const std::string& current) {
        ctx.session().setCurrentIntensityTable(current);
        FrmIntensityTable* editor = FrmIntensityTable::open(ctx, &owner);
        if (!QTest::qWaitForWindowExposed(editor))
            qWarning("the editor was not exposed");
        return editor;
    }
};

} // namespace

class TstRainEditor : public QObject {
    Q_OBJECT
private slots:
    void init() { QApplication::clipboard()->clear(); }

    // ---- Load ---------------------------------------------------------------------------

    void loadsTheCurrentLocationWithItsCaptionsSourceAndLockedName() {
        World w;
        FrmIntensityTable* editor = w.openEditor("Lake Houston");
        QCOMPARE(editor->objectName(), QStringLiteral("FrmIntensityTable"));
        QCOMPARE(editor->windowTitle(), QStringLiteral("Rainfall Intensity Table"));
        QCOMPARE(editor->windowIcon().cacheKey(), w.owner.windowIcon().cacheKey());
        QCOMPARE(child<QLabel>(editor, "Label3")->text(), QStringLiteral("Basin Name"));
        const QStringList columns{"1 yr",   "2 yrs",  "5 yrs",  "10 yrs",
                                  "25 yrs", "50 yrs", "100 yrs"};
        for (int c = 0; c < 7; ++c)
            QCOMPARE(child<QLabel>(editor, QString("Label1_%1").arg(c))->text(), columns[c]);
        const QStringList rows{"5 min", "10 min", "15 min", "30 min", "1 hr",
                               "2 hr",  "3 hr",   "6 hr",   "12 hr",  "24 hr"};
        for (int r = 0; r < 10; ++r)
            QCOMPARE(child<QLabel>(editor, QString("Label2_%1").arg(r))->text(), rows[r]);
        const QList<std::pair<const char*, const char*>> buttons{{"CmdSelectBasin", "Change Basin"},
                                                                 {"CmdAdd", "Add New Basin"},
                                                                 {"CmdUpdate", "Update"},
                                                                 {"CmdCancel", "Cancel"},
                                                                 {"CmdImport", "Import..."}};
        for (const auto& [name, caption] : buttons)
            QCOMPARE(child<QPushButton>(editor, name)->text(), QString(caption));

        QLineEdit* name = field(editor, "TxtBasinName");
        QCOMPARE(name->text(), QStringLiteral("Lake Houston"));
        QVERIFY(editor->isNameLocked());
        QVERIFY(name->isReadOnly());
        QCOMPARE(name->palette().color(QPalette::Base),
                 QApplication::palette(name).color(QPalette::Button));

        // The cells are the columns 1..100 of rows ID 1..10, by name and by position.
        QCOMPARE(field(editor, "Text1_0")->text(), QStringLiteral("5.93"));
        QCOMPARE(field(editor, "Text7_0")->text(), QStringLiteral("15.5"));
        QCOMPARE(field(editor, "Text3_6")->text(), QStringLiteral("1.37"));
        QCOMPARE(field(editor, "Text1_9")->text(), QStringLiteral("0.156"));
        QCOMPARE(field(editor, "Text7_9")->text(), QStringLiteral("0.721"));
        QCOMPARE(editor->cell(2, 6), field(editor, "Text3_6"));
        QCOMPARE(editor->findChildren<QLineEdit*>(QRegularExpression("^Text[1-7]_[0-9]$")).size(),
                 70);

        const QString source = child<QPlainTextEdit>(editor, "TxtProvenance")->toPlainText();
        QVERIFY2(source.contains("NOAA Atlas 14 Volume 11 Version 2"), qPrintable(source));
        // The name is locked, so typing starts in the first cell.
        QCOMPARE(editor->focusWidget(), editor->cell(0, 0));
        QVERIFY(w.prompts.shown.empty());
    }

    void withNoCurrentLocationItShowsAtlantaWithoutMakingItCurrent() {
        World w;
        FrmIntensityTable* editor = w.openEditor("");
        QCOMPARE(field(editor, "TxtBasinName")->text(), QStringLiteral("Atlanta"));
        QCOMPARE(w.ctx.session().CurrentIntensityTable(), std::string()); // shown, not chosen
        // Shown again, it is the same editor with the same table: not a change of location.
        QCOMPARE(FrmIntensityTable::open(w.ctx, &w.owner), editor);
        QCOMPARE(cellText(editor, 0, 0), QStringLiteral("4.84"));
        QCOMPARE(cellText(editor, 6, 4), QStringLiteral("3.40"));
        QVERIFY(w.prompts.shown.empty());
    }

    void aMissingTableIsShownEmptyWithAMessageAndCanBeStoredAfresh() {
        World w;
        execOnRainfallDb(w.ws(), "DROP TABLE \"Fort Myers\"");
        FrmIntensityTable* editor = w.openEditor("Fort Myers");
        QVERIFY(editor->isVisible());
        QCOMPARE(w.prompts.shown.size(), std::size_t(1));
        QCOMPARE(w.prompts.shown[0].title, QStringLiteral("Error"));
        QVERIFY2(w.prompts.shown[0].text.contains("\"Fort Myers\" does not exist"),
                 qPrintable(w.prompts.shown[0].text));
        QCOMPARE(field(editor, "TxtBasinName")->text(), QStringLiteral("Fort Myers"));
        QVERIFY(editor->isNameLocked());
        for (int r = 0; r < 10; ++r)
            for (int c = 0; c < 7; ++c)
                QVERIFY(cellText(editor, c, r).isEmpty());

        fillGrid(editor, distinctValue);
        click(editor, "CmdUpdate");
        QCOMPARE(w.prompts.shown.size(), std::size_t(1));
        const QList<StoredRow> rows = storedTable(w.ws(), "Fort Myers");
        QCOMPARE(rows.size(), 10);
        QCOMPARE(rows[9].values[6], distinctValue(6, 9));
        QCOMPARE(listRows(w.ws()).count("Fort Myers"), 1);
    }

    void aShortTableShowsItsRowsAndLeavesTheRestEmpty() {
        World w;
        execOnRainfallDb(w.ws(), "DELETE FROM \"Lake Houston\" WHERE ID > 7");
        FrmIntensityTable* editor = w.openEditor("Lake Houston");
        QCOMPARE(w.prompts.shown.size(), std::size_t(1));
        QVERIFY2(w.prompts.shown[0].text.contains("\"Lake Houston\" has 7 of its 10 rows"),
                 qPrintable(w.prompts.shown[0].text));
        QCOMPARE(cellText(editor, 0, 6), QStringLiteral("0.830"));
        for (int r = 7; r < 10; ++r)
            for (int c = 0; c < 7; ++c)
                QVERIFY(cellText(editor, c, r).isEmpty());
    }

    // ---- Add New Basin and Update -------------------------------------------------------

    void addNewBasinClearsEverythingAndOpensTheName() {
        World w;
        FrmIntensityTable* editor = w.openEditor("Atlanta");
        click(editor, "CmdAdd");
        for (int r = 0; r < 10; ++r)
            for (int c = 0; c < 7; ++c)
                QVERIFY2(cellText(editor, c, r).isEmpty(),
                         qPrintable(editor->cell(c, r)->objectName()));
        QLineEdit* name = field(editor, "TxtBasinName");
        QVERIFY(name->text().isEmpty());
        QVERIFY(!editor->isNameLocked());
        QVERIFY(!name->isReadOnly());
        QCOMPARE(name->palette().color(QPalette::Base),
                 QApplication::palette(name).color(QPalette::Base));
        QVERIFY(name->palette().color(QPalette::Base) !=
                QApplication::palette(name).color(QPalette::Button));
        QCOMPARE(editor->focusWidget(), name);
        // Nothing was stored: Atlanta keeps its values.
        QCOMPARE(storedTable(w.ws(), "Atlanta")[0].values[0], QStringLiteral("4.84"));
        QCOMPARE(w.ctx.session().CurrentIntensityTable(), std::string("Atlanta"));
    }

    void updateCreatesOneListRowAndOneTableOfTenRows() {
        World w;
        const QStringList before = listRows(w.ws());
        QPointer<FrmIntensityTable> editor = w.openEditor("Atlanta");
        click(editor, "CmdAdd");
        QTest::keyClicks(field(editor, "TxtBasinName"), "Cedar Ridge 2");
        fillGrid(editor, distinctValue);
        child<QPlainTextEdit>(editor, "TxtProvenance")
            ->setPlainText("County drainage manual, table 4-2");
        click(editor, "CmdUpdate");
        // A new location becomes the project's table only when the user says so.
        QCOMPARE(w.prompts.texts(),
                 QStringList{"Make Cedar Ridge 2 the rainfall table of this project? (It was "
                             "Atlanta.)"});
        settle();
        QVERIFY2(!editor, "Update closes the editor");

        QCOMPARE(listRows(w.ws()), before + QStringList{"Cedar Ridge 2"});
        const QList<StoredRow> rows = storedTable(w.ws(), "Cedar Ridge 2");
        QCOMPARE(rows.size(), 10);
        const QStringList durations{"0.083333", "0.166667", "0.25", "0.50", "1.0",
                                    "2.0",      "3.0",      "6.0",  "12.0", "24.0"};
        for (int r = 0; r < 10; ++r) {
            QCOMPARE(rows[r].id, QString::number(r + 1));
            QCOMPARE(rows[r].duration, durations[r]);
            for (int c = 0; c < 7; ++c)
                QCOMPARE(rows[r].values[c], distinctValue(c, r));
        }
        QCOMPARE(ReadProvenance(w.ws(), "Cedar Ridge 2"),
                 std::string("County drainage manual, table 4-2"));
        QCOMPARE(w.ctx.session().CurrentIntensityTable(), std::string("Cedar Ridge 2"));

        // Opened again, the editor shows what was stored.
        FrmIntensityTable* again = w.openEditor(w.ctx.session().CurrentIntensityTable());
        QCOMPARE(cellText(again, 3, 5), distinctValue(3, 5));
        QCOMPARE(child<QPlainTextEdit>(again, "TxtProvenance")->toPlainText(),
                 QStringLiteral("County drainage manual, table 4-2"));
    }

    void updateUnderAnExistingNameInAnotherCaseAsksThenOverwritesWithoutANewListRow() {
        World w;
        const QStringList before = listRows(w.ws());
        const QList<StoredRow> fortMyers = storedTable(w.ws(), "Fort Myers");
        FrmIntensityTable* editor = w.openEditor("Atlanta");
        click(editor, "CmdAdd");
        QVERIFY(child<QPlainTextEdit>(editor, "TxtProvenance")
                    ->toPlainText()
                    .isEmpty()); // no borrowed source
        field(editor, "TxtBasinName")->setText("FORT MYERS");
        fillGrid(editor, distinctValue);
        // Declined: nothing is stored and the editor stays open with what was typed.
        w.prompts.answers = {Prompts::Answer::No};
        click(editor, "CmdUpdate");
        QCOMPARE(w.prompts.texts(),
                 QStringList{
                     "Replace the rainfall table of Fort Myers for every project that uses it?"});
        QCOMPARE(storedTable(w.ws(), "Fort Myers"), fortMyers);
        QCOMPARE(field(editor, "TxtBasinName")->text(), QStringLiteral("FORT MYERS"));
        w.prompts.shown.clear();
        w.prompts.answers = {Prompts::Answer::Yes};
        click(editor, "CmdUpdate");
        QCOMPARE(w.prompts.shown.size(), std::size_t(2)); // replace it, then make it the project's
        QVERIFY(w.prompts.texts()[1].startsWith("Make Fort Myers the rainfall table"));
        QCOMPARE(w.ctx.session().CurrentIntensityTable(),
                 std::string("Fort Myers")); // the listed spelling

        QCOMPARE(listRows(w.ws()), before);
        const QList<StoredRow> rows = storedTable(w.ws(), "Fort Myers");
        QCOMPARE(rows.size(), 10);
        for (int r = 0; r < 10; ++r) {
            QCOMPARE(rows[r].duration, fortMyers[r].duration);
            for (int c = 0; c < 7; ++c)
                QCOMPARE(rows[r].values[c], distinctValue(c, r));
        }
        // The other locations are untouched.
        QCOMPARE(storedTable(w.ws(), "Atlanta")[0].values[0], QStringLiteral("4.84"));
    }

    void updateOnAStoredLocationWritesItsEditsAndChangesNothingElse() {
        World w;
        const QList<StoredRow> before = storedTable(w.ws(), "Atlanta");
        FrmIntensityTable* editor = w.openEditor("Atlanta");
        click(editor, "CmdUpdate");
        QVERIFY(w.prompts.shown.empty());
        const QList<StoredRow> unchanged = storedTable(w.ws(), "Atlanta");
        for (int r = 0; r < 10; ++r)
            QCOMPARE(unchanged[r].values, before[r].values);

        editor = w.openEditor("Atlanta");
        editor->cell(4, 3)->setText("4.10");
        click(editor, "CmdUpdate");
        const QList<StoredRow> after = storedTable(w.ws(), "Atlanta");
        for (int r = 0; r < 10; ++r)
            for (int c = 0; c < 7; ++c)
                QCOMPARE(after[r].values[c],
                         r == 3 && c == 4 ? QStringLiteral("4.10") : before[r].values[c]);
    }

    void updateWithAnEmptyFieldIsRefusedAndStoresNothing_data() {
        QTest::addColumn<int>("column"); // -1: the name field
        QTest::addColumn<int>("row");
        QTest::newRow("name") << -1 << 0;
        QTest::newRow("first cell") << 0 << 0;
        QTest::newRow("100-yr 24-hr cell") << 6 << 9;
        QTest::newRow("10-yr 1-hr cell") << 3 << 4;
    }
    void updateWithAnEmptyFieldIsRefusedAndStoresNothing() {
        QFETCH(int, column);
        QFETCH(int, row);
        World w;
        const QStringList before = listRows(w.ws());
        FrmIntensityTable* editor = w.openEditor("Atlanta");
        click(editor, "CmdAdd");
        field(editor, "TxtBasinName")->setText("Half Filled");
        fillGrid(editor, distinctValue);
        if (column < 0)
            field(editor, "TxtBasinName")->clear();
        else
            editor->cell(column, row)->clear();
        click(editor, "CmdUpdate");

        QCOMPARE(w.prompts.shown.size(), std::size_t(1));
        QCOMPARE(w.prompts.shown[0].title, QStringLiteral("Error"));
        QCOMPARE(w.prompts.shown[0].text, kFillAll);
        QCOMPARE(w.prompts.shown[0].buttons, Prompts::Buttons::Ok);
        QVERIFY(editor->isVisible());
        QCOMPARE(listRows(w.ws()), before);
        QCOMPARE(w.ctx.session().CurrentIntensityTable(), std::string("Atlanta"));
    }

    void aNameTheDatabaseCannotTakeIsRefusedWithItsReason_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("sqlite table") << "sqlite_master"
                                      << "reserved";
        QTest::newRow("list table spaced") << "Basin Name"
                                           << "reserved";
        // An export and import would give it back without the blanks.
        QTest::newRow("blanks at the ends") << " Cedar Ridge "
                                            << "begins or ends with a blank";
    }

    void aNameTheDatabaseCannotTakeIsRefusedWithItsReason() {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        World w;
        const QStringList before = listRows(w.ws());
        FrmIntensityTable* editor = w.openEditor("Atlanta");
        click(editor, "CmdAdd");
        field(editor, "TxtBasinName")->setText(name);
        fillGrid(editor, distinctValue);
        click(editor, "CmdUpdate");
        QCOMPARE(w.prompts.shown.size(), std::size_t(1));
        QVERIFY2(w.prompts.shown[0].text.contains(reason), qPrintable(w.prompts.shown[0].text));
        QVERIFY(editor->isVisible());
        QCOMPARE(listRows(w.ws()), before);
    }

    void cancelStoresNothingAndKeepsTheCurrentLocation() {
        World w;
        QPointer<FrmIntensityTable> editor = w.openEditor("Lake Houston");
        editor->cell(0, 0)->setText("99");
        click(editor, "CmdCancel");
        settle();
        QVERIFY(!editor);
        QCOMPARE(storedTable(w.ws(), "Lake Houston")[0].values[0], QStringLiteral("5.93"));
        QCOMPARE(w.ctx.session().CurrentIntensityTable(), std::string("Lake Houston"));
    }

    // ---- What may be typed ---------------------------------------------------------------

    void theCellsTakeOnlyDigitsAndPointsAndTheNameTakesAnything() {
        World w;
        FrmIntensityTable* editor = w.openEditor("Atlanta");
        QLineEdit* cell = editor->cell(5, 7);
        cell->clear();
        QTest::keyClicks(cell, "1a2.-5 e,");
        QCOMPARE(cell->text(), QStringLiteral("12.5"));
        QTest::keyClicks(cell, ".3");
        QCOMPARE(cell->text(),
                 QStringLiteral("12.5.3")); // a second point is typed; the parse reads 12.5

        click(editor, "CmdAdd");
        QTest::keyClicks(field(editor, "TxtBasinName"), "Oak-2 Basin");
        QCOMPARE(field(editor, "TxtBasinName")->text(), QStringLiteral("Oak-2 Basin"));
    }

    void pastedTextAndSecondPointsAreRefusedNamingTheCell() {
        World w;
        const QList<StoredRow> before = storedTable(w.ws(), "Atlanta");
        FrmIntensityTable* editor = w.openEditor("Atlanta");
        QLineEdit* cell = editor->cell(1, 0);
        cell->clear();
        QApplication::clipboard()->setText("2.5 in/hr");
        QTest::keyClick(cell, Qt::Key_V, Qt::ControlModifier); // refused whole by the filter
        QVERIFY(cell->text().isEmpty());
        cell->setText("2.5 in/hr"); // as a value that went round the filter
        editor->cell(2, 0)->setText("1.2.3");
        click(editor, "CmdUpdate");
        QCOMPARE(w.prompts.texts(), QStringList{"5 min, 2 yrs: '2.5 in/hr' is not a number"});
        cell->setText("2.5");
        click(editor, "CmdUpdate");
        QCOMPARE(w.prompts.texts().last(), QStringLiteral("5 min, 5 yrs: '1.2.3' is not a number"));
        QCOMPARE(storedTable(w.ws(), "Atlanta"), before); // nothing stored
        editor->cell(2, 0)->setText("1.23");
        w.prompts.shown.clear();
        click(editor, "CmdUpdate");
        QVERIFY2(w.prompts.shown.empty(), qPrintable(w.prompts.texts().join(" | ")));
        const QList<StoredRow> rows = storedTable(w.ws(), "Atlanta");
        QCOMPARE(rows[0].values[1], QStringLiteral("2.5"));
        QCOMPARE(rows[0].values[2], QStringLiteral("1.23"));
        // The atlas's citation now says the values were edited.
        const std::string source = ReadProvenance(w.ws(), "Atlanta");
        QVERIFY2(source.find("edited by hand on " +
                             QDate::currentDate().toString(Qt::ISODate).toStdString()) !=
                     std::string::npos,
                 source.c_str());
    }

    // ---- Change Basin ----------------------------------------------------------------------

    void changeBasinShowsTheChosenTableAndDropsTheEdits() {
        World w;
        SaveProjectSettings(w.ws(), {"Harbour Road", "", "", "", ""}, {"Outfall", "Atlanta"},
                            false);
        FrmIntensityTable* editor = w.openEditor("Atlanta");
        editor->cell(0, 0)->setText("77");
        click(editor, "CmdSelectBasin");
        QPointer<FrmSelectIvalBasin> picker = w.ctx.existing<FrmSelectIvalBasin>();
        QVERIFY(picker && picker->isVisible());
        QCOMPARE(picker->tag(), QString());
        pick(picker, "Lake Houston");
        click(picker, "CmdOK");
        settle();
        QVERIFY(!picker);
        // The typed 77 is dropped only once the user agreed.
        QCOMPARE(w.prompts.shown.size(), std::size_t(1));
        QVERIFY(w.prompts.shown[0].text.contains("Discard them?"));

        FrmIntensityTable* shown = w.ctx.existing<FrmIntensityTable>();
        QVERIFY(shown && shown->isVisible());
        QCOMPARE(field(shown, "TxtBasinName")->text(), QStringLiteral("Lake Houston"));
        QVERIFY(shown->isNameLocked());
        QCOMPARE(cellText(shown, 0, 0), QStringLiteral("5.93"));
        QCOMPARE(cellText(shown, 6, 9), QStringLiteral("0.721"));
        QCOMPARE(w.ctx.session().CurrentIntensityTable(), std::string("Lake Houston"));
        QCOMPARE(storedTable(w.ws(), "Atlanta")[0].values[0], QStringLiteral("4.84"));
        Database project = OpenProjectDb(w.ws());
        Statement q = project.prepare("SELECT IValueBasinName FROM TblProjectInfo");
        QVERIFY(q.step());
        QCOMPARE(q.text(0).value_or(""), std::string("Lake Houston"));
    }

    void theSameLocationChosenAgainAlsoDropsTheEdits() {
        World w;
        SaveProjectSettings(w.ws(), {"Harbour Road", "", "", "", ""}, {"Outfall", "Atlanta"},
                            false);
        FrmIntensityTable* editor = w.openEditor("Atlanta");
        for (const bool adding : {false, true}) {
            if (adding)
                click(editor, "CmdAdd");
            editor->cell(0, 0)->setText("77");
            click(editor, "CmdSelectBasin");
            FrmSelectIvalBasin* picker = w.ctx.existing<FrmSelectIvalBasin>();
            pick(picker, "Atlanta");
            click(picker, "CmdOK");
            settle();
            FrmIntensityTable* shown = w.ctx.existing<FrmIntensityTable>();
            QVERIFY(shown->isNameLocked());
            QCOMPARE(field(shown, "TxtBasinName")->text(), QStringLiteral("Atlanta"));
            QCOMPARE(cellText(shown, 0, 0), QStringLiteral("4.84"));
        }
    }

    void openingAgainKeepsTheEditsUnlessAnotherLocationBecameCurrent() {
        World w;
        FrmIntensityTable* editor = w.openEditor("Atlanta");
        editor->cell(0, 0)->setText("77");
        // Change Basin cancelled: the edits stay, and so they do when the menu shows it again.
        click(editor, "CmdSelectBasin");
        click(w.ctx.existing<FrmSelectIvalBasin>(), "CmdCancel");
        settle();
        w.ctx.onShowIntensityEditor();
        QCOMPARE(w.ctx.existing<FrmIntensityTable>(), editor);
        QCOMPARE(cellText(editor, 0, 0), QStringLiteral("77"));
        // The project setup or the node dialog made another location current.
        w.ctx.session().setCurrentIntensityTable("Fort Myers");
        w.ctx.onShowIntensityEditor();
        QCOMPARE(w.ctx.existing<FrmIntensityTable>(), editor);
        QCOMPARE(field(editor, "TxtBasinName")->text(), QStringLiteral("Fort Myers"));
        QVERIFY(cellText(editor, 0, 0) != QStringLiteral("77"));
        QCOMPARE(w.prompts.shown.size(), std::size_t(1)); // asked before the 77 went
        // A new location being typed is never wiped by showing the editor again.
        click(editor, "CmdAdd");
        QTest::keyClicks(field(editor, "TxtBasinName"), "Oak Run");
        editor->cell(0, 0)->setText("3.1");
        child<QPlainTextEdit>(editor, "TxtProvenance")->setPlainText("county manual");
        w.ctx.session().setCurrentIntensityTable("Atlanta");
        w.ctx.onShowIntensityEditor();
        QCOMPARE(field(editor, "TxtBasinName")->text(), QStringLiteral("Oak Run"));
        QCOMPARE(cellText(editor, 0, 0), QStringLiteral("3.1"));
        QCOMPARE(child<QPlainTextEdit>(editor, "TxtProvenance")->toPlainText(),
                 QStringLiteral("county manual"));
        // Esc asks before the unsaved location goes; No keeps it.
        w.prompts.answers = {Prompts::Answer::No, Prompts::Answer::No, Prompts::Answer::No};
        QTest::keyClick(editor, Qt::Key_Escape);
        QVERIFY(editor->isVisible());
        QVERIFY(w.prompts.texts().last().contains("Discard them?"));
        click(editor, "CmdCancel"); // Cancel and the title bar ask the same
        QVERIFY(editor->isVisible());
        editor->close();
        QVERIFY(editor->isVisible());
        QCOMPARE(w.prompts.shown.size(), std::size_t(4));
        w.prompts.answers = {Prompts::Answer::Yes};
        QTest::keyClick(editor, Qt::Key_Escape);
        QVERIFY(!editor->isVisible());
    }

    // ---- Import ------------------------------------------------------------------------------

    void importFillsTheGridSourceAndNameForReviewAndStoresNothing() {
        World w;
        QTemporaryDir files;
        const QByteArray firstRow = "0.083333,5.10,5.90,7.10,8.10,9.60,10.8,12.0";
        w.prompts.fileNames.push_back(
            writeFile(files, "pine.csv", shippedFormatTable("Pine Hollow", firstRow)));
        const QStringList before = listRows(w.ws());
        FrmIntensityTable* editor = w.openEditor("Atlanta");
        click(editor, "CmdAdd");
        click(editor, "CmdImport");
        QVERIFY2(w.prompts.shown.empty(), qPrintable(w.prompts.texts().join(" | ")));
        QCOMPARE(field(editor, "TxtBasinName")->text(), QStringLiteral("Pine Hollow"));
        QCOMPARE(cellText(editor, 0, 0), QStringLiteral("5.10"));
        QCOMPARE(cellText(editor, 6, 0), QStringLiteral("12.0"));
        QCOMPARE(cellText(editor, 3, 4), QStringLiteral("2.50"));
        QCOMPARE(cellText(editor, 6, 9), QStringLiteral("0.394"));
        const QString source = child<QPlainTextEdit>(editor, "TxtProvenance")->toPlainText();
        QVERIFY2(source.contains("hand-made test table"), qPrintable(source));
        QVERIFY2(source.contains("12.3456 N"), qPrintable(source));
        QCOMPARE(editor->plot()->curves()[6].points.front().intensity, 12.0);
        // Reviewed, not stored.
        QCOMPARE(listRows(w.ws()), before);
        QVERIFY(!LocationExists(w.ws(), "Pine Hollow"));

        click(editor, "CmdUpdate");
        QCOMPARE(w.prompts.texts().size(), 1); // whether the project takes it
        QVERIFY(w.prompts.texts()[0].startsWith("Make Pine Hollow the rainfall table"));
        QCOMPARE(listRows(w.ws()), before + QStringList{"Pine Hollow"});
        QCOMPARE(storedTable(w.ws(), "Pine Hollow")[4].values[3], QStringLiteral("2.50"));
        QVERIFY(ReadProvenance(w.ws(), "Pine Hollow").find("hand-made test table") !=
                std::string::npos);
    }

    void importOverAStoredLocationProposesTheFilesNameAndAsksBeforeReplacing() {
        World w;
        QTemporaryDir files;
        w.prompts.fileNames.push_back(writeFile(
            files, "pine.csv",
            shippedFormatTable("Pine Hollow", "0.083333,5.10,5.90,7.10,8.10,9.60,10.8,12.0")));
        FrmIntensityTable* editor = w.openEditor("Lake Houston");
        click(editor, "CmdImport");
        QCOMPARE(field(editor, "TxtBasinName")->text(), QStringLiteral("Pine Hollow"));
        QVERIFY(!editor->isNameLocked()); // a new location, its name editable
        QCOMPARE(cellText(editor, 0, 0), QStringLiteral("5.10"));
        // Renamed back onto the stored location: asked, declined, nothing replaced.
        field(editor, "TxtBasinName")->setText("lake houston");
        w.prompts.answers = {Prompts::Answer::No};
        click(editor, "CmdUpdate");
        QCOMPARE(w.prompts.texts(),
                 QStringList{
                     "Replace the rainfall table of Lake Houston for every project that uses it?"});
        QCOMPARE(storedTable(w.ws(), "Lake Houston")[0].values[0], QStringLiteral("5.93"));
        QVERIFY(editor->isVisible());
    }

    void importShowsItsDoubtsInOneMessage() {
        World w;
        QTemporaryDir files;
        // The 10-yr and 25-yr values of the first row are swapped: intensity falls as the
        // return period rises.
        w.prompts.fileNames.push_back(writeFile(
            files, "swapped.csv",
            shippedFormatTable("Swapped", "0.083333,5.10,5.90,7.10,9.60,8.10,10.8,12.0")));
        FrmIntensityTable* editor = w.openEditor("Atlanta");
        click(editor, "CmdAdd");
        click(editor, "CmdImport");
        QCOMPARE(w.prompts.shown.size(), std::size_t(1));
        QCOMPARE(w.prompts.shown[0].icon, Prompts::Icon::Exclamation);
        const QString& text = w.prompts.shown[0].text;
        QVERIFY2(text.startsWith("Please check these values before you press Update:"),
                 qPrintable(text));
        const std::vector<std::string> doubts = CheckIntensityGrid(editor->gridTexts());
        QVERIFY(!doubts.empty());
        for (const std::string& doubt : doubts)
            QVERIFY2(text.contains(QString::fromStdString(doubt)), qPrintable(text));
        // The table is there to be mended before Update.
        QCOMPARE(cellText(editor, 3, 0), QStringLiteral("9.60"));
        QCOMPARE(field(editor, "TxtBasinName")->text(), QStringLiteral("Swapped"));
    }

    void aRefusedOrUnreadableFileChangesNothing_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("annual maximum series")
            << QByteArray("Point precipitation frequency estimates (inches)\n"
                          "NOAA Atlas 14 Volume 2 Version 3\n"
                          "Data type: Precipitation depth\n"
                          "Time series type: Annual maximum\n\n"
                          "PRECIPITATION FREQUENCY ESTIMATES\n"
                          "by duration for AEP:, 1/2,1/5,1/10,1/25,1/50,1/100,1/200,1/500,1/1000\n"
                          "5-min:, 0.409,0.485,0.575,0.647,0.740,0.812,0.884,0.960,1.06\n");
        QTest::newRow("not a table") << QByteArray("hello, world\n");
    }
    void aRefusedOrUnreadableFileChangesNothing() {
        QFETCH(QByteArray, bytes);
        World w;
        QTemporaryDir files;
        w.prompts.fileNames.push_back(writeFile(files, "refused.csv", bytes));
        FrmIntensityTable* editor = w.openEditor("Lake Houston");
        click(editor, "CmdImport");
        QCOMPARE(w.prompts.shown.size(), std::size_t(1));
        QCOMPARE(w.prompts.shown[0].title, QStringLiteral("Error"));
        QVERIFY(!w.prompts.shown[0].text.isEmpty());
        QCOMPARE(cellText(editor, 0, 0), QStringLiteral("5.93"));
        QVERIFY(
            child<QPlainTextEdit>(editor, "TxtProvenance")->toPlainText().contains("Volume 11"));

        // A file gone between the dialog and the read is told too.
        w.prompts.fileNames.push_back(files.filePath("gone.csv"));
        click(editor, "CmdImport");
        QCOMPARE(w.prompts.shown.size(), std::size_t(2));
        QVERIFY2(w.prompts.shown[1].text.contains("could not be read"),
                 qPrintable(w.prompts.shown[1].text));
        QCOMPARE(cellText(editor, 0, 0), QStringLiteral("5.93"));

        // And a cancelled file dialog does nothing at all.
        click(editor, "CmdImport");
        QCOMPARE(w.prompts.shown.size(), std::size_t(2));
    }

    // ---- The curves ----------------------------------------------------------------------------

    void theCurvesFollowTheCells() {
        World w;
        FrmIntensityTable* editor = w.openEditor("Lake Houston");
        IdfPlot* plot = editor->plot();
        QCOMPARE(plot->title(), QStringLiteral("Lake Houston"));
        QCOMPARE(plot->curves().size(), std::size_t(7));
        const QList<int> years{1, 2, 5, 10, 25, 50, 100};
        for (std::size_t k = 0; k < 7; ++k) {
            QCOMPARE(plot->curves()[k].years, years[static_cast<int>(k)]);
            QCOMPARE(plot->curves()[k].points.size(), std::size_t(10));
        }
        const IdfPoint fiveYearHour = plot->curves()[2].points[4];
        QCOMPARE(fiveYearHour.row, 4);
        QCOMPARE(fiveYearHour.minutes, 60.0);
        QCOMPARE(fiveYearHour.intensity, 2.79);

        // A slipped decimal point is a kink: the point leaves its neighbours.
        editor->cell(2, 4)->setText("27.9");
        QCOMPARE(plot->curves()[2].points[4].intensity, 27.9);
        QVERIFY(plot->curves()[2].points[4].intensity > plot->curves()[2].points[3].intensity);
        // Text after the number is read past; no number, or zero, leaves a gap.
        editor->cell(2, 4)->setText("2.5 in");
        QCOMPARE(plot->curves()[2].points[4].intensity, 2.5);
        for (const QString& text : {QString("abc"), QString("0"), QString()}) {
            editor->cell(2, 4)->setText(text);
            const std::vector<IdfPoint>& points = plot->curves()[2].points;
            QCOMPARE(points.size(), std::size_t(9));
            QCOMPARE(points[4].row, 5);
        }
        QCOMPARE(plot->curves()[3].points.size(), std::size_t(10)); // the other curves are unmoved

        click(editor, "CmdAdd");
        QVERIFY(plot->title().isEmpty());
        for (const IdfCurve& curve : plot->curves())
            QVERIFY(curve.points.empty());
        QTest::keyClicks(field(editor, "TxtBasinName"), "New");
        QCOMPARE(plot->title(), QStringLiteral("New"));
    }

    void axesSpanTheValuesOnThe125Series_data() {
        QTest::addColumn<double>("low");
        QTest::addColumn<double>("high");
        QTest::addColumn<double>("niceLow");
        QTest::addColumn<double>("niceHigh");
        QTest::newRow("durations") << 5.0 << 1440.0 << 5.0 << 2000.0;
        QTest::newRow("a short Tc") << 3.2 << 1440.0 << 2.0 << 2000.0;
        QTest::newRow("intensities") << 0.156 << 15.5 << 0.1 << 20.0;
        QTest::newRow("exact decades") << 0.1 << 1000.0 << 0.1 << 1000.0;
        QTest::newRow("a 2 and a 5") << 0.21 << 4.9 << 0.2 << 5.0;
        QTest::newRow("reversed") << 15.5 << 0.156 << 0.1 << 20.0;
        QTest::newRow("one value gets room") << 1.0 << 1.0 << 0.5 << 2.0;
    }
    void axesSpanTheValuesOnThe125Series() {
        QFETCH(double, low);
        QFETCH(double, high);
        QFETCH(double, niceLow);
        QFETCH(double, niceHigh);
        const LogRange range = NiceLogRange(low, high);
        QVERIFY2(qFuzzyCompare(range.low, niceLow), qPrintable(QString::number(range.low)));
        QVERIFY2(qFuzzyCompare(range.high, niceHigh), qPrintable(QString::number(range.high)));
    }

    void aMarkedTcWidensTheDurationAxisWhenItLiesOutside() {
        IdfPlot plot;
        QVERIFY(qFuzzyCompare(plot.durationRange().low, 5.0));
        plot.setMarkedTc(3.0);
        QCOMPARE(plot.markedTc(), std::optional<double>(3.0));
        QVERIFY(qFuzzyCompare(plot.durationRange().low, 2.0));
        plot.setMarkedTc(0.0);
        QCOMPARE(plot.markedTc(), std::nullopt);
        QVERIFY(qFuzzyCompare(plot.durationRange().low, 5.0));
        // No positive value at all: a plain default range rather than a broken one.
        QVERIFY(qFuzzyCompare(plot.intensityRange().low, 0.1));
        QVERIFY(qFuzzyCompare(plot.intensityRange().high, 10.0));
    }

    void screenshots() {
        World w;
        FrmIntensityTable* editor = w.openEditor("Atlanta");
        editor->cell(3, 5)->setText("13.8"); // a slipped point, to show the kink
        QCoreApplication::processEvents();
        QVERIFY(editor->plot()->width() >= 400);
        SaveScreenshot(editor, "FrmIntensityTable");

        IdfCurvesSource source{"Atlanta", {}, 23.4};
        const std::vector<IntensityRow> rows = ReadLocationRows(w.ws(), "Atlanta");
        for (std::size_t r = 0; r < 10; ++r)
            source.grid[r] = rows[r].values;
        FrmIdfCurves curves(source, w.owner.windowIcon());
        curves.show();
        QVERIFY(QTest::qWaitForWindowExposed(&curves));
        QCOMPARE(curves.windowTitle(), QStringLiteral("IDF Curves - Atlanta"));
        QCOMPARE(curves.plot()->markedTc(), std::optional<double>(23.4));
        QCOMPARE(curves.plot()->curves()[6].points.front().intensity, 11.8);
        SaveScreenshot(&curves, "FrmIdfCurves");
    }
};

QTEST_MAIN(TstRainEditor)
#include "tst_rain_editor.moc"
