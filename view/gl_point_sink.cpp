#include "view/gl_point_sink.h"

#include <GL/gl.h>

namespace rv {

void GlPointSink::beginSpan() { glBegin(GL_POINTS); }

void GlPointSink::endSpan() { glEnd(); }

void GlPointSink::plot(int x, int y, const Color& color) {
    glColor3f(color.r, color.g, color.b);
    glVertex2i(x, y);
}

} // namespace rv
