#include "app/take_flag.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace rv {

namespace {

struct Case {
    std::vector<std::string> args;
    bool found;
    std::vector<std::string> left;
};

void PrintTo(const Case& c, std::ostream* out) {
    for (const std::string& a : c.args) *out << "'" << a << "' ";
}

class TakeFlag : public ::testing::TestWithParam<Case> {};

TEST_P(TakeFlag, RemovesEveryCopyAndKeepsTheRestInOrder) {
    std::vector<std::string> storage = GetParam().args;
    std::vector<char*> argv;
    for (std::string& a : storage) argv.push_back(a.data());
    argv.push_back(nullptr);
    int argc = static_cast<int>(storage.size());
    EXPECT_EQ(takeFlag(argc, argv.data(), "--no-simd"), GetParam().found);
    ASSERT_EQ(argc, static_cast<int>(GetParam().left.size()));
    for (int i = 0; i < argc; ++i) EXPECT_EQ(argv[i], GetParam().left[i]) << i;
    EXPECT_EQ(argv[argc], nullptr) << "GLUT reads up to argc; others stop at the null";
}

INSTANTIATE_TEST_SUITE_P(
    Table, TakeFlag,
    ::testing::Values(Case{{"rasterview"}, false, {"rasterview"}},
                      Case{{"rasterview", "--no-simd"}, true, {"rasterview"}},
                      Case{{"rasterview", "-display", ":1", "--no-simd", "-gldebug"}, true,
                           {"rasterview", "-display", ":1", "-gldebug"}},
                      Case{{"rasterview", "--no-simd", "--no-simd"}, true, {"rasterview"}},
                      // Only the whole word: a prefix or a value is something else.
                      Case{{"rasterview", "--no-simdx", "--no-sim"}, false, {"rasterview", "--no-simdx", "--no-sim"}},
                      // The program's own name is never taken for a flag.
                      Case{{"--no-simd"}, false, {"--no-simd"}}, Case{{}, false, {}}));

} // namespace

} // namespace rv
