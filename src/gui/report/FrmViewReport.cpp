#include "gui/report/FrmViewReport.h"

#include "core/Error.h"
#include "core/io/OutputGuard.h"
#include "core/report/RtfWriter.h"
#include "gui/app/AppContext.h"
#include "gui/app/RecentProjects.h"
#include "gui/rain/IdfPlot.h"
#include "gui/report/PrintRichText.h"
#include "gui/report/ReportPdf.h"
#include "gui/report/ReportPictures.h"
#include "gui/report/TextDocumentConversion.h"

#include <QAction>
#include <QClipboard>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QResizeEvent>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>

#include <optional>

namespace pluvane::gui {

namespace {

const QString kRtfFilter = "Rich Text File(*.rtf)|*.rtf|";
const QString kPdfFilter = "PDF File(*.pdf)|*.pdf|";
const QString kCsvFilter = "CSV File(*.csv)|*.csv|";

// The report view: a rich-text editor whose copies also carry RTF, written by the program's one
// RTF writer, so that word processors paste the tab stops and indents the columns depend on.
class ReportTextEdit : public QTextEdit {
public:
    using QTextEdit::QTextEdit;

protected:
    QMimeData* createMimeDataFromSelection() const override {
        QMimeData* data = QTextEdit::createMimeDataFromSelection();
        const QTextCursor cursor = textCursor();
        if (data && cursor.hasSelection()) {
            RichDocument selected =
                FromTextDocument(*document(), cursor.selectionStart(), cursor.selectionEnd());
            selected.furniture = {}; // a piece pasted elsewhere brings no page header of its own
            data->setData("text/rtf", QByteArray::fromStdString(WriteRtf(selected)));
        }
        return data;
    }
};

bool askWithPrintDialog(QPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    // The whole report is printed: no page range or selection to offer.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize |
                      QAbstractPrintDialog::PrintCollateCopies);
    printer.setPrintRange(QPrinter::AllPages);
    return dialog.exec() == QDialog::Accepted;
}

// Print and PDF are on US Letter unless the print dialog says otherwise: the report's units
// are US customary, and so are the sheets its readers file.
std::unique_ptr<QPrinter> letterPrinter() {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setPageSize(QPageSize(QPageSize::Letter));
    return printer;
}

} // namespace

QString WithDefaultSuffix(const QString& path, const QString& suffix) {
    const QString name = QFileInfo(path).fileName();
    if (name.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + (name.endsWith('.') ? "" : ".") + suffix;
}

FrmViewReport::FrmViewReport(AppContext& ctx, const RichDocument& report, QWidget* parent)
    : QMainWindow(parent), m_ctx(ctx), m_printerSetup(askWithPrintDialog) {
    setObjectName("FrmViewReport");
    setWindowTitle("Report");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(m_ctx.icon());

    buildToolbar();

    // The view is sized by the resize rule, not by a layout.
    auto* area = new QWidget(this);
    area->setObjectName("ReportArea");
    setCentralWidget(area);
    m_view = new ReportTextEdit(area);
    m_view->setObjectName("RtbReport");
    m_view->setAcceptRichText(true);
    m_view->setFont(ReportFont());
    // Paper: black on white whatever the desktop's colours, as the document's colours assume.
    QPalette paper = m_view->palette();
    paper.setColor(QPalette::Base, Qt::white);
    paper.setColor(QPalette::Text, Qt::black);
    m_view->setPalette(paper);
    buildContextMenu();
    bindKeys();

    ToTextDocument(report, *m_view->document());
    m_view->document()->setModified(false);
    caretToStart();
    resize(800, 600);
}

bool FrmViewReport::replaceReport(const RichDocument& report) {
    if (m_view->document()->isModified() &&
        m_ctx.prompts().message(this, "Report",
                                "The report was edited by hand. Replace it with the new solve "
                                "and lose the edits?",
                                Prompts::Icon::Question,
                                Prompts::Buttons::YesNo) != Prompts::Answer::Yes) {
        checkCurrent();
        return false;
    }
    ToTextDocument(report, *m_view->document());
    m_view->document()->setModified(false);
    caretToStart();
    if (m_outOfDate)
        m_outOfDate->setVisible(false);
    return true;
}

void FrmViewReport::watchCurrency(const QStringList& files, std::function<bool()> isCurrent) {
    m_isCurrent = std::move(isCurrent);
    auto* watcher = findChild<QFileSystemWatcher*>("ReportWatcher");
    if (!watcher) {
        watcher = new QFileSystemWatcher(this);
        watcher->setObjectName("ReportWatcher");
        // A write is several changes in a row; one check after them is enough.
        auto* settle = new QTimer(this);
        settle->setSingleShot(true);
        settle->setInterval(300);
        connect(settle, &QTimer::timeout, this, &FrmViewReport::checkCurrent);
        connect(watcher, &QFileSystemWatcher::fileChanged, settle, qOverload<>(&QTimer::start));
    }
    if (!watcher->files().isEmpty())
        watcher->removePaths(watcher->files());
    watcher->addPaths(files);
}

void FrmViewReport::checkCurrent() {
    bool current = true;
    try {
        current = !m_isCurrent || m_isCurrent();
    } catch (const std::exception&) {
        current = false; // a project that cannot be read now is not what the report shows
    }
    if (!current && !m_outOfDate) {
        auto* banner = new QLabel(
            "Out of date: the project changed after this report was made. Solve again.", this);
        banner->setObjectName("LblOutOfDate");
        banner->setStyleSheet("QLabel { color: #b00000; font-weight: bold; padding: 0 8px; }");
        m_outOfDate = m_toolbar->addWidget(banner);
    }
    if (m_outOfDate)
        m_outOfDate->setVisible(!current);
}

bool FrmViewReport::isOutOfDate() const { return m_outOfDate && m_outOfDate->isVisible(); }

FrmViewReport::~FrmViewReport() = default;

void FrmViewReport::buildToolbar() {
    m_toolbar = addToolBar("Toolbar1");
    m_toolbar->setObjectName("Toolbar1");
    m_toolbar->setMovable(false);
    m_toolbar->setFloatable(false);
    m_toolbar->setIconSize(QSize(24, 24));
    m_toolbar->toggleViewAction()->setEnabled(false); // the toolbar cannot be hidden

    const auto add = [this](ReportTool tool, const QString& text, const char* name,
                            void (FrmViewReport::*command)()) {
        QAction* action = m_toolbar->addAction(ReportToolIcon(tool), text, this, command);
        action->setToolTip(text);
        action->setObjectName(name);
    };
    m_toolbar->addSeparator();
    add(ReportTool::SaveAs, "Save As...", "TbSaveAs", &FrmViewReport::saveAs);
    add(ReportTool::Print, "Print", "TbPrint", &FrmViewReport::print);
    add(ReportTool::Copy, "Copy to Clipboard", "TbCopy", &FrmViewReport::copyToClipboard);
    m_toolbar->addSeparator();
    add(ReportTool::Close, "Close Report", "TbClose", &FrmViewReport::closeReport);
    // After the six positions above, so that each of them keeps its place.
    add(ReportTool::ExportPdf, "Export PDF", "TbExportPdf", &FrmViewReport::exportPdf);
    add(ReportTool::PrintPreview, "Print Preview", "TbPrintPreview", &FrmViewReport::printPreview);
}

void FrmViewReport::buildContextMenu() {
    // A pop-up only: it never shows in a menu bar, so it has no title.
    m_contextMenu = new QMenu(this);
    m_contextMenu->setObjectName("MnuPopReportRClick");
    QAction* selectAllAction =
        m_contextMenu->addAction("Select All", this, &FrmViewReport::selectAll);
    selectAllAction->setObjectName("MnuPopSelectAll");
    m_copyAction = m_contextMenu->addAction("Copy", this, &FrmViewReport::copySelection);
    m_copyAction->setObjectName("MnuPopCopy");

    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_view, &QWidget::customContextMenuRequested, this, &FrmViewReport::showContextMenu);
}

void FrmViewReport::showContextMenu(const QPoint& position) {
    m_copyAction->setEnabled(m_view->textCursor().hasSelection());
    // The view reports the position in its viewport's coordinates.
    m_contextMenu->popup(m_view->viewport()->mapToGlobal(position));
}

void FrmViewReport::selectAll() {
    m_view->setFocus();
    m_view->selectAll();
}

void FrmViewReport::copySelection() {
    m_view->setFocus();
    QGuiApplication::clipboard()->clear();
    m_view->copy();
}

void FrmViewReport::caretToStart() {
    QTextCursor cursor = m_view->textCursor();
    cursor.movePosition(QTextCursor::Start);
    m_view->setTextCursor(cursor);
}

void FrmViewReport::tell(const QString& text) {
    m_ctx.prompts().message(this, "Error", text, Prompts::Icon::Exclamation);
}

std::optional<QString> FrmViewReport::askFileName(const QString& filter, const QString& suffix) {
    // In the project's folder, under the project's name: site.rmt -> site.rtf, site.pdf.
    const std::optional<QString> typed = m_ctx.prompts().saveFileName(
        this, filter, suffix,
        ProposedFileName(QString::fromStdString(m_ctx.workspace().ProjectPath), suffix));
    if (!typed)
        return std::nullopt;
    const QString path = WithDefaultSuffix(*typed, suffix);
    // The dialog asked about the name it returned; a name completed here is asked about here.
    if (path != *typed && QFileInfo::exists(path) &&
        m_ctx.prompts().message(this, "Confirm Save As",
                                QString("%1 already exists.\nDo you want to replace it?")
                                    .arg(QFileInfo(path).fileName()),
                                Prompts::Icon::Exclamation,
                                Prompts::Buttons::YesNo) != Prompts::Answer::Yes)
        return std::nullopt;
    return path;
}

void FrmViewReport::saveAs() {
    const std::optional<QString> path = askFileName(kRtfFilter, "rtf");
    if (!path)
        return;
    try {
        GuardOutput(m_ctx.workspace(), path->toStdString(), OutputPurpose::ReportOutput);
        SaveRtf(FromTextDocument(*m_view->document()), path->toStdString());
    } catch (const std::exception& e) {
        tell(QString("The report was not saved.\n%1").arg(QString::fromStdString(e.what())));
    }
}

void FrmViewReport::print() {
    if (!m_printer)
        m_printer = letterPrinter();
    if (!m_printerSetup(*m_printer, this))
        return;
    // Print to file writes a file like Export PDF, and is refused the same files.
    if (!m_printer->outputFileName().isEmpty() && !m_ctx.guard(this, [&] {
            GuardOutput(m_ctx.workspace(), m_printer->outputFileName().toStdString(),
                        OutputPurpose::ReportOutput);
        }))
        return;
    if (!PrintRichText(*m_view->document(), *m_printer, PageMargins{}))
        tell("The report could not be printed: the printer could not be opened or refused a page.");
}

void FrmViewReport::printPreview() {
    if (!m_printer)
        m_printer = letterPrinter();
    QPrintPreviewDialog dialog(m_printer.get(), this);
    dialog.setObjectName("PrintPreview");
    dialog.setWindowTitle("Print Preview");
    // The pages as Print makes them; the dialog's own print button prints these pages.
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* printer) {
        PrintRichText(*m_view->document(), *printer, PageMargins{});
    });
    if (m_previewShown)
        m_previewShown(dialog);
    else
        dialog.exec();
}

void FrmViewReport::copyToClipboard() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    m_view->setFocus();
    m_view->selectAll();
    m_view->copy();
    caretToStart();
    const QMimeData* copied = clipboard->mimeData();
    if (!m_view->document()->isEmpty() && (!copied || !copied->hasText()))
        tell("The report could not be copied to the clipboard.");
}

void FrmViewReport::closeReport() { close(); }

void FrmViewReport::setIdfSource(IdfCurvesSource source) {
    if (!m_idfSource) {
        QAction* action = m_toolbar->addAction(IdfCurvesIcon(), "IDF Curves", this,
                                               &FrmViewReport::showIdfCurves);
        action->setToolTip("IDF Curves");
        action->setObjectName("TbIdfCurves");
    }
    m_idfSource = std::move(source);
    if (m_idfWindow) {
        m_idfWindow->close(); // it showed the former solve
        m_idfWindow = nullptr;
    }
}

void FrmViewReport::setResults(ProjectOutcome outcome, bool review) {
    if (!m_results) {
        QAction* action =
            m_toolbar->addAction(ReportToolIcon(ReportTool::ExportCsv), "Export Results (CSV)",
                                 this, &FrmViewReport::exportResults);
        action->setToolTip("Export Results (CSV)");
        action->setObjectName("TbExportCsv");
    }
    m_results = std::move(outcome);
    m_resultsReview = review;
}

void FrmViewReport::exportResults() {
    if (!m_results)
        return;
    // The values are not on view as the page is: a stale file would pass unnoticed.
    if (isOutOfDate() &&
        m_ctx.prompts().message(this, "Export Results",
                                "The project changed after this report was made. Export the "
                                "results of the report as shown?",
                                Prompts::Icon::Question,
                                Prompts::Buttons::YesNo) != Prompts::Answer::Yes)
        return;
    const std::optional<QString> path = askFileName(kCsvFilter, "csv");
    if (!path)
        return;
    try {
        GuardOutput(m_ctx.workspace(), path->toStdString(), OutputPurpose::ReportOutput);
        SaveFileAtomically(path->toStdString(), ResultsCsv({*m_results}, m_resultsReview));
    } catch (const std::exception& e) {
        tell(QString("The results were not exported.\n%1").arg(QString::fromStdString(e.what())));
    }
}

void FrmViewReport::showIdfCurves() {
    if (!m_idfSource)
        return;
    if (!m_idfWindow) {
        m_idfWindow = new FrmIdfCurves(*m_idfSource, windowIcon(), this);
        m_ctx.session().adopt(m_idfWindow);
    }
    AppContext::present(m_idfWindow);
}

void FrmViewReport::exportPdf() {
    const std::optional<QString> path = askFileName(kPdfFilter, "pdf");
    if (!path)
        return;
    try {
        GuardOutput(m_ctx.workspace(), path->toStdString(), OutputPurpose::ReportOutput);
        WriteReportPdf(*m_view->document(), *path);
    } catch (const std::exception& e) {
        tell(QString::fromStdString(e.what()));
    }
}

QSize FrmViewReport::viewSizeFor(QSize window, QSize current, qreal dpiX, qreal dpiY) {
    const auto toTwipsX = [dpiX](int pixels) { return pixels * 1440.0 / dpiX; };
    const auto toTwipsY = [dpiY](int pixels) { return pixels * 1440.0 / dpiY; };
    if (toTwipsY(window.height()) < 1000 || toTwipsX(window.width()) < 200)
        return current;
    return QSize(window.width() - qRound(100 * dpiX / 1440.0),
                 window.height() - qRound(940 * dpiY / 1440.0));
}

void FrmViewReport::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (isMinimized())
        return;
    m_view->resize(viewSizeFor(event->size(), m_view->size(), logicalDpiX(), logicalDpiY()));
}

bool BuildOrTell(AppContext& ctx, const std::function<void()>& build) {
    try {
        build();
        return true;
    } catch (const Error& e) {
        ctx.prompts().message(
            ctx.mainWindow(), QString::fromStdString(e.title()),
            QString("The report could not be built.\n%1").arg(QString::fromStdString(e.what())),
            Prompts::Icon::Exclamation);
    } catch (const std::exception& e) {
        ctx.prompts().message(
            ctx.mainWindow(), "Error",
            QString("The report could not be built.\nUnexpected error: %1").arg(e.what()),
            Prompts::Icon::Critical);
    }
    return false;
}

FrmViewReport* ShowReportWindow(AppContext& ctx, const std::function<RichDocument()>& build) {
    if (FrmViewReport* open = ctx.existing<FrmViewReport>()) {
        if (open->isMinimized())
            open->setWindowState(open->windowState() & ~Qt::WindowMinimized);
        AppContext::present(open);
        return open;
    }
    std::optional<RichDocument> report;
    if (!BuildOrTell(ctx, [&] { report = build(); }))
        return nullptr;
    auto* window = ctx.session().findOrMake<FrmViewReport>(
        [&] { return new FrmViewReport(ctx, *report, ctx.mainWindow()); });
    window->showMaximized();
    AppContext::present(window);
    return window;
}

} // namespace pluvane::gui
