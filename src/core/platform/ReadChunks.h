#pragma once

#include "core/platform/Platform.h"

#include <cstddef>
#include <functional>
#include <string>

namespace pluvane::platform {

// Reads an open file for ReadRegularFile through `read` (the system's read of up to `size`
// bytes: the count read, 0 at the end, or -1 with the system's text in `reason`), so that the
// size cap and the statuses are kept in one place for both systems.
using ReadChunk =
    std::function<std::ptrdiff_t(char* buffer, std::size_t size, std::string& reason)>;
ReadResult ReadChunks(const ReadChunk& read, std::size_t maxBytes, bool prefixOnly);

} // namespace pluvane::platform
