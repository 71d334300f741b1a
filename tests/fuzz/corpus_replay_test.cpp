// Replays the fuzzing seeds and every past finding in the ordinary and sanitizer
// builds, so a mended crash stays mended without the fuzzer.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include <gtest/gtest.h>

#include "tests/fuzz/fuzz_case.h"

namespace rv {

namespace {

std::vector<std::filesystem::path> corpusFiles() {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(RV_FUZZ_CORPUS_DIR))
        if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

TEST(FuzzCorpusTest, EverySeedRendersWithoutFaultAndAlikeWithScalarAndVectorShading) {
    const auto files = corpusFiles();
    ASSERT_FALSE(files.empty());
    for (const auto& file : files) {
        SCOPED_TRACE(file.string());
        std::ifstream in(file, std::ios::binary);
        const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
        // Clipped and not, whichever the input asks for: past findings predate clipping.
        for (const bool clipping : {true, false}) {
            auto fuzzCase = decodeFuzzCase(bytes.data(), bytes.size());
            fuzzCase->scene.clipping = clipping;
            std::string difference;
            EXPECT_NO_THROW(difference = renderFuzzCase(*fuzzCase)) << "clipping " << clipping;
            EXPECT_EQ(difference, "") << "clipping " << clipping;
        }
    }
}

} // namespace

} // namespace rv
