#include "view/view_pictures.h"

namespace rv {

std::string differenceCaption(const DifferenceCounts& c) {
    return "difference: " + std::to_string(c.both) + " both (" + std::to_string(c.equal) + " equal), " +
           std::to_string(c.softwareOnly) + " software only, " + std::to_string(c.openglOnly) +
           " OpenGL only (toggle with 'd')";
}

} // namespace rv
