#include "app/view_shots.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <charconv>
#include <fstream>
#include <sstream>

#include "picture/png_file.h"
#include <vector>

namespace rv {

namespace {

namespace fs = std::filesystem;

// The value after `flag` in the command, read back the way rastershot reads it.
float valueOf(const std::string& command, const std::string& flag) {
    const size_t at = command.find(flag + " ");
    EXPECT_NE(at, std::string::npos) << flag;
    const std::string text = command.substr(at + flag.size() + 1, command.find(' ', at + flag.size() + 1) - at - flag.size() - 1);
    float v = 0;
    std::from_chars(text.data(), text.data() + text.size(), v);
    return v;
}

TEST(RastershotCommand, NamesEveryChoiceAndReadsBackToTheSameFloats) {
    ShotView s;
    s.width = 1000;
    s.height = 700;
    // Values a drag produces: no short decimal holds them exactly.
    s.pose.spin = -135.0f + 1.0f / 3.0f;
    s.pose.tilt = 0.1f;
    s.pose.zoom = 1e-7f;
    s.pose.panX = -12;
    s.pose.panY = 3.5f;
    s.mipmapping = false;
    s.clipping = false;
    const std::string command = rastershotCommand(s, "out/view-3");
    EXPECT_EQ(command.rfind("rastershot --renderer both --size 1000x700 ", 0), 0u) << command;
    EXPECT_EQ(valueOf(command, "--spin"), s.pose.spin);
    EXPECT_EQ(valueOf(command, "--tilt"), s.pose.tilt);
    EXPECT_EQ(valueOf(command, "--zoom"), s.pose.zoom);
    EXPECT_NE(command.find(" --pan -12,3.5 "), std::string::npos) << command;
    EXPECT_NE(command.find(" --no-mipmap"), std::string::npos);
    EXPECT_NE(command.find(" --no-clip"), std::string::npos);
    EXPECT_TRUE(command.ends_with(" --out out/view-3")) << command;

    const std::string defaults = rastershotCommand(ShotView{}, "p");
    EXPECT_EQ(defaults.find("--no-"), std::string::npos) << "mip-mapping and clipping are on by default";
}

TEST(RastershotCommand, QuotesAPrefixAShellWouldSplitOrExpand) {
    for (const auto& [prefix, written] :
         {std::pair<std::string, std::string>{"out/view-1", "out/view-1"},
          {"my shots/view-1", "'my shots/view-1'"},
          {"$HOME/view-1", "'$HOME/view-1'"},
          {"it's/view-1", "'it'\\''s/view-1'"}})
        EXPECT_TRUE(rastershotCommand(ShotView{}, prefix).ends_with(" --out " + written)) << prefix;
}

class ShotPrefix : public ::testing::Test {
protected:
    fs::path dir = fs::temp_directory_path() / ("rv-shots-" + std::to_string(::getpid()) + "-" +
                                                ::testing::UnitTest::GetInstance()->current_test_info()->name());
    void TearDown() override { fs::remove_all(dir); }
    std::string claim() {
        std::string error;
        const std::optional<std::string> prefix = claimShotPrefix(dir / "sub", error);
        EXPECT_TRUE(prefix) << error;
        return prefix.value_or("");
    }
};

TEST_F(ShotPrefix, NumbersNeverReuseAnEarlierFile) {
    EXPECT_EQ(claim(), (dir / "sub" / "view-1").string()) << "a missing directory is created";
    EXPECT_EQ(claim(), (dir / "sub" / "view-2").string()) << "a claimed number is taken even before its pictures exist";
    // Somebody else's picture with the next number: skipped, never overwritten.
    std::ofstream(dir / "sub" / "view-3-diff.png") << "keep me";
    EXPECT_EQ(claim(), (dir / "sub" / "view-4").string());
    std::ifstream kept(dir / "sub" / "view-3-diff.png");
    std::stringstream text;
    text << kept.rdbuf();
    EXPECT_EQ(text.str(), "keep me");
}

TEST_F(ShotPrefix, AnUnwritableDirectoryIsReportedNotThrown) {
    // A file where the directory should be: unwritable even for root, unlike permission bits.
    fs::create_directories(dir);
    std::ofstream(dir / "sub") << "a file";
    std::string error;
    EXPECT_FALSE(claimShotPrefix(dir / "sub", error));
    EXPECT_NE(error.find((dir / "sub").string()), std::string::npos) << error;
    EXPECT_FALSE(claimShotPrefix("/proc/rv-shots", error)) << "a file system that takes no new files";
}

// Pictures of the save's own making: each file must hold its own picture.
ViewPictures fakePictures() {
    ViewPictures p;
    p.software.picture = RgbImage8(3, 2);
    p.opengl.picture = RgbImage8(3, 2);
    p.difference = RgbImage8(3, 2);
    p.software.picture.rgb[0] = 1;
    p.opengl.picture.rgb[0] = 2;
    p.difference.rgb[0] = 3;
    return p;
}

RgbImage8 load(const fs::path& path) { return readPng(path.string()).value_or(RgbImage8()); }

TEST_F(ShotPrefix, SavingWritesEachPictureUnderRastershotsNameAndSaysHowToDrawThemAgain) {
    ShotView shot;
    shot.width = 3;
    shot.height = 2;
    const ViewPictures pictures = fakePictures();
    const std::string line = saveView(dir, shot, [&] { return pictures; });
    const fs::path prefix = dir / "view-1";
    EXPECT_EQ(load(prefix.string() + "-software.png"), pictures.software.picture);
    EXPECT_EQ(load(prefix.string() + "-opengl.png"), pictures.opengl.picture);
    EXPECT_EQ(load(prefix.string() + "-diff.png"), pictures.difference);
    EXPECT_EQ(line, "rasterview: saved " + prefix.string() + "-software.png, " + prefix.string() + "-opengl.png and " +
                        prefix.string() + "-diff.png; to draw them again: " + rastershotCommand(shot, prefix.string()));
    EXPECT_EQ(line.find('\n'), std::string::npos);

    EXPECT_NE(saveView(dir, shot, [&] { return pictures; }).find((dir / "view-2-diff.png").string()),
              std::string::npos);
    EXPECT_EQ(load(prefix.string() + "-diff.png"), pictures.difference) << "the first save stays as it was";
}

TEST_F(ShotPrefix, AnUnwritableDirectoryIsOneLineAndNothingIsDrawn) {
    fs::create_directories(dir);
    std::ofstream(dir / "file") << "a file";
    bool drawn = false;
    const std::string line = saveView(dir / "file" / "shots", ShotView{}, [&] {
        drawn = true;
        return fakePictures();
    });
    EXPECT_EQ(line.rfind("rasterview: cannot save the view: ", 0), 0u) << line;
    EXPECT_NE(line.find((dir / "file" / "shots").string()), std::string::npos) << line;
    EXPECT_EQ(line.find('\n'), std::string::npos);
    EXPECT_FALSE(drawn);
}

TEST_F(ShotPrefix, APictureThatCannotBeWrittenLeavesNoFileOfItsNumber) {
    ViewPictures pictures = fakePictures();
    // writePng refuses an empty image: the second of the three files fails.
    pictures.opengl.picture = RgbImage8();
    const std::string line = saveView(dir, ShotView{}, [&] { return pictures; });
    EXPECT_EQ(line.rfind("rasterview: cannot save the view: ", 0), 0u) << line;
    EXPECT_TRUE(fs::is_empty(dir)) << "a half-written set would pass for a saved view";
}

TEST(DifferenceCaption, StatesTheCountsLikeTheOpenGLCaption) {
    DifferenceCounts c;
    c.both = 21630;
    c.equal = 37;
    c.softwareOnly = 180;
    c.openglOnly = 172;
    EXPECT_EQ(differenceCaption(c),
              "difference: 21630 both (37 equal), 180 software only, 172 OpenGL only (toggle with 'd')");
}

} // namespace

} // namespace rv
