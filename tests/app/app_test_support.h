#pragma once
// Helpers for the chess program's tests: a scratch directory and an environment that the
// tests fill in.

#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "foundation/string.h"

namespace chessapp::testing {

// A fresh, empty directory that is removed with everything in it at the end of the scope.
class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The directory as a TMP value; the game files get names ending in "\chess.txt" on any system.
    std::string asVariable() const { return path_.string() + "/"; }

private:
    std::filesystem::path path_;
};

// Environment variables for GameFiles, set by the tests.
struct FakeEnvironment {
    static inline std::map<std::string, std::string> values;
    static std::optional<vek::STRING> lookup(const char* name);
};

// The whole content of a file; none when it cannot be read.
std::optional<std::string> fileContent(const std::string& path);

}  // namespace chessapp::testing
