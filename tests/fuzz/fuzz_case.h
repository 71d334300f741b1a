#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/view_state.h"
#include "scene/scene.h"

namespace rv {

// A scene, a view and a frame size decoded from arbitrary bytes. Every byte
// string decodes to some case; running out of bytes reads zeros.
struct FuzzCase {
    Scene scene;
    ViewState view;
    int width = 0;
    int height = 0;
};

std::unique_ptr<FuzzCase> decodeFuzzCase(const uint8_t* data, size_t size);

// Builds the pyramids, sets up the camera and draws one software frame into an
// in-memory image, which aborts on any write outside the frame: with the scalar
// shading and again with the vector shading. Empty when both frames are the same
// bit for bit, else their first difference.
std::string renderFuzzCase(FuzzCase& fuzzCase);

} // namespace rv
