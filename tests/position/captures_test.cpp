// The capture estimate at the horizon: which captures count as defended, the
// lift of the capturer, the first estimate that reaches the bound, the king
// capture and the differences between the newest and m28.
#include <gtest/gtest.h>

#include <functional>

#include "engine/position/captures.hpp"
#include "engine/search/m28/rules.hpp"
#include "engine/search/m31/lastply.hpp"
#include "support.hpp"

namespace morvelak::test {
namespace {

constexpr int HUGE_BOUND = 1000000;

enum class Rules { M31, M28 };

int estimate(Side side, Rules rules, int bound, int d) {
    if (side == Side::White)
        return rules == Rules::M31 ? tylkobicia<Side::White, m31::Estimate>(POS.PL, POS.BP, POS.WYJ, bound, d)
                                      : tylkobicia<Side::White, m28::Build::Estimate>(POS.PL, POS.BP, POS.WYJ, bound, d);
    return rules == Rules::M31 ? tylkobicia<Side::Black, m31::Estimate>(POS.PL, POS.CP, POS.WYJ, bound, d)
                                  : tylkobicia<Side::Black, m28::Build::Estimate>(POS.PL, POS.CP, POS.WYJ, bound, d);
}

struct Case {
    const char* what;
    const char* board;
    std::array<i8, 4> wyj;
    Side side;
    // The bound and the expected result relative to d, both read after the
    // rebuild has set WART for this board (d = 0 unless the case gives it).
    std::function<int()> bound;
    std::function<int()> newest;
    std::function<int()> hashBuild;
    int d = 0;
};

int W(int code) { return POS.WART[code]; }

TEST(CaptureEstimate, EdgeCases) {
    const auto huge = [] { return HUGE_BOUND; };
    const auto minus_huge = [] { return -HUGE_BOUND; };
    const Case cases[] = {
        // A defended capture that loses material is dropped: with the bound at
        // the undefended gain, the defended capture gives d, the free one the gain.
        {"rook takes a knight defended by a rook", "r6k/8/8/n7/8/8/8/R6K", {}, Side::White,
         [] { return -W(18); }, [] { return 0; }, [] { return 0; }},
        {"rook takes an undefended knight", "7k/8/8/n7/8/8/8/R6K", {}, Side::White,
         [] { return -W(18); }, [] { return -W(18); }, [] { return -W(18); }},
        {"queen takes a rook with a second rook behind", "3r3k/3r4/8/8/8/8/8/K2Q4", {}, Side::White,
         [] { return -W(20); }, [] { return 0; }, [] { return 0; }},
        {"queen takes a lone rook", "7k/3r4/8/8/8/8/8/K2Q4", {}, Side::White,
         [] { return -W(20); }, [] { return -W(20); }, [] { return -W(20); }},
        // Even the defended capture reaches a bound at the bare loss of the
        // capturer: then the gain is returned without asking for defenders.
        {"early cut before the defence test", "r6k/8/8/n7/8/8/8/R6K", {}, Side::White,
         [] { return -W(18) - W(12); }, [] { return -W(18); }, [] { return -W(18); }},
        // Bishop b2 takes c3 with the black queen on a1 behind it: only m31
        // lifts the bishop and sees c3 defended.  The bound is the
        // undefended knight's value; m31 goes on to bishop takes queen.
        {"bishop lifted off the queen's diagonal", "7k/8/8/8/8/2n4K/1B6/q7", {}, Side::White,
         [] { return -W(18); }, [] { return -W(21); }, [] { return -W(18); }},
        // A promoting step with a rook behind the pawn on its file.
        {"promoting step, rook behind the pawn", "7k/1P6/8/8/8/8/7K/1r6", {}, Side::White, minus_huge,
         [] { return -W(9); }, [] { return W(13) - W(9); }},
        // A pawn capture with a bishop behind the pawn on the diagonal.
        {"pawn capture, bishop behind the pawn", "7k/8/3n4/4P3/5b2/8/8/7K", {}, Side::White, huge,
         [] { return -W(18) - W(9); }, [] { return -W(18); }},
        // The king is lifted too: f3 is covered by the bishop d1 through e2.
        {"king lifted off the bishop's diagonal", "7k/8/8/8/8/5p2/4K3/3b4", {}, Side::White,
         [] { return -W(17); }, [] { return -W(19); }, [] { return -W(17); }},
        // A king never takes a defended piece.
        {"king next to a defended rook", "7k/8/8/8/6b1/8/4r3/4K3", {}, Side::White, huge,
         [] { return 0; }, [] { return 0; }},
        {"king next to an undefended rook", "7k/8/8/8/8/8/4r3/4K3", {}, Side::White, huge,
         [] { return -W(20); }, [] { return -W(20); }},
        // No capture at all: d exactly, for either side.
        {"start position, White", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", {}, Side::White, huge,
         [] { return 0; }, [] { return 0; }, 37},
        {"start position, Black", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", {}, Side::Black, minus_huge,
         [] { return 0; }, [] { return 0; }, 37},
        // En passant: the empty target is worth a pawn of the other side.
        {"en passant, White", "7k/8/8/3pP3/8/8/8/7K", {0, 0, 0, 64}, Side::White, huge,
         [] { return -W(17); }, [] { return -W(17); }},
        {"en passant, Black", "7k/8/8/8/3Pp3/8/8/7K", {0, 0, 34, 0}, Side::Black, minus_huge,
         [] { return -W(9); }, [] { return -W(9); }},
        {"no en-passant byte, no capture", "7k/8/8/3pP3/8/8/8/7K", {}, Side::White, huge,
         [] { return 0; }, [] { return 0; }},
        // A pawn takes onto the last rank: m31 cuts early with
        // the bare gain, the hash build first adds the new queen.
        {"capture onto the last rank", "r6k/1P6/8/8/8/8/8/7K", {}, Side::White,
         [] { return -W(20) - W(9); }, [] { return -W(20); }, [] { return -W(20) + W(13) - W(9); }},
        // King captures, and an earlier piece that already reached the bound.
        {"king capture", "k2r4/8/2N5/8/8/8/8/R6K", {}, Side::White, [] { return 10000; },
         [] { return 9997; }, [] { return 9997; }},
        {"earlier capture reaches the bound first", "k2r4/8/2N5/8/8/8/8/R6K", {}, Side::White,
         [] { return -W(20) - W(10); }, [] { return -W(20); }, [] { return -W(20); }},
        {"king capture, Black", "r6k/8/8/8/8/2n5/8/K2R4", {}, Side::Black, [] { return -10000; },
         [] { return -9997; }, [] { return -9997; }},
        {"earlier capture reaches the bound first, Black", "r6k/8/8/8/8/2n5/8/K2R4", {}, Side::Black,
         [] { return -W(12); }, [] { return -W(12); }, [] { return -W(12); }},
        // Black's queen looks straight down first: the bishop on d2 (-10) is
        // examined before the knight on b2 (-11), and it reaches the bound.
        {"black queen's direction order", "k7/8/8/8/3q4/8/1N1B4/7K", {}, Side::Black,
         [] { return -W(10); }, [] { return -W(11); }, [] { return -W(11); }},
        // Black promotes by a step onto an undefended and a defended square.
        {"black promoting step", "7k/8/8/8/8/8/6p1/K7", {}, Side::Black, [] { return HUGE_BOUND; },
         [] { return W(21) - W(17); }, [] { return W(21) - W(17); }},
        {"black promoting step, defended", "7k/8/8/8/8/8/4N1p1/K7", {}, Side::Black, huge,
         [] { return -W(17); }, [] { return -W(17); }},
        {"black promoting step, defended, nothing better than d", "7k/8/8/8/8/8/4N1p1/K7", {}, Side::Black,
         minus_huge, [] { return 0; }, [] { return 0; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (Rules rules : {Rules::M31, Rules::M28}) {
            setup_board(c.board, c.wyj, rules == Rules::M31 ? m31::SCALE : m28::SCALE);
            const Position before = POS;
            const int bound = c.bound();
            const int expected = c.d + (rules == Rules::M31 ? c.newest() : c.hashBuild());
            EXPECT_EQ(estimate(c.side, rules, bound, c.d), expected)
                << (rules == Rules::M31 ? "newest" : "hash build");
            EXPECT_TRUE(POS == before) << "the estimate left the board changed";
        }
    }
}

// The "defended" promoting step above must really be defended, and the
// black step undefended: a guard against cases that test nothing.
TEST(CaptureEstimate, CaseBoardsSayWhatTheyClaim) {
    setup_board("7k/8/8/8/8/8/4N1p1/K7");
    EXPECT_EQ(odbicia<Side::White>(POS.PL, 17), 1);
    setup_board("7k/8/8/8/8/8/6p1/K7");
    EXPECT_EQ(odbicia<Side::White>(POS.PL, 17), 0);
}

// The hash build counts every capture it examines; a king's capture only
// when it is not defended.  m31 counts nothing.
TEST(CaptureEstimate, NodeCounterOfTheOlderBuilds) {
    const struct {
        const char* board;
        u32 counted;
    } cases[] = {
        {"7k/8/8/8/6b1/8/4r3/4K3", 0},          // defended: the king does not count it
        {"7k/8/8/8/8/8/4r3/4K3", 1},
        {"k2r4/8/2N5/8/8/8/8/7K", 1},           // knight takes rook
        {"r1r4k/1P6/8/8/8/8/8/7K", 3},          // two captures and the promoting step
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.board);
        setup_board(c.board, {}, m28::SCALE);
        m28::SEARCH.L = 0;
        tylkobicia<Side::White, m28::Build::Estimate>(POS.PL, POS.BP, POS.WYJ, HUGE_BOUND, 0);
        EXPECT_EQ(m28::SEARCH.L, c.counted);
        m31::SEARCH.L = 0;
        tylkobicia<Side::White, m31::Estimate>(POS.PL, POS.BP, POS.WYJ, HUGE_BOUND, 0);
        EXPECT_EQ(m31::SEARCH.L, 0u);
    }
}

}  // namespace
}  // namespace morvelak::test
