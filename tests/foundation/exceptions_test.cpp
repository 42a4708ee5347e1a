#include "foundation/exceptions.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace {

using vek::STRING;

TEST(Exceptions, FixedMessages) {
    EXPECT_STREQ(vek::AllocError().what(), "Memory Allocation Failed");
    EXPECT_STREQ(vek::IndexError().what(), "Array Index Range Error");
    EXPECT_STREQ(vek::InvalidConversionError().what(), "Invalid Conversion");
    EXPECT_STREQ(vek::BadNumericFormatError("-5").what(), "Bad Numeric Format: -5");
    EXPECT_STREQ(vek::IntegerOverflowError("300").what(), "Integer Overflow: 300");
    EXPECT_STREQ(vek::IntegerUnderflowError("-2147483649").what(), "Integer Underflow: -2147483649");
    EXPECT_STREQ(vek::ThreadError("engine").what(), "Thread Start Failed: engine");
}

TEST(Exceptions, MessagesOfTheThrower) {
    EXPECT_STREQ(vek::LibraryException().what(), "");
    EXPECT_STREQ(vek::LibraryException("Don't know container type").what(), "Don't know container type");
    EXPECT_STREQ(vek::LibraryException(STRING("Unkown item type: ") + "Foo").what(), "Unkown item type: Foo");
    EXPECT_STREQ(vek::MemoryError("own words").what(), "own words");
    EXPECT_STREQ(vek::MathError().what(), "");
    EXPECT_STREQ(vek::IOerror("io").what(), "io");
}

TEST(Exceptions, AddInfo) {
    vek::LibraryException error("Base");
    error.addInfo("  detail\t");
    EXPECT_STREQ(error.what(), "Base: detail");
    error.addInfo(" \t\r\n ");
    EXPECT_STREQ(error.what(), "Base: detail");
    error.addInfo("");
    EXPECT_STREQ(error.what(), "Base: detail");
    error.addInfo("more");
    EXPECT_STREQ(error.what(), "Base: detail: more");
    EXPECT_EQ(error.getMessage(), "Base: detail: more");
}

TEST(Exceptions, AddInfoToAnEmptyMessageTakesTheTextAlone) {
    vek::LibraryException error;
    error.addInfo("only this");
    EXPECT_STREQ(error.what(), "only this");
}

TEST(Exceptions, NumberErrorWithBlankTextHasNoDetail) {
    EXPECT_STREQ(vek::BadNumericFormatError("  ").what(), "Bad Numeric Format");
}

TEST(Exceptions, AddCause) {
    vek::LibraryException error("Step");
    error.addCause(ENOENT);
    EXPECT_EQ(std::string(error.what()), std::string("Step: Caused by: ") + std::strerror(ENOENT));
}

TEST(Exceptions, OpenReadErrorWithAndWithoutCause) {
    errno = 0;
    const vek::OpenReadError noCause("chess.gui");
    EXPECT_STREQ(noCause.what(), "File Open For Read Failed: chess.gui");
    errno = ENOENT;
    const vek::OpenReadError withCause("chess.gui");
    EXPECT_EQ(std::string(withCause.what()),
              std::string("File Open For Read Failed: chess.gui: Caused by: ") + std::strerror(ENOENT));
    errno = 0;
}

TEST(Exceptions, WriteError) {
    errno = ENOSPC;
    const vek::WriteError error("chess1.txt");
    EXPECT_EQ(std::string(error.what()),
              std::string("File Write Failed: chess1.txt: Caused by: ") + std::strerror(ENOSPC));
    errno = 0;
    EXPECT_STREQ(vek::WriteError("x").what(), "File Write Failed: x");
}

TEST(Exceptions, CaughtThroughTheTree) {
    try {
        throw vek::IntegerOverflowError("300");
    } catch (const vek::BadNumericFormatError& error) {
        EXPECT_STREQ(error.what(), "Integer Overflow: 300");
    }
    try {
        throw vek::IntegerOverflowError("300");
    } catch (const vek::MathError& error) {
        EXPECT_STREQ(error.what(), "Integer Overflow: 300");
    }
    try {
        throw vek::IntegerOverflowError("300");
    } catch (const vek::LibraryException& error) {
        EXPECT_STREQ(error.what(), "Integer Overflow: 300");
    }
    try {
        throw vek::IntegerOverflowError("300");
    } catch (const std::exception& error) {
        EXPECT_STREQ(error.what(), "Integer Overflow: 300");
    }
    try {
        throw vek::AllocError();
    } catch (const vek::MemoryError& error) {
        EXPECT_STREQ(error.what(), "Memory Allocation Failed");
    }
    try {
        errno = 0;
        throw vek::OpenReadError("f");
    } catch (const vek::IOerror& error) {
        EXPECT_STREQ(error.what(), "File Open For Read Failed: f");
    }
    EXPECT_THROW(throw vek::IntegerUnderflowError("x"), vek::BadNumericFormatError);
    EXPECT_THROW(throw vek::IndexError(), vek::MemoryError);
    EXPECT_THROW(throw vek::InvalidConversionError(), vek::LibraryException);
    EXPECT_THROW(throw vek::ThreadError("t"), vek::LibraryException);
}

TEST(Exceptions, CopiesShareTheMessageBlock) {
    const vek::IndexError error;
    EXPECT_EQ(error.getMessage().getUseCount(), 1);
    const vek::IndexError copy(error);
    EXPECT_EQ(error.getMessage().getUseCount(), 2);
    EXPECT_EQ(copy.what(), error.what());
}

}  // namespace
