#pragma once
// Writing the saved position: the game file is replaced in one step, its new content forced onto
// the disk first, so that a crash, a power cut or a full disk in the middle of a save leaves the
// previous position intact; the numbered copies are written directly. Each result says whether
// the file was written and, if not, why. Each call works on its own files; calls for the same
// file must not overlap.

#include <cstdio>

#include "app/game_files.h"
#include "foundation/string.h"

namespace chessapp {

// Why a file could not be written.
enum WriteFault {
    wfNONE,             // written
    wfNO_ACCESS,        // the file or its folder is write-protected
    wfFOLDER_IN_PLACE,  // a folder has the file's name
    wfNO_FOLDER,        // the folder does not exist
    wfDISK_FULL,
    wfOTHER,
};

// The two steps of a replacement that only the platform can take. Each answers 0 or an errno
// value. Tests record them in place of the platform's.
struct DiskSteps {
    // Forces what has been written to `file` (its C buffer already flushed) onto the disk.
    int (*flushToDisk)(std::FILE* file);
    // Moves `from` over `to`, replacing it in one step, and returns once the move is on the disk.
    int (*moveReplacing)(const vek::STRING& from, const vek::STRING& to);
};

// fsync and rename, or FlushFileBuffers and MoveFileEx with write-through.
const DiskSteps& platformDiskSteps();

// Creates or truncates the file and writes the text in one binary write.
WriteFault writeWholeFile(const vek::STRING& path, const vek::STRING& text);

// Writes the text to a temporary file beside `path`, forces it onto the disk and moves it over
// `path`; on failure the temporary file is removed and `path` is left as it was.
WriteFault replaceFile(const vek::STRING& path, const vek::STRING& text,
                       const DiskSteps& steps = platformDiskSteps());

// Saves the text as the game file and as the next numbered copy; an empty text saves nothing.
// The answer is the game file's: a numbered copy that fails loses no game.
WriteFault saveGame(GameFiles& files, const vek::STRING& text);

}  // namespace chessapp
