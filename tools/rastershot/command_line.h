#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/command_flags.h"
#include "app/view_state.h"
#include "picture/inspection_views.h"
#include "raster/band_workers.h"

namespace rv {

enum class Renderer { software, opengl, both };

inline bool drawsSoftware(Renderer r) { return r != Renderer::opengl; }
inline bool drawsOpenGL(Renderer r) { return r != Renderer::software; }

// Limits that keep a typing slip from asking for gigabytes.
constexpr int maxSide = 8192;
constexpr int maxFrames = 1000000;

struct ShotOptions {
    Renderer renderer = Renderer::software;
    int width = 480;
    int height = 480;
    // The viewer's start-up view unless a flag changes it; pan in window pixels dragged.
    ViewState view;
    bool mipmapping = true;
    // The software path's; OpenGL always clips.
    bool clipping = true;
    // The software renderer's vector shading; false runs the scalar code that defines its bits.
    bool simd = true;
    // Pictures go to PREFIX-software.png, PREFIX-opengl.png and PREFIX-diff.png.
    std::string outPrefix = "out/frame";
    int frames = 1;
    // Threads drawing the software frame.
    int threads = coreCount();
    bool stats = false;
    // False-colour views of the software frame, each to PREFIX-software-VIEW.png, in the order first asked for.
    std::vector<InspectView> show;
};

struct CommandLine {
    using Action = ReadArguments::Action;
    Action action = Action::run;
    ShotOptions options;
    // Why the arguments were rejected, naming the flag; empty otherwise.
    std::string error;
};

// The arguments after the program name. Values follow their flag as the next
// argument or after '=' (--size=640x480); a repeated flag takes its last value.
CommandLine parseCommandLine(const std::vector<std::string>& args);

// 0 for a run or --help, 2 for rejected arguments.
int exitStatusOf(const CommandLine& commandLine);

// What --help prints: every flag, its default and the exit statuses.
std::string_view usageText();

} // namespace rv
