#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pluvane {

// Every message of sending a comment, in one place, so that the wording can be read and kept
// consistent. Shown with the title "Error".

inline std::string CommentTooLongMessage(std::size_t urlBytes, std::size_t maxBytes) {
    return "The texts are too long to send: the request address would be " +
           std::to_string(urlBytes) + " characters long, and comment servers accept at most " +
           std::to_string(maxBytes) + ". Please shorten the description or the comments.";
}
// `settingsPath` is the settings file where CommentEndpoint is looked up.
inline std::string NoCommentServerMessage(std::string_view settingsPath) {
    return "No comment server is set up. Name its address (http:// or https://) as "
           "CommentEndpoint in the settings file \"" +
           std::string(settingsPath) + "\".";
}

} // namespace pluvane
