#include "app/game_files.h"

#include "foundation/exceptions.h"

namespace chessapp {
namespace {

constexpr std::size_t kPositionTextLength = 65;

// The variable's value, none when it is unset or empty.
std::optional<vek::STRING> nonEmptyVariable(EnvironmentLookup lookup, const char* name) {
    std::optional<vek::STRING> value = lookup(name);
    if (value && value->isEmpty())
        value.reset();
    return value;
}

GameStart startNewGame(vek::chess::Board& board) {
    board.newGame();
    return gsNEW_GAME;
}

}  // namespace

const vek::STRING& GameFiles::tempDirectory() {
    if (!tempDirectory_.isEmpty())
        return tempDirectory_;
    std::optional<vek::STRING> directory = nonEmptyVariable(lookup_, "TMP");
    if (!directory)
        directory = nonEmptyVariable(lookup_, "TEMP");
    vek::STRING text = directory.value_or(vek::STRING());
    if (text.isEmpty() || text[text.getLength() - 1] != '\\')
        text += '\\';
    tempDirectory_ = text;
    return tempDirectory_;
}

const vek::STRING& GameFiles::gameFileName() {
    if (gameFileName_.isEmpty())
        gameFileName_ = tempDirectory() + "chess.txt";
    return gameFileName_;
}

vek::STRING GameFiles::numberedGameFileName() {
    ++numberedCount_;
    return tempDirectory() + "chess" + vek::STRING::fromNumber(numberedCount_) + ".txt";
}

vek::STRING savedPositionText(const vek::chess::Board& board) {
    vek::STRING text = board.positionText();
    text += board.sideToMove() == vek::chess::WHITE ? 'W' : 'S';
    // A text cut short would replace a good saved game by a damaged one.
    return text.getLength() == kPositionTextLength ? text : vek::STRING();
}

GameStart restoreGame(vek::chess::Board& board, const vek::STRING& path) {
    vek::STRING text;
    try {
        text.readFromFile(path);
    } catch (const vek::LibraryException&) {  // missing, a directory, no permission
        return startNewGame(board);
    }
    if (text.isEmpty())
        return startNewGame(board);
    if (text.getLength() < 64) {
        board.clear();
        return gsEMPTY_BOARD;
    }
    return board.loadPosition(text) ? gsRESTORED : startNewGame(board);
}

}  // namespace chessapp
