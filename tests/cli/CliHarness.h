#pragma once

// Runs orlixctl in the test's process and gives each test a scratch folder of its own.
#include "Orlixctl.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace orlix::test {

namespace fs = std::filesystem;

struct CliResult {
    int code;
    std::string out;
    std::string err;
};

inline CliResult run(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int code = orlixctl::run(args, out, err);
    return {code, out.str(), err.str()};
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::path(ORLIX_TEST_SCRATCH) /
              (std::string(::testing::UnitTest::GetInstance()->current_test_suite()->name()) + "." +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    std::string path(const std::string& name) const { return (dir / name).string(); }

    fs::path dir;
};

inline std::vector<std::uint8_t> readAll(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeAll(const std::string& file, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<std::string> lines(const std::string& file) {
    std::ifstream in(file);
    std::vector<std::string> out;
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

} // namespace orlix::test
