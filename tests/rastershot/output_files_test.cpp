#include "tools/rastershot/output_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace rv {

namespace fs = std::filesystem;

namespace {

class OutputDirectory : public ::testing::Test {
protected:
    fs::path dir = fs::temp_directory_path() / ("rastershot_output_test_" + std::to_string(::getpid()) + "_" +
                                                ::testing::UnitTest::GetInstance()->current_test_info()->name());
    void SetUp() override { fs::create_directories(dir); }
    void TearDown() override { fs::remove_all(dir); }

    OutputFiles filesFor(const fs::path& prefix, Renderer renderer) {
        ShotOptions o;
        o.outPrefix = prefix.string();
        o.renderer = renderer;
        return outputFiles(o);
    }
};

TEST_F(OutputDirectory, NamesOnlyTheFilesTheRendererWrites) {
    const OutputFiles software = filesFor("p/q", Renderer::software);
    EXPECT_EQ(software.software, "p/q-software.png");
    EXPECT_EQ(software.opengl, "");
    EXPECT_EQ(software.difference, "");
    const OutputFiles both = filesFor("q", Renderer::both);
    EXPECT_EQ(both.opengl, "q-opengl.png");
    EXPECT_EQ(both.difference, "q-diff.png");
    EXPECT_EQ(filesFor("q", Renderer::opengl).software, "");
}

TEST_F(OutputDirectory, CreatesMissingDirectoriesAndLeavesNoFileBehind) {
    const OutputFiles files = filesFor(dir / "a" / "b" / "frame", Renderer::both);
    EXPECT_EQ(prepareOutputs(files), std::nullopt);
    EXPECT_TRUE(fs::is_directory(dir / "a" / "b"));
    EXPECT_TRUE(fs::is_empty(dir / "a" / "b"));
}

TEST_F(OutputDirectory, KeepsFilesThatAlreadyExist) {
    std::ofstream(dir / "frame-software.png") << "old";
    EXPECT_EQ(prepareOutputs(filesFor(dir / "frame", Renderer::software)), std::nullopt);
    EXPECT_EQ(fs::file_size(dir / "frame-software.png"), 3u);
}

TEST_F(OutputDirectory, UnwritablePathsAreReportedNamingOut) {
    std::ofstream(dir / "plain-file") << "x";
    fs::create_directories(dir / "frame-opengl.png");
    struct Case {
        fs::path prefix;
        const char* says;
    };
    for (const Case& c :
         {Case{dir / "plain-file" / "frame", "cannot create the directory"}, Case{dir / "frame", "is a directory"}}) {
        const std::optional<std::string> why = prepareOutputs(filesFor(c.prefix, Renderer::both));
        ASSERT_TRUE(why) << c.prefix;
        EXPECT_NE(why->find("--out"), std::string::npos) << *why;
        EXPECT_NE(why->find(c.says), std::string::npos) << *why;
    }
}

} // namespace

} // namespace rv
