// The GUI's text quoted back in a note: short and printable, whatever came.
#include <string>

#include <gtest/gtest.h>

#include "uci/input_quote.h"

namespace vek::uci {
namespace {

TEST(InputQuote, EscapesWhatIsNotPrintableAndCutsAtTheLimit) {
    EXPECT_EQ(quoteInput("go depth x"), "go depth x");
    EXPECT_EQ(quoteInput(std::string("a\x01" "b\tc\x7f\xff\\", 8)), "a\\x01b\\x09c\\x7f\\xff\\\\");
    EXPECT_EQ(quoteInput(std::string("\0z", 2)), "\\x00z");
    const std::string exact(kMaxQuotedBytes, 'x');
    EXPECT_EQ(quoteInput(exact), exact);
    EXPECT_EQ(quoteInput(exact + "y"), exact + "...");
    // A megabyte of control bytes: 80 of them, each as four characters.
    const std::string quoted = quoteInput(std::string(1 << 20, '\x1b'));
    EXPECT_EQ(quoted.size(), kMaxQuotedBytes * 4 + 3);
    EXPECT_EQ(quoted.substr(0, 8), "\\x1b\\x1b");
}

}  // namespace
}  // namespace vek::uci
