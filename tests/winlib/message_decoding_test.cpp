#include "winlib/message_decoding.h"

#include <gtest/gtest.h>

namespace {

using namespace winlib;

constexpr unsigned kKeyDown = 0x100, kKeyUp = 0x101, kChar = 0x102, kSysKeyDown = 0x104, kSysKeyUp = 0x105;
constexpr unsigned kMouseMove = 0x200, kLeftDown = 0x201, kRightUp = 0x205, kPaint = 0x0F;

TEST(MessageDecoding, PointsAndSizesAreUnsignedWords) {
    const Point point = decodePoint(0x00C80064);
    EXPECT_EQ(point.x, 100);
    EXPECT_EQ(point.y, 200);
    // Negative screen coordinates arrive as large unsigned words and stay so.
    const Point high = decodePoint(static_cast<std::intptr_t>(0xFFFFFFFEu));
    EXPECT_EQ(high.x, 0xFFFE);
    EXPECT_EQ(high.y, 0xFFFF);
    const Size size = decodeSize(0x01E00280);
    EXPECT_EQ(size.width, 640);
    EXPECT_EQ(size.height, 480);
    // Bits above the low 32 are no part of the point.
    const Point wide = decodePoint(static_cast<std::intptr_t>(0x1234000500000000ull | 0x00030004));
    EXPECT_EQ(wide.x, 4);
    EXPECT_EQ(wide.y, 3);
}

TEST(MessageDecoding, CommandsGoToTheirHandlers) {
    const CommandArguments command = decodeCommand(0x03000007);
    EXPECT_EQ(command.id, 7);
    EXPECT_EQ(command.code, 0x300);
    EXPECT_EQ(decodeCommand(0xFFFF).id, 0xFFFF);

    EXPECT_EQ(routeCommand(0, false), crCOMMAND);  // menu: whatever the code
    EXPECT_EQ(routeCommand(1, false), crCOMMAND);
    EXPECT_EQ(routeCommand(0, true), crBUTTON_CLICK);
    EXPECT_EQ(routeCommand(0x300, true), crEDIT_CHANGE);
    EXPECT_EQ(routeCommand(5, true), crEDIT_CHANGE);
    EXPECT_EQ(routeCommand(1, true), crSELECTION_CHANGED);
    EXPECT_EQ(routeCommand(0x100, true), crNOTIFICATION);  // EN_SETFOCUS
    EXPECT_EQ(routeCommand(2, true), crNOTIFICATION);
}

TEST(MessageDecoding, OnlyTimerOneIsTheWindowsTimer) {
    EXPECT_EQ(routeTimer(1), trWINDOW);
    EXPECT_EQ(routeTimer(2), trHELP);
    EXPECT_EQ(routeTimer(3), trNONE);
    EXPECT_EQ(routeTimer(0), trNONE);
}

TEST(MessageDecoding, StatusActionsDropParentMessagesWithoutParent) {
    EXPECT_EQ(actionForStatus(psPROCESSED, true), saRETURN_RESULT);
    EXPECT_EQ(actionForStatus(psDO_DEFAULT, false), saCALL_DEFAULT);
    EXPECT_EQ(actionForStatus(psSEND_TO_PARENT, true), saSEND_TO_PARENT);
    EXPECT_EQ(actionForStatus(psSEND_TO_PARENT, false), saRETURN_RESULT);
    EXPECT_EQ(actionForStatus(psPOST_TO_PARENT, true), saPOST_TO_PARENT);
    EXPECT_EQ(actionForStatus(psPOST_TO_PARENT, false), saRETURN_RESULT);
    EXPECT_EQ(actionForStatus(static_cast<ProcessStatus>(9), true), saCALL_DEFAULT);
}

TEST(MessageDecoding, ModifierKeysFollowKeyAndMouseMessages) {
    ModifierKeys keys;
    keys.trackKeys(kKeyDown, 16, 0);
    keys.trackKeys(kSysKeyDown, 18, 0);
    keys.trackKeys(kKeyDown, 17, 0);
    EXPECT_TRUE(keys.shift && keys.alt && keys.ctrl);
    keys.trackKeys(kKeyUp, 16, 0);
    keys.trackKeys(kSysKeyUp, 18, 0);
    EXPECT_FALSE(keys.shift);
    EXPECT_FALSE(keys.alt);
    EXPECT_TRUE(keys.ctrl);
    keys.trackKeys(kChar, 'a', std::intptr_t{1} << 29);
    EXPECT_TRUE(keys.alt);
    keys.trackKeys(kChar, 'a', 0);
    EXPECT_FALSE(keys.alt);
    keys.trackKeys(kKeyDown, 'A', 0);  // other keys change nothing
    keys.trackKeys(kPaint, 16, 0);
    EXPECT_TRUE(keys.ctrl);
    EXPECT_FALSE(keys.shift);

    keys.trackMouse(kLeftDown, 4);
    EXPECT_TRUE(keys.shift);
    EXPECT_FALSE(keys.ctrl);
    keys.trackMouse(kMouseMove, 8);
    EXPECT_TRUE(keys.ctrl);
    EXPECT_FALSE(keys.shift);
    keys.trackMouse(kPaint, 0);  // not a mouse message
    EXPECT_TRUE(keys.ctrl);
    keys.trackMouse(kRightUp, 0);
    EXPECT_FALSE(keys.ctrl);
}

}  // namespace
