// The protocol as a GUI speaks it: commands in, answer lines out. Every wait is bounded; the
// searches are kept small.
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "foundation/thread.h"
#include "uci/board_game.h"
#include "uci/engine.h"
#include "uci/fen.h"
#include "uci/long_algebraic.h"

namespace vek::uci {
namespace {

using namespace std::chrono_literals;

constexpr auto kAnswerWait = 60s;  // a sanitizer build under load is slow, never this slow

// The engine with its answers gathered from both of its threads.
class Session {
public:
    Session() : engine_([this](const std::string& line) { receive(line); }) {}

    bool send(const std::string& line) { return engine_.handle(line); }

    // The next answer line that begins with `prefix`, skipping others; none within `wait`.
    std::optional<std::string> await(const std::string& prefix, std::chrono::milliseconds wait = kAnswerWait) {
        std::unique_lock<std::mutex> lock(mutex_);
        const auto deadline = std::chrono::steady_clock::now() + wait;
        for (;;) {
            while (!lines_.empty()) {
                std::string line = lines_.front();
                lines_.pop_front();
                if (line.rfind(prefix, 0) == 0)
                    return line;
            }
            if (arrived_.wait_until(lock, deadline) == std::cv_status::timeout && lines_.empty())
                return std::nullopt;
        }
    }
    // Every answer so far, dropped from the queue.
    std::deque<std::string> takeAll() {
        const std::lock_guard<std::mutex> lock(mutex_);
        return std::exchange(lines_, {});
    }
    // The move of the next "bestmove" answer.
    std::string bestMove() {
        const auto line = await("bestmove ");
        return line ? line->substr(9) : "(no answer)";
    }

private:
    void receive(const std::string& line) {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            lines_.push_back(line);
        }
        arrived_.notify_all();
    }

    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<std::string> lines_;
    Engine engine_;  // last: it stops its search before the queue goes
};

bool isLegalIn(const char* fen, const std::string& moves, const std::string& answer) {
    std::string error;
    StandardPosition position = parseFen(fen, error).value();
    std::istringstream stream(moves);
    for (std::string move; stream >> move;)
        position = afterMove(position, parseMove(move).value());
    const auto move = parseMove(answer);
    return move && isLegal(position, *move);
}

// Black to move with one legal move only: its king's step to h7.
constexpr const char* kOneMove = "7k/8/5K2/8/8/8/8/6R1 b - - 0 1";

TEST(UciProtocol, HandshakeNamesTheEngineAndItsOptions) {
    Session session;
    session.send("uci");
    EXPECT_TRUE(session.await("id name "));
    EXPECT_TRUE(session.await("id author "));
    EXPECT_TRUE(session.await("option name Threads type spin default 1 min 1 max "));
    EXPECT_TRUE(session.await("option name Depth type spin"));
    EXPECT_TRUE(session.await("uciok"));
    session.send("isready");
    EXPECT_TRUE(session.await("readyok"));
    EXPECT_FALSE(session.send("quit"));
}

TEST(UciProtocol, AnswersALegalMoveAfterTheGuisMovesWithInfo) {
    Session session;
    const std::string moves = "e2e4 e7e5 g1f3 b8c6 f1c4 g8f6 e1g1 f8c5 c2c3 e8g8 d2d4 e5d4 c3d4 c5b4";
    session.send("setoption name Threads value 2");
    session.send("ucinewgame");
    session.send("position startpos moves " + moves);
    session.send("go depth 2");
    const auto info = session.await("info depth 2 ");
    ASSERT_TRUE(info);
    for (const char* field : {" score cp ", " nodes ", " nps ", " time ", " pv "})
        EXPECT_NE(info->find(field), std::string::npos) << *info;
    EXPECT_TRUE(isLegalIn(kStartFen.data(), moves, session.bestMove()));
}

// The new queen wins for either side; the score is seen from the side to move.
TEST(UciProtocol, PromotesWithTheLetterOfTheNewFigureAndScoresForTheMover) {
    Session session;
    for (const auto& [fen, promotion] : {std::pair{"8/4P3/8/8/8/8/k7/7K w - - 0 1", "e7e8q"},
                                         std::pair{"7k/K7/8/8/8/8/4p3/8 b - - 0 1", "e2e1q"}}) {
        session.send(std::string("position fen ") + fen);
        session.send("go depth 1");
        const auto info = session.await("info depth 1 score cp ");
        ASSERT_TRUE(info);
        EXPECT_GT(std::stoi(info->substr(std::string("info depth 1 score cp ").size())), 0) << *info;
        EXPECT_EQ(session.bestMove(), promotion);
    }
}

// The board's pin test takes the rook e6 for pinned by the pawn f5, which covers e6 but cannot
// pin; the GUI's rook moves are played all the same.
TEST(UciProtocol, PlaysTheGuisMovesThatTheBoardsOwnTestWouldRefuse) {
    Session session;
    const char* fen = "1nbq1bn1/2pkpp1r/4r2p/PN3PpQ/2Pp4/3PP2P/P2N1KPR/R1B2B2 b - - 0 1";
    session.send(std::string("position fen ") + fen + " moves e6a6 e3d4");
    session.send("go depth 1");
    const std::string answer = session.bestMove();
    EXPECT_TRUE(isLegalIn(fen, "e6a6 e3d4", answer)) << answer;
    for (const std::string& line : session.takeAll())
        EXPECT_EQ(line.find("info string"), std::string::npos) << line;
}

TEST(UciProtocol, BadInputIsReportedAndThePositionStays) {
    Session session;
    session.send(std::string("position fen ") + kOneMove);
    const char* bad[] = {
        "hello",
        "position",
        "position fen 8/8/8 w - - 0 1",
        "position fen 8/8/8/8/8/8/8/8 w - - 0 1",
        "position startpos moves e2e5",
        "position startpos moves e2e4 xyz",
        "position startpos moves e2e4 e7e5 e1g1",
        "go depth many",
        "setoption name Threads value 1000",
        "setoption name Depth value zero",
    };
    for (const char* command : bad) {
        EXPECT_TRUE(session.send(command));
        EXPECT_TRUE(session.await("info string ")) << command;
    }
    session.send("setoption name Hash value 64");  // an option it does not have: ignored
    session.send("go depth 1");
    EXPECT_EQ(session.bestMove(), "h8h7");
}

// "go infinite" answers after "stop", or after "quit", which ends the search first.
TEST(UciProtocol, AnInfiniteSearchAnswersOnlyWhenStopped) {
    Session session;
    session.send("position startpos");
    for (const char* end : {"stop", "quit"}) {
        session.send("go infinite");
        EXPECT_TRUE(session.await("info depth 1 "));
        session.send("isready");
        EXPECT_TRUE(session.await("readyok"));
        EXPECT_FALSE(session.await("bestmove", 300ms));
        session.send(end);
        EXPECT_TRUE(isLegalIn(kStartFen.data(), "", session.bestMove()));
    }
}

// Stopped before its first depth is done, the search still answers a move it may play, never
// the null move: by "stop" right after "go", and by a limit too short for any depth.
TEST(UciProtocol, AStopDuringTheFirstDepthStillAnswersALegalMove) {
    Session session;
    session.send("position startpos moves e2e4");
    for (const char* go : {"go infinite", "go movetime 1", "go wtime 1 btime 1"}) {
        session.send(go);
        session.send("stop");
        EXPECT_TRUE(isLegalIn(kStartFen.data(), "e2e4", session.bestMove())) << go;
    }
}

TEST(UciProtocol, TimedSearchesAnswerByThemselves) {
    Session session;
    session.send("position startpos moves d2d4");
    session.send("go movetime 300");
    EXPECT_TRUE(isLegalIn(kStartFen.data(), "d2d4", session.bestMove()));
    session.send("go wtime 2000 btime 2000 winc 10 binc 10");
    EXPECT_TRUE(isLegalIn(kStartFen.data(), "d2d4", session.bestMove()));
    session.send(std::string("position fen ") + kOneMove);
    session.send("go wtime 60000 btime 60000 movestogo 40");
    EXPECT_EQ(session.bestMove(), "h8h7");
}

// Without a thread for the search the GUI still gets its answer.
TEST(UciProtocol, AnswersEvenWhenNoThreadCanBeStarted) {
    Session session;
    session.send("position startpos moves e2e4");
    vek::detail::failNextThreadCreation();
    session.send("go depth 3");
    EXPECT_TRUE(session.await("info string "));
    EXPECT_TRUE(isLegalIn(kStartFen.data(), "e2e4", session.bestMove()));
}

TEST(UciProtocol, NullMoveWhenThereIsNoMove) {
    Session session;
    session.send("position fen 7k/5Q2/6K1/8/8/8/8/8 b - - 0 1");
    session.send("go depth 2");
    EXPECT_EQ(session.bestMove(), "0000");
}

}  // namespace
}  // namespace vek::uci
