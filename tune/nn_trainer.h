#pragma once
// Fits a FloatNetwork to training positions: the mean squared error between sigmoid(output)
// and a target blended from the search's score and the game's result, minimised by Adam on
// batches whose gradient several threads share. A position touches only the feature
// transformer's rows of its ~30 active inputs, so those rows alone are summed and updated.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "tune/nn_float_network.h"
#include "tune/nn_record.h"

namespace vek::engine::tune {

// A position as the trainer keeps it in memory (72 bytes): the side to move's inputs (the
// other side's follow from them) and the value the network's sigmoid should reach.
struct TrainingSample {
    std::array<std::uint16_t, kMostActive> inputs{};
    std::uint8_t count = 0;
    float target = 0;
};

// target = lambda × sigmoid(score / kEvalScale) + (1 - lambda) × result (0, 0.5 or 1).
TrainingSample sampleOf(const DataRecord& record, float lambda);

// Cosine from `start` at step 0 down to 1 % of it at the last step.
float learningRateAt(float start, std::uint64_t step, std::uint64_t steps);

class Trainer {
public:
    // The trainer changes `network`, which must outlive it.
    Trainer(FloatNetwork& network, int threads);

    // One Adam step on the batch's mean gradient; returns the batch's mean loss before it.
    double step(std::span<const TrainingSample> batch, float rate);
    // The mean loss over the samples.
    double loss(std::span<const TrainingSample> samples);

private:
    // One thread's share of a batch: its gradient of every parameter, which input rows it touched.
    struct Worker {
        std::vector<float> gradient;
        std::vector<std::uint8_t> touched;
        std::vector<float> accumulators;  // both halves, 2 × hidden
        double loss = 0;
    };

    // Runs work(worker, part) on each worker's share of the samples, one thread each.
    template <typename Work>
    void share(std::span<const TrainingSample> samples, Work work);
    // Adds one sample's loss and, when `learn`, its gradient to the worker's.
    void accumulate(Worker& worker, const TrainingSample& sample, bool learn) const;
    void update(std::size_t from, std::size_t to, float scale, float rate, float limit);

    FloatNetwork& network_;
    std::vector<Worker> workers_;
    std::vector<float> moment_;
    std::vector<float> velocity_;
    std::uint64_t steps_ = 0;
};

}  // namespace vek::engine::tune
