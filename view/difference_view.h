#pragma once

#include "view/software_window.h"
#include "view/view_pictures.h"
#include "view/view_pose.h"
#include "picture/inspection_views.h"
#include "raster/frame_buffer.h"
#include "scene/scene.h"

namespace rv {

// Both renderers' pictures of the view at width x height in the current GL
// context, and their difference: the OpenGL reference drawn into the back
// buffer and read back, the software frame drawn into memory by `software`'s
// threads meanwhile. The back buffer is left holding the OpenGL frame.
ViewPictures drawViewPictures(Scene& scene, FrameBuffer& frame, const ViewPose& pose, SoftwareWindow& software,
                              int width, int height);

// The difference view's frame into the back buffer, not yet swapped: the
// difference of both pictures, drawn as rastershot draws it, in one pixel
// transfer, then the caption with its counts.
void drawDifferenceFrame(Scene& scene, FrameBuffer& frame, const ViewPose& pose, SoftwareWindow& software,
                         int width, int height);

// A false-colour view of the software frame into the back buffer, not yet
// swapped: the frame drawn into memory with its fragment records, the view's
// colours in one pixel transfer, then the caption with its legend. The records
// stay kept from frame to frame until the picture is shown again.
void drawInspectFrame(Scene& scene, FrameBuffer& frame, const ViewPose& pose, SoftwareWindow& software,
                      InspectView inspect, int width, int height);

} // namespace rv
