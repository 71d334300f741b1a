#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "raster/fragment_record.h"

namespace rv {

// The software frame as a person sees it, then false-colour views of the values
// it was computed with, in the order the viewer's 'v' key steps through them.
enum class InspectView { picture, depth, lod, normal, texcoord, spans };

constexpr InspectView falseColourViews[] = {InspectView::depth, InspectView::lod, InspectView::normal,
                                            InspectView::texcoord, InspectView::spans};

// picture -> depth -> lod -> normal -> texcoord -> spans -> picture.
InspectView nextView(InspectView view);
std::string_view viewName(InspectView view);
std::optional<InspectView> viewNamed(std::string_view name);

// A frame's depth buffer and the records of the fragments it shows, both bottom
// row first; empty pixels hold a depth that is not finite.
struct FrameValues {
    int width = 0;
    int height = 0;
    const float* depth = nullptr;
    const FragmentRecord* records = nullptr;
};

// The false colours of one view, three floats per pixel, bottom row first, the
// layout of the frame buffer's own colours; empty pixels get `background`.
//   depth: grey from dark (nearest depth in the frame) to light (farthest);
//   lod: a colour per mip level, the fraction blended towards the next level's;
//   normal: n * 0.5 + 0.5;  texcoord: the fractions of s (red) and t (green);
//   spans: alternating colours by row, by pair on the row and by polygon.
std::vector<float> falseColours(InspectView view, const FrameValues& frame, const float background[3]);

} // namespace rv
