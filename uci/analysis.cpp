#include "uci/analysis.h"

#include <cstdlib>

#include "engine/evaluation.h"
#include "engine/nn_accumulator.h"
#include "uci/fen.h"
#include "uci/long_algebraic.h"

namespace vek::uci {
namespace {

// The figure letters by kind (chess::FigureKind 1 to 6), upper case for White.
char figureLetter(int piece) {
    const char letter = " pnbrqk"[std::abs(piece)];
    return piece > 0 ? static_cast<char>(letter - 'a' + 'A') : letter;
}

// `text` right-aligned in `width` columns (left-aligned for a negative width).
std::string padded(const std::string& text, int width) {
    const std::size_t size = static_cast<std::size_t>(std::abs(width));
    const std::string blanks(text.size() < size ? size - text.size() : 0, ' ');
    return width < 0 ? text + blanks : blanks + text;
}

std::string hexKey(std::uint64_t key) {
    std::string hex(16, '0');
    for (std::size_t digit = 16; digit-- > 0; key >>= 4)
        hex[digit] = "0123456789ABCDEF"[key & 15];
    return hex;
}

std::string sides(engine::Weight white, engine::Weight black) {
    return " | " + padded(std::to_string(white.mg), 8) + padded(std::to_string(white.eg), 6) + " | " +
           padded(std::to_string(black.mg), 8) + padded(std::to_string(black.eg), 6);
}

}  // namespace

std::uint64_t perft(engine::Position& position, int depth) {
    engine::MoveBuffer buffer;
    position.generate(buffer, false);
    std::uint64_t leaves = 0;
    for (std::size_t i = 0; i < buffer.count; ++i) {
        if (!position.make(buffer.moves[i]))
            continue;
        leaves += depth <= 1 ? 1 : perft(position, depth - 1);
        position.undo();
    }
    return leaves;
}

std::vector<std::string> perftReport(const engine::Position& position, int depth) {
    std::vector<std::string> lines;
    engine::Position walk = position;
    std::uint64_t total = 0;
    for (const engine::Move move : position.legalMoves()) {
        walk.make(move);
        const std::uint64_t leaves = depth <= 1 ? 1 : perft(walk, depth - 1);
        walk.undo();
        lines.push_back(moveText(move) + ": " + std::to_string(leaves));
        total += leaves;
    }
    lines.emplace_back();
    lines.push_back("Nodes searched: " + std::to_string(total));
    return lines;
}

std::vector<std::string> boardReport(const engine::Position& position) {
    const std::string rule = " +---+---+---+---+---+---+---+---+";
    std::vector<std::string> lines{rule};
    for (int row = 7; row >= 0; --row) {
        std::string line = " |";
        for (int column = 0; column < 8; ++column)
            line += std::string(" ") + figureLetter(position.pieceAt(row * 8 + column)) + " |";
        lines.push_back(line + ' ' + static_cast<char>('1' + row));
        lines.push_back(rule);
    }
    lines.emplace_back("   a   b   c   d   e   f   g   h");
    lines.emplace_back();
    lines.push_back("Fen: " + fenOf(position));
    lines.push_back("Key: " + hexKey(position.key()));
    return lines;
}

std::vector<std::string> evaluationReport(const engine::Position& position) {
    const engine::EvalBreakdown breakdown = engine::explainEvaluation(position);
    std::vector<std::string> lines{padded("term", -22) + " | " + padded("White mg", 8) + padded("eg", 6) + " | " +
                                   padded("Black mg", 8) + padded("eg", 6)};
    for (const engine::EvalTerm& term : breakdown.terms)
        lines.push_back(padded(term.name, -22) + sides(term.white, term.black));
    const std::string side = position.sideToMove() == chess::WHITE ? "White" : "Black";
    lines.push_back("phase " + std::to_string(breakdown.phase) + " of 24: White leads by " +
                    std::to_string(breakdown.blended) + " cp, by " + std::to_string(breakdown.white) +
                    " after drawish endings are scaled down");
    lines.push_back("Final evaluation: " + std::to_string(breakdown.sideToMove) + " cp for the side to move (" + side +
                    "), its tempo of " + std::to_string(breakdown.tempo) + " included");
    return lines;
}

std::vector<std::string> networkReport(const engine::Position& position, const engine::Network& network,
                                       const std::string& name, bool searched) {
    engine::AccumulatorStack accumulators(network);
    accumulators.reset(position);
    const int sideToMove = accumulators.evaluate(position);
    const bool white = position.sideToMove() == chess::WHITE;
    return {"Network " + name + " (hidden size " + std::to_string(network.hidden()) + "): White leads by " +
                std::to_string(white ? sideToMove : -sideToMove) + " cp, " + std::to_string(sideToMove) +
                " cp for the side to move (" + (white ? "White" : "Black") + ")",
            std::string("The search uses ") + (searched ? "the network" : "the hand-written evaluation") +
                " (option Evaluation)"};
}

}  // namespace vek::uci
