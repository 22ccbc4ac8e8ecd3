#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace pluvane {

// The one way the program replaces a file: the new content goes to a temporary file of a
// unique name in the target's folder (so two writers never share it, and the rename stays on
// one file system), which is renamed over the target only when it is complete. A failure at
// any point removes the temporary file and leaves the target as it was.
//
// `fill` receives the temporary path (an empty file that exists already) and writes the
// content there; it reports failure by throwing. `what` names the target in messages
// ("The file", "The project", "The settings file").
void ReplaceFileAtomically(const std::string& path,
                           const std::function<void(const std::string& temp)>& fill,
                           const std::string& what = "The file");

// ReplaceFileAtomically with bytes already in memory.
void WriteFileAtomically(const std::string& path, std::string_view bytes,
                         const std::string& what = "The file");

// A new, empty file of a unique name beside `path` (".name.XXXXXX.tmp"); throws Error naming
// `path` when the folder does not take it.
std::string CreateSiblingTempFile(const std::string& path, const std::string& what = "The file");

} // namespace pluvane
