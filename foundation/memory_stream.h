#pragma once
// The memory input stream: a standard input stream that reads the bytes of a STRING
// from the start to its length. The stream keeps its own handle to the text block.

#include <istream>
#include <streambuf>

#include "foundation/string.h"

namespace vek {

class MemoryInputBuffer : public std::streambuf {
public:
    explicit MemoryInputBuffer(const STRING& text) : text_(text) {
        char* begin = const_cast<char*>(text_.getText());  // read only: no putback writes
        setg(begin, begin, begin + text_.getLength());
    }

protected:
    pos_type seekoff(off_type offset, std::ios_base::seekdir direction, std::ios_base::openmode which) override {
        if ((which & std::ios_base::in) == 0)
            return pos_type(off_type(-1));
        off_type base = 0;
        if (direction == std::ios_base::cur)
            base = gptr() - eback();
        else if (direction == std::ios_base::end)
            base = egptr() - eback();
        // Compared before adding: an offset near the limits of off_type must not overflow.
        if (offset < -base || offset > egptr() - eback() - base)
            return pos_type(off_type(-1));
        const off_type target = base + offset;
        setg(eback(), eback() + target, egptr());
        return pos_type(target);
    }
    pos_type seekpos(pos_type position, std::ios_base::openmode which) override {
        return seekoff(off_type(position), std::ios_base::beg, which);
    }
    // Putting back a character other than the one read is not possible.
    int_type pbackfail(int_type) override { return traits_type::eof(); }

private:
    STRING text_;
};

class MemoryInputStream : public std::istream {
public:
    explicit MemoryInputStream(const STRING& text) : std::istream(nullptr), buffer_(text) { rdbuf(&buffer_); }

private:
    MemoryInputBuffer buffer_;
};

}  // namespace vek
