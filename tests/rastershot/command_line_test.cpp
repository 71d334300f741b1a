#include "tools/rastershot/command_line.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/rastershot/arguments_name.h"

namespace rv {

namespace {

struct Rejected {
    std::vector<std::string> args;
    // Part of the message; every one names the flag or the argument at fault.
    std::string says;
};

void PrintTo(const Rejected& r, std::ostream* out) {
    for (const std::string& a : r.args) *out << "'" << a << "' ";
}

class RejectedArguments : public ::testing::TestWithParam<Rejected> {};

TEST_P(RejectedArguments, ExitWithStatusTwoAndAMessageNamingTheFlag) {
    const CommandLine c = parseCommandLine(GetParam().args);
    EXPECT_EQ(c.action, CommandLine::Action::reject);
    EXPECT_EQ(exitStatusOf(c), 2);
    EXPECT_NE(c.error.find(GetParam().says), std::string::npos) << "message: " << c.error;
}

INSTANTIATE_TEST_SUITE_P(
    Table, RejectedArguments,
    ::testing::Values(
        Rejected{{"--fast"}, "unknown option '--fast'"}, Rejected{{"-s", "480x480"}, "unexpected argument '-s'"},
        Rejected{{"frame.png"}, "unexpected argument 'frame.png'"},
        Rejected{{"--size=640x480", "--frobnicate=1"}, "unknown option '--frobnicate'"},
        // Missing values: at the end, or swallowed by the next flag.
        Rejected{{"--size"}, "--size needs a value"}, Rejected{{"--out"}, "--out needs a value"},
        Rejected{{"--spin", "--stats"}, "--spin needs a value"},
        Rejected{{"--out="}, "--out: the PREFIX must not be empty"},
        Rejected{{"--stats=yes"}, "--stats takes no value"}, Rejected{{"--no-mipmap=0"}, "--no-mipmap takes no value"},
        Rejected{{"--no-clip=yes"}, "--no-clip takes no value"},
        Rejected{{"--no-simd=1"}, "--no-simd takes no value"},
        Rejected{{"--show", "Depth"}, "--show: expected depth, lod, normal, texcoord, spans or all, got 'Depth'"},
        Rejected{{"--show", "picture"}, "--show: expected"}, Rejected{{"--show"}, "--show needs a value: VIEW"},
        Rejected{{"--renderer", "vulkan"}, "--renderer: expected software, opengl or both, got 'vulkan'"},
        Rejected{{"--renderer", "Software"}, "--renderer"},
        // Numbers: non-numeric, trailing junk, non-finite, beyond a float.
        Rejected{{"--spin", "abc"}, "--spin: 'abc' is not a number"}, Rejected{{"--tilt", "12deg"}, "--tilt: '12deg'"},
        Rejected{{"--zoom", ""}, "--zoom: '' is not a number"}, Rejected{{"--zoom", " 1"}, "--zoom"},
        Rejected{{"--zoom", "nan"}, "--zoom: 'nan' is not a finite number"},
        Rejected{{"--spin", "inf"}, "--spin: 'inf' is not a finite number"},
        Rejected{{"--tilt=-infinity"}, "--tilt: '-infinity' is not a finite number"},
        Rejected{{"--zoom", "1e39"}, "--zoom: '1e39' is out of range"},
        Rejected{{"--spin", "0x10"}, "--spin: '0x10' is not a number"},
        // Pan: two finite numbers around one comma.
        Rejected{{"--pan", "10000"}, "--pan: expected X,Y"},
        Rejected{{"--pan", "1,nan"}, "--pan: 'nan' is not a finite"},
        Rejected{{"--pan", "1,2,3"}, "--pan: '2,3' is not a number"},
        Rejected{{"--pan", ",5"}, "--pan: '' is not a number"},
        // Size: the WxH form, each side 1..8192.
        Rejected{{"--size", "480"}, "--size: expected WIDTHxHEIGHT"},
        Rejected{{"--size", "480X480"}, "--size: expected"}, Rejected{{"--size", "480x"}, "--size: expected"},
        Rejected{{"--size", "x480"}, "--size: expected"}, Rejected{{"--size", "480.5x480"}, "--size: expected"},
        Rejected{{"--size", "-480x480"}, "outside 1..8192"},
        Rejected{{"--size", "0x480"}, "--size: '0x480' is outside 1..8192"},
        Rejected{{"--size", "8193x1"}, "--size: '8193x1' is outside 1..8192"},
        Rejected{{"--size", "99999999999x1"}, "outside 1..8192"},
        // Frames: a whole number, at least one.
        Rejected{{"--frames", "0"}, "--frames: expected a whole number from 1"},
        Rejected{{"--frames", "-3"}, "--frames"}, Rejected{{"--frames", "2.5"}, "--frames"},
        Rejected{{"--frames", "many"}, "--frames"}, Rejected{{"--frames", "1000001"}, "--frames"},
        // Threads: a whole number from 1 to 256.
        Rejected{{"--threads", "0"}, "--threads: expected a whole number from 1 to 256, got '0'"},
        Rejected{{"--threads", "257"}, "--threads"}, Rejected{{"--threads=two"}, "--threads"},
        Rejected{{"--threads"}, "--threads needs a value: N"}),
    byArguments);

// Every field spelled out, so that a row states the whole outcome.
ShotOptions options(Renderer renderer, int width, int height, float spin, float tilt, float zoom, float panX,
                    float panY, bool mipmapping, bool clipping, const char* out, int frames, int threads,
                    bool stats, bool simd = true) {
    ShotOptions o;
    o.renderer = renderer;
    o.width = width;
    o.height = height;
    o.pose.spin = spin;
    o.pose.tilt = tilt;
    o.pose.zoom = zoom;
    o.pose.panX = panX;
    o.pose.panY = panY;
    o.mipmapping = mipmapping;
    o.clipping = clipping;
    o.outPrefix = out;
    o.frames = frames;
    o.common.threads = threads;
    o.stats = stats;
    o.common.simd = simd;
    return o;
}

struct Accepted {
    std::vector<std::string> args;
    ShotOptions gives;
};

void PrintTo(const Accepted& a, std::ostream* out) {
    for (const std::string& arg : a.args) *out << "'" << arg << "' ";
}

class AcceptedArguments : public ::testing::TestWithParam<Accepted> {};

TEST_P(AcceptedArguments, GiveExactlyTheseOptions) {
    const CommandLine c = parseCommandLine(GetParam().args);
    ASSERT_EQ(c.action, CommandLine::Action::run) << c.error;
    EXPECT_EQ(exitStatusOf(c), 0);
    const ShotOptions &got = c.options, &want = GetParam().gives;
    EXPECT_EQ(got.renderer, want.renderer);
    EXPECT_EQ(got.width, want.width);
    EXPECT_EQ(got.height, want.height);
    EXPECT_EQ(got.pose.spin, want.pose.spin);
    EXPECT_EQ(got.pose.tilt, want.pose.tilt);
    EXPECT_EQ(got.pose.zoom, want.pose.zoom);
    EXPECT_EQ(got.pose.panX, want.pose.panX);
    EXPECT_EQ(got.pose.panY, want.pose.panY);
    EXPECT_EQ(got.mipmapping, want.mipmapping);
    EXPECT_EQ(got.clipping, want.clipping);
    EXPECT_EQ(got.outPrefix, want.outPrefix);
    EXPECT_EQ(got.frames, want.frames);
    EXPECT_EQ(got.common.threads, want.common.threads);
    EXPECT_EQ(got.stats, want.stats);
    EXPECT_EQ(got.common.simd, want.common.simd);
}

constexpr Renderer software = Renderer::software, both = Renderer::both;
const int cores = coreCount();

INSTANTIATE_TEST_SUITE_P(
    Table, AcceptedArguments,
    ::testing::Values(
        // Nothing given: the viewer's start-up view in its 480 x 480 window.
        Accepted{{}, options(software, 480, 480, -135, -60, 0.25f, 0, 0, true, true, "out/frame", 1, cores, false)},
        Accepted{{"--renderer", "both", "--size", "640x360", "--spin", "-90.5", "--tilt=+12", "--zoom", "-2", "--pan",
                  "-30,12.5", "--no-mipmap", "--no-clip", "--out", "pics/a b", "--frames", "50", "--threads", "3",
                  "--stats", "--no-simd"},
                 options(both, 640, 360, -90.5f, 12, -2, -30, 12.5f, false, false, "pics/a b", 50, 3, true, false)},
        // Extreme views and the limits themselves.
        Accepted{{"--zoom", "40", "--tilt", "90", "--pan", "10000,-10000", "--size", "1x8192", "--frames", "1000000",
                  "--threads=256"},
                 options(software, 1, 8192, -135, 90, 40, 10000, -10000, true, true, "out/frame", 1000000, 256, false)},
        // A repeated flag takes its last value.
        Accepted{{"--frames", "3", "--frames=7", "--renderer", "both", "--renderer", "software", "--threads", "1"},
                 options(software, 480, 480, -135, -60, 0.25f, 0, 0, true, true, "out/frame", 7, 1, false)},
        Accepted{{"--renderer=opengl"},
                 options(Renderer::opengl, 480, 480, -135, -60, 0.25f, 0, 0, true, true, "out/frame", 1, cores, false)}),
    byArguments);

TEST(CommandLine, ShowGathersViewsInTheOrderFirstAskedForAndAllMeansEvery) {
    EXPECT_EQ(parseCommandLine({"--show", "spans", "--show=depth", "--show", "spans"}).options.show,
              (std::vector<InspectView>{InspectView::spans, InspectView::depth}));
    EXPECT_EQ(parseCommandLine({"--show", "lod", "--show", "all"}).options.show,
              (std::vector<InspectView>{InspectView::lod, InspectView::depth, InspectView::normal,
                                        InspectView::texcoord, InspectView::spans}));
    EXPECT_TRUE(parseCommandLine({}).options.show.empty());
}

TEST(CommandLine, HelpWinsWhereverItStandsAndDocumentsEveryFlag) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--help"}, {"-h"}, {"--size", "1x1", "--help", "--bogus"}}) {
        const CommandLine c = parseCommandLine(args);
        EXPECT_EQ(c.action, CommandLine::Action::help);
        EXPECT_EQ(exitStatusOf(c), 0);
    }
    const std::string_view help = usageText();
    for (const char* flag : {"--renderer", "--size", "--spin", "--tilt", "--zoom", "--pan", "--no-mipmap", "--no-clip",
                             "--no-simd", "--out", "--frames", "--threads", "--stats", "--help", "xvfb-run"})
        EXPECT_NE(help.find(flag), std::string_view::npos) << flag;
}

} // namespace

} // namespace rv
