#pragma once

namespace rv {

// The turntable view: input changes it, the camera reads it every frame.
struct ViewState {
    // Degrees about the scene's z axis.
    float viewSpin = -135.0f;
    // Degrees about the x axis.
    float viewTilt = -60.0f;
    // Wheel position in steps; one step moves the scene 0.25 units towards the eye.
    float viewZoom = 0.25f;
    // Window pixels dragged with the right button; y grows downwards, as GLUT reports it.
    float viewPanX = 0;
    float viewPanY = 0;
    // Position of the last button or motion event.
    int lastMouseX = 0;
    int lastMouseY = 0;
    bool leftButtonDown = false;
    bool rightButtonDown = false;
};

} // namespace rv
