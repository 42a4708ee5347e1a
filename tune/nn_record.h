#pragma once
// One training position of the neural evaluation as the data files hold it: the board, the
// search's score and the game's result, packed into a fixed number of bytes in little-endian
// order, so that a file reads the same on every platform (docs/nn-data.md lays out the bytes).

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "engine/position.h"
#include "tune/self_play.h"

namespace vek::engine::tune {

inline constexpr std::size_t kRecordSize = 32;
using RecordBytes = std::array<std::uint8_t, kRecordSize>;

// Both score and result are seen from the side to move, as the network scores a position.
enum RecordResult : std::uint8_t { rrLOSS = 0, rrDRAW = 1, rrWIN = 2 };

struct DataRecord {
    std::array<std::int8_t, 64> squares{};  // as Position::fromSquares: kind, negated for Black
    chess::Colour sideToMove = chess::WHITE;
    unsigned castling = 0;                   // the bits of Position::castling()
    int enPassant = -1;                      // the passed square, or -1
    int halfmoveClock = 0;
    int ply = 0;                             // half moves since the game's initial position
    int score = 0;                           // centipawns, within the range of int16
    RecordResult result = rrDRAW;

    friend bool operator==(const DataRecord&, const DataRecord&) = default;
};

// A data file's content does not follow its format; the message says where and what.
class DataError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The record of a kept position of a finished game.
DataRecord recordOf(const KeptPosition& kept, Outcome outcome);
// The position a record holds (its clocks and move number included).
Position positionOf(const DataRecord& record);

// Throws std::invalid_argument for a field the format has no room for (a score beyond int16 ...).
RecordBytes encode(const DataRecord& record);
// Throws DataError when the bytes hold no record this format can write (a figure code of no
// figure, not one king a side, an unknown result ...); `where` begins its message.
DataRecord decode(const RecordBytes& bytes, const std::string& where);

}  // namespace vek::engine::tune
