#include "engine/move_picker.h"

#include <cstdlib>
#include <utility>

#include "engine/exchange_value.h"

namespace vek::engine {
namespace {

// The ordering keys of the stages, one band each, the earlier stage the higher.
constexpr int kTableKey = 1 << 30;
constexpr int kNoisyKey = 1 << 24;    // plus the gain, for the good ones; negated for the bad
constexpr int kRefutationKey = 1 << 22;  // the first killer one above, the countermove one below

}  // namespace

MovePicker::MovePicker(const Position& position, bool noisyOnly, Move tableMove, const std::array<Move, 2>& killers,
                       Move counter, const History& history, const PriorMoves& prior) {
    position.generate(buffer_, noisyOnly);
    score(position, tableMove, killers, counter, history, prior);
}

void MovePicker::score(const Position& position, Move tableMove, const std::array<Move, 2>& killers, Move counter,
                       const History& history, const PriorMoves& prior) {
    for (std::size_t i = 0; i < buffer_.count; ++i) {
        const Move move = buffer_.moves[i];
        if (move == tableMove) {
            keys_[i] = kTableKey;
            stages_[i] = psTABLE;
        } else if (position.isNoisy(move)) {
            const int attacker = std::abs(position.pieceAt(move.from));
            const int victim = position.isCapture(move) ? std::max(1, std::abs(position.pieceAt(move.to))) : 0;
            const int gain = exchangeValue(victim) + (move.promotion != 0 ? exchangeValue(move.promotion) : 0);
            // Most valuable victim first, then least valuable attacker; a capture that loses
            // material in the exchange comes after the quiet moves. The king's capture never
            // does: it is legal only where nothing takes back.
            const bool losing = move.promotion == 0 && attacker != chess::KING &&
                                exchangeValue(attacker) > exchangeValue(victim) && position.exchangeGain(move) < 0;
            keys_[i] = (losing ? -kNoisyKey : kNoisyKey) + gain * 8 - attacker;
            stages_[i] = losing ? psBAD_NOISY : psGOOD_NOISY;
        } else if (move == killers[0] || move == killers[1] || move == counter) {
            keys_[i] = kRefutationKey + (move == killers[0] ? 1 : move == killers[1] ? 0 : -1);
            stages_[i] = psREFUTATION;
        } else {
            keys_[i] = history.quietScore(position, move, prior);
            stages_[i] = psQUIET;
        }
    }
}

bool MovePicker::next(Move& move) {
    if (next_ >= buffer_.count)
        return false;
    // The best key left; of equal ones the first.
    std::size_t best = next_;
    for (std::size_t i = next_ + 1; i < buffer_.count; ++i)
        if (keys_[i] > keys_[best])
            best = i;
    std::swap(buffer_.moves[next_], buffer_.moves[best]);
    std::swap(keys_[next_], keys_[best]);
    std::swap(stages_[next_], stages_[best]);
    current_ = next_++;
    move = buffer_.moves[current_];
    return true;
}

}  // namespace vek::engine
