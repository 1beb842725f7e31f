// POSORTUJB / POSORTUJC: the static sort of captures and quiet moves.
#include <algorithm>
#include <map>

#include "engine/eval/older/eval.hpp"
#include "engine/eval/phase.hpp"
#include "engine/search/m26/ordering.hpp"
#include "tests/position_m26/support.hpp"

namespace morvelak::test {
namespace {

// The side's moves as m26 lists them (captures, then quiet
// moves), the opponent's map, and the two counts.
struct NodeList {
    Move ru[MAX_MOVES];
    i8 si[MAP_SQUARES];
    int aa = 0, a = 0;
};

template <Side S> void generate(NodeList& n) {
    Move quiet[MAX_MOVES];
    if constexpr (S == Side::White) siatka<Side::Black>(POS.PL, n.si, POS.CP); else siatka<Side::White>(POS.PL, n.si, POS.BP);
    n.aa = 0;
    const int nq = ruchy<S>(POS.PL, own_list<S>(), quiet, n.ru, POS.WYJ, &n.aa, n.si);
    ASSERT_GE(nq, 0);
    for (int k = 0; k < nq; ++k) n.ru[n.aa + k] = quiet[k];
    n.a = n.aa + nq;
}

template <Side S> void sort(NodeList& n, int a1, int a2) {
    m26::posortuj<S>(n.ru, a1, a2, n.si);
}

using Texts = std::vector<std::string>;

struct CaptureCase {
    const char* name;
    const char* rows;
    Side side;
    Texts generated, sorted;
};

// Captures: the victim, a pawn's bonus, the mover lost on a defended square
// and saved from an attacked one, a piece walking into a pawn's reach; each
// case with its colour-mirrored twin, whose order mirrors it.  The quiet
// moves behind them are left as generated when the quiet range is empty.
TEST(Posortuj, OrdersCaptures) {
    const std::vector<CaptureCase> cases = {
        {"knight saves itself by taking, pawn takes a defended pawn, knight and queen "
         "take a pawn that a pawn defends",
         ".......k" "........" "....p..." ".s.p...." "....P..." "..S....." "........" "K..H....",
         Side::White,
         {"e4d5", "c3d5", "c3b5", "d1d5"},
         {"c3b5", "e4d5", "c3d5", "d1d5"}},
        {"the same for Black",
         "k..h...." "........" "..s....." "....p..." ".S.P...." "....P..." "........" ".......K",
         Side::Black,
         {"e5d4", "c6b4", "c6d4", "d8d4"},
         {"c6b4", "e5d4", "c6d4", "d8d4"}},
        {"two equal rook captures keep their order",
         "....k..." "........" "....p..." "s..p...s" "..P....." "........" "........" "W...K..W",
         Side::White,
         {"c4d5", "a1a5", "h1h5"},
         {"a1a5", "h1h5", "c4d5"}},
        {"the same for Black, whose list meets the h-rook first",
         "w...k..w" "........" "........" "..p....." "S..P...S" "....P..." "........" "....K...",
         Side::Black,
         {"c5d4", "h8h4", "a8a4"},
         {"h8h4", "a8a4", "c5d4"}},
    };
    for (const CaptureCase& c : cases) {
        set_up(c.rows);
        NodeList n;
        const bool white = c.side == Side::White;
        if (white) generate<Side::White>(n); else generate<Side::Black>(n);
        auto names = [&](int from, int count) {
            return white ? texts<Side::White>(n.ru + from, count) : texts<Side::Black>(n.ru + from, count);
        };
        ASSERT_EQ(names(0, n.aa), c.generated) << c.name;
        const Texts quiet = names(n.aa, n.a - n.aa);
        const Snapshot before = Snapshot::take();
        if (white) sort<Side::White>(n, n.aa, 0); else sort<Side::Black>(n, n.aa, 0);
        EXPECT_EQ(names(0, n.aa), c.sorted) << c.name;
        EXPECT_EQ(names(n.aa, n.a - n.aa), quiet) << c.name;
        EXPECT_EQ(Snapshot::take(), before) << c.name;
    }
}

// Quiet moves: value by hand from the map (a knight leaving a pawn's reach
// gains 300 and its worth, a bishop stepping into one loses them, the knight
// that goes from one pawn's reach into another's is even), counted for the
// mover and turned to White's side; a move that does not lose is then played
// and the older evaluation of the result added.  The sort must be the stable
// sort by that value, best for the mover first, and leave the position as it
// found it.
TEST(Posortuj, OrdersQuietMovesByMapAndEvaluation) {
    struct QuietCase {
        const char* rows;
        Side side;
        Texts escapes;    // a knight out of a pawn's reach onto a free square
        const char* even; // the knight from one pawn's reach into another's
        const char* hang; // the bishop into a pawn's reach
        std::size_t quietCount;
    };
    const std::vector<QuietCase> cases = {
        {".......k" "......p." "..p....." "....p..." "...S...." "........" "........" "K....G..",
         Side::White, {"d4e6", "d4f5", "d4b3", "d4c2", "d4e2", "d4f3"}, "d4b5", "f1b5", 17},
        {"k....g.." "........" "........" "...s...." "....P..." "..P....." "......P." ".......K",
         Side::Black, {"d5e3", "d5f4", "d5b6", "d5c7", "d5e7", "d5f6"}, "d5b4", "f8b4", 17},
    };
    older::EVAL.STANB = 1;
    older::EVAL.STANC = 1;
    for (const QuietCase& c : cases) {
        set_up(c.rows);
        const bool white = c.side == Side::White;
        const int sign = white ? 1 : -1;
        NodeList n;
        if (white) generate<Side::White>(n); else generate<Side::Black>(n);
        ASSERT_EQ(static_cast<std::size_t>(n.a - n.aa), c.quietCount);
        const int knight = std::abs(POS.WART[W_KNIGHT + (white ? 0 : 8)]);
        const int bishop = std::abs(POS.WART[W_BISHOP + (white ? 0 : 8)]);

        std::vector<std::pair<int, Move>> keyed;
        for (int k = n.aa; k < n.a; ++k) {
            const Move m = n.ru[k];
            const std::string t = white ? text<Side::White>(m) : text<Side::Black>(m);
            int forMover = 0;
            if (std::find(c.escapes.begin(), c.escapes.end(), t) != c.escapes.end()) forMover = 300 + knight;
            if (t == c.hang) forMover = -300 - bishop;
            int key = sign * forMover;
            if (forMover >= 0) {
                i8 zap[8] = {};
                if (white) zrobruch<Side::White>(zap, m.nr, m.x2); else zrobruch<Side::Black>(zap, m.nr, m.x2);
                key += m26::OCPOZ(POS.PL, POS.BP, POS.CP);
                if (white) skasujruch<Side::White>(zap, m.nr, m.x2); else skasujruch<Side::Black>(zap, m.nr, m.x2);
            }
            keyed.push_back({key, m});
        }
        std::stable_sort(keyed.begin(), keyed.end(), [&](const auto& x, const auto& y) {
            return white ? x.first > y.first : x.first < y.first;
        });
        Move expected[MAX_MOVES];
        for (std::size_t k = 0; k < keyed.size(); ++k) expected[k] = keyed[k].second;
        const Texts want = white ? texts<Side::White>(expected, static_cast<int>(keyed.size()))
                                 : texts<Side::Black>(expected, static_cast<int>(keyed.size()));

        const Snapshot before = Snapshot::take();
        if (white) sort<Side::White>(n, n.aa, n.a); else sort<Side::Black>(n, n.aa, n.a);
        const Texts got = white ? texts<Side::White>(n.ru + n.aa, n.a - n.aa)
                                : texts<Side::Black>(n.ru + n.aa, n.a - n.aa);
        EXPECT_EQ(got, want);
        EXPECT_EQ(Snapshot::take(), before);
        // Whatever the evaluation says, the escapes lead and the hanging
        // bishop comes last.
        for (std::size_t k = 0; k < c.escapes.size(); ++k)
            EXPECT_NE(std::find(c.escapes.begin(), c.escapes.end(), got[k]), c.escapes.end()) << got[k];
        EXPECT_EQ(got.back(), c.hang);
    }
    older::EVAL.STANB = 0;
    older::EVAL.STANC = 0;
}

}  // namespace
}  // namespace morvelak::test
