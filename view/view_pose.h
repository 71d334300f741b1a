#pragma once

namespace rv {

// Where the turntable camera stands: input changes it, the camera reads it
// every frame, a saved view and rastershot's flags spell it out.
struct ViewPose {
    // Degrees about the scene's z axis.
    float spin = -135.0f;
    // Degrees about the x axis.
    float tilt = -60.0f;
    // Wheel position in steps; one step moves the scene 0.25 units towards the eye.
    float zoom = 0.25f;
    // Window pixels dragged with the right button; y grows downwards, as GLUT reports it.
    float panX = 0;
    float panY = 0;
};

} // namespace rv
