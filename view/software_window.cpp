#include "view/software_window.h"

#include <GL/gl.h>

#include <algorithm>

#include "picture/window_bytes.h"
#include "view/software_path.h"

namespace rv {

namespace {

// Rows of the kept colours as the window would show them sent as GL points.
void toWindowBytes(const FrameBuffer& frame, RowRange rows, std::uint8_t* bytes) {
    const size_t from = static_cast<size_t>(rows.begin) * frame.width() * 3;
    const size_t to = static_cast<size_t>(rows.end) * frame.width() * 3;
    windowBytes(frame.colors() + from, to - from, bytes + from);
}

} // namespace

SoftwareWindow::SoftwareWindow(int threads, Presentation shown) : renderer(threads), presentation(shown) {}

void SoftwareWindow::draw(const Scene& scene, FrameBuffer& frame, int width, int height) {
    if (renderer.threads() == 1 && presentation == Presentation::points) {
        // Each passing fragment becomes a point as it is drawn, overdraw included.
        if (frame.keepsColors()) frame.dropColors();
        frame.output = &points;
        renderSoftware(scene, frame, renderer, width, height);
        return;
    }
    // Kept over the window's own white, so that an uncovered pixel shows as the clear does.
    frame.keepColors({1, 1, 1, 1});
    frame.output = nullptr;
    if (presentation == Presentation::points) {
        renderSoftware(scene, frame, renderer, width, height);
        sendCoveredPixels(frame, points);
        return;
    }
    bytes.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    // Each band's thread converts its own rows while others still draw.
    renderSoftware(scene, frame, renderer, width, height,
                   [&](RowRange rows) { toWindowBytes(frame, rows, bytes.data()); });
    presentBytes(width, height);
}

Snapshot SoftwareWindow::drawInMemory(const Scene& scene, FrameBuffer& frame, int width, int height) {
    frame.keepColors({1, 1, 1, 1});
    frame.output = nullptr;
    Snapshot shot{RgbImage8(width, height), std::vector<std::uint8_t>(static_cast<size_t>(width) * height)};
    renderSoftware(scene, frame, renderer, width, height, [&](RowRange rows) { toSnapshot(frame, rows, shot); });
    return shot;
}

void SoftwareWindow::present(const RgbImage8& picture) {
    const size_t row = static_cast<size_t>(picture.width) * 3;
    bytes.resize(row * static_cast<size_t>(picture.height));
    // GL's rows go upwards from the lower-left corner.
    for (int y = 0; y < picture.height; ++y)
        std::copy_n(picture.pixel(0, y), row, &bytes[static_cast<size_t>(picture.height - 1 - y) * row]);
    presentBytes(picture.width, picture.height);
}

void SoftwareWindow::presentBytes(int width, int height) {
    // Rows of 3 * width bytes: the default 4-byte alignment would skew every row of an odd width.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glRasterPos2i(0, 0);
    glDrawPixels(width, height, GL_RGB, GL_UNSIGNED_BYTE, bytes.data());
}

} // namespace rv
