#pragma once

#include <string_view>

namespace pluvane {

// Widths of text in the report's face, Liberation Sans (Arial's metrics), from the face's own
// advance widths: the printable ASCII and Latin-1 characters as the font has them, any other
// character as wide as the widest glyph of the face, so that a measure is never short. Italic
// takes the upright widths (the face's italics share them). Kerning is not applied; it only
// ever narrows these texts.

// The advance of one character (a code point) in twips at `points`.
double CharacterWidthTwips(char32_t character, double points, bool bold);

// The width of a UTF-8 text in twips at `points`; tabs and line ends count as nothing (the
// caller splits at them). Malformed bytes count as the widest glyph.
double TextWidthTwips(std::string_view utf8, double points, bool bold);

} // namespace pluvane
