#include "core/comments/CommentRequest.h"
#include "core/text/Text.h"

#include "core/Error.h"
#include "core/comments/CommentMessages.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace pluvane {

namespace {

bool isUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

// More than the prefix: a bare "http://" names no server.
bool startsWithNoCase(const std::string& text, std::string_view prefix) {
    return text.size() > prefix.size() && StartsWithIgnoreCase(text, prefix);
}

} // namespace

std::string PercentEncode(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(text.size());
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (isUnreserved(c)) {
            encoded += ch;
        } else {
            encoded += '%';
            encoded += kHex[c >> 4];
            encoded += kHex[c & 0x0F];
        }
    }
    return encoded;
}

std::string BuildCommentUrl(const std::string& endpoint, const CommentFields& fields) {
    std::string url = endpoint;
    url += "?os=" + PercentEncode(fields.os);
    url += "&bn=" + PercentEncode(fields.bugName);
    url += "&dsc=" + PercentEncode(fields.description);
    url += "&con=" + PercentEncode(fields.contact);
    url += "&com=" + PercentEncode(fields.comments);
    if (url.size() > kMaxCommentUrlBytes)
        // Encoding makes a blank or a sign take three characters and an accented letter six.
        throw Error(CommentTooLongMessage(url.size(), kMaxCommentUrlBytes));
    return url;
}

std::optional<std::string> ReadCommentEndpoint(const Settings& settings) {
    const std::optional<std::string> value = settings.value("CommentEndpoint");
    if (!value)
        return std::nullopt;
    std::string endpoint = Trim(*value, " \t");
    if (!startsWithNoCase(endpoint, "http://") && !startsWithNoCase(endpoint, "https://"))
        return std::nullopt;
    return endpoint;
}

double ReadCommentTimeoutSeconds(const Settings& settings) {
    const std::optional<std::string> value = settings.value("CommentTimeoutSeconds");
    if (!value)
        return kDefaultCommentTimeoutSeconds;
    const std::string text = Trim(*value, " \t");
    double seconds = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(seconds) ||
        seconds <= 0)
        return kDefaultCommentTimeoutSeconds;
    return seconds;
}

} // namespace pluvane
