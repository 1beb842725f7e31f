// m31's search bench under Google Benchmark: the program's own bench
// ("morvelak31 bench") repeated for its speed in nodes per second.
#include "driver/m31/computer_move.hpp"
#include "search_harness.hpp"

int main(int argc, char** argv) {
    return morvelak::bench::run_search_bench(argc, argv, "BM_SearchFirstMoves31", morvelak::m31::bench_search);
}
