#pragma once

#include <span>
#include <string_view>

#include "view/text_panel.h"

namespace rv {

// Width of `text` in one of GLUT's bitmap fonts, as drawTextPanel draws it.
int glutTextWidth(TextFont font, std::string_view text);

// A panel over whatever the back buffer holds in a width x height window: a
// translucent dark box, opaque swatches, light text. Loads the one-unit-per-pixel
// matrices and leaves blending, depth test, lighting and texturing off.
void drawTextPanel(const TextPanel& panel, int width, int height);

// A caption of our own at the window's bottom-left corner, fitted to the window (layoutCaption).
void drawLegendCaption(std::span<const LegendItem> items, int width, int height);

} // namespace rv
