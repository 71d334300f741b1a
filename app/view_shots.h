#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "view/view_pictures.h"
#include "view/view_pose.h"

namespace rv {

// What decides the pictures of one view: saving it must say all of it, so that
// the printed command gives the same pixels.
struct ShotView {
    ViewPose pose;
    int width = 480;
    int height = 480;
    bool mipmapping = true;
    bool clipping = true;
};

// The rastershot command that draws exactly this view with both renderers into
// PREFIX-software.png, PREFIX-opengl.png and PREFIX-diff.png. Every number is
// written in the shortest form that reads back to the same float; a prefix
// that a shell would split or expand is quoted.
std::string rastershotCommand(const ShotView& shot, const std::string& outPrefix);

// Picks the first free numbered prefix DIR/view-N (N from 1) whose three files
// do not exist yet, creating DIR when missing, and claims it by creating its
// software file, so two savers never share a number and no earlier file is
// ever overwritten. Nothing, with the reason in `error`, when DIR cannot be
// written.
std::optional<std::string> claimShotPrefix(const std::filesystem::path& dir, std::string& error);

// Saves one view into `dir`: claims a numbered prefix, then draws the
// pictures with `draw` and writes them under rastershot's names. Returns the
// line for standard error: the three paths and the rastershot command that
// writes the same files again, or why nothing was saved (no file of the
// prefix is left behind then).
std::string saveView(const std::filesystem::path& dir, const ShotView& shot,
                     const std::function<ViewPictures()>& draw);

} // namespace rv
