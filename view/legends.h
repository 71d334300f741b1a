#pragma once

#include <vector>

#include "picture/difference.h"
#include "picture/inspection_views.h"
#include "view/text_panel.h"

namespace rv {

// The difference view's caption: a swatch and a count each for the pixels both
// renderers drew alike, drew differently (the yellow to dark red ramp), and
// those only one of them drew, in the difference picture's own colours.
std::vector<LegendItem> differenceLegend(const DifferenceCounts& counts);

// A false-colour view's caption: its name, what its colours mean, the key to the next view.
std::vector<LegendItem> falseColourLegend(InspectView view);

} // namespace rv
