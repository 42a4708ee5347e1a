#include "app/game_file_writer.h"

#include <windows.h>

namespace chessapp {

// Write-through: the call returns only once the move has reached the disk.
bool moveReplacing(const vek::STRING& from, const vek::STRING& to) {
    return MoveFileExA(from.getText(), to.getText(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace chessapp
