// The memory a damaged file can make the reader spend on its error list: every message quotes at
// most a short excerpt, and the list keeps a bounded number of entries.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "parsed.h"

namespace vek::xml::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::SizeIs;

// The error list's memory: each entry's text plus its handle and block header, generously.
std::size_t errorListBytes(const Parsed& parsed) {
    std::size_t bytes = 0;
    for (const std::string& error : parsed.errors)
        bytes += error.size() + 96;
    return bytes;
}

std::string repeated(std::string_view piece, std::size_t times) {
    std::string text;
    text.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i)
        text += piece;
    return text;
}

TEST(XmlParserLimits, MessagesQuoteAtMost64BytesOfANameOrValue) {
    const std::string name(100, 'n');
    const std::string quoted = std::string(64, 'n') + "...";
    const Parsed parsed("<" + name + " / " + name + "><" + name + "></x" + name + "></" + name + "x");
    EXPECT_THAT(parsed.errors,
                ElementsAre("1.103: Invalid character / in <" + quoted + ">",
                            "1.204: Attribute " + quoted + " has no value",
                            "1.411: end tag </x" + std::string(63, 'n') + "...> does not match start tag <" +
                                quoted + "> --> ignoring",
                            "1.514: Unexpected end of file in </" + quoted, "1.514: " + quoted + " was not terminated correctly",
                            "1.514: " + quoted + " was not terminated correctly"));
    EXPECT_EQ(parsed.root().getTag().getLength(), name.size());  // the names themselves stay whole
}

TEST(XmlParserLimits, ErrorsBeyondTheLimitAreCountedInOneLastEntry) {
    const Parsed parsed(std::string(Parser::kMaxErrors + 4000, '<'));
    ASSERT_THAT(parsed.errors, SizeIs(Parser::kMaxErrors + 1));
    EXPECT_EQ(parsed.errors[Parser::kMaxErrors - 1], "1.1000: Missing name after <");
    EXPECT_EQ(parsed.errors.back(), "1.1001: 4000 more errors dropped");
    EXPECT_THAT(Parsed(std::string(Parser::kMaxErrors, '<')).errors, SizeIs(Parser::kMaxErrors));
}

// The stray slashes and mismatched end tags after a long name, and floods of each character
// that has a meaning in markup, alone and after "<", "&" or "&#0;" (a NUL reference).
TEST(XmlParserLimits, ErrorListStaysWithinAFixedMultipleOfTheInput) {
    const std::string name(8192, 'a');
    const std::string longName(1 << 17, 'a');
    std::vector<std::string> inputs{
        "<" + longName + repeated(" /", 1 << 16) + ">",
        "<" + name + repeated(" /", 4096) + ">",
        "<" + name + ">" + repeated("</b>", 2048),
        repeated("a", 8192) + repeated("\0a", 8192),  // like UTF-16
    };
    for (const char c : std::string_view("<>&/!?=\"';#-[]\r\n\0 ", 19)) {
        inputs.push_back(std::string(1 << 16, c));
        inputs.push_back(repeated(std::string("<") + c, 1 << 15));
        inputs.push_back(repeated(std::string("&") + c, 1 << 15));
    }
    inputs.push_back(repeated("&#0;", 1 << 14));
    inputs.push_back(repeated("<a ", 1 << 14));
    for (const std::string& input : inputs) {
        const Parsed parsed(input);
        EXPECT_LE(errorListBytes(parsed), 16 * input.size()) << input.substr(0, 20);
    }
}

// A reference is read up to 64 characters with its "&": a longer one is an invalid entity, kept
// as text, so that no name makes the reader collect without bound.
TEST(XmlParserLimits, AReferenceLongerThanTheCapIsAnInvalidEntity) {
    const std::string longest(63, 'e');
    const Parsed atCap("<t>x&" + longest + ";y</t>");
    EXPECT_EQ(atCap.root().getValue(), "xy");  // unknown, so it vanishes
    EXPECT_THAT(atCap.errors, SizeIs(0));

    const std::string tooLong(64, 'e');
    const Parsed overCap("<t>x&" + tooLong + ";y</t>");
    EXPECT_EQ(text(overCap.root().getValue()), "x&" + tooLong + ";y");
    EXPECT_THAT(overCap.errors, ElementsAre("1.68: Invalid entity &" + tooLong.substr(0, 63)));
}

}  // namespace
}  // namespace vek::xml::testing
