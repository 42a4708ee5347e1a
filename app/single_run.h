#pragma once
// One run per game folder. Two runs on the same temporary folder would save over each other's
// game and number their copies from 1 alike, so the last to move would silently win. The first
// run creates a small named shared memory block, named after the folder's full path, and puts its
// main window's handle there; a later start for the same folder finds the block, brings that
// window to the front and ends. The system removes the block with the last run that has it
// open. Runs on other folders do not meet. Main thread only.

#include <windows.h>

#include <cstdint>

#include "foundation/string.h"

namespace chessapp {

class SingleRun {
public:
    // Claims the folder of the game file for this run.
    explicit SingleRun(const vek::STRING& gameFolder);
    ~SingleRun();
    SingleRun(const SingleRun&) = delete;
    SingleRun& operator=(const SingleRun&) = delete;

    // False when another run holds the folder.
    bool isFirst() const { return first_; }
    // Makes window the one that a later start for the folder brings to the front.
    void publishWindow(HWND window) const;
    // Restores and brings to the front the window of the run that holds the folder, waiting up to
    // waitMs for it to be published (that run may still be starting); false when none was.
    bool activateFirst(std::uint32_t waitMs) const;

private:
    HANDLE block_ = nullptr;
    volatile LONG64* window_ = nullptr;  // the first run's window handle in the block; 0 until published
    bool first_ = true;
};

}  // namespace chessapp
