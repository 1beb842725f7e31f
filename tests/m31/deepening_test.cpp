// Depth control: the depth a game starts with, the iterations of a search,
// and the depth of the next search after the time this one took.
#include <gtest/gtest.h>

#include <vector>

#include "driver/m31/computer_move.hpp"
#include "engine/search/m31/deepening.hpp"

namespace morvelak::test {

using namespace morvelak::m31;
namespace {

std::vector<int> schedule(int n, int shallow) {
    int out[64];
    std::vector<int> v;
    for (int i = 0, k = iteration_depths(n, out); i < k; ++i)
        if (shallow < 0 || shallow_iteration(out[i], n) == (shallow == 1)) v.push_back(out[i]);
    return v;
}

TEST(Deepening, IterationSchedule) {
    EXPECT_EQ(schedule(5, -1), (std::vector<int>{2, 3, 5}));
    EXPECT_EQ(schedule(7, -1), (std::vector<int>{2, 3, 4, 5, 7}));
    EXPECT_EQ(schedule(7, 1), (std::vector<int>{}));
    EXPECT_EQ(schedule(10, 1), (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(schedule(10, 0), (std::vector<int>{5, 6, 7, 8, 10}));
}

TEST(Deepening, StartDepthByRemainingTime) {
    const struct { u32 t; int n; } cases[] = {
        {0, 7}, {12000, 7}, {12001, 8}, {60000, 8}, {60001, 9}, {180000, 9}, {180001, 10},
    };
    for (const auto& c : cases) EXPECT_EQ(start_depth(c.t), c.n) << c.t;
}

TEST(Deepening, NextDepthFromTimeUsed) {
    const struct {
        int n, t;
        u32 T;
        int R, next;
        const char* why;
    } cases[] = {
        {7, 0, 12000, 10, 8, "no time used deepens"},
        {7, 197, 12000, 10, 8, "exactly the budget (12000 - 197) / 60 + 1 = 197"},
        {7, 198, 12000, 10, 7, "just over the budget"},
        {7, 1183, 12000, 10, 6, "beyond six budgets of (12000 - 1183) / 60 + 1 = 181"},
        {7, 100, 6100, 10, 8, "budget (6100 - 100) / 60 + 1 = 101"},
        {7, 100, 6100, 51, 7, "after 50 plies the budget is 6000 / 80 + 1 = 76"},
        {7, 457, 6100, 51, 6, "beyond six budgets of (6100 - 457) / 80 + 1 = 71"},
        {5, 5000, 100, 10, 5, "never below five"},
        {6, 7, 0, 10, 5, "time gone: a budget of 1, and 7 is beyond six of them"},
        {MAX_DEPTH, 0, 1000000, 10, MAX_DEPTH, "never beyond the deepest table row"},
    };
    for (const auto& c : cases) EXPECT_EQ(adapt_depth(c.n, c.t, c.T, c.R), c.next) << c.why;
}

}  // namespace
}  // namespace morvelak::test
