// libFuzzer entry: any byte string becomes a scene, a view and a frame size,
// rendered by the software rasterizer under the sanitizers.
#include "tests/fuzz/fuzz_case.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto fuzzCase = rv::decodeFuzzCase(data, size);
    rv::renderFuzzCase(*fuzzCase);
    return 0;
}
