#include "cli/Cli.h"
#include "cli/ProjectAccess.h"

#include "cli/BatchSolve.h"
#include "cli/CheckCommand.h"
#include "cli/CliMessages.h"
#include "cli/HydraulicsCommands.h"
#include "cli/LocationsExport.h"

#include "core/Error.h"
#include "core/Settings.h"
#include "core/Workspace.h"
#include "core/elements/RecomputeTc.h"
#include "core/io/OutputGuard.h"
#include "core/platform/Platform.h"
#include "core/rain/RainfallImport.h"
#include "core/rain/RainfallNames.h"
#include "core/report/ReportBuilder.h"
#include "core/report/ReportNotes.h"
#include "core/report/RtfWriter.h"
#include "core/settings/DesignSettings.h"
#include "core/settings/ProjectSettings.h"
#include "core/solve/SolveMessages.h"
#include "core/solve/SolveProject.h"
#include "core/store/IntensityDb.h"
#include "core/store/ProjectDb.h"
#include "core/text/NumberText.h"
#include "core/text/Text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <iomanip>
#include <map>
#include <optional>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <vector>

namespace pluvane::cli {

namespace fs = std::filesystem;

namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

constexpr const char* kUsageText =
    "usage: pluvane-cli [--data-folder DIR] COMMAND [ARGS]\n"
    "\n"
    "commands:\n"
    "  new PROJECT.rmt [--force]\n"
    "      create a project file from the template (--force replaces an existing file)\n"
    "  locations list\n"
    "      list the rainfall locations of the intensity database\n"
    "  locations show NAME\n"
    "      print a location's intensity table (in/hr) and where its values come from\n"
    "  locations export NAME [--csv] [--out FILE]\n"
    "      write a location in the shipped CSV format, with its source lines, so that\n"
    "      `locations import` reads it back unchanged\n"
    "  locations import FILE.csv [--name NAME] [--replace]\n"
    "      add a location from a NOAA Atlas 14 precipitation-frequency CSV (partial\n"
    "      duration series, depth or intensity) or a table in the shipped CSV format;\n"
    "      the name defaults to the file's location (--replace overwrites the values\n"
    "      of an existing location of that name); doubtful values are warned about\n"
    "  peak --area ACRES --c COEFFICIENT --tc MINUTES [--location NAME] [--project FILE.rmt]\n"
    "      intensities and peak flows Q = C * Cf * A * I for the seven return periods;\n"
    "      the location defaults to the project's, else Atlanta; with --project the\n"
    "      results are also stored in the project\n"
    "  solve PROJECT.rmt [--rtf FILE] [--text FILE] [--pdf FILE] [--rainfall-source] [--review]\n"
    "      solve the project with its node's rainfall location as the Solve command\n"
    "      does: store the results in the project, print the runoff rates and write\n"
    "      the report as rich text, plain text or PDF; --rainfall-source adds the\n"
    "      line naming the rainfall and its source (else the ReportRainfallSource\n"
    "      setting decides); --review adds the Review Notes section (else the\n"
    "      ReportReviewNotes setting decides); the Design Basis section is in the\n"
    "      report unless --no-design-basis is given or ReportDesignBasis=0\n"
    "  solve P1.rmt P2.rmt ... [--jobs N] [--json | --csv] [--out FILE] [--review]\n"
    "        [--rtf FOLDER] [--text FOLDER] [--pdf FOLDER] [--rainfall-source]\n"
    "        [--no-design-basis]\n"
    "      solve several projects at once on N threads (default: one per core), each\n"
    "      stored in its own file; one line per project in the order given, failures\n"
    "      on stderr and exit code 1 when any failed; the reports go to the folders,\n"
    "      named after each project (site.rmt -> site.txt); --json or --csv print\n"
    "      every project's inputs and results (to FILE with --out) in place of the\n"
    "      lines, with the review notes when --review is given\n"
    "  set PROJECT.rmt min-tc MINUTES|none\n"
    "      the project's minimum Tc: a shorter total Tc reads the intensities at it\n"
    "  recompute PROJECT.rmt\n"
    "      recompute every computed Tc and velocity from the stored inputs, the sheet\n"
    "      flow with the P2 of the project's rainfall table; typed values stay as\n"
    "      typed; prints each element's old and new Tc\n"
    "  check PROJECT.rmt [--json]\n"
    "      list what a plan reviewer would ask about the project, one note a line\n"
    "      (--json: as one JSON document); exit code 3 when there are notes\n"
    "  pipe --q CFS --slope S --n N [--diameter IN] [--json]\n"
    "      a circular pipe by Manning's equation: its full flow and velocity, and for Q\n"
    "      the normal depth, velocity and percent full (or over capacity); without\n"
    "      --diameter the smallest standard diameter (12 to 72 in) that carries Q\n"
    "      flowing full\n"
    "  channel --q CFS --slope S --n N --bottom FT --side Z [--depth FT] [--json]\n"
    "      a trapezoidal channel (side slope Z horizontal to 1 vertical): the normal\n"
    "      depth and velocity for Q, and with --depth the capacity at that depth\n"
    "  help\n"
    "      show this text\n"
    "\n"
    "An option may be given once; -- ends the options, so that a name beginning with --\n"
    "can follow it (locations export --out FILE -- --NAME).\n"
    "\n"
    "The data folder holds empty.mdb and intensity.mdb: --data-folder, else the InstallPath\n"
    "setting, else the folder of this program.\n";

class UsageError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Positional words and --options of one command, checked against what the command accepts.
struct Arguments {
    std::vector<std::string> words;
    std::map<std::string, std::string> options; // flags map to ""

    // "--" ends the options: every later argument is a word, even one that begins with "--"
    // (a location so named). An option given twice is refused rather than one of its values
    // silently taken; a value that begins with "--" is taken for the next option, so the value
    // is said to be missing.
    static Arguments parse(const std::vector<std::string>& args,
                           const std::vector<std::string>& valued,
                           const std::vector<std::string>& flags) {
        Arguments parsed;
        bool optionsEnded = false;
        for (std::size_t i = 0; i < args.size(); ++i) {
            const std::string& arg = args[i];
            const bool isFlag = std::find(flags.begin(), flags.end(), arg) != flags.end();
            const bool isValued = std::find(valued.begin(), valued.end(), arg) != valued.end();
            if (optionsEnded || arg.rfind("--", 0) != 0) {
                parsed.words.push_back(arg);
            } else if (arg == "--") {
                optionsEnded = true;
            } else if (!isFlag && !isValued) {
                throw UsageError(UnknownOptionMessage(arg));
            } else if (parsed.has(arg)) {
                throw UsageError(OptionTwiceMessage(arg));
            } else if (isFlag) {
                parsed.options[arg] = "";
            } else {
                if (i + 1 >= args.size() || args[i + 1].rfind("--", 0) == 0)
                    throw UsageError(OptionNeedsValueMessage(arg));
                parsed.options[arg] = args[++i];
            }
        }
        return parsed;
    }
    bool has(const std::string& option) const { return options.count(option) > 0; }
};

// A whole command-line number, not the lenient field parse: "1O" is a typo, not 1.
double strictNumber(const std::string& option, const std::string& text) {
    double value = 0.0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (text.empty() || result.ec != std::errc() || result.ptr != end || !std::isfinite(value))
        throw UsageError(OptionNotANumberMessage(option, text));
    if (value < 0.0)
        throw UsageError(OptionNegativeMessage(option));
    return value;
}

std::string executableDir(const char* argv0) {
    std::error_code ec;
    fs::path exe = platform::PathFromUtf8(platform::ExecutablePath());
    if (exe.empty())
        exe = fs::absolute(platform::PathFromUtf8(argv0 ? argv0 : "."), ec);
    return platform::PathToUtf8(exe.parent_path());
}

// A right-aligned table cell, or a left-aligned row label.
std::string cell(const std::string& text, int width) {
    std::ostringstream out;
    out << std::setw(width) << text;
    return out.str();
}

std::string label(const std::string& text, int width) {
    std::ostringstream out;
    out << std::left << std::setw(width) << text;
    return out.str();
}

// The name as the location list spells it (names match without regard to case).
std::string listedName(const Workspace& ws, const std::string& name) {
    for (const std::string& listed : ListLocations(ws))
        if (EqualsIgnoreCase(listed, name))
            return listed;
    throw Error(NoSuchLocationMessage(name));
}

int locationsList(const Workspace& ws, std::ostream& out) {
    for (const std::string& name : ListLocations(ws))
        out << name << '\n';
    return kOk;
}

int locationsShow(const Workspace& ws, const std::string& name, std::ostream& out) {
    const std::string listed = listedName(ws, name);
    const auto rows = ReadLocationRows(ws, listed);
    out << "Location: " << listed << '\n';
    const std::string provenance = ReadProvenance(ws, listed);
    if (provenance.empty())
        out << "Source: not recorded\n";
    std::istringstream lines(provenance);
    for (std::string line; std::getline(lines, line);)
        out << "  " << line << '\n';
    out << "\nIntensity (in/hr)\n" << label("Duration", 9);
    for (std::int16_t period : ReturnPeriods)
        out << cell(std::to_string(period) + " yr", 9);
    out << '\n';
    for (std::size_t r = 0; r < rows.size(); ++r) {
        out << label(r < std::size(kDurationLabels) && rows[r].duration == kDurationTexts[r]
                         ? kDurationLabels[r]
                         : rows[r].duration + " hr",
                     9);
        for (const std::string& value : rows[r].values)
            out << cell(value, 9);
        out << '\n';
    }
    if (rows.size() != kDurationTexts.size())
        out << "Warning: the table has " << rows.size() << " rows instead of 10.\n";
    return kOk;
}

int locationsImport(Workspace& ws, const Arguments& args, std::ostream& out, std::ostream& err) {
    if (args.words.size() != 1)
        throw UsageError(std::string(kImportNeedsOneFile));
    ImportedTable imported = ImportRainfallFile(ReadTextFile(args.words[0]));
    LocationFile& file = imported.table;
    if (args.has("--name"))
        file.name = args.options.at("--name");
    if (file.name.empty())
        throw Error(std::string(kFileNamesNoLocation));
    // Warned, not refused: the published table is what it is, and the user decides.
    for (const std::string& warning : imported.warnings)
        err << "pluvane-cli: warning: " << warning << '\n';
    // Whether the name exists is decided in the write itself: of two imports of one new name
    // at once, the second finds it there.
    const LocationSaved saved =
        SaveLocation(ws, file.name, file.grid, file.provenance, args.has("--replace"));
    if (saved == LocationSaved::Exists)
        throw Error(LocationExistsMessage(file.name));
    out << (saved == LocationSaved::Updated ? "Updated" : "Added") << " location \"" << file.name
        << "\".\n";
    return kOk;
}

int newProject(const Workspace& ws, const Arguments& args, std::ostream& out) {
    if (args.words.size() != 1)
        throw UsageError(std::string(kNewNeedsOneFile));
    const std::string& path = args.words[0];
    const bool exists = platform::KindOf(path) != platform::FileKind::Missing;
    if (exists && !args.has("--force"))
        throw Error(FileExistsMessage(path));
    // --force replaces an old project, never the data folder's databases or another database.
    GuardOutput(ws, path, OutputPurpose::ReplaceProject);
    // A file replaced under an open window: refuse it as the program would.
    std::optional<ProjectLock> lock;
    if (exists)
        lock = ProjectLock::acquire(path);
    if (!platform::kReplacesOpenFiles)
        lock.reset(); // it has told that no window holds the file; its handle would block the replace
    CreateProjectFromTemplate(ws, path);
    out << "Created project \"" << path << "\".\n";
    return kOk;
}

// The intensities and peak flows of a solve, one column per return period, and its note.
void printResults(std::ostream& out, const SolveResult& result) {
    out << label("Return period (yr)", 18);
    for (std::int16_t period : ReturnPeriods)
        out << cell(std::to_string(period), 9);
    out << '\n' << label("Cf", 18);
    for (std::int16_t period : ReturnPeriods)
        out << cell(FormatFixed(FrequencyFactor(period), 2), 9);
    out << '\n' << label("I (in/hr)", 18);
    for (float i : result.I)
        out << cell(FormatFixed(i, 2), 9);
    out << '\n' << label("Q (cfs)", 18);
    for (float q : result.Q)
        out << cell(FormatFixed(q, 2), 9);
    out << '\n';
    if (const std::string note = SolveNote(result); !note.empty())
        out << '\n' << note << '\n';
}

int peak(Workspace& ws, const Arguments& args, std::ostream& out) {
    if (!args.words.empty())
        throw UsageError(std::string(kPeakOptionsOnly));
    for (const char* required : {"--area", "--c", "--tc"})
        if (!args.has(required))
            throw UsageError(PeakNeedsMessage(required));
    const double A = strictNumber("--area", args.options.at("--area"));
    const double C = strictNumber("--c", args.options.at("--c"));
    const double Tc = strictNumber("--tc", args.options.at("--tc"));
    if (C > 1.0) // below 0 strictNumber refuses it
        throw UsageError(OptionAboveOneMessage("--c"));
    std::string location = args.has("--location") ? args.options.at("--location") : "";
    ProjectLock lock;
    if (args.has("--project")) {
        ws.ProjectPath = args.options.at("--project");
        lock = LockProjectForWriting(ws.ProjectPath);
        if (location.empty())
            location = RecordedIntensityTable(ws).value_or("");
    }
    if (location.empty())
        location = kDefaultLocation;
    location = listedName(ws, location);

    const SolveResult result =
        args.has("--project") ? ComputeResults(ws, location, A, C, Tc)
                              : SolveFromRows(ReadLocationRows(ws, location), A, C, Tc, location);
    out << "Location: " << location << '\n'
        << "A = " << PlainNumberText(A) << " ac, C = " << PlainNumberText(C)
        << ", Tc = " << PlainNumberText(Tc) << " min\n\n";
    printResults(out, result);
    if (args.has("--project"))
        out << "\nStored in \"" << ws.ProjectPath << "\".\n";
    return kOk;
}

// The Solve command on a project file: the one solve (which stores TblResults), then the report
// only when a file of it is asked for. The requested
// files are written even when the solve failed, since the report then says why; the exit code
// still tells the failure.
int solve(Workspace& ws, const Arguments& args, std::ostream& out, std::ostream& err,
          const PdfWriter& pdf) {
    if (args.words.size() != 1)
        throw UsageError(std::string(kSolveNeedsOneProject));
    if (args.has("--pdf") && !pdf)
        throw Error(std::string(kPdfNeedsDesktopBuild));
    ws.ProjectPath = args.words[0];
    // The lock outlives the connection: closing its descriptor while SQLite held locks on the
    // file would drop them. The solve checks the file in its transaction, before it writes.
    std::optional<ProjectLock> lock;
    const ProjectConnectionScope connection(ws, ProjectConnectionScope::Check::InTransaction);
    lock = ProjectLock::acquire(ws.ProjectPath);
    for (const char* option : {"--rtf", "--text", "--pdf"})
        if (args.has(option))
            RefuseOutputOverInput(ws, args.options.at(option));
    const ProjectSolve solved = SolveProject(ws);
    if (!solved.node)
        throw Error(ProjectHasNoNodeMessage(ws.ProjectPath));
    if (solved.nothingToSolve)
        throw Error(std::string(kNothingToSolve));
    out << "Location: " << solved.location << "\n\n";
    if (solved.result) {
        printResults(out, *solved.result);
        out << "\nStored in \"" << ws.ProjectPath << "\".\n";
    }
    if (!solved.result) // said first: a report that then cannot be written ends the command
        err << "pluvane-cli: " << SolveFailureLine(CellText(solved.failure)) << '\n';
    if (args.has("--rtf") || args.has("--text") || args.has("--pdf")) {
        ReportOptions options;
        options.rainfallSource =
            args.has("--rainfall-source") || ReportRainfallSourceEnabled(Settings::load());
        options.reviewNotes = args.has("--review") || ReportReviewNotesEnabled(Settings::load());
        options.designBasis =
            !args.has("--no-design-basis") && ReportDesignBasisEnabled(Settings::load());
        options.layOut = args.has("--rtf") || args.has("--pdf");
        const RichDocument document = RenderReport(solved, options);
        const auto write = [&](const char* option, const auto& save) {
            if (!args.has(option))
                return;
            const std::string& path = args.options.at(option);
            save(document, path);
            out << "Wrote \"" << path << "\".\n";
        };
        write("--rtf", SaveRtf);
        write("--text", SavePlainText);
        write("--pdf", pdf);
    }
    return solved.result ? kOk : kFailed;
}

// A --jobs count: a whole number of threads, at least one.
unsigned jobCount(const std::string& text) {
    unsigned value = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (text.empty() || result.ec != std::errc() || result.ptr != end || value == 0 || value > 256)
        throw UsageError(JobsNotACountMessage(text));
    return value;
}

// `solve` with several projects, or with results for scripts (--json, --csv).
int solveMany(const Workspace& ws, const Arguments& args, unsigned jobs, std::ostream& out,
              std::ostream& err, const PdfWriter& pdf) {
    if (args.words.empty())
        throw UsageError(std::string(kSolveNeedsProjects));
    if (args.has("--json") && args.has("--csv"))
        throw UsageError(std::string(kJsonOrCsv));
    if (args.has("--out") && !args.has("--json") && !args.has("--csv"))
        throw UsageError(std::string(kOutNeedsFormat));
    BatchOptions options;
    options.projects = args.words;
    options.jobs = jobs;
    const auto folder = [&](const char* option) {
        return args.has(option) ? std::optional(args.options.at(option)) : std::nullopt;
    };
    options.rtfFolder = folder("--rtf");
    options.textFolder = folder("--text");
    options.pdfFolder = folder("--pdf");
    options.outFile = folder("--out");
    const Settings settings = Settings::load();
    options.rainfallSource = args.has("--rainfall-source") || ReportRainfallSourceEnabled(settings);
    options.review = args.has("--review");
    options.reviewNotes = options.review || ReportReviewNotesEnabled(settings);
    options.designBasis = !args.has("--no-design-basis") && ReportDesignBasisEnabled(settings);
    options.format = args.has("--json")  ? BatchOptions::Format::Json
                     : args.has("--csv") ? BatchOptions::Format::Csv
                                         : BatchOptions::Format::None;
    return SolveMany(ws.DataFolder, options, out, err, pdf);
}

// `pipe` and `channel`: every value is checked before anything is computed, and a value out of
// range is a wrong command line (exit 2) naming it.
int hydraulics(const std::string& command, const Arguments& args, std::ostream& out) {
    if (!args.words.empty())
        throw UsageError(OptionsOnlyMessage(command));
    const bool pipe = command == "pipe";
    const auto value = [&](const std::string& option) -> std::optional<double> {
        const auto found = args.options.find(option);
        if (found == args.options.end())
            return std::nullopt;
        double number = 0.0;
        const std::string& text = found->second;
        const char* end = text.data() + text.size();
        const auto result = std::from_chars(text.data(), end, number);
        if (text.empty() || result.ec != std::errc() || result.ptr != end || !std::isfinite(number))
            throw UsageError(OptionNotANumberMessage(option, text));
        return number;
    };
    const auto required = [&](const std::string& option) {
        if (!args.has(option))
            throw UsageError(CommandNeedsMessage(command, option));
        return *value(option);
    };
    HydraulicsRequest request;
    request.q = required("--q");
    request.slope = required("--slope");
    request.n = required("--n");
    if (pipe) {
        request.diameter = value("--diameter");
    } else {
        request.bottom = required("--bottom");
        request.side = required("--side");
        request.depth = value("--depth");
    }
    try {
        pipe ? CheckPipeRequest(request) : CheckChannelRequest(request);
    } catch (const Error& e) {
        throw UsageError(e.what());
    }
    pipe ? PrintPipe(request, args.has("--json"), out)
         : PrintChannel(request, args.has("--json"), out);
    return kOk;
}

// `set PROJECT min-tc MINUTES|none`: a design choice of the project, under its lock.
int setOption(Workspace& ws, const Arguments& args, std::ostream& out) {
    if (args.words.size() != 3 || args.words[1] != "min-tc")
        throw UsageError(std::string(kSetUsage));
    std::optional<double> minutes;
    try {
        minutes = ParseMinimumTc(args.words[2]);
    } catch (const Error& e) {
        throw UsageError(e.what());
    }
    ws.ProjectPath = args.words[0];
    const ProjectLock lock = LockProjectForWriting(ws.ProjectPath);
    SaveMinimumTc(ws, minutes);
    out << "Minimum Tc of \"" << ws.ProjectPath << "\": " << MinimumTcText(minutes)
        << (minutes ? " min" : "") << ".\n";
    return kOk;
}

// `recompute PROJECT`: every computed Tc and velocity again from its stored inputs, the sheet
// flow with the P2 of the project's rainfall table; typed values stay. One line an element.
int recompute(Workspace& ws, const Arguments& args, std::ostream& out) {
    if (args.words.size() != 1)
        throw UsageError(std::string(kRecomputeNeedsOneProject));
    ws.ProjectPath = args.words[0];
    const ProjectLock lock = LockProjectForWriting(ws.ProjectPath);
    const std::string location = RecordedIntensityTable(ws).value_or("");
    const std::vector<TcRecomputed> plan = PlanTcRecompute(ws, location);
    ApplyTcRecompute(ws, plan);
    out << "Rainfall: " << (location.empty() ? "none chosen" : location) << '\n';
    std::size_t changed = 0;
    for (const TcRecomputed& row : plan) {
        const std::string_view kind = row.kind == ElementKind::Basin     ? kSubBasin
                                      : row.kind == ElementKind::Surface ? kShallowSegment
                                                                         : kChannelSegment;
        out << kind << " '" << row.name << "': Tc " << row.oldTc << " min";
        if (!row.kept.empty())
            out << " kept (" << row.kept << ")\n";
        else
            out << " -> " << row.newTc << " min" << (row.changed() ? "" : " (unchanged)") << '\n';
        changed += row.changed() ? 1 : 0;
    }
    out << changed << " of " << plan.size() << " elements changed in \"" << ws.ProjectPath
        << "\".\n";
    return kOk;
}

// `out` and `err` show text to a person; `data` takes what a command writes as a file's bytes.
int dispatch(Workspace& ws, const std::vector<std::string>& args, std::ostream& out,
             std::ostream& err, std::ostream& data, const PdfWriter& pdf) {
    const std::string command = args.empty() ? "" : args[0];
    const std::vector<std::string> rest(args.begin() + (args.empty() ? 0 : 1), args.end());
    if (command == "new")
        return newProject(ws, Arguments::parse(rest, {}, {"--force"}), out);
    if (command == "peak")
        return peak(
            ws, Arguments::parse(rest, {"--area", "--c", "--tc", "--location", "--project"}, {}),
            out);
    if (command == "solve") {
        const Arguments parsed = Arguments::parse(
            rest, {"--rtf", "--text", "--pdf", "--jobs", "--out"},
            {"--rainfall-source", "--review", "--json", "--csv", "--no-design-basis"});
        const unsigned jobs = parsed.has("--jobs") ? jobCount(parsed.options.at("--jobs")) : 0;
        if (parsed.words.size() == 1 && !parsed.has("--json") && !parsed.has("--csv") &&
            !parsed.has("--out"))
            return solve(ws, parsed, out, err, pdf);
        return solveMany(ws, parsed, jobs, out, err, pdf);
    }
    if (command == "set")
        return setOption(ws, Arguments::parse(rest, {}, {}), out);
    if (command == "recompute")
        return recompute(ws, Arguments::parse(rest, {}, {}), out);
    if (command == "pipe")
        return hydraulics(
            command, Arguments::parse(rest, {"--q", "--slope", "--n", "--diameter"}, {"--json"}),
            out);
    if (command == "channel")
        return hydraulics(
            command,
            Arguments::parse(rest, {"--q", "--slope", "--n", "--bottom", "--side", "--depth"},
                             {"--json"}),
            out);
    if (command == "check") {
        const Arguments parsed = Arguments::parse(rest, {}, {"--json"});
        if (parsed.words.size() != 1)
            throw UsageError(std::string(kCheckNeedsOneProject));
        return CheckProject(ws, parsed.words[0], parsed.has("--json"), out);
    }
    if (command == "locations") {
        const std::string sub = rest.empty() ? "" : rest[0];
        const std::vector<std::string> subArgs(rest.begin() + (rest.empty() ? 0 : 1), rest.end());
        if (sub == "list" && subArgs.empty())
            return locationsList(ws, out);
        if (sub == "show" && subArgs.size() == 1)
            return locationsShow(ws, subArgs[0], out);
        if (sub == "export") {
            const Arguments parsed = Arguments::parse(subArgs, {"--out"}, {"--csv"});
            if (parsed.words.size() != 1)
                throw UsageError(std::string(kExportNeedsOneName));
            const std::optional<std::string> file =
                parsed.has("--out") ? std::optional(parsed.options.at("--out")) : std::nullopt;
            return ExportLocation(ws, parsed.words[0], file, file ? out : data);
        }
        if (sub == "import")
            return locationsImport(ws, Arguments::parse(subArgs, {"--name"}, {"--replace"}), out,
                                   err);
        throw UsageError(std::string(kLocationsSubcommands));
    }
    throw UsageError(command.empty() ? std::string(kNoCommand) : UnknownCommandMessage(command));
}

// Passes text on a line at a time with its control bytes escaped (PrintableText), so that a
// file or location name cannot drive the terminal it is shown on.
class PrintableBuffer : public std::streambuf {
public:
    // `before`: a stream whose waiting lines go out first, so that lines of standard output and
    // standard error keep their order; a buffer with one flushes its own target at each line.
    explicit PrintableBuffer(std::ostream& target, std::ostream* before = nullptr)
        : m_target(target), m_before(before) {}
    PrintableBuffer(const PrintableBuffer&) = delete;
    PrintableBuffer& operator=(const PrintableBuffer&) = delete;
    ~PrintableBuffer() override { emit(); }

protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        m_line += traits_type::to_char_type(c);
        if (c == '\n')
            emit();
        return c;
    }
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        for (std::streamsize i = 0; i < count; ++i)
            overflow(traits_type::to_int_type(text[i]));
        return count;
    }

private:
    // Whole lines only: a UTF-8 sequence is never cut. A CR that ends a line (CSV results end
    // their rows so) stays; any other moves the cursor and is escaped.
    void emit() {
        const bool crlf = m_line.size() >= 2 && m_line.compare(m_line.size() - 2, 2, "\r\n") == 0;
        if (crlf)
            m_line.erase(m_line.size() - 2, 1);
        m_line = PrintableText(m_line, "\n");
        if (crlf)
            m_line.insert(m_line.size() - 1, "\r");
        if (m_before)
            m_before->flush();
        m_target << m_line;
        if (m_before)
            m_target.flush();
        m_line.clear();
    }
    std::ostream& m_target;
    std::ostream* m_before;
    std::string m_line;
};

} // namespace

int Run(int argc, char** argv, std::ostream& data, std::ostream& rawErr, const PdfWriter& pdf) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && (args[0] == "help" || args[0] == "--help" || args[0] == "-h")) {
        data << kUsageText;
        return kOk;
    }
    PrintableBuffer outBuffer(data);
    PrintableBuffer errBuffer(rawErr, &data);
    std::ostream out(&outBuffer);
    std::ostream err(&errBuffer);
    try {
        Workspace ws;
        std::optional<std::string> dataFolder;
        if (args.size() >= 2 && args[0] == "--data-folder") {
            dataFolder = args[1];
            args.erase(args.begin(), args.begin() + 2);
        } else if (!args.empty() && args[0] == "--data-folder") {
            throw UsageError(OptionNeedsValueMessage("--data-folder"));
        }
        ws.DataFolder =
            LookupDataFolder(dataFolder ? dataFolder : ReadInstallPathSetting(Settings::load()),
                             executableDir(argc > 0 ? argv[0] : nullptr));
        return dispatch(ws, args, out, err, data, pdf);
    } catch (const UsageError& e) {
        err << "pluvane-cli: " << e.what() << "\n\n" << kUsageText;
        return kUsage;
    } catch (const std::exception& e) {
        err << "pluvane-cli: " << e.what() << '\n';
        return kFailed;
    }
}

} // namespace pluvane::cli
