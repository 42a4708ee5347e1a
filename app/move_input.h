#pragma once
// Moving by two releases of the left mouse button: the first picks up a figure of the side to
// move, the second names its target. Accepted moves are played on the board as game moves; the
// caller shows or hides the promotion panel, updates the panel and starts the engine as the
// result of each click says. Used on the window thread only, and only while no engine thread
// works on the board.

#include <cstdint>
#include <optional>

#include "app/board_geometry.h"
#include "chess/board.h"

namespace chessapp {

// The promotion panel as the player has left it: whether it is shown and which of its radio
// buttons are checked.
struct PromotionPanel {
    bool visible = false;
    bool bishopChecked = false;
    bool knightChecked = false;
    bool rookChecked = false;
    bool queenChecked = false;

    // The figure kind to promote to: 0 while the panel is hidden, else the first checked button
    // in the order bishop, knight, rook, queen (0 when none is checked).
    std::int32_t choice() const;
};

// What the window does with the promotion panel after a click.
enum PanelAction { paKEEP, paSHOW, paHIDE };

struct ClickResult {
    bool handled = false;      // the click was on the board: answer "processed" and repaint
    PanelAction panel = paKEEP;
    bool movePlayed = false;   // a move was played: update the panel and start the engine
};

class MoveInput {
public:
    // Works on `board`, which must outlive this object.
    explicit MoveInput(vek::chess::Board& board) : board_(board) {}
    MoveInput(const MoveInput&) = delete;
    MoveInput& operator=(const MoveInput&) = delete;

    // The figure picked up, or none; not owning.
    vek::chess::Figure* selectedFigure() const { return selected_; }

    // A release of the left button at a client point; a point off the board (or no board at
    // all) is not handled.
    ClickResult release(const BoardGeometry& geometry, std::uint32_t x, std::uint32_t y, const PromotionPanel& panel);
    // A release on the board square `target`.
    ClickResult releaseOn(vek::chess::Square target, const PromotionPanel& panel);

    // Nothing picked up any more; the caller hides the promotion panel.
    void dropSelection() { selected_ = nullptr; }
    // Drops the selection, which would otherwise name a deleted figure, and sets up a new game;
    // the caller hides the promotion panel.
    void startNewGame();

private:
    ClickResult pickUp(vek::chess::Square target);
    ClickResult tryMove(vek::chess::Square target, const PromotionPanel& panel);
    // Plays the accepted move of the selected figure; false when nothing could be played.
    bool play(vek::chess::Square from, vek::chess::Square target, std::int32_t promotionKind, const PromotionPanel& panel);
    bool playCastling(vek::chess::Square target);

    vek::chess::Board& board_;
    vek::chess::Figure* selected_ = nullptr;
};

}  // namespace chessapp
