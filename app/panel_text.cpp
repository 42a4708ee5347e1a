#include "app/panel_text.h"

#include <algorithm>

#include "chess/notation.h"

namespace chessapp {

vek::STRING evaluationText(const vek::chess::Board& board) {
    const vek::STRING status = board.statusText();
    if (!vek::chess::isGameRunning(board.state()))
        return status;
    // The number is ASCII, so the joined text takes the status text's OEM tag.
    return vek::STRING::fromNumber(board.evaluate()) + " " + status;
}

vek::STRING thinkingCaption(const vek::STRING& idleCaption, std::uint32_t scored, std::uint32_t total,
                            std::int32_t elapsedMs) {
    const std::int32_t seconds = elapsedMs > 0 ? elapsedMs / 1000 : 0;
    const std::int32_t secondsOfMinute = seconds % 60;
    return idleCaption + " - Rechner denkt: Zug " + vek::STRING::fromNumber(std::min(scored, total)) + " von " +
           vek::STRING::fromNumber(total) + ", " + vek::STRING::fromNumber(seconds / 60) +
           (secondsOfMinute < 10 ? ":0" : ":") + vek::STRING::fromNumber(secondsOfMinute);
}

vek::STRING thinkingButtonCaption(const vek::STRING& idleCaption, std::uint32_t scored, std::uint32_t total) {
    return idleCaption + " " + vek::STRING::fromNumber(std::min(scored, total)) + "/" + vek::STRING::fromNumber(total);
}

std::int64_t writeNewMoves(const vek::chess::Board& board, std::int64_t lastWritten, MoveListLines& lines) {
    const auto& history = board.history();
    for (auto i = static_cast<std::size_t>(lastWritten + 1); i < history.getCount(); ++i) {
        const vek::chess::MoveListEntry entry = vek::chess::moveListEntry(i, history[i]);
        // A list emptied behind our back gets the answer on a line of its own.
        if (entry.extendsLine && entry.line < lines.lineCount())
            lines.replaceLine(entry.line, lines.line(entry.line) + entry.text);
        else
            lines.addLine(entry.text);
        lastWritten = static_cast<std::int64_t>(i);
    }
    return lastWritten;
}

}  // namespace chessapp
