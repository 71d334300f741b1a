#pragma once

#include <string>

namespace rv {

// The instruction set the software rasterizer's vector shading runs on, as
// run-time dispatch picks it on this machine ("AVX2", "SSE4", ...), or
// "scalar (--no-simd)" when `simd` is off.
std::string simdTargetName(bool simd);

} // namespace rv
