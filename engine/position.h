#pragma once
// The engine's own board: bitboards beside a square array, made and taken back in place with
// the Zobrist key kept up to date on the way, for a search that visits millions of positions.

#include <array>
#include <cstdint>
#include <vector>

#include "chess/types.h"
#include "engine/attacks.h"
#include "engine/move.h"

namespace vek::engine {

// Room for the pseudo-legal moves of a position: the most known in a legal position is 218
// legal ones. A contrived position with more drops the rest rather than overrun the buffer.
struct MoveBuffer {
    std::array<Move, 256> moves{};
    std::size_t count = 0;

    void push(Move move) {
        if (count < moves.size())
            moves[count++] = move;
    }
};

// What a move does to the figures on the board: those it takes off their squares (the mover
// from its start, a captured one, a castling rook) and those it puts on (the mover on its
// target, a promoted figure, the castled rook), so that what follows the board figure by
// figure, as the neural evaluation's accumulators do, need not compare boards. At most two of
// each: a capture that promotes takes two off and puts one on, castling two and two (even a
// Chess960 castling whose king stays on its square, which takes it off and puts it back).
struct FigureChange {
    std::int8_t figure = 0;  // the kind, negated for Black
    std::int8_t square = 0;
};
struct FigureChanges {
    std::array<FigureChange, 2> off{};
    std::array<FigureChange, 2> on{};
    std::uint8_t offCount = 0;
    std::uint8_t onCount = 0;
};

// The square of the rook of each castling right, by the right's bit index (white king side,
// white queen side, black king side, black queen side).
using CastlingRooks = std::array<std::int8_t, 4>;
// Those of standard chess: h1, a1, h8, a8.
inline constexpr CastlingRooks kCornerRooks{7, 0, 63, 56};

class Position {
public:
    // squares: 0 empty, else the chess::FigureKind (1 pawn ... 6 king), negated for Black;
    // castling bits 1 white king side, 2 white queen side, 4 black king side, 8 black queen
    // side, each with its rook in `rooks`, on the back rank beside (king side: towards h) its
    // king there; enPassant the passed square or -1; halfmoveClock for the fifty-move rule,
    // fullmoveNumber as in FEN. Each side must have one king (a default Position has none
    // and serves only to be assigned). With `chess960`, castling is written as the king
    // taking its own rook (e1h1), else as the king's move of two files (e1g1), which cannot
    // tell every Chess960 castling from a king's step.
    static Position fromSquares(const std::array<std::int8_t, 64>& squares, chess::Colour side, unsigned castling,
                                const CastlingRooks& rooks, bool chess960, int enPassant, int halfmoveClock,
                                int fullmoveNumber);

    // Plays a legal move as a game move; the position remembers the keys since the last capture
    // or pawn move, so a repetition with the game's earlier positions is seen by the search.
    void play(Move move);
    std::uint64_t key() const { return key_; }
    chess::Colour sideToMove() const { return side_; }
    int halfmoveClock() const { return halfmoveClock_; }
    int fullmoveNumber() const { return fullmoveNumber_; }
    // Every legal move (cold path, for the root and tests).
    std::vector<Move> legalMoves() const;

    // The figure code on a square: 0, or the kind, negated for Black.
    int pieceAt(int square) const { return squares_[static_cast<std::size_t>(square)]; }
    Bitboard pieces(chess::Colour colour, chess::FigureKind kind) const { return pieces_[colour][kind]; }
    Bitboard occupied(chess::Colour colour) const { return colours_[colour]; }
    Bitboard occupied() const { return colours_[0] | colours_[1]; }
    int kingSquare(chess::Colour colour) const;
    unsigned castling() const { return castling_; }
    // The rook of a castling right (its bit index, 0 to 3) while the right is kept.
    int castlingRook(int right) const { return castlingRooks_[static_cast<std::size_t>(right)]; }
    bool isChess960() const { return chess960_; }
    int enPassant() const { return enPassant_; }

    bool isAttacked(int square, chess::Colour by) const;
    bool inCheck() const { return isAttacked(kingSquare(side_), chess::opponent(side_)); }
    // Whether the side has a figure besides pawns and king (null moves are unsafe without one).
    bool hasPieces(chess::Colour colour) const;
    bool isCapture(Move move) const;
    // Captures, en passant and promotions: what the quiescence search looks at.
    bool isNoisy(Move move) const { return move.promotion != 0 || isCapture(move); }
    // The figures of both colours that attack `square` through `occupied`.
    Bitboard attackersTo(int square, Bitboard occupied) const;
    // The material the side to move wins (negative: loses) by the capture `move` when both
    // sides go on taking on its square with their least valuable attacker while it pays.
    int exchangeGain(Move move) const;

    // Appends the pseudo-legal moves (the king may be left in check); with noisyOnly only
    // captures and promotions.
    void generate(MoveBuffer& buffer, bool noisyOnly) const;
    // Makes a pseudo-legal move; false (and the position unchanged) when it leaves the own king
    // attacked.
    bool make(Move move);
    void undo();
    void makeNull();
    void undoNull();
    // The figure changes of the last move made and not taken back (none for a null move).
    const FigureChanges& lastChanges() const { return undos_.back().changes; }
    // Whether the position repeats one since the last capture or pawn move: for the third time
    // counting the game's positions, or once inside the line searched from the last game move
    // (a search cannot do better by repeating, so that once is already a draw for it).
    bool isRepetition() const;
    // Whether the fifty-move rule has drawn the game (a mate on the hundredth half move is
    // the caller's to find).
    bool isFiftyMoveDraw() const { return halfmoveClock_ >= 100; }
    // Bare kings, or one minor figure beside them: no mate is possible, the game is drawn.
    bool lacksMatingMaterial() const;
    // The key computed from the figures, side and rights alone, to check the incremental one.
    std::uint64_t computeKey() const;

private:
    struct Undo {
        Move move;
        std::int8_t captured = 0;
        std::uint8_t castling = 0;
        std::int8_t enPassant = -1;
        bool castled = false;
        int halfmoveClock = 0;
        std::uint64_t key = 0;
        FigureChanges changes;
    };

    // What `move` will change, read before it is made.
    FigureChanges changesOf(Move move, bool castles) const;
    void put(int square, int code);
    void remove(int square);
    void movePiece(int from, int to);
    // Moves king and rook of a castling to their squares, and back.
    void castle(chess::Colour colour, int from, int to);
    void uncastle(chess::Colour colour, int from, int to);
    // The key of a set of castling rights.
    std::uint64_t castlingKey(unsigned rights) const;

    std::array<std::int8_t, 64> squares_{};
    std::array<std::array<Bitboard, 7>, 2> pieces_{};
    std::array<Bitboard, 2> colours_{};
    chess::Colour side_ = chess::WHITE;
    unsigned castling_ = 0;
    // Fixed for the game: by right, its rook's square, the squares that must be empty and
    // those the king passes, which must not be attacked (its start and target are checked
    // apart), and the key; by square, the rights a move from or to it keeps.
    CastlingRooks castlingRooks_ = kCornerRooks;
    std::array<Bitboard, 4> castlingEmpty_{};
    std::array<Bitboard, 4> castlingWalk_{};
    std::array<std::uint64_t, 4> castlingKeys_{};
    std::array<std::uint8_t, 64> castlingKept_{};
    bool chess960_ = false;
    int enPassant_ = -1;
    int halfmoveClock_ = 0;
    int fullmoveNumber_ = 1;
    std::uint64_t key_ = 0;
    std::vector<Undo> undos_;
    // The keys of the positions before the current one, the game's and the search line's.
    std::vector<std::uint64_t> keys_;
};

}  // namespace vek::engine
