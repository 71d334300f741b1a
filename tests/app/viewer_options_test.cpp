#include "app/viewer_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace rv {

namespace {

using Action = ReadArguments::Action;

std::vector<std::string> withProgram(const std::vector<std::string>& args) {
    std::vector<std::string> argv{"rasterview"};
    argv.insert(argv.end(), args.begin(), args.end());
    return argv;
}

struct Accepted {
    std::vector<std::string> args;
    ViewerOptions gives;
    // What GLUT is handed after the program name.
    std::vector<std::string> forGlut;
};

void PrintTo(const Accepted& a, std::ostream* out) {
    for (const std::string& arg : a.args) *out << "'" << arg << "' ";
}

class AcceptedViewerArguments : public ::testing::TestWithParam<Accepted> {};

TEST_P(AcceptedViewerArguments, GiveTheseOptionsAndLeaveTheRestToGlut) {
    const Accepted& a = GetParam();
    const ViewerCommandLine c = parseViewerCommandLine(withProgram(a.args));
    ASSERT_EQ(c.action, Action::run) << c.error;
    EXPECT_EQ(c.options.common.threads, a.gives.common.threads);
    EXPECT_EQ(c.options.common.simd, a.gives.common.simd);
    EXPECT_EQ(c.options.present, a.gives.present);
    EXPECT_EQ(c.options.shotsDirectory, a.gives.shotsDirectory);
    EXPECT_EQ(c.glutArguments, withProgram(a.forGlut));
}

constexpr Presentation points = Presentation::points, image = Presentation::image;
const int cores = coreCount();

INSTANTIATE_TEST_SUITE_P(
    Table, AcceptedViewerArguments,
    ::testing::Values(
        // Every core and GL points unless told otherwise.
        Accepted{{}, {{cores}, points}, {}}, Accepted{{"--threads", "3", "--present", "image"}, {{3}, image}, {}},
        Accepted{{"--threads=1", "--present=points", "--threads=256"}, {{256}, points}, {}},
        Accepted{{"--shots", "my shots/today", "--threads", "2"}, {{2}, points, "my shots/today"}, {}},
        Accepted{{"--shots=a", "--shots=b", "--no-simd"}, {{cores, false}, points, "b"}, {}},
        // GLUT's own options, values and all, pass through in order around ours.
        Accepted{{"-display", ":7", "--threads", "2", "-geometry", "640x480+0+0", "-iconic"},
                 {{2}, points},
                 {"-display", ":7", "-geometry", "640x480+0+0", "-iconic"}}));

struct Rejected {
    std::vector<std::string> args;
    // Part of the message, naming the flag at fault.
    std::string says;
};

void PrintTo(const Rejected& r, std::ostream* out) {
    for (const std::string& arg : r.args) *out << "'" << arg << "' ";
}

class RejectedViewerArguments : public ::testing::TestWithParam<Rejected> {};

TEST_P(RejectedViewerArguments, NameTheFaultyFlag) {
    const ViewerCommandLine c = parseViewerCommandLine(withProgram(GetParam().args));
    EXPECT_EQ(c.action, Action::reject);
    EXPECT_NE(c.error.find(GetParam().says), std::string::npos) << "message: " << c.error;
}

INSTANTIATE_TEST_SUITE_P(
    Table, RejectedViewerArguments,
    ::testing::Values(Rejected{{"--threads", "0"}, "--threads: expected a whole number from 1 to 256, got '0'"},
                      Rejected{{"--threads", "257"}, "--threads"}, Rejected{{"--threads", "2.5"}, "--threads"},
                      Rejected{{"--threads"}, "--threads needs a value: N"},
                      Rejected{{"--threads", "--present", "image"}, "--threads needs"},
                      Rejected{{"--present", "texture"}, "--present: expected points or image, got 'texture'"},
                      Rejected{{"--present="}, "--present: expected points or image, got ''"},
                      Rejected{{"--shots="}, "--shots: expected a directory, got ''"},
                      Rejected{{"--shots"}, "--shots needs a value: DIR"},
                      Rejected{{"--fullscreen"}, "unknown option '--fullscreen'"}));

TEST(ViewerCommandLine, HelpWinsWhereverItStandsAndDocumentsEveryFlag) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--help"}, {"-h"}, {"--threads", "2", "-h", "--bogus"}})
        EXPECT_EQ(parseViewerCommandLine(withProgram(args)).action, Action::help);
    const std::string_view help = viewerUsageText();
    for (const char* part : {"--threads", "--present", "points", "image", "--shots", "--help", "-display", "-geometry"})
        EXPECT_NE(help.find(part), std::string_view::npos) << part;
}

} // namespace

} // namespace rv
