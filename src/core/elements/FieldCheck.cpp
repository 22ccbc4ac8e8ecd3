#include "core/elements/FieldCheck.h"
#include "core/text/Text.h"

#include "core/Error.h"
#include "core/elements/ElementMessages.h"

#include <algorithm>

namespace pluvane {

bool IsPlainNumber(std::string_view text) {
    if (!text.empty() && text.front() == '-')
        text.remove_prefix(1);
    bool digit = false, point = false;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digit;
}

void CheckPlainNumber(const std::string& label, const std::string& text) {
    if (!IsPlainNumber(text))
        throw Error(FieldNotANumberMessage(label, text));
}

std::string MarkHandEdited(const std::string& provenance, const std::string& isoDate) {
    if (!ContainsIgnoreCase(provenance, "atlas"))
        return provenance;
    const std::string line = "edited by hand on " + isoDate;
    if (provenance.find(line) != std::string::npos)
        return provenance;
    std::string marked = provenance;
    while (!marked.empty() && (marked.back() == '\n' || marked.back() == '\r'))
        marked.pop_back();
    return marked + "\n" + line;
}

} // namespace pluvane
