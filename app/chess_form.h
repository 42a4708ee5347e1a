#pragma once
// The form class of the form "ChessFORM": the main window's frame with one member per named
// control of the form. The framework owns every window of the form; the members only point at
// them. Main thread only.

#include <utility>
#include <vector>

#include "winlib/child_window.h"
#include "winlib/controls.h"
#include "winlib/form_loader.h"
#include "winlib/overlapped_window.h"

namespace winlibGUI {

class ChessFORM_form : public winlib::OverlappedWindow {
public:
    ChessFORM_form() = default;

    // Builds the window and its controls from the form "ChessFORM": 0 success, 1 failure.
    int create(winlib::BasicWindow* parent, FormShowing showing = fsWHEN_BUILT);
    // Binds each member to the window with its id; a control the definition lacks stays null.
    void getControls() override;
    // The names of the controls that the main window uses and the form lacks (or has as
    // another class), comma-separated; "" when none is missing. "Neustart" and "Drehen" are
    // known by their ids alone and may be missing.
    vek::STRING missingControls() const;
    // The controls that the main window uses, with their names, the side panel's frame first;
    // a control the form lacks is null.
    std::vector<std::pair<const winlib::BasicWindow*, const char*>> usedControls() const;

    winlib::EditControl* DepthEdt = nullptr;         // 129
    winlib::Label* EvalLABEL = nullptr;              // 130
    winlib::DateTimePicker* WhiteClk = nullptr;      // 131
    winlib::DateTimePicker* BlackClk = nullptr;      // 132
    winlib::PushButton* RestartBtn = nullptr;        // 133
    winlib::PushButton* TurnBtn = nullptr;           // 134
    winlib::PushButton* StopBtn = nullptr;           // 135
    winlib::RadioButton* BishopBtn = nullptr;        // 136
    winlib::RadioButton* KnightBtn = nullptr;        // 137
    winlib::RadioButton* RookBtn = nullptr;          // 138
    winlib::RadioButton* QueenBtn = nullptr;         // 139
    winlib::FrameChild* PromotionList = nullptr;     // 140
    winlib::ListBox* MovesBOX = nullptr;             // 141
    winlib::FrameChild* ControlCHILD = nullptr;      // 142
};

}  // namespace winlibGUI
