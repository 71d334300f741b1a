#pragma once

#include <string>
#include <vector>

#include "view/text_panel.h"

namespace rv {

// The viewer's own panels over the picture: the notice along the top, the keys
// overlay below it, both from the top-left corner of a width x height window.
struct WindowText {
    TextPanel notice;
    TextPanel overlay;
};

// An empty notice or no overlay lines leaves that panel out.
WindowText layoutWindowText(const std::string& notice, const std::vector<PanelLine>& overlay, int width, int height,
                            const MeasureText& measure);

} // namespace rv
