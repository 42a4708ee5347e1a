#pragma once
// Writing the saved position: the game file is replaced in one step, so that a crash or a full
// disk in the middle of a write leaves the previous position intact; the numbered copies are
// written directly. Failures are silent (the result says whether the file was written).
// Each call works on its own files; calls for the same file must not overlap.

#include "app/game_files.h"
#include "foundation/string.h"

namespace chessapp {

// Creates or truncates the file and writes the text in one binary write; false when the file
// could not be opened or not be written completely.
bool writeWholeFile(const vek::STRING& path, const vek::STRING& text);

// Writes the text to a temporary file beside `path` and moves it over `path`; on failure the
// temporary file is removed and `path` is left as it was.
bool replaceFile(const vek::STRING& path, const vek::STRING& text);

// Moves `from` over `to`, replacing it in one step; false on failure. Platform code.
bool moveReplacing(const vek::STRING& from, const vek::STRING& to);

// Saves the text as the game file and as the next numbered copy; an empty text saves nothing.
void saveGame(GameFiles& files, const vek::STRING& text);

}  // namespace chessapp
