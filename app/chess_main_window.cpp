#include "app/chess_main_window.h"

#include <cstdlib>

#include "app/settings.h"
#include "winlib/application.h"

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
}

ChessMainWindow::~ChessMainWindow() {
    if (!engineThread_)
        return;
    engineThread_->StopThread();
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
    MovesBOX->setUserValue(-1);
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
    view_.freeze(board_, input_.selectedFigure());
    engineThread_ = vek::SharedRef<EngineThread>(new EngineThread(*this));
    try {
        engineThread_->StartThread(vek::STRING());
    } catch (...) {
        // No thread runs: unlock the board again before the error is reported.
        engineThread_.reset();
        view_.thaw();
        throw;
    }
    StopBtn->enable(true);
}

void ChessMainWindow::afterPlayerMove() {
    showPromotionPanel(false);
    updatePanel();
    startEngine();
}

void ChessMainWindow::handleAsyncTaskEnd(LPARAM) {
    if (!engineThread_)
        return;  // not from a thread of ours
    updatePanel();
    engineThread_.reset();
    StopBtn->enable(false);
    view_.thaw();
    invalidate();
}
