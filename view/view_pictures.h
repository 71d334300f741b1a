#pragma once

#include <string>

#include "picture/difference.h"

namespace rv {

// Both renderers' pictures of one view and their difference, as
// rastershot --renderer both makes them.
struct ViewPictures {
    Snapshot software;
    Snapshot opengl;
    RgbImage8 difference;
    DifferenceCounts counts;
};

// The difference view's caption, in the words of the OpenGL caption.
std::string differenceCaption(const DifferenceCounts& counts);

} // namespace rv
