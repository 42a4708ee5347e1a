// Moves by mouse: two releases of the left button, and the promotion panel.
#include "app/chess_main_window.h"

#include <cstdint>

chessapp::PromotionPanel ChessMainWindow::promotionPanel() const {
    return chessapp::PromotionPanel{PromotionList->isVisible(), BishopBtn->isChecked(), KnightBtn->isChecked(),
                                    RookBtn->isChecked(), QueenBtn->isChecked()};
}

void ChessMainWindow::showPromotionPanel(bool visible) {
    const bool shown = PromotionList->isVisible();
    if (visible && !shown)
        focusBeforePanel_ = GetFocus();
    // A hidden panel would take a focus of its own out of sight, and the system would hand it
    // to some other control.
    const HWND focus = GetFocus();
    if (!visible && shown && focus != nullptr && isInPromotionPanel(focus) && focusBeforePanel_ != nullptr &&
        IsWindow(focusBeforePanel_) && IsWindowEnabled(focusBeforePanel_) && IsWindowVisible(focusBeforePanel_) &&
        !isInPromotionPanel(focusBeforePanel_))
        SetFocus(focusBeforePanel_);  // the control from before the choice takes the focus back
    PromotionList->show(visible);
}

bool ChessMainWindow::isInPromotionPanel(HWND window) const {
    const HWND panel = PromotionList->getHandle();
    return window == panel || IsChild(panel, window) != FALSE;
}

winlib::ProcessStatus ChessMainWindow::handleLeftButton(UINT message, WPARAM, winlib::Point point) {
    // Only the release acts, and never while the engine works on the board (nor in a window
    // whose form lacks controls).
    if (!initialized_ || isEngineRunning() || message != WM_LBUTTONUP)
        return winlib::psDO_DEFAULT;
    const chessapp::ClickResult click = input_.release(geometry_, static_cast<std::uint32_t>(point.x),
                                                       static_cast<std::uint32_t>(point.y), promotionPanel());
    if (!click.handled)
        return winlib::psDO_DEFAULT;
    if (click.panel != chessapp::paKEEP)
        showPromotionPanel(click.panel == chessapp::paSHOW);
    if (click.movePlayed)
        afterPlayerMove();
    invalidate();
    return winlib::psPROCESSED;
}
