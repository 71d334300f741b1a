#include "picture/gl_readback.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

namespace rv {

Snapshot readBackBuffer(int width, int height) {
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    std::vector<std::uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    // As whole numbers, the cleared depth 1.0 is the largest one; read as
    // floats the depth took ten times as long, a millisecond a frame of the
    // difference view.
    std::vector<GLuint> depth(static_cast<size_t>(width) * height);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    glReadPixels(0, 0, width, height, GL_DEPTH_COMPONENT, GL_UNSIGNED_INT, depth.data());

    Snapshot shot{RgbImage8(width, height), std::vector<std::uint8_t>(depth.size())};
    const size_t row = static_cast<size_t>(width);
    for (int y = 0; y < height; ++y) {
        const size_t from = static_cast<size_t>(y) * row, to = static_cast<size_t>(height - 1 - y) * row;
        std::copy_n(&rgb[from * 3], row * 3, shot.picture.pixel(0, height - 1 - y));
        for (size_t x = 0; x < row; ++x) shot.covered[to + x] = depth[from + x] != std::numeric_limits<GLuint>::max();
    }
    return shot;
}

} // namespace rv
