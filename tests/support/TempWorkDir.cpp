#include "support/TempWorkDir.h"

#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

CTempWorkDir::CTempWorkDir() : previous_(std::filesystem::current_path()) {
    // A name no other test has taken: create_directory makes it only when it is new.
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
        const std::filesystem::path candidate =
            std::filesystem::temp_directory_path() /
            ("vevo-test-" + std::to_string(random() % 1000000000));
        if (std::filesystem::create_directory(candidate)) path_ = candidate;
    }
    if (path_.empty()) throw std::runtime_error("no temporary directory could be made");
    std::filesystem::current_path(path_);
}

CTempWorkDir::~CTempWorkDir() {
    std::filesystem::current_path(previous_);
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::filesystem::path& path, const std::string& content) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << content;
}
