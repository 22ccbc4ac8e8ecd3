#include "core/report/ResultsExport.h"

#include "core/ReturnPeriods.h"
#include "core/report/ReportNotes.h"
#include "core/review/ProjectReview.h"
#include "core/solve/SolveProject.h"
#include "core/text/Json.h"
#include "core/text/NumberText.h"
#include "core/text/Text.h"

#include <cmath>

namespace pluvane {

namespace {

// The engine's float as the shortest text that reads back as the same float.
std::string floatText(float value) { return std::isfinite(value) ? ShortestText(value) : ""; }

std::string doubleText(double value) {
    const std::string json = JsonNumber(value);
    return json == "null" ? "" : json;
}

std::string jsonOr(const std::string& text) { return text.empty() ? "null" : text; }

// C * Cf as the engine uses it: capped at 1.
double effectiveC(double C, std::int16_t period) { return MinOf(FrequencyFactor(period) * C, 1.0); }

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string reviewLines(const ProjectOutcome& outcome) {
    std::string lines;
    for (const Finding& finding : outcome.findings)
        lines += (lines.empty() ? "" : "\n") + FindingLine(finding);
    return lines;
}

} // namespace

ProjectOutcome DescribeOutcome(const std::string& path, const ProjectSolve& solve, bool review) {
    ProjectOutcome outcome;
    outcome.path = path;
    outcome.location = solve.location;
    if (solve.rainfall)
        outcome.source = solve.rainfall->provenance;
    outcome.inputs = solve.inputs;
    outcome.result = solve.result;
    outcome.design = DescribeDesign(solve);
    if (review)
        outcome.findings = ReviewSolve(solve);
    outcome.solved = solve.result.has_value();
    if (!outcome.solved)
        outcome.failure = SolveFailureLine(CellText(solve.failure));
    return outcome;
}

std::string ResultsJson(const std::vector<ProjectOutcome>& outcomes, bool review) {
    std::string json = "{\"projects\": [";
    for (std::size_t p = 0; p < outcomes.size(); ++p) {
        const ProjectOutcome& o = outcomes[p];
        const SolveInputs* in = o.inputs ? &*o.inputs : nullptr;
        const auto value = [in](double SolveInputs::*member) {
            return in ? JsonNumber(in->*member) : std::string("null");
        };
        json += p ? ",\n" : "\n";
        json += "{\"path\": " + JsonString(o.path) +
                ", \"solved\": " + (o.solved ? "true" : "false") +
                ", \"failure\": " + (o.solved ? "null" : JsonString(o.failure)) +
                ", \"location\": " + (o.location.empty() ? "null" : JsonString(o.location)) +
                ", \"source\": " + (o.source.empty() ? "null" : JsonString(o.source)) +
                ", \"A\": " + value(&SolveInputs::totalArea) +
                ", \"C\": " + value(&SolveInputs::averageC) +
                ", \"Tc\": {\"overland\": " + value(&SolveInputs::overlandTc) +
                ", \"shallow\": " + value(&SolveInputs::shallowTc) +
                ", \"channel\": " + value(&SolveInputs::channelTc) +
                ", \"total\": " + value(&SolveInputs::totalTc) + "}, \"periods\": [";
        if (o.result && in) {
            for (std::size_t k = 0; k < ReturnPeriods.size(); ++k) {
                json += k ? ", " : "";
                json += "{\"returnPeriod\": " + std::to_string(ReturnPeriods[k]) +
                        ", \"Cf\": " + JsonNumber(FrequencyFactor(ReturnPeriods[k])) +
                        ", \"CCf\": " + JsonNumber(effectiveC(in->averageC, ReturnPeriods[k])) +
                        ", \"I\": " + jsonOr(floatText(o.result->I[k])) +
                        ", \"Q\": " + jsonOr(floatText(o.result->Q[k])) + "}";
            }
        }
        json += "], \"design\": ";
        if (o.design) {
            const DesignBasis& d = *o.design;
            json += "{\"TcUsed\": " + JsonNumber(d.tcUsed) + ", \"minimumTc\": " +
                    (d.minimumTc ? JsonNumber(*d.minimumTc) : std::string("null")) +
                    ", \"minimumApplied\": " + (d.minimumApplied ? "true" : "false") +
                    ", \"intensityMethod\": " +
                    (d.intensityMethod.empty() ? "null" : JsonString(d.intensityMethod)) +
                    ", \"intensityMethodCode\": " +
                    (d.intensityMethodCode.empty() ? "null" : JsonString(d.intensityMethodCode)) +
                    ", \"P2\": " + (d.p2 ? JsonNumber(*d.p2) : std::string("null")) + "}";
        } else {
            json += "null";
        }
        if (review) {
            const std::string findings = FindingsJson(o.findings); // {"findings": [...]}
            json += ", \"review\": " + findings.substr(13, findings.size() - 14);
        }
        json += "}";
    }
    json += "\n]}\n";
    return json;
}

std::string ResultsCsv(const std::vector<ProjectOutcome>& outcomes, bool review) {
    std::string csv =
        "path,solved,failure,location,source,A,C,Tc_overland,Tc_shallow,Tc_channel,Tc_total,"
        "return_period,Cf,C_Cf,I,Q,Tc_used,minimum_Tc,intensity_method";
    csv += review ? ",review\r\n" : "\r\n";
    for (const ProjectOutcome& o : outcomes) {
        std::string head = csvField(o.path) + "," + (o.solved ? "true" : "false") + "," +
                           csvField(o.solved ? "" : o.failure) + "," + csvField(o.location) + "," +
                           csvField(o.source) + ",";
        if (o.inputs)
            head += doubleText(o.inputs->totalArea) + "," + doubleText(o.inputs->averageC) + "," +
                    doubleText(o.inputs->overlandTc) + "," + doubleText(o.inputs->shallowTc) + "," +
                    doubleText(o.inputs->channelTc) + "," + doubleText(o.inputs->totalTc) + ",";
        else
            head += ",,,,,,";
        std::string tail = ",,,";
        if (o.design)
            tail = "," + doubleText(o.design->tcUsed) + "," +
                   (o.design->minimumTc ? doubleText(*o.design->minimumTc) : std::string()) + "," +
                   csvField(o.design->intensityMethod);
        tail += review ? "," + csvField(reviewLines(o)) + "\r\n" : "\r\n";
        if (!o.result || !o.inputs) {
            csv += head + ",,,," + tail;
            continue;
        }
        for (std::size_t k = 0; k < ReturnPeriods.size(); ++k)
            csv += head + std::to_string(ReturnPeriods[k]) + "," +
                   doubleText(FrequencyFactor(ReturnPeriods[k])) + "," +
                   doubleText(effectiveC(o.inputs->averageC, ReturnPeriods[k])) + "," +
                   floatText(o.result->I[k]) + "," + floatText(o.result->Q[k]) + tail;
    }
    return csv;
}

} // namespace pluvane
