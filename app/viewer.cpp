#include "app/viewer.h"

// Constructed before main and torn down by exit(), scene included.
Viewer viewer;
