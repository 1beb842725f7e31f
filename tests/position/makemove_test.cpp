// Make and unmake: every generated move of a set of positions with every
// kind of special move, walked a few plies deep, must be taken back exactly
// (board, both lists with all 32 bytes, counts, king indices, WYJ and the
// key), with the right material change and the right undo record.
#include <gtest/gtest.h>

#include "engine/position/keys.hpp"
#include "engine/position/makemove.hpp"
#include "support.hpp"
#include "util/random.hpp"

namespace morvelak::test {
namespace {

struct Tally {
    KeyTable KEY;  // the keys of this walk
    int moves = 0, castleShort[2] = {}, castleLong[2] = {}, enPassant[2] = {}, doubleStep[2] = {};
    int promotion[2] = {}, capturePromotion[2] = {}, capture[2] = {};
};

// The material change the make routine must return, worked out from the
// position before the move.
template <Side S> int expected_change(int nr, int x2) {
    using O = Own<S>;
    if (x2 < 0) return 0;
    const i8 piece = own_list<S>()[2 * nr];
    const i8 target = POS.PL[x2];
    if (piece == O::pawn && x2 == POS.WYJ[O::epSlot] && target == 0) return O::sign * 100;
    int change = (target & O::enemy) ? -POS.WART[target] : 0;
    if (piece == O::pawn && x2 / 10 == O::lastRank) change += O::sign * 800;
    return change;
}

template <Side S> void walk(int depth, Tally& tally) {
    using O = Own<S>;
    constexpr int me = S == Side::White ? 0 : 1;
    const Generated g = generate<S>();
    if (g.result < 0) return;  // the previous move left its king en prise
    Moves all = g.captures;
    all.insert(all.end(), g.quiet.begin(), g.quiet.end());
    for (auto [nr, x2] : all) {
        const Position before = POS;
        const u32 key = klucz(tally.KEY);
        const int from = own_list<S>()[2 * nr + 1];
        const i8 piece = own_list<S>()[2 * nr];
        const i8 target = x2 >= 0 ? POS.PL[x2] : 0;
        const int change = expected_change<S>(nr, x2);
        const bool ep = x2 >= 0 && piece == O::pawn && x2 == POS.WYJ[O::epSlot] && target == 0;
        int victim = -1;  // list index of the captured piece
        if (ep || (x2 >= 0 && (target & O::enemy))) {
            const int vs = ep ? x2 - O::up : x2;
            for (int i = 0; i < own_count<Opp<S>>(); ++i)
                if (own_list<Opp<S>>()[2 * i + 1] == vs) { victim = i; break; }
            ASSERT_GE(victim, 0);
        }

        // The change worked out unmade: for every move but castling and the
        // steps onto the en-passant square, and then the one make returns.
        int unmade = 12345;
        const bool told = gain_unmade<S>(Move{static_cast<i8>(nr), static_cast<i8>(x2)}, unmade);
        EXPECT_EQ(told, x2 >= 0 && !ep) << "move (" << int(nr) << ", " << int(x2) << ")";
        EXPECT_TRUE(POS == before);

        i8 zap[8];
        std::memset(zap, 0x55, sizeof zap);
        const int got = zrobruch<S>(zap, nr, x2);
        if (told) {
            EXPECT_EQ(unmade, got) << "move (" << int(nr) << ", " << int(x2) << ")";
        }
        ++tally.moves;
        // The key worked out from the one before and the move is the key
        // added up afresh; castling leaves it to be added up.
        if (x2 >= 0) ASSERT_EQ(key_after<S>(tally.KEY, key, zap, nr, x2), klucz(tally.KEY));
        else ASSERT_EQ(key_after<S>(tally.KEY, key, zap, nr, x2), 0u);
        SCOPED_TRACE("move (" + std::to_string(nr) + ", " + std::to_string(x2) + ")");
        EXPECT_EQ(got, change);
        if constexpr (S == Side::Black) {
            EXPECT_LE(got, 0);
        }
        ASSERT_EQ(position_fault(), "");

        // The undo record.
        EXPECT_EQ(zap[0], piece);
        for (int k = 0; k < 4; ++k) EXPECT_EQ(zap[4 + k], before.WYJ[k]);
        if (x2 >= 0) {
            EXPECT_EQ(zap[1], from);
            EXPECT_EQ(zap[2], target);
            EXPECT_EQ(zap[3], victim);
        }

        // What the move did.
        EXPECT_EQ(POS.WYJ[1 - O::rightsSlot], before.WYJ[1 - O::rightsSlot]) << "the other side's rights changed";
        if (x2 == CASTLE_SHORT || x2 == CASTLE_LONG) {
            const int e = O::kingHome;
            const bool shortSide = x2 == CASTLE_SHORT;
            ++(shortSide ? tally.castleShort : tally.castleLong)[me];
            EXPECT_EQ(POS.PL[e], 0);
            EXPECT_EQ(POS.PL[shortSide ? e + 2 : e - 2], O::king);
            EXPECT_EQ(POS.PL[shortSide ? e + 1 : e - 1], O::rook);
            EXPECT_EQ(POS.PL[shortSide ? e + 3 : e - 4], 0);
            if (!shortSide) {
                EXPECT_EQ(POS.PL[e - 3], 0);
            }
            EXPECT_EQ(king_square<S>(), shortSide ? e + 2 : e - 2);
            EXPECT_EQ(own_list<S>()[2 * nr + 1], shortSide ? e + 1 : e - 1);
            EXPECT_EQ(POS.WYJ[O::rightsSlot], 0);
            EXPECT_EQ(POS.WYJ[2], 0);
            EXPECT_EQ(POS.WYJ[3], 0);
        } else {
            EXPECT_EQ(POS.PL[from], 0);
            EXPECT_EQ(POS.WYJ[O::rightsSlot], before.WYJ[O::rightsSlot]) << "rights change only by castling";
            const bool dbl = piece == O::pawn && from / 10 == O::startRank && x2 / 10 == O::doubleRank;
            if (dbl) ++tally.doubleStep[me];
            EXPECT_EQ(POS.WYJ[5 - O::epSlot], dbl ? x2 - O::up : 0);
            EXPECT_EQ(POS.WYJ[O::epSlot], 0);
            if (ep) {
                ++tally.enPassant[me];
                EXPECT_EQ(POS.PL[x2 - O::up], 0);
            }
            if (victim >= 0) {
                EXPECT_EQ(own_list<Opp<S>>()[2 * victim], 0);
                EXPECT_EQ(own_list<Opp<S>>()[2 * victim + 1], 0);
            }
            const bool promotes = piece == O::pawn && x2 / 10 == O::lastRank;
            if (promotes) {
                ++((target & O::enemy) ? tally.capturePromotion : tally.promotion)[me];
                EXPECT_EQ(POS.PL[x2], O::queen);
                EXPECT_EQ(own_list<S>()[2 * nr], O::queen);
            } else {
                EXPECT_EQ(POS.PL[x2], piece);
                if (target & O::enemy) ++tally.capture[me];
            }
        }

        if (depth > 1 && !odbicia<Opp<S>>(POS.PL, king_square<S>())) walk<Opp<S>>(depth - 1, tally);

        skasujruch<S>(zap, nr, x2);
        ASSERT_TRUE(POS == before) << "unmake did not restore the position";
        ASSERT_EQ(klucz(tally.KEY), key);
    }
}

TEST(MakeUnmake, EveryMoveIsTakenBackExactly) {
    Tally tally;
    Random random;
    random.seed(12345);
    fill_keys(tally.KEY, random);
    const struct {
        const char* fen;
        int depth;
    } cases[] = {
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 3},
        {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 3},
        {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R b KQkq - 0 1", 2},
        {"r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", 3},
        {"r2q1rk1/pP1p2pp/Q4n2/bbp1p3/Np6/1B3NBn/pPPP1PPP/R3K2R b KQ - 0 1", 3},
        {"n1n5/PPPk4/8/8/8/8/4Kppp/5N1N w - - 0 1", 3},
        {"n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - - 0 1", 3},
        {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", 3},
        {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1", 2},
        {"4k3/8/8/2PpP3/8/8/8/4K3 w - d6 0 1", 3},
        {"4k3/8/8/8/3Pp3/8/8/4K3 b - d3 0 1", 3},
        {"4k3/1p6/8/P1P5/8/8/6p1/4K2R w K - 0 1", 4},  // b7-b5 then axb6 / cxb6
        {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fen);
        const Side s = setup_fen(c.fen);
        ASSERT_EQ(position_fault(), "");
        if (s == Side::White) walk<Side::White>(c.depth, tally);
        else walk<Side::Black>(c.depth, tally);
        if (HasFatalFailure()) return;
    }
    // Every special move was made by both colours.
    for (int side = 0; side < 2; ++side) {
        SCOPED_TRACE(side ? "Black" : "White");
        EXPECT_GT(tally.castleShort[side], 0);
        EXPECT_GT(tally.castleLong[side], 0);
        EXPECT_GT(tally.enPassant[side], 0);
        EXPECT_GT(tally.doubleStep[side], 0);
        EXPECT_GT(tally.promotion[side], 0);
        EXPECT_GT(tally.capturePromotion[side], 0);
        EXPECT_GT(tally.capture[side], 0);
    }
}

// Single moves with their exact effect on the board and the result.
TEST(MakeUnmake, SpecialMovesOneByOne) {
    // En passant by White: e5xd6 removes the pawn on d5 and is worth +100,
    // whatever WART says.
    setup_fen("4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1");
    const int pawn = index_on<Side::White>(55), victim = index_on<Side::Black>(54);
    i8 zap[8];
    EXPECT_EQ(zrobruch<Side::White>(zap, pawn, 64), 100);
    EXPECT_EQ(POS.PL[54], 0);
    EXPECT_EQ(POS.PL[64], W_PAWN);
    EXPECT_EQ(zap[3], victim);
    skasujruch<Side::White>(zap, pawn, 64);
    EXPECT_EQ(POS.PL[54], B_PAWN);
    EXPECT_EQ(POS.CP[2 * victim], B_PAWN);
    EXPECT_EQ(POS.CP[2 * victim + 1], 54);
    EXPECT_EQ(POS.PL[64], 0);

    // En passant by Black: -100; the white pawn comes back as code 9.
    setup_fen("4k3/8/8/8/3Pp3/8/8/4K3 b - d3 0 1");
    const int bp = index_on<Side::Black>(45), wv = index_on<Side::White>(44);
    EXPECT_EQ(zrobruch<Side::Black>(zap, bp, 34), -100);
    EXPECT_EQ(POS.PL[44], 0);
    skasujruch<Side::Black>(zap, bp, 34);
    EXPECT_EQ(POS.PL[44], W_PAWN);
    EXPECT_EQ(POS.BP[2 * wv], W_PAWN);
    EXPECT_EQ(POS.BP[2 * wv + 1], 44);

    // Promotion with capture: 800 - WART[rook]; without: 800; Black's mirror.
    setup_fen("1r2k3/P7/8/8/8/8/p7/1R2K3 w - - 0 1");
    const int wp = index_on<Side::White>(71);
    const int rookValue = POS.WART[B_ROOK];
    EXPECT_EQ(zrobruch<Side::White>(zap, wp, 82), 800 - rookValue);
    EXPECT_EQ(POS.PL[82], W_QUEEN);
    EXPECT_EQ(POS.BP[2 * wp], W_QUEEN);
    skasujruch<Side::White>(zap, wp, 82);
    EXPECT_EQ(POS.PL[71], W_PAWN);
    EXPECT_EQ(POS.BP[2 * wp], W_PAWN);
    EXPECT_EQ(POS.PL[82], B_ROOK);
    EXPECT_EQ(zrobruch<Side::White>(zap, wp, 81), 800);
    skasujruch<Side::White>(zap, wp, 81);
    const int blackPawn = index_on<Side::Black>(21);
    EXPECT_EQ(zrobruch<Side::Black>(zap, blackPawn, 12), -800 - POS.WART[W_ROOK]);
    EXPECT_EQ(POS.PL[12], B_QUEEN);
    skasujruch<Side::Black>(zap, blackPawn, 12);
    EXPECT_EQ(zrobruch<Side::Black>(zap, blackPawn, 11), -800);
    skasujruch<Side::Black>(zap, blackPawn, 11);
    EXPECT_EQ(position_fault(), "");

    // A plain capture returns the victim's value from White's side.
    setup_fen("4k3/8/8/3q4/4P3/8/8/4K3 w - - 0 1");
    EXPECT_EQ(zrobruch<Side::White>(zap, index_on<Side::White>(45), 54), -POS.WART[B_QUEEN]);
}

// Castling moves king and rook, clears the mover's rights and both en-passant
// bytes, leaves the b-file alone; unmaking puts both back on their squares.
TEST(MakeUnmake, CastlingBothWaysBothColours) {
    const struct {
        const char* fen;
        bool white;
        int rookFrom, x2, kingTo, rookTo;
    } cases[] = {
        {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", true, 18, CASTLE_SHORT, 17, 16},
        {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", true, 11, CASTLE_LONG, 13, 14},
        {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1", false, 88, CASTLE_SHORT, 87, 86},
        {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1", false, 81, CASTLE_LONG, 83, 84},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.fen) + " " + std::to_string(c.x2));
        setup_fen(c.fen);
        POS.WYJ[c.white ? 3 : 2] = static_cast<i8>(c.white ? 64 : 34);  // an opponent's en-passant square
        const Position before = POS;
        const int nr = c.white ? index_on<Side::White>(c.rookFrom) : index_on<Side::Black>(c.rookFrom);
        i8 zap[8] = {};
        EXPECT_EQ(c.white ? zrobruch<Side::White>(zap, nr, c.x2) : zrobruch<Side::Black>(zap, nr, c.x2), 0);
        const int kingHome = c.white ? 15 : 85;
        EXPECT_EQ(POS.PL[kingHome], 0);
        EXPECT_EQ(POS.PL[c.kingTo], c.white ? W_KING : B_KING);
        EXPECT_EQ(POS.PL[c.rookTo], c.white ? W_ROOK : B_ROOK);
        EXPECT_EQ(POS.PL[c.rookFrom], 0);
        EXPECT_EQ(POS.WYJ[c.white ? 0 : 1], 0);
        EXPECT_EQ(POS.WYJ[c.white ? 1 : 0], 3);
        EXPECT_EQ(POS.WYJ[2], 0);
        EXPECT_EQ(POS.WYJ[3], 0);
        EXPECT_EQ(position_fault(), "");
        if (c.white) skasujruch<Side::White>(zap, nr, c.x2); else skasujruch<Side::Black>(zap, nr, c.x2);
        EXPECT_TRUE(POS == before);
    }
}

// A capture finds its victim's list entry by square: only among the first
// count entries (the sixteenth included), holes (square 0) never match, and
// a square outside the used entries is not found.
TEST(MakeUnmake, VictimFoundByItsSquareAmongTheUsedEntries) {
    i8 list[2 * LIST_ENTRIES] = {};
    for (int i = 0; i < LIST_ENTRIES; ++i) list[2 * i + 1] = static_cast<i8>(21 + 5 * i);  // 21, 26, .. 96
    list[2 * 3 + 1] = 0;  // a hole left by a captured piece
    const struct { int count, sq, want; } cases[] = {
        {16, 21, 0}, {16, 96, 15}, {15, 96, -1}, {16, 41, 4}, {4, 41, -1}, {5, 41, 4},
        {16, 36, -1}, {16, 0, 3}, {0, 21, -1}, {-1, 21, -1}, {20, 96, 15}, {16, 22, -1},
    };
    for (const auto& c : cases) EXPECT_EQ(list_index_of(list, c.count, c.sq), c.want) << c.count << " " << c.sq;
}

}  // namespace
}  // namespace morvelak::test
