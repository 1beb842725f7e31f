#include "driver/bench.hpp"

#include <chrono>
#include <cstdlib>
#include <string>

namespace morvelak {

FenPosition bench_position(const BenchPosition& p) {
    FenPosition pos;
    std::string error;
    if (!parse_fen(p.fen, pos, error)) {
        std::fprintf(stderr, "bench position %s: %s\n", p.name, error.c_str());
        std::abort();
    }
    return pos;
}

BenchResult run_bench(BenchSearch search, std::FILE* out) {
    using Clock = std::chrono::steady_clock;
    BenchResult r{0, 0.0};
    std::FILE* sink = std::fopen("/dev/null", "w");
    if (!sink) sink = std::tmpfile();
    for (const BenchPosition& p : BENCH_POSITIONS) {
        const FenPosition pos = bench_position(p);
        char move[5] = {};
        const auto start = Clock::now();
        const u32 nodes = search(pos, move, sink);
        r.seconds += std::chrono::duration<double>(Clock::now() - start).count();
        r.nodes += nodes;
        if (out) std::fprintf(out, "%-16s %-4s %10u\n", p.name, move, nodes);
    }
    if (sink) std::fclose(sink);
    if (out) {
        std::fprintf(out, "Bench: %u\n", r.nodes);
        std::fprintf(out, "Time: %.3f s\n", r.seconds);
        std::fprintf(out, "Nodes/second: %.0f\n", r.seconds > 0 ? r.nodes / r.seconds : 0.0);
        std::fflush(out);
    }
    return r;
}

}  // namespace morvelak
