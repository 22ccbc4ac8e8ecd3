#include "GuiTestSupport.h"

#include "core/settings/ProjectSettings.h"
#include "core/store/Database.h"
#include "core/store/IntensityDb.h"
#include "core/store/ProjectDb.h"
#include "gui/app/AppContext.h"
#include "gui/app/Prompts.h"
#include "gui/settings/FrmInfo.h"
#include "gui/settings/FrmNodeInfo.h"
#include "gui/settings/FrmSelectIvalBasin.h"
#include "gui/settings/FrmSelectNodeBasin.h"

#include <QDate>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

using namespace pluvane;
using namespace pluvane::gui;
using namespace pluvane::gui::test;

namespace {

using Rows = QList<QStringList>;

// Every row of a project table as texts ("<null>" for NULL), read on a connection of its own,
// as a later run of the program would read the file.
Rows tableRows(const Workspace& ws, const char* table) {
    Workspace fresh;
    fresh.ProjectPath = ws.ProjectPath;
    Database db = OpenProjectDb(fresh);
    Statement q = db.prepare(std::string("SELECT * FROM ") + table + " ORDER BY rowid");
    Rows rows;
    while (q.step()) {
        QStringList row;
        for (int i = 0; i < q.columnCount(); ++i)
            row << QString::fromStdString(q.text(i).value_or("<null>"));
        rows << row;
    }
    return rows;
}

void execOnProject(const Workspace& ws, const char* sql) {
    Database db = OpenProjectDb(ws);
    db.exec(sql);
}

// Runs the closes and deletions a window asked for, as the event loop would between two user
// actions.
void settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

template <class W>
W* child(QWidget* window, const char* name) {
    W* widget = window->findChild<W*>(name);
    if (!widget)
        qFatal("%s has no %s", qPrintable(window->objectName()), name);
    return widget;
}

QLineEdit* field(QWidget* window, const char* name) { return child<QLineEdit>(window, name); }
void click(QWidget* window, const char* button) {
    QTest::mouseClick(child<QPushButton>(window, button), Qt::LeftButton);
}

// Highlights a location in a picker the way a user does, by clicking it.
void pick(QWidget* picker, const QString& location) {
    auto* list = child<QListWidget>(picker, "List1");
    const QList<QListWidgetItem*> items = list->findItems(location, Qt::MatchExactly);
    if (items.size() != 1)
        qFatal("no single list entry %s", qPrintable(location));
    list->scrollToItem(items.front());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(items.front()).center());
}

QStringList listEntries(QWidget* picker) {
    auto* list = child<QListWidget>(picker, "List1");
    QStringList entries;
    for (int i = 0; i < list->count(); ++i)
        entries << list->item(i)->text();
    return entries;
}

// The widgets Tab walks through, from `first` on, by object name.
QStringList tabWalk(QWidget* first, int steps) {
    QStringList names;
    QWidget* widget = first;
    for (int i = 0; i < steps; ++i) {
        names << widget->objectName();
        do
            widget = widget->nextInFocusChain();
        while (!(widget->focusPolicy() & Qt::TabFocus) || !widget->isVisibleTo(first->window()));
    }
    return names;
}

QString fromStd(const std::string& text) { return QString::fromStdString(text); }

const QString kFillBasin = "Please Fill in Basin Information Fields";
const QString kFillAll = "Please fill all fields";

// One test's world: a private data folder and new project, recorded prompts, and a stand-in
// main window whose icon every settings window must take and which owns them all.
struct World {
    TestProject project;
    RecordingPrompts prompts;
    AppContext ctx{project.workspace, prompts};
    QWidget owner;
    int canvasOpenings = 0;

    World() {
        QPixmap picture(32, 32);
        picture.fill(Qt::darkCyan);
        owner.setWindowIcon(QIcon(picture));
        ctx.setMainWindow(&owner);
        ctx.onOpenCanvas = [this] { ++canvasOpenings; };
        ctx.session().setCurrentIntensityTable("Atlanta"); // as a run that used it before
    }
    Workspace& ws() { return ctx.workspace(); }
    // The project as a finished setup left it.
    void completeSetup(const ProjectFields& project, const NodeFields& node) {
        SaveProjectSettings(ws(), project, node, false);
        ctx.refreshIntensityTable();
    }
};

} // namespace

class TstSettings : public QObject {
    Q_OBJECT
private slots:
    // ---- Project setup ----------------------------------------------------------------

    void setupOfANewProjectIsEmptyButForTodaysDate() {
        World w;
        FrmInfo* setup = FrmInfo::open(w.ctx, &w.owner);
        QVERIFY(QTest::qWaitForWindowExposed(setup));
        QCOMPARE(setup->windowTitle(), QStringLiteral("Project Setup"));
        QVERIFY(!setup->isModal());
        QVERIFY(setup->testAttribute(Qt::WA_DeleteOnClose));
        QCOMPARE(setup->windowIcon().cacheKey(), w.owner.windowIcon().cacheKey());
        QVERIFY(!setup->existingProject());

        for (const char* name : {"TxtProjectName", "TxtJobNumber", "TxtDesignEngineer",
                                 "TxtProjectManager", "TxtBasinName", "TxtITable"})
            QVERIFY2(field(setup, name)->text().isEmpty(), name);
        const QString today =
            QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
        QCOMPARE(field(setup, "TxtDesignDate")->text(), today);
        QVERIFY(today.contains(QString::number(QDate::currentDate().day())));

        // Captions and frames as the engineer knows them.
        const QList<std::pair<const char*, QString>> labels{
            {"Label5", "Project Name"},    {"Label1", "Job Number"},      {"Label4", "Design Date"},
            {"Label3", "Design Engineer"}, {"Label2", "Project Manager"}, {"Label6", "Basin Name"},
            {"Label7", "Intensity Table"}};
        for (const auto& [name, text] : labels)
            QCOMPARE(child<QLabel>(setup, name)->text(), text);
        QCOMPARE(child<QPushButton>(setup, "CmdIList")->text(), QStringLiteral("?"));
        QCOMPARE(child<QPushButton>(setup, "CmdOK")->text(), QStringLiteral("OK"));
        QCOMPARE(child<QPushButton>(setup, "CmdCancel")->text(), QStringLiteral("Cancel"));
        QStringList frames;
        for (QGroupBox* frame : setup->findChildren<QGroupBox*>())
            frames << frame->title();
        QCOMPARE(frames,
                 (QStringList{"Project Information", "Design Information", "Basin Information"}));
        QVERIFY(child<QGroupBox>(setup, "FraDesign")->isAncestorOf(field(setup, "TxtDesignDate")));
        QVERIFY(child<QGroupBox>(setup, "FraBasin")->isAncestorOf(field(setup, "TxtITable")));

        QCOMPARE(
            tabWalk(field(setup, "TxtProjectName"), 12),
            (QStringList{"TxtProjectName", "TxtJobNumber", "TxtDesignDate", "TxtDesignEngineer",
                         "TxtProjectManager", "CboMinimumTc", "TxtMinimumTc", "TxtBasinName",
                         "TxtITable", "CmdIList", "CmdOK", "CmdCancel"}));
        QVERIFY(w.prompts.shown.empty());
        SaveScreenshot(setup, "FrmInfo-new");
    }

    void okWithOnlyTheNodeFieldsMakesOneRowEachAndOpensTheCanvas() {
        World w;
        FrmInfo* setup = FrmInfo::open(w.ctx, &w.owner);
        QPointer<FrmInfo> watch = setup;
        for (const char* name : {"TxtProjectName", "TxtJobNumber", "TxtDesignEngineer",
                                 "TxtProjectManager", "TxtDesignDate"})
            field(setup, name)->clear();
        QTest::keyClicks(field(setup, "TxtBasinName"), "Outfall 1");
        QTest::keyClicks(field(setup, "TxtITable"), "Fort Myers");
        click(setup, "CmdOK");

        QVERIFY(w.prompts.shown.empty());
        QCOMPARE(w.canvasOpenings, 1);
        QCOMPARE(w.ctx.session().CurrentIntensityTable(), std::string("Fort Myers"));
        settle();
        QVERIFY2(!watch, "OK closes the setup window");
        QCOMPARE(tableRows(w.ws(), "TblProjectInfo"), (Rows{{"", "", "", "", "", "Fort Myers"}}));
        QCOMPARE(tableRows(w.ws(), "TblNodeInfo"),
                 (Rows{{"Outfall 1", "Fort Myers", "5040", "5160"}}));
    }

    void reopeningShowsTheStoredValuesAndOkAddsNoRows() {
        World w;
        FrmInfo* setup = FrmInfo::open(w.ctx, &w.owner);
        field(setup, "TxtProjectName")->setText("Harbour Road Outfall");
        field(setup, "TxtJobNumber")->setText("J-2291");
        field(setup, "TxtDesignDate")->setText("3/14/2027");
        field(setup, "TxtDesignEngineer")->setText("R. O'Neil");
        field(setup, "TxtProjectManager")->setText("Zoë Ångström");
        field(setup, "TxtBasinName")->setText("Outfall 'A'");
        field(setup, "TxtITable")->setText("Lake Houston");
        click(setup, "CmdOK");
        settle();

        w.ctx.session().setCurrentIntensityTable("Atlanta");
        setup = FrmInfo::open(w.ctx, &w.owner);
        QVERIFY(setup->existingProject());
        QCOMPARE(field(setup, "TxtProjectName")->text(), QStringLiteral("Harbour Road Outfall"));
        QCOMPARE(field(setup, "TxtJobNumber")->text(), QStringLiteral("J-2291"));
        QCOMPARE(field(setup, "TxtDesignDate")->text(), QStringLiteral("3/14/2027"));
        QCOMPARE(field(setup, "TxtDesignEngineer")->text(), QStringLiteral("R. O'Neil"));
        QCOMPARE(field(setup, "TxtProjectManager")->text(), QStringLiteral("Zoë Ångström"));
        QCOMPARE(field(setup, "TxtBasinName")->text(), QStringLiteral("Outfall 'A'"));
        QCOMPARE(field(setup, "TxtITable")->text(), QStringLiteral("Lake Houston"));
        QCOMPARE(w.ctx.session().CurrentIntensityTable(), std::string("Lake Houston"));
        SaveScreenshot(setup, "FrmInfo-existing");

        field(setup, "TxtProjectName")->setText("Harbour Road Outfall, phase 2");
        click(setup, "CmdOK");
        settle();
        QCOMPARE(w.canvasOpenings, 2);
        QCOMPARE(tableRows(w.ws(), "TblProjectInfo"),
                 (Rows{{"Harbour Road Outfall, phase 2", "R. O'Neil", "Zoë Ångström", "3/14/2027",
                        "J-2291", "Lake Houston"}}));
        QCOMPARE(tableRows(w.ws(), "TblNodeInfo"),
                 (Rows{{"Outfall 'A'", "Lake Houston", "5040", "5160"}}));
    }

    void okWithoutTheNodeNameOrTableIsRefused_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("table");
        QTest::newRow("no table") << "Outfall"
                                  << "";
        QTest::newRow("no name") << ""
                                 << "Atlanta";
        QTest::newRow("neither") << ""
                                 << "";
    }
    void okWithoutTheNodeNameOrTableIsRefused() {
        QFETCH(QString, name);
        QFETCH(QString, table);
        World w;
        FrmInfo* setup = FrmInfo::open(w.ctx, &w.owner);
        field(setup, "TxtProjectName")->setText("Filled in");
        field(setup, "TxtBasinName")->setText(name);
        field(setup, "TxtITable")->setText(table);
        click(setup, "CmdOK");
        QCOMPARE(w.prompts.shown.size(), std::size_t(1));
        const auto& box = w.prompts.shown.front();
        QCOMPARE(box.title, QStringLiteral("Error"));
        QCOMPARE(box.text, kFillBasin);
        QCOMPARE(box.icon, Prompts::Icon::Information);
        QCOMPARE(box.buttons, Prompts::Buttons::Ok);
        settle();
        QVERIFY2(setup->isVisible(), "the window stays open for the user to fill in");
        QCOMPARE(w.canvasOpenings, 0);
        QVERIFY(tableRows(w.ws(), "TblProjectInfo").isEmpty());
        QVERIFY(tableRows(w.ws(), "TblNodeInfo").isEmpty());
    }

    void cancelAndEscapeWriteNothing() {
        World w;
        for (bool escape : {false, true}) {
            QPointer<FrmInfo> setup = FrmInfo::open(w.ctx, &w.owner);
            field(setup, "TxtBasinName")->setText("Outfall");
            field(setup, "TxtITable")->setText("Atlanta");
            if (escape)
                QTest::keyClick(field(setup, "TxtBasinName"), Qt::Key_Escape);
            else
                click(setup, "CmdCancel");
            settle();
            QVERIFY(!setup);
        }
        QCOMPARE(w.canvasOpenings, 0);
        QVERIFY(w.prompts.shown.empty());
        QVERIFY(tableRows(w.ws(), "TblProjectInfo").isEmpty());
        QVERIFY(tableRows(w.ws(), "TblNodeInfo").isEmpty());
        QCOMPARE(w.ctx.session().CurrentIntensityTable(), std::string("Atlanta"));
    }

    void aProjectRowWithoutANodeRowLoadsAndGetsItsNodeOnOk() {
        World w;
        execOnProject(
            w.ws(),
            "INSERT INTO TblProjectInfo (ProjectName, DesignDate) VALUES ('Half done', '1/2/2027')");
        FrmInfo* setup = FrmInfo::open(w.ctx, &w.owner);
        QVERIFY(w.prompts.shown.empty());
        QVERIFY(setup->existingProject());
        QCOMPARE(field(setup, "TxtProjectName")->text(), QStringLiteral("Half done"));
        QCOMPARE(field(setup, "TxtDesignDate")->text(), QStringLiteral("1/2/2027"));
        QVERIFY(field(setup, "TxtBasinName")->text().isEmpty());
        field(setup, "TxtBasinName")->setText("Outfall");
        field(setup, "TxtITable")->setText("Atlanta");
        click(setup, "CmdOK");
        QVERIFY(w.prompts.shown.empty());
        QCOMPARE(tableRows(w.ws(), "TblProjectInfo").size(), 1);
        QCOMPARE(tableRows(w.ws(), "TblNodeInfo"), (Rows{{"Outfall", "Atlanta", "5040", "5160"}}));
    }

    void aFailedSaveIsShownAndTheWindowStaysOpen() {
        World w;
        execOnProject(w.ws(), "CREATE TRIGGER refuse BEFORE INSERT ON TblNodeInfo "
                              "BEGIN SELECT RAISE(ABORT, 'node refused'); END;");
        FrmInfo* setup = FrmInfo::open(w.ctx, &w.owner);
        field(setup, "TxtBasinName")->setText("Outfall");
        field(setup, "TxtITable")->setText("Fort Myers");
        click(setup, "CmdOK");
        QCOMPARE(w.prompts.shown.size(), std::size_t(1));
        QCOMPARE(w.prompts.shown.front().title, QStringLiteral("Error"));
        QVERIFY(w.prompts.shown.front().text.contains("node refused"));
        settle();
        QVERIFY(setup->isVisible());
        QCOMPARE(w.canvasOpenings, 0);
        QCOMPARE(w.ctx.session().CurrentIntensityTable(), std::string("Atlanta"));
        QVERIFY(tableRows(w.ws(), "TblProjectInfo").isEmpty());
    }

    void aProjectThatCannotBeReadSaysSoAndTheSetupDoesNotStay() {
        World w;
        QFile::remove(fromStd(w.ws().ProjectPath));
        QPointer<FrmInfo> setup = FrmInfo::open(w.ctx, &w.owner);
        QCOMPARE(w.prompts.shown.size(), std::size_t(1));
        QVERIFY(w.prompts.shown.front().text.contains("cannot be opened"));
        settle();
        QVERIFY(!setup);
        QVERIFY(!QFile::exists(fromStd(w.ws().ProjectPath)));
    }

    void theSetupWindowExistsOnce() {
        World w;
        FrmInfo* first = FrmInfo::open(w.ctx, &w.owner);
        first->findChild<QLineEdit*>("TxtBasinName")->setText("typed, not saved");
        FrmInfo* second = FrmInfo::open(w.ctx, &w.owner);
        QCOMPARE(second, first);
        QCOMPARE(field(second, "TxtBasinName")->text(), QStringLiteral("typed, not saved"));
    }

    // ---- The project's table picker ----------------------------------------------------

    void thePickerListsTheLocationsInStoredOrderWithTheirSources() {
        World w;
        SaveLocation(w.ws(), "Alder Flat", [] {
            IntensityGrid grid;
            for (auto& row : grid)
                row.fill("2.0");
            return grid;
        }());
        w.ctx.session().setCurrentIntensityTable("Atlanta");
        FrmSelectIvalBasin* picker = FrmSelectIvalBasin::open(w.ctx, &w.owner);
        QVERIFY(QTest::qWaitForWindowExposed(picker));
        QCOMPARE(picker->windowTitle(), QStringLiteral("Select Intensity Table"));
        QCOMPARE(picker->windowIcon().cacheKey(), w.owner.windowIcon().cacheKey());
        QCOMPARE(child<QLabel>(picker, "Label1")->text(), QStringLiteral("Select Basin"));
        QCOMPARE(child<QPushButton>(picker, "CmdOK")->text(), QStringLiteral("OK"));
        QCOMPARE(child<QPushButton>(picker, "CmdCancel")->text(), QStringLiteral("Cancel"));
        QCOMPARE(listEntries(picker),
                 (QStringList{"Atlanta", "Fort Myers", "Lake Houston", "Alder Flat"}));
        QVERIFY(picker->selectedLocation().isEmpty());

        auto* source = child<QPlainTextEdit>(picker, "TxtProvenance");
        QVERIFY(source->isReadOnly());
        QVERIFY(source->toPlainText().isEmpty());
        pick(picker, "Fort Myers");
        QCOMPARE(picker->selectedLocation(), QStringLiteral("Fort Myers"));
        QVERIFY(source->toPlainText().contains("NOAA Atlas 14"));
        QVERIFY(source->toPlainText().contains("Fort Myers, Florida"));
        pick(picker, "Atlanta"); // the longest shipped source
        SaveScreenshot(picker, "FrmSelectIvalBasin");
        pick(picker, "Alder Flat");
        QCOMPARE(source->toPlainText(), QStringLiteral("No source is recorded for this location."));
        QVERIFY(w.prompts.shown.empty());
    }

    void choosingFromTheSetupFillsItsFieldAndWritesTheProjectAtOnce() {
        World w;
        w.completeSetup({"Harbour Road", "", "", "", ""}, {"Outfall", "Atlanta"});
        int editorShowings = 0;
        w.ctx.onShowIntensityEditor = [&] { ++editorShowings; };
        FrmInfo* setup = FrmInfo::open(w.ctx, &w.owner);
        QPointer<FrmInfo> setupWatch = setup;
        click(setup, "CmdIList");
        QPointer<FrmSelectIvalBasin> picker = w.ctx.existing<FrmSelectIvalBasin>();
        QVERIFY(picker && picker->isVisible());
        QCOMPARE(picker->tag(), QStringLiteral("FrmInfo"));

        pick(picker, "Fort Myers");
        click(picker, "CmdOK");
        QVERIFY(w.prompts.shown.empty());
        QCOMPARE(field(setup, "TxtITable")->text(), QStringLiteral("Fort Myers"));
        QCOMPARE(picker->tag(), QString());
        QCOMPARE(editorShowings, 0);
        QCOMPARE(w.ctx.session().CurrentIntensityTable(), std::string("Fort Myers"));
        settle();
        QVERIFY2(!picker, "OK closes the picker");
        QCOMPARE(tableRows(w.ws(), "TblProjectInfo")[0][5], QStringLiteral("Fort Myers"));

        // Cancelled afterwards: the project's table stays written, on the node row as well, so
        // the file records one table and the solve uses it.
        click(setup, "CmdCancel");
        settle();
        QVERIFY(!setupWatch);
        QCOMPARE(tableRows(w.ws(), "TblProjectInfo")[0][5], QStringLiteral("Fort Myers"));
        QCOMPARE(tableRows(w.ws(), "TblNodeInfo"),
                 (Rows{{"Outfall", "Fort Myers", "5040", "5160"}}));
        QCOMPARE(w.canvasOpenings, 0);
    }

    void choosingWithoutATagShowsTheEditorAgain() {
        World w;
        w.completeSetup({}, {"Outfall", "Atlanta"});
        int editorShowings = 0;
        w.ctx.onShowIntensityEditor = [&] {
            ++editorShowings;
            QCOMPARE(w.ctx.session().CurrentIntensityTable(), std::string("Lake Houston"));
        };
        FrmInfo* setup = FrmInfo::open(w.ctx, &w.owner);
        FrmSelectIvalBasin* picker = FrmSelectIvalBasin::open(w.ctx, &w.owner);
        QCOMPARE(picker->tag(), QString());
        pick(picker, "Lake Houston");
        click(picker, "CmdOK");
        QCOMPARE(editorShowings, 1);
        QVERIFY(w.prompts.shown.empty());
        // Only a picker opened by the setup writes into its field.
        QCOMPARE(field(setup, "TxtITable")->text(), QStringLiteral("Atlanta"));
        QCOMPARE(tableRows(w.ws(), "TblProjectInfo")[0][5], QStringLiteral("Lake Houston"));
        QCOMPARE(tableRows(w.ws(), "TblNodeInfo")[0][1], QStringLiteral("Lake Houston"));
    }

    void withoutTheEditorTheUserIsToldItIsNotThereYet() {
        World w;
        w.completeSetup({}, {"Outfall", "Atlanta"});
        QPointer<FrmSelectIvalBasin> picker = FrmSelectIvalBasin::open(w.ctx, &w.owner);
        pick(picker, "Fort Myers");
        click(picker, "CmdOK");
        QCOMPARE(w.prompts.shown.size(), std::size_t(1));
        QCOMPARE(w.prompts.shown.front().title, QStringLiteral("Information"));
        QCOMPARE(w.prompts.shown.front().text,
                 QStringLiteral("The rainfall intensity table editor is not available yet."));
        settle();
        QVERIFY(!picker);
        QCOMPARE(tableRows(w.ws(), "TblProjectInfo")[0][5], QStringLiteral("Fort Myers"));
    }

    void okWithoutASelectionActsAsCancel() {
        World w;
        w.completeSetup({}, {"Outfall", "Atlanta"});
        FrmInfo* setup = FrmInfo::open(w.ctx, &w.owner);
        click(setup, "CmdIList");
        QPointer<FrmSelectIvalBasin> picker = w.ctx.existing<FrmSelectIvalBasin>();
        click(picker, "CmdOK");
        settle();
        QVERIFY(!picker);
        QVERIFY(w.prompts.shown.empty());
        QCOMPARE(w.ctx.session().CurrentIntensityTable(), std::string("Atlanta"));
        QCOMPARE(field(setup, "TxtITable")->text(), QStringLiteral("Atlanta"));
        QCOMPARE(tableRows(w.ws(), "TblProjectInfo")[0][5], QStringLiteral("Atlanta"));
        QCOMPARE(tableRows(w.ws(), "TblNodeInfo")[0][1], QStringLiteral("Atlanta"));
    }

    void cancellingThePickerChangesNothing() {
        World w;
        w.completeSetup({}, {"Outfall", "Atlanta"});
        FrmInfo* setup = FrmInfo::open(w.ctx, &w.owner);
        click(setup, "CmdIList");
        QPointer<FrmSelectIvalBasin> picker = w.ctx.existing<FrmSelectIvalBasin>();
        pick(picker, "Fort Myers");
        click(picker, "CmdCancel");
        settle();
        QVERIFY(!picker);
        QCOMPARE(field(setup, "TxtITable")->text(), QStringLiteral("Atlanta"));
        QCOMPARE(w.ctx.session().CurrentIntensityTable(), std::string("Atlanta"));
        QCOMPARE(tableRows(w.ws(), "TblProjectInfo")[0][5], QStringLiteral("Atlanta"));
    }

    void aPickerWithNothingToListSaysWhyAndDoesNotStay_data() {
        QTest::addColumn<bool>("databaseMissing");
        QTest::newRow("empty list") << false;
        QTest::newRow("no database") << true;
    }
    void aPickerWithNothingToListSaysWhyAndDoesNotStay() {
        QFETCH(bool, databaseMissing);
        World w;
        w.completeSetup({}, {"Outfall", "Atlanta"});
        if (databaseMissing) {
            QFile::remove(fromStd(w.ws().intensityDbPath()));
        } else {
            Database db = OpenIntensityDb(w.ws());
            db.exec("DELETE FROM BasinName");
        }
        FrmInfo* setup = FrmInfo::open(w.ctx, &w.owner);
        click(setup, "CmdIList");
        QCOMPARE(w.prompts.shown.size(), std::size_t(1));
        QCOMPARE(w.prompts.shown.front().title, QStringLiteral("Error"));
        QVERIFY(w.prompts.shown.front().text.contains(databaseMissing ? "is missing"
                                                                      : "holds no locations"));
        settle();
        QVERIFY(!w.ctx.existing<FrmSelectIvalBasin>());
        QVERIFY(setup->isVisible());
        QCOMPARE(field(setup, "TxtITable")->text(), QStringLiteral("Atlanta"));
    }

    void aFailedProjectWriteKeepsThePickerAndChangesNothing() {
        World w;
        w.completeSetup({}, {"Outfall", "Atlanta"});
        execOnProject(w.ws(), "CREATE TRIGGER refuse BEFORE UPDATE ON TblProjectInfo "
                              "BEGIN SELECT RAISE(ABORT, 'project refused'); END;");
        FrmInfo* setup = FrmInfo::open(w.ctx, &w.owner);
        click(setup, "CmdIList");
        FrmSelectIvalBasin* picker = w.ctx.existing<FrmSelectIvalBasin>();
        pick(picker, "Fort Myers");
        click(picker, "CmdOK");
        QCOMPARE(w.prompts.shown.size(), std::size_t(1));
        QVERIFY(w.prompts.shown.front().text.contains("project refused"));
        settle();
        QVERIFY(picker->isVisible());
        QCOMPARE(picker->tag(), QStringLiteral("FrmInfo"));
        QCOMPARE(field(setup, "TxtITable")->text(), QStringLiteral("Atlanta"));
        QCOMPARE(w.ctx.session().CurrentIntensityTable(), std::string("Atlanta"));
    }

    // ---- Node window and its picker -----------------------------------------------------

    void anEmptyNodeTableOpensEmptyAndUpdateWithoutATableIsRefused() {
        World w;
        FrmNodeInfo* node = FrmNodeInfo::open(w.ctx, &w.owner);
        QVERIFY(QTest::qWaitForWindowExposed(node));
        QCOMPARE(node->windowTitle(), QStringLiteral("Basin Information"));
        QCOMPARE(node->windowIcon().cacheKey(), w.owner.windowIcon().cacheKey());
        QVERIFY(!node->isModal());
        QCOMPARE(child<QLabel>(node, "Label1")->text(), QStringLiteral("Basin Name"));
        QCOMPARE(child<QLabel>(node, "Label2")->text(), QStringLiteral("Inensity Table"));
        QCOMPARE(child<QPushButton>(node, "CmdTableList")->text(), QStringLiteral("?"));
        QCOMPARE(child<QPushButton>(node, "CmdUpdate")->text(), QStringLiteral("Update"));
        QCOMPARE(child<QPushButton>(node, "CmdCancel")->text(), QStringLiteral("Cancel"));
        QVERIFY(field(node, "TxtNodeName")->text().isEmpty());
        QVERIFY(field(node, "TxtIntensityTable")->text().isEmpty());
        QCOMPARE(w.ctx.session().CurrentIntensityTable(), std::string("Atlanta"));
        QCOMPARE(tabWalk(field(node, "TxtNodeName"), 5),
                 (QStringList{"TxtNodeName", "TxtIntensityTable", "CmdTableList", "CmdUpdate",
                              "CmdCancel"}));

        field(node, "TxtNodeName")->setText("Outfall");
        click(node, "CmdUpdate");
        QCOMPARE(w.prompts.shown.size(), std::size_t(1));
        QCOMPARE(w.prompts.shown.front().title, QStringLiteral("Error"));
        QCOMPARE(w.prompts.shown.front().text, kFillAll);
        QCOMPARE(w.prompts.shown.front().buttons, Prompts::Buttons::Ok);
        settle();
        QVERIFY(node->isVisible());
        QVERIFY(tableRows(w.ws(), "TblNodeInfo").isEmpty());
    }

    void updateStoresTheNameInTheFirstRowButNotATypedTable() {
        World w;
        execOnProject(w.ws(),
                      "INSERT INTO TblNodeInfo VALUES ('first', 'Fort Myers', '100', '200');"
                      "INSERT INTO TblNodeInfo VALUES ('second', 'Lake Houston', '300', '400');");
        QPointer<FrmNodeInfo> node = FrmNodeInfo::open(w.ctx, &w.owner);
        QCOMPARE(field(node, "TxtNodeName")->text(), QStringLiteral("first"));
        QCOMPARE(field(node, "TxtIntensityTable")->text(), QStringLiteral("Fort Myers"));
        QCOMPARE(w.ctx.session().CurrentIntensityTable(), std::string("Fort Myers"));
        SaveScreenshot(node, "FrmNodeInfo");

        field(node, "TxtNodeName")->setText("Main outfall's node");
        field(node, "TxtIntensityTable")->setText("Typed Table");
        click(node, "CmdUpdate");
        QVERIFY(w.prompts.shown.empty());
        settle();
        QVERIFY(!node);
        QCOMPARE(tableRows(w.ws(), "TblNodeInfo"),
                 (Rows{{"Main outfall's node", "Fort Myers", "100", "200"},
                       {"second", "Lake Houston", "300", "400"}}));
    }

    void cancelLeavesTheNodeAlone() {
        World w;
        w.completeSetup({}, {"Outfall", "Atlanta"});
        QPointer<FrmNodeInfo> node = FrmNodeInfo::open(w.ctx, &w.owner);
        field(node, "TxtNodeName")->setText("Renamed");
        click(node, "CmdCancel");
        settle();
        QVERIFY(!node);
        QCOMPARE(tableRows(w.ws(), "TblNodeInfo"), (Rows{{"Outfall", "Atlanta", "5040", "5160"}}));
    }

    void choosingTheNodesTableStoresItAtOnceAndReadsTheNodeAgain() {
        World w; // no node row yet
        FrmNodeInfo* node = FrmNodeInfo::open(w.ctx, &w.owner);
        field(node, "TxtNodeName")->setText("typed but not updated");
        click(node, "CmdTableList");
        QPointer<FrmSelectNodeBasin> picker = w.ctx.existing<FrmSelectNodeBasin>();
        QVERIFY(picker && picker->isVisible());
        QCOMPARE(picker->windowTitle(), QStringLiteral("Select Intensity Table"));
        QCOMPARE(listEntries(picker), (QStringList{"Atlanta", "Fort Myers", "Lake Houston"}));
        pick(picker, "Lake Houston");
        SaveScreenshot(picker, "FrmSelectNodeBasin");
        click(picker, "CmdOK");
        QVERIFY(w.prompts.shown.empty());
        settle();
        QVERIFY(!picker);

        QCOMPARE(tableRows(w.ws(), "TblNodeInfo"), (Rows{{"", "Lake Houston", "5040", "5160"}}));
        QCOMPARE(w.ctx.session().CurrentIntensityTable(), std::string("Lake Houston"));
        FrmNodeInfo* shown = w.ctx.existing<FrmNodeInfo>();
        QVERIFY(shown);
        QCOMPARE(field(shown, "TxtIntensityTable")->text(), QStringLiteral("Lake Houston"));
        QCOMPARE(field(shown, "TxtNodeName")->text(), QString()); // the unsaved name is read over
        QVERIFY(
            tableRows(w.ws(), "TblProjectInfo").isEmpty()); // the node picker leaves the project

        field(shown, "TxtNodeName")->setText("Outfall");
        click(shown, "CmdUpdate");
        QCOMPARE(tableRows(w.ws(), "TblNodeInfo"),
                 (Rows{{"Outfall", "Lake Houston", "5040", "5160"}}));
    }

    void theNodePickerBringsBackAClosedNodeWindow() {
        World w;
        w.completeSetup({}, {"Outfall", "Atlanta"});
        FrmNodeInfo* node = FrmNodeInfo::open(w.ctx, &w.owner);
        click(node, "CmdTableList");
        QPointer<FrmSelectNodeBasin> picker = w.ctx.existing<FrmSelectNodeBasin>();
        click(node, "CmdCancel");
        settle();
        QVERIFY(!w.ctx.existing<FrmNodeInfo>());
        pick(picker, "Fort Myers");
        click(picker, "CmdOK");
        settle();
        FrmNodeInfo* again = w.ctx.existing<FrmNodeInfo>();
        QVERIFY(again);
        QCOMPARE(field(again, "TxtNodeName")->text(), QStringLiteral("Outfall"));
        QCOMPARE(field(again, "TxtIntensityTable")->text(), QStringLiteral("Fort Myers"));
    }

    void theNodePickerWithoutASelectionActsAsCancel() {
        World w;
        w.completeSetup({}, {"Outfall", "Atlanta"});
        FrmNodeInfo* node = FrmNodeInfo::open(w.ctx, &w.owner);
        click(node, "CmdTableList");
        QPointer<FrmSelectNodeBasin> picker = w.ctx.existing<FrmSelectNodeBasin>();
        click(picker, "CmdOK");
        settle();
        QVERIFY(!picker);
        QCOMPARE(tableRows(w.ws(), "TblNodeInfo"), (Rows{{"Outfall", "Atlanta", "5040", "5160"}}));
        QCOMPARE(w.ctx.session().CurrentIntensityTable(), std::string("Atlanta"));
        QCOMPARE(field(node, "TxtIntensityTable")->text(), QStringLiteral("Atlanta"));
        QVERIFY(w.prompts.shown.empty());
    }

    void aFailedNodeWriteIsShownAndNothingCloses() {
        World w;
        w.completeSetup({}, {"Outfall", "Atlanta"});
        execOnProject(w.ws(), "CREATE TRIGGER refuse BEFORE UPDATE ON TblNodeInfo "
                              "BEGIN SELECT RAISE(ABORT, 'node refused'); END;");
        FrmNodeInfo* node = FrmNodeInfo::open(w.ctx, &w.owner);
        field(node, "TxtNodeName")->setText("Renamed");
        click(node, "CmdUpdate");
        click(node, "CmdTableList");
        FrmSelectNodeBasin* picker = w.ctx.existing<FrmSelectNodeBasin>();
        pick(picker, "Fort Myers");
        click(picker, "CmdOK");
        settle();
        QCOMPARE(w.prompts.shown.size(), std::size_t(2));
        for (const auto& box : w.prompts.shown)
            QVERIFY(box.text.contains("node refused"));
        QVERIFY(node->isVisible());
        QVERIFY(picker->isVisible());
        QCOMPARE(field(node, "TxtNodeName")->text(), QStringLiteral("Renamed"));
        QCOMPARE(w.ctx.session().CurrentIntensityTable(), std::string("Atlanta"));
        QCOMPARE(tableRows(w.ws(), "TblNodeInfo"), (Rows{{"Outfall", "Atlanta", "5040", "5160"}}));
    }
};

QTEST_MAIN(TstSettings)
#include "tst_settings.moc"
