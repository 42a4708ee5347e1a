// The protocol as a GUI speaks it: commands in, answer lines out. Every wait is bounded; the
// searches are kept small.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <future>
#include <map>
#include <mutex>
#include <thread>
#include <vector>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "engine/nn_quantised.h"
#include "foundation/thread.h"
#include "uci/engine_game.h"
#include "uci/engine.h"
#include "uci/fen.h"
#include "uci/long_algebraic.h"

namespace vek::uci {
namespace {

using namespace std::chrono_literals;

// What an answer that takes milliseconds may take on a slow, loaded machine with sanitizers:
// a note, "readyok", the answer after "stop" or after a clock's hard limit. A broken "stop",
// "ponderhit" or "setoption" fails the test within it rather than run into a time-out.
constexpr auto kPromptWait = 3s;
// The next line of one of the small fixed-depth searches below: at most some 0.6 s apart in
// the AddressSanitizer build, some ten times that under ThreadSanitizer; a depth's time is no
// rule of the protocol.
#ifdef __SANITIZE_THREAD__
constexpr auto kSearchWait = 30s;
#else
constexpr auto kSearchWait = 10s;
#endif
// What handling one command may take: those that end a search first wait for it to stop.
constexpr auto kCommandWait = 5s;

// The engine with its answers gathered from both of its threads.
class Session {
public:
    Session() : engine_([this](const std::string& line) { receive(line); }) {}
    // The engine stops its search before the queue goes.
    ~Session() { send("quit"); }

    // Handles a command; should the engine not be done within kCommandWait (a search that
    // does not stop), the run ends here, at once, rather than at its time-out.
    bool send(const std::string& line, std::chrono::seconds wait = kCommandWait) {
        std::packaged_task<bool()> handling([this, line] { return engine_.handle(line); });
        std::future<bool> handled = handling.get_future();
        std::thread handler(std::move(handling));
        if (handled.wait_for(wait) != std::future_status::ready) {
            ADD_FAILURE() << "\"" << line.substr(0, 40) << "\" not handled within " << wait.count() << " s";
            std::fflush(nullptr);
            std::_Exit(1);
        }
        handler.join();
        return handled.get();
    }

    // The next answer line that begins with `prefix`, skipping others; none within `wait`.
    std::optional<std::string> await(const std::string& prefix, std::chrono::milliseconds wait) {
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
    // The move of the next "bestmove" answer (without its "ponder" move).
    std::string bestMove(std::chrono::milliseconds wait = kSearchWait) {
        const auto line = await("bestmove ", wait);
        return line ? firstWord(line->substr(9)) : "(no answer)";
    }

    static std::string firstWord(const std::string& text) { return text.substr(0, text.find(' ')); }

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

// Whether the moves of `line`, after those of `moves`, are legal one after the other (the
// first is the engine's answer).
bool isLegalIn(const char* fen, const std::string& moves, const std::string& line) {
    std::string error;
    engine::Position position = enginePosition(parseFen(fen, error).value());
    std::istringstream stream(moves);
    for (std::string move; stream >> move;)
        position.play(parseMove(move).value());
    std::istringstream answer(line);
    int count = 0;
    for (std::string word; answer >> word; ++count) {
        const auto move = parseMove(word);
        if (!move || !isLegal(position, *move))
            return false;
        position.play(*move);
    }
    return count > 0;
}

// The number after `field` in an "info" line, or a value no test expects when it is missing.
int scoreOf(const std::string& info, const std::string& field) {
    const std::size_t at = info.find(field);
    return at == std::string::npos ? -99999 : std::stoi(info.substr(at + field.size()));
}

// The last "info depth" line before the answer, and the answer's move.
std::pair<std::string, std::string> lastInfoAndMove(Session& session) {
    std::string info;
    for (auto line = session.await("", kSearchWait); line; line = session.await("", kSearchWait)) {
        if (line->rfind("bestmove ", 0) == 0)
            return {info, Session::firstWord(line->substr(9))};
        if (line->rfind("info depth ", 0) == 0)
            info = *line;
    }
    return {info, "(no answer)"};
}

// Black to move with one legal move only: its king's step to h7.
constexpr const char* kOneMove = "7k/8/5K2/8/8/8/8/6R1 b - - 0 1";

TEST(UciProtocol, HandshakeNamesTheEngineAndItsOptions) {
    Session session;
    session.send("uci");
    EXPECT_TRUE(session.await("id name ", kPromptWait));
    EXPECT_TRUE(session.await("id author ", kPromptWait));
    EXPECT_TRUE(
        session.await("option name Search type combo default AlphaBeta var AlphaBeta var Minimax", kPromptWait));
    EXPECT_TRUE(session.await("option name Hash type spin default 16 min 1 max ", kPromptWait));
    EXPECT_TRUE(session.await("option name Clear Hash type button", kPromptWait));
    EXPECT_TRUE(session.await("option name Threads type spin default 1 min 1 max ", kPromptWait));
    EXPECT_TRUE(session.await("option name Depth type spin", kPromptWait));
    EXPECT_TRUE(session.await("option name Move Overhead type spin default 150 min 0 max 5000", kPromptWait));
    EXPECT_TRUE(session.await("option name MultiPV type spin default 1 min 1 max 16", kPromptWait));
    EXPECT_TRUE(session.await("option name Ponder type check default false", kPromptWait));
    EXPECT_TRUE(session.await("option name UCI_LimitStrength type check default false", kPromptWait));
    EXPECT_TRUE(session.await("option name UCI_Elo type spin default 1800 min 1000 max 2400", kPromptWait));
    EXPECT_TRUE(session.await("option name UCI_ShowWDL type check default false", kPromptWait));
    EXPECT_TRUE(session.await("option name UCI_Chess960 type check default false", kPromptWait));
    EXPECT_TRUE(session.await("option name UCI_AnalyseMode type check default false", kPromptWait));
    EXPECT_TRUE(session.await("option name Evaluation type combo default Hand-written var Hand-written var Network",
                              kPromptWait));
    EXPECT_TRUE(session.await("option name EvalFile type string default <built-in>", kPromptWait));
    EXPECT_TRUE(session.await("uciok", kPromptWait));
    session.send("isready");
    EXPECT_TRUE(session.await("readyok", kPromptWait));
    EXPECT_FALSE(session.send("quit"));
}

TEST(UciProtocol, AnswersALegalMoveAfterTheGuisMovesWithInfo) {
    Session session;
    const std::string moves = "e2e4 e7e5 g1f3 b8c6 f1c4 g8f6 e1g1 f8c5 c2c3 e8g8 d2d4 e5d4 c3d4 c5b4";
    session.send("setoption name Threads value 2");
    session.send("ucinewgame");
    session.send("position startpos moves " + moves);
    session.send("go depth 2");
    const auto info = session.await("info depth 2 ", kSearchWait);
    ASSERT_TRUE(info);
    for (const char* field : {" seldepth ", " score cp ", " nodes ", " nps ", " time ", " hashfull ", " pv "})
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
        const auto info = session.await("info depth 1 ", kSearchWait);
        ASSERT_TRUE(info);
        EXPECT_GT(scoreOf(*info, " score cp "), 0) << *info;
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

// A GUI may leave out the FEN's counters, so that it ends with the en passant square: the
// capture there is legal, for both searches.
TEST(UciProtocol, AFenOfFourFieldsKeepsItsEnPassantSquare) {
    Session session;
    const char* fen = "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6";
    for (const char* search : {"AlphaBeta", "Minimax"}) {
        session.send(std::string("setoption name Search value ") + search);
        session.send(std::string("position fen ") + fen + " moves e5f6 g7f6");  // the pawn that took is taken
        for (const std::string& line : session.takeAll())
            EXPECT_EQ(line.find("info string"), std::string::npos) << search << ": " << line;
        session.send("go depth 1");
        EXPECT_TRUE(isLegalIn(fen, "e5f6 g7f6", session.bestMove())) << search;
    }
}

TEST(UciProtocol, BadInputIsReportedAndThePositionStays) {
    Session session;
    session.send(std::string("position fen ") + kOneMove);
    const char* bad[] = {
        "hello",
        "go depth many",
        "setoption name Threads value 1000",
        "setoption name Depth value zero",
        "setoption name Hash value 0",
        "setoption name Search value Random",
        "setoption name MultiPV value 17",
        "setoption name UCI_Elo value 999",
        "setoption name UCI_ShowWDL value yes",
        "setoption name Move Overhead value -1",
        "setoption name UCI_Chess960 value maybe",
        "setoption name Contempt value 64",  // an option it does not have
        "go nodes",
        "go perft 0",
        "go perft",
        "bench deep",
    };
    for (const char* command : bad) {
        EXPECT_TRUE(session.send(command));
        EXPECT_TRUE(session.await("info string ", kPromptWait)) << command;
    }
    session.send("go depth 1");
    EXPECT_EQ(session.bestMove(), "h8h7");
}

// The lines of the answer to `command` up to the one that begins with `last`, which is kept.
std::vector<std::string> linesUpTo(Session& session, const std::string& command, const std::string& last) {
    session.send(command);
    std::vector<std::string> lines;
    for (auto line = session.await("", kSearchWait); line; line = session.await("", kSearchWait)) {
        lines.push_back(*line);
        if (line->rfind(last, 0) == 0)
            break;
    }
    return lines;
}

// After a refused position no move of an earlier one may be answered, for the GUI would take
// it for a move of its new game: "go" answers the null move, with the reason, until a valid
// position comes.
TEST(UciProtocol, ARefusedPositionLeavesNoneToSearch) {
    Session session;
    const char* refused[] = {
        "position",
        "position fen 8/8/8 w - - 0 1",
        "position fen 8/8/8/8/8/8/8/8 w - - 0 1",
        "position fen rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KX - 0 1",
        "position startpos moves e2e5",
        "position startpos moves e2e4 xyz",
        "position startpos moves e2e4 e7e5 e1g1",
    };
    for (const char* command : refused) {
        session.send("position startpos moves e2e4");
        session.send(command);
        EXPECT_TRUE(session.await("info string ", kPromptWait)) << command;
        const std::vector<std::string> answer = linesUpTo(session, "go depth 3", "bestmove ");
        EXPECT_EQ(answer.back(), "bestmove 0000") << command;
        EXPECT_EQ(answer.front().rfind("info string ", 0), 0u) << command << ": " << answer.front();
    }
    session.send("go infinite");  // answered at once: there is nothing to search
    EXPECT_EQ(session.bestMove(kPromptWait), "0000");
    session.send(std::string("position fen ") + kOneMove);
    session.send("go depth 1");
    EXPECT_EQ(session.bestMove(), "h8h7");
}

// "go perft" as perft-debugging tools read it, "d" and "eval".
TEST(UciProtocol, PerftBoardAndEvaluationForDevelopers) {
    Session session;
    session.send("position startpos");
    const std::vector<std::string> perft = linesUpTo(session, "go perft 2", "Nodes searched: ");
    ASSERT_EQ(perft.size(), 22u);
    for (std::size_t i = 0; i < 20; ++i)
        EXPECT_EQ(perft[i].substr(4), ": 20") << perft[i];
    EXPECT_NE(std::find(perft.begin(), perft.end(), "g1f3: 20"), perft.end());
    EXPECT_EQ(perft[20], "");
    EXPECT_EQ(perft[21], "Nodes searched: 400");

    const std::string kiwipete = "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1";
    session.send("position fen " + kiwipete);
    const std::vector<std::string> board = linesUpTo(session, "d", "Key: ");
    ASSERT_GE(board.size(), 2u);
    EXPECT_EQ(board[board.size() - 2], "Fen: " + kiwipete);
    EXPECT_EQ(board.back().size(), 5u + 16u) << board.back();
    EXPECT_NE(std::find(board.begin(), board.end(), " | r |   |   |   | k |   |   | r | 8"), board.end());
    const std::vector<std::string> evaluation = linesUpTo(session, "eval", "Final evaluation: ");
    EXPECT_GE(evaluation.size(), 8u);
    EXPECT_EQ(evaluation.back().rfind("Final evaluation: ", 0), 0u);
}

// In Chess960 castling is written and read as the king taking its own rook; through check it
// is not legal. Outside it, castling is e1g1, and e1h1 is read as the same move.
TEST(UciProtocol, Chess960CastlesAsTheKingTakingItsOwnRook) {
    Session session;
    session.send("setoption name UCI_Chess960 value true");
    session.send("position fen r2k3r/8/8/8/8/8/8/1R1KR3 w BEah - 0 1 moves d1e1");
    EXPECT_EQ(linesUpTo(session, "d", "Fen: ").back(), "Fen: r2k3r/8/8/8/8/8/8/1R3RK1 b kq - 1 1");
    const std::vector<std::string> moves = linesUpTo(session, "go perft 1", "Nodes searched: ");
    EXPECT_NE(std::find(moves.begin(), moves.end(), "d8a8: 1"), moves.end());
    EXPECT_EQ(std::find(moves.begin(), moves.end(), "d8h8: 1"), moves.end());  // through f8, which Rf1 holds
    session.send("go depth 2 searchmoves d8a8");
    EXPECT_EQ(session.bestMove(), "d8a8");
    session.send("setoption name Search value Minimax");  // the program's board knows no Chess960
    session.send("go depth 1");
    EXPECT_TRUE(session.await("info string ", kPromptWait));
    EXPECT_NE(session.bestMove(), "0000");

    session.send("setoption name UCI_Chess960 value false");
    session.send("position startpos moves e2e4 e7e5 g1f3 b8c6 f1c4 g8f6 e1h1");
    EXPECT_EQ(linesUpTo(session, "d", "Fen: ").back(),
              "Fen: r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQ1RK1 b kq - 5 4");
    for (const std::string& line : session.takeAll())
        EXPECT_EQ(line.find("info string"), std::string::npos) << line;
}

// "go infinite" answers after "stop", or after "quit", which ends the search first; so does a
// search that has nothing to deepen: bare kings, a single move that leaves bare kings, and no
// move at all.
TEST(UciProtocol, AnInfiniteSearchAnswersOnlyWhenStopped) {
    Session session;
    for (const auto& [fen, answer] : {std::pair{"8/8/4k3/8/8/3K4/8/8 w - - 0 1", ""},
                                      std::pair{"k7/1Q6/8/8/8/8/8/7K b - - 0 1", "a8b7"},
                                      std::pair{"7k/5Q2/6K1/8/8/8/8/8 b - - 0 1", "0000"}}) {
        session.send(std::string("position fen ") + fen);
        session.send("go infinite");
        ASSERT_FALSE(session.await("bestmove", 300ms)) << fen;  // time enough for every depth
        session.send("stop");
        const std::string move = session.bestMove(kPromptWait);
        EXPECT_TRUE(*answer ? move == answer : isLegalIn(fen, "", move)) << fen << ": " << move;
    }
    session.send("position startpos");
    for (const char* end : {"stop", "quit"}) {
        session.send("go infinite");
        EXPECT_TRUE(session.await("info depth 1 ", kSearchWait));
        session.send("isready");
        EXPECT_TRUE(session.await("readyok", kPromptWait));
        EXPECT_FALSE(session.await("bestmove", 300ms));
        session.send(end);
        EXPECT_TRUE(isLegalIn(kStartFen.data(), "", session.bestMove(kPromptWait)));
    }
}

// "Clear Hash" and "ucinewgame" empty the table: a search repeated after either counts the
// nodes it counted on the empty table, and fewer without.
TEST(UciProtocol, ClearHashAndANewGameEmptyTheTable) {
    Session session;
    const auto nodesOfSearch = [&session] {
        session.send("position startpos moves e2e4 e7e5");
        session.send("go depth 6");
        return scoreOf(lastInfoAndMove(session).first, " nodes ");
    };
    const int cold = nodesOfSearch();
    EXPECT_LT(nodesOfSearch(), cold);
    for (const char* clear : {"setoption name Clear Hash", "ucinewgame"}) {
        session.send(clear);
        EXPECT_EQ(nodesOfSearch(), cold) << clear;
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
        EXPECT_TRUE(isLegalIn(kStartFen.data(), "e2e4", session.bestMove(kPromptWait))) << go;
    }
}

// Each answer within its hard limit (a third of a second here) and the time a stop takes.
TEST(UciProtocol, TimedSearchesAnswerByThemselves) {
    Session session;
    session.send("position startpos moves d2d4");
    session.send("go movetime 300");
    EXPECT_TRUE(isLegalIn(kStartFen.data(), "d2d4", session.bestMove(kPromptWait)));
    session.send("go wtime 2000 btime 2000 winc 10 binc 10");
    EXPECT_TRUE(isLegalIn(kStartFen.data(), "d2d4", session.bestMove(kPromptWait)));
    session.send(std::string("position fen ") + kOneMove);
    session.send("go wtime 60000 btime 60000 movestogo 40");
    EXPECT_EQ(session.bestMove(kPromptWait), "h8h7");
}

// "Move Overhead" reaches the time plan: kept off a clock of 5.1 s for the last move before
// the control, it leaves a hard limit of 0.1 s; the default of 0.15 s would let the search
// begin depths for 1.8 s at least.
TEST(UciProtocol, TheMoveOverheadSetIsKeptOnTheClock) {
    Session session;
    session.send("setoption name Move Overhead value 5000");
    session.send("position startpos");
    session.send("go wtime 5100 btime 5100 movestogo 1");
    EXPECT_TRUE(isLegalIn(kStartFen.data(), "", session.bestMove(1600ms)));
}

// Without a thread for the search the GUI still gets its answer.
TEST(UciProtocol, AnswersEvenWhenNoThreadCanBeStarted) {
    Session session;
    session.send("position startpos moves e2e4");
    vek::detail::failNextThreadCreation();
    session.send("go depth 3");
    EXPECT_TRUE(session.await("info string ", kPromptWait));
    EXPECT_TRUE(isLegalIn(kStartFen.data(), "e2e4", session.bestMove()));
}

TEST(UciProtocol, NullMoveWhenThereIsNoMove) {
    Session session;
    session.send("position fen 7k/5Q2/6K1/8/8/8/8/8 b - - 0 1");
    session.send("go depth 2");
    EXPECT_EQ(session.bestMove(), "0000");
}

// A long search names each root move it begins from its third second on, and gives its counts
// whenever a second has passed without them; a score that is only a bound says which.
TEST(UciProtocol, ALongSearchKeepsTheGuiInformed) {
    Session session;
    session.send("position startpos moves e2e4 e7e5");
    session.send("go infinite");
    std::optional<std::string> currentMove, counts;
    const auto deadline = std::chrono::steady_clock::now() + engine::kCurrentMoveAfter + kSearchWait;
    while ((!currentMove || !counts) && std::chrono::steady_clock::now() < deadline) {
        const auto line = session.await("info ", kSearchWait);
        if (!line)
            break;
        if (line->rfind("info currmove ", 0) == 0)
            currentMove = *line;
        if (line->rfind("info nodes ", 0) == 0)
            counts = *line;
    }
    session.send("stop");
    EXPECT_TRUE(isLegalIn(kStartFen.data(), "e2e4 e7e5", session.bestMove(kPromptWait)));
    ASSERT_TRUE(currentMove && counts);
    const std::string move = Session::firstWord(currentMove->substr(14));
    EXPECT_TRUE(isLegalIn(kStartFen.data(), "e2e4 e7e5", move)) << *currentMove;
    EXPECT_GE(scoreOf(*currentMove, " currmovenumber "), 1) << *currentMove;
    for (const char* field : {" nps ", " hashfull ", " time "})
        EXPECT_NE(counts->find(field), std::string::npos) << *counts;

    engine::Report report;
    report.depth = 9;
    report.score = {false, 35};
    report.bound = engine::bdLOWER;
    EXPECT_NE(infoLine(report, true).find(" score cp 35 lowerbound wdl "), std::string::npos) << infoLine(report, true);
    report.score = {true, -2};
    report.bound = engine::bdUPPER;
    EXPECT_NE(infoLine(report, false).find(" score mate -2 upperbound nodes "), std::string::npos);
}

// A note quotes at most the first 80 bytes of what it refuses, with control bytes escaped.
TEST(UciProtocol, NotesQuoteBadInputShortAndPrintable) {
    Session session;
    session.send(std::string(1 << 20, 'x'));
    const auto huge = session.await("info string ", kPromptWait);
    ASSERT_TRUE(huge);
    EXPECT_LT(huge->size(), 200u);
    session.send("\x01hello\x7f");
    const auto control = session.await("info string ", kPromptWait);
    ASSERT_TRUE(control);
    EXPECT_NE(control->find("\\x01hello\\x7f"), std::string::npos) << *control;
    session.send("position startpos moves e2e4 e7e5\x02");
    const auto move = session.await("info string ", kPromptWait);
    ASSERT_TRUE(move);
    EXPECT_NE(move->find("e7e5\\x02"), std::string::npos) << *move;
}

// Mates are scored by their distance in moves, for the side that mates and the side mated;
// the mating move is played.
TEST(UciProtocol, MatesAreScoredInMovesForBothSides) {
    Session session;
    struct Case {
        const char* fen;
        const char* score;
        const char* move;
    };
    for (const Case& c : {Case{"6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1", " score mate 1 ", "a1a8"},
                          Case{"k7/8/2K5/8/8/8/8/7R w - - 0 1", " score mate 2 ", nullptr},
                          Case{"k7/8/1K6/8/8/8/8/7R b - - 0 1", " score mate -1 ", "a8b8"}}) {
        session.send(std::string("position fen ") + c.fen);
        session.send("go depth 6");
        const auto [info, move] = lastInfoAndMove(session);
        EXPECT_NE(info.find(c.score), std::string::npos) << c.fen << ": " << info;
        if (c.move)
            EXPECT_EQ(move, c.move) << c.fen;
        else
            EXPECT_TRUE(isLegalIn(c.fen, "", move)) << c.fen << ": " << move;
    }
}

// "searchmoves" restricts the root (its illegal entries are reported and dropped), "nodes"
// and "mate" end the search by themselves.
TEST(UciProtocol, SearchMovesNodesAndMateAreHonoured) {
    Session session;
    session.send("position startpos");
    session.send("go depth 4 searchmoves a2a3");
    EXPECT_EQ(session.bestMove(), "a2a3");
    session.send("go depth 3 searchmoves e2e5 h2h3 xyz");
    const auto note = session.await("info string ", kPromptWait);
    ASSERT_TRUE(note);
    EXPECT_NE(note->find("e2e5 xyz"), std::string::npos) << *note;
    EXPECT_EQ(lastInfoAndMove(session).second, "h2h3");

    session.send("go nodes 20000");
    const auto [info, move] = lastInfoAndMove(session);
    EXPECT_TRUE(isLegalIn(kStartFen.data(), "", move)) << move;
    EXPECT_LE(scoreOf(info, " nodes "), 40000) << info;

    // Without a depth, "mate" looks as deep as the mate needs and no deeper.
    session.send("position fen k7/8/2K5/8/8/8/8/7R w - - 0 1");
    session.send("go mate 2");
    EXPECT_NE(lastInfoAndMove(session).first.find(" score mate 2 "), std::string::npos);
    session.send("position startpos");
    session.send("go mate 1");
    EXPECT_TRUE(isLegalIn(kStartFen.data(), "", lastInfoAndMove(session).second));
}

// The FEN's half-move clock reaches the search: a rook up, but drawn by the fifty-move rule.
TEST(UciProtocol, TheFiftyMoveRuleCountsFromTheFensClock) {
    Session session;
    for (const auto& [clock, drawn] : {std::pair{"0", false}, std::pair{"100", true}}) {
        session.send(std::string("position fen 7k/8/8/8/8/8/8/R6K w - - ") + clock + " 80");
        session.send("go depth 3");
        const std::string info = lastInfoAndMove(session).first;
        if (drawn)
            EXPECT_NE(info.find(" score cp 0 "), std::string::npos) << info;
        else
            EXPECT_GT(scoreOf(info, " score cp "), 300) << info;
    }
}

// The program's own search, as it was: its info line, and a word on what it does not honour.
TEST(UciProtocol, TheMinimaxSearchIsTheProgramsOwn) {
    Session session;
    session.send("setoption name Search value Minimax");
    session.send("position fen 4k3/8/8/r2Q4/8/8/8/4K3 w - - 0 1");
    session.send("go depth 1 searchmoves e1e2 nodes 10");
    const auto note = session.await("info string ", kPromptWait);
    ASSERT_TRUE(note);
    EXPECT_NE(note->find("searchmoves nodes"), std::string::npos) << *note;
    const auto info = session.await("info depth 1 score cp ", kSearchWait);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->find(" seldepth "), std::string::npos) << *info;
    EXPECT_EQ(session.bestMove(), "d5a5");
}

// Every line reported is legal from the position searched, with one thread or two, one line
// or several.
TEST(UciProtocol, EveryPvIsALegalLine) {
    Session session;
    const std::string moves = "e2e4 c7c5 g1f3 d7d6 d2d4 c5d4 f3d4 g8f6 b1c3 a7a6";
    const char* kiwipete = "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1";
    for (const char* threads : {"1", "2"}) {
        session.send(std::string("setoption name Threads value ") + threads);
        session.send("setoption name MultiPV value 3");
        for (const auto& [fen, played] : {std::pair{kStartFen.data(), moves}, std::pair{kiwipete, std::string()}}) {
            session.send(std::string("position fen ") + fen + (played.empty() ? "" : " moves " + played));
            session.send("go depth 7");
            int lines = 0;
            for (auto line = session.await("", kSearchWait); line && line->rfind("bestmove ", 0) != 0;
                 line = session.await("", kSearchWait)) {
                if (line->rfind("info depth ", 0) != 0)
                    continue;
                ++lines;
                EXPECT_TRUE(isLegalIn(fen, played, line->substr(line->find(" pv ") + 4))) << *line;
            }
            EXPECT_GE(lines, 7 * 3);
        }
    }
}

// The table is made when "Hash" is set: "isready" waits for it, and the next search does not
// pay for it.
TEST(UciProtocol, ALargeTableIsReadyBeforeTheNextSearch) {
#ifdef __SANITIZE_THREAD__
    GTEST_SKIP() << "no thread matter, and a minute to make under ThreadSanitizer";
#endif
    Session session;
    session.send("setoption name Hash value 1024", kSearchWait);  // a gigabyte to zero
    session.send("isready");
    EXPECT_TRUE(session.await("readyok", 0ms));  // answered on the spot: the table is there
    session.send("position startpos");
    const auto start = std::chrono::steady_clock::now();
    session.send("go movetime 100");
    EXPECT_TRUE(isLegalIn(kStartFen.data(), "", session.bestMove(kPromptWait)));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1000ms);  // a bound, not a speed goal
    session.send("setoption name Hash value 1");
}

// Each of the MultiPV lines of a depth begins with a move of its own, the best first.
TEST(UciProtocol, MultiPvLinesAreDistinctAndOrdered) {
    Session session;
    // The queen or the rook to take, or a quiet move.
    const char* fen = "4k3/8/1q3r2/8/2N5/8/1B6/4K3 w - - 0 1";
    std::string error;
    const std::size_t legalCount = enginePosition(parseFen(fen, error).value()).legalMoves().size();
    for (const int lines : {4, 16}) {
        session.send("setoption name MultiPV value " + std::to_string(lines));
        session.send(std::string("position fen ") + fen);
        session.send("go depth 5");
        std::map<int, std::string> last;  // of depth 5, by line
        for (auto line = session.await("", kSearchWait); line && line->rfind("bestmove ", 0) != 0;
             line = session.await("", kSearchWait))
            if (line->rfind("info depth 5 ", 0) == 0)
                last[scoreOf(*line, " multipv ")] = *line;
        ASSERT_EQ(last.size(), std::min<std::size_t>(lines, legalCount));  // all the legal moves, when fewer
        std::vector<std::string> firstMoves;
        int previous = 99999;
        for (const auto& [number, line] : last) {
            const std::string move = line.substr(line.find(" pv ") + 4, 4);
            EXPECT_EQ(std::count(firstMoves.begin(), firstMoves.end(), move), 0) << line;
            firstMoves.push_back(move);
            EXPECT_LE(scoreOf(line, " score cp "), previous) << line;
            previous = scoreOf(line, " score cp ");
        }
        EXPECT_EQ(firstMoves.front(), "c4b6");
    }
}

// A pondering search answers only after "ponderhit" (then within its clock) or "stop"; the
// Minimax search, which does not ponder, searches from "ponderhit" on.
TEST(UciProtocol, PonderingAnswersAfterPonderhitOrStop) {
    Session session;
    session.send("setoption name Ponder value true");
    session.send("position startpos moves e2e4");
    // The clock starts at "ponderhit": the last move before the control may take half of 2 s,
    // and depths are begun for at least 0.7 s of it (the least share of the soft limit).
    session.send("go ponder wtime 2000 btime 2000 movestogo 1");
    EXPECT_TRUE(session.await("info depth 1 ", kSearchWait));
    const auto hit = std::chrono::steady_clock::now();
    session.send("ponderhit");
    EXPECT_TRUE(isLegalIn(kStartFen.data(), "e2e4", session.bestMove(1000ms + kPromptWait)));
    EXPECT_GT(std::chrono::steady_clock::now() - hit, 500ms);
    for (const char* end : {"ponderhit", "stop"}) {
        session.send("go ponder wtime 1000 btime 1000");
        EXPECT_TRUE(session.await("info depth 1 ", kSearchWait));
        EXPECT_FALSE(session.await("bestmove", 1500ms)) << end;  // longer than the clock allows
        session.send(end);
        EXPECT_TRUE(isLegalIn(kStartFen.data(), "e2e4", session.bestMove(kPromptWait))) << end;
    }
    session.send("setoption name Search value Minimax");
    for (const char* end : {"ponderhit", "stop"}) {
        session.send("go ponder wtime 1000 btime 1000");
        EXPECT_FALSE(session.await("bestmove", 300ms)) << end;
        session.send(end);
        EXPECT_TRUE(isLegalIn(kStartFen.data(), "e2e4", session.bestMove(kPromptWait))) << end;
    }
}

// Held to any Elo, the engine still answers legal moves, in time, with its info lines.
// A limited engine is for people to play: even on its budget of a few hundred nodes it sees
// every move at depth 1 (Kiwipete's depth 1 alone takes thousands) and chooses among the whole
// lines of a depth with the error its Elo calls for, so that new games from one quiet position
// do not all go the same way.
TEST(UciProtocol, AStrengthLimitedSearchChoosesAmongWholeLines) {
    Session session;
    session.send("setoption name UCI_LimitStrength value true");
    session.send("setoption name MultiPV value 4");  // shows the four lines it chooses among
    // The move answered, which must be the first of one of the lines of the deepest depth that
    // gave all four exactly.
    const auto chosenAmongWholeLines = [&session](const std::string& position) {
        session.send("ucinewgame");
        session.send(position);
        session.send("go wtime 60000 btime 60000");
        std::map<int, std::map<int, std::string>> exactLines;  // by depth and multipv
        std::string move;
        for (auto line = session.await("", kSearchWait); line; line = session.await("", kSearchWait)) {
            if (line->rfind("bestmove ", 0) == 0) {
                move = Session::firstWord(line->substr(9));
                break;
            }
            if (line->rfind("info depth ", 0) == 0 && line->find("bound") == std::string::npos)
                exactLines[scoreOf(*line, " depth ")][scoreOf(*line, " multipv ")] = *line;
        }
        const auto whole = std::find_if(exactLines.rbegin(), exactLines.rend(),
                                        [](const auto& depth) { return depth.second.size() == 4; });
        if (whole == exactLines.rend())
            return "no depth with four exact lines in " + position;
        const bool amongThem = std::any_of(whole->second.begin(), whole->second.end(), [&move](const auto& line) {
            return line.second.find(" pv " + move) != std::string::npos;
        });
        return amongThem ? move : move + " is none of the whole lines in " + position;
    };

    session.send("setoption name UCI_Elo value 1000");
    const std::string kiwipete = "position fen r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1";
    const std::string kiwipeteMove = chosenAmongWholeLines(kiwipete);
    EXPECT_EQ(kiwipeteMove.size(), 4u) << kiwipeteMove;

    session.send("setoption name UCI_Elo value 1200");
    // The Berlin after castling: Black's first moves lie within a few centipawns of each other.
    const std::string berlin = "position startpos moves e2e4 e7e5 g1f3 b8c6 f1b5 g8f6 e1g1";
    std::set<std::string> chosen;
    for (int game = 0; game < 8; ++game) {
        const std::string move = chosenAmongWholeLines(berlin);
        EXPECT_EQ(move.size(), 4u) << move;
        chosen.insert(move);
    }
    EXPECT_GE(chosen.size(), 2u);
}

TEST(UciProtocol, AStrengthLimitedSearchAnswersLegalMoves) {
    Session session;
    session.send("setoption name UCI_LimitStrength value true");
    const std::string moves = "e2e4 e7e5 g1f3 b8c6 f1b5 a7a6";
    session.send("position startpos moves " + moves);
    for (const int elo : {1000, 1400, 1800, 2200, 2400}) {
        session.send("setoption name UCI_Elo value " + std::to_string(elo));
        session.send("go wtime 2000 btime 2000");
        const auto [info, move] = lastInfoAndMove(session);
        EXPECT_TRUE(isLegalIn(kStartFen.data(), moves, move)) << elo << ": " << move;
        EXPECT_NE(info.find(" multipv 1 "), std::string::npos) << info;
    }
}

// A network file of random weights, `hidden` neurons wide; its bytes.
std::string networkFile(const std::filesystem::path& path, int hidden, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> draw(-100, 100);
    engine::QuantisedNetwork network{hidden, std::vector<std::int16_t>(engine::kInputs * static_cast<std::size_t>(hidden)),
                                     std::vector<std::int16_t>(static_cast<std::size_t>(hidden)),
                                     std::vector<std::int16_t>(2 * static_cast<std::size_t>(hidden)), 0};
    for (auto* values : {&network.inputWeights, &network.inputBiases, &network.outputWeights})
        for (std::int16_t& value : *values)
            value = static_cast<std::int16_t>(draw(random) * 10);
    std::ostringstream bytes;
    engine::writeQuantised(bytes, network);
    std::ofstream(path, std::ios::binary) << bytes.str();
    return bytes.str();
}

// The network's line of "eval", and that the search uses it.
std::string networkLine(Session& session) {
    const std::vector<std::string> lines = linesUpTo(session, "eval", "The search uses ");
    EXPECT_EQ(lines.back(), "The search uses the network (option Evaluation)");
    return lines.size() >= 2 ? lines[lines.size() - 2] : "";
}

// A network file the engine cannot evaluate with exactly is refused, with the file and why,
// and the network before stays in use; "<built-in>" loads the built-in one again.
TEST(UciProtocol, EvalFileRefusesWhatItCannotUseAndKeepsItsNetwork) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("vek-evalfile-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(folder);
    const std::string good = (folder / "good.vnn").string();
    const std::string bytes = networkFile(good, 16, 1);
    std::string damaged = bytes;
    damaged[5000] ^= 1;
    std::ofstream(folder / "damaged.vnn", std::ios::binary) << damaged;
    std::ofstream(folder / "kind.vnn", std::ios::binary) << "VEKNNFLT" << bytes.substr(8);
    networkFile(folder / "narrow.vnn", 8, 2);

    Session session;
    session.send("position fen r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3");
    session.send("setoption name Evaluation value Network");
    const std::string builtIn = networkLine(session);
    EXPECT_EQ(builtIn.rfind("Network <built-in> (hidden size ", 0), 0u) << builtIn;
    session.send("setoption name EvalFile value " + good);
    EXPECT_EQ(session.await("info string ", kPromptWait), "info string EvalFile " + good + ": hidden size 16, loaded");
    const std::string loaded = networkLine(session);
    EXPECT_EQ(loaded.rfind("Network " + good + " (hidden size 16): ", 0), 0u) << loaded;
    const std::pair<const char*, const char*> refused[] = {
        {"damaged.vnn", ": checksum 0x"},
        {"kind.vnn", ": byte 0: no VEKNNQNT magic"},
        {"narrow.vnn", ": hidden size 8, the engine evaluates multiples of 16 only"},
        {"missing.vnn", ": no such file"},
    };
    for (const auto& [name, why] : refused) {
        const std::string file = (folder / name).string();
        session.send("setoption name EvalFile value " + file);
        const std::string note = session.await("info string ", kPromptWait).value_or("");
        EXPECT_EQ(note.rfind("info string EvalFile refused: " + file, 0), 0u) << note;
        EXPECT_NE(note.find(file + why), std::string::npos) << note;
        EXPECT_NE(note.find("the network stays " + good), std::string::npos) << note;
        EXPECT_EQ(networkLine(session), loaded) << name;
    }
    session.send("go depth 3");
    EXPECT_NE(session.bestMove(), "(no answer)");
    session.send("setoption name EvalFile value <built-in>");
    EXPECT_EQ(networkLine(session), builtIn);
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace vek::uci
