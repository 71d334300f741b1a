#pragma once

#include <functional>
#include <memory>

namespace rv {

// The threads that draw a frame's bands: the calling thread and threads - 1
// helpers. oneTBB in ordinary builds; plain std::thread in the ThreadSanitizer
// build, which cannot see the hand-offs inside Debian's uninstrumented libtbb
// and would report each of them as a race, ours included.
class BandWorkers {
public:
    // 1 <= threads; more threads than cores is allowed (they then take turns).
    explicit BandWorkers(int threads);
    ~BandWorkers();
    BandWorkers(const BandWorkers&) = delete;
    BandWorkers& operator=(const BandWorkers&) = delete;

    // Calls job(i) once for every i in [0, jobs), spread over the threads in no
    // particular order, and returns when all calls have; an exception thrown by
    // a call is thrown again here.
    void run(int jobs, const std::function<void(int)>& job);

private:
    struct Pool;
    std::unique_ptr<Pool> pool;
};

// How many threads the process can run at once: the default thread count.
int coreCount();

} // namespace rv
