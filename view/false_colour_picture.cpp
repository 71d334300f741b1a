#include "view/false_colour_picture.h"

#include <vector>

#include "picture/window_bytes.h"

namespace rv {

RgbImage8 falseColourPicture(const FrameBuffer& frame, InspectView view) {
    constexpr float white[3] = {1, 1, 1};
    const std::vector<float> colours =
        falseColours(view, {frame.width(), frame.height(), frame.depth(), frame.records()}, white);
    return windowPicture(colours.data(), frame.width(), frame.height());
}

} // namespace rv
