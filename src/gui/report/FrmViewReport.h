#pragma once

#include "core/report/RichText.h"
#include "gui/rain/FrmIdfCurves.h"

#include <QMainWindow>
#include <QPointer>

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
// save as RTF, print, copy, export as PDF and close. Edits live only here; closing the window
// deletes it with them.
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
    FrmIdfCurves* idfCurvesWindow() const { return m_idfWindow; }

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
    QPointer<FrmIdfCurves> m_idfWindow; // closes with the report: it is the plot of this solve
};

// `path` with ".suffix" added when its file name has no extension ("report" -> "report.rtf",
// "report." -> "report.rtf"); a name with one is left as typed.
QString WithDefaultSuffix(const QString& path, const QString& suffix);

// Shows the report window, created on first use and again after it was closed: the existing
// window is brought forward unchanged (edits kept); a new one is loaded with the document that
// `build` returns and shown maximized, not modal. When `build` throws, its message is shown
// and there is no window: null.
FrmViewReport* ShowReportWindow(AppContext& ctx, const std::function<RichDocument()>& build);

// The Solve command's window: ShowReportWindow with the report of ctx.workspace()'s project,
// whose building also solves it, with the rainfall source line when the settings ask for it,
// and the IDF curves of the current table with the solve's total Tc. The caller sets the solve
// flags first (ProbeSolveFlags) and opens it only when there is something to solve.
// Its title names the rainfall table the solve used ("Report - Rainfall: NAME"); a report
// window solved with another table than the one now recorded is closed and solved afresh.
FrmViewReport* OpenReportWindow(AppContext& ctx);
// The property a report window built by OpenReportWindow carries the solve's 100-year peak flow
// in (cfs; NaN when the solve could not run), for the canvas's status bar.
inline constexpr const char* kSolvedQ100Property = "pluvaneSolvedQ100";
QString ReportTitle(const QString& intensityTable);

} // namespace pluvane::gui
