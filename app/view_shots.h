#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "app/view_state.h"
#include "picture/difference.h"

namespace rv {

// What decides the pictures of one view: saving it must say all of it, so that
// the printed command gives the same pixels.
struct ShotView {
    ViewState view;
    int width = 480;
    int height = 480;
    bool mipmapping = true;
    bool clipping = true;
};

// The rastershot command that draws exactly this view with both renderers into
// PREFIX-software.png, PREFIX-opengl.png and PREFIX-diff.png. Every number is
// written in the shortest form that reads back to the same float.
std::string rastershotCommand(const ShotView& shot, const std::string& outPrefix);

// Picks the first free numbered prefix DIR/view-N (N from 1) whose three files
// do not exist yet, creating DIR when missing, and claims it by creating its
// software file, so two savers never share a number and no earlier file is
// ever overwritten. Nothing, with the reason in `error`, when DIR cannot be
// written.
std::optional<std::string> claimShotPrefix(const std::filesystem::path& dir, std::string& error);

// The difference view's caption, in the words of the OpenGL caption.
std::string differenceCaption(const DifferenceCounts& counts);

} // namespace rv
