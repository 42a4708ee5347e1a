#include "app/chess_form.h"

#include <utility>

#include "winlib/form_loader.h"

namespace winlibGUI {

int ChessFORM_form::create(winlib::BasicWindow* parent, FormShowing showing) {
    return createForm(*this, "ChessFORM", parent, showing);
}

void ChessFORM_form::getControls() {
    DepthEdt = findControl<winlib::EditControl>(*this, 129);
    EvalLABEL = findControl<winlib::Label>(*this, 130);
    WhiteClk = findControl<winlib::DateTimePicker>(*this, 131);
    BlackClk = findControl<winlib::DateTimePicker>(*this, 132);
    RestartBtn = findControl<winlib::PushButton>(*this, 133);
    TurnBtn = findControl<winlib::PushButton>(*this, 134);
    StopBtn = findControl<winlib::PushButton>(*this, 135);
    BishopBtn = findControl<winlib::RadioButton>(*this, 136);
    KnightBtn = findControl<winlib::RadioButton>(*this, 137);
    RookBtn = findControl<winlib::RadioButton>(*this, 138);
    QueenBtn = findControl<winlib::RadioButton>(*this, 139);
    PromotionList = findControl<winlib::FrameChild>(*this, 140);
    MovesBOX = findControl<winlib::ListBox>(*this, 141);
    ControlCHILD = findControl<winlib::FrameChild>(*this, 142);
}

std::vector<std::pair<const winlib::BasicWindow*, const char*>> ChessFORM_form::usedControls() const {
    return {{ControlCHILD, "ControlCHILD"}, {DepthEdt, "DepthEdt"},   {EvalLABEL, "EvalLABEL"},
            {WhiteClk, "WhiteClk"},         {BlackClk, "BlackClk"},   {StopBtn, "StopBtn"},
            {BishopBtn, "BishopBtn"},       {KnightBtn, "KnightBtn"}, {RookBtn, "RookBtn"},
            {QueenBtn, "QueenBtn"},         {PromotionList, "PromotionList"}, {MovesBOX, "MovesBOX"}};
}

vek::STRING ChessFORM_form::missingControls() const {
    vek::STRING missing;
    for (const auto& [control, name] : usedControls()) {
        if (control != nullptr)
            continue;
        if (!missing.isEmpty())
            missing += ", ";
        missing += name;
    }
    return missing;
}

}  // namespace winlibGUI
