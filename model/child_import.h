#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "model/model_stream.h"

namespace rv {

struct ImportLimits {
    // Address space of the import child.
    std::uint64_t memoryBytes = std::uint64_t(2) << 30;
    // Wall-clock time from fork until the whole result has arrived.
    double seconds = 20;
    StreamLimits stream;
};

struct ChildResult {
    bool ok = false;
    // Without the file name; one line.
    std::string reason;
    ImportedModel model;
};

// Runs `work` in a forked child under the memory and time caps and reads what
// it writes to the sink. The child ends with _exit; std::bad_alloc escaping
// `work` becomes "out of memory". Whatever the child does (crash, hang, endless
// or hostile output), the parent returns one reason and leaves no child behind.
ChildResult runInChild(const std::function<void(ByteSink&)>& work, const ImportLimits& limits);

} // namespace rv
