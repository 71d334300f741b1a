#include "app/viewer_options.h"


namespace rv {

namespace {

std::string readPresentation(std::string_view text, ViewerOptions& o) {
    if (text == "points")
        o.present = Presentation::points;
    else if (text == "image")
        o.present = Presentation::image;
    else
        return "--present: expected points or image, got '" + std::string(text) + "'";
    return {};
}

constexpr Flag<ViewerOptions> flags[] = {
    {"--present", "points|image", readPresentation},
    {"--shots", "DIR",
     [](std::string_view v, ViewerOptions& o) {
         if (v.empty()) return std::string("--shots: expected a directory, got ''");
         o.shotsDirectory = v;
         return std::string();
     }},
};

} // namespace

ViewerCommandLine parseViewerCommandLine(const std::vector<std::string>& argv) {
    ViewerCommandLine result;
    const std::vector<std::string> args(argv.empty() ? argv.end() : argv.begin() + 1, argv.end());
    ReadArguments read = readArguments<ViewerOptions>(args, {flags, commonFlags<ViewerOptions>}, result.options, true);
    result.action = read.action;
    result.error = std::move(read.error);
    result.glutArguments.push_back(argv.empty() ? "rasterview" : argv.front());
    for (std::string& a : read.others) result.glutArguments.push_back(std::move(a));
    return result;
}

const std::string& viewerUsageText() {
    static const std::string text = std::string(R"(Usage: rasterview [OPTION]... [GLUT OPTION]...
Shows the textured, bump-mapped square through OpenGL and through the software
rasterizer; 'g' switches between them, 'd' shows their difference, 's' saves
the view (see README.md for the keys and mouse).

  --present points|image
                      how the software frame reaches the window: GL points
                      (default; one per fragment with one thread, one per
                      covered pixel with more) or one image per frame; both
                      show the same pixels
  --shots DIR         where 's' saves the software, OpenGL and difference
                      pictures of the view, numbered, never overwriting a file
                      (default: out, created when missing)
)") + std::string(commonFlagsHelp()) + R"(  --help, -h          prints this text

A value may also follow its flag after '=', as in --threads=2. Arguments that
do not start with "--" go to GLUT, such as -display :1 or -geometry 640x480.

Exit status: 0 on 'q' or ESC, 2 for bad arguments.
)";
    return text;
}

} // namespace rv
