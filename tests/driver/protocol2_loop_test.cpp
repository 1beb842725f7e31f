// The command loop in the newer protocol version that interfaces and match
// runners speak ("protover", "force", "go", "ping", "setboard", "result",
// "undo"), driven with the stand-in engine, in m31's shape and
// in the two older builds' shapes (history by full moves).
#include <algorithm>
#include <cerrno>

#include "tests/driver/stand_in.hpp"

namespace morvelak::test {
namespace {


const std::string HEAD = "feature usermove=1\nfeature reuse=0\n";

class Proto2Test : public LoopTest {};

TEST_F(Proto2Test, ProtoverAnswersWithEveryFeatureAndDoneLast) {
    board(START);
    run("xboard\nprotover 2\naccepted ping\nrejected foo\nprotover 1\nprotover\nprotover 3\nquit\n");
    const std::string line =
        "feature ping=1 setboard=1 colors=0 usermove=1 reuse=0 sigint=0 sigterm=0 analyze=1 "
        "myname=\"STAND-IN 31\"\nfeature option=\"Hard time limit -check 1\"\nfeature done=1\n";
    EXPECT_EQ(out, HEAD + line + line);  // versions 2 and 3; not 1, not none
    EXPECT_EQ(log, "protover 2\naccepted ping\nrejected foo\nprotover 1\nprotover\nprotover 3\nquit\n");
    // A build without a name of its own is named after its program file.
    run("protover 2\nquit\n", LIKE_M26);
    EXPECT_EQ(out, "feature usermove=1\n" +
                       protover_features(announced_name(LIKE_M26, program_invocation_short_name)));
}

TEST_F(Proto2Test, TheNameComesFromTheBuildOrItsProgramFile) {
    struct Case { const char* file; const char* name; };
    const Case cases[] = {
        {"morvelak28", "MORVELAK 28"}, {"morvelak26", "MORVELAK 26"}, {"MORVELAK31", "MORVELAK 31"},
        {"morvelak", "MORVELAK"},      {"morvelak2x", "MORVELAK"},    {"xboard", "MORVELAK"},
        {"", "MORVELAK"},              {nullptr, "MORVELAK"},
    };
    for (const Case& c : cases) EXPECT_EQ(announced_name(LIKE_M26, c.file), c.name) << c.name;
    EXPECT_EQ(announced_name(LIKE_M31, "morvelak28"), "STAND-IN 31");
}

TEST_F(Proto2Test, GoPlaysTheSideToMoveWithTheLastClockAndKeepsPlayingIt) {
    board(START);
    preferred = {"g1f3", "b1c3", "e7e5", "b8c6"};
    // A match runner's engine as White: the clock arrives before "go", while
    // "new" still has the engine on Black.
    run("new\nforce\ntime 3000\notim 3000\ngo\ntime 2900\notim 2950\nusermove g8f6\nquit\n");
    EXPECT_EQ(out, HEAD + "move g1f3\nmove b1c3\n");
    EXPECT_EQ(rec, "[g1f3] g8f6 \n[b1c3]");
    EXPECT_EQ(GAME.TB, 2900u);
    EXPECT_EQ(GAME.R, 3);
    // Without "force": "new" leaves the engine on Black, but "go" gives it
    // the side to move.
    run("new\ntime 1200\ngo\nquit\n");
    EXPECT_EQ(out, HEAD + "move g1f3\n");
    EXPECT_EQ(GAME.TB, 1200u);
    // The engine as Black after the opponent's first move in force mode.
    run("new\nforce\nusermove e2e4\ntime 700\notim 800\ngo\nusermove d2d4\nquit\n");
    EXPECT_EQ(out, HEAD + "move e7e5\nmove b8c6\n");
    EXPECT_EQ(rec, "e2e4 [e7e5]\nd2d4 [b8c6]\n");
    EXPECT_EQ(GAME.TC, 700u);
    // In m26's unit.
    run("new\nforce\nusermove e2e4\ntime 705\ngo\nquit\n", LIKE_M26);
    EXPECT_EQ(GAME.TC, 70u);
}

TEST_F(Proto2Test, ForceModeAppliesTheMovesOfBothSidesWithoutAnswering) {
    board(START);
    preferred = {"b8c6"};
    run("new\nforce\nusermove e2e4\nusermove e7e5\nusermove g1f3\nusermove g1f3\nquit\n");
    EXPECT_EQ(out, HEAD + "Illegal move: g1f3\n");  // the knight has gone
    EXPECT_EQ(rec, "e2e4  e7e5 \ng1f3 ");
    EXPECT_EQ(GAME.R, 3);
    EXPECT_EQ(POS.PL[36], W_KNIGHT);
    EXPECT_EQ(std::count(events.begin(), events.end(), "engine B") +
                  std::count(events.begin(), events.end(), "engine W"),
              0);
    // Every position before a move entered the key window once, in order.
    EXPECT_NE(KEYS.TRASA[8], 0u);
    EXPECT_NE(KEYS.TRASA[10], 0u);
    EXPECT_EQ(KEYS.TRASA[7], 0u);
    // "go" then pushes the position it searches, the fourth.
    run("new\nforce\nusermove e2e4\nusermove e7e5\nusermove g1f3\ngo\nquit\n");
    EXPECT_NE(KEYS.TRASA[7], 0u);
    EXPECT_EQ(KEYS.TRASA[6], 0u);
    EXPECT_EQ(rec, "e2e4  e7e5 \ng1f3 [b8c6]\n");
}

TEST_F(Proto2Test, TheOlderBuildsCountTheForcedMovesInFullMoves) {
    board(START);
    for (const BuildPolicy* p : {&LIKE_M28, &LIKE_M26}) {
        run("new\nforce\nusermove e2e4\nusermove e7e5\nusermove g1f3\nquit\n", *p);
        EXPECT_EQ(GAME.R, 1);
        EXPECT_EQ(GAME.perMove.PLZAP[0][older::WHITE_MOVED][45], W_PAWN);
        EXPECT_EQ(GAME.perMove.PLZAP[1][older::BEFORE_WHITE][55], B_PAWN);
        EXPECT_EQ(GAME.perMove.PLZAP[1][older::WHITE_MOVED][36], W_KNIGHT);
    }
    EXPECT_EQ(noted, (std::vector<std::string>{"W 25 45", "B 75 55", "W 17 36"}));
}

TEST_F(Proto2Test, AGoRightAfterWhiteIsPassedOver) {
    board(START);
    preferred = {"g1f3", "b1c3", "e7e5"};
    // xboard speaking in colour commands: "white" has started the engine.
    run("new\nblack\ntime 30000\notim 30000\nwhite\ngo\ntime 29998\notim 29797\nusermove e7e5\nquit\n");
    EXPECT_EQ(out, HEAD + "move g1f3\nmove b1c3\n");
    EXPECT_EQ(GAME.TC, 30000u);  // the engine's own "white" keeps its clock rule
    EXPECT_EQ(GAME.TB, 29998u);
    // A ping between them changes nothing; anything that touches the game does.
    run("new\nwhite\nping 4\ngo\nquit\n");
    EXPECT_EQ(out, HEAD + "move g1f3\npong 4\n");
    run("new\nwhite\nforce\ngo\nquit\n");
    EXPECT_EQ(out, HEAD + "move g1f3\nmove e7e5\n");
    // "black" then "go", as xboard sends them for its second engine.
    run("new\nforce\ncomputer\ntime 3000\notim 2997\nusermove f2f3\nblack\ngo\nquit\n");
    EXPECT_EQ(out, HEAD + "move e7e5\n");
}

TEST_F(Proto2Test, PingIsAnsweredAfterEverythingBeforeIt) {
    board(START);
    preferred = {"e7e5"};
    run("ping 1\nnew\nforce\nusermove e2e4\nping 22\ngo\nping abc\nping\nquit\n");
    EXPECT_EQ(out, HEAD + "pong 1\npong 22\nmove e7e5\npong abc\npong\n");
}

TEST_F(Proto2Test, SetboardStartsAGameFromThePositionInForceMode) {
    board(START);
    preferred = {"e7e5", "a1a8"};
    run("new\nusermove e2e4\n"
        "setboard 6k1/8/6K1/8/8/8/8/R6R w - - 0 40\n"
        "usermove h1h2\nusermove g8f8\nundo\nundo\ngo\nquit\n");
    EXPECT_EQ(out, HEAD + "move e7e5\nmove a1a8\n");
    // Reopened: the game before it is gone; the plies taken back stay.
    EXPECT_EQ(rec, "h1h2  g8f8 \n[a1a8]");
    EXPECT_EQ(GAME.R, 1);
    EXPECT_EQ(GAME.perPly.PLZAP[0][18], W_ROOK);  // entry 0 is the position set up
    EXPECT_EQ(GAME.perPly.PLZAP[0][87], B_KING);
    const std::vector<std::string> tail(events.end() - 4, events.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"setup", "rebuild", "engine W", "ply W"}));
    EXPECT_NE(std::find(events.begin(), events.end(), "set up W"), events.end());
    // Castling rights and the en-passant square come from the FEN.
    run("setboard r3k2r/8/8/8/8/8/8/R3K2R w Kq - 0 1\nquit\n");
    EXPECT_EQ(POS.WYJ[0], 1);
    EXPECT_EQ(POS.WYJ[1], 2);
    run("setboard 4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1\nusermove e5d6\nquit\n");
    EXPECT_EQ(out, HEAD);
    EXPECT_EQ(POS.PL[64], W_PAWN);
    EXPECT_EQ(POS.PL[54], 0);
}

TEST_F(Proto2Test, SetboardWithBlackToMove) {
    board(START);
    preferred = {"a8a1"};
    // m31's shape: the position set up is entry 0 whoever moves.
    run("setboard r7/8/8/8/8/6k1/8/7K b - - 3 50\nusermove a8a2\nundo\ngo\nquit\n");
    EXPECT_EQ(out, HEAD + "move a8a1\n");
    EXPECT_EQ(rec, " a8a2 \n[a8a1]\n");  // the record keeps the move taken back
    EXPECT_EQ(GAME.R, 1);
    // Older shape: entry (0, WHITE_MOVED), Black's move completes full move 1.
    for (const BuildPolicy* p : {&LIKE_M28, &LIKE_M26}) {
        run("setboard r7/8/8/8/8/6k1/8/7K b - - 3 50\ngo\nquit\n", *p);
        EXPECT_EQ(GAME.R, 1);
        EXPECT_EQ(GAME.perMove.PLZAP[0][older::BEFORE_WHITE][0], 0);  // never a board
        EXPECT_EQ(GAME.perMove.PLZAP[0][older::WHITE_MOVED][81], B_ROOK);
        EXPECT_EQ(GAME.perMove.PLZAP[1][older::BEFORE_WHITE][11], B_ROOK);
        EXPECT_EQ(older::czypotrojne(), 0);
    }
}

TEST_F(Proto2Test, ABadFenIsReportedAndChangesNothing) {
    board(START);
    preferred = {"e7e5", "d7d5"};
    const char* bad[] = {
        "setboard\n",
        "setboard 8/8/8/8/8/8/8/8 w - - 0 1\n",                 // no kings
        "setboard rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR x KQkq - 0 1\n",
        "setboard rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBN w KQkq - 0 1\n",
        "setboard 4k3/8/8/8/8/8/8/4K2R b K - 0 1 extra fields\n",
        "setboard 4k3/4R3/8/8/8/8/8/4K3 w - - 0 1\n",           // Black in check, White to move
    };
    std::string input = "new\nusermove e2e4\n";
    for (const char* b : bad) input += b;
    input += "usermove d2d4\nquit\n";
    run(input);
    // Each one is refused with its reason; the game goes on as before.
    ASSERT_EQ(std::count(out.begin(), out.end(), '\n'), 2 + 1 + 6 + 1);
    std::size_t at = out.find("move e7e5\n") + 10;
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(out.compare(at, 17, "Error (bad FEN): "), 0) << out.substr(at);
        at = out.find('\n', at) + 1;
    }
    EXPECT_EQ(out.substr(at), "move d7d5\n");
    EXPECT_EQ(rec, "e2e4 [e7e5]\nd2d4 [d7d5]\n");
    EXPECT_EQ(GAME.R, 4);
}

TEST_F(Proto2Test, ResultStopsTheEngineUntilTheNextNew) {
    board(START);
    preferred = {"e7e5", "d7d5"};
    run("new\nusermove e2e4\nresult 1-0 {White resigns}\ngo\nusermove d2d4\ngo\n"
        "new\nusermove e2e4\nquit\n");
    // After the result the move is only applied; "go" does nothing.
    EXPECT_EQ(out, HEAD + "move e7e5\nmove e7e5\n");
    EXPECT_EQ(rec, "e2e4 [e7e5]\n");  // the new game's record
    EXPECT_EQ(GAME.R, 2);
    // A position set up is a new game too, and the engine's own colour
    // commands still work.
    run("new\nresult *\nsetboard 4k3/8/8/8/8/8/8/4K3 w - - 0 1\ngo\nquit\n");
    EXPECT_EQ(out.substr(HEAD.size(), 5), "move ");
    run("new\nresult *\nwhite\nquit\n");
    EXPECT_EQ(out.substr(HEAD.size(), 5), "move ");
}

TEST_F(Proto2Test, UndoTakesBackOnePlyInForceModeOnly) {
    board(START);
    preferred = {"g1f3", "e7e5", "c7c5"};
    for (const BuildPolicy* p : {&LIKE_M31, &LIKE_M28, &LIKE_M26}) {
        // Back to the start and replayed differently; a third undo has
        // nothing to take back.
        run("new\nforce\nusermove e2e4\nusermove e7e5\nundo\nundo\nundo\n"
            "usermove d2d4\nusermove d7d5\nundo\nusermove c7c5\ngo\nquit\n", *p);
        EXPECT_EQ(out.substr(out.rfind("\nmove ") + 1), "move g1f3\n") << out;
        EXPECT_EQ(POS.PL[25], W_PAWN);  // e4 taken back
        EXPECT_EQ(POS.PL[45], 0);
        EXPECT_EQ(POS.PL[24], 0);
        EXPECT_EQ(POS.PL[44], W_PAWN);
        EXPECT_EQ(POS.PL[74], B_PAWN);  // d5 taken back
        EXPECT_EQ(POS.PL[54], 0);
        EXPECT_EQ(POS.PL[53], B_PAWN);
        EXPECT_EQ(POS.PL[36], W_KNIGHT);
        EXPECT_EQ(rec, "e2e4  e7e5 \nd2d4  d7d5 \n c7c5 \n[g1f3]");  // the record keeps all
    }
    // While the engine plays a side, "undo" is not one of the lines it expects.
    run("new\nusermove e2e4\nundo\nusermove d2d4\nquit\n");
    EXPECT_EQ(out, HEAD + "move e7e5\nmove c7c5\n");
    EXPECT_EQ(GAME.R, 4);
}

TEST_F(Proto2Test, UndoOverASetUpPositionWithBlackToMove) {
    board(START);
    for (const BuildPolicy* p : {&LIKE_M31, &LIKE_M28, &LIKE_M26}) {
        run("setboard 4k3/8/8/8/8/8/4P3/4K3 b - - 0 1\nundo\nusermove e8d8\nusermove e2e4\n"
            "undo\nundo\nundo\nusermove e8f8\nquit\n", *p);
        std::string features;
        for (const char* const* f = p->features; *f; ++f) features += *f;
        EXPECT_EQ(out, features);
        EXPECT_EQ(POS.PL[86], B_KING);
        EXPECT_EQ(POS.PL[25], W_PAWN);
        EXPECT_EQ(POS.PL[84], 0);
        EXPECT_EQ(GAME.R, 1);
    }
}

TEST_F(Proto2Test, RemoveInForceModeTakesBackTheLastTwoPlies) {
    board(START);
    for (const BuildPolicy* p : {&LIKE_M31, &LIKE_M28}) {
        // After White's move and after Black's.
        run("new\nforce\nusermove e2e4\nusermove e7e5\nusermove g1f3\nremove\nquit\n", *p);
        EXPECT_EQ(POS.PL[45], W_PAWN);
        EXPECT_EQ(POS.PL[75], B_PAWN);
        EXPECT_EQ(POS.PL[17], W_KNIGHT);
        run("new\nforce\nusermove e2e4\nusermove e7e5\nusermove g1f3\nusermove b8c6\nremove\n"
            "usermove g1f3\nquit\n", *p);
        EXPECT_EQ(out, HEAD);
        EXPECT_EQ(POS.PL[36], W_KNIGHT);
        EXPECT_EQ(POS.PL[82], B_KNIGHT);
        EXPECT_EQ(POS.PL[55], B_PAWN);
    }
    // Set up with Black to move: a full-move history has no position to go
    // back to before Black's first move, and leaves the board alone.
    run("setboard 4k3/8/8/8/8/8/4P3/4K3 b - - 0 1\nusermove e8d8\nremove\nquit\n", LIKE_M28);
    EXPECT_EQ(POS.PL[84], B_KING);
    EXPECT_EQ(GAME.R, 1);
}

TEST_F(Proto2Test, GoWithoutALegalMoveAnnouncesTheResult) {
    board(START);
    struct Case { const char* fen; const char* result; };
    const Case cases[] = {
        {"7k/6Q1/6K1/8/8/8/8/8 b - - 0 1", "1-0 {White mates}\n"},
        {"7k/5Q2/6K1/8/8/8/8/8 b - - 0 1", "1/2-1/2 {Stalemate}\n"},
        {"8/8/8/8/8/6k1/6q1/6K1 w - - 0 1", "0-1 {Black mates}\n"},
    };
    for (const Case& c : cases) {
        run(std::string("new\nsetboard ") + c.fen + "\ngo\nquit\n");
        EXPECT_EQ(out, HEAD + c.result) << c.fen;
        EXPECT_EQ(GAME.R, 0);
    }
}

TEST_F(Proto2Test, PromotionAndCastlingInForceMode) {
    board(START);
    // The knight on d8 shields Black's king from the new queen; f8f2 is a
    // move only for a rook that castling has brought to f8.
    run("setboard r2nk2r/1P6/8/8/8/8/8/R3K2R w KQkq - 0 1\nusermove b7a8n\nusermove b7a8q\n"
        "usermove e8c8\nusermove e8g8\nusermove e1c1\nusermove f8f2\nquit\n");
    EXPECT_EQ(out, HEAD + "Illegal move: b7a8n\nIllegal move: e8c8\n");
    EXPECT_EQ(POS.PL[81], W_QUEEN);
    EXPECT_EQ(POS.PL[87], B_KING);
    EXPECT_EQ(POS.PL[26], B_ROOK);
    EXPECT_EQ(POS.PL[88], 0);
    EXPECT_EQ(POS.PL[13], W_KING);
    EXPECT_EQ(POS.PL[14], W_ROOK);
    EXPECT_EQ(POS.PL[11], 0);
}

}  // namespace
}  // namespace morvelak::test
