// The side panel: evaluation label, move list, clocks, depth field and buttons.
#include "app/chess_main_window.h"

#include <cstddef>

#include "app/panel_text.h"
#include "app/settings.h"
#include "app/user_messages.h"
#include "foundation/exceptions.h"
#include "winlib/application.h"

namespace {

constexpr int kDepthEditId = 129;
constexpr int kRestartButtonId = 133;
constexpr int kTurnButtonId = 134;
constexpr int kStopButtonId = 135;

// The move list box as the move list writer sees it.
class ListBoxLines : public chessapp::MoveListLines {
public:
    explicit ListBoxLines(winlib::ListBox& box) : box_(box) {}

    std::size_t lineCount() const override { return static_cast<std::size_t>(box_.getCount()); }
    vek::STRING line(std::size_t index) const override { return box_.getEntry(static_cast<int>(index)); }
    void replaceLine(std::size_t index, const vek::STRING& text) override {
        box_.replaceEntry(static_cast<int>(index), text);
    }
    void addLine(const vek::STRING& text) override { box_.addEntry(text); }

private:
    winlib::ListBox& box_;
};

}  // namespace

void ChessMainWindow::updatePanel() {
    clocks_.follow(vek::chess::isGameRunning(board_.state()), board_.tick());
    EvalLABEL->setText(chessapp::evaluationText(board_));
    EvalLABEL->invalidate();
    // As wide as the new text, up to the board: a long end-of-game text gets a narrower font.
    EvalLABEL->fitText(ControlCHILD->getClientSize().width - EvalLABEL->getX());
    ListBoxLines lines(*MovesBOX);
    const std::int64_t lastWritten = MovesBOX->getUserValue();
    const std::int64_t written = chessapp::writeNewMoves(board_, lastWritten, lines);
    if (written != lastWritten) {
        MovesBOX->setUserValue(static_cast<int>(written));
        MovesBOX->ensureVisible(MovesBOX->getCount() - 1);
    }
}

void ChessMainWindow::handleTimer() {
    // While the engine runs, the copy frozen at its start: its clock keeps running there.
    const chessapp::BoardSnapshot shown = view_.current(board_, input_.selectedFigure());
    const std::int32_t now = clocks_.readingTick(board_.tick());
    WhiteClk->setTime(shown.whiteClock.shown(now));
    BlackClk->setTime(shown.blackClock.shown(now));
    if (isEngineRunning())
        showThinking();
}

winlib::ProcessStatus ChessMainWindow::handleEditChange(int id) {
    if (id == kDepthEditId && initialized_)
        takeDepth(DepthEdt->getText());
    return winlib::psSEND_TO_PARENT;
}

void ChessMainWindow::takeDepth(const vek::STRING& text) {
    std::int32_t depth = 0;
    try {
        depth = text.toSigned(10);
    } catch (const vek::BadNumericFormatError&) {
        // The old depth stays. Said once when the field turns invalid, not at every key that
        // keeps it so: the message would interrupt the typing again and again.
        if (!depthInvalid_) {
            depthInvalid_ = true;
            showMessage(chessapp::invalidDepthMessage(text, getDepth()));
        }
        return;
    }
    depthInvalid_ = false;
    depth_.store(depth, std::memory_order_release);
    winlib::Application& application = *winlib::Application::getInstance();
    storeDepth(application.getVendorName(), application.getApplicationName(), depth);
}

winlib::ProcessStatus ChessMainWindow::handleButtonClick(int id) {
    if (!initialized_)
        return handleCommand(id);
    switch (id) {
    case kRestartButtonId:
        if (!isEngineRunning())
            restartGame();
        return winlib::psPROCESSED;
    case kTurnButtonId:
        if (!isEngineRunning())
            turnBoard();
        return winlib::psPROCESSED;
    case kStopButtonId:
        if (isEngineRunning())
            engineThread_->StopThread();
        break;
    default:
        break;
    }
    return handleCommand(id);
}

void ChessMainWindow::restartGame() {
    // The new game deletes every figure: the selection must not outlive them.
    input_.startNewGame();
    showPromotionPanel(false);
    MovesBOX->setUserValue(-1);
    MovesBOX->clearEntries();
    updatePanel();
    invalidate();
}

void ChessMainWindow::turnBoard() {
    geometry_.turned = !geometry_.turned;
    startEngine();
    invalidate();
}
