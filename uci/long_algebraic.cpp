#include "uci/long_algebraic.h"

#include "chess/types.h"

namespace vek::uci {
namespace {

constexpr std::string_view kPromotionLetters = "nbrq";  // KNIGHT to QUEEN

}  // namespace

std::optional<int> parseSquare(std::string_view text) {
    if (text.size() != 2 || text[0] < 'a' || text[0] > 'h' || text[1] < '1' || text[1] > '8')
        return std::nullopt;
    return (text[1] - '1') * 8 + (text[0] - 'a');
}

std::string squareName(int square) {
    return {static_cast<char>('a' + square % 8), static_cast<char>('1' + square / 8)};
}

std::optional<engine::Move> parseMove(std::string_view text) {
    if (text.size() != 4 && text.size() != 5)
        return std::nullopt;
    const std::optional<int> from = parseSquare(text.substr(0, 2));
    const std::optional<int> to = parseSquare(text.substr(2, 2));
    if (!from || !to)
        return std::nullopt;
    engine::Move move{static_cast<std::uint8_t>(*from), static_cast<std::uint8_t>(*to), 0};
    if (text.size() == 5) {
        const char letter = text[4] >= 'A' && text[4] <= 'Z' ? static_cast<char>(text[4] - 'A' + 'a') : text[4];
        const std::size_t kind = kPromotionLetters.find(letter);
        if (kind == std::string_view::npos)
            return std::nullopt;
        move.promotion = static_cast<std::int8_t>(chess::KNIGHT + static_cast<int>(kind));
    }
    return move;
}

std::string moveText(engine::Move move) {
    std::string text = squareName(move.from) + squareName(move.to);
    if (move.promotion >= chess::KNIGHT && move.promotion <= chess::QUEEN)
        text += kPromotionLetters[static_cast<std::size_t>(move.promotion - chess::KNIGHT)];
    return text;
}

}  // namespace vek::uci
