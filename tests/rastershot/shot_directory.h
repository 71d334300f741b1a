#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <string>

namespace rv {

// A directory of the test's own for rastershot's pictures; kept, and named on
// standard error, when the test fails, so that a person can look at them.
class ShotDirectory : public ::testing::Test {
protected:
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("rastershot-" + std::to_string(::getpid()) + "-" + testName());

    void SetUp() override { std::filesystem::create_directories(dir); }
    void TearDown() override {
        if (HasFailure())
            std::cerr << "pictures kept in " << dir.string() << "\n";
        else
            std::filesystem::remove_all(dir);
    }
    // Parameterised names hold a '/', which would nest the directory.
    static std::string testName() {
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '_');
        return name;
    }
    std::string prefix() const { return (dir / "frame").string(); }
    std::string file(const char* suffix) const { return prefix() + suffix; }
};

} // namespace rv
