#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "picture/inspection_views.h"
#include "view/common_flags.h"
#include "view/view_pose.h"

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
    ViewPose pose;
    bool mipmapping = true;
    // The software path's; OpenGL always clips.
    bool clipping = true;
    // Pictures go to PREFIX-software.png, PREFIX-opengl.png and PREFIX-diff.png.
    std::string outPrefix = "out/frame";
    int frames = 1;
    CommonOptions common;
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
const std::string& usageText();

} // namespace rv
