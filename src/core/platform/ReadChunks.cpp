#include "core/platform/ReadChunks.h"

#include <algorithm>

namespace pluvane::platform {

ReadResult ReadChunks(const ReadChunk& read, std::size_t maxBytes, bool prefixOnly) {
    ReadResult result;
    char buffer[65536];
    for (;;) {
        const std::size_t wanted =
            prefixOnly ? std::min(sizeof buffer, maxBytes - result.bytes.size()) : sizeof buffer;
        if (wanted == 0)
            break;
        const std::ptrdiff_t n = read(buffer, wanted, result.reason);
        if (n < 0) {
            result.bytes.clear();
            result.status = ReadStatus::Failed;
            return result;
        }
        if (n == 0)
            break;
        result.bytes.append(buffer, static_cast<std::size_t>(n));
        if (result.bytes.size() > maxBytes) {
            result.bytes.clear();
            result.status = ReadStatus::TooLarge;
            return result;
        }
    }
    result.status = ReadStatus::Ok;
    return result;
}

} // namespace pluvane::platform
