// libFuzzer entry: any byte string becomes a scene, a view and a frame size,
// rendered by the software rasterizer under the sanitizers, with scalar and with
// vector shading; frames that differ in any bit abort.
#include <cstdio>
#include <cstdlib>

#include "tests/fuzz/fuzz_case.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto fuzzCase = rv::decodeFuzzCase(data, size);
    const std::string difference = rv::renderFuzzCase(*fuzzCase);
    if (!difference.empty()) {
        std::fprintf(stderr, "scalar and vector shading differ: %s\n", difference.c_str());
        std::abort();
    }
    return 0;
}
