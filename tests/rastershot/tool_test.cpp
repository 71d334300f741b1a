// rastershot as a person runs it on a machine without a display.
#include <gtest/gtest.h>

#include <filesystem>

#include "picture/png_file.h"
#include "tests/e2e/picture.h"
#include "tests/rastershot/arguments_name.h"
#include "tests/rastershot/shot_directory.h"
#include "tests/rastershot/tool_run.h"

namespace rv {

namespace {

namespace fs = std::filesystem;

using RastershotTool = ShotDirectory;

TEST_F(RastershotTool, StartUpSnapshotIsTheSquareAtTheCentreOfA480SquarePicture) {
    const ToolRun run = runTool(RV_RASTERSHOT, {"--out", prefix()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    std::string error;
    const std::optional<RgbImage8> picture = readPng(file("-software.png"), &error);
    ASSERT_TRUE(picture) << error;
    ASSERT_EQ(picture->width, 480);
    ASSERT_EQ(picture->height, 480);
    EXPECT_FALSE(fs::exists(file("-opengl.png")));

    const Census square = census(*picture, isSquare);
    EXPECT_GT(square.count, 10000);
    EXPECT_NEAR(square.bounds.centreX(), 239.5, 2);
    EXPECT_NEAR(square.bounds.centreY(), 239.5, 30) << "tilted away, its far half is shorter";
    EXPECT_TRUE(isSquare(picture->pixel(240, 240)));
    for (auto [x, y] : {std::pair{0, 0}, {479, 0}, {0, 479}, {479, 479}}) EXPECT_TRUE(isWhite(picture->pixel(x, y)));
    EXPECT_EQ(census(*picture, isDark).count, 0) << "no caption on the software path";
}

TEST_F(RastershotTool, StatsWithoutADisplayReportTheSoftwareFrameAndNoGlPoints) {
    const ToolRun run = runTool(RV_RASTERSHOT, {"--out", prefix(), "--stats", "--frames", "3"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1) << run.out;
    for (const char* part : {"{\"renderer\": \"software\", \"width\": 480, \"height\": 480, \"frames\": 3, ",
                             "\"glPointsMedianMs\": null, \"glPointsMinMs\": null, \"glImageMedianMs\": null, "
                             "\"glImageMinMs\": null}"})
        EXPECT_NE(run.out.find(part), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("\"fragmentsPlotted\": 0,"), std::string::npos) << run.out;
    EXPECT_NE(run.err.find("xvfb-run"), std::string::npos) << run.err;
}

// Behind the eye nothing is in view; unclipped, the square comes out mirrored through the eye.
TEST_F(RastershotTool, NoClipBringsBackTheUnclippedPicture) {
    for (const bool clipping : {true, false}) {
        std::vector<std::string> args = {"--zoom", "40", "--out", prefix()};
        if (!clipping) args.push_back("--no-clip");
        const ToolRun run = runTool(RV_RASTERSHOT, args);
        ASSERT_EQ(run.status, 0) << run.err;
        const std::optional<RgbImage8> picture = readPng(file("-software.png"));
        ASSERT_TRUE(picture);
        const long drawn = census(*picture, isSquare).count;
        if (clipping)
            EXPECT_EQ(drawn, 0);
        else
            EXPECT_GT(drawn, 1000);
    }
}

// The views come beside the picture, and asking for them leaves the picture as it was.
TEST_F(RastershotTool, ShowWritesEveryViewBesideTheUnchangedPicture) {
    const ToolRun plain = runTool(RV_RASTERSHOT, {"--tilt", "-84", "--zoom", "6", "--out", prefix() + "plain"});
    ASSERT_EQ(plain.status, 0) << plain.err;
    const ToolRun shown =
        runTool(RV_RASTERSHOT, {"--tilt", "-84", "--zoom", "6", "--show", "all", "--out", prefix() + "shown"});
    ASSERT_EQ(shown.status, 0) << shown.err;
    const std::optional<RgbImage8> before = readPng(prefix() + "plain-software.png");
    const std::optional<RgbImage8> after = readPng(prefix() + "shown-software.png");
    ASSERT_TRUE(before && after);
    EXPECT_TRUE(*before == *after);
    for (const char* view : {"depth", "lod", "normal", "texcoord", "spans"}) {
        const std::optional<RgbImage8> picture = readPng(prefix() + "shown-software-" + view + ".png");
        ASSERT_TRUE(picture) << view;
        EXPECT_EQ(picture->width, 480) << view;
        EXPECT_FALSE(*picture == *after) << view << " is not the picture itself";
    }
}

TEST_F(RastershotTool, NoSimdDrawsTheSamePicture) {
    std::optional<RgbImage8> pictures[2];
    for (const bool simd : {true, false}) {
        std::vector<std::string> args{"--zoom", "10", "--tilt", "-25", "--out", prefix()};
        if (!simd) args.push_back("--no-simd");
        const ToolRun run = runTool(RV_RASTERSHOT, args);
        ASSERT_EQ(run.status, 0) << run.err;
        std::string error;
        pictures[simd] = readPng(file("-software.png"), &error);
        ASSERT_TRUE(pictures[simd]) << error;
    }
    EXPECT_TRUE(pictures[0]->rgb == pictures[1]->rgb);
}

// Counts and picture of one thread and of several, the timings aside.
TEST_F(RastershotTool, AnyThreadCountWritesTheSamePictureAndCounts) {
    auto shoot = [&](const char* threads) {
        const ToolRun run = runTool(RV_RASTERSHOT, {"--out", prefix() + threads, "--stats", "--spin", "0", "--tilt", "0",
                                                    "--zoom", "8", "--size", "300x200", "--threads", threads});
        EXPECT_EQ(run.status, 0) << run.err;
        const std::optional<RgbImage8> picture = readPng(prefix() + threads + "-software.png");
        const size_t counts = run.out.find("\"fragmentsShaded\""), times = run.out.find("\"medianMs\"");
        EXPECT_NE(run.out.find(std::string("\"threads\": ") + threads + ","), std::string::npos) << run.out;
        return std::pair{picture.value_or(RgbImage8{}), run.out.substr(counts, times - counts)};
    };
    const auto [one, oneCounts] = shoot("1");
    const auto [three, threeCounts] = shoot("3");
    EXPECT_EQ(one.width, 300);
    EXPECT_TRUE(one == three) << "the pictures differ";
    EXPECT_EQ(oneCounts, threeCounts);
    EXPECT_EQ(oneCounts.find("\"fragmentsShaded\": 0,"), std::string::npos) << oneCounts;
}

struct Written {
    std::vector<std::string> args;
    // Under the test's directory, in the order written.
    std::vector<std::string> files;
    bool quiet = false;
};

void PrintTo(const Written& w, std::ostream* out) {
    for (const std::string& a : w.args) *out << "'" << a << "' ";
}

class RastershotWrites : public ShotDirectory, public ::testing::WithParamInterface<Written> {};

// A directory for --out gets frame-*.png in it, not a hidden "-software.png";
// each file written is named on standard error unless --quiet.
TEST_P(RastershotWrites, TheseFilesAndSaysSo) {
    std::vector<std::string> args = GetParam().args;
    for (std::string& a : args)
        if (a.starts_with("DIR")) a = dir.string() + a.substr(3);
    args.insert(args.end(), {"--size", "40x30"});
    const ToolRun run = runTool(RV_RASTERSHOT, args);
    ASSERT_EQ(run.status, 0) << run.err;
    std::string said;
    for (const std::string& f : GetParam().files) {
        EXPECT_TRUE(fs::is_regular_file(dir / f)) << f;
        said += "rastershot: wrote " + (dir / f).string() + "\n";
    }
    EXPECT_EQ(run.err, GetParam().quiet ? "" : said);
    long files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) files += entry.is_regular_file();
    EXPECT_EQ(files, static_cast<long>(GetParam().files.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RastershotWrites,
    ::testing::Values(Written{{"--out", "DIR/"}, {"frame-software.png"}},
                      Written{{"--threads", "2", "--out", "DIR"}, {"frame-software.png"}},
                      Written{{"--out", "DIR/new/"}, {"new/frame-software.png"}},
                      Written{{"--out", "DIR/shot", "--show", "depth", "--show", "spans"},
                              {"shot-software.png", "shot-software-depth.png", "shot-software-spans.png"}},
                      Written{{"--quiet", "--out", "DIR/"}, {"frame-software.png"}, true}),
    byArguments);

struct BadRun {
    std::vector<std::string> args;
    std::string says;
};

void PrintTo(const BadRun& r, std::ostream* out) {
    for (const std::string& a : r.args) *out << "'" << a << "' ";
}

class RastershotRefuses : public ShotDirectory, public ::testing::WithParamInterface<BadRun> {};

// Refused before anything is drawn or written.
TEST_P(RastershotRefuses, WithStatusTwoAMessageAndNoPicture) {
    std::vector<std::string> args = GetParam().args;
    for (std::string& a : args)
        if (a == "DIR") a = dir.string();
    const ToolRun run = runTool(RV_RASTERSHOT, args);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find(GetParam().says), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(fs::is_empty(dir));
}

INSTANTIATE_TEST_SUITE_P(Cases, RastershotRefuses,
                         ::testing::Values(BadRun{{"--size", "0x10", "--out", "DIR/f"}, "--size"},
                                           BadRun{{"--frames", "0", "--out", "DIR/f"}, "--frames"},
                                           BadRun{{"--zoom", "nan", "--out", "DIR/f"}, "--zoom"},
                                           BadRun{{"--out", "DIR/f", "--verbose"}, "unknown option '--verbose'"},
                                           BadRun{{"--out", "/proc/self/rastershot/f"}, "--out: cannot"},
                                           BadRun{{"--out", "/proc/"}, "--out: cannot write '/proc/frame-software.png'"},
                                           BadRun{{"--renderer", "opengl", "--out", "DIR/f"}, "Run it under xvfb-run"},
                                           BadRun{{"--renderer", "both", "--out", "DIR/f"}, "DISPLAY is not set"}),
                         byArguments);

const std::string models = RV_ASSIMP_MODELS;

// A model file that cannot be shown: one line naming it and why, before any picture.
class RastershotRefusesModel : public ShotDirectory, public ::testing::WithParamInterface<BadRun> {};

TEST_P(RastershotRefusesModel, WithOneLineStatusTwoAndNoPicture) {
    const std::string model = GetParam().args.at(0);
    const ToolRun run = runTool(RV_RASTERSHOT, {"--model", model, "--out", prefix()});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "rastershot: " + model + ": " + GetParam().says + "\n");
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(fs::is_empty(dir));
}

INSTANTIATE_TEST_SUITE_P(
    Files, RastershotRefusesModel,
    ::testing::Values(BadRun{{models + "/invalid/OutOfMemory.off"}, "out of memory (the import may use 2048 MiB)"},
                      BadRun{{models + "/invalid/empty.ply"}, "the file is empty"},
                      BadRun{{models + "/invalid/malformed.obj"}, "cannot import: OBJ: Invalid face index."},
                      BadRun{{models + "/invalid/readme.txt"}, "unknown file format"},
                      BadRun{{std::string(RV_MODEL_FIXTURES) + "/lines.obj"}, "no triangles in the file"},
                      BadRun{{models + "/no-such.obj"}, "cannot open: No such file or directory"}),
    [](const ::testing::TestParamInfo<BadRun>& info) {
        std::string name = fs::path(info.param.args.at(0)).filename().string();
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        return name;
    });

// The flags that shape the software frame take a model as they take the square:
// views beside an unchanged picture, counts, and the same picture whatever the
// threads, vector code or clipping (the model stays well inside the near plane).
TEST_F(RastershotTool, AModelTakesTheSoftwareFlags) {
    const std::string spider = models + "/OBJ/spider.obj";
    const ToolRun plain = runTool(RV_RASTERSHOT, {"--model", spider, "--threads", "1", "--quiet", "--out", prefix() + "plain"});
    ASSERT_EQ(plain.status, 0) << plain.err;
    EXPECT_EQ(plain.err, "");
    const ToolRun other = runTool(RV_RASTERSHOT, {"--model", spider, "--threads", "3", "--no-simd", "--no-clip", "--stats",
                                                  "--show", "all", "--out", prefix() + "other"});
    ASSERT_EQ(other.status, 0) << other.err;
    EXPECT_NE(other.out.find("\"threads\": 3,"), std::string::npos) << other.out;
    const std::optional<RgbImage8> a = readPng(prefix() + "plain-software.png"), b = readPng(prefix() + "other-software.png");
    ASSERT_TRUE(a && b);
    EXPECT_TRUE(*a == *b);
    EXPECT_GT(census(*a, [](const std::uint8_t* p) { return !isWhite(p); }).count, 3000) << "the spider is drawn";
    for (const char* view : {"depth", "lod", "normal", "texcoord", "spans"})
        EXPECT_TRUE(fs::exists(prefix() + "other-software-" + view + ".png")) << view;
}

// Views a user reaches by dragging and turning the wheel far enough: behind the
// eye, edge-on, across the near plane, panned out of sight.
class RastershotExtremeView : public ShotDirectory, public ::testing::WithParamInterface<std::vector<std::string>> {};

TEST_P(RastershotExtremeView, RendersAPicture) {
    std::vector<std::string> args = GetParam();
    args.insert(args.end(), {"--out", prefix(), "--size", "160x120"});
    const ToolRun run = runTool(RV_RASTERSHOT, args);
    ASSERT_EQ(run.status, 0) << run.err;
    const std::optional<RgbImage8> picture = readPng(file("-software.png"));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, 160);
}

INSTANTIATE_TEST_SUITE_P(Views, RastershotExtremeView,
                         ::testing::Values(std::vector<std::string>{"--zoom", "40"},
                                           std::vector<std::string>{"--tilt", "90"},
                                           std::vector<std::string>{"--pan", "10000,10000"},
                                           std::vector<std::string>{"--zoom", "11.5", "--tilt", "-85"},
                                           std::vector<std::string>{"--zoom", "-400", "--no-mipmap"},
                                           std::vector<std::string>{"--spin", "1e30", "--tilt", "-1e30"}),
                         byArguments);

} // namespace

} // namespace rv
