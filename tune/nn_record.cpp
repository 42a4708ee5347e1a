#include "tune/nn_record.h"

#include <bit>
#include <cstdlib>
#include <limits>

#include "engine/little_endian.h"

namespace vek::engine::tune {
namespace {

// Where each field begins in a record's bytes.
constexpr std::size_t kOccupancyAt = 0;
constexpr std::size_t kFiguresAt = 8;
constexpr std::size_t kScoreAt = 24;
constexpr std::size_t kResultAt = 26;
constexpr std::size_t kSideAt = 27;
constexpr std::size_t kPlyAt = 28;
constexpr std::size_t kClockAt = 30;
constexpr std::size_t kRightsAt = 31;

constexpr int kMostFigures = 32;  // two nibbles a byte in the 16 bytes of figures
constexpr int kBlackCode = 8;     // added to the kind in a figure's nibble

void requireRange(int value, int low, int high, const char* field) {
    if (value < low || value > high)
        throw std::invalid_argument(std::string("nn record: ") + field + " " + std::to_string(value) +
                                    " outside " + std::to_string(low) + ".." + std::to_string(high));
}

// The index-th nibble of the figures, low nibble of a byte first.
int nibbleAt(const RecordBytes& bytes, int index) {
    return (bytes[kFiguresAt + static_cast<std::size_t>(index / 2)] >> (index % 2 == 0 ? 0 : 4)) & 0xF;
}

void setNibble(RecordBytes& bytes, int index, int code) {
    bytes[kFiguresAt + static_cast<std::size_t>(index / 2)] |= static_cast<std::uint8_t>(code << (index % 2 == 0 ? 0 : 4));
}

int nibbleCode(int figure) { return figure > 0 ? figure : -figure + kBlackCode; }

// The figure of a nibble's code, or 0 for a code of no figure.
int figureOf(int code) {
    const int kind = code & (kBlackCode - 1);
    if (kind < chess::PAWN || kind > chess::KING)
        return 0;
    return code & kBlackCode ? -kind : kind;
}

std::string squareName(int square) {
    return {static_cast<char>('a' + fileOf(square)), static_cast<char>('1' + rankOf(square))};
}

DataError damaged(const std::string& where, const std::string& what) { return DataError(where + ": " + what); }

}  // namespace

DataRecord recordOf(const KeptPosition& kept, Outcome outcome) {
    const Position& position = kept.position;
    DataRecord record;
    for (int square = 0; square < 64; ++square)
        record.squares[static_cast<std::size_t>(square)] = static_cast<std::int8_t>(position.pieceAt(square));
    record.sideToMove = position.sideToMove();
    record.castling = position.castling();
    record.enPassant = position.enPassant();
    record.halfmoveClock = position.halfmoveClock();
    record.ply = 2 * (position.fullmoveNumber() - 1) + (record.sideToMove == chess::BLACK ? 1 : 0);
    const bool white = record.sideToMove == chess::WHITE;
    record.score = white ? kept.whiteScore : -kept.whiteScore;
    if (outcome == ocDRAW || outcome == ocUNDECIDED)
        record.result = rrDRAW;
    else
        record.result = (outcome == ocWHITE_WINS) == white ? rrWIN : rrLOSS;
    return record;
}

Position positionOf(const DataRecord& record) {
    // Self-play is standard chess: the rights belong to the corner rooks.
    return Position::fromSquares(record.squares, record.sideToMove, record.castling, kCornerRooks, false,
                                 record.enPassant, record.halfmoveClock, record.ply / 2 + 1);
}

RecordBytes encode(const DataRecord& record) {
    requireRange(record.score, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max(),
                 "score");
    requireRange(record.ply, 0, std::numeric_limits<std::uint16_t>::max(), "ply");
    requireRange(record.halfmoveClock, 0, std::numeric_limits<std::uint8_t>::max(), "halfmove clock");
    requireRange(static_cast<int>(record.castling), 0, 15, "castling");
    RecordBytes bytes{};
    std::uint64_t occupancy = 0;
    int figures = 0;
    for (std::size_t square = 0; square < 64; ++square) {
        const int figure = record.squares[square];
        if (figure == 0)
            continue;
        requireRange(figure, -chess::KING, chess::KING, "figure");
        if (figures == kMostFigures)
            throw std::invalid_argument("nn record: more than 32 figures");
        occupancy |= std::uint64_t{1} << square;
        setNibble(bytes, figures, nibbleCode(figure));
        ++figures;
    }
    putLittleEndian(bytes, kOccupancyAt, occupancy);
    putLittleEndian(bytes, kScoreAt, static_cast<std::uint16_t>(static_cast<std::int16_t>(record.score)));
    bytes[kResultAt] = record.result;
    bytes[kSideAt] = record.sideToMove == chess::WHITE ? 0 : 1;
    putLittleEndian(bytes, kPlyAt, static_cast<std::uint16_t>(record.ply));
    bytes[kClockAt] = static_cast<std::uint8_t>(record.halfmoveClock);
    const int passedFile = record.enPassant < 0 ? 0 : fileOf(record.enPassant) + 1;
    bytes[kRightsAt] = static_cast<std::uint8_t>(record.castling | (passedFile << 4));
    return bytes;
}

DataRecord decode(const RecordBytes& bytes, const std::string& where) {
    DataRecord record;
    const std::uint64_t occupancy = getLittleEndian<std::uint64_t>(bytes, kOccupancyAt);
    const int figures = std::popcount(occupancy);
    if (figures > kMostFigures)
        throw damaged(where, std::to_string(figures) + " occupied squares, at most 32 fit");
    std::array<int, 2> kings{};
    int index = 0;
    for (Bitboard rest = occupancy; rest != 0; rest &= rest - 1, ++index) {
        const int square = std::countr_zero(rest);
        const int code = nibbleAt(bytes, index);
        const int figure = figureOf(code);
        if (figure == 0)
            throw damaged(where, "figure code " + std::to_string(code) + " on " + squareName(square));
        if (std::abs(figure) == chess::KING)
            ++kings[figure > 0 ? 0 : 1];
        record.squares[static_cast<std::size_t>(square)] = static_cast<std::int8_t>(figure);
    }
    for (; index < kMostFigures; ++index)
        if (nibbleAt(bytes, index) != 0)
            throw damaged(where, "a figure code beyond the " + std::to_string(figures) + " occupied squares");
    if (kings[0] != 1 || kings[1] != 1)
        throw damaged(where, std::to_string(kings[0]) + " white and " + std::to_string(kings[1]) +
                                 " black kings, not one each");
    if (bytes[kResultAt] > rrWIN)
        throw damaged(where, "result " + std::to_string(bytes[kResultAt]) + ", not 0, 1 or 2");
    if (bytes[kSideAt] > 1)
        throw damaged(where, "side to move " + std::to_string(bytes[kSideAt]) + ", not 0 or 1");
    const int passedFile = bytes[kRightsAt] >> 4;
    if (passedFile > 8)
        throw damaged(where, "en passant file " + std::to_string(passedFile) + ", not 0 to 8");
    record.sideToMove = bytes[kSideAt] == 0 ? chess::WHITE : chess::BLACK;
    record.castling = bytes[kRightsAt] & 0xFu;
    const int passedRank = record.sideToMove == chess::WHITE ? 5 : 2;
    record.enPassant = passedFile == 0 ? -1 : passedRank * 8 + passedFile - 1;
    record.halfmoveClock = bytes[kClockAt];
    record.ply = getLittleEndian<std::uint16_t>(bytes, kPlyAt);
    record.score = static_cast<std::int16_t>(getLittleEndian<std::uint16_t>(bytes, kScoreAt));
    record.result = static_cast<RecordResult>(bytes[kResultAt]);
    return record;
}

}  // namespace vek::engine::tune
