#include "core/hydraulics/OutletConveyance.h"

#include "core/Error.h"
#include "core/ReturnPeriods.h"
#include "core/elements/FieldCheck.h"
#include "core/hydraulics/HydraulicsMessages.h"
#include "core/solve/SolveEngine.h"
#include "core/store/Database.h"
#include "core/store/ProjectDb.h"
#include "core/text/Json.h"
#include "core/text/NumberText.h"
#include "core/text/Text.h"

#include <algorithm>

namespace pluvane {

namespace {

const std::string kTable(kConveyanceTable);

std::string bool_text(bool value) { return value ? "True" : "False"; }

std::vector<std::string> cellsOf(const ConveyanceFields& f) {
    return {f.kind,     f.material,    f.n,         f.slope,          bool_text(f.sizeIt),
            f.diameter, f.bottomWidth, f.sideSlope, f.availableDepth, f.designPeriod,
            f.length};
}

std::string createSql() {
    std::string sql = "CREATE TABLE IF NOT EXISTS " + kTable + " (";
    for (std::size_t i = 0; i < std::size(kConveyanceColumns); ++i)
        sql += (i ? ", " : "") + std::string(kConveyanceColumns[i]) + " TEXT";
    return sql + ")";
}

// A field that must hold a number; `what` names it in the message.
double number(std::string_view what, const std::string& text) {
    const std::string value = Trim(text);
    if (!IsPlainNumber(value))
        throw Error(NotANumberMessage(what, value));
    return ParseLenient(value);
}

std::optional<double> optionalNumber(std::string_view what, const std::string& text) {
    if (Trim(text).empty())
        return std::nullopt;
    return number(what, text);
}

std::string jsonOptional(const std::optional<double>& value) {
    return value ? JsonNumber(*value) : "null";
}

std::string cell(const std::optional<double>& value) {
    return value ? PlainNumberText(*value) : "";
}

} // namespace

std::optional<ConveyanceFields> LoadOutletConveyance(const Workspace& ws) {
    Database db = OpenProjectDb(ws);
    std::optional<ConveyanceFields> out;
    if (db.hasTable(kTable)) {
        Statement query = db.prepare("SELECT * FROM " + kTable + " ORDER BY rowid LIMIT 1");
        std::vector<Record> rows = readAll(query);
        if (!rows.empty()) {
            const Record& r = rows.front();
            ConveyanceFields f;
            f.kind = r.text("ConveyanceKind");
            f.material = r.text("ConveyanceMaterial");
            f.n = r.text("ConveyanceN");
            f.slope = r.text("ConveyanceSlope");
            f.sizeIt = EqualsIgnoreCase(r.text("PipeSizeIt"), "True");
            f.diameter = r.text("PipeDiameter");
            f.bottomWidth = r.text("ChannelBottom");
            f.sideSlope = r.text("ChannelSide");
            f.availableDepth = r.text("ChannelDepth");
            f.designPeriod = r.text("DesignPeriod");
            f.length = r.text("ConveyanceLength");
            out = std::move(f);
        }
    }
    CloseDb(db);
    return out;
}

void SaveOutletConveyance(const Workspace& ws, const ConveyanceFields& fields) {
    Database db = OpenProjectDb(ws);
    Transaction transaction(db);
    db.exec(createSql());
    db.exec("DELETE FROM " + kTable);
    std::string names, marks;
    for (std::string_view column : kConveyanceColumns) {
        names += (names.empty() ? "" : ", ") + std::string(column);
        marks += marks.empty() ? "?" : ", ?";
    }
    Statement insert =
        db.prepare("INSERT INTO " + kTable + " (" + names + ") VALUES (" + marks + ")");
    int index = 0;
    for (const std::string& value : cellsOf(fields))
        insert.bind(++index, value);
    insert.run();
    transaction.commit();
    CloseDb(db);
}

void RemoveOutletConveyance(const Workspace& ws) {
    Database db = OpenProjectDb(ws);
    if (db.hasTable(kTable))
        db.exec("DELETE FROM " + kTable);
    CloseDb(db);
}

std::int16_t DesignPeriodOf(const ConveyanceFields& fields) {
    const std::string text = Trim(fields.designPeriod);
    if (IsPlainNumber(text)) {
        const double value = ParseLenient(text);
        for (std::int16_t period : ReturnPeriods)
            if (value == period)
                return period;
    }
    throw Error(UnknownDesignPeriodMessage(text));
}

std::optional<double> StoredDesignFlow(const Workspace& ws, std::int16_t period) {
    Database db = OpenProjectDb(ws);
    std::optional<double> q;
    if (db.hasTable("TblResults")) {
        Statement query = db.prepare("SELECT * FROM TblResults ORDER BY rowid LIMIT 1");
        std::vector<Record> rows = readAll(query);
        if (!rows.empty()) {
            const std::string text = Trim(rows.front().text("Qpeak_" + std::to_string(period)));
            if (!text.empty())
                q = ParseLenient(text);
        }
    }
    CloseDb(db);
    return q;
}

std::optional<double> DesignFlowOf(const std::optional<SolveResult>& solve, std::int16_t period) {
    if (!solve)
        return std::nullopt;
    const auto at = std::find(ReturnPeriods.begin(), ReturnPeriods.end(), period);
    if (at == ReturnPeriods.end())
        return std::nullopt;
    return solve->Q[static_cast<std::size_t>(at - ReturnPeriods.begin())];
}

ConveyanceOutcome EvaluateConveyance(const ConveyanceFields& f, std::optional<double> designQ) {
    ConveyanceOutcome out;
    out.designQ = designQ;
    try {
        DesignPeriodOf(f);
    } catch (const Error& e) {
        out.failure = e.what();
        return out;
    }
    if (!designQ) {
        out.failure = std::string(kSolveFirst);
        return out;
    }
    try {
        const double n = number("Manning's n", f.n);
        const double slope = number("slope", f.slope);
        const std::optional<double> length = optionalNumber("length", f.length);
        double velocity = 0.0;
        if (f.kind == kKindPipe) {
            const std::optional<double> diameter =
                f.sizeIt ? std::nullopt : std::optional(number("pipe diameter", f.diameter));
            if (f.sizeIt)
                out.noStandardSize = !SizePipe(*designQ, slope, n);
            out.pipe = AnalyzePipe(*designQ, slope, n, diameter);
            velocity = out.pipe->velocityFps;
        } else if (f.kind == kKindChannel) {
            out.channel = AnalyzeChannel(*designQ, slope, n, number("bottom width", f.bottomWidth),
                                         number("side slope", f.sideSlope),
                                         optionalNumber("available depth", f.availableDepth));
            velocity = out.channel->velocityFps;
        } else {
            throw Error(UnknownConveyanceKindMessage(f.kind));
        }
        if (length)
            out.travelMinutes = TravelTimeMinutes(*length, velocity);
    } catch (const Error& e) {
        out.pipe.reset();
        out.channel.reset();
        out.travelMinutes.reset();
        out.failure = e.what();
    }
    return out;
}

ConveyanceOutcome EvaluateForSolve(const ConveyanceFields& fields,
                                   const std::optional<SolveResult>& solve) {
    std::optional<double> q;
    try {
        q = DesignFlowOf(solve, DesignPeriodOf(fields));
    } catch (const Error&) {
        // EvaluateConveyance names the design period that is not one of the seven.
    }
    return EvaluateConveyance(fields, q);
}

std::vector<std::pair<std::string, std::string>> ConveyanceResultLines(const ConveyanceOutcome& o) {
    std::vector<std::pair<std::string, std::string>> lines;
    const auto fixed = [](double value, int decimals) { return FormatFixed(value, decimals); };
    if (const auto& p = o.pipe) {
        lines.emplace_back("Diameter (in)",
                           PlainNumberText(p->diameterIn) +
                               (p->sized ? " (smallest standard size flowing full)" : ""));
        lines.emplace_back("Full flow (cfs)", fixed(p->fullFlowCfs, 2) + " at " +
                                                  fixed(p->fullVelocityFps, 2) + " ft/s");
        if (p->overCapacity) {
            lines.emplace_back("Normal depth (ft)", "none: " + std::string(kPipeOverCapacity) +
                                                        " (" + fixed(p->maxFlowCfs, 2) + " cfs)");
            lines.emplace_back("Velocity (ft/s)", fixed(p->velocityFps, 2) + " flowing full");
        } else {
            lines.emplace_back("Normal depth (ft)", fixed(*p->depthFt, 2) + " (" +
                                                        fixed(*p->percentFull, 1) + " % full)");
            lines.emplace_back("Velocity (ft/s)", fixed(p->velocityFps, 2));
        }
    } else if (const auto& c = o.channel) {
        lines.emplace_back("Normal depth (ft)", fixed(c->normalDepthFt, 2));
        lines.emplace_back("Velocity (ft/s)", fixed(c->velocityFps, 2));
        if (c->capacityCfs)
            lines.emplace_back("Capacity (cfs)",
                               fixed(*c->capacityCfs, 2) + " at the available depth");
    } else {
        lines.emplace_back("Results", o.failure);
    }
    if (o.travelMinutes)
        lines.emplace_back("Travel time (min)", fixed(*o.travelMinutes, 2));
    return lines;
}

std::string PipeResultJson(const PipeResult& p) {
    return "{\"diameterIn\": " + JsonNumber(p.diameterIn) +
           ", \"sized\": " + (p.sized ? "true" : "false") +
           ", \"fullFlowCfs\": " + JsonNumber(p.fullFlowCfs) +
           ", \"fullVelocityFps\": " + JsonNumber(p.fullVelocityFps) +
           ", \"depthFt\": " + jsonOptional(p.depthFt) +
           ", \"velocityFps\": " + JsonNumber(p.velocityFps) +
           ", \"percentFull\": " + jsonOptional(p.percentFull) +
           ", \"overCapacity\": " + (p.overCapacity ? "true" : "false") + "}";
}

std::string ChannelResultJson(const ChannelResult& c) {
    std::string json = "{\"normalDepthFt\": " + JsonNumber(c.normalDepthFt) +
                       ", \"velocityFps\": " + JsonNumber(c.velocityFps);
    if (c.capacityCfs)
        json += ", \"capacityCfs\": " + JsonNumber(*c.capacityCfs);
    return json + "}";
}

std::string ConveyanceJson(const std::optional<ConveyanceFields>& fields,
                           const ConveyanceOutcome& outcome) {
    if (!fields)
        return "null";
    std::string json =
        "{\"kind\": " + JsonString(fields->kind) +
        ", \"designPeriod\": " + JsonString(Trim(fields->designPeriod)) +
        ", \"designQCfs\": " + jsonOptional(outcome.designQ) +
        ", \"travelMinutes\": " + jsonOptional(outcome.travelMinutes) +
        ", \"failure\": " + (outcome.failure.empty() ? "null" : JsonString(outcome.failure));
    std::string result = outcome.pipe      ? PipeResultJson(*outcome.pipe)
                         : outcome.channel ? ChannelResultJson(*outcome.channel)
                                           : "";
    if (!result.empty()) // the result's keys join the object's
        json += ", " + result.substr(1, result.size() - 2);
    return json + "}";
}

std::vector<std::string> ConveyanceCsvHeader() {
    return {"conveyanceKind",        "conveyanceDesignPeriod",  "conveyanceDesignQCfs",
            "conveyanceDiameterIn",  "conveyanceFullFlowCfs",   "conveyanceDepthFt",
            "conveyanceVelocityFps", "conveyancePercentFull",   "conveyanceOverCapacity",
            "conveyanceCapacityCfs", "conveyanceTravelMinutes", "conveyanceFailure"};
}

std::vector<std::string> ConveyanceCsvCells(const std::optional<ConveyanceFields>& fields,
                                            const ConveyanceOutcome& o) {
    if (!fields)
        return std::vector<std::string>(ConveyanceCsvHeader().size());
    const PipeResult* p = o.pipe ? &*o.pipe : nullptr;
    const ChannelResult* c = o.channel ? &*o.channel : nullptr;
    return {fields->kind,
            Trim(fields->designPeriod),
            cell(o.designQ),
            p ? PlainNumberText(p->diameterIn) : "",
            p ? PlainNumberText(p->fullFlowCfs) : "",
            p   ? cell(p->depthFt)
            : c ? PlainNumberText(c->normalDepthFt)
                : "",
            p   ? PlainNumberText(p->velocityFps)
            : c ? PlainNumberText(c->velocityFps)
                : "",
            p ? cell(p->percentFull) : "",
            p ? (p->overCapacity ? "true" : "false") : "",
            c ? cell(c->capacityCfs) : "",
            cell(o.travelMinutes),
            o.failure};
}

} // namespace pluvane
