#pragma once
// The program's own messages to the player, in German and in the Windows code page (the text
// of a message box). Portable: the window shows them.

#include <cstdint>

#include "app/game_file_writer.h"
#include "foundation/string.h"

namespace chessapp {

// The caption of every message of the program.
constexpr const char* kMessageCaption = "Schach";

// The depth field holds `text`, which is no 32-bit number; the depth stays `depth`.
vek::STRING invalidDepthMessage(const vek::STRING& text, std::int32_t depth);

// The replacement GUI file `fileName` cannot serve; `problem` says what is missing or wrong.
// The program goes on with its built-in definition.
vek::STRING damagedGuiFileMessage(const vek::STRING& fileName, const vek::STRING& problem);

// The problem of a GUI definition that lacks controls, named in `names` (comma-separated).
vek::STRING missingControlsProblem(const vek::STRING& names);
// The problem of a GUI definition without the main form.
vek::STRING missingFormProblem();
// The problem of a GUI definition that the framework refused with `error`.
vek::STRING unusableGuiProblem(const char* error);

// The engine's search failed; the position is the one before it.
vek::STRING engineFailedMessage();

// The game file `fileName` could not be written for the reason `fault` (not wfNONE); the game
// goes on unsaved.
vek::STRING saveFailedMessage(const vek::STRING& fileName, WriteFault fault);

}  // namespace chessapp
