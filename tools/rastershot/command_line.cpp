#include "tools/rastershot/command_line.h"

#include <algorithm>
#include <optional>


namespace rv {

namespace {

std::string readSize(std::string_view text, ShotOptions& o) {
    const std::string bad = "--size: expected WIDTHxHEIGHT such as 480x480, got '" + std::string(text) + "'";
    const size_t x = text.find('x');
    if (x == std::string_view::npos) return bad;
    const std::string outside =
        "--size: '" + std::string(text) + "' is outside 1.." + std::to_string(maxSide) + " per side";
    std::errc whyW{}, whyH{};
    const std::optional<int> w = parseWhole<int>(text.substr(0, x), whyW);
    const std::optional<int> h = parseWhole<int>(text.substr(x + 1), whyH);
    if (whyW == std::errc::result_out_of_range || whyH == std::errc::result_out_of_range) return outside;
    if (!w || !h) return bad;
    if (*w < 1 || *w > maxSide || *h < 1 || *h > maxSide) return outside;
    o.width = *w;
    o.height = *h;
    return {};
}

std::string readPan(std::string_view text, ShotOptions& o) {
    const size_t comma = text.find(',');
    if (comma == std::string_view::npos) return "--pan: expected X,Y such as 30,-20, got '" + std::string(text) + "'";
    float x = 0, y = 0;
    if (std::string e = readFinite("--pan", text.substr(0, comma), x); !e.empty()) return e;
    if (std::string e = readFinite("--pan", text.substr(comma + 1), y); !e.empty()) return e;
    o.pose.panX = x;
    o.pose.panY = y;
    return {};
}

std::string readRenderer(std::string_view text, ShotOptions& o) {
    if (text == "software")
        o.renderer = Renderer::software;
    else if (text == "opengl")
        o.renderer = Renderer::opengl;
    else if (text == "both")
        o.renderer = Renderer::both;
    else
        return "--renderer: expected software, opengl or both, got '" + std::string(text) + "'";
    return {};
}

std::string readOut(std::string_view text, ShotOptions& o) {
    if (text.empty()) return "--out: the PREFIX must not be empty";
    o.outPrefix = text;
    return {};
}

// Repeatable, unlike the other flags: each names one more view.
std::string readShow(std::string_view text, ShotOptions& o) {
    auto add = [&](InspectView view) {
        if (std::find(o.show.begin(), o.show.end(), view) == o.show.end()) o.show.push_back(view);
    };
    if (text == "all") {
        for (const InspectView view : falseColourViews) add(view);
        return {};
    }
    const std::optional<InspectView> view = viewNamed(text);
    if (!view) return "--show: expected depth, lod, normal, texcoord, spans or all, got '" + std::string(text) + "'";
    add(*view);
    return {};
}

constexpr Flag<ShotOptions> flags[] = {
    {"--renderer", "software|opengl|both", readRenderer},
    {"--size", "WIDTHxHEIGHT", readSize},
    {"--spin", "DEG", [](std::string_view v, ShotOptions& o) { return readFinite("--spin", v, o.pose.spin); }},
    {"--tilt", "DEG", [](std::string_view v, ShotOptions& o) { return readFinite("--tilt", v, o.pose.tilt); }},
    {"--zoom", "STEPS", [](std::string_view v, ShotOptions& o) { return readFinite("--zoom", v, o.pose.zoom); }},
    {"--pan", "X,Y", readPan},
    {"--no-mipmap", "",
     [](std::string_view, ShotOptions& o) {
         o.mipmapping = false;
         return std::string();
     }},
    {"--no-clip", "",
     [](std::string_view, ShotOptions& o) {
         o.clipping = false;
         return std::string();
     }},
    {"--out", "PREFIX", readOut},
    {"--show", "VIEW", readShow},
    {"--frames", "N",
     [](std::string_view v, ShotOptions& o) { return readWholeNumber("--frames", v, 1, maxFrames, o.frames); }},
    {"--stats", "",
     [](std::string_view, ShotOptions& o) {
         o.stats = true;
         return std::string();
     }},
};

} // namespace

CommandLine parseCommandLine(const std::vector<std::string>& args) {
    CommandLine result;
    const ReadArguments read = readArguments<ShotOptions>(args, {flags, commonFlags<ShotOptions>}, result.options);
    result.action = read.action;
    result.error = read.error;
    return result;
}

int exitStatusOf(const CommandLine& commandLine) { return commandLine.action == CommandLine::Action::reject ? 2 : 0; }

const std::string& usageText() {
    static const std::string text = std::string(R"(Usage: rastershot [OPTION]...
Renders the viewer's scene with the viewer's camera and renderers, without any
input, and writes the pictures as PNG files (8-bit RGB, top row first).

  --renderer software|opengl|both
                      which renderer draws (default software). The software
                      rasterizer needs no display; opengl and both need an X
                      display: run them under xvfb-run when there is none.
                      With both, PREFIX-diff.png shows the difference and a
                      one-line summary goes to standard error.
  --size WIDTHxHEIGHT picture size, each side 1 to 8192 (default 480x480)
  --spin DEG          rotation about the square's normal (default -135)
  --tilt DEG          tilt about the x axis (default -60)
  --zoom STEPS        wheel steps, 0.25 units towards the eye each (default 0.25)
  --pan X,Y           window pixels dragged with the right button, y downwards
                      as the viewer counts them (default 0,0)
  --no-mipmap         nearest texel of the full-size texture, as the viewer's
                      'a' key gives (default: mip-mapped)
  --no-clip           the software rasterizer draws polygons unclipped, as the
                      viewer's 'c' key gives: what reaches behind the eye comes
                      out mirrored (default: clipped to the near and far
                      planes, as OpenGL always does)
  --out PREFIX        writes PREFIX-software.png, PREFIX-opengl.png and
                      PREFIX-diff.png, creating missing directories
                      (default out/frame)
  --show VIEW         also writes PREFIX-software-VIEW.png, a false-colour
                      view of the values the software frame was computed
                      with: depth, lod (mip level), normal (bumped), texcoord
                      (perspective-correct s and t) or spans; repeatable, or
                      all for every view
  --frames N          frames drawn per renderer, 1 to 1000000, for timing;
                      the pictures show the last one (default 1)
  --stats             prints one JSON object per renderer on standard output:
                      fragment and span counts of one frame and the median and
                      minimum milliseconds per frame; for the software renderer
                      also into the window as the viewer shows it, through GL
                      points and as one image, when a display is present; with
                      --renderer both one more for the viewer's difference view
                      ('d'): both renderers, their difference and its caption
)") + std::string(commonFlagsHelp()) + R"(  --help, -h          prints this text

A value may also follow its flag after '=', as in --size=640x480.

Pixels of PREFIX-diff.png: both renderers' background and equal pixels in
dimmed grey; pixels both renderers drew in different colours from yellow
(1 in 255) to dark red (255 in 255) by the largest channel difference; pixels
only the software rasterizer drew in blue, only OpenGL drew in magenta. A pixel
counts as drawn where the renderer's depth buffer holds a fragment, so OpenGL's
caption and a white fragment are told apart from the background.

Exit status: 0 on success, 1 when a picture cannot be written, 2 for bad
arguments, an unwritable output path, no X display for OpenGL, or a screen too
small for the window.
)";
    return text;
}

} // namespace rv
