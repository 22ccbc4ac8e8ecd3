#include "core/settings/DesignSettings.h"

#include "core/Error.h"
#include "core/settings/SettingsMessages.h"
#include "core/store/ProjectDb.h"
#include "core/text/NumberText.h"
#include "core/text/Text.h"

#include <charconv>
#include <cmath>

namespace pluvane {

namespace {

const std::string kTable(kDesignSettingsTable);

std::optional<double> positiveNumber(std::string_view text) {
    const std::string trimmed = Trim(text);
    double value = 0.0;
    const char* end = trimmed.data() + trimmed.size();
    const auto parsed = std::from_chars(trimmed.data(), end, value);
    if (trimmed.empty() || parsed.ec != std::errc() || parsed.ptr != end || !std::isfinite(value) ||
        !(value > 0.0))
        return std::nullopt;
    return value;
}

} // namespace

std::optional<double> LoadMinimumTc(const Workspace& ws) {
    Database db = OpenProjectDb(ws);
    if (!db.hasTable(kTable))
        return std::nullopt;
    Statement q = db.prepare("SELECT MinimumTc FROM " + kTable + " ORDER BY rowid LIMIT 1");
    return q.step() ? positiveNumber(q.text(0).value_or("")) : std::nullopt;
}

void SaveMinimumTc(const Workspace& ws, std::optional<double> minutes) {
    Database db = OpenProjectDb(ws);
    Transaction transaction(db);
    db.exec("CREATE TABLE IF NOT EXISTS " + kTable + " (MinimumTc TEXT)");
    db.exec("DELETE FROM " + kTable);
    db.prepare("INSERT INTO " + kTable + " (MinimumTc) VALUES (?)")
        .bind(1, minutes ? PlainNumberText(*minutes) : std::string())
        .run();
    transaction.commit();
    CloseDb(db);
}

std::optional<double> ParseMinimumTc(std::string_view text) {
    const std::string trimmed = Trim(text);
    if (trimmed.empty() || EqualsIgnoreCase(trimmed, "none"))
        return std::nullopt;
    if (const std::optional<double> value = positiveNumber(trimmed))
        return value;
    throw Error(MinimumTcNotANumberMessage(text));
}

std::string MinimumTcText(std::optional<double> minutes) {
    return minutes ? PlainNumberText(*minutes) : std::string("none");
}

} // namespace pluvane
