#pragma once

namespace rv {

// How the software frame reaches the window.
enum class Presentation {
    // GL points: one per passing fragment as drawn with one thread, one per
    // covered pixel in row order once the bands are done with several.
    points,
    // One pixel transfer of the whole frame.
    image,
};

} // namespace rv
