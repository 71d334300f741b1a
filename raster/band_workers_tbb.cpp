#include <new>
#include <optional>

#include <tbb/blocked_range.h>
#include <tbb/global_control.h>
#include <tbb/info.h>
#include <tbb/parallel_for.h>
#include <tbb/task_arena.h>

#include "raster/band_workers.h"

namespace rv {

struct BandWorkers::Pool {
    // Lets the destructor wait for TBB's threads to end: still running at exit,
    // their stacks count as leaked for valgrind.
    tbb::task_scheduler_handle scheduler{tbb::attach{}};
    // TBB runs no more threads than cores unless told otherwise: without this,
    // asking for 4 threads on 2 cores would quietly give 2.
    std::optional<tbb::global_control> allowance;
    tbb::task_arena arena;
};

BandWorkers::BandWorkers(int threads) : pool(std::make_unique<Pool>()) {
    if (threads > coreCount()) pool->allowance.emplace(tbb::global_control::max_allowed_parallelism, threads);
    pool->arena.initialize(threads);
}

BandWorkers::~BandWorkers() {
    pool->arena.terminate();
    pool->allowance.reset();
    // Returns at once, without waiting, while other workers still use TBB.
    tbb::finalize(pool->scheduler, std::nothrow);
}

void BandWorkers::run(int jobs, const std::function<void(int)>& job) {
    pool->arena.execute([&] {
        // One task per job: bands differ a lot in cost (empty rows, the square's widest rows), and
        // small tasks let an idle thread take the next one.
        tbb::parallel_for(
            tbb::blocked_range<int>(0, jobs, 1),
            [&](const tbb::blocked_range<int>& r) {
                for (int i = r.begin(); i < r.end(); ++i) job(i);
            },
            tbb::simple_partitioner());
    });
}

int coreCount() { return tbb::info::default_concurrency(); }

} // namespace rv
