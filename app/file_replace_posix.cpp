#include "app/game_file_writer.h"

#include <cstdio>

namespace chessapp {

// rename replaces an existing target atomically on POSIX systems.
bool moveReplacing(const vek::STRING& from, const vek::STRING& to) {
    return std::rename(from.getText(), to.getText()) == 0;
}

}  // namespace chessapp
