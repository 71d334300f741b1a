#include "view/common_flags.h"

namespace rv {

std::string readImportMemory(std::string_view text, ImportLimits& limits) {
    int mib = 0;
    if (std::string why = readWholeNumber("--import-memory", text, 64, maxImportMiB, mib); !why.empty()) return why;
    limits.memoryBytes = static_cast<std::uint64_t>(mib) << 20;
    return {};
}

std::string readImportTime(std::string_view text, ImportLimits& limits) {
    float seconds = 0;
    if (std::string why = readFinite("--import-time", text, seconds); !why.empty()) return why;
    if (seconds <= 0 || seconds > maxImportSeconds)
        return "--import-time: expected seconds above 0, at most " + std::to_string(maxImportSeconds) + ", got '" +
               std::string(text) + "'";
    limits.seconds = seconds;
    return {};
}

std::string_view commonFlagsHelp() {
    return R"(  --threads N         threads drawing the software frame, 1 to 256, in bands
                      of rows; every count gives the same picture (default:
                      one per core)
  --no-simd           the software rasterizer shades one fragment at a time
                      with its scalar code instead of in vector lanes; the
                      picture is the same to the bit, only slower
  --model FILE        shows the model in FILE instead of the built-in square:
                      OBJ, PLY, STL, OFF, glTF 2.0, Collada, 3DS, FBX and the
                      other formats Assimp reads, with PNG, JPEG, TGA and BMP
                      textures; turned so its up axis (+Y) is +Z, centred and
                      scaled to a largest side of 1. A file that cannot be
                      shown ends the program with one line and status 2
  --import-memory MIB memory the model's import may use, 64 to 1048576 MiB
                      (default: 2048)
  --import-time SECONDS
                      time the model's import may take, above 0 and at most
                      3600 (default: 20)
)";
}

} // namespace rv
