#pragma once

#include "picture/difference.h"

namespace rv {

// The current context's back buffer, width x height from the window's lower
// left corner: its colours and which pixels hold a fragment of the scene, both
// flipped to top row first. The depth buffer tells the scene from the
// background: the caption writes no depth.
Snapshot readBackBuffer(int width, int height);

} // namespace rv
