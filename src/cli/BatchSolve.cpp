#include "cli/BatchSolve.h"

#include "cli/CliMessages.h"
#include "cli/ProjectAccess.h"
#include "core/Error.h"
#include "core/Workspace.h"
#include "core/io/FileChecks.h"
#include "core/platform/Platform.h"
#include "core/report/ReportBuilder.h"
#include "core/report/RtfWriter.h"
#include "core/solve/SolveChecks.h"
#include "core/solve/SolveMessages.h"
#include "core/store/IntensityDb.h"
#include "core/store/ProjectDb.h"
#include "core/text/NumberText.h"

#include <sqlite3.h>

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <iostream>
#include <map>
#include <mutex>
#include <ostream>
#include <sstream>
#include <thread>

namespace pluvane::cli {

namespace fs = std::filesystem;

namespace {

// Where a project's report goes: with several projects the option names a folder and the file is
// named after the project; with one it names the file, as it always has.
std::string reportPath(const BatchOptions& options, const std::string& target,
                       const std::string& project, const char* extension) {
    if (options.projects.size() == 1)
        return target;
    return platform::PathToUtf8(platform::PathFromUtf8(target) /
                                platform::PathFromUtf8(project).stem()) +
           extension;
}

std::array<std::pair<const std::optional<std::string>*, const char*>, 3>
reportFolders(const BatchOptions& options) {
    return {{{&options.rtfFolder, ".rtf"},
             {&options.textFolder, ".txt"},
             {&options.pdfFolder, ".pdf"}}};
}

// One project's outcome as the batch sees it, with the report the calling thread writes as a PDF
// (the PDF writer is not thread-safe).
struct BatchOutcome {
    ProjectOutcome values;
    std::optional<RichDocument> pdfDocument;
};

// Everything of one project but its PDF. Touches only its own Workspace and files; the shared
// rainfall database is only read.
BatchOutcome solveProject(const std::string& dataFolder, const std::string& path,
                          const BatchOptions& options, const RainfallSnapshot& snapshot) {
    Workspace ws;
    ws.DataFolder = dataFolder;
    ws.ProjectPath = path;
    // The lock outlives the connection: closing its descriptor while SQLite held locks on the
    // file would drop them. The solve and the report share this connection; the solve checks
    // the file in its transaction, before it writes.
    std::optional<ProjectLock> lock;
    const ProjectConnectionScope connection(ws, ProjectConnectionScope::Check::InTransaction);
    // As a single solve: refused while the project is open in a Pluvane window.
    lock = ProjectLock::acquire(ws.ProjectPath);
    for (const auto& [folder, extension] : reportFolders(options))
        if (*folder)
            RefuseOutputOverInput(ws, reportPath(options, **folder, path, extension));
    SolveOptions solveOptions;
    solveOptions.rainfall = &snapshot;
    const ProjectSolve solved = SolveProject(ws, solveOptions);
    if (!solved.node)
        throw Error(std::string(kBatchProjectHasNoNode));
    if (solved.nothingToSolve)
        throw Error(std::string(kNothingToSolve));
    BatchOutcome outcome{DescribeOutcome(path, solved, options.review), std::nullopt};
    if (options.rtfFolder || options.textFolder || options.pdfFolder) {
        ReportOptions report;
        report.rainfallSource = options.rainfallSource;
        report.reviewNotes = options.reviewNotes;
        report.designBasis = options.designBasis;
        report.layOut = options.rtfFolder || options.pdfFolder;
        RichDocument document = RenderReport(solved, report);
        if (options.rtfFolder)
            SaveRtf(document, reportPath(options, *options.rtfFolder, path, ".rtf"));
        if (options.textFolder)
            SavePlainText(document, reportPath(options, *options.textFolder, path, ".txt"));
        if (options.pdfFolder)
            outcome.pdfDocument = std::move(document);
    }
    return outcome;
}

// Refuses, before anything is solved, what would make one project's files clobber another's.
void checkOutputs(const std::string& dataFolder, const BatchOptions& options) {
    std::map<std::string, std::string> seen;
    for (const std::string& project : options.projects) {
        const auto [it, fresh] = seen.emplace(FileIdentity(project), project); // hard links too
        if (!fresh)
            throw Error(ProjectGivenTwiceMessage(project, it->second));
    }
    // No output may land on one of the projects, under any name.
    const auto refuseOverProject = [&](const std::string& output) {
        for (const std::string& project : options.projects)
            if (SameFile(output, project))
                throw Error(OutputIsProjectMessage(output, project));
    };
    if (options.outFile) {
        refuseOverProject(*options.outFile);
        Workspace data;
        data.DataFolder = dataFolder;
        RefuseOutputOverInput(data, *options.outFile);
    }
    for (const auto& [folder, extension] : reportFolders(options)) {
        if (!*folder || options.projects.size() == 1)
            continue;
        std::error_code ec;
        if (!fs::is_directory(platform::PathFromUtf8(**folder), ec))
            throw Error(ReportFolderMessage(**folder));
        std::map<std::string, std::string> names;
        for (const std::string& project : options.projects) {
            const std::string report = reportPath(options, **folder, project, extension);
            refuseOverProject(report);
            const auto [it, fresh] = names.emplace(report, project);
            if (!fresh)
                throw Error(ReportsCollideMessage(it->second, project, report));
        }
    }
}

// "Solved 37 of 200" on a terminal's stderr, once the run has taken a second.
class Progress {
public:
    Progress(std::ostream& err, std::size_t total)
        : m_err(err), m_total(total), m_start(std::chrono::steady_clock::now()),
          m_enabled(&err == &std::cerr && platform::StandardErrorIsTerminal()) {}

    void show(std::size_t done) {
        if (!m_enabled || std::chrono::steady_clock::now() - m_start < std::chrono::seconds(1))
            return;
        m_err << "\rSolved " << done << " of " << m_total << std::flush;
        m_shown = true;
    }
    // Clears the count before other text goes to the terminal.
    void clear() {
        if (m_shown)
            m_err << "\r\033[K" << std::flush;
        m_shown = false;
    }

private:
    std::ostream& m_err;
    std::size_t m_total;
    std::chrono::steady_clock::time_point m_start;
    bool m_enabled;
    bool m_shown = false;
};

// The projects' outcomes as the workers finish them, read in the order given.
class OutcomeBoard {
public:
    explicit OutcomeBoard(std::size_t count)
        : m_outcomes(count), m_pdfs(count), m_finished(count, 0) {}

    // The index of the next project to solve; the count once every one is taken.
    std::size_t take() { return m_next++; }
    void post(std::size_t i, BatchOutcome outcome) {
        std::lock_guard lock(m_mutex);
        m_outcomes[i] = std::move(outcome.values);
        m_pdfs[i] = std::move(outcome.pdfDocument);
        m_finished[i] = 1;
        m_ready.notify_all();
    }
    // Waits for project i, showing the progress meanwhile. No worker touches it once posted.
    ProjectOutcome& waitFor(std::size_t i, Progress& progress) {
        std::unique_lock lock(m_mutex);
        while (!m_finished[i]) {
            m_ready.wait_for(lock, std::chrono::milliseconds(200));
            progress.show(i);
        }
        return m_outcomes[i];
    }
    // Project i's report for its PDF; call after waitFor(i), and dropPdf(i) once it is written.
    const std::optional<RichDocument>& pdf(std::size_t i) const { return m_pdfs[i]; }
    void dropPdf(std::size_t i) { m_pdfs[i].reset(); }
    const std::vector<ProjectOutcome>& outcomes() const { return m_outcomes; }

private:
    std::vector<ProjectOutcome> m_outcomes;
    std::vector<std::optional<RichDocument>> m_pdfs;
    std::vector<char> m_finished;
    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::atomic<std::size_t> m_next{0};
};

// One project's outcome; a failure is its outcome too, so one project never stops the others.
BatchOutcome solveOrFail(const std::string& dataFolder, const std::string& path,
                         const BatchOptions& options, const RainfallSnapshot& snapshot) {
    try {
        return solveProject(dataFolder, path, options, snapshot);
    } catch (const std::exception& e) {
        BatchOutcome failed;
        failed.values.path = path;
        failed.values.failure = e.what();
        return failed;
    }
}

unsigned workerCount(const BatchOptions& options) {
    unsigned jobs = options.jobs ? options.jobs : std::max(1u, std::thread::hardware_concurrency());
    // Each worker opens connections of its own, which needs a thread-safe SQLite build.
    if (sqlite3_threadsafe() == 0)
        jobs = 1;
    return static_cast<unsigned>(std::min<std::size_t>(jobs, options.projects.size()));
}

// A solved project's PDF, written from the reporting thread; a failure to write it fails the
// project.
void writePdf(ProjectOutcome& outcome, const std::optional<RichDocument>& document,
              const BatchOptions& options, const PdfWriter& pdf) {
    if (!document)
        return;
    try {
        pdf(*document, reportPath(options, *options.pdfFolder, outcome.path, ".pdf"));
    } catch (const std::exception& e) {
        outcome.solved = false;
        outcome.failure = e.what();
    }
}

// The --json or --csv document of the whole run, to --out (whole or not at all) or stdout.
void writeResultsDocument(const std::vector<ProjectOutcome>& outcomes, const BatchOptions& options,
                          std::ostream& out) {
    if (options.format == BatchOptions::Format::None)
        return;
    const std::string document = options.format == BatchOptions::Format::Json
                                     ? ResultsJson(outcomes, options.review)
                                     : ResultsCsv(outcomes, options.review);
    if (options.outFile)
        SaveFileAtomically(*options.outFile, document);
    else
        out << document << std::flush;
}

} // namespace

std::string SummaryLine(const ProjectOutcome& outcome) {
    if (!outcome.solved)
        return outcome.path + ": not solved";
    std::string line = outcome.path + ": " + outcome.location + ", Q (cfs)";
    for (float q : outcome.result->Q)
        line += " " + FormatFixed(q, 2);
    return line;
}

int SolveMany(const std::string& dataFolder, const BatchOptions& options, std::ostream& out,
              std::ostream& err, const PdfWriter& pdf) {
    if (options.pdfFolder && !pdf)
        throw Error(std::string(kPdfNeedsDesktopBuild));
    checkOutputs(dataFolder, options);
    Workspace data;
    data.DataFolder = dataFolder;
    const RainfallSnapshot snapshot = RainfallSnapshot::Read(data);

    const std::size_t count = options.projects.size();
    OutcomeBoard board(count);
    std::vector<std::thread> workers;
    const unsigned jobs = workerCount(options);
    for (unsigned j = 0; j < jobs; ++j)
        workers.emplace_back([&] {
            for (std::size_t i = board.take(); i < count; i = board.take())
                board.post(i, solveOrFail(dataFolder, options.projects[i], options, snapshot));
        });

    // Results are reported in the order given, each as soon as it and all before it are done.
    const bool documentToStdout = options.format != BatchOptions::Format::None && !options.outFile;
    Progress progress(err, count);
    int status = 0;
    for (std::size_t i = 0; i < count; ++i) {
        ProjectOutcome& outcome = board.waitFor(i, progress);
        writePdf(outcome, board.pdf(i), options, pdf);
        board.dropPdf(i);
        progress.clear();
        if (!documentToStdout)
            out << SummaryLine(outcome) << '\n';
        if (!outcome.solved) {
            err << "pluvane-cli: " << outcome.path << ": " << outcome.failure << '\n';
            status = 1;
        }
        progress.show(i + 1);
    }
    for (std::thread& worker : workers)
        worker.join();
    progress.clear();
    writeResultsDocument(board.outcomes(), options, out);
    return status;
}

} // namespace pluvane::cli
