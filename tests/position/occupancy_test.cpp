// The occupancy masks: read off the board, the first piece along a ray
// against the walk over the board bytes, the masks after every kind of move,
// and captures at the corners, where a ray's answer is bit 0 or bit 63.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "engine/position/captures.hpp"
#include "engine/position/makemove.hpp"
#include "engine/position/occupancy.hpp"
#include "support.hpp"

namespace morvelak::test {
namespace {

// The occupancy a FEN board field describes, counted from the text: bit
// 8 * (rank - 1) + (file - 1) for every piece letter.
Occupancy from_text(const char* board) {
    Occupancy o{0, 0};
    int rank = 8, file = 1;
    for (const char* p = board; *p; ++p) {
        if (*p == '/') { --rank; file = 1; continue; }
        if (*p >= '1' && *p <= '8') { file += *p - '0'; continue; }
        const u64 bit = u64{1} << (8 * (rank - 1) + (file - 1));
        (*p >= 'a' ? o.black : o.white) |= bit;
        ++file;
    }
    return o;
}

TEST(Occupancy, ReadOffTheBoard) {
    const char* boards[] = {
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR",
        "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R",
        "7k/8/8/8/8/8/8/K7",            // a1 and h8: the lowest and the highest bit
        "k6K/8/8/8/8/8/8/7r",           // the other two corners and h1
        "QqQqQqQq/qQqQqQqQ/QqQqQqQq/qQqQqQqQ/QqQqQqQq/qQqQqQqQ/QqQqQqQq/qQqQqQqQ",  // a full board
        "8/8/8/8/8/8/8/8",              // an empty one
        "R6r/R6r/R6r/R6r/R6r/R6r/R6r/R6r",  // the a- and h-files, beside the border bytes
    };
    for (const char* b : boards) {
        SCOPED_TRACE(b);
        setup_board(b);
        EXPECT_EQ(occupancy_of(POS.PL), from_text(b));
    }
}

// On random boards of every density, for every square and step: the square
// first_on_ray names holds what the walk over the bytes stops at, and is the
// walk's square unless the walk ends on the border; first_on_ray_if names it
// only when it holds a piece of the side asked for.
TEST(Occupancy, FirstPieceOnEveryRayAsTheWalkFindsIt) {
    std::mt19937 rng(20261207);
    const i8 codes[] = {W_PAWN, W_KNIGHT, W_BISHOP, W_ROOK, W_QUEEN, W_KING,
                        B_PAWN, B_KNIGHT, B_BISHOP, B_ROOK, B_QUEEN, B_KING};
    const int steps[] = {1, 9, 10, 11, -1, -9, -10, -11};
    int borders = 0, pieces = 0;
    for (int round = 0; round < 200; ++round) {
        const unsigned density = round % 11;  // tenths of the squares occupied, 0 to 10
        for (i8& b : POS.PL) b = BORDER;
        for (int s = 11; s <= 88; ++s)
            if (on_board(s)) POS.PL[s] = rng() % 10 < density ? codes[rng() % 12] : EMPTY;
        const Occupancy o = occupancy_of(POS.PL);
        const u64 occ = o.white | o.black;
        for (int s = 11; s <= 88; ++s) {
            if (!on_board(s)) continue;
            for (int dd : steps) {
                int t = s + dd;
                while (POS.PL[t] == 0) t += dd;
                const int got = first_on_ray(occ, s, dd);
                ASSERT_EQ(POS.PL[got], POS.PL[t]) << "round " << round << " square " << s << " step " << dd;
                // Only when that first piece is one of the targets (either
                // side's pieces in turn) does first_on_ray_if name it.
                for (const u64 targets : {o.white, o.black}) {
                    const bool target = POS.PL[t] != BORDER && (targets & OCCUPANCY.BIT[t]) != 0;
                    ASSERT_EQ(first_on_ray_if(occ, targets, s, dd), target ? t : 0)
                        << "round " << round << " square " << s << " step " << dd;
                }
                if (POS.PL[t] == BORDER) ++borders;
                else { ASSERT_EQ(got, t) << "round " << round << " square " << s << " step " << dd; ++pieces; }
            }
        }
    }
    EXPECT_GT(borders, 10000);
    EXPECT_GT(pieces, 10000);
}

// The defence test of the capture estimate from the masks against odbicia on
// the bytes, on random boards of every density: every square, either side as
// the attacker, with nothing lifted and with each piece of the other side
// lifted in turn (its bit out of the occupancy, its byte emptied), as the
// estimate lifts the capturer.
template <Side A> void defence_as_the_walk(std::mt19937& rng, int& yes, int& no) {
    const i8 codes[] = {W_PAWN, W_KNIGHT, W_BISHOP, W_ROOK, W_QUEEN, W_KING,
                        B_PAWN, B_KNIGHT, B_BISHOP, B_ROOK, B_QUEEN, B_KING};
    for (int round = 0; round < 60; ++round) {
        const unsigned density = round % 11;
        for (i8& b : POS.PL) b = BORDER;
        for (int s = 11; s <= 88; ++s)
            if (on_board(s)) POS.PL[s] = rng() % 10 < density ? codes[rng() % 12] : EMPTY;
        const Occupancy o = occupancy_of(POS.PL);
        const u64 own = own_occupancy<A>(o);
        for (int lifted = 0; lifted <= 88; ++lifted) {
            // 0 lifts nothing; otherwise only a piece of the other side.
            if (lifted != 0 && (!on_board(lifted) || !(POS.PL[lifted] & Own<Opp<A>>::bit))) continue;
            const i8 kept = POS.PL[lifted];
            if (lifted != 0) POS.PL[lifted] = EMPTY;
            const u64 occ = (o.white | o.black) & ~OCCUPANCY.BIT[lifted];
            for (int a = 11; a <= 88; ++a) {
                if (!on_board(a) || a == lifted) continue;
                const int want = odbicia<A>(POS.PL, a);
                ASSERT_EQ(detail::attacked_on<A>(POS.PL, a, occ, own), want)
                    << "round " << round << " square " << a << " lifted " << lifted;
                ++(want ? yes : no);
            }
            POS.PL[lifted] = kept;
        }
    }
}

TEST(Occupancy, DefenceTestAsOnTheBoard) {
    std::mt19937 rng(7122026);
    int yes = 0, no = 0;
    defence_as_the_walk<Side::White>(rng, yes, no);
    defence_as_the_walk<Side::Black>(rng, yes, no);
    EXPECT_GT(yes, 10000);
    EXPECT_GT(no, 10000);
}

struct Tally {
    int moves = 0, captures = 0, enPassant = 0, promotions = 0, castles = 0;
};

// Every pseudo-legal move of side S, walked depth plies: the masks after the
// move, from the masks before it and the undo record, are the board's.
template <Side S> void follow(int depth, Tally& tally) {
    using O = Own<S>;
    const Generated g = generate<S>();
    if (g.result < 0) return;
    Moves all = g.captures;
    all.insert(all.end(), g.quiet.begin(), g.quiet.end());
    const Occupancy before = occupancy_of(POS.PL);
    for (auto [nr, x2] : all) {
        const Move m{static_cast<i8>(nr), static_cast<i8>(x2)};
        const bool ep = x2 >= 0 && own_list<S>()[2 * nr] == O::pawn && x2 == POS.WYJ[O::epSlot] && POS.PL[x2] == 0;
        i8 zap[8] = {};
        zrobruch<S>(zap, nr, x2);
        ++tally.moves;
        tally.castles += x2 < 0;
        tally.enPassant += ep;
        tally.captures += x2 >= 0 && zap[2] != 0;
        tally.promotions += x2 >= 0 && zap[0] == O::pawn && x2 / 10 == O::lastRank;
        ASSERT_EQ(occupancy_after<S>(before, m, zap, POS.PL), occupancy_of(POS.PL))
            << "move (" << nr << ", " << x2 << ")";
        if (depth > 1) follow<Opp<S>>(depth - 1, tally);
        skasujruch<S>(zap, nr, x2);
        if (::testing::Test::HasFatalFailure()) return;
    }
}

TEST(Occupancy, FollowsEveryKindOfMove) {
    const char* fens[] = {
        "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
        "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
        "n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - - 0 1",
        "4k3/8/8/2PpP3/8/8/8/4K3 w - d6 0 1",
        "4k3/8/8/8/3Pp3/8/8/4K3 b - d3 0 1",
        "r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1",
    };
    Tally tally;
    for (const char* fen : fens) {
        SCOPED_TRACE(fen);
        if (setup_fen(fen) == Side::White) follow<Side::White>(3, tally);
        else follow<Side::Black>(3, tally);
        if (HasFatalFailure()) return;
    }
    EXPECT_GT(tally.moves, 10000);
    EXPECT_GT(tally.captures, 1000);
    EXPECT_GT(tally.enPassant, 2);
    EXPECT_GT(tally.promotions, 50);
    EXPECT_GT(tally.castles, 20);
}

// Captures whose ray ends in a corner (bit 0 or bit 63), or that a blocker
// of either colour hides, as the capture list gives them with the masks.
TEST(Occupancy, CapturesAtTheCornersAndBehindBlockers) {
    const struct {
        const char* board;
        Side side;
        Moves captures;
    } cases[] = {
        // Rook h1 up the file to h8 (the highest bit), queen a1 along the
        // long diagonal to h8.
        {"4k2q/8/8/8/8/8/8/4K2R", Side::White, {{1, 88}}},
        {"4k2r/8/8/8/8/8/8/Q3K3", Side::White, {{0, 88}}},
        // Bishop h8 down the long diagonal to a1 (the lowest bit), rook a8
        // down the a-file to a1.
        {"4k2b/8/8/8/8/8/8/R3K3", Side::Black, {{0, 11}}},
        {"r3k3/8/8/8/8/8/8/N3K3", Side::Black, {{1, 11}}},
        // A piece of either colour in between hides the corner.
        {"4k2q/7P/8/8/8/8/8/4K2R", Side::White, {}},
        {"4k2q/8/8/8/8/8/7p/4K2R", Side::White, {{1, 28}}},
        // Enemy pieces near a knight and a king, but not a jump or a step
        // away: nothing to take.
        {"4k3/8/8/8/3r4/8/8/1N2K3", Side::White, {}},
        {"4k3/8/8/8/8/4r3/8/4K3", Side::White, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.board);
        setup_board(c.board);
        Move ru[MAX_MOVES];
        const Occupancy o = occupancy_of(POS.PL);
        const int n = c.side == Side::White ? bicia<Side::White>(POS.PL, POS.BP, ru, POS.WYJ, o)
                                            : bicia<Side::Black>(POS.PL, POS.CP, ru, POS.WYJ, o);
        ASSERT_GE(n, 0);
        EXPECT_EQ(to_pairs(ru, n), c.captures);
    }
}

}  // namespace
}  // namespace morvelak::test
