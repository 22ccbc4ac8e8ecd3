#pragma once

#include "core/Settings.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace pluvane {

// The five texts of the comment form, UTF-8, as the user typed them.
struct CommentFields {
    std::string os;          // TxtOs
    std::string bugName;     // txtBugName
    std::string description; // txtDesc
    std::string contact;     // txtContact
    std::string comments;    // txtComments
};

// Servers commonly refuse request lines much beyond 8 KiB; a longer URL is refused here,
// before anything is sent, so the user hears why.
constexpr std::size_t kMaxCommentUrlBytes = 8000;
// The request time-out when the settings name none.
constexpr double kDefaultCommentTimeoutSeconds = 500;

// Percent-encodes UTF-8 text for a query value: the RFC 3986 unreserved characters
// (A-Z a-z 0-9 - . _ ~) stay, every other byte becomes %XX (upper-case hex).
std::string PercentEncode(std::string_view text);

// The request URL: `endpoint` followed directly by ?os= &bn= &dsc= &con= &com=, each value
// percent-encoded. Throws Error, before anything is sent, when the URL would exceed
// kMaxCommentUrlBytes.
std::string BuildCommentUrl(const std::string& endpoint, const CommentFields& fields);

// The "CommentEndpoint" setting: a full http:// or https:// URL up to and including the
// script. None (no submission offered) when missing, blank or not an http(s) address.
std::optional<std::string> ReadCommentEndpoint(const Settings& settings);

// The "CommentTimeoutSeconds" setting, a positive number of seconds; 500 when missing or
// not a positive number.
double ReadCommentTimeoutSeconds(const Settings& settings);

} // namespace pluvane
