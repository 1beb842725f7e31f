// The pieces' fixed terms kept from one call to the next (PieceMemo): the
// score of a position must not depend on what was scored before it.  Each
// test scores a position, changes the board or the lists the way a move, a
// capture, a rebuilt list or a hand-made list does, and compares the score
// of what results with the plain rule-by-rule version in reference.hpp.
#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <utility>
#include <string>
#include <vector>

#include "tests/eval_m31/games.hpp"
#include "tests/eval_older/board.hpp"
#include "tests/eval_older/reference.hpp"

namespace morvelak::test {
namespace {

// The plain rules' score with the phases and counts the last score() set.
int ref_score(Build b) {
    return ref::ocpoz(b == Build::M28 ? m28::TABLES : m26::TABLES, POS.PL, POS.BP, POS.CP);
}

// The engine's score and the plain rules' for the same phases, in that
// order (score() sets the phases the reference reads).
std::pair<int, int> both(Build b, Phases p) {
    const int got = score(b, p);
    return {got, ref_score(b)};
}

// The list entry of the piece on s (White's or Black's list by its colour).
i8* entry_on(int s) {
    i8* list = (POS.PL[s] & BLACK_BIT) != 0 ? POS.CP : POS.BP;
    for (int i = 0; i < LIST_ENTRIES; ++i)
        if (list[2 * i] == POS.PL[s] && list[2 * i + 1] == s) return list + 2 * i;
    return nullptr;
}

// One change to the position, on the board and in the lists: a piece moved
// (taking what stands on `to`), or a piece of another kind put in place of
// one.
struct Edit {
    enum Kind { Move, Replace } kind;
    int from, to;  // Move: the squares; Replace: the square and the new code
};

void apply(const Edit& e) {
    switch (e.kind) {
    case Edit::Move: {
        i8* mover = entry_on(e.from);
        ASSERT_NE(mover, nullptr);
        if (POS.PL[e.to] != EMPTY) {
            i8* taken = entry_on(e.to);
            ASSERT_NE(taken, nullptr);
            taken[0] = taken[1] = 0;  // a hole, as a capture leaves it
        }
        POS.PL[e.to] = POS.PL[e.from];
        POS.PL[e.from] = EMPTY;
        mover[1] = static_cast<i8>(e.to);
        break;
    }
    case Edit::Replace: {
        i8* entry = entry_on(e.from);
        ASSERT_NE(entry, nullptr);
        entry[0] = POS.PL[e.from] = static_cast<i8>(e.to);
        break;
    }
    }
}

struct Sequence {
    const char* what;
    std::string rows;
    std::vector<Edit> edits;  // scored after each
};

// Rooks, bishops, knights and pawns close together, so that a moving piece
// touches the terms of others.  The c4 pawn has no pawn beside or behind it
// on the b- and d-files: an enemy piece on c5 makes it backward.
const char* const CROWDED =
    "w...k..w"
    "pp.g.ppp"
    "..s.p..."
    "...p...."
    "..P.G..."
    ".S...S.."
    "P....PPP"
    "W...K..W";

const std::vector<Sequence>& sequences() {
    static const std::vector<Sequence> all = {
        // The f3 knight goes to g1, beside the h1 rook: the rook's
        // neighbours are both occupied and its look left along the rank
        // stops at the knight instead of the e1 king.  Back again after.
        {"knight beside a rook and back", CROWDED, {{Edit::Move, 36, 17}, {Edit::Move, 17, 36}}},
        // The e4 bishop to g1, behind the f2 and h2 pawns: both squares
        // diagonally ahead occupied.
        {"bishop behind its pawns", CROWDED, {{Edit::Move, 45, 17}, {Edit::Move, 17, 45}}},
        // A black knight set on c5, right in front of the c4 pawn, then
        // away to a5 (the pawn's neighbours do not care), then back.
        {"piece in front of an unsupported pawn", CROWDED,
         {{Edit::Move, 63, 53}, {Edit::Move, 53, 51}, {Edit::Move, 51, 53}}},
        // Bxd5 (a pawn taken: another pawn section), Nxd5 (a piece taken,
        // the pawns as they were), Nd4, Nxe6.
        {"captures of pieces and pawns", CROWDED,
         {{Edit::Move, 45, 54}, {Edit::Move, 63, 54}, {Edit::Move, 36, 44}, {Edit::Move, 44, 65}}},
        // Rooks along their ranks: h1 to f1, a1 to d1 (next to the king),
        // the a8 rook to f8 where it sees the h8 rook, and back.
        {"rooks along their ranks", CROWDED,
         {{Edit::Move, 18, 16}, {Edit::Move, 11, 14}, {Edit::Move, 81, 86}, {Edit::Move, 86, 81}}},
        // A rook up the d-file to d4 under the d5 pawn, a queen put behind
        // it on d1 (a rook sees a queen of its own up the file).
        {"rook and queen on a file", CROWDED,
         {{Edit::Move, 11, 44}, {Edit::Replace, 32, W_QUEEN}, {Edit::Move, 32, 14}, {Edit::Move, 44, 11}}},
        // The kings walk among their pawns and back: e1-f1-e2-e1 and
        // e8-e7-e8.  Outside the middle game the pawn section and the kept
        // terms stay in place over king moves; the king's own entry is
        // scored anew, and in the endgame the pawns' and knights' closeness
        // to the kings on every call.
        {"kings walk among their pawns", CROWDED,
         {{Edit::Move, 15, 16}, {Edit::Move, 85, 75}, {Edit::Move, 16, 25}, {Edit::Move, 75, 85}, {Edit::Move, 25, 15}}},
        // The same square, another kind: the knight's terms go and the
        // bishop's come, then a queen's, then the knight's again, with the
        // pawns and kings unmoved.
        {"knight becomes a bishop in place", CROWDED,
         {{Edit::Replace, 36, W_BISHOP}, {Edit::Replace, 36, W_QUEEN}, {Edit::Replace, 36, W_KNIGHT}}},
    };
    return all;
}

TEST(KeptTerms, SequencesMatchThePlainRules) {
    for (const Sequence& q : sequences()) {
        for (const Build b : {Build::M28, Build::M26}) {
            for (const Phases p : {Phases{0, 0, 3, 5}, Phases{1, 1, 7, 2}, Phases{2, 2, 4, 9}, Phases{0, 2, 1, 1}}) {
                EVAL = older::EvalState{};
                set_up(q.rows);
                const auto [first, firstRef] = both(b, p);
                ASSERT_EQ(first, firstRef) << q.what << " before";
                for (std::size_t k = 0; k < q.edits.size(); ++k) {
                    apply(q.edits[k]);
                    const auto [got, want] = both(b, p);
                    ASSERT_EQ(got, want) << q.what << " after edit " << k << " phases " << p.white << p.black;
                }
            }
        }
    }
}

// The endgame's closeness of pawns to their king is kept by pawns and king
// square.  Every slot is filled with a wrong sum for the position's own
// pawns and a king on another square: a look that forgot the king would
// take it.
TEST(KeptTerms, EndgameClosenessNeedsTheSameKing) {
    for (const Build b : {Build::M28, Build::M26}) {
        EVAL = older::EvalState{};
        set_up(CROWDED);
        const PawnMasks pm = pawn_masks(POS.PL);
        for (PawnKingSum& e : EVAL.CLOSENESS.slot) e = {pm.white, 999, 16};
        for (std::size_t i = 0; i < std::size(EVAL.CLOSENESS.slot); i += 2) EVAL.CLOSENESS.slot[i] = {pm.black, -999, 86};
        const auto [got, want] = both(b, Phases{2, 2, 4, 9});
        EXPECT_EQ(got, want);
    }
}

// Changes to White's list alone, the board left as it is: a list that
// names a pawn twice or a piece that is not on the board, entries swapped,
// fewer entries in use.  Each is scored right after the true lists, so the
// kept terms are there to be misused, and the true lists after it.
TEST(KeptTerms, ListChangesWithoutTheBoard) {
    const auto pawnEntry = [] {
        for (int i = 0; i < POS.ILB; ++i)
            if (POS.BP[2 * i] == W_PAWN) return i;
        return -1;
    };
    const auto kindEntry = [](i8 code) {
        for (int i = 0; i < POS.ILB; ++i)
            if (POS.BP[2 * i] == code) return i;
        return -1;
    };
    struct Change {
        const char* what;
        void (*run)(int pawn, int knight);
    };
    const Change changes[] = {
        {"a knight entry names a pawn twice",
         [](int pawn, int knight) { POS.BP[2 * knight] = W_PAWN; POS.BP[2 * knight + 1] = POS.BP[2 * pawn + 1]; }},
        {"a pawn entry names a knight's square",
         [](int pawn, int knight) { POS.BP[2 * pawn] = W_KNIGHT; POS.BP[2 * pawn + 1] = POS.BP[2 * knight + 1]; }},
        {"a knight entry turned into a hole", [](int, int knight) { POS.BP[2 * knight] = EMPTY; }},
        {"a pawn and a knight entry swapped",
         [](int pawn, int knight) {
             std::swap(POS.BP[2 * pawn], POS.BP[2 * knight]);
             std::swap(POS.BP[2 * pawn + 1], POS.BP[2 * knight + 1]);
         }},
        {"a knight entry moved to an empty square", [](int, int knight) { POS.BP[2 * knight + 1] = 44; }},
        {"the last entry left out", [](int, int) { POS.ILB = static_cast<i8>(POS.ILB - 1); }},
    };
    for (const Change& ch : changes) {
        for (const Build b : {Build::M28, Build::M26}) {
            for (const Phases p : {Phases{0, 0}, Phases{1, 1, 6, 6}, Phases{2, 2, 8, 8}}) {
                EVAL = older::EvalState{};
                set_up(CROWDED);
                const int pawn = pawnEntry(), knight = kindEntry(W_KNIGHT);
                ASSERT_GE(pawn, 0);
                ASSERT_GE(knight, 0);
                const auto [before, beforeRef] = both(b, p);
                ASSERT_EQ(before, beforeRef);
                ch.run(pawn, knight);
                const auto [odd, oddRef] = both(b, p);
                EXPECT_EQ(odd, oddRef) << ch.what;
                // And the true lists again after the odd ones, then the
                // knight moves: what was kept for its entry must be its own.
                set_up(CROWDED);
                const auto [again, againRef] = both(b, p);
                EXPECT_EQ(again, againRef) << ch.what << ", restored";
                apply({Edit::Move, POS.BP[2 * knight + 1], 44});
                const auto [moved, movedRef] = both(b, p);
                EXPECT_EQ(moved, movedRef) << ch.what << ", restored and the knight moved";
            }
        }
    }
}

// Every legal move of every position of random games, made, scored and taken
// back, as the search scores the moves of one node one after another with
// the same phases: the kept terms meet the siblings' lists.
TEST(KeptTerms, EveryMoveOfRandomGames) {
    std::mt19937 rng(2826);
    long scored = 0;
    EVAL = older::EvalState{};
    for (int game = 0; game < 40; ++game) {
        set_up(START);
        int ply = 0;
        random_game(rng, 200, [&] {
            const bool white = ply++ % 2 == 0;
            const Phases p{static_cast<int>(rng() % 3), static_cast<int>(rng() % 3),
                           static_cast<int>(rng() % 40), static_cast<int>(rng() % 40)};
            const Build b = rng() % 2 ? Build::M28 : Build::M26;
            Move ru[MAX_MOVES];
            const int a = white ? generate_legal<Side::White>(ru) : generate_legal<Side::Black>(ru);
            for (int i = 0; i < a; ++i) {
                i8 zap[8] = {};
                if (white) zrobruch<Side::White>(zap, ru[i].nr, ru[i].x2);
                else zrobruch<Side::Black>(zap, ru[i].nr, ru[i].x2);
                const int got = score(b, p), want = ref_score(b);
                if (white) skasujruch<Side::White>(zap, ru[i].nr, ru[i].x2);
                else skasujruch<Side::Black>(zap, ru[i].nr, ru[i].x2);
                ASSERT_EQ(got, want) << "game " << game << " ply " << ply << " move " << i;
                ++scored;
            }
        });
        if (HasFatalFailure()) return;
    }
    EXPECT_GT(scored, 100000);
}

}  // namespace
}  // namespace morvelak::test
