#include "xml/text_reader.h"

#include "xml/characters.h"

namespace vek::xml {

namespace {

using Traits = std::streambuf::traits_type;

int asciiLower(int c) {
    return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
}

}  // namespace

TextReader::TextReader(std::istream& in) : buffer_(in.rdbuf()) {}

int TextReader::peek() {
    if (buffer_ == nullptr)
        return kEnd;
    Traits::int_type c = buffer_->sgetc();
    if (Traits::eq_int_type(c, Traits::to_int_type('\0'))) {
        skipNulBytes();
        c = buffer_->sgetc();
    }
    return Traits::eq_int_type(c, Traits::eof()) ? kEnd : c;
}

int TextReader::get() {
    const int c = peek();
    if (c == kEnd)
        return kEnd;
    buffer_->sbumpc();
    if (c == '\n' && afterCarriageReturn_) {
        afterCarriageReturn_ = false;  // the second half of CR LF
        return c;
    }
    afterCarriageReturn_ = c == '\r';
    if (c == '\n' || c == '\r') {
        ++line_;
        column_ = 0;
    } else {
        ++column_;
    }
    return c;
}

bool TextReader::skip(char c) {
    if (peek() != Traits::to_int_type(c))
        return false;
    get();
    return true;
}

void TextReader::skipBlanks() {
    while (isBlank(peek()))
        get();
}

bool TextReader::skipWord(std::string_view word, bool ignoringCase) {
    for (const char expected : word) {
        const int c = peek();
        const int wanted = Traits::to_int_type(expected);
        const bool same = ignoringCase ? asciiLower(c) == asciiLower(wanted) : c == wanted;
        if (!same)
            return false;
        get();
    }
    return true;
}

bool TextReader::readUntil(std::string& out, std::string_view terminator) {
    const std::size_t start = out.size();
    for (int c = get(); c != kEnd; c = get()) {
        out += static_cast<char>(c);
        if (out.size() - start >= terminator.size() && out.ends_with(terminator)) {
            out.resize(out.size() - terminator.size());
            return true;
        }
    }
    return false;
}

void TextReader::addError(const STRING& message) {
    if (errors_.getCount() < kMaxErrors) {
        errors_.append(position() + message);
        return;
    }
    if (droppedErrors_++ == 0)
        firstDropped_ = position();
}

void TextReader::listDroppedErrors() {
    if (droppedErrors_ == 0)
        return;
    const STRING note =
        firstDropped_ + STRING::fromNumber(static_cast<long long>(droppedErrors_)) + " more errors dropped";
    if (errors_.getCount() == kMaxErrors)
        errors_.append(note);
    else
        errors_[kMaxErrors] = note;
}

STRING TextReader::position() const {
    return STRING::fromNumber(static_cast<long long>(line_)) + "." +
           STRING::fromNumber(static_cast<long long>(column_)) + ": ";
}

void TextReader::skipNulBytes() {
    while (Traits::eq_int_type(buffer_->sgetc(), Traits::to_int_type('\0'))) {
        buffer_->sbumpc();
        ++column_;
    }
    afterCarriageReturn_ = false;
    addError("NUL character ignored");
}

}  // namespace vek::xml
