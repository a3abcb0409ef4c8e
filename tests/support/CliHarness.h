#pragma once

// Runs orlixctl in the test's process and gives each test a scratch folder of its own.
#include "Orlixctl.h"
#include "support/Files.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
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

// A CLI test whose backups go to a data folder of its own (XDG_DATA_HOME is put back after
// it): one test makes its folder unusable, and the next must not inherit that.
class CliTestWithOwnData : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        if (const char* before = std::getenv("XDG_DATA_HOME")) dataHomeBefore_ = before;
        ::setenv("XDG_DATA_HOME", path("data").c_str(), 1);
    }
    void TearDown() override {
        if (dataHomeBefore_)
            ::setenv("XDG_DATA_HOME", dataHomeBefore_->c_str(), 1);
        else
            ::unsetenv("XDG_DATA_HOME");
    }

private:
    std::optional<std::string> dataHomeBefore_;
};

inline std::vector<std::string> lines(const fs::path& file) {
    std::ifstream in(file);
    std::vector<std::string> out;
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

} // namespace orlix::test
