// Undo and redo on the canvas, checked in the project file after every step: adds, deletes,
// drags, dialog saves and the setup edits of all three element kinds and the node.
#include "GuiTestSupport.h"
#include "core/hydraulics/OutletConveyance.h"
#include "core/store/Database.h"
#include "gui/app/AppContext.h"
#include "gui/app/MDIFrmMain.h"
#include "gui/network/CanvasCommands.h"
#include "gui/network/CanvasView.h"
#include "gui/network/FrmDraw.h"
#include "gui/network/UndoCommands.h"
#include "gui/settings/FrmInfo.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolBar>
#include <QtTest>

using namespace pluvane;
using namespace pluvane::gui;
using namespace pluvane::gui::test;

Q_DECLARE_METATYPE(pluvane::ElementKind)

namespace {

QWidget* shownWindow(const QString& name) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible())
            return w;
    return nullptr;
}

// What the add dialog of each kind needs, and where its row keeps what the tests look at.
struct KindFields {
    const char* addDialog;
    const char* updateDialog;
    const char* nameField;
    std::vector<std::pair<const char*, const char*>> inputs;
};

KindFields fieldsOf(ElementKind kind) {
    switch (kind) {
    case ElementKind::Basin:
        return {"FrmBasInfo",
                "FrmBasUpdate",
                "TxtBasinName",
                {{"TxtArea", "1"},
                 {"TxtSlope", "0.02"},
                 {"TxtSoilType", "Parks, cemeteries"},
                 {"TxtC", "0.2"},
                 {"TxtLength", "100"}}};
    case ElementKind::Surface:
        return {"FrmSurfaceAddInfo",
                "FrmSurfaceUpdateInfo",
                "TxtSurfName",
                {{"TxtLength", "500"}, {"TxtSlope", "0.01"}}};
    default:
        return {"FrmChannelAddInfo",
                "FrmChannelUpdateInfo",
                "TxtChannelName",
                {{"TxtArea", "10"}, {"TxtWP", "8"}, {"TxtSlope", "0.005"}, {"TxtLength", "1000"}}};
    }
}

} // namespace

class TstCanvasUndo : public QObject {
    Q_OBJECT

    struct Fixture : MainWindowFixture {
        Fixture() { newProject(data.path("undo.rmt"), "Undo test"); }
        std::string path() { return ctx.workspace().ProjectPath; }
        // One column of the element row with `tag` (of the node row when tag is empty).
        QString cell(ElementKind kind, const std::string& tag, std::string_view column) {
            const ElementKindInfo& info = kindInfo(kind);
            Database db = Database::open(path(), Database::Mode::ReadOnly);
            Statement q = db.prepare(
                "SELECT " + std::string(column) + " FROM " + std::string(info.table) +
                (tag.empty() ? std::string() : " WHERE " + std::string(info.tagColumn) + " = ?"));
            if (!tag.empty())
                q.bind(1, tag);
            return q.step() ? QString::fromStdString(q.text(0).value_or("<null>"))
                            : QString("<no row>");
        }
        // Adds an element of `kind` named `name` through its dialog; returns its image index.
        int add(ElementKind kind, const QString& name) {
            canvas()->addElement(kind);
            const KindFields fields = fieldsOf(kind);
            QWidget* dialog = shownWindow(fields.addDialog);
            if (!dialog)
                return -1;
            FillField(dialog, fields.nameField, name);
            for (const auto& [field, text] : fields.inputs)
                FillField(dialog, field, text);
            ClickButton(dialog, "CmdOK");
            return static_cast<int>(canvas()->model().images(kind).size()) - 1;
        }
        std::string tagOf(ElementKind kind, int index) {
            return canvas()->model().image(kind, index).tag;
        }
        void select(ElementKind kind, int index) { canvas()->model().Select(kind, index); }
        void drag(ElementKind kind, int index, QPoint by) {
            CanvasView* view = canvas()->view();
            const CanvasImage& image = canvas()->model().image(kind, index);
            const QPoint start = view->viewPointOf(kind, index, image.width / 2, image.height / 2);
            QTest::mousePress(view->viewport(), Qt::LeftButton, {}, start);
            QTest::mouseMove(view->viewport(), start + QPoint(3, 3));
            QTest::mouseMove(view->viewport(), start + by);
            QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, start + by);
        }
        QAction* action(const char* name) { return canvas()->findChild<QAction*>(name); }
    };

private slots:
    void eachStepOfEachKindGoesBackAndForthInTheFile_data() {
        QTest::addColumn<ElementKind>("kind");
        QTest::newRow("overland") << ElementKind::Basin;
        QTest::newRow("shallow") << ElementKind::Surface;
        QTest::newRow("channel") << ElementKind::Channel;
    }

    void eachStepOfEachKindGoesBackAndForthInTheFile() {
        QFETCH(ElementKind, kind);
        Fixture f;
        const ElementKindInfo& info = kindInfo(kind);
        QAction* undo = f.action("MnuUndo");
        QAction* redo = f.action("MnuRedo");
        QVERIFY(!undo->isEnabled());

        // Add: undo marks the row deleted and hides the image; redo brings both back.
        const int index = f.add(kind, "First name");
        QVERIFY(index > 0);
        const std::string tag = f.tagOf(kind, index);
        QCOMPARE(undo->text(), QString("Undo Add \"First name\""));
        undo->trigger();
        QCOMPARE(f.cell(kind, tag, "Deleted"), QString("True"));
        QVERIFY(!f.canvas()->model().image(kind, index).visible);
        QCOMPARE(redo->text(), QString("Redo Add \"First name\""));
        redo->trigger();
        QCOMPARE(f.cell(kind, tag, "Deleted"), QString("False"));
        QVERIFY(f.canvas()->model().image(kind, index).visible);

        // Update: the dialog's save is one step; undo puts the previous row back.
        f.select(kind, index);
        OpenUpdateDialog(f.ctx, kind);
        QWidget* update = shownWindow(fieldsOf(kind).updateDialog);
        QVERIFY(update);
        FillField(update, fieldsOf(kind).nameField, "Second name");
        ClickButton(update, "CmdOK");
        QCOMPARE(f.cell(kind, tag, info.nameColumn), QString("Second name"));
        QCOMPARE(undo->text(), QString("Undo Edit \"First name\""));
        undo->trigger();
        QCOMPARE(f.cell(kind, tag, info.nameColumn), QString("First name"));
        QCOMPARE(f.canvas()->view()->nameShown(kind, index), QString("First name"));
        redo->trigger();
        QCOMPARE(f.cell(kind, tag, info.nameColumn), QString("Second name"));

        // A drag is one step however many moves it took.
        const QString left0 = f.cell(kind, tag, info.leftColumn),
                      top0 = f.cell(kind, tag, info.topColumn);
        f.drag(kind, index, QPoint(40, 20));
        const QString left1 = f.cell(kind, tag, info.leftColumn);
        QVERIFY(left1 != left0);
        QCOMPARE(left1.toDouble(), left0.toDouble() + 40 * 15);

        // Delete after the move, then take both back: the mark first, then the position.
        f.select(kind, index);
        f.canvas()
            ->findChild<QMenu*>(kind == ElementKind::Basin     ? "MnuPopBasin"
                                : kind == ElementKind::Surface ? "MnuPopSurface"
                                                               : "MnuPopChannel")
            ->actions()[2]
            ->trigger();
        QCOMPARE(f.cell(kind, tag, "Deleted"), QString("True"));
        QVERIFY2(f.prompts.shown.empty(), "a delete that can be undone asks nothing");
        undo->trigger();
        QCOMPARE(f.cell(kind, tag, "Deleted"), QString("False"));
        QVERIFY(f.canvas()->model().image(kind, index).visible);
        QCOMPARE(f.cell(kind, tag, info.leftColumn), left1);
        undo->trigger();
        QCOMPARE(f.cell(kind, tag, info.leftColumn), left0);
        QCOMPARE(f.cell(kind, tag, info.topColumn), top0);
        QCOMPARE(f.canvas()->model().image(kind, index).left, left0.toFloat());

        // A new step clears what could be redone.
        QVERIFY(redo->isEnabled());
        f.drag(kind, index, QPoint(10, 10));
        QVERIFY(!redo->isEnabled());
        QCOMPARE(f.canvas()->history()->count(), 3); // add, edit, this drag: the rest was cleared
        QVERIFY2(f.prompts.shown.empty(), qPrintable(f.prompts.texts().join(" | ")));
    }

    // An open window of a row that an undo or redo rewrote shows the file's values, so that its
    // OK cannot write the undone values back; an element taken away closes its dialog.
    void anOpenWindowFollowsTheUndoneRow_data() {
        QTest::addColumn<QString>("row");
        for (const char* row : {"Basin", "Surface", "Channel", "Node", "Setup"})
            QTest::newRow(row) << row;
    }
    void anOpenWindowFollowsTheUndoneRow() {
        QFETCH(QString, row);
        Fixture f;
        QAction* undo = f.action("MnuUndo");
        QAction* redo = f.action("MnuRedo");
        const bool element = row == "Basin" || row == "Surface" || row == "Channel";
        const ElementKind kind = row == "Basin"     ? ElementKind::Basin
                                 : row == "Surface" ? ElementKind::Surface
                                                    : ElementKind::Channel;
        const KindFields kindFields = fieldsOf(kind);
        // The window, its name field, a second field, and where the file keeps both.
        const char* dialogName = element         ? kindFields.updateDialog
                                 : row == "Node" ? "FrmNodeInfo"
                                                 : "FrmInfo";
        const char* nameField = element         ? kindFields.nameField
                                : row == "Node" ? "TxtNodeName"
                                                : "TxtProjectName";
        // The node window holds one field to type (its table is chosen by the picker).
        const char* otherField = element         ? kindFields.inputs.front().first
                                 : row == "Node" ? nameField
                                                 : "TxtBasinName";
        const char* saveButton = row == "Node" ? "CmdUpdate" : "CmdOK";
        int index = 0;
        std::string tag;
        if (element) {
            index = f.add(kind, "First name");
            tag = f.tagOf(kind, index);
        }
        const auto open = [&]() -> QWidget* {
            if (element) {
                f.select(kind, index);
                OpenUpdateDialog(f.ctx, kind);
            } else if (row == "Node") {
                OpenNodeSettings(f.ctx);
            } else {
                OpenProjectSetup(f.ctx);
            }
            return shownWindow(dialogName);
        };
        const auto stored = [&](const char* field) {
            if (element) {
                const std::string_view column = field == nameField ? kindInfo(kind).nameColumn
                                                : kind == ElementKind::Basin   ? "Area"
                                                : kind == ElementKind::Surface ? "SurfLength"
                                                                               : "ChannelArea";
                return f.cell(kind, tag, column);
            }
            Database db = Database::open(f.path(), Database::Mode::ReadOnly);
            Statement q = db.prepare(row == "Setup" && field == nameField
                                         ? "SELECT ProjectName FROM TblProjectInfo"
                                         : "SELECT NodeName FROM TblNodeInfo");
            return q.step() ? QString::fromStdString(q.text(0).value_or("")) : QString();
        };
        const auto shown = [](QWidget* dialog, const char* field) {
            return dialog->findChild<QLineEdit*>(field)->text();
        };
        const QString name0 = stored(nameField), other0 = stored(otherField);

        // An earlier edit, saved; the window opened again shows it.
        QWidget* first = open();
        QVERIFY(first);
        FillField(first, nameField, "Second name");
        if (row != "Node")
            FillField(first, otherField, element ? "7" : "Outfall 2");
        ClickButton(first, saveButton);
        QCOMPARE(stored(nameField), QString("Second name"));
        QPointer<QWidget> dialog = open();
        QVERIFY(dialog);
        QCOMPARE(shown(dialog, nameField), QString("Second name"));

        // Undo with the window open: it shows the restored row, and so after a redo.
        undo->trigger();
        QCOMPARE(stored(nameField), name0);
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(shown(dialog, nameField), name0);
        QCOMPARE(shown(dialog, otherField), other0);
        redo->trigger();
        QCOMPARE(shown(dialog, nameField), QString("Second name"));
        undo->trigger();
        QCOMPARE(shown(dialog, nameField), name0);
        // OK now writes the restored values, as the file read afresh shows.
        ClickButton(dialog, saveButton);
        QCOMPARE(stored(nameField), name0);
        QCOMPARE(stored(otherField), other0);
        QVERIFY2(f.prompts.shown.empty(), qPrintable(f.prompts.texts().join(" | ")));
        if (!element)
            return;

        // The add undone with the dialog open takes the dialog away, as a delete does.
        dialog = open();
        QVERIFY(dialog);
        QCOMPARE(undo->text(), QString("Undo Add \"First name\""));
        undo->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!dialog || !dialog->isVisible());
        QCOMPARE(f.cell(kind, tag, "Deleted"), QString("True"));
        redo->trigger();
        dialog = open();
        QVERIFY(dialog);
        f.canvas()
            ->findChild<QMenu*>(kind == ElementKind::Basin     ? "MnuPopBasin"
                                : kind == ElementKind::Surface ? "MnuPopSurface"
                                                               : "MnuPopChannel")
            ->actions()[2]
            ->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!dialog || !dialog->isVisible());
        QCOMPARE(f.cell(kind, tag, "Deleted"), QString("True"));
        QVERIFY2(f.prompts.shown.empty(), qPrintable(f.prompts.texts().join(" | ")));
    }

    void theKeyboardAloneMovesDeletesWalksAndOpens() {
        Fixture f;
        const int first = f.add(ElementKind::Basin, "Keyed");
        const int second = f.add(ElementKind::Channel, "Walked");
        const std::string tag = f.tagOf(ElementKind::Basin, first);
        f.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        CanvasView* view = f.canvas()->view();
        view->setFocus();

        // Tab walks the live elements, overland first, then the node, and round again.
        QTest::keyClick(view, Qt::Key_Tab);
        QCOMPARE(f.canvas()->model().SelectedElement->tag, tag);
        QTest::keyClick(view, Qt::Key_Tab);
        QCOMPARE(f.canvas()->model().SelectedElement->index, second);
        QTest::keyClick(view, Qt::Key_Tab);
        QCOMPARE(f.canvas()->model().SelectedElement->kind, ElementKind::Node);
        QTest::keyClick(view, Qt::Key_Tab);
        QCOMPARE(f.canvas()->model().SelectedElement->tag, tag);
        QVERIFY(f.canvas()->model().image(ElementKind::Basin, first).bordered);

        // Two presses right and one with Shift down: one step, written on release.
        const double left = f.cell(ElementKind::Basin, tag, "BasinX").toDouble();
        const double top = f.cell(ElementKind::Basin, tag, "BasinY").toDouble();
        const int steps = f.canvas()->history()->count();
        QTest::keyPress(view, Qt::Key_Right);
        QTest::keyPress(view, Qt::Key_Right);
        QCOMPARE(f.cell(ElementKind::Basin, tag, "BasinX").toDouble(), left); // not yet written
        QTest::keyRelease(view, Qt::Key_Right);
        QTest::keyClick(view, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(f.cell(ElementKind::Basin, tag, "BasinX").toDouble(), left + 30);
        QCOMPARE(f.cell(ElementKind::Basin, tag, "BasinY").toDouble(), top + 150);
        QCOMPARE(f.canvas()->history()->count(), steps + 2);
        // Up far enough stops at the top edge.
        for (int i = 0; i < 12; ++i)
            QTest::keyPress(view, Qt::Key_Up, Qt::ShiftModifier);
        QTest::keyRelease(view, Qt::Key_Up, Qt::ShiftModifier);
        QCOMPARE(f.cell(ElementKind::Basin, tag, "BasinY"), QString("0"));

        // Enter opens the selected element's dialog; Delete deletes it without a question.
        QTest::keyClick(view, Qt::Key_Return);
        QVERIFY(shownWindow("FrmBasUpdate"));
        shownWindow("FrmBasUpdate")->close();
        f.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        view->setFocus();
        QTest::keyClick(view, Qt::Key_Delete);
        QCOMPARE(f.cell(ElementKind::Basin, tag, "Deleted"), QString("True"));
        QVERIFY(!f.canvas()->model().SelectedElement);
        QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.cell(ElementKind::Basin, tag, "Deleted"), QString("False"));
        QCOMPARE(f.action("MnuDeleteSelected")->shortcut(), QKeySequence(Qt::Key_Delete));
        QVERIFY2(f.prompts.shown.empty(), qPrintable(f.prompts.texts().join(" | ")));
    }

    void aDragPastTheTopLeftEdgeStopsAtZero() {
        Fixture f;
        const int index = f.add(ElementKind::Surface, "Edge");
        const std::string tag = f.tagOf(ElementKind::Surface, index);
        f.drag(ElementKind::Surface, index, QPoint(-900, -900));
        QCOMPARE(f.cell(ElementKind::Surface, tag, "SurfX"), QString("0"));
        QCOMPARE(f.cell(ElementKind::Surface, tag, "SurfY"), QString("0"));
        f.drag(ElementKind::Node, 0, QPoint(-900, 40));
        QCOMPARE(f.cell(ElementKind::Node, "", "NodeX"), QString("0"));
        QVERIFY(f.cell(ElementKind::Node, "", "NodeY").toDouble() > 0);
    }

    void aDragTheFileRefusesPutsTheElementBackWhereTheFileHasIt() {
        Fixture f;
        const int index = f.add(ElementKind::Surface, "Held");
        const std::string tag = f.tagOf(ElementKind::Surface, index);
        const float left = f.canvas()->model().image(ElementKind::Surface, index).left;
        const QString stored = f.cell(ElementKind::Surface, tag, "SurfX");
        {
            // A write the file refuses, as a read-only or full disk refuses it (root writes
            // read-only files, so a trigger stands in for the disk).
            Database db = Database::open(f.path(), Database::Mode::ReadWrite);
            db.exec("CREATE TRIGGER refuse BEFORE UPDATE ON TblSurfaceInfo "
                    "BEGIN SELECT RAISE(ABORT, 'disk I/O error'); END");
        }
        f.drag(ElementKind::Surface, index, QPoint(40, 20));
        QCOMPARE(f.prompts.shown.size(), std::size_t{1});
        QCOMPARE(f.cell(ElementKind::Surface, tag, "SurfX"), stored);
        QCOMPARE(f.canvas()->model().image(ElementKind::Surface, index).left, left);
    }

    void fitShowsEveryElementAndLongNamesAreCutShort() {
        Fixture f;
        const QString longName =
            QString("Northern catchment beyond the railway embankment ").repeated(2).trimmed();
        const int index = f.add(ElementKind::Basin, longName);
        CanvasView* view = f.canvas()->view();
        QVERIFY(view->nameShown(ElementKind::Basin, index).size() <= CanvasView::kNameLength);
        QVERIFY(view->nameShown(ElementKind::Basin, index).endsWith(QChar(0x2026)));
        SaveScreenshot(&f.window, "canvas-long-name");
        // Far out to the right and below: off the window at 100 %.
        f.canvas()->model().MoveImage(ElementKind::Basin, index, 40000, 30000);
        view->sync();
        const auto everyPictureShown = [&] {
            const QRectF seen = view->mapToScene(view->viewport()->rect()).boundingRect();
            return seen.contains(view->drawingRect());
        };
        QVERIFY(!everyPictureShown());
        f.action("MnuZoomFit")->trigger();
        QVERIFY(view->zoom() < 1);
        QVERIFY(everyPictureShown());
        const double fitted = view->zoom();
        f.action("MnuZoomIn")->trigger();
        QCOMPARE(view->zoom(), fitted * 1.25);
        f.action("MnuZoomOut")->trigger();
        f.action("MnuZoomOut")->trigger();
        QCOMPARE(view->zoom(), fitted / 1.25);
        f.action("MnuZoomActual")->trigger();
        QCOMPARE(view->zoom(), 1.0);
        QCOMPARE(f.action("MnuZoomFit")->shortcut(), QKeySequence("Ctrl+0"));

        // Written, closed and opened again: the drawing opens fitted.
        f.canvas()->model().WritePosition(f.ctx.workspace(), ElementKind::Basin, index);
        const QString path = QString::fromStdString(f.path());
        f.window.closeCanvas();
        f.prompts.fileNames.push_back(path);
        f.window.openProject();
        QVERIFY(f.canvas());
        view = f.canvas()->view();
        QVERIFY(view->zoom() < 1);
        QVERIFY(everyPictureShown());
    }

    void nodeAndProjectEditsAndTheKeysAndToolbar() {
        Fixture f;
        QAction* undo = f.action("MnuUndo");
        QCOMPARE(undo->shortcuts(), QList<QKeySequence>{QKeySequence("Ctrl+Z")});
        QCOMPARE(f.action("MnuRedo")->shortcuts(),
                 (QList<QKeySequence>{QKeySequence("Ctrl+Shift+Z"), QKeySequence("Ctrl+Y")}));
        // The toolbar's specified buttons come first; undo and redo follow them.
        const QList<QAction*> buttons = f.canvas()->findChild<QToolBar*>("TbDraw")->actions();
        QCOMPARE(buttons.at(11)->toolTip(), QString("Solve System"));
        QCOMPARE(buttons.at(13)->objectName(), QString("TbDraw_Undo"));

        // The node's drag is a step.
        const QString nodeX = f.cell(ElementKind::Node, "", "NodeX");
        f.drag(ElementKind::Node, 0, QPoint(-30, 0));
        QCOMPARE(f.cell(ElementKind::Node, "", "NodeX").toDouble(), nodeX.toDouble() - 450);
        undo->trigger();
        QCOMPARE(f.cell(ElementKind::Node, "", "NodeX"), nodeX);
        // Node settings: the name goes back and forth.
        OpenNodeSettings(f.ctx);
        QWidget* node = shownWindow("FrmNodeInfo");
        QVERIFY(node);
        FillField(node, "TxtNodeName", "Renamed outfall");
        ClickButton(node, "CmdUpdate");
        QCOMPARE(f.cell(ElementKind::Node, "", "NodeName"), QString("Renamed outfall"));
        QCOMPARE(undo->text(), QString("Undo Edit Node"));
        buttons.at(13)->trigger(); // the toolbar button does what the menu item does
        QCOMPARE(f.cell(ElementKind::Node, "", "NodeName"), QString("Outfall 1"));

        // Project setup: one step for the project row and the node row it rewrites.
        OpenProjectSetup(f.ctx);
        QWidget* setup = shownWindow("FrmInfo");
        QVERIFY(setup);
        FillField(setup, "TxtProjectName", "Renamed project");
        FillField(setup, "TxtBasinName", "Outfall 2");
        ClickButton(setup, "CmdOK");
        Database db = Database::open(f.path(), Database::Mode::ReadOnly);
        const auto projectName = [&] {
            Statement q = db.prepare("SELECT ProjectName FROM TblProjectInfo");
            return q.step() ? QString::fromStdString(q.text(0).value_or("")) : QString();
        };
        QCOMPARE(projectName(), QString("Renamed project"));
        f.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        QTest::keyClick(f.canvas()->view(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(projectName(), QString("Undo test"));
        QCOMPARE(f.cell(ElementKind::Node, "", "NodeName"), QString("Outfall 1"));
        QTest::keyClick(f.canvas()->view(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(projectName(), QString("Renamed project"));
        QCOMPARE(f.cell(ElementKind::Node, "", "NodeName"), QString("Outfall 2"));

        QVERIFY2(f.prompts.shown.empty(), qPrintable(f.prompts.texts().join(" | ")));
        // Close ends the history.
        f.window.closeCanvas();
        QVERIFY(!EditHistory::of(f.ctx));
    }

    // The outlet conveyance from the node's menu: the results follow the typing at the stored
    // design flow; OK, Remove, undo and redo each leave the file as the step says, and the
    // reopened file holds the last state.
    void outletConveyanceFromTheNodeMenu() {
        Fixture f;
        // Unsolved: no flow to check until one is typed.
        OpenOutletConveyance(f.ctx);
        QWidget* unsolved = shownWindow("FrmOutletConveyance");
        QVERIFY(unsolved);
        QCOMPARE(unsolved->findChild<QLineEdit*>("TxtQ")->text(), QString());
        QVERIFY(unsolved->findChild<QLabel*>("LblQSource")->text().startsWith("Solve first"));
        QVERIFY(!unsolved->findChild<QPushButton*>("CmdRemove")->isEnabled());
        ClickButton(unsolved, "CmdCancel");
        QVERIFY(!shownWindow("FrmOutletConveyance"));
        {
            Database db = Database::open(f.path(), Database::Mode::ReadWrite);
            db.exec("DELETE FROM TblResults; INSERT INTO TblResults (Qpeak_10, Qpeak_25) VALUES "
                    "('10', '30')");
        }
        QMenu* popup = f.canvas()->findChild<QMenu*>("MnuPopNode");
        QVERIFY(popup);
        QAction* item = popup->findChild<QAction*>("Mnu_Node_Conveyance");
        QVERIFY(item);
        QCOMPARE(item->text(), QString("Outlet Conveyance..."));
        item->trigger();
        QWidget* dialog = shownWindow("FrmOutletConveyance");
        QVERIFY(dialog);
        QCOMPARE(dialog->findChild<QLineEdit*>("TxtN")->text(), QString("0.013"));
        QCOMPARE(dialog->findChild<QLineEdit*>("TxtQ")->text(), QString("10.00"));
        // A solve while the window is open: coming back to it shows the new flow.
        Database::open(f.path(), Database::Mode::ReadWrite)
            .exec("UPDATE TblResults SET Qpeak_10 = '12'");
        f.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        QCOMPARE(dialog->findChild<QLineEdit*>("TxtQ")->text(), QString("12.00"));
        FillField(dialog, "TxtSlope", "0.01");
        auto* results = dialog->findChild<QLabel*>("LblResults");
        // 12 cfs at S = 0.01 with n = 0.013: 18 in (10.50 cfs full) is too small, 21 in is not.
        QVERIFY2(results->text().contains("21 (smallest standard size flowing full)"),
                 qPrintable(results->text()));
        dialog->findChild<QComboBox*>("CmbPeriod")->setCurrentText("25");
        QCOMPARE(dialog->findChild<QLineEdit*>("TxtQ")->text(), QString("30.00"));
        // 27 in carries 30.97 cfs full, 24 in 22.62.
        QVERIFY2(results->text().contains("27 (smallest"), qPrintable(results->text()));
        FillField(dialog, "TxtLength", "300");
        QCoreApplication::processEvents(); // the window takes the size of its results
        SaveScreenshot(dialog, "FrmOutletConveyance");
        ClickButton(dialog, "CmdOK");

        const auto stored = [&] { return LoadOutletConveyance(f.ctx.workspace()); };
        QVERIFY(stored());
        QCOMPARE(stored()->designPeriod, std::string("25"));
        QCOMPARE(stored()->length, std::string("300"));
        QAction* undo = f.action("MnuUndo");
        QCOMPARE(undo->text(), QString("Undo Edit Outlet Conveyance"));
        undo->trigger();
        QVERIFY(!stored());
        f.action("MnuRedo")->trigger();
        QVERIFY(stored());

        // A channel over its banks, then removed; undoing the removal brings it back.
        OpenOutletConveyance(f.ctx);
        dialog = shownWindow("FrmOutletConveyance");
        QVERIFY(dialog);
        dialog->findChild<QRadioButton*>("OptChannel")->setChecked(true);
        FillField(dialog, "TxtBottom", "2");
        FillField(dialog, "TxtSide", "2");
        FillField(dialog, "TxtDepth", "0.5");
        auto* notes = dialog->findChild<QLabel*>("LblReviewNote");
        QVERIFY2(notes->text().contains("exceeds the available depth"), qPrintable(notes->text()));
        ClickButton(dialog, "CmdOK");
        QCOMPARE(stored()->kind, std::string("Channel"));
        OpenOutletConveyance(f.ctx);
        ClickButton(shownWindow("FrmOutletConveyance"), "CmdRemove");
        QVERIFY(!stored());
        undo->trigger();
        QCOMPARE(stored()->kind, std::string("Channel"));
        undo->trigger();
        QCOMPARE(stored()->kind, std::string("Pipe"));

        QVERIFY2(f.prompts.shown.empty(), qPrintable(f.prompts.texts().join(" | ")));
        f.window.closeCanvas();
        QCOMPARE(stored()->kind, std::string("Pipe"));
    }
};

QTEST_MAIN(TstCanvasUndo)
#include "tst_canvas_undo.moc"
