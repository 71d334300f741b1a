// Preloaded under valgrind only. Highway's shared library measures its timer's
// resolution with RDTSCP while it loads; where the CPU does not list RDTSCP
// (as on virtual machines that hide it) valgrind refuses the instruction and
// the program dies with "Illegal instruction" before main. Our programs never
// use Highway's timers, so a stand-in answer changes nothing they do.
#include <cstdint>

namespace hwy::platform {

std::uint64_t TimerResolution() { return 1; }

} // namespace hwy::platform
