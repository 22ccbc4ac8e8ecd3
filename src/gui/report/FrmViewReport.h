#pragma once

#include "core/report/ResultsExport.h"
#include "core/report/RichText.h"
#include "gui/rain/FrmIdfCurves.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QAction;
class QMenu;
class QPrinter;
class QPrintPreviewDialog;
class QTextEdit;
class QToolBar;

namespace pluvane::gui {

class AppContext;

// The report window: the solution report as an editable rich-text document that the user can
// save as RTF, print, copy, export as PDF (and its values as CSV) and close. Edits live only
// here; closing the window deletes it with them.
class FrmViewReport : public QMainWindow {
    Q_OBJECT
public:
    // Readies the printer for one print: true to print, false when the user cancelled. The
    // window's own asks with the print dialog; tests print to a file without one.
    using PrinterSetup = std::function<bool(QPrinter& printer, QWidget* parent)>;

    // Loads `report` into the view with the caret at its start. Not shown yet: see
    // ShowReportWindow.
    FrmViewReport(AppContext& ctx, const RichDocument& report, QWidget* parent = nullptr);
    ~FrmViewReport() override;

    QTextEdit* view() const { return m_view; }
    QToolBar* toolbar() const { return m_toolbar; }
    QMenu* contextMenu() const { return m_contextMenu; }
    void setPrinterSetup(PrinterSetup setup) { m_printerSetup = std::move(setup); }
    // Tests look at the preview instead of waiting on it: called with the dialog in place of
    // running it.
    void setPreviewShown(std::function<void(QPrintPreviewDialog&)> shown) {
        m_previewShown = std::move(shown);
    }

    // The commands of the toolbar, in its order.
    void saveAs();
    void print();
    void copyToClipboard();
    void closeReport();
    void exportPdf();
    // The pages Print would make, in a preview that can print them.
    void printPreview();
    // Shows the IDF curves of the rainfall table the report was solved with, Tc marked.
    void showIdfCurves();

    // Gives the window the table and Tc of its report's solve. The first call adds the tool
    // "IDF Curves" after "Export PDF"; a window made from a document alone has no such tool.
    void setIdfSource(IdfCurvesSource source);

    // Gives the window the values of its report's solve, as `pluvane-cli solve --csv` writes
    // them (with the review notes column when `review`). The first call adds the tool
    // "Export Results (CSV)"; a window made from a document alone has no such tool.
    void setResults(ProjectOutcome outcome, bool review);
    // Asks for a file and writes the results there, in the project's folder under its name.
    void exportResults();
    FrmIdfCurves* idfCurvesWindow() const { return m_idfWindow; }

    // Puts a fresh report in place of the one shown. A report edited by hand asks first; false
    // when the user keeps the edits (the window then stays as it was, out of date).
    bool replaceReport(const RichDocument& report);

    // Whether the report still shows the project as it is: `isCurrent` answers, and is asked
    // whenever the project file or the rainfall database changes on disk. While it says no, the
    // toolbar carries "Out of date: ..." in red.
    void watchCurrency(const QStringList& files, std::function<bool()> isCurrent);
    // Asks the currency check now (the file watch calls this, a little after the change).
    void checkCurrent();
    bool isOutOfDate() const;

    // The size of the document view for a window of `window` pixels at the given logical dpi:
    // 100 twips narrower and 940 twips lower than the window, when the window is at least 1000
    // twips high and 200 twips wide; else `current`, left as it was.
    static QSize viewSizeFor(QSize window, QSize current, qreal dpiX, qreal dpiY);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildToolbar();
    void buildContextMenu();
    // Ctrl+S, Ctrl+P and Ctrl+C on the window's commands.
    void bindKeys();
    void showContextMenu(const QPoint& position);
    void selectAll();
    void copySelection();
    void caretToStart();
    void tell(const QString& text);
    // The save dialog's name, with the suffix added when the name has none.
    std::optional<QString> askFileName(const QString& filter, const QString& suffix);

    AppContext& m_ctx;
    QToolBar* m_toolbar = nullptr;
    QTextEdit* m_view = nullptr;
    QMenu* m_contextMenu = nullptr;
    QAction* m_copyAction = nullptr;
    PrinterSetup m_printerSetup;
    std::function<void(QPrintPreviewDialog&)> m_previewShown;
    std::unique_ptr<QPrinter>
        m_printer; // kept so the user's printer choices last while the window does
    std::optional<IdfCurvesSource> m_idfSource;
    std::optional<ProjectOutcome> m_results;
    bool m_resultsReview = false;
    std::function<bool()> m_isCurrent;
    QAction* m_outOfDate = nullptr;     // the banner's place in the toolbar
    QPointer<FrmIdfCurves> m_idfWindow; // closes with the report: it is the plot of this solve
};

// `path` with ".suffix" added when its file name has no extension ("report" -> "report.rtf",
// "report." -> "report.rtf"); a name with one is left as typed.
QString WithDefaultSuffix(const QString& path, const QString& suffix);

// Runs `build`; an Error it throws is shown as "The report could not be built." with its
// message, and false returned.
bool BuildOrTell(AppContext& ctx, const std::function<void()>& build);

// Shows the report window, created on first use and again after it was closed: the existing
// window is brought forward unchanged (edits kept); a new one is loaded with the document that
// `build` returns and shown maximized, not modal. When `build` throws, its message is shown
// and there is no window: null.
FrmViewReport* ShowReportWindow(AppContext& ctx, const std::function<RichDocument()>& build);

// The Solve command: solves the project afresh (SolveProject, which stores its results) and
// shows its report, with the rainfall source line and review notes when the settings ask for
// them and the IDF curves of the solve's table with its total Tc. An open report window is
// rebuilt in place (an edited one asks first). Null when there is nothing to solve (`nothing`
// is set then) or the report could not be built (its message was shown). The title names the
// rainfall table the solve used ("Report - Rainfall: NAME").
FrmViewReport* OpenReportWindow(AppContext& ctx, bool* nothing = nullptr);
QString ReportTitle(const QString& intensityTable);

} // namespace pluvane::gui
