#include "view/text_panel_gl.h"

#include <GL/glut.h>

#include <string>

#include "view/draw_frame.h"

namespace rv {

namespace {

void* glutFont(TextFont font) {
    switch (font) {
    case TextFont::helvetica18: return GLUT_BITMAP_HELVETICA_18;
    case TextFont::helvetica12: return GLUT_BITMAP_HELVETICA_12;
    case TextFont::helvetica10: return GLUT_BITMAP_HELVETICA_10;
    }
    return GLUT_BITMAP_HELVETICA_12;
}

void colour(const Rgb8& c) { glColor3ub(c.r, c.g, c.b); }

} // namespace

int glutTextWidth(TextFont font, std::string_view text) {
    const std::string copy(text);
    return glutBitmapLength(glutFont(font), reinterpret_cast<const unsigned char*>(copy.c_str()));
}

void drawTextPanel(const TextPanel& panel, int width, int height) {
    if (!panel.shown()) return;
    loadPixelProjection(width, height);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    // Dark enough under light text over white, light enough that the picture still shows through.
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0.05f, 0.06f, 0.08f, 0.78f);
    const PanelBox& b = panel.box;
    glRecti(b.x, b.y, b.right(), b.top());
    glDisable(GL_BLEND);

    // A ramp runs left to right; a flat shade model would paint it in one colour.
    glShadeModel(GL_SMOOTH);
    glBegin(GL_QUADS);
    for (const PanelSwatch& s : panel.swatches) {
        colour(s.swatch.from);
        glVertex2i(s.x, s.y);
        colour(s.swatch.to);
        glVertex2i(s.x + s.width, s.y);
        glVertex2i(s.x + s.width, s.y + s.height);
        colour(s.swatch.from);
        glVertex2i(s.x, s.y + s.height);
    }
    glEnd();

    glColor3f(0.95f, 0.95f, 0.92f);
    for (const PanelText& t : panel.texts) {
        glRasterPos2i(t.x, t.y);
        for (const char c : t.text) glutBitmapCharacter(glutFont(panel.font), static_cast<unsigned char>(c));
    }
}

void drawLegendCaption(std::span<const LegendItem> items, int width, int height) {
    drawTextPanel(layoutCaption(items, width, height, glutTextWidth), width, height);
}

} // namespace rv
