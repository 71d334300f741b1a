#pragma once

#include <cstdint>

#include "raster/edge.h"
#include "raster/frame_view.h"
#include "raster/material.h"

namespace rv {

class Scene;

// The bump scale that span filling hands to bumpNormal.
constexpr float bumpScale = 0.05f;

// Shades and plots the pixels of row y in the half-open column range from the
// left edge's x to the right edge's x (each rounded), clipped to the frame's
// columns. Every pixel is lit before its depth test; a fragment without lighting
// (zero normal, at the eye or a light) is dropped. A non-empty span opens one
// bracket on the frame's output, even when clipping leaves no pixel in it.
// `spanTag` tells this span from its neighbours in the frame's records (spanTag()).
void fillSpan(const Scene& scene, const FrameView& frame, int y, const Edge& left, const Edge& right,
              const Material& material, std::int32_t spanTag = 0);

} // namespace rv
