// The search benches under Google Benchmark: the programs' own bench
// (driver/bench.hpp, "morvelakNN bench") run over and over, for a steadier
// figure of nodes per second than one pass gives.  The signature is printed
// first, from a single pass, exactly as the program prints it.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>

#include "driver/bench.hpp"

namespace morvelak::bench {

inline int run_search_bench(int argc, char** argv, const char* name, BenchSearch search) {
    run_bench(search, stdout);
    benchmark::RegisterBenchmark(name, [search](benchmark::State& state) {
        double nodes = 0;
        u32 signature = 0;
        for (auto _ : state) {
            signature = run_bench(search, nullptr).nodes;
            nodes += signature;
        }
        state.counters["signature"] = signature;
        state.counters["nodes/s"] = benchmark::Counter(nodes, benchmark::Counter::kIsRate);
    })->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace morvelak::bench
