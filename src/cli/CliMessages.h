#pragma once

#include <string>
#include <string_view>

namespace pluvane::cli {

// Every message of the command line, in one place, so that the wording can be read and kept
// consistent. They go to stderr after "pluvane-cli: ".

// Failures of a command (exit code 1).
inline std::string NoSuchLocationMessage(std::string_view name) {
    return "There is no rainfall location named \"" + std::string(name) + "\".";
}
inline constexpr std::string_view kFileNamesNoLocation =
    "The file names no location; give one with --name.";
inline std::string LocationExistsMessage(std::string_view name) {
    return "A location named \"" + std::string(name) +
           "\" exists already; add --replace to overwrite its values.";
}
inline std::string FileExistsMessage(std::string_view path) {
    return "The file \"" + std::string(path) + "\" exists already; add --force to replace it.";
}
inline std::string ProjectHasNoNodeMessage(std::string_view path) {
    return "The project \"" + std::string(path) +
           "\" has no node yet; finish its setup in Pluvane before solving.";
}
// Solving several projects at once (BatchSolve); each line goes after the project's name.
inline constexpr std::string_view kBatchProjectHasNoNode =
    "The project has no node yet; finish its setup in Pluvane before solving.";
inline std::string ProjectGivenTwiceMessage(std::string_view project, std::string_view first) {
    return "The project \"" + std::string(project) + "\" is given twice (as \"" +
           std::string(first) + "\").";
}
inline std::string OutputIsProjectMessage(std::string_view output, std::string_view project) {
    return "The output file \"" + std::string(output) + "\" is the project \"" +
           std::string(project) + "\"; choose another name. Nothing was written.";
}
inline std::string ReportFolderMessage(std::string_view folder) {
    return "With several projects the reports go to a folder, one file per project; \"" +
           std::string(folder) + "\" is not a folder.";
}
inline std::string ReportsCollideMessage(std::string_view first, std::string_view second,
                                         std::string_view report) {
    return "The projects \"" + std::string(first) + "\" and \"" + std::string(second) +
           "\" would both write \"" + std::string(report) + "\"; solve them in separate runs.";
}

// PDF output through the helper pluvane-pdf (PdfHelper).
inline constexpr std::string_view kPdfNeedsDesktopBuild =
    "PDF export needs the desktop build of pluvane-cli";
inline constexpr std::string_view kPdfHelperMissing =
    "PDF export needs the program pluvane-pdf beside pluvane-cli, and it is missing.";
inline constexpr std::string_view kPdfNoTemporaryFile =
    "The report could not be handed to the PDF writer: no temporary file.";
inline constexpr std::string_view kPdfTemporaryNotWritten =
    "The report could not be handed to the PDF writer: the temporary file could not be written.";
inline constexpr std::string_view kPdfHelperNotStarted =
    "The PDF writer pluvane-pdf could not be started.";
// When the helper failed without saying why.
inline constexpr std::string_view kPdfHelperFailed = "The PDF writer pluvane-pdf failed.";

// A wrong command line (exit code 2, followed by the usage text).
inline std::string OptionNeedsValueMessage(std::string_view option) {
    return std::string(option) + " needs a value";
}
inline std::string UnknownOptionMessage(std::string_view option) {
    return "unknown option " + std::string(option);
}
inline std::string OptionNotANumberMessage(std::string_view option, std::string_view text) {
    return std::string(option) + " needs a number, not \"" + std::string(text) + "\"";
}
inline std::string OptionNegativeMessage(std::string_view option) {
    return std::string(option) + " cannot be negative";
}
inline std::string OptionTwiceMessage(std::string_view option) {
    return std::string(option) + " given twice";
}
inline std::string OptionAboveOneMessage(std::string_view option) {
    return std::string(option) + " cannot be above 1";
}
inline std::string JobsNotACountMessage(std::string_view text) {
    return "--jobs needs a whole number from 1 to 256, not \"" + std::string(text) + "\"";
}
inline std::string PeakNeedsMessage(std::string_view option) {
    return "peak needs " + std::string(option);
}
inline std::string CommandNeedsMessage(std::string_view command, std::string_view option) {
    return std::string(command) + " needs " + std::string(option);
}
inline std::string OptionsOnlyMessage(std::string_view command) {
    return std::string(command) + " takes options only";
}
inline constexpr std::string_view kNewNeedsOneFile = "new needs one project file name";
inline constexpr std::string_view kPeakOptionsOnly = "peak takes options only";
inline constexpr std::string_view kSolveNeedsOneProject = "solve needs one project file";
inline constexpr std::string_view kSolveNeedsProjects = "solve needs one project file or more";
inline constexpr std::string_view kJsonOrCsv = "solve takes --json or --csv, not both";
inline constexpr std::string_view kOutNeedsFormat =
    "--out names the file of the --json or --csv results";
inline constexpr std::string_view kCheckNeedsOneProject = "check needs one project file";
inline constexpr std::string_view kImportNeedsOneFile = "locations import needs one CSV file";
inline constexpr std::string_view kExportNeedsOneName = "locations export needs one location name";
inline constexpr std::string_view kLocationsSubcommands =
    "locations takes list, show NAME, export NAME or import FILE.csv";
inline constexpr std::string_view kSetUsage =
    "set takes a project file, min-tc and the minutes or none (set site.rmt min-tc 10)";
inline constexpr std::string_view kRecomputeNeedsOneProject = "recompute needs one project file";
inline constexpr std::string_view kNoCommand = "no command given";
inline std::string UnknownCommandMessage(std::string_view command) {
    return "unknown command " + std::string(command);
}

} // namespace pluvane::cli
