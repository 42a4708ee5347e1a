// A search on its own thread, stopped from the test's thread. Also run under ThreadSanitizer.
#include <atomic>
#include <chrono>
#include <limits>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "chess/board.h"
#include "foundation/thread.h"

namespace vek::chess {
namespace {

using namespace std::chrono_literals;

// The middlegame: some 34 moves a side, so that a full depth-4 search makes over a million
// trial moves.
constexpr const char* kMiddlegame = "T LD TK BB  LBBB  S  S    B B      Bb      b sb bbb sblbt ld tk W";

// Runs one root search on a board of its own. The results are read after the thread has
// finished.
class SearchThread : public vek::Thread {
public:
    SearchThread(const char* position, std::int32_t depth, std::size_t threads = 0) : depth_(depth) {
        loaded_ = board_.loadPosition(vek::STRING(position));
        board_.refresh();
        board_.setSearchThreads(threads);
        historyBefore_ = board_.history().getCount();
    }

    void ExecuteThread() override {
        searching_ = true;
        chosen_ = board_.findBestMove(depth_, candidateCount_, true);
    }

    bool loaded() const { return loaded_; }
    bool searching() const { return searching_; }
    const Move& chosen() const { return chosen_; }
    std::int32_t candidateCount() const { return candidateCount_; }
    std::uint64_t trialMoves() const { return board_.trialMoveCount(); }
    bool historyRestored() const { return board_.history().getCount() == historyBefore_; }

private:
    Board board_;
    std::int32_t depth_;
    bool loaded_ = false;
    std::size_t historyBefore_ = 0;
    std::atomic<bool> searching_{false};
    Move chosen_;
    std::int32_t candidateCount_ = 0;
};

// Owned by counted references: the registry holds one while the thread is registered.
vek::SharedRef<SearchThread> makeSearch(const char* position, std::int32_t depth, std::size_t threads = 0) {
    auto* thread = new SearchThread(position, depth, threads);
    thread->setAutoDelete(true);
    return vek::SharedRef<SearchThread>(thread);
}

bool isRealMove(const Move& move) {
    return move.figure && move.from != kNoSquare && move.to != kNoSquare;
}

// Finished threads leave the registry, and so the process, before the next test.
class SearchStop : public ::testing::Test {
protected:
    void TearDown() override { vek::purgeThreads(); }
};

TEST_F(SearchStop, StopRequestEndsADeepSearchWithAMove) {
    const vek::SharedRef<SearchThread> search = makeSearch(kMiddlegame, 4);
    ASSERT_TRUE(search->loaded());
    search->StartThread(vek::STRING("engine"));
    while (!search->searching())
        std::this_thread::sleep_for(1ms);
    std::this_thread::sleep_for(20ms);
    search->StopThread();

    // The full search takes minutes in a sanitizer build; once stopped, the open loops finish
    // with evaluations alone.
    ASSERT_TRUE(search->waitUntilFinished(60000));
    EXPECT_TRUE(isRealMove(search->chosen()));
    EXPECT_GE(search->candidateCount(), 1);
    EXPECT_LT(search->trialMoves(), 200000u);
}

// A search deep enough never to finish, stopped early in its first lines or well into them.
// With two workers the stop also meets the replays of root moves and the settle step.
TEST_F(SearchStop, StopEndsASearchOfAnyDepthWithAMove) {
    constexpr std::int32_t kDepths[] = {6, 23, MAX_SEARCH_DEPTH, 1000, 99999, std::numeric_limits<std::int32_t>::max()};
    for (const std::size_t threads : {1u, 2u}) {
        for (const std::int32_t depth : kDepths) {
            for (const auto delay : {0ms, 30ms}) {
                const vek::SharedRef<SearchThread> search = makeSearch(kMiddlegame, depth, threads);
                search->StartThread(vek::STRING("engine"));
                for (int waited = 0; waited < 10000 && !search->searching(); ++waited)
                    std::this_thread::sleep_for(1ms);
                std::this_thread::sleep_for(delay);
                search->StopThread();
                const std::string what = std::to_string(threads) + " threads, depth " + std::to_string(depth);
                // Bounded, so that a search that ignores the stop fails the test instead of
                // hanging it; a stopped search returns within milliseconds.
                ASSERT_TRUE(search->waitUntilFinished(60000)) << what;
                EXPECT_TRUE(isRealMove(search->chosen())) << what;
                EXPECT_GE(search->candidateCount(), 1) << what;
                EXPECT_TRUE(search->historyRestored()) << what;
            }
        }
    }
}

TEST_F(SearchStop, NewThreadSearchesToItsFullDepth) {
    const vek::SharedRef<SearchThread> stopped = makeSearch(kMiddlegame, 3);
    stopped->StartThread(vek::STRING("engine"));
    stopped->StopThread();
    ASSERT_TRUE(stopped->waitUntilFinished(60000));

    // 20 first moves and 400 answers: the new thread's flag starts clear.
    const vek::SharedRef<SearchThread> next =
        makeSearch("TSLDKLSTBBBBBBBB                                bbbbbbbbtsldklstW", 2);
    next->StartThread(vek::STRING("engine"));
    ASSERT_TRUE(next->waitUntilFinished(60000));
    EXPECT_FALSE(next->isTerminated());
    EXPECT_EQ(next->trialMoves(), 420u);
    EXPECT_TRUE(isRealMove(next->chosen()));
}

}  // namespace
}  // namespace vek::chess
