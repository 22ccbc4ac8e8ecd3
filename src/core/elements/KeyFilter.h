#pragma once

namespace pluvane {

// The key filter of every numeric field: a digit, "." (any number of times), backspace (8) and
// tab (9) pass unchanged; any other key code comes back as 0, which tells the field to discard
// the key. Minus signs, exponents, commas, blanks, Enter and clipboard shortcuts are all
// discarded; what reaches the field is read later by the lenient parse ("1.2.3" reads 1.2).
char16_t ModKeyPress(char16_t code);

} // namespace pluvane
