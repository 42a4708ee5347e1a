#include "app/chess_main_window.h"

#include <cstdlib>

#include "app/panel_text.h"
#include "app/settings.h"
#include "app/user_messages.h"
#include "winlib/application.h"
#include "winlib/error_report.h"

namespace {

// A stopped search scores its remaining moves by the evaluation alone and ends within moments;
// one that has not ended after this long is hung.
constexpr std::uint32_t kEngineStopWaitMs = 120000;

constexpr UINT kClockPeriodMs = 1000;
constexpr const char* kClockFormat = "HH':'mm':'ss";

}  // namespace

ChessMainWindow::ChessMainWindow() {
    // The name is computed here, before any engine thread exists; the thread only reads it.
    chessapp::restoreGame(board_, files_.gameFileName());
    board_.setRootProgress(&rootMovesScored_);
}

ChessMainWindow::~ChessMainWindow() {
    if (!engineThread_)
        return;
    // Closing writes nothing: the hurried move of a stopped search is not saved.
    engineThread_->abandon();
    // Freeing the board under a running search would be worse than ending the program.
    if (!engineThread_->waitUntilFinished(kEngineStopWaitMs))
        std::abort();
    engineThread_.reset();
}

winlib::ProcessStatus ChessMainWindow::handleCreate() {
    // A replacement GUI file may lack controls: then the window stays unusable, and the
    // application reports the file and builds the window again from its own definition.
    if (!missingControls().isEmpty())
        return winlib::psDO_DEFAULT;
    geometry_.boardLeft = ControlCHILD->getClientSize().width;
    minimumClient_ = measureMinimumClientSize();
    MovesBOX->setUserValue(-1);
    arrangeTabOrder();
    showPromotionPanel(false);
    // initialized_ is still false: the edit's change notifications store nothing here.
    DepthEdt->setText(vek::STRING::fromNumber(getDepth()));
    StopBtn->enable(false);
    // Thinking time, not a time of day: 24 hours and seconds whatever the locale's clock shows.
    WhiteClk->setFormat(kClockFormat);
    BlackClk->setFormat(kClockFormat);
    updatePanel();
    startTimer(kClockPeriodMs);
    loadStoredDepth();
    initialized_ = true;
    return winlib::psDO_DEFAULT;
}

void ChessMainWindow::arrangeTabOrder() {
    // The clocks only show the time: no stop for them (nor for the labels, which the framework
    // never stops at).
    for (winlib::DateTimePicker* clock : {WhiteClk, BlackClk})
        clock->setStyle(clock->getStyle() & ~static_cast<DWORD>(WS_TABSTOP));
    // The promotion figures are one choice: one stop, the arrow keys move within the group.
    bool first = true;
    for (winlib::BasicWindow* figure : {BishopBtn, KnightBtn, RookBtn, QueenBtn}) {
        const DWORD flags = WS_TABSTOP | WS_GROUP;
        figure->setStyle(first ? (figure->getStyle() | flags) : (figure->getStyle() & ~flags));
        first = false;
    }
}

void ChessMainWindow::loadStoredDepth() {
    winlib::Application& application = *winlib::Application::getInstance();
    depth_.store(readRegistryInt(application.getVendorName(), application.getApplicationName(), vek::STRING(),
                                 "depth", 1),
                 std::memory_order_release);
    DepthEdt->setText(vek::STRING::fromNumber(getDepth()));
}

winlib::ProcessStatus ChessMainWindow::handleResize(winlib::Size size) {
    // The side panel keeps the size the form gave it: no layout here, only the board's squares.
    geometry_.squareSize = chessapp::squareSizeFor(size.width, size.height, geometry_.boardLeft);
    invalidate();
    return winlib::psPROCESSED;
}

void ChessMainWindow::startEngine() {
    // The search makes and takes back trial moves on the board: paint from a copy meanwhile.
    beforeEngine_.copyFrom(board_);
    view_.freeze(board_, input_.selectedFigure());
    rootMoveCount_ = chessapp::rootMoveCount(board_);
    rootMovesScored_.store(0, std::memory_order_relaxed);
    engineStartTick_ = board_.tick();
    engineThread_ = vek::SharedRef<EngineThread>(new EngineThread(*this, engineTask_));
    try {
        engineThread_->StartThread(vek::STRING());
    } catch (...) {
        // No thread runs: unlock the board again before the error is reported.
        engineThread_.reset();
        view_.thaw();
        throw;
    }
    StopBtn->enable(true);
    idleCaption_ = getText();
    idleStopCaption_ = StopBtn->getText();
    showThinking();
}

void ChessMainWindow::showThinking() {
    const std::uint32_t scored = rootMovesScored_.load(std::memory_order_relaxed);
    setText(chessapp::thinkingCaption(idleCaption_, scored, rootMoveCount_, board_.tick() - engineStartTick_));
    StopBtn->setText(chessapp::thinkingButtonCaption(idleStopCaption_, scored, rootMoveCount_));
}

void ChessMainWindow::afterPlayerMove() {
    showPromotionPanel(false);
    updatePanel();
    startEngine();
}

void ChessMainWindow::handleAsyncTaskEnd(LPARAM) {
    if (!engineThread_)
        return;  // not from a thread of ours
    const bool failed = engineThread_->getOutcome() == chessapp::eoFAILED;
    const chessapp::WriteFault saveFault = engineThread_->getSaveFault();
    engineThread_.reset();
    if (failed) {
        // Whatever the failed task left on the board, the game goes on from where it was.
        input_.dropSelection();
        showPromotionPanel(false);
        board_.copyFrom(beforeEngine_);
        board_.refresh();
    }
    updatePanel();
    StopBtn->enable(false);  // a focused "Stop" hands the focus on first
    StopBtn->setText(idleStopCaption_);
    setText(idleCaption_);
    view_.thaw();
    invalidate();
    // The player may be in another program meanwhile: the taskbar button says it is their move.
    if (GetForegroundWindow() != getHandle()) {
        FLASHWINFO flash{sizeof(FLASHWINFO), getHandle(), FLASHW_ALL | FLASHW_TIMERNOFG, 0, 0};
        FlashWindowEx(&flash);
    }
    if (failed)
        showMessage(chessapp::engineFailedMessage());
    // Once a run: a folder that stays unwritable would otherwise bring a message every move.
    if (saveFault != chessapp::wfNONE && !saveFailureTold_) {
        saveFailureTold_ = true;
        showMessage(chessapp::saveFailedMessage(files_.gameFileName(), saveFault));
    }
}

void ChessMainWindow::showMessage(const vek::STRING& text) const {
    const vek::STRING shown = text.convertToCharset(vek::csUTF8);
    winlib::showMessage(winlib::UserMessage{getHandle(), shown.getText(), chessapp::kMessageCaption,
                                            MB_ICONWARNING | MB_OK});
}
