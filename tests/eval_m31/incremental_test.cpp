// The placement kept up to date by the move (placement_change) against OCPOZ
// worked out afresh after the move: first hand-made positions where one term
// alone is switched on and the change is known in advance (the rook doubling
// that follows list order, the bishop pair, the blockade, the open file, a
// king's shelter and the enemy pieces' closeness to it),
// then every pseudo-legal move of every position of many random games under
// several settings, the pawn arrays of another position included.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "engine/position/movegen.hpp"
#include "tests/eval_m31/board.hpp"
#include "tests/eval_m31/games.hpp"
#include "tests/eval_m31/settings.hpp"

namespace morvelak::test {
namespace {

// OCPOZ without its mobility part.
int placement_now(const i8* pionb, const i8* pionc) {
    return OCPOZ(POS.PL, POS.BP, POS.CP, pionb, pionc) - mobility_balance();
}

// Side S's move from `from` to `to` in the list of the current position,
// into m.  A move that is not in the list fails the test.
template <Side S>
bool listed_move(int from, int to, Move& m) {
    Move ru[MAX_MOVES];
    int aa = 0;
    const int a = generate_all<S>(ru, &aa);
    for (int b = 0; b < a; ++b) {
        if (own_list<S>()[2 * ru[b].nr + 1] == from && ru[b].x2 == to) {
            m = ru[b];
            return true;
        }
    }
    ADD_FAILURE() << "no move " << from << "-" << to;
    return false;
}

// Makes side S's move from `from` to `to` and returns whether placement_change
// took it, with the change it gave in *change and the change OCPOZ sees in
// *recounted.  The position is left as it was.
template <Side S>
bool try_move(int from, int to, const i8* pionb, const i8* pionc, int* change, int* recounted) {
    Move m;
    if (!listed_move<S>(from, to, m)) return false;
    const int before = placement_now(pionb, pionc);
    i8 zap[8] = {};
    zrobruch<S>(zap, m.nr, m.x2);
    const bool taken = placement_change<S>(zap, m.nr, m.x2, pionb, pionc, *change);
    *recounted = placement_now(pionb, pionc) - before;
    skasujruch<S>(zap, m.nr, m.x2);
    return taken;
}

// One case: a board (rank 8 first) with every weight and table silenced but
// the one `weight` names, set to 1; a move of the side given; the change of
// White's placement score it must bring.  White's list runs a8 -> h1, Black's
// h1 -> a8, which decides which rook is visited just before which.
struct Case {
    const char* what;
    const char* rows;
    bool white;
    int from, to;
    int EvalState::*weight;
    int change;
};

const Case CASES[] = {
    // Rooks a2 (listed first) and h1; h1 -> a1 doubles them.
    {"rook joins the file of the rook listed before it",
     "........" "........" "...k...." "........" "........" "....K..." "W......." ".......W",
     true, 18, 11, &EvalState::WIEZAZDWOJENIE, +1},
    // Rooks a2 and a1 doubled; a1 -> b1.
    {"rook leaves the file of the rook listed before it",
     "........" "........" "...k...." "........" "........" "....K..." "W......." "W.......",
     true, 11, 12, &EvalState::WIEZAZDWOJENIE, -1},
    // Rooks a5, h4, a1 in list order: a5 and a1 share a file but the h4
    // rook stands between them in the list.  h4 -> a4 doubles both pairs.
    {"middle rook of three closes the chain",
     "........" "...k...." "........" "W......." ".......W" "....K..." "........" "W.......",
     true, 48, 41, &EvalState::WIEZAZDWOJENIE, +2},
    // ... and h4 -> b4 leaves a5 and a1 apart in the list.
    {"middle rook of three moving elsewhere keeps the outer pair apart",
     "........" "...k...." "........" "W......." ".......W" "....K..." "........" "W.......",
     true, 48, 42, &EvalState::WIEZAZDWOJENIE, 0},
    // Black rooks a7, a8 doubled; the white rook takes a7: Black's doubling,
    // worth -1 to White, is gone.
    {"taking one of two doubled rooks",
     "w......k" "w......." "........" "........" "........" "....K..." "........" "W.......",
     true, 11, 71, &EvalState::WIEZAZDWOJENIE, +1},
    // Black's list: a2, h6, a8.  The h6 rook keeps the a-file pair apart;
    // taking it joins them.
    {"taking the rook listed between two on one file",
     "w......." "...k...." ".......w" "........" "........" "....K..." "w......." ".......W",
     true, 18, 68, &EvalState::WIEZAZDWOJENIE, -1},
    // Black bishops c8, f8; a white knight takes f8: the pair goes.
    {"taking one of two bishops",
     "..g..g.k" "...S...." "........" "........" "........" "........" "........" "K.......",
     true, 74, 86, &EvalState::PARAGONCOW, +1},
    // Three black bishops: one of the two bonuses goes.
    {"taking one of three bishops",
     "..g..g.k" "...S...." "g......." "........" "........" "........" "........" "K.......",
     true, 74, 86, &EvalState::PARAGONCOW, +1},
    // A lone bishop taken leaves no pair to lose.
    {"taking a lone bishop",
     ".....g.k" "...S...." "........" "........" "........" "........" "........" "K.......",
     true, 74, 86, &EvalState::PARAGONCOW, 0},
    // A black knight takes one of White's two bishops: White's loss.
    {"black takes one of two bishops",
     "k......." "........" "........" "........" "........" "........" "...s...." "..G..G.K",
     false, 24, 16, &EvalState::PARAGONCOW, -1},
    // A white knight e4 -> d6, in front of the black d7 pawn.
    {"knight planted in front of an enemy pawn",
     "k......." "...p...." "........" "........" "....S..." "........" "........" "K.......",
     true, 45, 64, &EvalState::BLOKADAOBCEGO, +1},
    // A white bishop d3 -> f5 clears the path of its own d2 pawn.
    {"bishop leaves the path of an own pawn",
     "k......." "........" "........" "........" "........" "...G...." "...P...." "K.......",
     true, 34, 56, &EvalState::BLOKADASWOJEGO, +1},
    // A black queen h5 -> e5, in front of the white e4 pawn as Black sees it.
    {"black queen blocks a white pawn",
     "k......." "........" "........" ".......h" "....P..." "........" "........" "K.......",
     false, 58, 55, &EvalState::BLOKADAOBCEGO, -1},
    // A white rook from the a-file (own pawn a2) to the b-file (none).
    {"rook to a file without own pawns",
     ".......k" "........" "........" "W......." "........" "........" "P......." ".......K",
     true, 51, 52, &EvalState::WWOLNALINIA, +1},
    // A white knight takes a black rook on a file without black pawns.
    {"taking a rook on a file without own pawns",
     "k......." "........" "........" "...w...." "........" "....S..." "........" ".......K",
     true, 35, 54, &EvalState::WWOLNALINIA, +1},
    // Pawn steps: only the piece the pawn now stands behind and its own
    // king's shelter see it.  e2 -> e3 under a black knight on e4.
    {"pawn step brings an enemy piece into its path",
     "k......." "........" "........" "........" "....s..." "........" "....P..." ".......K",
     true, 25, 35, &EvalState::BLOKADAOBCEGO, -1},
    // d2 -> d4 under a white bishop on d5: the double step.
    {"double step ends behind an own piece",
     ".......k" "........" "........" "...G...." "........" "........" "...P...." ".......K",
     true, 24, 44, &EvalState::BLOKADASWOJEGO, -1},
    // e7 -> e6 over a white queen on e5, in front of the pawn as Black sees it.
    {"black step meets a white piece in its path",
     "k......." "....p..." "........" "....H..." "........" "........" "........" ".......K",
     false, 75, 65, &EvalState::BLOKADAOBCEGO, +1},
    // King g1, h2 -> h3: the pawn leaves the squares beside and in front of
    // the king for one two ranks ahead of it.
    {"pawn leaves the king's side",
     "k......." "........" "........" "........" "........" "........" ".......P" "......K.",
     true, 28, 38, &EvalState::CHRONIKROLA1, -1},
    {"pawn moves two ranks ahead of the king",
     "k......." "........" "........" "........" "........" "........" ".......P" "......K.",
     true, 28, 38, &EvalState::CHRONIKROLA2, +1},
    // King g8, g7 -> g5: out of the shelter and past the squares two ranks
    // ahead.
    {"black double step leaves the shelter",
     "......k." "......p." "........" "........" "........" "........" "........" "K.......",
     false, 77, 57, &EvalState::CHRONIKROLA1, +1},
    {"black double step passes the squares two ranks ahead",
     "......k." "......p." "........" "........" "........" "........" "........" "K.......",
     false, 77, 57, &EvalState::CHRONIKROLA2, 0},
    // Black king f6, e7 -> e6: the pawn stood behind the king, where the
    // shelter does not look, and now stands beside it.
    {"black step comes up beside its king",
     "........" "....p..." ".....k.." "........" "........" "........" "........" ".......K",
     false, 75, 65, &EvalState::CHRONIKROLA1, -1},
    // King steps: its own shelter and file, and the other side's pieces
    // nearer or further.  King e1 -> f1 comes beside the g2 pawn.
    {"king steps beside an own pawn",
     "k......." "........" "........" "........" "........" "........" "......P." "....K...",
     true, 15, 16, &EvalState::CHRONIKROLA1, +1},
    // King e1 -> e2 brings the black knight on e5 from closeness 1 to 2.
    {"king steps towards an enemy knight",
     "k......." "........" "........" "....s..." "........" "........" "........" "....K...",
     true, 15, 25, &EvalState::ODLKROLSKOCZEK, -1},
    // King e4 takes the knight on e5, which was as close as a piece can
    // stand (4): its term goes with it, counted from where the king stood.
    {"king takes a knight beside it",
     "k......." "........" "........" "....s..." "....K..." "........" "........" "........",
     true, 45, 55, &EvalState::ODLKROLSKOCZEK, +4},
    // Black king e8 (a file without pawns) -> d8 (a pawn of each colour).
    {"black king leaves a file without pawns",
     "....k..." "...p...." "........" "........" "........" "........" "...P...." "K.......",
     false, 85, 84, &EvalState::CKWOLNALINIA, -2},
    // King a1 -> b2, behind its own b3 pawn: a piece holds back only a
    // pawn behind it.
    {"king steps behind an own pawn",
     "k......." "........" "........" "........" "........" ".P......" "........" "K.......",
     true, 11, 22, &EvalState::BLOKADASWOJEGO, 0},
    // Black king d6 -> d5, in front of the white d4 pawn.
    {"black king steps in front of an enemy pawn",
     "K......." "........" "...k...." "........" "...P...." "........" "........" "........",
     false, 64, 54, &EvalState::BLOKADAOBCEGO, -1},
};

TEST(Incremental, OneTermAtATime) {
    for (const Case& c : CASES) {
        set_up(c.rows);
        silence();
        EVAL.*c.weight = 1;
        i8 pionb[8], pionc[8];
        OCPION(POS.PL, pionb, pionc);
        int change = 0, recounted = 0;
        const bool taken = c.white ? try_move<Side::White>(c.from, c.to, pionb, pionc, &change, &recounted)
                                   : try_move<Side::Black>(c.from, c.to, pionb, pionc, &change, &recounted);
        ASSERT_TRUE(taken) << c.what;
        EXPECT_EQ(recounted, c.change) << c.what << " (the full count)";
        EXPECT_EQ(change, c.change) << c.what;
    }
}

// The moves left to OCPOZ: a pawn taking, taken or promoting, castling.
struct Refused {
    const char* what;
    const char* rows;
    const char* wyj;
    bool white;
    int from, to;
};

TEST(Incremental, PawnCapturesPromotionsAndCastlingAreScoredInFull) {
    const Refused cases[] = {
        {"king takes a pawn", "k......." "........" "........" "........" "........" "........" "......p."
         ".......K", "0 0 0 0", true, 18, 27},
        {"castling", "k......." "........" "........" "........" "........" "........" "........" "....K..W",
         "1 0 0 0", true, 18, CASTLE_SHORT},
        {"knight takes a pawn", "k......." "........" "........" "...p...." "........" "....S..." "........"
         ".......K", "0 0 0 0", true, 35, 54},
        {"queen takes a pawn", "k......." "........" "........" "........" "........" "........" "p......."
         "H......K", "0 0 0 0", true, 11, 21},
        {"promotion", "k......." "...P...." "........" "........" "........" "........" "........" ".......K",
         "0 0 0 0", true, 74, 84},
        {"en passant", "k......." "........" "........" "...pP..." "........" "........" "........" ".......K",
         "0 0 0 64", true, 55, 64},
        {"black pawn takes a knight", "k......." "........" "........" "...p...." "....S..." "........"
         "........" ".......K", "0 0 0 0", false, 54, 45},
    };
    for (const Refused& c : cases) {
        for (i8& b : POS.PL) b = BORDER;
        load_text((std::string(c.rows) + "\n" + c.wyj + "\n").c_str(), POS.PL, POS.WYJ);
        skroctablice(m31::SCALE);
        i8 pionb[8], pionc[8];
        OCPION(POS.PL, pionb, pionc);
        int change = 0, recounted = 0;
        const bool taken = c.white ? try_move<Side::White>(c.from, c.to, pionb, pionc, &change, &recounted)
                                   : try_move<Side::Black>(c.from, c.to, pionb, pionc, &change, &recounted);
        EXPECT_FALSE(taken) << c.what;
    }
}

// Every move of side S in the current position, under the pawn arrays given:
// where placement_change takes the move, the placement before plus its change
// must be OCPOZ's after.  Counts the moves taken and those that took a piece.
template <Side S>
void every_move(const i8* pionb, const i8* pionc, long& taken, long& captures, long& steps, const char* where) {
    using O = Own<S>;
    Move ru[MAX_MOVES];
    int aa = 0;
    const int a = generate_all<S>(ru, &aa);
    const int before = placement_now(pionb, pionc);
    for (int b = 0; b < a; ++b) {
        const Move m = ru[b];
        i8 zap[8] = {};
        zrobruch<S>(zap, m.nr, m.x2);
        int change = 0;
        const bool known = placement_change<S>(zap, m.nr, m.x2, pionb, pionc, change);
        // Every king, knight, bishop, rook and queen move (castling aside)
        // that takes no pawn, and every pawn step straight ahead short of the
        // last rank, is one the routine must take.
        const bool piece = zap[0] == O::king || zap[0] == O::knight || zap[0] == O::bishop ||
                           zap[0] == O::rook || zap[0] == O::queen;
        const bool step = zap[0] == O::pawn && (m.x2 - zap[1]) % 10 == 0 && m.x2 / 10 != O::lastRank;
        const bool expected = m.x2 >= 0 && (piece ? zap[2] != O::enemyPawn : step);
        if (step) ++steps;
        EXPECT_EQ(known, expected) << where << " move " << int(zap[1]) << "-" << m.x2;
        if (known) {
            ++taken;
            if (zap[2] != 0) ++captures;
            const int after = placement_now(pionb, pionc);
            skasujruch<S>(zap, m.nr, m.x2);
            ASSERT_EQ(before + change, after) << where << " move " << int(zap[1]) << "-" << m.x2;
        } else {
            skasujruch<S>(zap, m.nr, m.x2);
        }
    }
}

TEST(Incremental, EveryMoveOfRandomGames) {
    std::mt19937 rng(31415);
    i8 staleB[8] = {}, staleC[8] = {};
    long taken = 0, captures = 0, steps = 0;
    for (int game = 0; game < 120; ++game) {
        set_up(START);
        bool white = true;
        random_game(rng, 300, [&] {
            for (int setting = 0; setting < 3; ++setting) {
                choose_setting(rng, setting);
                i8 pb[8], pc[8];
                OCPION(POS.PL, pb, pc);
                const std::string where = "game " + std::to_string(game) + " setting " + std::to_string(setting);
                // The node's own arrays, then those of another position, as
                // the search hands them on after a pawn move.
                for (int arrays = 0; arrays < 2; ++arrays) {
                    const i8* b = arrays == 0 ? pb : staleB;
                    const i8* c = arrays == 0 ? pc : staleC;
                    if (white) every_move<Side::White>(b, c, taken, captures, steps, where.c_str());
                    else every_move<Side::Black>(b, c, taken, captures, steps, where.c_str());
                    if (HasFatalFailure()) return;
                }
                if (setting == 2) {
                    std::memcpy(staleB, pb, 8);
                    std::memcpy(staleC, pc, 8);
                }
            }
            white = !white;
        });
        if (HasFatalFailure()) return;
    }
    EXPECT_GT(taken, 500000);
    EXPECT_GT(captures, 5000);
    EXPECT_GT(steps, 50000);
}

// The file presence tells the files with a pawn of each colour apart: White
// on bits 0-7, Black on bits 8-15, a file's bit set whatever square its pawn
// stands on.
TEST(Incremental, FilePresence) {
    struct Case {
        i8 pionb[8], pionc[8];
        unsigned presence;
    };
    const Case cases[] = {
        {{}, {}, 0x0000},
        {{21, 0, 0, 0, 0, 0, 0, 0}, {}, 0x0001},
        {{0, 0, 0, 0, 0, 0, 0, 78}, {}, 0x0080},
        {{}, {71, 0, 0, 0, 0, 0, 0, 0}, 0x0100},
        {{}, {0, 0, 0, 0, 0, 0, 0, 28}, 0x8000},
        {{0, 32, 0, 54, 0, 0, 0, 0}, {0, 72, 0, 0, 65, 0, 0, 0}, 0x120A},
        {{21, 22, 23, 24, 25, 26, 27, 28}, {71, 72, 73, 74, 75, 76, 77, 78}, 0xFFFF},
    };
    for (const Case& c : cases)
        EXPECT_EQ(file_presence(c.pionb, c.pionc), c.presence) << std::hex << c.presence;
}

// Two pawn structures alike: score, arrays and masks.
void expect_same(const PawnStructure& a, const PawnStructure& b, const std::string& what) {
    EXPECT_EQ(a.score, b.score) << what;
    EXPECT_EQ(std::memcmp(a.pionb, b.pionb, 8) | std::memcmp(a.pionc, b.pionc, 8), 0) << what << ": arrays";
    EXPECT_TRUE(a.masks.white == b.masks.white && a.masks.black == b.masks.black && a.masks.stray == b.masks.stray)
        << what << ": masks";
}

// A pawn's step or a king's move worked out from the structure before it
// (pawn_step, king_step) against OCPION after it.  Side S's move from `from`
// to `to` is made on the current position; returns OCPION's change, and
// whether the routine took the move with *change its own.
template <Side S>
bool try_step(int from, int to, int* change, int* recounted) {
    Move m;
    if (!listed_move<S>(from, to, m)) return false;
    PawnStructure before, after{}, recount;
    pawn_structure(POS.PL, before);
    i8 zap[8] = {};
    zrobruch<S>(zap, m.nr, m.x2);
    bool taken = true;
    if (zap[0] == Own<S>::king) king_step<S>(before, from, to, after);
    else if (pawn_steps<S>(zap, m.x2)) taken = pawn_step<S>(before, from, to, after);
    else ADD_FAILURE() << "neither a step nor a king move: " << from << "-" << to;
    pawn_structure(POS.PL, recount);
    skasujruch<S>(zap, m.nr, m.x2);
    *recounted = recount.score - before.score;
    *change = after.score - before.score;
    if (taken) expect_same(after, recount, "after the step");
    return taken;
}

// Pawn steps and king moves with one weight on and the change they must
// bring to the pawn structure, each played as
// drawn and on the board turned round with the colours swapped (square s
// becomes 99 - s, the change its negative), which moves every case to the
// other edge of the board.  passedRank: the rank whose passed-pawn weight is
// on, 0 when `weight` names the weight instead.
TEST(Incremental, PawnStructureOneTermAtATime) {
    struct StepCase {
        const char* what;
        const char* rows;
        int from, to;
        int EvalState::*weight;
        int passedRank;
        int change;
    };
    const StepCase cases[] = {
        // a4 -> a5 comes level with the black b5 pawn: passed on rank 5;
        // and the b5 pawn, no longer held by the a-pawn, is Black's passed
        // pawn on its own rank 4.
        {"edge pawn passes", ".......k" "........" "........" ".p......" "P......." "........" "........"
         "K.......", 41, 51, nullptr, 5, +1},
        {"edge pawn lets its neighbour pass", ".......k" "........" "........" ".p......" "P......."
         "........" "........" "K.......", 41, 51, nullptr, 4, -1},
        // The rear pawn of a doubled pair (e2 behind e5) steps: the front
        // pawn still rules the file, and e3 now protects d4.
        {"rear pawn of a doubled pair steps up to protect", ".......k" "........" "........" "....P..."
         "...P...." "........" "....P..." "K.......", 25, 35, &EvalState::KRYCIE, 0, +1},
        {"rear pawn of a doubled pair leaves the passed pawn as it was", ".......k" "........" "........"
         "....P..." "...P...." "........" "....P..." "K.......", 25, 35, nullptr, 5, 0},
        // e2 -> e4 lands where d3 and f3 both protect it: one pawn more.
        // d3 and f3 lose e2's protection but keep c2's and g2's.
        {"double step onto a square protected twice", ".......k" "........" "........" "........"
         "........" "...P.P.." "..P.P.P." "K.......", 25, 45, &EvalState::KRYCIE, 0, +1},
        // Without c2 and g2 the pawns it protected count against it.
        {"double step leaves two pawns unprotected", ".......k" "........" "........" "........"
         "........" "...P.P.." "....P..." "K.......", 25, 45, &EvalState::KRYCIE, 0, -1},
        // e4 -> e5 comes nearer the black king on e8 (closeness 1 to 2).
        {"step towards the enemy king", "....k..." "........" "........" "........" "....P..." "........"
         "........" "K.......", 45, 55, &EvalState::ODLKROLPION, 0, -1},
        // The passed e5 pawn's step towards the e8 king counts twice: as a
        // pawn and as a passed pawn.
        {"passed pawn steps towards the enemy king", "....k..." "........" "........" "....P..." "........"
         "........" "........" "K.......", 55, 65, &EvalState::ODLKROLWOLNY, 0, -1},
        // King moves: the enemy pawns' closeness to the king.  a1 -> b2
        // comes nearer the black c3 pawn (closeness 3 to 4), which is a
        // passed pawn too.
        {"king comes nearer an enemy pawn", ".......k" "........" "........" "........" "........" "..p....."
         "........" "K.......", 11, 22, &EvalState::ODLKROLPION, 0, +1},
        {"king comes nearer an enemy passed pawn", ".......k" "........" "........" "........" "........"
         "..p....." "........" "K.......", 11, 22, &EvalState::ODLKROLWOLNY, 0, +1},
        // The white d2 pawn holds the c3 pawn back: no longer passed.
        {"king comes nearer an enemy pawn that is not passed", ".......k" "........" "........" "........"
         "........" "..p....." "...P...." "K.......", 11, 22, &EvalState::ODLKROLWOLNY, 0, 0},
        // The king's own pawns do not look at it.
        {"king comes nearer its own pawn", ".......k" "........" "........" "........" "........" "..P....."
         "........" "K.......", 11, 22, &EvalState::ODLKROLPION, 0, 0},
    };
    for (const StepCase& c : cases) {
        for (int turned = 0; turned < 2; ++turned) {
            set_up(turned == 0 ? c.rows : rotated(c.rows));
            silence();
            if (c.passedRank != 0) EVAL.WOLNY[c.passedRank] = 1;
            else EVAL.*c.weight = 1;
            int change = 0, recounted = 0;
            const bool taken = turned == 0 ? try_step<Side::White>(c.from, c.to, &change, &recounted)
                                           : try_step<Side::Black>(99 - c.from, 99 - c.to, &change, &recounted);
            const int expected = turned == 0 ? c.change : -c.change;
            ASSERT_TRUE(taken) << c.what << (turned ? " (turned)" : "");
            EXPECT_EQ(recounted, expected) << c.what << (turned ? " (turned)" : "") << " (the full count)";
            EXPECT_EQ(change, expected) << c.what << (turned ? " (turned)" : "");
        }
    }
    // A pawn on the first or last rank, which only a board set up by hand
    // holds, leaves the step to OCPION's square-by-square reading.
    for (const char* rows : {"P......k" "........" "........" "........" "....P..." "........" "........" "K.......",
                             ".......k" "........" "........" "........" "....P..." "........" "........" "K.p....."}) {
        set_up(rows);
        int change = 0, recounted = 0;
        EXPECT_FALSE(try_step<Side::White>(45, 55, &change, &recounted)) << rows;
    }
}

// The search hands a node's pawn structure to the child of any move that
// moves no pawn and no king and takes no pawn: OCPION's score and arrays
// must come out the same after every such move of random games, under every
// setting; the moves it is not handed down by must include changes.  A
// pawn's step and a king's move that takes no pawn hand down the structure
// pawn_step and king_step work out: it must be OCPION's after every one.
TEST(Incremental, PawnStructureOutlivesMovesOfOtherPieces) {
    std::mt19937 rng(2718);
    long kept = 0, changed = 0, steps = 0, kingMoves = 0;
    for (int game = 0; game < 60; ++game) {
        set_up(START);
        bool white = true;
        random_game(rng, 300, [&] {
            choose_setting(rng, game % 3);
            i8 pb[8], pc[8];
            const int before = OCPION(POS.PL, pb, pc);
            PawnStructure node;
            pawn_structure(POS.PL, node);
            auto each = [&]<Side S>() {
                using O = Own<S>;
                Move ru[MAX_MOVES];
                int aa = 0;
                const int a = generate_all<S>(ru, &aa);
                for (int b = 0; b < a; ++b) {
                    const Move m = ru[b];
                    i8 zap[8] = {};
                    zrobruch<S>(zap, m.nr, m.x2);
                    i8 qb[8], qc[8];
                    const int after = OCPION(POS.PL, qb, qc);
                    skasujruch<S>(zap, m.nr, m.x2);
                    const bool handed = m.x2 >= 0 && zap[0] != O::pawn && zap[0] != O::king && zap[2] != O::enemyPawn;
                    const bool same = after == before && std::memcmp(pb, qb, 8) == 0 && std::memcmp(pc, qc, 8) == 0;
                    const bool king = zap[0] == O::king && m.x2 >= 0 && zap[2] != O::enemyPawn;
                    if (king || pawn_steps<S>(zap, m.x2)) {
                        ++(king ? kingMoves : steps);
                        PawnStructure stepped, recount;
                        zrobruch<S>(zap, m.nr, m.x2);
                        bool taken = true;
                        if (king) king_step<S>(node, zap[1], m.x2, stepped);
                        else taken = pawn_step<S>(node, zap[1], m.x2, stepped);
                        pawn_structure(POS.PL, recount);
                        skasujruch<S>(zap, m.nr, m.x2);
                        const std::string what = "game " + std::to_string(game) + " step " +
                                                 std::to_string(zap[1]) + "-" + std::to_string(m.x2);
                        ASSERT_TRUE(taken) << what;
                        expect_same(stepped, recount, what);
                        ASSERT_FALSE(HasFailure()) << what;
                    }
                    if (handed) {
                        ++kept;
                        ASSERT_TRUE(same) << "game " << game << " move " << int(zap[1]) << "-" << m.x2;
                    } else if (!same) {
                        ++changed;
                    }
                }
            };
            if (white) each.template operator()<Side::White>();
            else each.template operator()<Side::Black>();
            white = !white;
        });
        if (HasFatalFailure()) return;
    }
    EXPECT_GT(kept, 100000);
    EXPECT_GT(changed, 10000);
    EXPECT_GT(steps, 20000);
    EXPECT_GT(kingMoves, 20000);
}

}  // namespace
}  // namespace morvelak::test
