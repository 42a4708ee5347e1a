// The neural evaluation's data: its files read back what was written, in the same bytes on every
// platform; a damaged file is refused with its place named; and the generator keeps quiet
// positions, each with its own game's result.
#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tune/nn_data_file.h"
#include "tune/nn_datagen.h"
#include "tune/texel.h"
#include "uci/fen.h"

namespace vek::engine::tune {
namespace {

// A file in the test's temporary folder, removed afterwards.
struct TempFile {
    const std::filesystem::path path =
        std::filesystem::path(testing::TempDir()) /
        (std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) + ".nndata");

    TempFile() { std::filesystem::remove(path); }
    ~TempFile() { std::filesystem::remove(path); }

    std::string bytes() const {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
};

DataRecord record(const std::string& fen, int score, RecordResult result, int ply, int clock) {
    DataRecord made = recordOf({positionFromFen(fen), 0}, ocDRAW);
    made.score = score;
    made.result = result;
    made.ply = ply;
    made.halfmoveClock = clock;
    return made;
}

// Every kind of figure of both colours, both sides to move, every result, castling rights and an
// en passant square, scores and plies beyond a byte.
std::vector<DataRecord> samples() {
    return {record("r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3", 25, rrWIN, 4, 2),
            record("rnbqkbnr/ppp1pppp/8/8/3pP3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 3", -317, rrLOSS, 5, 0),
            record("8/8/4k3/8/8/3K4/8/8 w - - 40 90", 0, rrDRAW, 300, 40),
            record("4k3/8/8/8/8/8/8/R3K2R b KQ - 0 1", -32768, rrWIN, 65535, 99)};
}

std::string fileHolding(const std::vector<DataRecord>& records) {
    const TempFile file;
    DataWriter(file.path).append(records);
    return file.bytes();
}

void expectRefused(const std::string& bytes, const std::vector<std::string>& named) {
    std::istringstream in(bytes);
    try {
        DataReader reader(in, "data");
        while (reader.next()) {
        }
        ADD_FAILURE() << "read without complaint";
    } catch (const DataError& error) {
        for (const std::string& part : named)
            EXPECT_NE(std::string(error.what()).find(part), std::string::npos) << error.what();
    }
}

TEST(NnData, ReadsBackWhatWasWrittenAndAppended) {
    const std::vector<DataRecord> written = samples();
    const TempFile file;
    DataWriter(file.path).append({written[0], written[1]});
    DataWriter again(file.path);
    EXPECT_EQ(again.existing(), 2u);
    again.append({written[2], written[3]});

    const std::string bytes = file.bytes();
    ASSERT_EQ(bytes.size(), kHeaderSize + 4 * kRecordSize);
    EXPECT_EQ(bytes.substr(0, 12), std::string("VEKNNPOS\x01\x00\x20\x00", 12));
    // Little-endian whatever the platform: the last record's score -32768 and ply 65535.
    const std::size_t last = kHeaderSize + 3 * kRecordSize;
    EXPECT_EQ(bytes.substr(last + 24, 2), std::string("\x00\x80", 2));
    EXPECT_EQ(bytes.substr(last + 28, 2), std::string("\xFF\xFF", 2));

    std::istringstream in(bytes);
    DataReader reader(in, "data");
    EXPECT_EQ(reader.records(), 4u);
    for (const DataRecord& expected : written)
        EXPECT_EQ(reader.next(), expected);
    EXPECT_FALSE(reader.next());
    EXPECT_EQ(positionOf(written[1]).enPassant(), 20);  // e3
}

TEST(NnData, RefusesDamagedFilesNamingWhereAndWhat) {
    const std::string good = fileHolding(samples());
    std::string magic = good;
    magic[3] = 'X';
    expectRefused(magic, {"data: byte 0", "magic"});
    std::string version = good;
    version[8] = 2;
    expectRefused(version, {"byte 8", "version 2"});
    expectRefused(good.substr(0, 7), {"7 bytes", "header"});
    // A figure code of no figure in the second record's first nibble.
    std::string figure = good;
    figure[kHeaderSize + kRecordSize + 8] = 0x7;
    expectRefused(figure, {"byte 44 (record 1)", "figure code 7 on a1"});
    // A write cut short: the whole records before it are named, and nothing is appended.
    const std::string cut = good.substr(0, good.size() - 5);
    expectRefused(cut, {"byte 108 (record 3)", "27 of 32 bytes", "end at byte 108"});
    const TempFile file;
    std::ofstream(file.path, std::ios::binary) << cut;
    EXPECT_THROW(DataWriter{file.path}, DataError);
    EXPECT_EQ(file.bytes(), cut);
}

TEST(NnDatagen, KeepsQuietPositionsEachWithItsGamesResult) {
    const std::atomic<bool> stop{false};
    std::vector<std::vector<DataRecord>> games;
    const DatagenSettings settings{.threads = 2, .nodesPerMove = 300, .seed = 5, .randomPlies = 8, .positions = 1};
    const std::uint64_t taken =
        generate(settings, stop, [&](const std::vector<DataRecord>& records) { games.push_back(records); });
    // Each thread finishes the game it began.
    ASSERT_GE(games.size(), 2u);
    std::uint64_t counted = 0;
    for (const std::vector<DataRecord>& game : games) {
        ASSERT_FALSE(game.empty());
        counted += game.size();
        const auto whiteResult = [](const DataRecord& r) {
            return r.sideToMove == chess::WHITE ? r.result : static_cast<RecordResult>(rrWIN - r.result);
        };
        for (const DataRecord& kept : game) {
            EXPECT_EQ(whiteResult(kept), whiteResult(game.front()));
            EXPECT_FALSE(positionOf(kept).inCheck()) << uci::fenOf(positionOf(kept));
            EXPECT_LT(std::abs(kept.score), 1000);
            EXPECT_EQ(decode(encode(kept), "record"), kept);
        }
    }
    EXPECT_EQ(taken, counted);
    // The threads' seeds differ, and so do their games.
    EXPECT_NE(games[0].front(), games[1].front());
}

}  // namespace
}  // namespace vek::engine::tune
