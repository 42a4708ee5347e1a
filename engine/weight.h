#pragma once
// A weight of the evaluation: a middlegame and an endgame value in centipawns, blended by the
// material left on the board.

namespace vek::engine {

struct Weight {
    int mg = 0;
    int eg = 0;

    Weight& operator+=(Weight other) {
        mg += other.mg;
        eg += other.eg;
        return *this;
    }
    Weight& operator-=(Weight other) {
        mg -= other.mg;
        eg -= other.eg;
        return *this;
    }
    friend Weight operator*(Weight w, int factor) { return {w.mg * factor, w.eg * factor}; }
    friend bool operator==(const Weight&, const Weight&) = default;
};

}  // namespace vek::engine
