#pragma once
// The engine's turn on a thread of its own, so that the window stays responsive while it
// thinks. One object per engine move: it searches on the window's board, plays its move,
// saves the position and then posts WM_ASYNC_TASK_END (data: the board's address) to the window.

#include "chess/board.h"
#include "winlib/async_thread.h"

class ChessMainWindow;

class EngineThread : public winlib::AsyncThread {
public:
    // The window must outlive the thread (it stops and waits for it before its board goes),
    // and leaves its board alone until the end message has arrived.
    explicit EngineThread(ChessMainWindow& window);

    vek::chess::Board* const board;        // the window's game; not owned
    ChessMainWindow* const mainWindow;     // read for the depth and the game files; not owned

protected:
    // Reads the window's depth once, then searches, plays and saves (engine thread).
    void ExecuteTask() override;
};
