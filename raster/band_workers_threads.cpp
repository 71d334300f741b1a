#include <sched.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "raster/band_workers.h"

namespace rv {

// Helpers wait for a new round, take jobs from a shared counter until none are
// left and report back; the caller takes jobs too and waits for every helper.
struct BandWorkers::Pool {
    std::mutex lock;
    std::condition_variable roundStarted;
    std::condition_variable helpersDone;
    std::vector<std::thread> helpers;
    unsigned long round = 0;
    bool stopping = false;
    // The round in progress; written under the lock before `round` changes.
    const std::function<void(int)>* job = nullptr;
    int jobs = 0;
    std::atomic<int> nextJob{0};
    int helpersBusy = 0;
    std::exception_ptr failure;

    void takeJobs() {
        for (int i = nextJob.fetch_add(1); i < jobs; i = nextJob.fetch_add(1)) {
            try {
                (*job)(i);
            } catch (...) {
                const std::lock_guard<std::mutex> hold(lock);
                if (!failure) failure = std::current_exception();
            }
        }
    }

    void help() {
        unsigned long seen = 0;
        std::unique_lock<std::mutex> hold(lock);
        for (;;) {
            roundStarted.wait(hold, [&] { return stopping || round != seen; });
            if (stopping) return;
            seen = round;
            hold.unlock();
            takeJobs();
            hold.lock();
            if (--helpersBusy == 0) helpersDone.notify_one();
        }
    }
};

BandWorkers::BandWorkers(int threads) : pool(std::make_unique<Pool>()) {
    for (int i = 1; i < threads; ++i) pool->helpers.emplace_back([p = pool.get()] { p->help(); });
}

BandWorkers::~BandWorkers() {
    {
        const std::lock_guard<std::mutex> hold(pool->lock);
        pool->stopping = true;
    }
    pool->roundStarted.notify_all();
    for (std::thread& t : pool->helpers) t.join();
}

void BandWorkers::run(int jobs, const std::function<void(int)>& job) {
    Pool& p = *pool;
    {
        const std::lock_guard<std::mutex> hold(p.lock);
        p.job = &job;
        p.jobs = jobs;
        p.nextJob = 0;
        p.helpersBusy = static_cast<int>(p.helpers.size());
        p.failure = nullptr;
        ++p.round;
    }
    p.roundStarted.notify_all();
    p.takeJobs();
    std::unique_lock<std::mutex> hold(p.lock);
    p.helpersDone.wait(hold, [&] { return p.helpersBusy == 0; });
    if (p.failure) std::rethrow_exception(p.failure);
}

int coreCount() {
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) == 0) return CPU_COUNT(&set);
    return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

} // namespace rv
