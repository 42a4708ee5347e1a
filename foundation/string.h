#pragma once
// vek::STRING: a handle to a shared, reference-counted text block with copy on write and a
// character-set tag. Use counts are plain integers: a block must not be shared
// between threads that change handles to it at the same time. The memory input stream over a
// STRING is in foundation/memory_stream.h.

#include <cstddef>
#include <cstdint>

namespace vek {

// Character-set tags of a STRING.
enum Charset : int {
    csUNKNOWN = 0,  // not yet classified
    csASCII = 1,    // 7-bit ASCII only
    csOEM = 2,      // 8-bit text in the OEM (DOS) code page
    csWINDOWS = 3,  // 8-bit text in the Windows code page
    csUTF8 = 4,     // UTF-8
    csWIDE = 5,     // characters beyond 8 bits, kept as UTF-8
};

class STRING {
public:
    STRING() = default;
    // A copy of the zero-terminated text, classified as csASCII or csWINDOWS.
    STRING(const char* text);  // NOLINT(google-explicit-constructor): texts convert freely
    // A copy of length bytes (which may hold zero bytes), classified as csASCII or csWINDOWS.
    STRING(const char* bytes, std::size_t length);
    STRING(const STRING& other) noexcept;
    STRING(STRING&& other) noexcept;
    STRING& operator=(const STRING& other) noexcept;
    STRING& operator=(STRING&& other) noexcept;
    ~STRING();

    std::size_t getLength() const;
    // The zero-terminated bytes; "" for the empty string.
    const char* getText() const;
    bool isEmpty() const { return getLength() == 0; }
    char operator[](std::size_t index) const { return getText()[index]; }

    // The tag; csASCII for a null handle.
    Charset getCharset() const;
    // Sets the tag without touching the bytes (for text built from OEM literals, say). On a null
    // handle it makes an empty block that keeps the tag for the text appended later.
    void setCharset(Charset charset);
    // Re-scans the bytes of a csUNKNOWN, csASCII, csWINDOWS or csUTF8 string and sets its tag:
    // 8-bit text gives csASCII or csWINDOWS; UTF-8 gives csASCII (all below 0x80), csWINDOWS
    // (characters up to 0xFF, other characters of the code page 1252 such as the euro sign, or
    // bytes that are not well-formed UTF-8) or csWIDE (any other character). csOEM and csWIDE stay.
    void classify();

    // Appending. Into a csUTF8 string, bytes of 0x80 and above of 8-bit text are encoded as
    // UTF-8; a csASCII string takes the tag of appended text with another non-zero tag.
    // In detail: a C text or character counts as Windows code page text when appended to an
    // ASCII or UTF-8 string (csUTF8 / csWIDE), and as bytes of the string's own code page when
    // appended to OEM or Windows text (so OEM literals can be appended to OEM text). A STRING of
    // another 8-bit tag is converted to this string's code page; UTF-8 appended to 8-bit text
    // turns this string into UTF-8 first (nothing is lost); csWIDE wins over csUTF8. A
    // csUNKNOWN string is classified first. On allocation failure the handle becomes null.
    STRING& append(char c, std::size_t times = 1);
    STRING& append(const char* text);
    STRING& append(const char* bytes, std::size_t length);
    STRING& append(const STRING& other);
    STRING& operator+=(const char* text) { return append(text); }
    STRING& operator+=(char c) { return append(c); }
    STRING& operator+=(const STRING& other) { return append(other); }

    STRING leftString(std::size_t n) const;
    STRING subString(std::size_t start, std::size_t n) const;
    // Index of the last occurrence of c, or -1.
    std::ptrdiff_t searchRChar(char c) const;
    // Removes leading and trailing white space.
    STRING& stripBlanks();

    // A copy in the given character set; the string itself when it already has that tag or
    // has csUNKNOWN or csASCII (or for a target of csUNKNOWN or csASCII, or between csUTF8 and
    // csWIDE). The code pages are fixed (code_pages.h): OEM is 850, Windows 1252, on every
    // system; characters the target lacks become '?' (bytes that are not well-formed UTF-8 are
    // kept as Windows bytes); OEM text passes through the Windows code page on its way to and
    // from UTF-8.
    STRING convertToCharset(Charset charset) const;

    // Collation order: < 0, 0 or > 0, the difference of the first differing weights (an empty
    // string is below every other one). When exactly one side is UTF-8 it is first converted to
    // the other's 8-bit code page. Equality is exact (every byte has its own weight).
    int compare(const STRING& other) const;
    int compare(const char* text) const;
    bool operator==(const STRING& other) const { return compare(other) == 0; }
    bool operator==(const char* text) const { return compare(text) == 0; }
    bool operator<(const STRING& other) const { return compare(other) < 0; }

    // Number conversions; errors raise the exceptions of the library with this text appended.
    // Unsigned 32-bit decimal: optional "+", then digits ("" after the sign gives 0).
    std::uint32_t toUnsigned() const;
    // Signed 32-bit in base 2 to 36, optional "+" or "-" ("" after the sign gives 0); letters
    // of either case are the digits above 9. A base outside 2 to 36 raises MathError
    // ("Invalid Number Base: N").
    std::int32_t toSigned(int base = 10) const;
    // Unsigned 8-bit decimal, as toUnsigned with overflow from 256 on.
    std::uint8_t toByte() const;
    // The number as decimal text.
    static STRING fromNumber(long long value);

    // The whole content of the file (any name, platform.h openFile), read in binary mode and classified (csASCII or
    // csWINDOWS); throws OpenReadError (also for a read error), leaving the string unchanged.
    // When memory runs out the string is left empty, as every failed allocation leaves it.
    void readFromFile(const STRING& fileName);

    // Shrinks or grows the text to exactly length bytes (new bytes are zero); for readers
    // that fill the bytes through getBuffer.
    void setLength(std::size_t length);
    // Writable bytes of an unshared block (copies a shared one first; makes an empty block for
    // a null handle); null when the allocation failed.
    char* getBuffer();

    // Internal, for tests of sharing and growth: the block's use count (0 for null) and capacity.
    int getUseCount() const;
    std::size_t getCapacity() const;

private:
    struct Block;

    // Makes the block unshared with room for length bytes (capacity rounded up to a multiple
    // of 32), keeping the text; on allocation failure the handle becomes null and null is returned.
    Block* prepareChange(std::size_t length);
    // Appends bytes taken as text of the given tag (csUNKNOWN: plain bytes of a C text).
    void appendTagged(const char* bytes, std::size_t length, Charset tag);
    // Appends bytes as they are, tag unchanged.
    void appendRaw(const char* bytes, std::size_t length);
    // Replaces the content by length bytes with the given tag.
    void assign(const char* bytes, std::size_t length, Charset tag);
    // The tag as the appending and comparing rules see it (csASCII for an empty string, and
    // 1 or 3 for unclassified text).
    Charset effectiveCharset() const;

    Block* block_ = nullptr;
};

STRING operator+(const STRING& left, const char* right);
STRING operator+(const STRING& left, char right);
STRING operator+(const STRING& left, const STRING& right);
STRING operator+(const char* left, const STRING& right);

// The collation weight of a byte (0 to 255, a permutation).
unsigned char collationWeight(unsigned char byte);

// Upper and lower case of a byte in the Windows code page 1252 (other bytes stay).
unsigned char toUpperCase(unsigned char byte);
unsigned char toLowerCase(unsigned char byte);

}  // namespace vek
