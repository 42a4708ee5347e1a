#include "app/game_file_writer.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace chessapp {
namespace {

int flushToDisk(std::FILE* file) {
    return fsync(fileno(file)) == 0 ? 0 : errno;
}

// rename replaces an existing target atomically on POSIX systems.
int moveReplacing(const vek::STRING& from, const vek::STRING& to) {
    return std::rename(from.getText(), to.getText()) == 0 ? 0 : errno;
}

}  // namespace

const DiskSteps& platformDiskSteps() {
    static constexpr DiskSteps steps{flushToDisk, moveReplacing};
    return steps;
}

}  // namespace chessapp
