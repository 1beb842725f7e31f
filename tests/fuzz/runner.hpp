// The deterministic random-stream runner: runs one target over seeded
// sessions for a few seconds and reports what it checked.  ctest runs it on
// every ./check; a failure names its seed and leaves the lines sent in a
// file, so that `RUNNER TARGET --seed N --sessions 1` replays it.
#pragma once

#include <vector>

#include "tests/fuzz/harness.hpp"

namespace morvelak::test::fuzz {

// The command-stream targets one runner program offers, by name; the
// board-file, book and FEN targets are always there.
int runner_main(int argc, char** argv, const std::vector<Engine>& engines);

}  // namespace morvelak::test::fuzz
