#include "view/common_flags.h"

namespace rv {

std::string_view commonFlagsHelp() {
    return R"(  --threads N         threads drawing the software frame, 1 to 256, in bands
                      of rows; every count gives the same picture (default:
                      one per core)
  --no-simd           the software rasterizer shades one fragment at a time
                      with its scalar code instead of in vector lanes; the
                      picture is the same to the bit, only slower
)";
}

} // namespace rv
