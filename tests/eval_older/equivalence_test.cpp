// The older builds' OCPOZ against the plain rule-by-rule version in
// reference.hpp, over every position of many random games, for both builds
// and every pair of phases, with random mobility counts.  Now and then a
// pawn is dropped where no game puts one (on the first or last rank, or
// anywhere with the lists not knowing it), or a list names one pawn twice,
// before the position is scored.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <random>

#include "tests/eval_m31/games.hpp"
#include "tests/eval_older/board.hpp"
#include "tests/eval_older/reference.hpp"

namespace morvelak::test {
namespace {

TEST(Equivalence, FastRoutineMatchesThePlainRules) {
    std::mt19937 rng(1926);
    long positions = 0;
    for (int game = 0; game < 200; ++game) {
        set_up(START);
        random_game(rng, 300, [&] {
            ++positions;
            int stray = 0;
            if (rng() % 16 == 0) {
                const int s = rng() % 2 ? (rng() % 2 ? 11 : 81) + static_cast<int>(rng() % 8)
                                        : 21 + static_cast<int>(rng() % 58);
                if (POS.PL[s] == EMPTY) {
                    stray = s;
                    POS.PL[s] = rng() % 2 ? W_PAWN : B_PAWN;
                }
            }
            // Now and then a list naming one pawn twice: in place of another
            // pawn, or in a captured piece's entry as well.
            i8 saved[2 * LIST_ENTRIES];
            i8* list = rng() % 2 ? POS.BP : POS.CP;
            const int count = list == POS.BP ? POS.ILB : POS.ILC;
            std::memcpy(saved, list, sizeof saved);
            if (rng() % 16 == 0) {
                const i8 pawn = list == POS.BP ? W_PAWN : B_PAWN;
                const bool intoHole = rng() % 2 == 0;
                int first = -1;
                for (int i = 0; i < count; ++i) {
                    if (first < 0 && list[2 * i] == pawn) {
                        first = i;
                    } else if (first >= 0 && list[2 * i] == (intoHole ? EMPTY : pawn)) {
                        list[2 * i] = pawn;
                        list[2 * i + 1] = list[2 * first + 1];
                        break;
                    }
                }
            }
            for (int phases = 0; phases < 9; ++phases) {
                EVAL.STANB = static_cast<i8>(phases / 3);
                EVAL.STANC = static_cast<i8>(phases % 3);
                EVAL.ILOSCPOLB = std::uniform_int_distribution<int>(0, 60)(rng);
                EVAL.ILOSCPOLC = std::uniform_int_distribution<int>(0, 60)(rng);
                ASSERT_EQ(m28::OCPOZ(POS.PL, POS.BP, POS.CP), ref::ocpoz(m28::TABLES, POS.PL, POS.BP, POS.CP))
                    << "game " << game << " phases " << phases;
                ASSERT_EQ(m26::OCPOZ(POS.PL, POS.BP, POS.CP), ref::ocpoz(m26::TABLES, POS.PL, POS.BP, POS.CP))
                    << "game " << game << " phases " << phases;
            }
            std::memcpy(list, saved, sizeof saved);
            if (stray != 0) POS.PL[stray] = EMPTY;
        });
        if (HasFatalFailure()) return;
    }
    EXPECT_GT(positions, 20000);
}

// Each board in every pair of phases, for both builds, scored as the plain
// rules score it.
template <std::size_t N> void expect_plain_rules(const char* const (&boards)[N]) {
    for (const char* rows : boards) {
        for (int phases = 0; phases < 9; ++phases) {
            for (const Build b : {Build::M28, Build::M26}) {
                const int got = score(rows, b, {phases / 3, phases % 3, 5, 7});
                const int want = ref::ocpoz(b == Build::M28 ? m28::TABLES : m26::TABLES, POS.PL, POS.BP, POS.CP);
                EXPECT_EQ(got, want) << rows << " phases " << phases;
            }
        }
    }
}

// Pawn structure where a mask could wrap or miss a square.  Backward pawns
// whose support and press reach the edge of the board or the ends of a
// file: support beside on the same rank, behind down to rank 2 (or 7 for
// Black), none on the a- or h-file's one neighbour, a press by a pawn two
// ranks ahead or by a piece right in front.  Then a tripled file (its pawns
// pay for 2 + 1 + 0 behind them), a doubled pair with a gap, protection from
// the a- and h-files and into them, pawns on their second rank (the
// protecting squares lie on the first), isolated pawns on the edge files,
// and passed pawns beside an enemy front that stands level, behind or
// ahead.  Every pair of phases, both builds, against the plain rules.
TEST(Equivalence, PawnStructureAtTheEdges) {
    const char* const boards[] = {
        // a2 alone, pressed by b4; h2 supported by g2 beside it.
        "....k..." "........" "........" "........" ".p......" "........" "P.....PP" "....K...",
        // a3 pressed by b5 but supported by b2 behind it on the next file.
        // h3 with g4 beside-ahead only: not supported, and pressed by g5.
        "....k..." "........" "........" ".p....p." "......P." "P......P" ".P......" "....K...",
        // Black: a7 alone pressed by b5; h6 pressed by g4 but supported by
        // g7 behind it.
        "....k..." "p.....p." ".......p" ".P......" "......P." "........" "........" "....K...",
        // Pieces in front: a white knight on d6 in front of d7, a black
        // bishop on e3 in front of e2; neither pawn has support.
        "....k..." "...p...." "...S...." "........" "........" "....g..." "....P..." "....K...",
        // The same pawns, supported from the furthest square back.
        "....k..." "...p...." "...S.p.." "........" "........" "...Pg..." "....P..." "....K...",
        // White tripled on c (c2, c3, c5), doubled with a gap on h (h2, h5);
        // Black tripled on f (f7, f6, f4).
        "....k..." ".....p.." ".....p.." "..P....P" ".....p.." "..P....." "..P....P" "....K...",
        // a3 protected by b2, h3 by g2; b4 protected from a3; Black's a6
        // by b7, h6 by g7, g5 from h6.
        "....k..." ".p....p." "p......p" "......p." ".P......" "P......P" ".P....P." "....K...",
        // Every pawn on its second rank: nothing protects them from the
        // first; a- and h-pawns isolated.
        "....k..." "p..pp..p" "........" "........" "........" "........" "P..PP..P" "....K...",
        // Passed or not: White's d5 beside Black's c5 (level) and e6
        // (ahead); Black's b4 beside a3 (behind it for Black) alone.
        "....k..." "........" "....p..." "..pP...." ".p......" "P......." "........" "....K...",
        // The same with Black's front on e moved behind d5.
        "....k..." "........" "........" "..pP...." ".p..p..." "P......." "........" "....K...",
    };
    expect_plain_rules(boards);
}

// Rooks looking along their rank: past empty squares and queens of their
// own to a partner rook, stopped by any other piece, and on the h-file
// straight into the border.  Every pair of phases, both builds, against the
// plain rules.
TEST(Equivalence, RooksLookingAlongTheRank) {
    const char* const boards[] = {
        // a1 past two queens to h1; h1 looks into the border.
        "....k..." "........" "........" "........" "........" "........" "....K..." "W.H.H..W",
        // The same look stopped by an enemy bishop, then by a knight of ours.
        "....k..." "........" "........" "........" "........" "........" "....K..." "W.Hg...W",
        "....k..." "........" "........" "........" "........" "........" "....K..." "W.H.S..W",
        // Black's pair on rank 8 with its queen and king between; on rank 4
        // a black queen stops d4's look before White's queen on g4.
        "w..h..kw" "........" "........" "........" "...W.hHW" "........" "........" "....K...",
        // Neighbours: g1 and h1 side by side, a8 and b8 for Black, a rook
        // alone in the middle of an empty rank.
        "wwk....." "........" "........" "........" "...W...." "........" "........" "....K.WW",
    };
    expect_plain_rules(boards);
}

}  // namespace
}  // namespace morvelak::test
