// The review notes as the user meets them: the note under an element dialog's fields, the
// marker on a warned element, the Review Project window and the report toggle.

#include "GuiTestSupport.h"
#include "core/Settings.h"
#include "core/elements/ElementRecords.h"
#include "gui/app/AppContext.h"
#include "gui/app/MDIFrmMain.h"
#include "gui/elements/BasinDialogs.h"
#include "gui/elements/ChannelDialogs.h"
#include "gui/elements/ReviewNote.h"
#include "gui/elements/SurfaceDialogs.h"
#include "gui/network/CanvasView.h"
#include "gui/network/FrmDraw.h"
#include "gui/network/FrmReview.h"
#include "gui/settings/FrmInfo.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QtTest>

using namespace pluvane;
using namespace pluvane::gui;
using namespace pluvane::gui::test;

namespace {

// Points the settings file at a folder of the test's own for as long as it lives.
struct PrivateSettings {
    QTemporaryDir dir;
    QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    PrivateSettings() { qputenv("XDG_CONFIG_HOME", dir.path().toUtf8()); }
    ~PrivateSettings() { qputenv("XDG_CONFIG_HOME", saved); }
};

// The index of an element's picture in its kind's list.
int indexOf(FrmDraw* canvas, ElementKind kind, const std::string& tag) {
    const auto& images = canvas->model().images(kind);
    for (int i = 0; i < static_cast<int>(images.size()); ++i)
        if (images[static_cast<std::size_t>(i)].tag == tag)
            return i;
    return -1;
}

} // namespace

class TstReviewNotes : public QObject {
    Q_OBJECT

    struct Fixture : MainWindowFixture {
        Fixture() { newProject(data.path("review.rmt"), "Review test"); }
        // A sub-basin through its add dialog; Tc is calculated by OK.
        void addBasin(const QString& length) {
            canvas()->addElement(ElementKind::Basin);
            auto* dialog = ctx.existing<FrmBasInfo>();
            QVERIFY(dialog);
            FillField(dialog, "TxtArea", "1.5");
            FillField(dialog, "TxtSlope", "0.02");
            FillField(dialog, "TxtSoilType", "Parks, cemeteries");
            FillField(dialog, "TxtC", "0.2");
            FillField(dialog, "TxtLength", length);
            ClickButton(dialog, "CmdOK");
        }
    };

    // Opens the add dialog of a kind with its inputs filled as a user would leave them.
    static QWidget* openFilled(Fixture& f, ElementKind kind) {
        f.canvas()->addElement(kind);
        QWidget* dialog = nullptr;
        switch (kind) {
        case ElementKind::Basin:
            dialog = f.ctx.existing<FrmBasInfo>();
            FillField(dialog, "TxtArea", "1.5");
            FillField(dialog, "TxtSlope", "0.02");
            FillField(dialog, "TxtC", "0.2");
            FillField(dialog, "TxtLength", "100");
            break;
        case ElementKind::Surface:
            dialog = f.ctx.existing<FrmSurfaceAddInfo>();
            FillField(dialog, "TxtLength", "300");
            FillField(dialog, "TxtSlope", "0.02");
            break;
        default:
            dialog = f.ctx.existing<FrmChannelAddInfo>();
            FillField(dialog, "TxtArea", "4");
            FillField(dialog, "TxtWP", "6.47");
            FillField(dialog, "TxtSlope", "0.005");
            FillField(dialog, "TxtLength", "600");
            break;
        }
        return dialog;
    }

private slots:
    void theNoteFollowsTheFields_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("bad");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("good");
        QTest::newRow("basin length") << int(ElementKind::Basin) << "TxtLength"
                                      << "150"
                                      << "Warning: sheet-flow length 150 ft exceeds 100 ft"
                                      << "100";
        QTest::newRow("basin c") << int(ElementKind::Basin) << "TxtC"
                                 << "1.5"
                                 << "Warning: run-off coefficient 1.5 is outside 0 < C <= 1"
                                 << "0.5";
        QTest::newRow("surface slope")
            << int(ElementKind::Surface) << "TxtSlope"
            << "2"
            << "slope 2 ft/ft is above 0.5 ft/ft: likely typed in percent"
            << "0.02";
        QTest::newRow("channel slope") << int(ElementKind::Channel) << "TxtSlope"
                                       << "0.0001"
                                       << "Note: slope 0.0001 ft/ft is below 0.0005 ft/ft"
                                       << "0.005";
        QTest::newRow("channel n") << int(ElementKind::Channel) << "TxtN"
                                   << "0.05"
                                   << "Note: n 0.05 differs from 0.013 of \"Concrete Channel\""
                                   << "0.013";
    }

    void theNoteFollowsTheFields() {
        QFETCH(int, kind);
        QFETCH(QString, field);
        QFETCH(QString, bad);
        QFETCH(QString, expected);
        QFETCH(QString, good);
        Fixture f;
        QWidget* dialog = openFilled(f, static_cast<ElementKind>(kind));
        QVERIFY(dialog);
        auto* note = dialog->findChild<QLabel*>("LblReviewNote");
        QVERIFY(note);
        QVERIFY2(note->isHidden(), qPrintable(note->text()));

        FillField(dialog, field.toUtf8().constData(), bad);
        QVERIFY(note->isVisible());
        QVERIFY2(note->text().startsWith(expected) || note->toolTip().contains(expected),
                 qPrintable(note->text() + " | " + note->toolTip()));
        SaveScreenshot(dialog, QString("review-note-%1").arg(QTest::currentDataTag()));

        FillField(dialog, field.toUtf8().constData(), good);
        QVERIFY2(note->isHidden(), qPrintable(note->text()));
    }

    void theButtonsStayPutAndEveryNoteIsWhole_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("bad"); // "field=value"
        QTest::newRow("basin, two warnings")
            << int(ElementKind::Basin) << QStringList{"TxtLength=150", "TxtC=1.5"};
        QTest::newRow("surface") << int(ElementKind::Surface) << QStringList{"TxtSlope=2"};
        QTest::newRow("channel, two notes")
            << int(ElementKind::Channel) << QStringList{"TxtSlope=0.0001", "TxtN=0.05"};
    }

    // The room under the fields is kept whether a note shows or not, so the next click lands
    // where the button was; every note is shown whole, none cut short or counted away.
    void theButtonsStayPutAndEveryNoteIsWhole() {
        QFETCH(int, kind);
        QFETCH(QStringList, bad);
        Fixture f;
        QWidget* dialog = openFilled(f, static_cast<ElementKind>(kind));
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        auto* note = dialog->findChild<ReviewNote*>("LblReviewNote");
        QVERIFY(note && note->isHidden());
        const auto place = [dialog](const char* name) {
            QWidget* button = dialog->findChild<QPushButton*>(name);
            return QRect(button->mapTo(dialog, QPoint(0, 0)), button->size());
        };
        const QRect ok = place("CmdOK"), cancel = place("CmdCancel");
        const QSize size = dialog->size();
        for (const QString& pair : bad)
            FillField(dialog, pair.section('=', 0, 0).toUtf8().constData(), pair.section('=', 1));
        if (dialog->findChild<QLabel*>("LblTcTyped"))
            FillField(dialog, "TxtTc", "9"); // the "typed, not computed" line shows too
        QTest::qWait(20);                    // the layout settles
        QVERIFY(note->isVisible());
        QVERIFY(note->findings().size() >= static_cast<std::size_t>(bad.size()));
        QCOMPARE(place("CmdOK"), ok);
        QCOMPARE(place("CmdCancel"), cancel);
        QCOMPARE(dialog->size(), size);
        const QStringList lines = note->text().split('\n');
        QCOMPARE(static_cast<std::size_t>(lines.size()), note->findings().size());
        for (std::size_t i = 0; i < note->findings().size(); ++i) {
            QVERIFY(lines[static_cast<int>(i)].contains(
                QString::fromStdString(note->findings()[i].message)));
            QVERIFY(lines[static_cast<int>(i)].endsWith(")"));
        }
        // Wrapped to the fields' width and given their whole height: what does not fit the
        // room kept for them scrolls there, nothing is cut.
        auto* room = dialog->findChild<QScrollArea*>("ReviewNoteRoom");
        QVERIFY(room);
        QVERIFY(note->height() >= note->heightForWidth(room->viewport()->width()));
        QVERIFY(note->height() <= room->viewport()->height() ||
                room->verticalScrollBar()->maximum() > 0);
        if (kind == int(ElementKind::Basin))
            SaveScreenshot(dialog, "review-note-room");
    }

    void unitlessCaptionsNameTheirUnitInATooltip_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("unit");
        QTest::newRow("basin C") << int(ElementKind::Basin) << "TxtC"
                                 << "(no unit)";
        QTest::newRow("basin Tc") << int(ElementKind::Basin) << "TxtTc"
                                  << "minutes (min)";
        QTest::newRow("surface slope") << int(ElementKind::Surface) << "TxtSlope"
                                       << "(ft/ft)";
        QTest::newRow("channel WP") << int(ElementKind::Channel) << "TxtWP"
                                    << "in feet (ft)";
        QTest::newRow("trapezoid B") << -1 << "TxtB"
                                     << "in feet (ft)";
        QTest::newRow("trapezoid Z") << -1 << "TxtZ"
                                     << "horizontal per unit vertical";
        QTest::newRow("trapezoid area") << -1 << "TxtArea"
                                        << "square feet (sf)";
    }

    void unitlessCaptionsNameTheirUnitInATooltip() {
        QFETCH(int, kind);
        QFETCH(QString, field);
        QFETCH(QString, unit);
        Fixture f;
        QWidget* dialog = openFilled(f, kind < 0 ? ElementKind::Channel : ElementKind(kind));
        if (kind < 0) {
            ClickButton(dialog, "CmdArea");
            dialog = QApplication::activeModalWidget();
            for (QWidget* window : QApplication::topLevelWidgets())
                if (window->objectName() == "FrmTrapezArea" && window->isVisible())
                    dialog = window;
            QVERIFY(dialog);
        }
        auto* edit = dialog->findChild<QLineEdit*>(field);
        QVERIFY(edit);
        QVERIFY2(edit->toolTip().contains(unit), qPrintable(edit->toolTip()));
        QLabel* caption = nullptr;
        for (QLabel* label : dialog->findChildren<QLabel*>())
            if (label->buddy() == edit)
                caption = label;
        QVERIFY(caption);
        QCOMPARE(caption->toolTip(), edit->toolTip());
    }

    // A note refuses nothing: the values are saved as they are.
    void aNotedElementIsStillSaved() {
        Fixture f;
        f.addBasin("150");
        QVERIFY2(f.prompts.shown.empty(), qPrintable(f.prompts.texts().join(" | ")));
        const auto row = LoadBasin(f.ctx.workspace(), "Basin1");
        QVERIFY(row);
        QCOMPARE(row->travelLength, std::string("150"));
    }

    void aWarnedElementCarriesAMarker() {
        Fixture f;
        f.addBasin("150");
        f.addBasin("80");
        CanvasView* view = f.canvas()->view();
        const int warned = indexOf(f.canvas(), ElementKind::Basin, "Basin1");
        const int clean = indexOf(f.canvas(), ElementKind::Basin, "Basin2");
        QVERIFY(warned > 0 && clean > 0);
        QVERIFY(view->markerShown(ElementKind::Basin, warned));
        QVERIFY(!view->markerShown(ElementKind::Basin, clean));
        SaveScreenshot(f.canvas(), "review-marker");

        // Mended through the update dialog: the marker goes.
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->viewPointOf(ElementKind::Basin, warned));
        f.canvas()->popupMenu(ElementKind::Basin)->findChild<QAction*>("Mnu_Basin_Edit")->trigger();
        auto* update = f.ctx.existing<FrmBasUpdate>();
        QVERIFY(update);
        FillField(update, "TxtLength", "90");
        FillField(update, "TxtTc", "");
        ClickButton(update, "CmdOK");
        QCOMPARE(LoadBasin(f.ctx.workspace(), "Basin1")->travelLength, std::string("90"));
        QVERIFY(!view->markerShown(ElementKind::Basin, warned));
    }

    void reviewProjectListsTheNotesAndSelects() {
        Fixture f;
        f.addBasin("80");
        f.addBasin("150");
        auto* menuItem = f.canvas()->findChild<QAction*>("MnuReview");
        QVERIFY(menuItem);
        QCOMPARE(menuItem->text(), QString("Review Project..."));
        menuItem->trigger();
        auto* review = f.canvas()->findChild<FrmReview*>("FrmReview");
        QVERIFY(review && review->isVisible());
        auto* list = review->findChild<QListWidget*>("LstFindings");
        QCOMPARE(list->count(), static_cast<int>(review->findings().size()));
        int row = -1;
        for (int i = 0; i < list->count(); ++i)
            if (list->item(i)->text().startsWith(
                    "warning Basin2 \"Basin 2\": sheet-flow length 150 ft"))
                row = i;
        QVERIFY2(row >= 0, qPrintable(list->count() ? list->item(0)->text() : QString("empty")));
        QVERIFY(!f.canvas()->model().SelectedElement ||
                f.canvas()->model().SelectedElement->tag != "Basin2");
        list->setCurrentRow(row);
        QVERIFY(f.canvas()->model().SelectedElement);
        QCOMPARE(f.canvas()->model().SelectedElement->tag, std::string("Basin2"));
        SaveScreenshot(review, "review-window");
        QVERIFY(f.prompts.shown.empty());
    }

    void theReportToggleSitsBesideTheRainfallSourceOne() {
        PrivateSettings settings;
        Fixture f;
        auto* intensity = f.canvas()->findChild<QMenu*>("MnuIntensity");
        auto* toggle = f.canvas()->findChild<QAction*>("MnuReportReview");
        QVERIFY(toggle);
        const QList<QAction*> actions = intensity->actions();
        QCOMPARE(actions.indexOf(toggle) + 1,
                 actions.indexOf(f.canvas()->findChild<QAction*>("MnuReportSource")));
        QCOMPARE(toggle->text(), QString("Review Notes in Report"));
        QVERIFY(toggle->isCheckable() && !toggle->isChecked());
        toggle->trigger();
        QVERIFY(ReportReviewNotesEnabled(Settings::load()));
        toggle->trigger();
        QVERIFY(!ReportReviewNotesEnabled(Settings::load()));
    }
};

QTEST_MAIN(TstReviewNotes)
#include "tst_review_notes.moc"
