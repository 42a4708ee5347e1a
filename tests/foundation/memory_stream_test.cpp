#include "foundation/memory_stream.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

using vek::MemoryInputStream;
using vek::STRING;

TEST(MemoryInputStream, ReadsLinesAndWords) {
    MemoryInputStream in(STRING("<form name=\"ChessFORM\">\nsecond line\n42 17"));
    std::string line;
    ASSERT_TRUE(std::getline(in, line));
    EXPECT_EQ(line, "<form name=\"ChessFORM\">");
    ASSERT_TRUE(std::getline(in, line));
    EXPECT_EQ(line, "second line");
    int a = 0;
    int b = 0;
    in >> a >> b;
    EXPECT_EQ(a, 42);
    EXPECT_EQ(b, 17);
    EXPECT_TRUE(in.eof());
}

TEST(MemoryInputStream, ReadsEveryByteUpToTheLength) {
    const STRING text("a\0b\xFF", 4);
    MemoryInputStream in(text);
    char buffer[8] = {};
    in.read(buffer, sizeof buffer);
    EXPECT_EQ(in.gcount(), 4);
    EXPECT_EQ(std::string(buffer, 4), std::string("a\0b\xFF", 4));
    EXPECT_EQ(static_cast<unsigned char>(buffer[3]), 0xFF);
}

TEST(MemoryInputStream, GetPeekAndPutBack) {
    MemoryInputStream in(STRING("xy"));
    EXPECT_EQ(in.peek(), 'x');
    EXPECT_EQ(in.get(), 'x');
    in.putback('x');
    EXPECT_EQ(in.get(), 'x');
    EXPECT_EQ(in.get(), 'y');
    EXPECT_EQ(in.get(), std::char_traits<char>::eof());
}

TEST(MemoryInputStream, Seeking) {
    MemoryInputStream in(STRING("0123456789"));
    in.seekg(5);
    EXPECT_EQ(in.get(), '5');
    in.seekg(-2, std::ios_base::end);
    EXPECT_EQ(in.get(), '8');
    in.seekg(-3, std::ios_base::cur);
    EXPECT_EQ(in.get(), '6');
    EXPECT_EQ(static_cast<long long>(in.tellg()), 7);
    in.seekg(11);
    EXPECT_TRUE(in.fail());
}

// Offsets near the limits of the offset type must fail the seek without computing a position
// beyond them, and leave the reading position where it was.
TEST(MemoryInputStream, SeekingFarOutsideTheTextFails) {
    using Offsets = std::numeric_limits<std::streamoff>;
    MemoryInputStream in(STRING("0123456789"));
    for (const std::ios_base::seekdir direction : {std::ios_base::beg, std::ios_base::cur, std::ios_base::end}) {
        for (const std::streamoff offset : {Offsets::max(), Offsets::max() - 5, Offsets::min(), Offsets::min() + 5}) {
            in.seekg(3);
            in.seekg(offset, direction);
            EXPECT_TRUE(in.fail()) << offset;
            in.clear();
            EXPECT_EQ(in.get(), '3');
        }
    }
}

TEST(MemoryInputStream, EmptyText) {
    MemoryInputStream in{STRING()};
    EXPECT_EQ(in.get(), std::char_traits<char>::eof());
    EXPECT_TRUE(in.eof());
}

TEST(MemoryInputStream, KeepsItsOwnHandle) {
    STRING text("abc");
    MemoryInputStream in(text);
    EXPECT_EQ(text.getUseCount(), 2);
    text += "def";  // copy on write: the stream still reads the old block
    text = STRING();
    std::string rest;
    in >> rest;
    EXPECT_EQ(rest, "abc");
}

}  // namespace
