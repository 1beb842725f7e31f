// The bench every program runs: each position once, in order, its line, the
// total as "Bench: N" (what ctest compares with bench/signatures.txt), the
// time and the speed; the thinking lines of the searches go to a sink that
// is neither standard output nor the caller's output.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "driver/bench.hpp"

namespace morvelak::test {
namespace {

std::FILE* seenSink = nullptr;
int calls = 0;

// What the stand-in search finds: a thousand nodes per piece, and a move by
// the side to move.
u32 nodes_of(const FenPosition& pos) {
    u32 pieces = 0;
    for (int s = 11; s <= 88; ++s) pieces += pos.pl[s] != EMPTY && pos.pl[s] != BORDER;
    return 1000 * pieces;
}
const char* move_of(const FenPosition& pos) { return pos.toMove == Side::White ? "e2e4" : "e7e5"; }

// The stand-in search, writing a thinking line to its sink.
u32 stand_in_search(const FenPosition& pos, char* move, std::FILE* sink) {
    ++calls;
    seenSink = sink;
    std::fputs("a thinking line\n", sink);
    std::memcpy(move, move_of(pos), 4);
    return nodes_of(pos);
}

TEST(Bench, EveryPositionOnceThenTheSignatureTimeAndSpeed) {
    char* text = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&text, &size);
    calls = 0;
    const BenchResult r = run_bench(stand_in_search, out);
    std::fclose(out);
    const std::string printed(text, size);
    std::free(text);

    constexpr int n = sizeof BENCH_POSITIONS / sizeof BENCH_POSITIONS[0];
    EXPECT_EQ(calls, n);
    u32 total = 0;
    std::string expected;
    for (const BenchPosition& p : BENCH_POSITIONS) {
        const FenPosition pos = bench_position(p);
        const u32 nodes = nodes_of(pos);
        total += nodes;
        char line[64];
        std::snprintf(line, sizeof line, "%-16s %-4s %10u\n", p.name, move_of(pos), nodes);
        expected += line;
    }
    EXPECT_EQ(r.nodes, total);
    expected += "Bench: " + std::to_string(total) + "\n";
    ASSERT_EQ(printed.substr(0, expected.size()), expected);
    EXPECT_NE(printed.find("\nTime: ", expected.size() - 1), std::string::npos) << printed;
    EXPECT_NE(printed.find("\nNodes/second: "), std::string::npos) << printed;
    EXPECT_NE(seenSink, nullptr);
    EXPECT_NE(seenSink, stdout);
}

TEST(Bench, WithoutAnOutputItOnlyCounts) {
    calls = 0;
    const BenchResult r = run_bench(stand_in_search, nullptr);
    EXPECT_EQ(calls, static_cast<int>(sizeof BENCH_POSITIONS / sizeof BENCH_POSITIONS[0]));
    EXPECT_GT(r.nodes, 0u);
    EXPECT_GE(r.seconds, 0.0);
}

}  // namespace
}  // namespace morvelak::test
