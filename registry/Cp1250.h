// Code page 1250 (Central European), the program's 8-bit text inside the core.
#pragma once

#include <string>
#include <string_view>

namespace morvin::cp1250 {

char32_t toUnicode(unsigned char byte);
// The cp1250 byte for a code point, or -1 when it has none.
int fromUnicode(char32_t codePoint);

std::string toUtf8(std::string_view cp1250Text);
// Characters without a cp1250 byte become `replacement`.
std::string fromUtf8(std::string_view utf8Text, char replacement = '?');

// Case folding as the registry and the profile functions do it (Polish letters too).
unsigned char toUpper(unsigned char byte);
std::string toUpper(std::string_view text);
bool equalsIgnoreCase(std::string_view a, std::string_view b);
// <0, 0, >0 comparing upper-cased bytes.
int compareIgnoreCase(std::string_view a, std::string_view b);

}  // namespace morvin::cp1250
