#include "app_test_support.h"

#include <fstream>
#include <random>
#include <sstream>

namespace chessapp::testing {

ScratchDirectory::ScratchDirectory() {
    // Test cases run as processes of their own, side by side: a random name keeps them apart.
    std::random_device random;
    do {
        path_ = std::filesystem::temp_directory_path() / ("vek-app-test-" + std::to_string(random()));
    } while (!std::filesystem::create_directory(path_));
}

ScratchDirectory::~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::optional<vek::STRING> FakeEnvironment::lookup(const char* name) {
    const auto found = values.find(name);
    return found == values.end() ? std::nullopt : std::optional<vek::STRING>(found->second.c_str());
}

std::optional<std::string> fileContent(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

}  // namespace chessapp::testing
