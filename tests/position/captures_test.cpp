// The capture estimate at the horizon: which captures count as defended, the
// lift of the capturer, the first estimate that reaches the bound, the king
// capture and the differences between the newest and m28.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>

#include "engine/position/captures.hpp"
#include "engine/position/legal.hpp"
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


// The estimate worked out the long way, capture by capture of bicia's list
// (the same captures in the same order), each a plain static exchange of one
// move; for side S under rules R, with the captures it counts in *counted.
template <Side S, class R>
int estimate_by_list(int bound, int d, u32* counted) {
    using O = Own<S>;
    constexpr int sg = O::sign;
    Move caps[MAX_MOVES];
    const int n = bicia<S>(POS.PL, own_list<S>(), caps, POS.WYJ);
    EXPECT_GE(n, 0) << "positions with a king capture are not compared";
    auto reaches = [](int v, int b) { return sg > 0 ? v >= b : v <= b; };
    int best = d;
    for (int k = 0; k < n; ++k) {
        const int s = own_list<S>()[2 * caps[k].nr + 1], t = caps[k].x2;
        const i8 code = own_list<S>()[2 * caps[k].nr];
        const bool lastRank = S == Side::White ? t > 80 : t < 19;
        bool defended;
        if (R::lift && code != O::knight) {
            POS.PL[s] = 0;
            defended = odbicia<Opp<S>>(POS.PL, t) != 0;
            POS.PL[s] = code;
        } else {
            defended = odbicia<Opp<S>>(POS.PL, t) != 0;
        }
        const int victim = POS.PL[t] != 0 ? POS.WART[POS.PL[t]]
                           : t == s + O::up ? 0 : POS.WART[O::enemyPawn];  // a push, or en passant
        int v = d - victim;
        if (code == O::king) {
            if (defended) continue;  // never counted
        } else if (code == O::pawn && t == s + O::up) {
            v = defended ? d - POS.WART[O::pawn] : d + POS.WART[O::queen] - POS.WART[O::pawn];
        } else if (code == O::pawn) {
            if ((R::promoEarlyCut || !lastRank) && reaches(v - POS.WART[O::pawn], bound)) {
                ++*counted;
                return v;
            }
            if (defended) v -= POS.WART[O::pawn];
            else if (lastRank) v += POS.WART[O::queen] - POS.WART[O::pawn];
        } else {
            if (reaches(v - POS.WART[code], bound)) {
                ++*counted;
                return v;
            }
            if (defended) v -= POS.WART[code];
        }
        ++*counted;
        if (reaches(v, bound)) return v;
        if (sg > 0 ? v > best : v < best) best = v;
    }
    return best;
}

template <Side S, class R>
void compare_estimates(std::mt19937& rng, const std::string& where) {
    Move caps[MAX_MOVES];
    if (bicia<S>(POS.PL, own_list<S>(), caps, POS.WYJ) < 0) return;
    for (int round = 0; round < 4; ++round) {
        const int d = static_cast<int>(rng() % 401) - 200;
        const int bound = d + static_cast<int>(rng() % 1201) - 600;
        u32 counted = 0;
        const int plain = estimate_by_list<S, R>(bound, d, &counted);
        R::state().L = 0;
        EXPECT_EQ((tylkobicia<S, R>(POS.PL, own_list<S>(), POS.WYJ, bound, d)), plain)
            << where << " d " << d << " bound " << bound;
        if (R::countNodes) {
            EXPECT_EQ(R::state().L, counted) << where;
        }
    }
}

// The rules of each build as the estimate and the list comparison need them.
struct Newest : m31::Estimate {
    static m31::SearchState& state() { return m31::SEARCH; }
};
struct Hashing : m28::Build::Estimate {
    static m28::SearchState& state() { return m28::SEARCH; }
};

// Random games: in every position, both sides' estimates against the long
// way, under the newest build's rules and m28's, for several bounds.
TEST(CaptureEstimate, AgreesWithTheListOfCapturesOverRandomGames) {
    const char* starts[] = {
        "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
        "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
        "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10",
    };
    std::mt19937 rng(7122026);
    for (int game = 0; game < 60 && !::testing::Test::HasFailure(); ++game) {
        Side s = setup_fen(starts[game % 3]);
        for (int ply = 0; ply < 120; ++ply) {
            const std::string where = std::string(starts[game % 3]) + " game " + std::to_string(game) +
                                      " ply " + std::to_string(ply);
            compare_estimates<Side::White, Newest>(rng, where);
            compare_estimates<Side::Black, Newest>(rng, where);
            compare_estimates<Side::White, Hashing>(rng, where);
            compare_estimates<Side::Black, Hashing>(rng, where);
            Move legal[MAX_MOVES];
            const int a = s == Side::White ? generate_legal<Side::White>(legal) : generate_legal<Side::Black>(legal);
            if (a == 0) break;
            const Move m = legal[rng() % a];
            i8 zap[8];
            if (s == Side::White) zrobruch<Side::White>(zap, m.nr, m.x2);
            else zrobruch<Side::Black>(zap, m.nr, m.x2);
            s = s == Side::White ? Side::Black : Side::White;
        }
    }
}

}  // namespace
}  // namespace morvelak::test
