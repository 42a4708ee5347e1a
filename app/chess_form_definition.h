#pragma once
// The GUI definition built into the program: the form "ChessFORM" of the main window, as
// ISO 8859-1 text (the "ae" of "Laeufer" is the one byte 0xE4). A file chess.gui beside the
// program replaces it.

#include <string_view>

namespace chessapp {

// The whole definition text; static storage, safe from any thread.
std::string_view chessFormDefinition();

}  // namespace chessapp
