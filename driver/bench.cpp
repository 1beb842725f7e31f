#include "driver/bench.hpp"

#include <chrono>
#include <cstdlib>
#include <cstring>
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

const BenchSet* find_bench_set(const char* name) {
    for (const BenchSet& set : BENCH_SETS)
        if (std::strcmp(set.name, name) == 0) return &set;
    return nullptr;
}

BenchResult run_bench(BenchSearch search, std::FILE* out) { return run_bench(search, BENCH_SETS[0], out); }

BenchResult run_bench(BenchSearch search, const BenchSet& set, std::FILE* out) {
    using Clock = std::chrono::steady_clock;
    BenchResult r{0, 0.0};
    std::FILE* sink = std::fopen("/dev/null", "w");
    if (!sink) sink = std::tmpfile();
    for (int i = 0; i < set.count; ++i) {
        const BenchPosition& p = set.positions[i];
        const FenPosition pos = bench_position(p);
        char move[5] = {};
        const auto start = Clock::now();
        const u32 nodes = search(pos, set.move, move, sink);
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
