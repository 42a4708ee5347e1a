#pragma once
// The UCI protocol: reads the GUI's commands one line at a time and answers through the
// output; the searches run on a thread of their own. Every command is answered or reported,
// never with a crash: what the engine cannot do it explains in an "info string" line and
// leaves its position as it was.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chess/board.h"
#include "foundation/shared_object.h"
#include "uci/line_output.h"
#include "uci/search_thread.h"

namespace vek::uci {

class Engine {
public:
    // The fixed depth of a "go" without limits until the GUI sets the option "Depth".
    static constexpr std::int32_t kDefaultDepth = 3;
    static constexpr std::int32_t kMaxDepthOption = 12;

    // `sink` receives each answer line without its line end, from this thread or the search's.
    explicit Engine(std::function<void(const std::string&)> sink);
    // Stops a running search and waits for its answer.
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // Handles one command line; false once the GUI has said "quit".
    bool handle(const std::string& line);

private:
    void identify();
    void setOption(const std::vector<std::string>& words);
    void setPosition(const std::vector<std::string>& words);
    void go(const std::vector<std::string>& words);
    // Stops the running search, if any; its thread still sends the answer.
    void stop();
    // Stops the running search and waits until it has answered, so that the board is free.
    void finishSearch();

    LineOutput output_;
    std::unique_ptr<chess::Board> board_;
    vek::SharedRef<SearchThread> search_;
    std::size_t threads_ = 1;
    std::int32_t depth_ = kDefaultDepth;
};

}  // namespace vek::uci
