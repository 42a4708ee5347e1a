#include "app/engine_thread.h"

#include "app/chess_main_window.h"

EngineThread::EngineThread(ChessMainWindow& window, Task task)
    : winlib::AsyncThread(&window, reinterpret_cast<LPARAM>(&window.engineBoard())),
      board(&window.engineBoard()),
      mainWindow(&window),
      task_(task) {}

void EngineThread::abandon() {
    closing_.store(true, std::memory_order_release);
    StopThread();
}

void EngineThread::ExecuteTask() {
    try {
        const chessapp::EngineResult result =
            task_(*board, mainWindow->getDepth(), mainWindow->engineGameFiles(), closing_);
        saveFault_.store(result.saveFault, std::memory_order_release);
        outcome_.store(result.outcome, std::memory_order_release);
    } catch (...) {
        // The window learns of it from the outcome and puts its board back; the end message
        // follows as after any task.
        outcome_.store(chessapp::eoFAILED, std::memory_order_release);
    }
}
