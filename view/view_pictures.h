#pragma once

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

} // namespace rv
