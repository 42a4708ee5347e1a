#pragma once
// The chess program's one main window: owns the game, draws the board right of the side panel,
// takes the player's moves by mouse, shows clocks, evaluation and move list, and starts the
// engine thread after each player move. Main thread only, except where noted.

#include <atomic>
#include <cstdint>

#include "app/board_geometry.h"
#include "app/board_snapshot.h"
#include "app/chess_form.h"
#include "app/clock_display.h"
#include "app/engine_thread.h"
#include "app/game_files.h"
#include "app/move_input.h"
#include "chess/board.h"
#include "foundation/shared_object.h"

class ChessMainWindow : public winlibGUI::ChessFORM_form {
public:
    // Restores the last game from the game file (a new game when there is none).
    ChessMainWindow();
    // Stops a running engine and waits for it before the board goes.
    ~ChessMainWindow() override;

    winlib::ProcessStatus handleCreate() override;
    winlib::ProcessStatus handleRepaint(winlib::Device& device) override;
    winlib::ProcessStatus handleEditChange(int id) override;
    winlib::ProcessStatus handleButtonClick(int id) override;
    winlib::ProcessStatus handleLeftButton(UINT message, WPARAM modifiers, winlib::Point point) override;
    winlib::ProcessStatus handleResize(winlib::Size size) override;
    void handleTimer() override;
    void handleAsyncTaskEnd(LPARAM data) override;
    // WM_GETMINMAXINFO: the window is never made smaller than the side panel and a small board.
    // WM_DPICHANGED: the window moved to a screen of other scaling (handleDpiChange).
    winlib::ProcessStatus handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Lays the window out anew for dpi in the frame the system suggests: panel and controls,
    // font, board and the smallest size.
    void handleDpiChange(int dpi, const RECT& frame);

    // What keeps the window as built from its form from being used: invisible, too small for
    // the side panel and a board, or a control it uses outside its client area or hidden; ""
    // when it is usable. Asked before the window is shown.
    vek::STRING unusableLayout() const;

    // The search depth; read by the engine thread when its task starts.
    std::int32_t getDepth() const { return depth_.load(std::memory_order_acquire); }
    // The game; the engine thread works on it while it runs, the window reads it only when the
    // engine is idle.
    vek::chess::Board& engineBoard() { return board_; }
    const vek::chess::Board& getBoard() const { return board_; }
    // The game file names; the engine thread alone uses them once the window exists.
    chessapp::GameFiles& engineGameFiles() { return files_; }

    bool isEngineRunning() const { return static_cast<bool>(engineThread_); }
    const chessapp::BoardGeometry& getGeometry() const { return geometry_; }
    // What the next engine threads run (chessapp::runEngineTask unless a test replaces it).
    void setEngineTask(EngineThread::Task task) { engineTask_ = task; }

private:
    // Evaluation and status label, and the moves not yet in the move list.
    void updatePanel();
    // Freezes the view, keeps a copy of the board, and starts a new engine thread on the board;
    // enables "Stop" and shows the thinking state in the caption.
    void startEngine();
    // The captions while the engine thinks: how far the search is, and in the window's caption
    // how long it has taken.
    void showThinking();
    // A message box owned by this window.
    void showMessage(const vek::STRING& text) const;
    // After an accepted player move: hide the promotion panel, update the panel, start the engine.
    void afterPlayerMove();
    void restartGame();
    void turnBoard();
    chessapp::PromotionPanel promotionPanel() const;
    // Hiding the panel gives the focus back to the control that had it before the panel showed,
    // but only when the focus is in the panel: one the player has moved elsewhere stays there.
    void showPromotionPanel(bool visible);
    // The panel itself or one of its figures.
    bool isInPromotionPanel(HWND window) const;
    void paintBoard(winlib::Device& device, const chessapp::BoardSnapshot& snapshot) const;
    // Tab stops: depth field, "Neustart", "Drehen", "Stop", the promotion figures as one group
    // and the move list; no stop at the labels and clocks.
    void arrangeTabOrder();
    // The stored depth setting (default 1) into the depth field.
    void loadStoredDepth();
    // An edit of the depth field: a number becomes the depth and is stored; anything else is
    // reported (once until the field holds a number again) and changes nothing.
    void takeDepth(const vek::STRING& text);
    // The controls the window uses, with "Neustart" and "Drehen" where the form has them.
    std::vector<std::pair<const winlib::BasicWindow*, const char*>> placedControls() const;
    // The client size that holds the whole side panel, as the form placed it, and the smallest board.
    winlib::Size measureMinimumClientSize() const;

    // Set at the end of handleCreate, which ends early when the form lacks a control the window
    // uses: until then no handler touches the controls, and edits of the depth field are not stored.
    bool initialized_ = false;
    bool depthInvalid_ = false;  // the depth field's text is no number, and that has been said
    bool saveFailureTold_ = false;  // a failed save has been reported this run
    chessapp::BoardGeometry geometry_;
    winlib::Size minimumClient_;  // measured once the form is built
    std::atomic<std::int32_t> depth_{1};
    vek::chess::Board board_;
    vek::chess::Board beforeEngine_;  // the board when the engine started, put back if it fails
    std::atomic<std::uint32_t> rootMovesScored_{0};  // raised by the engine's root search
    std::uint32_t rootMoveCount_ = 0;                // the root moves of the running search
    std::int32_t engineStartTick_ = 0;
    vek::STRING idleCaption_;      // the window's and the "Stop" button's captions while the
    vek::STRING idleStopCaption_;  // engine is idle
    chessapp::ClockDisplay clocks_;
    EngineThread::Task engineTask_ = chessapp::runEngineTask;
    chessapp::MoveInput input_{board_};
    chessapp::GameFiles files_;
    chessapp::BoardViewSource view_;
    HWND focusBeforePanel_ = nullptr;  // the focused control when the promotion panel showed
    vek::SharedRef<EngineThread> engineThread_;  // set while the engine thinks
};
