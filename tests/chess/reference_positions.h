#pragma once
// The fixed positions that the benchmark measures and the engine tests search, in the program's
// own position text: the square letters from a1 to h8 (upper case White, lower case Black;
// B pawn, S knight, L bishop, T rook, D queen, K king) and the side to move. Castling follows
// from kings and rooks standing on their initial squares.

#include <array>
#include <cstddef>

namespace vek::chess::testing {

inline constexpr std::array<const char*, 7> kReferencePositions{{
    // 1. The initial position.
    "TSLDKLSTBBBBBBBB                                bbbbbbbbtsldklstW",
    // 2. A typical middlegame: r1bq1rk1/ppp1npbp/3p1np1/3Pp3/2P1P3/2N2N2/PP2BPPP/R1BQ1RK1 w
    "T LD TK BB  LBBB  S  S    B B      Bb      b sb bbb sblbt ld tk W",
    // 3. Castling both ways and pins: r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w
    "T   K  TBBBLLBBB  S  D b b  B      BS   ls  bsb b bbdbl t   k  tW",
    // 4. An endgame: 8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w
    "            B B          T   b kKB     t   b      b             W",
    // 5. In check, with promotions: r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w
    "T  D TK Bb B  BBd    S  LLB B   sB       l   slSBbbb bbbt   k  tW",
    // 6. A promotion with capture: rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w
    "TSLDK  TBBB SsBB          L               b     bb Blbbbtsld k tW",
    // 7. King and queen against a lone king, one move from mate or stalemate: 7k/8/5K2/8/8/8/8/6Q1 w
    "      D                                      K                 kW",
}};

}  // namespace vek::chess::testing
