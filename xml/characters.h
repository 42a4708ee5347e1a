#pragma once
// Character classes and case folding shared by the reader and the parser.

#include <string_view>

#include "foundation/string.h"

namespace vek::xml {

// Blank, tab, line feed, vertical tab, form feed and carriage return. The non-breaking space is
// not white space here: "&nbsp;" must survive the stripping of a text.
bool isBlank(int c);

// The text without its leading and trailing white space.
std::string_view stripBlanks(std::string_view text);

// Compares two names ignoring case. 8-bit names fold ASCII and the Latin-1 letters; in UTF-8
// names only ASCII letters are folded, since folding single bytes of a multi-byte sequence
// would compare unrelated characters as equal.
bool equalsIgnoringCase(const STRING& left, const STRING& right, bool utf8);

// A name or value as error messages quote it: its first 64 bytes, followed by "..." when it is
// longer, so that no message grows with the input.
STRING excerpt(const STRING& text);

}  // namespace vek::xml
