// vek::STRING: the shared text block, copy on write, character-set tags, collation and the
// number conversions.
#include "foundation/string.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <utility>

#include "foundation/exceptions.h"
#include "foundation/code_pages.h"
#include "foundation/platform.h"

namespace vek {

// The block: a header of 40 bytes (on 64-bit systems) followed by capacity + 1 bytes of text.
// Allocated with malloc as one piece, so that growing an unshared block can use realloc.
struct STRING::Block {
    int useCount;
    std::size_t capacity;
    std::size_t length;
    std::size_t reservedMinimum;
    int charset;

    char* text() { return reinterpret_cast<char*>(this + 1); }

    static constexpr std::size_t kMaxCapacity = static_cast<std::size_t>(PTRDIFF_MAX) / 2;

    // A requested size rounded up to the next multiple of 32.
    static std::size_t roundUp(std::size_t n) { return n > kMaxCapacity ? n : (n + 31) / 32 * 32; }

    // An unshared empty block of that exact capacity, or null.
    static Block* allocate(std::size_t capacity) {
        if (capacity > kMaxCapacity)
            return nullptr;
        void* memory = std::malloc(sizeof(Block) + capacity + 1);
        if (memory == nullptr)
            return nullptr;
        Block* block = new (memory) Block{1, capacity, 0, 0, csUNKNOWN};
        block->text()[0] = '\0';
        return block;
    }

    // Changes the capacity of an unshared block; null (the block freed) when that fails.
    static Block* reallocate(Block* block, std::size_t capacity) {
        void* memory = capacity > kMaxCapacity ? nullptr : std::realloc(block, sizeof(Block) + capacity + 1);
        if (memory == nullptr) {
            std::free(block);
            return nullptr;
        }
        block = static_cast<Block*>(memory);
        block->capacity = capacity;
        return block;
    }

    static void release(Block* block) {
        if (block != nullptr && --block->useCount == 0)
            std::free(block);
    }
};

namespace {

bool isUtf8(int tag) { return tag == csUTF8 || tag == csWIDE; }

bool isBlank(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

std::string windowsToUtf8(const char* bytes, std::size_t length) {
    std::string out;
    out.reserve(length + length / 4);
    for (std::size_t i = 0; i < length; ++i)
        appendUtf8(out, windowsToUnicode(static_cast<unsigned char>(bytes[i])));
    return out;
}

// UTF-8 decoded to the Windows code page; characters it lacks become '?'.
std::string utf8ToWindows(const char* bytes, std::size_t length) {
    std::string out;
    out.reserve(length);
    for (std::size_t i = 0; i < length;) {
        std::size_t used = 1;
        bool invalid = false;
        const char32_t c = decodeUtf8(bytes, length, i, used, invalid);
        if (invalid) {
            out += bytes[i];
        } else {
            const int byte = unicodeToWindows(c);
            out += byte < 0 ? '?' : static_cast<char>(byte);
        }
        i += used;
    }
    return out;
}

bool hasHighBytes(const char* bytes, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i)
        if (static_cast<unsigned char>(bytes[i]) >= 0x80)
            return true;
    return false;
}

Charset classifyBytes(const char* bytes, std::size_t length) {
    return hasHighBytes(bytes, length) ? csWINDOWS : csASCII;
}

// Classification of UTF-8: all below 0x80 gives 1, any of 0x80 to 0xFF (or another character
// of the Windows code page, such as the euro sign, or a byte that is not well-formed UTF-8)
// gives 3, any other character above 0xFF gives 5.
Charset classifyUtf8(const char* bytes, std::size_t length) {
    Charset result = csASCII;
    for (std::size_t i = 0; i < length;) {
        std::size_t used = 1;
        bool invalid = false;
        const char32_t c = decodeUtf8(bytes, length, i, used, invalid);
        if (!invalid && c > 0xFF && unicodeToWindows(c) < 0)
            return csWIDE;
        if (invalid || c >= 0x80)
            result = csWINDOWS;
        i += used;
    }
    return result;
}

// The collation table: weights for the bytes, built from the collation order (digits, letters
// each followed by its accented forms, punctuation, symbols, white space, control characters).
struct Collation {
    std::array<unsigned char, 256> weight{};

    constexpr Collation() {
        std::array<bool, 256> placed{};
        int next = 0;
        auto put = [&](unsigned char byte) {
            if (!placed[byte]) {
                placed[byte] = true;
                weight[byte] = static_cast<unsigned char>(next++);
            }
        };
        put(0);
        for (int c = '0'; c <= '9'; ++c)
            put(static_cast<unsigned char>(c));
        // Each letter followed by its accented forms in the Windows code page.
        const char* const upper[26] = {
            "A\xC0\xC1\xC2\xC3\xC4\xC5\xC6", "B", "C\xC7", "D\xD0", "E\xC8\xC9\xCA\xCB", "F", "G", "H",
            "I\xCC\xCD\xCE\xCF", "J", "K", "L", "M", "N\xD1", "O\xD2\xD3\xD4\xD5\xD6\xD8\x8C", "P", "Q",
            "R", "S\x8A", "T\xDE", "U\xD9\xDA\xDB\xDC", "V", "W", "X", "Y\xDD\x9F", "Z\x8E",
        };
        const char* const lower[26] = {
            "a\xE0\xE1\xE2\xE3\xE4\xE5\xE6", "b", "c\xE7", "d\xF0", "e\xE8\xE9\xEA\xEB", "f", "g", "h",
            "i\xEC\xED\xEE\xEF", "j", "k", "l", "m", "n\xF1", "o\xF2\xF3\xF4\xF5\xF6\xF8\x9C", "p", "q",
            "r", "s\xDF\x9A", "t\xFE", "u\xF9\xFA\xFB\xFC", "v", "w", "x", "y\xFD\xFF", "z\x9E",
        };
        for (const char* const* group : {upper, lower})
            for (int letter = 0; letter < 26; ++letter)
                for (const char* p = group[letter]; *p != '\0'; ++p)
                    put(static_cast<unsigned char>(*p));
        // Punctuation of ASCII in byte order.
        for (int c = 0x21; c < 0x7F; ++c)
            put(static_cast<unsigned char>(c));
        // Other symbols of the Windows code page in byte order (not its unassigned bytes).
        const unsigned char unassigned[5] = {0x81, 0x8D, 0x8F, 0x90, 0x9D};
        for (int c = 0x80; c < 0x100; ++c) {
            bool skip = c == 0xA0;
            for (unsigned char u : unassigned)
                skip = skip || c == u;
            if (!skip)
                put(static_cast<unsigned char>(c));
        }
        // White space, then the other control characters.
        for (unsigned char c : {0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x20, 0xA0})
            put(c);
        for (int c = 1; c < 0x100; ++c)
            put(static_cast<unsigned char>(c));
    }
};

constexpr Collation kCollation;

int compareBytes(const char* a, std::size_t la, const char* b, std::size_t lb) {
    const std::size_t n = la < lb ? la : lb;
    for (std::size_t i = 0; i < n; ++i) {
        const int wa = kCollation.weight[static_cast<unsigned char>(a[i])];
        const int wb = kCollation.weight[static_cast<unsigned char>(b[i])];
        if (wa != wb)
            return wa - wb;
    }
    if (la == lb)
        return 0;
    // The shorter one ends with its zero byte, the lowest weight.
    if (la < lb) {
        const int w = kCollation.weight[static_cast<unsigned char>(b[n])];
        return w != 0 ? -w : -1;
    }
    const int w = kCollation.weight[static_cast<unsigned char>(a[n])];
    return w != 0 ? w : 1;
}

}  // namespace

unsigned char collationWeight(unsigned char byte) { return kCollation.weight[byte]; }

unsigned char toUpperCase(unsigned char byte) {
    if (byte >= 'a' && byte <= 'z')
        return static_cast<unsigned char>(byte - 0x20);
    if (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7)
        return static_cast<unsigned char>(byte - 0x20);
    switch (byte) {
        case 0x9A: return 0x8A;  // š
        case 0x9C: return 0x8C;  // œ
        case 0x9E: return 0x8E;  // ž
        case 0xFF: return 0x9F;  // ÿ
        default: return byte;
    }
}

unsigned char toLowerCase(unsigned char byte) {
    if (byte >= 'A' && byte <= 'Z')
        return static_cast<unsigned char>(byte + 0x20);
    if (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7)
        return static_cast<unsigned char>(byte + 0x20);
    switch (byte) {
        case 0x8A: return 0x9A;
        case 0x8C: return 0x9C;
        case 0x8E: return 0x9E;
        case 0x9F: return 0xFF;
        default: return byte;
    }
}

// ---------------------------------------------------------------------------------------------
// Construction, copying, the block

STRING::STRING(const char* text) {
    if (text != nullptr) {
        const std::size_t length = std::strlen(text);
        assign(text, length, classifyBytes(text, length));
    }
}

STRING::STRING(const char* bytes, std::size_t length) {
    if (bytes != nullptr)
        assign(bytes, length, classifyBytes(bytes, length));
}

STRING::STRING(const STRING& other) noexcept : block_(other.block_) {
    if (block_ != nullptr)
        ++block_->useCount;
}

STRING::STRING(STRING&& other) noexcept : block_(std::exchange(other.block_, nullptr)) {}

STRING& STRING::operator=(const STRING& other) noexcept {
    if (other.block_ != nullptr)
        ++other.block_->useCount;
    Block::release(block_);
    block_ = other.block_;
    return *this;
}

STRING& STRING::operator=(STRING&& other) noexcept {
    if (this != &other) {
        Block::release(block_);
        block_ = std::exchange(other.block_, nullptr);
    }
    return *this;
}

STRING::~STRING() { Block::release(block_); }

std::size_t STRING::getLength() const { return block_ != nullptr ? block_->length : 0; }

const char* STRING::getText() const { return block_ != nullptr ? block_->text() : ""; }

int STRING::getUseCount() const {
    static_assert(sizeof(void*) != 8 || sizeof(Block) == 40, "the block header is 40 bytes on 64-bit systems");
    return block_ != nullptr ? block_->useCount : 0;
}

std::size_t STRING::getCapacity() const { return block_ != nullptr ? block_->capacity : 0; }

void STRING::assign(const char* bytes, std::size_t length, Charset tag) {
    Block* fresh = nullptr;
    if (length > 0) {
        fresh = Block::allocate(Block::roundUp(length));
        if (fresh != nullptr) {
            std::memcpy(fresh->text(), bytes, length);
            fresh->text()[length] = '\0';
            fresh->length = length;
            fresh->charset = tag;
        }
    }
    Block::release(block_);
    block_ = fresh;
}

STRING::Block* STRING::prepareChange(std::size_t length) {
    if (block_ != nullptr && block_->useCount == 1) {
        if (length > block_->capacity)
            block_ = Block::reallocate(block_, Block::roundUp(length));
        return block_;
    }
    const std::size_t kept = getLength();
    Block* fresh = Block::allocate(Block::roundUp(length > kept ? length : kept));
    if (fresh == nullptr) {
        Block::release(block_);
        block_ = nullptr;
        return nullptr;
    }
    if (block_ != nullptr) {
        std::memcpy(fresh->text(), block_->text(), kept + 1);
        fresh->length = kept;
        fresh->charset = block_->charset;
        fresh->reservedMinimum = block_->reservedMinimum;
        Block::release(block_);
    } else {
        fresh->charset = csASCII;
    }
    block_ = fresh;
    return fresh;
}

char* STRING::getBuffer() {
    Block* block = prepareChange(getLength());
    return block != nullptr ? block->text() : nullptr;
}

void STRING::setLength(std::size_t length) {
    if (block_ == nullptr && length == 0)
        return;
    Block* block = prepareChange(length);
    if (block == nullptr)
        return;
    if (length > block->length)
        std::memset(block->text() + block->length, 0, length - block->length);
    block->length = length;
    block->text()[length] = '\0';
    // Shrink, unless the rounded size equals the capacity or is below the reserved minimum.
    const std::size_t rounded = Block::roundUp(length);
    if (rounded < block->capacity && rounded >= block->reservedMinimum) {
        void* memory = std::realloc(block, sizeof(Block) + rounded + 1);
        if (memory != nullptr) {
            block_ = static_cast<Block*>(memory);
            block_->capacity = rounded;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Character sets

Charset STRING::getCharset() const { return block_ != nullptr ? static_cast<Charset>(block_->charset) : csASCII; }

void STRING::setCharset(Charset charset) {
    Block* block = prepareChange(getLength());
    if (block != nullptr)
        block->charset = charset;
}

void STRING::classify() {
    if (block_ == nullptr)
        return;
    const int tag = block_->charset;
    Charset found;
    if (tag == csUNKNOWN || tag == csASCII || tag == csWINDOWS)
        found = classifyBytes(block_->text(), block_->length);
    else if (tag == csUTF8)
        found = classifyUtf8(block_->text(), block_->length);
    else
        return;
    if (found != tag)
        setCharset(found);
}

Charset STRING::effectiveCharset() const {
    if (block_ == nullptr)
        return csASCII;
    if (block_->charset == csUNKNOWN)
        return classifyBytes(block_->text(), block_->length);
    return static_cast<Charset>(block_->charset);
}

STRING STRING::convertToCharset(Charset charset) const {
    const Charset from = getCharset();
    if (from == charset || from == csUNKNOWN || from == csASCII || isEmpty())
        return *this;
    const char* text = getText();
    const std::size_t length = getLength();
    STRING result;
    switch (charset) {
        case csOEM:
        case csWINDOWS: {
            std::string bytes;
            if (from == csOEM) {
                bytes.assign(length, '\0');
                oemToAnsi(text, bytes.data(), length);
            } else if (isUtf8(from)) {
                bytes = utf8ToWindows(text, length);
            } else {
                bytes.assign(text, length);
            }
            if (charset == csOEM)
                ansiToOem(bytes.data(), bytes.data(), bytes.size());
            result.assign(bytes.data(), bytes.size(), charset);
            return result;
        }
        case csUTF8:
        case csWIDE: {
            if (isUtf8(from))
                return *this;
            std::string windows(text, length);
            if (from == csOEM)
                oemToAnsi(windows.data(), windows.data(), length);
            const std::string utf8 = windowsToUtf8(windows.data(), windows.size());
            result.assign(utf8.data(), utf8.size(), charset);
            return result;
        }
        default:
            return *this;
    }
}

// ---------------------------------------------------------------------------------------------
// Appending

void STRING::appendRaw(const char* bytes, std::size_t length) {
    if (length == 0)
        return;
    const std::size_t old = getLength();
    if (length > Block::kMaxCapacity - old) {
        Block::release(block_);
        block_ = nullptr;
        return;
    }
    Block* block = prepareChange(old + length);
    if (block == nullptr)
        return;
    std::memcpy(block->text() + old, bytes, length);
    block->length = old + length;
    block->text()[block->length] = '\0';
}

// The tag rules of appending. A zero-terminated text (tag csUNKNOWN here) is taken as bytes of
// the string's own code page, except that into UTF-8 its bytes from 0x80 on are encoded as the
// characters of the Windows code page, and that an ASCII string takes tag 3 when such bytes come.
// A STRING of another tag is converted: 8-bit text into the other 8-bit code page, 8-bit text
// into UTF-8; when UTF-8 comes to 8-bit text, the 8-bit text is converted to UTF-8 first, so
// that nothing is lost.
void STRING::appendTagged(const char* bytes, std::size_t length, Charset tag) {
    if (length == 0)
        return;
    // Bytes from this string's own block stay valid while the handle changes blocks.
    STRING keepAlive;
    if (block_ != nullptr && bytes >= block_->text() && bytes <= block_->text() + block_->capacity)
        keepAlive = *this;

    const Charset mine = effectiveCharset();
    if (block_ != nullptr && block_->charset == csUNKNOWN && block_->length > 0)
        block_->charset = mine;  // classify on the way; the bytes stay as they are

    if (tag == csUNKNOWN) {
        if (isUtf8(mine)) {
            if (hasHighBytes(bytes, length)) {
                const std::string utf8 = windowsToUtf8(bytes, length);
                appendRaw(utf8.data(), utf8.size());
            } else {
                appendRaw(bytes, length);
            }
            return;
        }
        const bool high = mine == csASCII && hasHighBytes(bytes, length);
        appendRaw(bytes, length);
        if (block_ != nullptr && mine == csASCII)
            block_->charset = high ? csWINDOWS : csASCII;
        return;
    }

    if (tag == csASCII || tag == mine) {
        appendRaw(bytes, length);
        return;
    }
    if (mine == csASCII) {
        appendRaw(bytes, length);
        if (block_ != nullptr)
            block_->charset = tag;
        return;
    }
    STRING piece;
    piece.assign(bytes, length, tag);
    if (piece.block_ == nullptr) {  // allocation failed
        Block::release(block_);
        block_ = nullptr;
        return;
    }
    if (isUtf8(mine)) {
        if (!isUtf8(tag))
            piece = piece.convertToCharset(csUTF8);
        const Charset result = mine == csWIDE || tag == csWIDE ? csWIDE : csUTF8;
        appendRaw(piece.getText(), piece.getLength());
        if (block_ != nullptr)
            block_->charset = result;
        return;
    }
    // This string holds 8-bit text (tag 2 or 3).
    if (!isUtf8(tag)) {
        piece = piece.convertToCharset(mine);
        appendRaw(piece.getText(), piece.getLength());
        return;
    }
    *this = convertToCharset(csUTF8);
    appendRaw(piece.getText(), piece.getLength());
    if (block_ != nullptr)
        block_->charset = tag;
}

STRING& STRING::append(char c, std::size_t times) {
    if (times == 0)
        return *this;
    // The first copy takes the tag rules and the encoding; the others repeat its bytes in place,
    // so that a long run needs no second buffer.
    const std::size_t old = getLength();
    appendTagged(&c, 1, csUNKNOWN);
    if (block_ == nullptr || times == 1)
        return *this;
    const std::size_t unit = getLength() - old;
    if (times - 1 > (Block::kMaxCapacity - getLength()) / unit) {
        Block::release(block_);
        block_ = nullptr;
        return *this;
    }
    const std::size_t runLength = times * unit;
    Block* block = prepareChange(old + runLength);
    if (block == nullptr)
        return *this;
    char* run = block->text() + old;
    for (std::size_t filled = unit; filled < runLength;) {
        const std::size_t n = std::min(filled, runLength - filled);
        std::memcpy(run + filled, run, n);
        filled += n;
    }
    block->length = old + runLength;
    block->text()[block->length] = '\0';
    return *this;
}

STRING& STRING::append(const char* text) {
    if (text != nullptr)
        appendTagged(text, std::strlen(text), csUNKNOWN);
    return *this;
}

STRING& STRING::append(const char* bytes, std::size_t length) {
    if (bytes != nullptr)
        appendTagged(bytes, length, csUNKNOWN);
    return *this;
}

STRING& STRING::append(const STRING& other) {
    if (other.isEmpty())
        return *this;
    if (isEmpty() && effectiveCharset() == csASCII) {
        *this = other;  // shares the block
        return *this;
    }
    const STRING keep(other);  // other may be this string
    appendTagged(keep.getText(), keep.getLength(), keep.effectiveCharset());
    return *this;
}

STRING operator+(const STRING& left, const char* right) {
    STRING result(left);
    result.append(right);
    return result;
}

STRING operator+(const STRING& left, char right) {
    STRING result(left);
    result.append(right);
    return result;
}

STRING operator+(const STRING& left, const STRING& right) {
    STRING result(left);
    result.append(right);
    return result;
}

STRING operator+(const char* left, const STRING& right) {
    STRING result(left);
    result.append(right);
    return result;
}

// ---------------------------------------------------------------------------------------------
// Parts of strings

STRING STRING::leftString(std::size_t n) const { return subString(0, n); }

STRING STRING::subString(std::size_t start, std::size_t n) const {
    const std::size_t length = getLength();
    if (start >= length || n == 0)
        return STRING();
    if (n > length - start)
        n = length - start;
    if (start == 0 && n == length)
        return *this;
    STRING result;
    result.assign(getText() + start, n, static_cast<Charset>(block_->charset));
    return result;
}

std::ptrdiff_t STRING::searchRChar(char c) const {
    const char* text = getText();
    for (std::size_t i = getLength(); i > 0; --i)
        if (text[i - 1] == c)
            return static_cast<std::ptrdiff_t>(i - 1);
    return -1;
}

STRING& STRING::stripBlanks() {
    const char* text = getText();
    std::size_t end = getLength();
    std::size_t start = 0;
    while (start < end && isBlank(static_cast<unsigned char>(text[start])))
        ++start;
    while (end > start && isBlank(static_cast<unsigned char>(text[end - 1])))
        --end;
    if (start == 0 && end == getLength())
        return *this;
    STRING stripped;
    stripped.assign(text + start, end - start, getCharset());
    *this = std::move(stripped);
    return *this;
}

// ---------------------------------------------------------------------------------------------
// Comparison

int STRING::compare(const STRING& other) const {
    if (isEmpty())
        return other.isEmpty() ? 0 : -1;
    if (other.isEmpty())
        return 1;
    const bool mineUtf8 = isUtf8(getCharset());
    const bool otherUtf8 = isUtf8(other.getCharset());
    if (mineUtf8 != otherUtf8) {
        if (mineUtf8) {
            const STRING converted = convertToCharset(other.getCharset() == csOEM ? csOEM : csWINDOWS);
            return compareBytes(converted.getText(), converted.getLength(), other.getText(), other.getLength());
        }
        const STRING converted = other.convertToCharset(getCharset() == csOEM ? csOEM : csWINDOWS);
        return compareBytes(getText(), getLength(), converted.getText(), converted.getLength());
    }
    return compareBytes(getText(), getLength(), other.getText(), other.getLength());
}

int STRING::compare(const char* text) const {
    if (text == nullptr)
        text = "";
    const std::size_t length = std::strlen(text);
    if (isUtf8(getCharset()))
        return compare(STRING(text, length));  // converted like any UTF-8 string
    if (isEmpty())
        return length == 0 ? 0 : -1;
    if (length == 0)
        return 1;
    return compareBytes(getText(), getLength(), text, length);
}

// ---------------------------------------------------------------------------------------------
// Number conversions

std::uint32_t STRING::toUnsigned() const {
    const char* text = getText();
    const std::size_t length = getLength();
    std::size_t i = length > 0 && text[0] == '+' ? 1 : 0;
    std::uint64_t value = 0;
    bool overflow = false;
    for (; i < length; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            throw BadNumericFormatError(*this);
        if (!overflow) {
            value = value * 10 + static_cast<std::uint64_t>(c - '0');
            overflow = value > 0xFFFFFFFFu;
        }
    }
    if (overflow)
        throw IntegerOverflowError(*this);
    return static_cast<std::uint32_t>(value);
}

std::uint8_t STRING::toByte() const {
    const std::uint32_t value = toUnsigned();
    if (value > 0xFF)
        throw IntegerOverflowError(*this);
    return static_cast<std::uint8_t>(value);
}

std::int32_t STRING::toSigned(int base) const {
    if (base < 2 || base > 36) {
        MathError error("Invalid Number Base");
        error.addInfo(fromNumber(base));
        throw error;
    }
    const char* text = getText();
    const std::size_t length = getLength();
    std::size_t i = 0;
    bool negative = false;
    if (length > 0 && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        i = 1;
    }
    constexpr std::uint64_t kLimit = 0x80000000u;  // 2^31
    std::uint64_t magnitude = 0;
    bool tooLarge = false;
    for (; i < length; ++i) {
        const unsigned char c = toUpperCase(static_cast<unsigned char>(text[i]));
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'Z')
            digit = c - 'A' + 10;
        else
            throw BadNumericFormatError(*this);
        if (digit >= base)
            throw BadNumericFormatError(*this);
        if (!tooLarge) {
            magnitude = magnitude * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
            tooLarge = magnitude > kLimit;
        }
    }
    if (negative) {
        if (tooLarge)
            throw IntegerUnderflowError(*this);
        return static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude));
    }
    if (tooLarge || magnitude == kLimit)
        throw IntegerOverflowError(*this);
    return static_cast<std::int32_t>(magnitude);
}

STRING STRING::fromNumber(long long value) {
    char digits[24];
    char* p = digits + sizeof digits;
    *--p = '\0';
    unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                             : static_cast<unsigned long long>(value);
    do {
        *--p = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        *--p = '-';
    return STRING(p);
}

// ---------------------------------------------------------------------------------------------
// Files

void STRING::readFromFile(const STRING& fileName) {
    errno = 0;
    std::FILE* file = openFile(fileName, "rb");
    if (file == nullptr)
        throw OpenReadError(fileName);
    // Read straight into the growing text: worker threads have small stacks.
    constexpr std::size_t kChunk = 65536;
    std::string content;
    try {
        for (std::size_t got = kChunk; got == kChunk;) {
            const std::size_t old = content.size();
            content.resize(old + kChunk);
            got = std::fread(content.data() + old, 1, kChunk, file);
            content.resize(old + got);
        }
    } catch (const std::bad_alloc&) {
        std::fclose(file);
        Block::release(block_);
        block_ = nullptr;
        return;
    }
    const bool failed = std::ferror(file) != 0;
    const int error = errno;
    std::fclose(file);
    if (failed) {
        errno = error;
        throw OpenReadError(fileName);
    }
    assign(content.data(), content.size(), classifyBytes(content.data(), content.size()));
}

}  // namespace vek
