// nn-train DATA --out NET [--epochs N] [--hidden N] [--batch N] [--lr X] [--lambda X]
//          [--validation X] [--threads N] [--seed N] [--resume FLOAT]
// fits the neural evaluation to a data file of nn-datagen and writes the quantised network to
// NET and its float copy, to go on from with --resume, to NET.float. docs/nn-train.md has more.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "tune/command_line.h"
#include "tune/nn_data_file.h"
#include "tune/nn_float_network.h"
#include "engine/nn_network_file.h"
#include "tune/nn_trainer.h"

namespace {

using namespace vek::engine;
using namespace vek::engine::tune;

constexpr int kBarWidth = 30;

struct Settings {
    std::string data;
    std::string out;
    std::optional<std::string> resume;
    std::optional<int> hidden;
    int epochs = 10;
    std::size_t batch = 16384;
    float rate = 0.001f;
    float lambda = 0.75f;
    double validation = 0.05;
    int threads = 2;
    std::uint64_t seed = 1;
};

int usage() {
    std::cerr << "usage: nn-train DATA --out NET [--epochs N] [--hidden N] [--batch N] [--lr X] [--lambda X]\n"
                 "                [--validation X] [--threads N] [--seed N] [--resume FLOAT]\n";
    return 2;
}

std::vector<TrainingSample> samplesOf(const std::string& path, float lambda) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error(path + ": cannot open");
    DataReader reader(in, path);
    std::vector<TrainingSample> samples;
    samples.reserve(reader.records());
    while (const std::optional<DataRecord> record = reader.next())
        samples.push_back(sampleOf(*record, lambda));
    return samples;
}

FloatNetwork startingNetwork(const Settings& settings) {
    if (!settings.resume)
        return FloatNetwork(settings.hidden.value_or(256), settings.seed);
    std::ifstream in(*settings.resume, std::ios::binary);
    if (!in)
        throw std::runtime_error(*settings.resume + ": cannot open");
    FloatNetwork network = FloatNetwork::read(in, *settings.resume);
    if (settings.hidden && *settings.hidden != network.hidden())
        throw std::runtime_error(*settings.resume + " has hidden size " + std::to_string(network.hidden()) +
                                 ", not the " + std::to_string(*settings.hidden) + " of --hidden");
    return network;
}

// Writes through a temporary file renamed at the end, so that a failed write keeps the old file.
void writeFile(const std::string& path, const std::function<void(std::ostream&)>& write) {
    const std::string temporary = path + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            throw std::runtime_error(temporary + ": cannot create");
        write(out);
    }
    std::filesystem::rename(temporary, path);
}

void showProgress(int epoch, int epochs, std::size_t done, std::size_t total, double loss) {
    const auto filled = static_cast<int>(kBarWidth * done / std::max<std::size_t>(total, 1));
    std::fprintf(stderr, "\repoch %d/%d [%s%s] %3zu%% loss %.6f", epoch, epochs,
                 std::string(static_cast<std::size_t>(filled), '#').c_str(),
                 std::string(static_cast<std::size_t>(kBarWidth - filled), '.').c_str(),
                 100 * done / std::max<std::size_t>(total, 1), loss);
}

int train(const Settings& settings) {
    std::vector<TrainingSample> samples = samplesOf(settings.data, settings.lambda);
    std::mt19937_64 random(settings.seed);
    std::shuffle(samples.begin(), samples.end(), random);
    const auto held = static_cast<std::size_t>(static_cast<double>(samples.size()) * settings.validation);
    const std::span<TrainingSample> training(samples.data(), samples.size() - held);
    const std::span<const TrainingSample> validation(samples.data() + training.size(), held);
    if (training.empty())
        throw std::runtime_error(settings.data + ": no positions left to train on");

    FloatNetwork network = startingNetwork(settings);
    Trainer trainer(network, settings.threads);
    const std::size_t batches = (training.size() + settings.batch - 1) / settings.batch;
    const std::uint64_t steps = batches * static_cast<std::uint64_t>(settings.epochs);
    std::fprintf(stderr, "nn-train: %s: %zu positions for training, %zu held out; hidden %d, %d threads, seed %llu\n",
                 settings.data.c_str(), training.size(), validation.size(), network.hidden(), settings.threads,
                 static_cast<unsigned long long>(settings.seed));
    std::uint64_t step = 0;
    for (int epoch = 1; epoch <= settings.epochs; ++epoch) {
        const auto start = std::chrono::steady_clock::now();
        std::shuffle(training.begin(), training.end(), random);
        double lossSum = 0;
        for (std::size_t batch = 0; batch < batches; ++batch) {
            const std::span<const TrainingSample> part =
                std::span<const TrainingSample>(training).subspan(batch * settings.batch).first(
                    std::min(settings.batch, training.size() - batch * settings.batch));
            const float rate = learningRateAt(settings.rate, step++, steps);
            lossSum += trainer.step(part, rate) * static_cast<double>(part.size());
            showProgress(epoch, settings.epochs, batch + 1, batches,
                         lossSum / static_cast<double>(std::min(training.size(), (batch + 1) * settings.batch)));
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const std::string validationLoss =
            validation.empty() ? "none held out" : std::to_string(trainer.loss(validation));
        std::fprintf(stderr, "\r%*s\repoch %d/%d: loss %.6f, validation loss %s, rate %.6f, %.1f s, %.0f positions/s\n",
                     kBarWidth + 40, "", epoch, settings.epochs, lossSum / static_cast<double>(training.size()),
                     validationLoss.c_str(), learningRateAt(settings.rate, step - 1, steps), seconds,
                     static_cast<double>(training.size()) / seconds);
    }

    std::uint64_t checksum = 0;
    writeFile(settings.out, [&](std::ostream& out) { checksum = writeQuantised(out, network.quantised()); });
    writeFile(settings.out + ".float", [&](std::ostream& out) { network.write(out); });
    std::printf("nn-train: wrote %s (checksum %016llx) and %s.float\n", settings.out.c_str(),
                static_cast<unsigned long long>(checksum), settings.out.c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argv[1][0] == '-')
        return usage();
    Settings settings;
    settings.data = argv[1];
    settings.threads = static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 256u));
    try {
        const auto flags = flagValues(argc, argv, 2);
        if (!flags)
            return usage();
        for (const auto& [flag, value] : *flags) {
            if (flag == "--out")
                settings.out = value;
            else if (flag == "--resume")
                settings.resume = value;
            else if (flag == "--epochs")
                settings.epochs = static_cast<int>(numberArgument(flag, value, 1, 100000));
            else if (flag == "--hidden")
                settings.hidden = static_cast<int>(numberArgument(flag, value, 1, kMostHidden));
            else if (flag == "--batch")
                settings.batch = numberArgument(flag, value, 1, 1u << 24);
            else if (flag == "--lr")
                settings.rate = static_cast<float>(realArgument(flag, value, 1e-7, 1.0));
            else if (flag == "--lambda")
                settings.lambda = static_cast<float>(realArgument(flag, value, 0.0, 1.0));
            else if (flag == "--validation")
                settings.validation = realArgument(flag, value, 0.0, 0.5);
            else if (flag == "--threads")
                settings.threads = static_cast<int>(numberArgument(flag, value, 1, 256));
            else if (flag == "--seed")
                settings.seed = numberArgument(flag, value, 0, UINT64_MAX);
            else
                return usage();
        }
        if (settings.out.empty())
            return usage();
        return train(settings);
    } catch (const std::exception& error) {
        std::cerr << "nn-train: " << error.what() << "\n";
        return 1;
    }
}
