#include "app/window_text.h"

namespace rv {

namespace {

constexpr int margin = 4;

} // namespace

WindowText layoutWindowText(const std::string& notice, const std::vector<PanelLine>& overlay, int width, int height,
                            const MeasureText& measure) {
    WindowText out;
    PanelBox area{margin, margin, width - 2 * margin, height - 2 * margin};
    if (area.width <= 0 || area.height <= 0) return out;
    if (!notice.empty()) {
        const PanelLine line{"", notice};
        out.notice = layoutLines({&line, 1}, area, measure);
        if (out.notice.shown()) area.height = out.notice.box.y - margin - area.y;
    }
    if (!overlay.empty() && area.height > 0) out.overlay = layoutLines(overlay, area, measure);
    return out;
}

} // namespace rv
