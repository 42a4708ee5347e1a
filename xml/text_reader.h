#pragma once
// Reads a byte stream one character at a time, keeps the line and column of the reading
// position and collects error messages stamped with that position.

#include <istream>
#include <string>
#include <string_view>

#include "foundation/array.h"
#include "foundation/string.h"

namespace vek::xml {

class TextReader {
public:
    TextReader(const TextReader&) = delete;
    TextReader& operator=(const TextReader&) = delete;

    // The number of errors kept: a damaged file must not cost memory for every error it holds.
    static constexpr std::size_t kMaxErrors = 1000;

    // Each error reads "line.column: message". Lines count from 1 (CR, LF and CR LF each end
    // one); the column is the number of characters read on the line, so an error names the
    // column of the last character read. After kMaxErrors errors the others are only counted:
    // at the end of a read one more entry, positioned at the first of them, gives their number.
    const Array<STRING>& getErrors() const { return errors_; }

protected:
    static constexpr int kEnd = -1;

    explicit TextReader(std::istream& in);
    ~TextReader() = default;

    // The next character (0 to 255) without taking it, or kEnd. NUL bytes never reach the
    // caller: a text that holds one would end early wherever it is used as a C string, so a run
    // of them is skipped and reported once.
    int peek();
    int get();
    bool atEnd() { return peek() == kEnd; }
    // Takes c when it is next.
    bool skip(char c);
    void skipBlanks();
    // Takes the characters of word as long as they match (ASCII letters ignoring case if asked);
    // true when the whole word was there.
    bool skipWord(std::string_view word, bool ignoringCase = false);
    // Appends everything up to the terminator to out and takes the terminator; false when the
    // stream ends first.
    bool readUntil(std::string& out, std::string_view terminator);

    void addError(const STRING& message);
    // Adds or updates the entry that counts the errors dropped so far (none: nothing).
    void listDroppedErrors();

private:
    void skipNulBytes();
    // "line.column: " of the reading position.
    STRING position() const;

    std::streambuf* buffer_;
    std::size_t line_ = 1;
    std::size_t column_ = 0;
    // The last character read was a CR, so a LF now ends no further line.
    bool afterCarriageReturn_ = false;
    Array<STRING> errors_;
    std::size_t droppedErrors_ = 0;
    STRING firstDropped_;  // the position of the first dropped error
};

}  // namespace vek::xml
