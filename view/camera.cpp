#include "view/camera.h"

namespace rv {

void setupCamera(Scene& scene, const ViewPose& pose, int width, int height) {
    // The float 0.4 widened, not the double 0.4: the extents must come out to the same bits.
    const double base = 0.4f;
    double ex = base, ey = base;
    if (width < height)
        ey = base * height / width;
    else
        ex = base * width / height;

    MatrixStack& projection = scene.projection;
    projection.reset();
    projection.perspective(static_cast<float>(ex), static_cast<float>(ey), 0.1f, 100.0f);
    projection.updateInverse();

    MatrixStack& modelview = scene.modelview;
    modelview.reset();
    modelview.translate(0, 0, -3);
    modelview.translate(static_cast<float>(pose.panX * 0.01), static_cast<float>(pose.panY * -0.01),
                        static_cast<float>(pose.zoom * 0.25));
    modelview.rotateX(pose.tilt);
    modelview.rotateZ(pose.spin);
    modelview.updateInverse();
}

} // namespace rv
