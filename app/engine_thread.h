#pragma once
// The engine's turn on a thread of its own, so that the window stays responsive while it
// thinks. One object per engine move: it searches on the window's board, plays its move,
// saves the position and then posts WM_ASYNC_TASK_END (data: the board's address) to the window.

#include <atomic>
#include <cstdint>

#include "app/engine_move.h"
#include "app/game_files.h"
#include "chess/board.h"
#include "winlib/async_thread.h"

class ChessMainWindow;

class EngineThread : public winlib::AsyncThread {
public:
    // What the thread runs: chessapp::runEngineTask, or a stand-in in tests.
    using Task = chessapp::EngineResult (*)(vek::chess::Board& board, std::int32_t depth,
                                            chessapp::GameFiles& files, const std::atomic<bool>& closing);

    // The window must outlive the thread (it stops and waits for it before its board goes),
    // and leaves its board alone until the end message has arrived.
    EngineThread(ChessMainWindow& window, Task task);

    // The window is closing: stop the search, and save nothing that it finds.
    void abandon();
    // How the task ended; read it after the end message. A task that threw counts as failed.
    chessapp::EngineOutcome getOutcome() const { return outcome_.load(std::memory_order_acquire); }
    // Why the game file could not be written (wfNONE: saved, or nothing to save); read it after
    // the end message. The thread only reports it: telling the player is the window's business.
    chessapp::WriteFault getSaveFault() const { return saveFault_.load(std::memory_order_acquire); }

    vek::chess::Board* const board;        // the window's game; not owned
    ChessMainWindow* const mainWindow;     // read for the depth and the game files; not owned

protected:
    // Reads the window's depth once, then searches, plays and saves (engine thread).
    void ExecuteTask() override;

private:
    const Task task_;
    std::atomic<bool> closing_{false};
    std::atomic<chessapp::WriteFault> saveFault_{chessapp::wfNONE};
    std::atomic<chessapp::EngineOutcome> outcome_{chessapp::eoFAILED};
};
