#include "foundation/string.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <type_traits>

#include "foundation/exceptions.h"

namespace {

using vek::STRING;

std::string bytes(const STRING& s) { return std::string(s.getText(), s.getLength()); }

// ---------------------------------------------------------------------------------------------
// Blocks, sharing, copy on write

TEST(String, NullHandleBehavesAsEmpty) {
    STRING s;
    EXPECT_EQ(s.getLength(), 0u);
    EXPECT_STREQ(s.getText(), "");
    EXPECT_TRUE(s.isEmpty());
    EXPECT_EQ(s.getUseCount(), 0);
    EXPECT_EQ(s.getCapacity(), 0u);
    EXPECT_EQ(s.getCharset(), vek::csASCII);
    STRING fromEmpty("");
    EXPECT_TRUE(fromEmpty.isEmpty());
    EXPECT_EQ(fromEmpty, s);
    STRING fromNull(static_cast<const char*>(nullptr));
    EXPECT_TRUE(fromNull.isEmpty());
}

TEST(String, CopySharesTheBlockUntilAChange) {
    STRING first("Schach");
    STRING second(first);
    EXPECT_EQ(first.getUseCount(), 2);
    EXPECT_EQ(first.getText(), second.getText());  // one block
    second += "brett";
    EXPECT_EQ(bytes(first), "Schach");
    EXPECT_EQ(bytes(second), "Schachbrett");
    EXPECT_EQ(first.getUseCount(), 1);
    EXPECT_EQ(second.getUseCount(), 1);
    EXPECT_NE(first.getText(), second.getText());
}

TEST(String, AssignmentAndMoveKeepCountsRight) {
    STRING a("a");
    STRING b("b");
    b = a;
    EXPECT_EQ(a.getUseCount(), 2);
    STRING& alias = b;
    b = alias;  // self-assignment
    EXPECT_EQ(a.getUseCount(), 2);
    STRING c(std::move(b));
    EXPECT_EQ(a.getUseCount(), 2);
    EXPECT_TRUE(b.isEmpty());  // NOLINT(bugprone-use-after-move): moved-from is null
    c = STRING("c");
    EXPECT_EQ(a.getUseCount(), 1);
    {
        STRING d(a);
        EXPECT_EQ(a.getUseCount(), 2);
    }
    EXPECT_EQ(a.getUseCount(), 1);
}

TEST(String, CopyOnWriteKeepsTheTag) {
    STRING oem("Wei\xE1");
    oem.setCharset(vek::csOEM);
    STRING copy(oem);
    copy += "!";
    EXPECT_EQ(copy.getCharset(), vek::csOEM);
    EXPECT_EQ(bytes(copy), "Wei\xE1!");
    EXPECT_EQ(bytes(oem), "Wei\xE1");
}

TEST(String, SetCharsetOnASharedBlockCopiesIt) {
    STRING a("x\xE4");
    STRING b(a);
    b.setCharset(vek::csOEM);
    EXPECT_EQ(a.getCharset(), vek::csWINDOWS);
    EXPECT_EQ(b.getCharset(), vek::csOEM);
}

TEST(String, CapacityGrowsInStepsOf32) {
    EXPECT_EQ(STRING("abc").getCapacity(), 32u);
    EXPECT_EQ(STRING(std::string(32, 'x').c_str()).getCapacity(), 32u);
    EXPECT_EQ(STRING(std::string(33, 'x').c_str()).getCapacity(), 64u);
    STRING s("a");
    const char* before = s.getText();
    for (int i = 0; i < 31; ++i)
        s += 'b';
    EXPECT_EQ(s.getLength(), 32u);
    EXPECT_EQ(s.getCapacity(), 32u);
    EXPECT_EQ(s.getText(), before);  // no reallocation within the capacity
    s += 'c';
    EXPECT_EQ(s.getCapacity(), 64u);
    s.append('d', 40);
    EXPECT_EQ(s.getLength(), 73u);
    EXPECT_EQ(s.getCapacity(), 96u);
}

TEST(String, SetLengthAndBuffer) {
    STRING s("ab");
    s.setLength(5);
    EXPECT_EQ(s.getLength(), 5u);
    EXPECT_EQ(bytes(s), std::string("ab\0\0\0", 5));
    char* buffer = s.getBuffer();
    std::memcpy(buffer, "hello", 5);
    EXPECT_EQ(bytes(s), "hello");
    STRING shared(s);
    s.getBuffer()[0] = 'j';  // the buffer of a shared block is a copy
    EXPECT_EQ(bytes(shared), "hello");
    EXPECT_EQ(bytes(s), "jello");

    STRING longer(std::string(100, 'x').c_str());
    EXPECT_EQ(longer.getCapacity(), 128u);
    longer.setLength(3);  // shrinks to the rounded size
    EXPECT_EQ(longer.getCapacity(), 32u);
    EXPECT_EQ(bytes(longer), "xxx");
    longer.setLength(0);
    EXPECT_TRUE(longer.isEmpty());
}

TEST(String, AllocationFailureLeavesTheHandleNull) {
    STRING s("abc");
    STRING copy(s);
    s.setLength(std::size_t{1} << 61);
    EXPECT_TRUE(s.isEmpty());
    EXPECT_EQ(s.getUseCount(), 0);
    EXPECT_EQ(bytes(copy), "abc");
    EXPECT_EQ(copy.getUseCount(), 1);
    STRING t("abc");
    t.setLength(std::size_t{1} << 61);  // unshared block: realloc fails
    EXPECT_TRUE(t.isEmpty());
}

TEST(String, HugeRunOfACharacterLeavesTheHandleNull) {
    for (const std::size_t times : {std::size_t{1} << 61, SIZE_MAX - 1}) {
        STRING ascii("abc");
        EXPECT_NO_THROW(ascii.append('x', times));
        EXPECT_TRUE(ascii.isEmpty());
        STRING utf8("abc");
        utf8.setCharset(vek::csUTF8);
        EXPECT_NO_THROW(utf8.append('\xE4', times));  // two bytes each in UTF-8
        EXPECT_TRUE(utf8.isEmpty());
    }
    STRING fine("ab");
    fine.append('c', 5);
    EXPECT_EQ(bytes(fine), "abccccc");
    STRING encoded("a");
    encoded.setCharset(vek::csUTF8);
    encoded.append('\x80', 3);  // the euro sign, three bytes in UTF-8
    EXPECT_EQ(bytes(encoded), "a\u20AC\u20AC\u20AC");
    EXPECT_EQ(encoded.getCharset(), vek::csUTF8);
}

TEST(String, BytesWithZeros) {
    STRING s("a\0b", 3);
    EXPECT_EQ(s.getLength(), 3u);
    EXPECT_EQ(s[2], 'b');
    s.append("\0c", 2);
    EXPECT_EQ(bytes(s), std::string("a\0b\0c", 5));
}

// ---------------------------------------------------------------------------------------------
// Tags

TEST(String, ClassificationAtConstruction) {
    EXPECT_EQ(STRING("plain text").getCharset(), vek::csASCII);
    EXPECT_EQ(STRING("K\xE4se").getCharset(), vek::csWINDOWS);
    EXPECT_EQ(STRING("x\x80", 2).getCharset(), vek::csWINDOWS);
}

TEST(String, ClassifyOnDemand) {
    STRING utf8("Stra\xC3\x9F" "e");
    utf8.setCharset(vek::csUTF8);
    utf8.classify();
    EXPECT_EQ(utf8.getCharset(), vek::csWINDOWS);

    STRING ascii("abc");
    ascii.setCharset(vek::csUTF8);
    ascii.classify();
    EXPECT_EQ(ascii.getCharset(), vek::csASCII);

    STRING omega("\xCE\xA9");  // U+03A9, beyond 8 bits
    omega.setCharset(vek::csUTF8);
    omega.classify();
    EXPECT_EQ(omega.getCharset(), vek::csWIDE);

    STRING euro("\xE2\x82\xAC");  // U+20AC: the Windows code page has it (0x80)
    euro.setCharset(vek::csUTF8);
    euro.classify();
    EXPECT_EQ(euro.getCharset(), vek::csWINDOWS);

    STRING oem("\x84");
    oem.setCharset(vek::csOEM);
    oem.classify();
    EXPECT_EQ(oem.getCharset(), vek::csOEM);

    STRING unknown("\xE4");
    unknown.setCharset(vek::csUNKNOWN);
    unknown.classify();
    EXPECT_EQ(unknown.getCharset(), vek::csWINDOWS);

    STRING wide("abc");
    wide.setCharset(vek::csWIDE);
    wide.classify();  // tag 5 stays
    EXPECT_EQ(wide.getCharset(), vek::csWIDE);
}

TEST(String, AppendingTextToAsciiTakesItsTag) {
    STRING s("Ka");
    s += "se";
    EXPECT_EQ(s.getCharset(), vek::csASCII);
    s += "\xE4";
    EXPECT_EQ(s.getCharset(), vek::csWINDOWS);

    STRING c("a");
    c += static_cast<char>(0xE9);
    EXPECT_EQ(c.getCharset(), vek::csWINDOWS);

    STRING ascii("Zug: ");
    STRING oem("Wei\xE1");
    oem.setCharset(vek::csOEM);
    ascii += oem;
    EXPECT_EQ(ascii.getCharset(), vek::csOEM);
    EXPECT_EQ(bytes(ascii), "Zug: Wei\xE1");

    STRING empty;
    empty += oem;  // an empty string shares the appended block
    EXPECT_EQ(empty.getCharset(), vek::csOEM);
    EXPECT_EQ(oem.getUseCount(), 2);
}

TEST(String, AppendingAsciiKeepsTheTag) {
    STRING oem("\x84");
    oem.setCharset(vek::csOEM);
    oem += STRING(" und");
    oem += " mehr";
    EXPECT_EQ(oem.getCharset(), vek::csOEM);
    EXPECT_EQ(bytes(oem), "\x84 und mehr");
}

TEST(String, TextAppendedToUtf8IsEncoded) {
    STRING utf8("Gr");
    utf8.setCharset(vek::csUTF8);
    utf8 += "\xFC\xDF";  // ü ß of the Windows code page
    EXPECT_EQ(bytes(utf8), "Gr\xC3\xBC\xC3\x9F");
    utf8 += static_cast<char>(0x80);  // the euro sign of the Windows code page
    EXPECT_EQ(bytes(utf8), "Gr\xC3\xBC\xC3\x9F\xE2\x82\xAC");
    utf8.append('e', 2);
    EXPECT_EQ(utf8.getCharset(), vek::csUTF8);
    EXPECT_EQ(bytes(utf8), "Gr\xC3\xBC\xC3\x9F\xE2\x82\xAC" "ee");

    STRING oem("\x84");
    oem.setCharset(vek::csOEM);
    STRING target("x");
    target.setCharset(vek::csUTF8);
    target += oem;
    EXPECT_EQ(bytes(target), "x\xC3\xA4");
    EXPECT_EQ(target.getCharset(), vek::csUTF8);
}

TEST(String, SetCharsetOnEmptyKeepsTheTagForAppending) {
    STRING s;
    s.setCharset(vek::csUTF8);
    EXPECT_EQ(s.getCharset(), vek::csUTF8);
    EXPECT_TRUE(s.isEmpty());
    s += "\xE4";
    EXPECT_EQ(bytes(s), "\xC3\xA4");
    EXPECT_EQ(s.getCharset(), vek::csUTF8);
}

TEST(String, EightBitTextIsConvertedWhenAppended) {
    STRING oem("Wei\xE1");
    oem.setCharset(vek::csOEM);
    oem += STRING(" \xE4");  // Windows ä becomes OEM ä
    EXPECT_EQ(bytes(oem), "Wei\xE1 \x84");
    EXPECT_EQ(oem.getCharset(), vek::csOEM);

    STRING windows("\xDF");
    STRING oemText("\x94");
    oemText.setCharset(vek::csOEM);
    windows += oemText;
    EXPECT_EQ(bytes(windows), "\xDF\xF6");
    EXPECT_EQ(windows.getCharset(), vek::csWINDOWS);
}

TEST(String, Utf8AppendedToEightBitTextConvertsTheTextToUtf8) {
    STRING windows("\xE4");
    STRING omega("\xCE\xA9");
    omega.setCharset(vek::csWIDE);
    windows += omega;
    EXPECT_EQ(bytes(windows), "\xC3\xA4\xCE\xA9");
    EXPECT_EQ(windows.getCharset(), vek::csWIDE);

    STRING utf8("\xC3\xBC");
    utf8.setCharset(vek::csUTF8);
    STRING wide("a");
    wide.setCharset(vek::csWIDE);
    utf8 += wide;
    EXPECT_EQ(utf8.getCharset(), vek::csWIDE);
}

TEST(String, AppendingItself) {
    STRING s("ab");
    s += s;
    EXPECT_EQ(bytes(s), "abab");
    STRING t(std::string(32, 'x').c_str());
    t.append(t.getText());  // bytes of its own block while it grows
    EXPECT_EQ(bytes(t), std::string(64, 'x'));
}

TEST(String, PlusOperators) {
    const STRING s("ab");
    EXPECT_EQ(bytes(s + "cd"), "abcd");
    EXPECT_EQ(bytes(s + 'c'), "abc");
    EXPECT_EQ(bytes(s + STRING("x")), "abx");
    EXPECT_EQ(bytes("x" + s), "xab");
    EXPECT_EQ(bytes(s), "ab");
    EXPECT_EQ(("\xE4" + s).getCharset(), vek::csWINDOWS);
}

// ---------------------------------------------------------------------------------------------
// Conversion between character sets

TEST(String, OemAndWindowsGermanLetters) {
    STRING oem("\x84\x94\x81\x8E\x99\x9A\xE1 Wei\xE1");
    oem.setCharset(vek::csOEM);
    const STRING windows = oem.convertToCharset(vek::csWINDOWS);
    EXPECT_EQ(bytes(windows), "\xE4\xF6\xFC\xC4\xD6\xDC\xDF Wei\xDF");
    EXPECT_EQ(windows.getCharset(), vek::csWINDOWS);
    const STRING back = windows.convertToCharset(vek::csOEM);
    EXPECT_EQ(bytes(back), bytes(oem));
    EXPECT_EQ(back.getCharset(), vek::csOEM);
    EXPECT_EQ(oem.getCharset(), vek::csOEM);  // the original is unchanged
}

TEST(String, ToUtf8AndBack) {
    STRING windows("\xE4\xDF\x80");
    const STRING utf8 = windows.convertToCharset(vek::csUTF8);
    EXPECT_EQ(bytes(utf8), "\xC3\xA4\xC3\x9F\xE2\x82\xAC");
    EXPECT_EQ(utf8.getCharset(), vek::csUTF8);
    const STRING again = utf8.convertToCharset(vek::csWINDOWS);
    EXPECT_EQ(bytes(again), "\xE4\xDF\x80");
    EXPECT_EQ(again.getCharset(), vek::csWINDOWS);

    STRING oem("\x81");  // OEM ü: through the Windows code page to UTF-8
    oem.setCharset(vek::csOEM);
    const STRING fromOem = oem.convertToCharset(vek::csUTF8);
    EXPECT_EQ(bytes(fromOem), "\xC3\xBC");
    EXPECT_EQ(fromOem.getCharset(), vek::csUTF8);

    STRING toOem("\xC3\xB6");
    toOem.setCharset(vek::csUTF8);
    const STRING oemResult = toOem.convertToCharset(vek::csOEM);
    EXPECT_EQ(bytes(oemResult), "\x94");
    EXPECT_EQ(oemResult.getCharset(), vek::csOEM);
}

TEST(String, CharactersBeyondEightBitsBecomeQuestionMarks) {
    STRING wide("a\xCE\xA9" "b\xF0\x9F\x98\x80");  // Ω and an emoji
    wide.setCharset(vek::csWIDE);
    EXPECT_EQ(bytes(wide.convertToCharset(vek::csWINDOWS)), "a?b?");
    EXPECT_EQ(bytes(wide.convertToCharset(vek::csOEM)), "a?b?");
}

TEST(String, MalformedUtf8BytesStandForThemselves) {
    STRING bad("\xE4x");  // a Windows ä wrongly tagged as UTF-8
    bad.setCharset(vek::csUTF8);
    EXPECT_EQ(bytes(bad.convertToCharset(vek::csWINDOWS)), "\xE4x");
    bad.classify();
    EXPECT_EQ(bad.getCharset(), vek::csWINDOWS);
}

TEST(String, ConversionReturnsTheStringItselfWhenNothingIsToDo) {
    STRING ascii("abc");
    const STRING same = ascii.convertToCharset(vek::csOEM);
    EXPECT_EQ(same.getText(), ascii.getText());
    EXPECT_EQ(same.getCharset(), vek::csASCII);
    STRING windows("\xE4");
    EXPECT_EQ(windows.convertToCharset(vek::csWINDOWS).getText(), windows.getText());
    STRING unknown("\xE4");
    unknown.setCharset(vek::csUNKNOWN);
    EXPECT_EQ(unknown.convertToCharset(vek::csUTF8).getCharset(), vek::csUNKNOWN);
    STRING utf8("\xC3\xA4");
    utf8.setCharset(vek::csUTF8);
    EXPECT_EQ(utf8.convertToCharset(vek::csWIDE).getText(), utf8.getText());
    EXPECT_TRUE(STRING().convertToCharset(vek::csUTF8).isEmpty());
}

// ---------------------------------------------------------------------------------------------
// Parts of strings

TEST(String, LeftAndSubString) {
    const STRING s("Springer");
    EXPECT_EQ(bytes(s.leftString(4)), "Spri");
    EXPECT_EQ(bytes(s.leftString(0)), "");
    EXPECT_EQ(s.leftString(100).getText(), s.getText());  // the whole string: shared
    EXPECT_EQ(bytes(s.subString(2, 3)), "rin");
    EXPECT_EQ(bytes(s.subString(5, 100)), "ger");
    EXPECT_TRUE(s.subString(8, 1).isEmpty());
    EXPECT_TRUE(s.subString(100, 1).isEmpty());
    STRING oem("\x84rger");
    oem.setCharset(vek::csOEM);
    EXPECT_EQ(oem.subString(1, 2).getCharset(), vek::csOEM);
}

TEST(String, SearchRChar) {
    const STRING path("C:\\temp\\chess.txt");
    EXPECT_EQ(path.searchRChar('\\'), 7);
    EXPECT_EQ(path.searchRChar('C'), 0);
    EXPECT_EQ(path.searchRChar('t'), 16);
    EXPECT_EQ(path.searchRChar('#'), -1);
    EXPECT_EQ(STRING().searchRChar('a'), -1);
}

TEST(String, StripBlanks) {
    STRING s(" \t Zug \r\n");
    STRING copy(s);
    s.stripBlanks();
    EXPECT_EQ(bytes(s), "Zug");
    EXPECT_EQ(bytes(copy), " \t Zug \r\n");
    STRING blanks("   ");
    blanks.stripBlanks();
    EXPECT_TRUE(blanks.isEmpty());
    STRING none("a b");
    const char* before = none.getText();
    none.stripBlanks();
    EXPECT_EQ(none.getText(), before);
    STRING oem(" \x84 ");
    oem.setCharset(vek::csOEM);
    EXPECT_EQ(oem.stripBlanks().getCharset(), vek::csOEM);
}

// ---------------------------------------------------------------------------------------------
// Collation and comparison

TEST(Collation, IsAPermutation) {
    std::set<int> weights;
    for (int byte = 0; byte < 256; ++byte)
        weights.insert(vek::collationWeight(static_cast<unsigned char>(byte)));
    EXPECT_EQ(weights.size(), 256u);
    EXPECT_EQ(vek::collationWeight(0), 0);
}

TEST(Collation, Order) {
    auto w = [](unsigned char c) { return vek::collationWeight(c); };
    EXPECT_LT(w(0), w('0'));
    for (unsigned char c = '0'; c < '9'; ++c)
        EXPECT_LT(w(c), w(c + 1));
    EXPECT_LT(w('9'), w('A'));
    // A, À, Á, Â, Ã, Ä, Å, Æ, then B
    const unsigned char aForms[] = {'A', 0xC0, 0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6, 'B'};
    for (std::size_t i = 0; i + 1 < sizeof aForms; ++i)
        EXPECT_EQ(w(aForms[i]) + 1, w(aForms[i + 1])) << i;
    EXPECT_LT(w('Z'), w('a'));
    EXPECT_LT(w('s'), w(0xDF));  // ß after s
    EXPECT_LT(w(0xDF), w('t'));
    EXPECT_LT(w('o'), w(0xF6));
    EXPECT_LT(w(0xF6), w('p'));
    EXPECT_LT(w(0x9E), w('!'));  // ž, the last letter form, before the punctuation
    EXPECT_LT(w('!'), w(0xA7));  // punctuation, then the other symbols
    EXPECT_LT(w(0xA7), w('\t'));
    const unsigned char blanks[] = {'\t', '\n', '\v', '\f', '\r', ' ', 0xA0};
    for (std::size_t i = 0; i + 1 < sizeof blanks; ++i)
        EXPECT_EQ(w(blanks[i]) + 1, w(blanks[i + 1]));
    EXPECT_LT(w(0xA0), w(0x01));  // other control characters last
    EXPECT_EQ(w(0x7F) > w(0xA0), true);
    EXPECT_EQ(w(0x81) > w(0xA0), true);
}

TEST(Compare, LettersAccentsAndCase) {
    EXPECT_GT(STRING("B").compare(STRING("\xC0")), 0);
    EXPECT_LT(STRING("B").compare(STRING("a")), 0);
    EXPECT_FALSE(STRING("abc") == STRING("ABC"));
    EXPECT_TRUE(STRING("abc") == STRING("abc"));
    EXPECT_TRUE(STRING("abc") == "abc");
    EXPECT_FALSE(STRING("abc") == "abC");
}

TEST(Compare, EmptyStrings) {
    EXPECT_EQ(STRING().compare(STRING()), 0);
    EXPECT_EQ(STRING().compare(""), 0);
    EXPECT_LT(STRING().compare(STRING("\x01")), 0);
    EXPECT_GT(STRING("0").compare(STRING()), 0);
    EXPECT_LT(STRING().compare("a"), 0);
    EXPECT_GT(STRING("a").compare(""), 0);
    EXPECT_TRUE(STRING() == "");
}

TEST(Compare, ResultIsTheDifferenceOfWeights) {
    EXPECT_EQ(STRING("a").compare(STRING("b")), vek::collationWeight('a') - vek::collationWeight('b'));
    EXPECT_EQ(STRING("ab").compare("a"), vek::collationWeight('b'));
    EXPECT_LT(STRING("a").compare("ab"), 0);
    EXPECT_GT(STRING("a\0", 2).compare(STRING("a")), 0);  // a zero byte still makes it longer
    EXPECT_LT(STRING("a").compare(STRING("a\0", 2)), 0);
    EXPECT_NE(STRING("a\0b", 3).compare(STRING("a\0c", 3)), 0);
}

TEST(Compare, OrdersLikeTheTable) {
    EXPECT_LT(STRING("Zebra").compare("apfel"), 0);
    EXPECT_LT(STRING("Apfel").compare("\xC4pfel"), 0);
    EXPECT_LT(STRING("\xC4pfel").compare("Birne"), 0);
    EXPECT_GT(STRING("Stra\xDF" "e").compare("Strasse"), 0);  // ß comes after s
    EXPECT_LT(STRING("Stra\xDF" "e").compare("Strate"), 0);  // ... and before t
    EXPECT_LT(STRING("9").compare("A"), 0);
    EXPECT_LT(STRING("z").compare("!"), 0);
    EXPECT_LT(STRING("a b").compare("a\x01"), 0);
    EXPECT_TRUE(STRING("A") < STRING("a"));
}

TEST(Compare, Utf8IsConvertedToTheOtherSet) {
    STRING utf8("K\xC3\xA4se");
    utf8.setCharset(vek::csUTF8);
    EXPECT_TRUE(utf8 == STRING("K\xE4se"));
    EXPECT_TRUE(utf8 == "K\xE4se");
    EXPECT_TRUE(STRING("K\xE4se") == utf8);
    STRING oem("K\x84se");
    oem.setCharset(vek::csOEM);
    EXPECT_TRUE(utf8 == oem);
    EXPECT_TRUE(oem == utf8);
    STRING otherUtf8("K\xC3\xA4se");
    otherUtf8.setCharset(vek::csUTF8);
    EXPECT_TRUE(utf8 == otherUtf8);
    EXPECT_LT(utf8.compare("K\xE4sf"), 0);
    // A text of plain ASCII orders against the decoded characters, as a STRING does.
    STRING eAcute("\xC3\xA9");  // é
    eAcute.setCharset(vek::csUTF8);
    EXPECT_GT(eAcute.compare("E"), 0);
    EXPECT_GT(eAcute.compare(STRING("E")), 0);
    EXPECT_LT(eAcute.compare("f"), 0);
}

TEST(CaseTables, UpperAndLower) {
    EXPECT_EQ(vek::toUpperCase('a'), 'A');
    EXPECT_EQ(vek::toUpperCase(0xE4), 0xC4);
    EXPECT_EQ(vek::toUpperCase(0xDF), 0xDF);
    EXPECT_EQ(vek::toUpperCase(0xF7), 0xF7);
    EXPECT_EQ(vek::toUpperCase(0xFF), 0x9F);
    EXPECT_EQ(vek::toUpperCase('1'), '1');
    EXPECT_EQ(vek::toLowerCase('Q'), 'q');
    EXPECT_EQ(vek::toLowerCase(0xDC), 0xFC);
    EXPECT_EQ(vek::toLowerCase(0xD7), 0xD7);
    for (int c = 0; c < 256; ++c) {
        const auto upper = vek::toUpperCase(static_cast<unsigned char>(c));
        if (upper != c) {
            EXPECT_EQ(vek::toLowerCase(upper), c) << c;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Number conversions

template <typename Error, typename F>
void expectError(F convert, const char* message) {
    try {
        convert();
        ADD_FAILURE() << "no exception, expected: " << message;
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), message);
    }
}

// The exact class, not a subclass.
template <typename Error, typename F>
void expectExactly(F convert, const char* message) {
    try {
        convert();
        ADD_FAILURE() << "no exception, expected: " << message;
    } catch (const vek::IntegerOverflowError& error) {
        EXPECT_TRUE((std::is_same_v<Error, vek::IntegerOverflowError>)) << error.what();
        EXPECT_STREQ(error.what(), message);
    } catch (const vek::IntegerUnderflowError& error) {
        EXPECT_TRUE((std::is_same_v<Error, vek::IntegerUnderflowError>)) << error.what();
        EXPECT_STREQ(error.what(), message);
    } catch (const vek::BadNumericFormatError& error) {
        EXPECT_TRUE((std::is_same_v<Error, vek::BadNumericFormatError>)) << error.what();
        EXPECT_STREQ(error.what(), message);
    }
}

TEST(Numbers, UnsignedDecimal) {
    EXPECT_EQ(STRING("+17").toUnsigned(), 17u);
    EXPECT_EQ(STRING("17").toUnsigned(), 17u);
    EXPECT_EQ(STRING("0").toUnsigned(), 0u);
    EXPECT_EQ(STRING("").toUnsigned(), 0u);
    EXPECT_EQ(STRING("+").toUnsigned(), 0u);
    EXPECT_EQ(STRING("0004294967295").toUnsigned(), 4294967295u);
    expectExactly<vek::IntegerOverflowError>([] { STRING("4294967296").toUnsigned(); }, "Integer Overflow: 4294967296");
    expectExactly<vek::IntegerOverflowError>([] { STRING("99999999999999999999999").toUnsigned(); },
                                             "Integer Overflow: 99999999999999999999999");
    expectExactly<vek::BadNumericFormatError>([] { STRING("-0").toUnsigned(); }, "Bad Numeric Format: -0");
    expectExactly<vek::BadNumericFormatError>([] { STRING("-5").toUnsigned(); }, "Bad Numeric Format: -5");
    expectExactly<vek::BadNumericFormatError>([] { STRING("-").toUnsigned(); }, "Bad Numeric Format: -");
    expectExactly<vek::BadNumericFormatError>([] { STRING("12a").toUnsigned(); }, "Bad Numeric Format: 12a");
    expectExactly<vek::BadNumericFormatError>([] { STRING("++1").toUnsigned(); }, "Bad Numeric Format: ++1");
    expectExactly<vek::BadNumericFormatError>([] { STRING(" 1").toUnsigned(); }, "Bad Numeric Format: 1");
    expectExactly<vek::BadNumericFormatError>([] { STRING("1.0").toUnsigned(); }, "Bad Numeric Format: 1.0");
}

TEST(Numbers, SignedDecimal) {
    EXPECT_EQ(STRING("2147483647").toSigned(), 2147483647);
    EXPECT_EQ(STRING("+2147483647").toSigned(), 2147483647);
    EXPECT_EQ(STRING("-2147483648").toSigned(), INT32_MIN);
    EXPECT_EQ(STRING("-17").toSigned(), -17);
    EXPECT_EQ(STRING("-0").toSigned(), 0);
    EXPECT_EQ(STRING("").toSigned(), 0);
    EXPECT_EQ(STRING("-").toSigned(), 0);
    EXPECT_EQ(STRING("+").toSigned(), 0);
    expectExactly<vek::IntegerOverflowError>([] { STRING("2147483648").toSigned(); }, "Integer Overflow: 2147483648");
    expectExactly<vek::IntegerOverflowError>([] { STRING("4294967296").toSigned(); }, "Integer Overflow: 4294967296");
    expectExactly<vek::IntegerUnderflowError>([] { STRING("-2147483649").toSigned(); },
                                              "Integer Underflow: -2147483649");
    expectExactly<vek::IntegerUnderflowError>([] { STRING("-99999999999999999999").toSigned(); },
                                              "Integer Underflow: -99999999999999999999");
    expectExactly<vek::BadNumericFormatError>([] { STRING("1-").toSigned(); }, "Bad Numeric Format: 1-");
    expectExactly<vek::BadNumericFormatError>([] { STRING("12 ").toSigned(); }, "Bad Numeric Format: 12");
    expectExactly<vek::BadNumericFormatError>([] { STRING("1a").toSigned(); }, "Bad Numeric Format: 1a");
}

TEST(Numbers, SignedInOtherBases) {
    EXPECT_EQ(STRING("ff").toSigned(16), 255);
    EXPECT_EQ(STRING("FF").toSigned(16), 255);
    EXPECT_EQ(STRING("-7fffffff").toSigned(16), -2147483647);
    EXPECT_EQ(STRING("7FFFFFFF").toSigned(16), 2147483647);
    EXPECT_EQ(STRING("-80000000").toSigned(16), INT32_MIN);
    EXPECT_EQ(STRING("101").toSigned(2), 5);
    EXPECT_EQ(STRING("z").toSigned(36), 35);
    EXPECT_EQ(STRING("Zz").toSigned(36), 35 * 36 + 35);
    expectExactly<vek::IntegerOverflowError>([] { STRING("80000000").toSigned(16); }, "Integer Overflow: 80000000");
    expectExactly<vek::IntegerUnderflowError>([] { STRING("-80000001").toSigned(16); },
                                              "Integer Underflow: -80000001");
    expectExactly<vek::BadNumericFormatError>([] { STRING("102").toSigned(2); }, "Bad Numeric Format: 102");
    expectExactly<vek::BadNumericFormatError>([] { STRING("g").toSigned(16); }, "Bad Numeric Format: g");
    expectExactly<vek::BadNumericFormatError>([] { STRING("\xE4").toSigned(36); }, "Bad Numeric Format: \xE4");
    EXPECT_THROW(STRING("1").toSigned(1), vek::MathError);
    EXPECT_THROW(STRING("1").toSigned(37), vek::MathError);
    try {
        STRING("1").toSigned(37);
    } catch (const vek::MathError& error) {
        EXPECT_STREQ(error.what(), "Invalid Number Base: 37");
    }
}

TEST(Numbers, Byte) {
    EXPECT_EQ(STRING("255").toByte(), 255);
    EXPECT_EQ(STRING("+0").toByte(), 0);
    EXPECT_EQ(STRING("").toByte(), 0);
    expectExactly<vek::IntegerOverflowError>([] { STRING("256").toByte(); }, "Integer Overflow: 256");
    expectExactly<vek::IntegerOverflowError>([] { STRING("300").toByte(); }, "Integer Overflow: 300");
    expectExactly<vek::IntegerOverflowError>([] { STRING("4294967296").toByte(); }, "Integer Overflow: 4294967296");
    expectExactly<vek::BadNumericFormatError>([] { STRING("-1").toByte(); }, "Bad Numeric Format: -1");
}

TEST(Numbers, ErrorsAreCaughtAsTheirBases) {
    expectError<vek::BadNumericFormatError>([] { STRING("256").toByte(); }, "Integer Overflow: 256");
    expectError<vek::MathError>([] { STRING("-2147483649").toSigned(); }, "Integer Underflow: -2147483649");
    expectError<vek::LibraryException>([] { STRING("x").toUnsigned(); }, "Bad Numeric Format: x");
    expectError<std::exception>([] { STRING("4294967296").toUnsigned(); }, "Integer Overflow: 4294967296");
}

TEST(Numbers, FromNumber) {
    EXPECT_EQ(bytes(STRING::fromNumber(0)), "0");
    EXPECT_EQ(bytes(STRING::fromNumber(42)), "42");
    EXPECT_EQ(bytes(STRING::fromNumber(-7)), "-7");
    EXPECT_EQ(bytes(STRING::fromNumber(LLONG_MAX)), "9223372036854775807");
    EXPECT_EQ(bytes(STRING::fromNumber(LLONG_MIN)), "-9223372036854775808");
    EXPECT_EQ(STRING::fromNumber(-2147483648LL).toSigned(), INT32_MIN);
}

// ---------------------------------------------------------------------------------------------
// Files

std::filesystem::path tempFile(const char* name) { return std::filesystem::temp_directory_path() / name; }

TEST(ReadFromFile, ReadsTheWholeFileInBinaryMode) {
    const auto path = tempFile("vek_foundation_read_test.bin");
    std::string content("line 1\r\nW\xE4hlen\0end", 19);
    content += std::string(70000, 'z');  // more than one piece
    {
        std::ofstream out(path, std::ios::binary);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
    }
    STRING text("old content");
    text.readFromFile(path.string().c_str());
    EXPECT_EQ(text.getLength(), content.size());
    EXPECT_EQ(bytes(text), content);
    EXPECT_EQ(text.getCharset(), vek::csWINDOWS);
    std::filesystem::remove(path);
}

TEST(ReadFromFile, EmptyFile) {
    const auto path = tempFile("vek_foundation_empty_test.txt");
    { std::ofstream out(path, std::ios::binary); }
    STRING text("old");
    text.readFromFile(path.string().c_str());
    EXPECT_TRUE(text.isEmpty());
    std::filesystem::remove(path);
}

TEST(ReadFromFile, MissingFileRaisesOpenReadErrorWithTheCause) {
    const auto path = tempFile("vek_no_such_file_here.gui");
    std::filesystem::remove(path);
    const std::string name = path.string();
    STRING text("kept");
    try {
        text.readFromFile(name.c_str());
        FAIL() << "no exception";
    } catch (const vek::OpenReadError& error) {
        const std::string expected =
            "File Open For Read Failed: " + name + ": Caused by: " + std::strerror(ENOENT);
        EXPECT_EQ(std::string(error.what()), expected);
    }
    EXPECT_EQ(bytes(text), "kept");
}

}  // namespace
