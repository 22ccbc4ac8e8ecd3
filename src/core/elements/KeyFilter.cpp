#include "core/elements/KeyFilter.h"

namespace pluvane {

namespace {

constexpr char16_t kBackspace = 8;
constexpr char16_t kTab = 9;
constexpr char16_t kDiscard = 0;

} // namespace

char16_t ModKeyPress(char16_t code) {
    if (code == u'.' || code == kBackspace || code == kTab)
        return code;
    if (code < u'0' || code > u'9')
        return kDiscard;
    return code;
}

} // namespace pluvane
