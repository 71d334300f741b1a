#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "scene/scene.h"
#include "view/view_pose.h"

namespace rv {

// A scene, a view and a frame size decoded from arbitrary bytes. Every byte
// string decodes to some case; running out of bytes reads zeros.
struct FuzzCase {
    Scene scene;
    ViewPose view;
    int width = 0;
    int height = 0;
    // For the frame drawn again in bands; running out of bytes still gives two threads.
    int threads = 2;
    int bandHeight = 1;
};

std::unique_ptr<FuzzCase> decodeFuzzCase(const uint8_t* data, size_t size);

// Builds the pyramids, sets up the camera and draws one software frame into an
// in-memory image, which aborts on any write outside the frame: with the scalar
// shading, again with the vector shading, and again in bands on the case's
// threads. Empty when all three frames are the same bit for bit, else the first
// difference.
std::string renderFuzzCase(FuzzCase& fuzzCase);

} // namespace rv
