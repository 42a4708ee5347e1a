// The built-in GUI definition and the form class built from it.
#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

#include "../xml/chess_form_definition.h"
#include "app/chess_form.h"
#include "app/chess_form_definition.h"
#include "app_window_test_support.h"

namespace chessapp::testing {
namespace {

std::uint32_t fnv1a(std::string_view bytes) {
    std::uint32_t hash = 2166136261u;
    for (const unsigned char byte : bytes) {
        hash ^= byte;
        hash *= 16777619u;
    }
    return hash;
}

TEST(ChessFormDefinitionTest, IsTheFormTextByteForByte) {
    const std::string_view text = chessFormDefinition();
    EXPECT_EQ(text.size(), 2912u);
    EXPECT_EQ(fnv1a(text), 0x50347759u);
    // The copy the XML parser's tests read.
    EXPECT_EQ(text, vek::xml::testing::kChessFormDefinition);
    EXPECT_EQ(text.find('\r'), std::string_view::npos);
    EXPECT_NE(text.back(), '\n');
    EXPECT_NE(text.find("caption=\"L\xE4ufer\""), std::string_view::npos);
}

class FormWindow : public winlibGUI::ChessFORM_form {
public:
    int createCalls = 0;
    bool boundBeforeCreate = false;

    winlib::ProcessStatus handleCreate() override {
        ++createCalls;
        boundBeforeCreate = MovesBOX != nullptr && ControlCHILD != nullptr;
        return winlib::psDO_DEFAULT;
    }
};

TEST_F(WindowTest, TheFormBindsAllFourteenControls) {
    FormWindow form;
    ASSERT_EQ(form.create(nullptr), 0);
    EXPECT_EQ(form.createCalls, 1);
    EXPECT_TRUE(form.boundBeforeCreate);
    const std::vector<std::pair<const winlib::BasicWindow*, int>> members{
        {form.DepthEdt, 129},  {form.EvalLABEL, 130},  {form.WhiteClk, 131},      {form.BlackClk, 132},
        {form.RestartBtn, 133}, {form.TurnBtn, 134},   {form.StopBtn, 135},       {form.BishopBtn, 136},
        {form.KnightBtn, 137}, {form.RookBtn, 138},    {form.QueenBtn, 139},      {form.PromotionList, 140},
        {form.MovesBOX, 141},  {form.ControlCHILD, 142}};
    for (const auto& [member, id] : members) {
        ASSERT_NE(member, nullptr) << id;
        EXPECT_EQ(member->getId(), id);
        EXPECT_TRUE(member->hasLiveHandle()) << id;
    }
    EXPECT_FALSE(form.PromotionList->isVisible());
    EXPECT_EQ(form.BishopBtn->getParent(), form.PromotionList);
    EXPECT_STREQ(form.BishopBtn->getText().getText(), "L\xE4ufer");
    EXPECT_EQ(form.ControlCHILD->getClientSize().width, 280);
    EXPECT_STREQ(form.getText().getText(), "Chess");
}

}  // namespace
}  // namespace chessapp::testing
