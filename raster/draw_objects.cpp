#include "raster/draw_objects.h"

void drawObjects(const Scene&, FrameBuffer&, int, int) {}
