// The neural evaluation's network: the quantised evaluation follows the float network it was
// made from and sees both sides alike; a few hundred training steps teach a tiny network the
// material; network files read back what was written, and a damaged one is refused.
#include <algorithm>
#include <cmath>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tune/nn_float_network.h"
#include "engine/nn_network_file.h"
#include "tune/nn_trainer.h"
#include "tune/texel.h"

namespace vek::engine::tune {
namespace {

constexpr int kTinyHidden = 8;

DataRecord recordOfFen(const std::string& fen) { return recordOf({positionFromFen(fen), 0}, ocDRAW); }

// Black to move, both sides' figures of every kind, few figures and many.
std::vector<DataRecord> positions() {
    return {recordOfFen("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1"),
            recordOfFen("r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP3PPP/R2QKB1R w KQ - 0 8"),
            recordOfFen("8/5k2/8/8/3Q4/8/2K5/8 w - - 0 60"),
            recordOfFen("8/5k2/8/8/3Q4/8/2K5/8 b - - 0 60"),
            recordOfFen("6k1/5pp1/7p/8/1r6/6P1/5PKP/3R4 b - - 3 40")};
}

// The same position with the board mirrored, the colours swapped and the other side to move.
DataRecord mirrored(const DataRecord& record) {
    DataRecord mirror = record;
    for (std::size_t square = 0; square < 64; ++square)
        mirror.squares[square ^ 56] = static_cast<std::int8_t>(-record.squares[square]);
    mirror.sideToMove = chess::opponent(record.sideToMove);
    return mirror;
}

float floatOutput(const FloatNetwork& network, const DataRecord& record) {
    const ActiveInputs own = activeInputs(record.squares, record.sideToMove);
    return network.output(own, otherView(own));
}

double quantisedOutput(const QuantisedNetwork& network, const DataRecord& record) {
    return static_cast<double>(outputOf(network, record.squares, record.sideToMove)) / (kQA * kQB);
}

// Random parameters, on the integers' grid when `onGrid`; biases wide enough that some
// neurons of every position sit below 0 and some above 1.
FloatNetwork randomNetwork(bool onGrid, std::uint64_t seed) {
    FloatNetwork network(kTinyHidden, seed);
    std::mt19937_64 random(seed);
    const auto draw = [&](float low, float high, int scale) {
        const float value = std::uniform_real_distribution<float>(low, high)(random);
        return onGrid ? std::round(value * static_cast<float>(scale)) / static_cast<float>(scale) : value;
    };
    const std::span<float> parameters = network.parameters();
    for (std::size_t i = 0; i < network.inputBiasesAt(); ++i)
        parameters[i] = draw(-0.25f, 0.25f, kQA);
    for (std::size_t i = network.inputBiasesAt(); i < network.outputWeightsAt(); ++i)
        parameters[i] = draw(-1.0f, 2.0f, kQA);
    for (std::size_t i = network.outputWeightsAt(); i < network.outputBiasAt(); ++i)
        parameters[i] = draw(-1.0f, 1.0f, kQB);
    parameters[network.outputBiasAt()] = draw(-0.5f, 0.5f, kQA * kQB);
    return network;
}

TEST(NnNetwork, QuantisedEvaluationFollowsTheFloatOutputFromBothSides) {
    // On the grid quantising loses nothing: only the float sums' rounding differs.
    const FloatNetwork exact = randomNetwork(true, 3);
    std::stringstream file;
    writeQuantised(file, exact.quantised());
    const QuantisedNetwork read = readQuantised(file, "net");
    // Off the grid each weight rounds by up to half a step, 0.5 / kQA on the ~30 active rows of
    // each accumulator and 0.5 / kQB on the 16 output weights: with output weights up to 1 the
    // errors walk to about 0.013 (5 centipawns), and 0.03 (12 centipawns) leaves them room.
    const FloatNetwork rounded = randomNetwork(false, 4);
    const QuantisedNetwork quantised = rounded.quantised();
    for (const DataRecord& record : positions()) {
        const DataRecord mirror = mirrored(record);
        EXPECT_NEAR(quantisedOutput(read, record), floatOutput(exact, record), 1e-5);
        EXPECT_EQ(outputOf(read, record.squares, record.sideToMove), outputOf(read, mirror.squares, mirror.sideToMove));
        EXPECT_NEAR(floatOutput(exact, mirror), floatOutput(exact, record), 1e-5);
        EXPECT_NEAR(quantisedOutput(quantised, record), floatOutput(rounded, record), 0.03);
    }
    // The side to move's half comes first: the same board with the other side to move differs.
    const std::vector<DataRecord> all = positions();
    EXPECT_NE(outputOf(read, all[2].squares, all[2].sideToMove), outputOf(read, all[3].squares, all[3].sideToMove));
}

// Kings and up to six other figures anywhere; the score is the material from the side to move's view.
std::vector<TrainingSample> materialSamples(std::size_t count, std::uint64_t seed) {
    constexpr std::array<int, 6> kValue{0, 100, 300, 300, 500, 900};
    std::mt19937_64 random(seed);
    std::vector<TrainingSample> samples;
    while (samples.size() < count) {
        DataRecord record;
        const auto place = [&](int figure) {
            int square = 0;
            do
                square = static_cast<int>(random() % 48) + 8;
            while (record.squares[static_cast<std::size_t>(square)] != 0);
            record.squares[static_cast<std::size_t>(square)] = static_cast<std::int8_t>(figure);
        };
        place(chess::KING);
        place(-chess::KING);
        int material = 0;
        for (int figures = static_cast<int>(random() % 7); figures > 0; --figures) {
            const int kind = static_cast<int>(random() % 5) + 1;
            const bool white = random() % 2 == 0;
            place(white ? kind : -kind);
            material += white ? kValue[static_cast<std::size_t>(kind)] : -kValue[static_cast<std::size_t>(kind)];
        }
        record.sideToMove = random() % 2 == 0 ? chess::WHITE : chess::BLACK;
        record.score = record.sideToMove == chess::WHITE ? material : -material;
        samples.push_back(sampleOf(record, 1.0f));
    }
    return samples;
}

TEST(NnTrainer, AFewHundredStepsTeachATinyNetworkTheMaterial) {
    const std::vector<TrainingSample> training = materialSamples(4096, 1);
    const std::vector<TrainingSample> validation = materialSamples(512, 2);
    FloatNetwork network(kTinyHidden, 1);
    Trainer trainer(network, 2);
    const double before = trainer.loss(validation);
    constexpr std::size_t kBatch = 256;
    constexpr std::uint64_t kSteps = 400;
    for (std::uint64_t step = 0; step < kSteps; ++step) {
        const std::size_t at = step * kBatch % training.size();
        trainer.step(std::span(training).subspan(at, kBatch), learningRateAt(0.01f, step, kSteps));
    }
    const double after = trainer.loss(validation);
    EXPECT_LT(after, before / 100) << before << " -> " << after;
    // The quantised network sees a queen up as a win from either side's view.
    const QuantisedNetwork quantised = network.quantised();
    const DataRecord up = recordOfFen("8/5k2/8/8/3Q4/8/2K5/8 w - - 0 60");
    EXPECT_GT(centipawnsOf(quantised, up.squares, chess::WHITE), 300);
    EXPECT_LT(centipawnsOf(quantised, up.squares, chess::BLACK), -300);
}

void expectRefused(const std::string& bytes, const std::vector<std::string>& named) {
    std::istringstream in(bytes);
    try {
        readQuantised(in, "net.vnn");
        ADD_FAILURE() << "read without complaint";
    } catch (const NetworkError& error) {
        for (const std::string& part : named)
            EXPECT_NE(std::string(error.what()).find(part), std::string::npos) << error.what();
    }
}

TEST(NnNetwork, FilesReadBackWhatWasWrittenAndRefuseDamage) {
    const FloatNetwork network = randomNetwork(false, 5);
    std::stringstream floatFile;
    network.write(floatFile);
    const FloatNetwork again = FloatNetwork::read(floatFile, "net.vnn.float");
    ASSERT_EQ(again.hidden(), kTinyHidden);
    EXPECT_TRUE(std::ranges::equal(again.parameters(), network.parameters()));

    std::ostringstream out;
    writeQuantised(out, network.quantised());
    const std::string good = out.str();
    ASSERT_EQ(good.size(), 12 + 2 * 768 * 8 + 2 * 8 + 2 * 16 + 4 + 8);
    std::istringstream in(good);
    EXPECT_EQ(readQuantised(in, "net.vnn").outputWeights, network.quantised().outputWeights);

    expectRefused("", {"net.vnn: 0 bytes", "12-byte header"});
    expectRefused(floatFile.str(), {"net.vnn: byte 0", "no VEKNNQNT magic"});
    std::string version = good;
    version[8] = 2;
    expectRefused(version, {"byte 8", "version 2"});
    std::string wider = good;
    wider[10] = 16;
    expectRefused(wider, {std::to_string(good.size()) + " bytes", "hidden size 16 has", "cut short"});
    expectRefused(good.substr(0, good.size() - 100), {"hidden size 8 has " + std::to_string(good.size())});
    std::string flipped = good;
    flipped[1000] ^= 0x10;
    expectRefused(flipped, {"checksum", "damaged"});
}

}  // namespace
}  // namespace vek::engine::tune
