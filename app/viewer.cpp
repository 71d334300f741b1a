#include "app/viewer.h"

namespace rv {

// Constructed before main and torn down by exit(), scene included.
Viewer viewer;

} // namespace rv
