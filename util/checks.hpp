// Self-checks of the incrementally kept values (configure with
// -DMORVELAK_CHECKS=ON).  Code that keeps a value up to date move by move
// compares it here with a full recount when CHECKS is on; the comparison
// compiles away otherwise.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace morvelak {

#if defined(MORVELAK_CHECKS) && MORVELAK_CHECKS
inline constexpr bool CHECKS = true;
#else
inline constexpr bool CHECKS = false;
#endif

// Stops the program when an incrementally kept value differs from its full
// recount: a fault in the engine, never in the input.
inline void check_equal(long kept, long recounted, const char* what) {
    if (kept == recounted) return;
    std::fprintf(stderr, "self-check failed: %s kept %ld, recounted %ld\n", what, kept, recounted);
    std::abort();
}

}  // namespace morvelak
