#include "app/engine_thread.h"

#include "app/chess_main_window.h"
#include "app/engine_move.h"

EngineThread::EngineThread(ChessMainWindow& window)
    : winlib::AsyncThread(&window, reinterpret_cast<LPARAM>(&window.engineBoard())),
      board(&window.engineBoard()),
      mainWindow(&window) {}

void EngineThread::ExecuteTask() {
    chessapp::runEngineTask(*board, mainWindow->getDepth(), mainWindow->engineGameFiles());
}
