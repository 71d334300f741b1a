#pragma once

#include "picture/inspection_views.h"
#include "picture/rgb_image.h"
#include "raster/frame_buffer.h"

namespace rv {

// A false-colour view of a frame drawn with its fragment records kept, as the
// window shows it (top row first, empty pixels white like the window's clear):
// what the viewer's 'v' shows and rastershot --show writes.
RgbImage8 falseColourPicture(const FrameBuffer& frame, InspectView view);

} // namespace rv
