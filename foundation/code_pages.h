#pragma once
// The code pages behind STRING's tags, fixed so that a text has the same bytes and shows the
// same characters on every system, whatever code pages the system itself uses: csWINDOWS text
// is code page 1252, csOEM text code page 850, csUTF8 and csWIDE text UTF-8. The program's own
// tables; no system code page is asked. Texts cross to and from Windows as UTF-16 (toUtf16,
// fromUtf16).

#include <cstddef>
#include <string>
#include <string_view>

#include "foundation/string.h"

namespace vek {

// A byte of code page 1252 as Unicode (the five unassigned bytes give the C1 control of the same
// number, as Windows does), and back: the byte for a character, or -1 when the page lacks it.
char32_t windowsToUnicode(unsigned char byte);
int unicodeToWindows(char32_t c);

// The same for the OEM code page 850.
char32_t oemToUnicode(unsigned char byte);
int unicodeToOem(char32_t c);

// Converts length bytes from code page 850 to 1252 and back. Bytes below 0x80 stay; characters
// that the other code page lacks become '?'; from and to may be the same buffer.
void oemToAnsi(const char* from, char* to, std::size_t length);
void ansiToOem(const char* from, char* to, std::size_t length);

// Appends the UTF-8 form of c.
void appendUtf8(std::string& out, char32_t c);
// One step of decoding UTF-8 at bytes[i]: the character and its byte count in `used`. A byte
// that does not begin a well-formed sequence is taken alone, as a byte of code page 1252, and
// `invalid` is set.
char32_t decodeUtf8(const char* bytes, std::size_t length, std::size_t i, std::size_t& used, bool& invalid);

// The text in UTF-16, read in the code page its tag names (csUNKNOWN and csASCII as 1252).
std::u16string toUtf16(const STRING& text);
// A text that comes from Windows. Nothing is lost: when code page 1252 has every character the
// result is 1252 text (csASCII or csWINDOWS), as the program's own texts are; otherwise it is
// UTF-8 with the tag csWIDE. A lone surrogate becomes U+FFFD.
STRING fromUtf16(std::u16string_view text);

}  // namespace vek
