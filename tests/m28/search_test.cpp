// m28's search: records of the position table written by a
// real search node, the positional guess of the last full-width ply, the
// older builds' last ply, the root ordered from the table of the previous
// move, and determinism.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "driver/m28/computer_move.hpp"
#include "engine/search/older/lastply.hpp"
#include "engine/search/older/margin.hpp"
#include "engine/search/m26/rules.hpp"
#include "engine/search/m28/rules.hpp"
#include "tests/m28/support.hpp"

namespace morvelak::test {
namespace {

// A middle game with captures for both sides and enough quiet moves for
// cut-offs: White to move.
constexpr const char* MIDDLE = "r1bqk2r/ppp2ppp/2n2n2/3pp3/1b1PP3/2N2N2/PPP2PPP/R1BQKB1R w KQkq - 0 5";

template <Side S>
int pseudo_legal_count() {
    Move ru[MAX_MOVES], bi[MAX_MOVES];
    int aa = 0;
    const int nq = superruchy<S>(POS.PL, own_list<S>(), ru, bi, POS.WYJ, &aa);
    return nq + aa;
}

TEST(PositionTable, ANodeTwoPliesBelowTheRootRecordsWhatItSearched) {
    // PLY = 3 makes a node of remaining depth 2 such a node.
    set_up(MIDDLE, 4);
    const int count = pseudo_legal_count<Side::White>();
    i8 path[older::PATH_BYTES] = {};

    // Open window: every move is searched and stored with its value, and the
    // node's value is the best of them.
    SEARCH.PLY = 3;
    const int v = OBLICZB(2, 0, -12000, 12000, 0, path);
    ASSERT_EQ(SEARCH.HASHL, 1);
    const m28::record& full = SEARCH.HASH[0];
    EXPECT_TRUE(std::equal(POS.PL, POS.PL + 100, full.plansza));
    EXPECT_EQ(full.ile, count);
    EXPECT_EQ(*std::max_element(full.wart, full.wart + full.ile), v);
    std::vector<std::string> stored;
    for (int b = 0; b < full.ile; ++b) {
        const i8 from = full.ru[b][0];
        EXPECT_EQ(POS.PL[from] & WHITE_BIT, WHITE_BIT) << "origin " << int(from);
        stored.push_back(std::to_string(from) + "-" + std::to_string(full.ru[b][1]));
    }
    std::sort(stored.begin(), stored.end());
    EXPECT_EQ(std::unique(stored.begin(), stored.end()), stored.end());

    // A bound just below the best: the refutation ends the loop, and the
    // record holds the moves searched up to and including it.
    const int cut = v - 1;
    const int w = OBLICZB(2, 0, -12000, cut, 0, path);
    EXPECT_GE(w, cut);
    ASSERT_EQ(SEARCH.HASHL, 2);
    const m28::record& part = SEARCH.HASH[1];
    ASSERT_GT(part.ile, 0);
    EXPECT_LT(part.ile, count);
    EXPECT_GE(part.wart[part.ile - 1], cut);
    for (int b = 0; b + 1 < part.ile; ++b) EXPECT_LT(part.wart[b], cut) << b;

    // Recording switched off, or a node at another depth: nothing.
    SEARCH.HASHB = 1;
    OBLICZB(2, 0, -12000, 12000, 0, path);
    SEARCH.HASHB = 0;
    SEARCH.PLY = 4;
    OBLICZB(2, 0, -12000, 12000, 0, path);
    EXPECT_EQ(SEARCH.HASHL, 2);
}

TEST(PositionTable, TheLastRecordIsOverwrittenOnceTheTableIsFull) {
    set_up(MIDDLE, 4);
    i8 path[older::PATH_BYTES] = {};
    SEARCH.PLY = 3;
    SEARCH.HASHL = HASH_LAST;
    SEARCH.HASH[HASH_LAST].ile = -1;
    OBLICZB(2, 0, -12000, 12000, 0, path);
    EXPECT_EQ(SEARCH.HASHL, HASH_LAST);
    EXPECT_EQ(SEARCH.HASH[HASH_LAST].ile, pseudo_legal_count<Side::White>());
}

// ---- The positional guess of the last full-width ply ----------------------

// The margins of the two routines in the search state: White's, Black's.
constexpr int WHITE = 0, BLACK = 1;

TEST(Margin, TheFirstCallTakesThePositionalScoreOfItsPosition) {
    // A window far above anything reachable: every move's guess is more than
    // 80 short, its null-window search stays short, and no position after a
    // move is evaluated.  The margin is what the first call found.
    set_up(MIDDLE, 4);
    const int entry = OCPOZ(POS.PL, POS.BP, POS.CP);
    i8 path[older::PATH_BYTES] = {};
    EXPECT_FALSE(SEARCH.marginSet[WHITE]);
    OBLICZB(2, 0, 5000, 5001, 0, path);
    EXPECT_TRUE(SEARCH.marginSet[WHITE]);
    EXPECT_EQ(SEARCH.margin[WHITE], entry);
    EXPECT_FALSE(SEARCH.marginSet[BLACK]) << "each routine has its own";
    // Later calls keep it.
    OBLICZB(2, -300, 5000, 5001, 0, path);
    EXPECT_EQ(SEARCH.margin[WHITE], entry);
}

TEST(Margin, AGuessFarShortOfTheBoundStandsUnlessItsTestSearchComesClose) {
    // After a quiet rook move the other side has nothing to take, so its last
    // ply returns the static value it is given: the guess (margin + material)
    // in the test search, the fresh positional score + material in the full
    // one.  White's bound is alfa, Black's beta.
    struct Case {
        const char* fen;
        const char* move;
        int margin;
        int bound;       // alfa for White, beta for Black
        bool evaluated;  // the margin took the fresh positional score
    };
    const int e = -250;  // material after the move
    const Case cases[] = {
        {"4k3/8/8/8/8/8/8/R3K3 w - - 0 1", "a1a2", 0, -250 + 79, true},     // guess 79 short
        {"4k3/8/8/8/8/8/8/R3K3 w - - 0 1", "a1a2", 0, -250 + 80, true},     // 80 short: the test reaches it
        {"4k3/8/8/8/8/8/8/R3K3 w - - 0 1", "a1a2", 0, -250 + 81, false},    // 81 short: stands
        {"4k3/8/8/8/8/8/8/R3K3 w - - 0 1", "a1a2", 40, -250 + 121, false},
        {"r3k3/8/8/8/8/8/8/4K3 b - - 0 1", "a8a7", 0, -250 - 79, true},
        {"r3k3/8/8/8/8/8/8/4K3 b - - 0 1", "a8a7", 0, -250 - 80, true},
        {"r3k3/8/8/8/8/8/8/4K3 b - - 0 1", "a8a7", 0, -250 - 81, false},
        {"r3k3/8/8/8/8/8/8/4K3 b - - 0 1", "a8a7", -40, -250 - 121, false},
    };
    for (const Case& c : cases) {
        const Side s = set_up(c.fen, 12);
        i8 path[older::PATH_BYTES] = {};
        i8 zap[8] = {};
        int v, after, kept;
        if (s == Side::White) {
            const Move m = move_of<Side::White>(c.move);
            zrobruch<Side::White>(zap, m.nr, m.x2);
            after = OCPOZ(POS.PL, POS.BP, POS.CP);
            SEARCH.marginSet[WHITE] = true;
            SEARCH.margin[WHITE] = c.margin;
            v = older::last_full_ply<Side::White, m28::Build>(e, c.bound, 12000, 0, path);
            kept = SEARCH.margin[WHITE];
            skasujruch<Side::White>(zap, m.nr, m.x2);
        } else {
            const Move m = move_of<Side::Black>(c.move);
            zrobruch<Side::Black>(zap, m.nr, m.x2);
            after = OCPOZ(POS.PL, POS.BP, POS.CP);
            SEARCH.marginSet[BLACK] = true;
            SEARCH.margin[BLACK] = c.margin;
            v = older::last_full_ply<Side::Black, m28::Build>(e, -12000, c.bound, 0, path);
            kept = SEARCH.margin[BLACK];
            skasujruch<Side::Black>(zap, m.nr, m.x2);
        }
        EXPECT_EQ(kept, c.evaluated ? after : c.margin) << c.fen << " " << c.bound;
        EXPECT_EQ(v, (c.evaluated ? after : c.margin) + e) << c.fen << " " << c.bound;
    }
}

// ---- The older builds' last ply -------------------------------------------

// Puts code on square s and rebuilds the lists (for positions no FEN may
// describe, such as a king that can be taken).
void put(int s, i8 code) {
    POS.PL[s] = code;
    rebuild_lists();
}

TEST(LastPly, MarkersAndScoresOfTheHashTableBuild) {
    constexpr int ANY = 99;  // a move's entry: not checked
    struct Case {
        const char* fen;
        int blackKing;  // moved here when not 0
        int d, alfa, beta;
        int value;
        int pair;  // first byte of the first path pair
    };
    const Case cases[] = {
        // Nothing to take: standing pat, "bezbic".
        {"4k3/8/8/8/8/8/8/4K3 w - - 0 1", 0, 37, -100, 100, 37, NO_CAPTURE},
        // Standing pat is already too good for the caller: returned at once.
        {"4k3/8/8/8/8/8/8/4K3 w - - 0 1", 0, 150, -100, 100, 150, END_OF_LINE},
        // The black king stands next to White's: taking it ends everything.
        {"4k3/8/8/8/8/8/8/4K3 w - - 0 1", 24, 0, -100, 100, 10001, KING_TAKEN},
        // In check, standing pat does not count even when d beats beta: every
        // move loses the king to the rook on the back rank.
        {"4k3/8/8/8/8/8/5PPP/3r2K1 w - - 0 1", 0, 500, -100, 100, -9997, ANY},
    };
    for (const Case& c : cases) {
        set_up(c.fen, 12);
        if (c.blackKing) {
            POS.PL[85] = 0;
            put(c.blackKing, B_KING);
        }
        i8 path[4] = {9, 9, 9, 9};
        EXPECT_EQ((older::oblicz_ply1<Side::White, m28::Build>(c.d, c.alfa, c.beta, 0, path)), c.value) << c.fen << " " << c.d;
        if (c.pair != ANY) {
            EXPECT_EQ(path[0], c.pair) << c.fen << " " << c.d;
        }
        EXPECT_EQ(path[2], 9) << "the second pair is never written";
        // Inside a null-move search nothing is written.
        i8 quiet[2] = {9, 9};
        older::oblicz_ply1<Side::White, m28::Build>(c.d, c.alfa, c.beta, 1, quiet);
        EXPECT_EQ(quiet[0], 9);
    }
}

TEST(LastPly, ACaptureThatDoesNotBeatTheBoundIsNotAnswered) {
    // Black's rook can take a pawn the white king defends.  With beta below
    // the capture's material result the estimate is not asked and the rook's
    // loss goes unseen; with beta above it, White takes the rook back and
    // Black stands pat instead.
    set_up("4k3/8/8/8/8/3r4/3P4/3K4 b - - 0 1", 12);
    i8 path[4] = {};
    const int taken = -POS.WART[W_PAWN];  // the material result, White's side
    SEARCH.L = 0;
    EXPECT_EQ((older::oblicz_ply1<Side::Black, m28::Build>(0, -1000, taken - 1, 0, path)), taken);
    EXPECT_EQ(SEARCH.L, 1u);
    SEARCH.L = 0;
    EXPECT_EQ((older::oblicz_ply1<Side::Black, m28::Build>(0, -1000, 0, 0, path)), 0);
    EXPECT_EQ(SEARCH.L, 2u) << "the move and White's recapture";
}

TEST(LastPly, InCheckTheTreeNodeBuildAnswersEveryMoveAndCountsItsLastPly) {
    // White's king is checked by the rook on the a-file; a black bishop
    // watches White's pawn.  From d = -300 with alfa = 0 no king move reaches
    // alfa: m28 lets each stand without asking Black, m26 asks Black's
    // estimate after each.
    set_up("r6k/8/8/3b4/8/1P6/8/K7 w - - 0 1", 12);
    i8 path[4] = {};
    m26::SEARCH = m26::SearchState{};
    SEARCH.L = 0;
    EXPECT_EQ((older::oblicz_ply1<Side::White, m28::Build>(-300, 0, 1000, 0, path)), -300);
    EXPECT_EQ(SEARCH.L, 4u);
    EXPECT_EQ(m26::SEARCH.L1[1], 0u) << "m28 keeps no statistics";
    EXPECT_EQ(m26::SEARCH.L, 0u);
    EXPECT_LE((older::oblicz_ply1<Side::White, m26::Build>(-300, 0, 1000, 0, path)), -300);
    EXPECT_GT(m26::SEARCH.L, 4u);
    EXPECT_EQ(m26::SEARCH.L1[1], 1u);
    EXPECT_EQ(m26::SEARCH.L2[1], 4u);
}

// ---- The root across two moves --------------------------------------------

TEST(PositionTable, TheNextMoveBeginsWithWhatThePreviousSearchStored) {
    // The game's first move for the engine (depth 9 by the clock), then the
    // next one.
    set_up(MIDDLE, 0);
    Record rec;
    Progress out;
    GAME.TB = 12000;
    char mv[4];
    ASSERT_TRUE(ruchkomputerbiale(mv));
    ASSERT_GT(SEARCH.HASHL, 0);

    // The opponent answers with a reply whose position the search recorded.
    skroctablice(m28::SCALE);
    bool found = false;
    const auto replies = legal_moves<Side::Black>();
    for (Move r : replies) {
        i8 zap[8] = {};
        zrobruch<Side::Black>(zap, r.nr, r.x2);
        if (hash_find() != nullptr) {
            found = true;
            break;
        }
        skasujruch<Side::Black>(zap, r.nr, r.x2);
    }
    ASSERT_TRUE(found) << "no reply leads to a recorded position";
    GAME.R = 1;
    older::wstawstan(GAME.R);
    skroctablice(m28::SCALE);

    // What the table says, best first for White, among the legal moves.
    m28::record expected = *hash_find();
    expected.posortuj('b');
    std::vector<std::string> front;
    for (int i = 0; i < expected.ile; ++i)
        for (Move m : legal_moves<Side::White>())
            if (origin_of<Side::White>(m) == expected.ru[i][0] && m.x2 == expected.ru[i][1])
                front.push_back(text<Side::White>(m));
    ASSERT_FALSE(front.empty());

    const Snapshot before;
    ASSERT_TRUE(ruchkomputerbiale(mv));
    const RootReport& r = last_root();
    before.restore();  // to spell the root moves of that position
    std::vector<std::string> got;
    for (int i = 0; i < r.placed; ++i) got.push_back(text<Side::White>(r.order[i]));
    EXPECT_EQ(got, front);
}

// ---- Determinism ----------------------------------------------------------

TEST(Determinism, TheSamePositionTwiceGivesTheSameLinesMoveAndCount) {
    for (const char* fen : {MIDDLE, "r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R b KQkq - 5 4"}) {
        std::vector<std::string> lines[2];
        std::string moves[2], records[2];
        u32 nodes[2];
        for (int run = 0; run < 2; ++run) {
            // The first move of a game: depth 9 by the clock.
            const Side s = set_up(fen, 0);
            Record rec;
            Progress out;
            GAME.TB = GAME.TC = 12000;
            char text[5] = {};
            ASSERT_TRUE(s == Side::White ? ruchkomputerbiale(text) : ruchkomputerczarne(text));
            lines[run] = out.lines();
            moves[run] = text;
            nodes[run] = SEARCH.L;
            records[run] = rec.text();
        }
        EXPECT_GT(lines[0].size(), 1u);
        EXPECT_EQ(lines[0], lines[1]) << fen;
        EXPECT_EQ(moves[0], moves[1]) << fen;
        EXPECT_EQ(nodes[0], nodes[1]) << fen;
        // The record differs at most in the time the move took.
        const auto fields = [](const std::string& r) {
            int depth, score;
            char move[5];
            std::sscanf(r.c_str(), "%d %4s %d", &depth, move, &score);
            return std::to_string(depth) + move + std::to_string(score);
        };
        EXPECT_EQ(fields(records[0]), fields(records[1])) << records[0];
    }
}

}  // namespace
}  // namespace morvelak::test

namespace morvelak::test {
namespace {

// The last ply told by its caller whether it stands in check (gives_check
// of the move before it) searches exactly as when it looks that up itself:
// the same value, the same nodes, the same line, for both older builds'
// rules, after every move of positions with checks, pins and promotions.
template <Side S, class B>
int same_last_ply_either_way(const char* fen) {
    constexpr Side T = Opp<S>;
    Move ru[MAX_MOVES];
    int aa;
    const int a = generate_all<S>(ru, &aa);
    EXPECT_GT(a, 0) << fen;
    i8 zap[8] = {};
    int checks = 0;
    for (int b = 0; b < a; ++b) {
        const int e = zrobruch<S>(zap, ru[b].nr, ru[b].x2);
        const int check = gives_check<S>(ru[b], zap);
        checks += check;
        for (const int window : {30, 300, 3000}) {
            i8 looked[4] = {}, told[4] = {};
            B::state().L = 0;
            const int v1 = older::oblicz_ply1<T, B>(e, e - window, e + window, 0, looked);
            const u32 n1 = B::state().L;
            B::state().L = 0;
            const int v2 = older::oblicz_ply1<T, B>(e, e - window, e + window, 0, told, check);
            EXPECT_EQ(v1, v2) << fen << " move " << b << " window " << window;
            EXPECT_EQ(n1, B::state().L) << fen << " move " << b << " window " << window;
            EXPECT_EQ(std::vector<i8>(looked, looked + 4), std::vector<i8>(told, told + 4)) << fen << " move " << b;
        }
        skasujruch<S>(zap, ru[b].nr, ru[b].x2);
    }
    return checks;
}

TEST(LastPly, TheCallersCheckAnswerSearchesAsTheLookUp) {
    const char* fens[] = {
        "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
        "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8",
        "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 b - - 0 10",
        "3k4/6P1/8/8/4N3/8/8/4RK2 w - - 0 1",
        "r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1",
    };
    int checks = 0;
    for (const char* fen : fens) {
        const Side s = set_up(fen, 12);
        m26::SEARCH = m26::SearchState{};
        if (s == Side::White) {
            checks += same_last_ply_either_way<Side::White, m28::Build>(fen);
            checks += same_last_ply_either_way<Side::White, m26::Build>(fen);
        } else {
            checks += same_last_ply_either_way<Side::Black, m28::Build>(fen);
            checks += same_last_ply_either_way<Side::Black, m26::Build>(fen);
        }
    }
    EXPECT_GE(checks, 10) << "the positions are meant to have checking moves";
}

}  // namespace
}  // namespace morvelak::test

namespace morvelak::test {
namespace {

// What settling a move by its guess before it is made tells against
// making it and searching its last ply: for every move of side S (castling,
// en passant, promotions and checks among them), with the margin and the
// bound set so that the guess falls just inside, at and beyond 81 short.
// A settled move has the value, the line start and the node count of the
// made one; a move left to the caller finds the board, the lists, the
// rights and the line untouched.  Counts the settled moves and the checking
// moves among those that were not.
struct Settled {
    int settled = 0, checksLeft = 0, passantLeft = 0;
};

template <Side S, class B>
void guess_against_search(const char* fen, Settled& seen) {
    constexpr int sg = Own<S>::sign;
    Move ru[MAX_MOVES];
    int aa;
    const int a = generate_all<S, B::castling>(ru, &aa);
    ASSERT_GT(a, 0) << fen;
    i8 zap[8] = {};
    for (int b = 0; b < a; ++b) {
        const Move m = ru[b];
        for (const int margin : {-170, 0, 95}) {
            for (const int shortBy : {-40, 79, 80, 81, 82, 600}) {
                B::state().margin[older::MARGIN_OF<S>] = margin;
                const int d = -30;
                // The guess from the made move's material change.
                const int e = d + zrobruch<S>(zap, m.nr, m.x2);
                const int guess = margin + e;
                const int alfa = sg > 0 ? guess + shortBy : -12000;
                const int beta = sg > 0 ? 12000 : guess - shortBy;
                i8 made[older::PATH_BYTES], unmade[older::PATH_BYTES];
                std::memset(made, 7, sizeof made);
                std::memset(unmade, 7, sizeof unmade);
                B::state().L = 0;
                const int v1 = older::last_full_ply<S, B>(e, alfa, beta, 0, made, gives_check<S>(m, zap));
                const u32 nodes = B::state().L;
                const int marginAfter = B::state().margin[older::MARGIN_OF<S>];
                const bool check = gives_check<S>(m, zap) != 0;
                skasujruch<S>(zap, m.nr, m.x2);

                B::state().margin[older::MARGIN_OF<S>] = margin;
                const Position before = POS;
                int v2 = 12345;
                const bool settled =
                    older::guess_stands<S, B>(m, d, alfa, beta, 0, unmade, king_square<Opp<S>>(), v2);
                EXPECT_TRUE(before == POS) << fen << " move " << b;
                const std::string where = std::string(fen) + " move " + text<S>(m) + " margin " +
                                          std::to_string(margin) + " short by " + std::to_string(shortBy);
                if (settled) {
                    ++seen.settled;
                    EXPECT_GE(shortBy, 81) << where;
                    EXPECT_EQ(v2, v1) << where;
                    EXPECT_EQ(nodes, 0u) << where;
                    EXPECT_EQ(marginAfter, margin) << where;
                    EXPECT_EQ(std::vector<i8>(unmade, unmade + 2), std::vector<i8>(made, made + 2)) << where;
                } else {
                    EXPECT_EQ(v2, 12345) << where;
                    EXPECT_EQ(unmade[0], 7) << where;
                    // Far short and quiet, a move is settled unless it is
                    // castling or may take en passant.
                    const bool passant = Own<S>::pawn == own_list<S>()[2 * m.nr] && POS.PL[m.x2] == 0 &&
                                         m.x2 == POS.WYJ[Own<S>::epSlot];
                    if (shortBy >= 81 && m.x2 >= 0 && !passant) {
                        EXPECT_TRUE(check) << where;
                    }
                    if (shortBy >= 81 && check) ++seen.checksLeft;
                    if (shortBy >= 81 && passant) ++seen.passantLeft;
                }
            }
        }
    }
}

TEST(LastPly, AMoveSettledByItsGuessUnmadeSearchesAsWhenMade) {
    const char* fens[] = {
        "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
        "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8",
        "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 b - - 0 10",
        "3k4/6P1/8/8/4N3/8/8/4RK2 w - - 0 1",
        "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3",
        "rnbqkbnr/pppp1ppp/8/8/3Pp3/5N2/PPP1PPPP/RNBQKB1R b KQkq d3 0 3",
        "4k3/8/8/8/8/8/p5p1/1R2K2N b - - 0 1",
    };
    Settled seen;
    for (const char* fen : fens) {
        const Side s = set_up(fen, 12);
        m26::SEARCH = m26::SearchState{};
        if (s == Side::White) {
            guess_against_search<Side::White, m28::Build>(fen, seen);
            guess_against_search<Side::White, m26::Build>(fen, seen);
        } else {
            guess_against_search<Side::Black, m28::Build>(fen, seen);
            guess_against_search<Side::Black, m26::Build>(fen, seen);
        }
    }
    EXPECT_GT(seen.settled, 500);
    EXPECT_GT(seen.checksLeft, 20) << "checking moves are left to the caller";
    EXPECT_GT(seen.passantLeft, 3) << "en-passant captures are left to the caller";
}

}  // namespace
}  // namespace morvelak::test
