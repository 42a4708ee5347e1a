#include "tune/nn_trainer.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <thread>

namespace vek::engine::tune {
namespace {

constexpr float kBeta1 = 0.9f;
constexpr float kBeta2 = 0.999f;
constexpr float kEpsilon = 1e-8f;
constexpr float kLastRateShare = 0.01f;

float sigmoid(float x) { return 1.0f / (1.0f + std::exp(-x)); }

ActiveInputs ownInputs(const TrainingSample& sample) {
    ActiveInputs inputs;
    inputs.index = sample.inputs;
    inputs.count = sample.count;
    return inputs;
}

}  // namespace

TrainingSample sampleOf(const DataRecord& record, float lambda) {
    const ActiveInputs inputs = activeInputs(record.squares, record.sideToMove);
    TrainingSample sample;
    sample.inputs = inputs.index;
    sample.count = static_cast<std::uint8_t>(inputs.count);
    const float result = 0.5f * static_cast<float>(record.result);
    sample.target = lambda * sigmoid(static_cast<float>(record.score) / kEvalScale) + (1 - lambda) * result;
    return sample;
}

float learningRateAt(float start, std::uint64_t step, std::uint64_t steps) {
    const double done = steps <= 1 ? 0.0 : static_cast<double>(step) / static_cast<double>(steps - 1);
    const double cosine = 0.5 * (1 + std::cos(std::numbers::pi * std::min(done, 1.0)));
    return start * static_cast<float>(kLastRateShare + (1 - kLastRateShare) * cosine);
}

Trainer::Trainer(FloatNetwork& network, int threads)
    : network_(network),
      workers_(static_cast<std::size_t>(std::max(1, threads))),
      moment_(network.parameters().size()),
      velocity_(network.parameters().size()) {
    for (Worker& worker : workers_) {
        worker.gradient.assign(network.parameters().size(), 0.0f);
        worker.touched.assign(kInputs, 0);
        worker.accumulators.assign(2 * static_cast<std::size_t>(network.hidden()), 0.0f);
    }
}

template <typename Work>
void Trainer::share(std::span<const TrainingSample> samples, Work work) {
    const std::size_t parts = std::min(workers_.size(), std::max<std::size_t>(samples.size(), 1));
    const auto part = [&](std::size_t k) {
        const std::size_t from = samples.size() * k / parts;
        return samples.subspan(from, samples.size() * (k + 1) / parts - from);
    };
    std::vector<std::jthread> threads;
    for (std::size_t k = 1; k < parts; ++k)
        threads.emplace_back([&, k] { work(workers_[k], part(k)); });
    work(workers_[0], part(0));
}

void Trainer::accumulate(Worker& worker, const TrainingSample& sample, bool learn) const {
    const auto hidden = static_cast<std::size_t>(network_.hidden());
    const std::span<const float> parameters = network_.parameters();
    const ActiveInputs own = ownInputs(sample);
    const ActiveInputs other = otherView(own);
    const std::array<const ActiveInputs*, 2> sides{&own, &other};
    const float* outputWeights = &parameters[network_.outputWeightsAt()];
    float output = parameters[network_.outputBiasAt()];
    for (std::size_t half = 0; half < 2; ++half) {
        float* accumulator = &worker.accumulators[half * hidden];
        std::copy_n(&parameters[network_.inputBiasesAt()], hidden, accumulator);
        for (int i = 0; i < sides[half]->count; ++i) {
            const float* row = &parameters[sides[half]->index[static_cast<std::size_t>(i)] * hidden];
            for (std::size_t neuron = 0; neuron < hidden; ++neuron)
                accumulator[neuron] += row[neuron];
        }
        for (std::size_t neuron = 0; neuron < hidden; ++neuron)
            output += std::clamp(accumulator[neuron], 0.0f, 1.0f) * outputWeights[half * hidden + neuron];
    }
    const float predicted = sigmoid(output);
    const float error = predicted - sample.target;
    worker.loss += static_cast<double>(error) * error;
    if (!learn)
        return;

    const float slope = 2 * error * predicted * (1 - predicted);  // d loss / d output
    float* gradient = worker.gradient.data();
    gradient[network_.outputBiasAt()] += slope;
    float* biasGradient = &gradient[network_.inputBiasesAt()];
    for (std::size_t half = 0; half < 2; ++half) {
        float* accumulator = &worker.accumulators[half * hidden];
        float* outputGradient = &gradient[network_.outputWeightsAt() + half * hidden];
        // From here on the half's buffer holds d loss / d accumulator instead.
        for (std::size_t neuron = 0; neuron < hidden; ++neuron) {
            const float value = accumulator[neuron];
            const bool inside = value > 0.0f && value < 1.0f;
            outputGradient[neuron] += slope * std::clamp(value, 0.0f, 1.0f);
            accumulator[neuron] = inside ? slope * outputWeights[half * hidden + neuron] : 0.0f;
            biasGradient[neuron] += accumulator[neuron];
        }
        for (int i = 0; i < sides[half]->count; ++i) {
            const std::size_t input = sides[half]->index[static_cast<std::size_t>(i)];
            worker.touched[input] = 1;
            float* row = &gradient[input * hidden];
            for (std::size_t neuron = 0; neuron < hidden; ++neuron)
                row[neuron] += accumulator[neuron];
        }
    }
}

// Adam on parameters [from, to): the workers' gradients summed into the first's, applied with
// bias correction, clamped to what quantising fits, and cleared for the next batch.
void Trainer::update(std::size_t from, std::size_t to, float scale, float rate, float limit) {
    const auto step = static_cast<float>(steps_);
    const float correction1 = 1 - std::pow(kBeta1, step);
    const float correction2 = 1 - std::pow(kBeta2, step);
    float* sum = workers_[0].gradient.data();
    const std::span<float> parameters = network_.parameters();
    for (std::size_t w = 1; w < workers_.size(); ++w) {
        float* gradient = workers_[w].gradient.data();
        for (std::size_t i = from; i < to; ++i) {
            sum[i] += gradient[i];
            gradient[i] = 0;
        }
    }
    for (std::size_t i = from; i < to; ++i) {
        const float g = sum[i] * scale;
        sum[i] = 0;
        moment_[i] = kBeta1 * moment_[i] + (1 - kBeta1) * g;
        velocity_[i] = kBeta2 * velocity_[i] + (1 - kBeta2) * g * g;
        const float change = rate * (moment_[i] / correction1) / (std::sqrt(velocity_[i] / correction2) + kEpsilon);
        parameters[i] = std::clamp(parameters[i] - change, -limit, limit);
    }
}

double Trainer::step(std::span<const TrainingSample> batch, float rate) {
    if (batch.empty())
        return 0;
    share(batch, [this](Worker& worker, std::span<const TrainingSample> part) {
        worker.loss = 0;
        for (const TrainingSample& sample : part)
            accumulate(worker, sample, true);
    });
    ++steps_;
    const float scale = 1.0f / static_cast<float>(batch.size());
    const auto hidden = static_cast<std::size_t>(network_.hidden());
    // Lazy Adam: a row no position of the batch touched keeps its weights and moments.
    for (std::size_t input = 0; input < kInputs; ++input) {
        bool touched = false;
        for (Worker& worker : workers_) {
            touched = touched || worker.touched[input] != 0;
            worker.touched[input] = 0;
        }
        if (touched)
            update(input * hidden, (input + 1) * hidden, scale, rate, kInputLimit);
    }
    update(network_.inputBiasesAt(), network_.outputWeightsAt(), scale, rate, kInputLimit);
    update(network_.outputWeightsAt(), network_.parameters().size(), scale, rate, kOutputLimit);
    double loss = 0;
    for (const Worker& worker : workers_)
        loss += worker.loss;
    return loss / static_cast<double>(batch.size());
}

double Trainer::loss(std::span<const TrainingSample> samples) {
    if (samples.empty())
        return 0;
    for (Worker& worker : workers_)
        worker.loss = 0;
    share(samples, [this](Worker& worker, std::span<const TrainingSample> part) {
        for (const TrainingSample& sample : part)
            accumulate(worker, sample, false);
    });
    double loss = 0;
    for (const Worker& worker : workers_)
        loss += worker.loss;
    return loss / static_cast<double>(samples.size());
}

}  // namespace vek::engine::tune
