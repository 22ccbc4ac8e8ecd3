#include "text/Text.h"

namespace pluvane {

std::string CellText(std::string_view text) {
    std::string cell(text);
    for (char& c : cell)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = ' ';
    return cell;
}

} // namespace pluvane
