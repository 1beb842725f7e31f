#include "driver/uci.hpp"

#include <cctype>
#include <cerrno>  // program_invocation_short_name
#include <cstdlib>
#include <cstring>
#include <string>

#include "driver/book.hpp"
#include "driver/game.hpp"
#include "driver/startup.hpp"
#include "driver/think.hpp"
#include "driver/time_limit.hpp"
#include "engine/position/fen.hpp"
#include "engine/position/legal.hpp"
#include "engine/position/position.hpp"
#include "engine/position/boardfile.hpp"

namespace morvelak {

void uci_score(int depth, int shown, char* text, int size) {
    const int magnitude = shown < 0 ? -shown : shown;
    if (magnitude < 9000) {
        std::snprintf(text, static_cast<std::size_t>(size), "cp %d", shown);
        return;
    }
    // A king is taken at the node with `left` plies still to go, depth - left
    // plies below the root: the mating move is the ply before the capture.
    const int left = magnitude - 10000;
    int plies = depth - left;
    if (plies < 1) plies = 1;
    const int moves = (plies + 1) / 2;
    std::snprintf(text, static_cast<std::size_t>(size), "mate %d", shown > 0 ? moves : -moves);
}

namespace {

struct Uci {
    const BuildPolicy& policy;
    Input& input;
    std::FILE* out;
    std::FILE* log;
    Uci(const BuildPolicy& p, Input& i, std::FILE* o, std::FILE* l) : policy(p), input(i), out(o), log(l) {}

    char line[UCI_LINE_SIZE] = {};
    // The position: its base ("startpos", or "fen" and the FEN) and the
    // moves played from it, the engine's own among them, as the interface
    // writes them.  An empty base: no position yet, a game to begin.
    std::string base;
    char moves[UCI_MOVES][6] = {};
    int count = 0;
    // The moves can no longer be followed (an illegal one, too many): the
    // next position is set up afresh.
    bool lost = false;
    Side toMove = Side::White;
    // Options.
    bool hardLimit = true;
    bool boardFile = false;
    // "go infinite" is analysing, or has analysed as far as it goes and
    // waits for "stop" to name its move.
    bool infinite = false;
    bool quit = false;
};

const char* const OPTION_LIMIT = "Hard time limit";
const char* const OPTION_BOOK = "OwnBook";
const char* const OPTION_BOARD = "Board file";

void say(Uci& u, const char* text) {
    std::fputs(text, u.out);
    std::fflush(u.out);
}

// The next blank-separated word of a line from *p on, into w (LINE_SIZE);
// false at the end of the line.
bool word(const char*& p, char* w) {
    while (*p && std::isspace(static_cast<unsigned char>(*p))) ++p;
    int n = 0;
    while (*p && !std::isspace(static_cast<unsigned char>(*p))) {
        if (n < LINE_SIZE - 1) w[n++] = *p;
        ++p;
    }
    w[n] = '\0';
    return n > 0;
}

// The text of a move of `side` played on `board`: four characters, and "q"
// when a pawn reaches the last rank.
void move_with_promotion(const i8* board, Side side, const char* text, char* out) {
    std::memcpy(out, text, 4);
    out[4] = out[5] = '\0';
    const int from = square_from_text(text[0], text[1]);
    const int rank = text[3] - '0';
    const i8 pawn = side == Side::White ? W_PAWN : B_PAWN;
    if (board[from] == pawn && rank == (side == Side::White ? 8 : 1)) out[4] = 'q';
}

// ---- While the engine thinks ---------------------------------------------

// "isready" is answered at once whenever it comes; "stop" ends the search
// with a move, "quit" without one.  Everything else waits.
StopReason listen(void* ctx, bool analysis) {
    Uci& u = *static_cast<Uci*>(ctx);
    for (;;) {
        if (!u.input.poll(analysis && !u.input.live())) return StopReason::None;
        if (u.input.waiting() == 0) return StopReason::Withdraw;  // the end of input
        const char* l = u.input.line(0);
        char w[LINE_SIZE];
        if (!first_word(l, w)) {
            u.input.drop_first();
            continue;
        }
        if (std::strcmp(w, "isready") == 0) {
            log_line(u.log, l);
            u.input.drop_first();
            say(u, "readyok\n");
            continue;
        }
        if (std::strcmp(w, "stop") == 0) return analysis ? StopReason::Input : StopReason::MoveNow;
        if (std::strcmp(w, "quit") == 0) return StopReason::Withdraw;
        return StopReason::None;
    }
}
StopReason listen_in_play(void* ctx) { return listen(ctx, false); }
StopReason listen_in_analysis(void* ctx) { return listen(ctx, true); }

// Every new best line: "info depth D score S nodes N time T pv ...".
void report(void* ctx, int depth, int shown, unsigned long nodes, const char* pv) {
    Uci& u = *static_cast<Uci*>(ctx);
    char score[32];
    uci_score(depth, shown, score, sizeof score);
    // The older builds name only the first move, without its promotion.
    char first[6] = {};
    const char* rest = pv;
    if (std::strlen(pv) == 4) {
        move_with_promotion(POS.PL, u.toMove, pv, first);
        rest = "";
    }
    std::fprintf(u.out, "info depth %d score %s nodes %lu time %ld pv %s%s\n", depth, score, nodes,
                 CONTROL.elapsed_ms(), first, rest);
    std::fflush(u.out);
}

// ---- Commands --------------------------------------------------------------

void cmd_uci(Uci& u) {
    const std::string name = announced_name(u.policy, program_invocation_short_name);
    std::fprintf(u.out,
                 "id name %s\nid author the MORVELAK authors\n"
                 "option name %s type check default true\n"
                 "option name %s type check default true\n"
                 "option name %s type check default false\n"
                 "uciok\n",
                 name.c_str(), OPTION_LIMIT, OPTION_BOOK, OPTION_BOARD);
    std::fflush(u.out);
}

// "setoption name NAME value VALUE"; names may hold blanks.
void cmd_setoption(Uci& u, const char* args) {
    const char* name = std::strstr(args, "name ");
    if (!name) return;
    name += 5;
    const char* value = std::strstr(name, " value ");
    const std::size_t n = value ? static_cast<std::size_t>(value - name) : std::strlen(name);
    std::string key(name, n);
    while (!key.empty() && std::isspace(static_cast<unsigned char>(key.back()))) key.pop_back();
    const bool on = value && std::strncmp(value + 7, "true", 4) == 0;
    if (key == OPTION_LIMIT) u.hardLimit = on;
    else if (key == OPTION_BOOK) GAME.bookOn = on;
    else if (key == OPTION_BOARD) u.boardFile = on;
}

// A new game: a fresh record, the depth control from the clock again.
void new_game(Uci& u) {
    open_record();
    if (u.policy.new_game) u.policy.new_game();
    CONTROL.depthCap = 0;
    u.base.clear();
    u.count = 0;
}

// Sets up the base position; false (nothing changed) for a bad FEN.
bool set_base(Uci& u, const std::string& base, const char* fen) {
    if (fen) {
        FenPosition pos;
        std::string error;
        if (!parse_fen(fen, pos, error)) {
            std::fprintf(u.out, "info string bad FEN: %s\n", error.c_str());
            return false;
        }
        std::memcpy(POS.PL, pos.pl, sizeof POS.PL);
        std::memcpy(POS.WYJ, pos.wyj, sizeof POS.WYJ);
        u.toMove = pos.toMove;
        u.policy.history_set_up(pos.toMove);
    } else {
        // The standard start, or the board file's when the option says so.
        if (u.boardFile) load_start_position();
        else load_text(STANDARD_BOARD, POS.PL, POS.WYJ);
        u.toMove = Side::White;
        u.policy.history_new();
    }
    u.base = base;
    u.count = 0;
    u.lost = false;
    return true;
}

// Plays the interface's move `text` for the side to move.  A promotion to a
// knight, bishop or rook, which this engine never plays, is made as a queen
// promotion, the piece then put in the queen's place, and the game goes on
// from the board so made as from a position set up (a pawn move: no
// repetition is lost).  Returns false, changing nothing, for a move that is
// not legal here.
bool play_interface_move(Uci& u, const char* text) {
    const std::size_t len = std::strlen(text);
    if (len != 4 && len != 5) return false;
    char queen[6] = {};
    std::memcpy(queen, text, len);
    const char piece = len == 5 ? static_cast<char>(std::tolower(static_cast<unsigned char>(text[4]))) : 'q';
    if (len == 5) queen[4] = 'q';
    if (piece != 'q' && piece != 'r' && piece != 'b' && piece != 'n') return false;
    if (!play_move(u.policy, u.toMove, queen, true)) return false;
    const Side mover = u.toMove;
    u.toMove = mover == Side::White ? Side::Black : Side::White;
    if (piece != 'q') {
        const int to = square_from_text(text[2], text[3]);
        const i8 colour = mover == Side::White ? WHITE_BIT : BLACK_BIT;
        const i8 kind = piece == 'r' ? W_ROOK : piece == 'b' ? W_BISHOP : W_KNIGHT;
        POS.PL[to] = static_cast<i8>((kind & 7) | colour);
        u.policy.history_set_up(u.toMove);
    }
    return true;
}

// Whether two move texts name the same move (a missing promotion letter is
// the queen's).
bool same_move(const char* a, const char* b) {
    if (std::strncmp(a, b, 4) != 0) return false;
    const char pa = a[4] ? static_cast<char>(std::tolower(static_cast<unsigned char>(a[4]))) : 'q';
    const char pb = b[4] ? static_cast<char>(std::tolower(static_cast<unsigned char>(b[4]))) : 'q';
    return pa == pb;
}

// "position startpos|fen FEN [moves ...]".  The same game a few moves on
// (the same base, the moves known so far as its first moves) only plays the
// new moves; anything else sets the position up afresh, as a new game.
void cmd_position(Uci& u, const char* args) {
    char w[LINE_SIZE];
    const char* p = args;
    if (!word(p, w)) return;
    std::string base;
    std::string fen;
    if (std::strcmp(w, "startpos") == 0) {
        base = "startpos";
    } else if (std::strcmp(w, "fen") == 0) {
        for (const char* q = p; word(q, w) && std::strcmp(w, "moves") != 0; p = q) {
            if (!fen.empty()) fen.push_back(' ');
            fen.append(w);
        }
        base.assign("fen ").append(fen);
    } else {
        return;
    }
    // The moves, counted first to see whether this is the game so far.
    const char* list = std::strstr(p, "moves");
    const char* m = list ? list + 5 : p + std::strlen(p);
    bool continues = !u.lost && !u.base.empty() && u.base == base;
    const char* q = m;
    for (int i = 0; continues && i < u.count; ++i)
        continues = word(q, w) && same_move(w, u.moves[i]);
    if (!continues) {
        if (u.base.empty() || u.base != base) open_record();
        if (u.policy.new_game && !u.base.empty()) u.policy.new_game();
        if (!set_base(u, base, base == "startpos" ? nullptr : fen.c_str())) return;
        q = m;
    }
    while (word(q, w)) {
        if (u.count >= UCI_MOVES || !play_interface_move(u, w)) {
            std::fprintf(u.out, "info string illegal move %s: the position stops before it\n", w);
            std::fflush(u.out);
            // The next position is set up afresh.
            u.lost = true;
            return;
        }
        std::snprintf(u.moves[u.count++], 6, "%.5s", w);
    }
}

// The engine's move in the position: "bestmove e2e4" (a promotion with
// "q"), or "bestmove 0000" without a legal move.
template <Side S>
void think_and_answer(Uci& u, long limit) {
    prepare(u.policy);
    Move ru[MAX_MOVES];
    if (generate_legal<S>(ru) == 0) {
        say(u, "bestmove 0000\n");
        return;
    }
    i8 before[100];
    std::memcpy(before, POS.PL, sizeof before);
    char move[4];
    CONTROL.report = report;
    CONTROL.reportCtx = &u;
    const Thought t = think(u.policy, S, move, limit, {listen_in_play, &u});
    CONTROL.report = nullptr;
    if (t == Thought::Withdrawn) {
        u.quit = true;
        return;
    }
    if (t == Thought::NoMove) {
        say(u, "bestmove 0000\n");
        return;
    }
    u.policy.history_after_ply(S);
    // The text with its promotion, read from the board before the move.
    char text[6];
    move_with_promotion(before, S, move, text);
    std::fprintf(u.out, "bestmove %s\n", text);
    std::fflush(u.out);
    if (u.count < UCI_MOVES) std::memcpy(u.moves[u.count++], text, 6);
    else u.lost = true;  // too long to follow: the next position is set up afresh
    u.toMove = Opp<S>;
}

// Analysis until "stop": info lines, then the best move found.
void analyse_until_stop(Uci& u) {
    CONTROL.report = report;
    CONTROL.reportCtx = &u;
    analyse(u.policy, u.toMove, {listen_in_analysis, &u});
    CONTROL.report = nullptr;
    u.infinite = true;
}

void answer_stop(Uci& u) {
    if (!u.infinite) return;
    u.infinite = false;
    char text[6] = {};
    if (CONTROL.best[0]) {
        move_with_promotion(POS.PL, u.toMove, CONTROL.best, text);
    } else {
        // Nothing analysed: the first legal move, if there is one.
        prepare(u.policy);
        Move ru[MAX_MOVES];
        const bool white = u.toMove == Side::White;
        const int a = white ? generate_legal<Side::White>(ru) : generate_legal<Side::Black>(ru);
        if (a == 0) std::strcpy(text, "0000");
        else {
            char t[4];
            if (white) move_text<Side::White>(ru[0], t); else move_text<Side::Black>(ru[0], t);
            move_with_promotion(POS.PL, u.toMove, t, text);
        }
    }
    std::fprintf(u.out, "bestmove %s\n", text);
    std::fflush(u.out);
}

// "go [wtime T] [btime T] [winc T] [binc T] [movestogo N] [movetime T]
// [depth D] [infinite]" (milliseconds).
void cmd_go(Uci& u, const char* args) {
    long wtime = -1, btime = -1, winc = 0, binc = 0, movetime = -1;
    int movestogo = 0, depth = 0;
    bool infinite = false;
    char w[LINE_SIZE];
    const char* p = args;
    while (word(p, w)) {
        auto number = [&](long& v) {
            char n[LINE_SIZE];
            if (word(p, n)) v = std::strtol(n, nullptr, 10);
        };
        long v = 0;
        if (std::strcmp(w, "wtime") == 0) number(wtime);
        else if (std::strcmp(w, "btime") == 0) number(btime);
        else if (std::strcmp(w, "winc") == 0) number(winc);
        else if (std::strcmp(w, "binc") == 0) number(binc);
        else if (std::strcmp(w, "movetime") == 0) number(movetime);
        else if (std::strcmp(w, "movestogo") == 0) { number(v); movestogo = static_cast<int>(v); }
        else if (std::strcmp(w, "depth") == 0) { number(v); depth = static_cast<int>(v); }
        else if (std::strcmp(w, "infinite") == 0) infinite = true;
    }
    CONTROL.depthCap = depth > 0 ? (depth < 99 ? depth : 99) : 0;
    if (infinite) {
        analyse_until_stop(u);
        return;
    }
    const bool white = u.toMove == Side::White;
    const long mine = white ? wtime : btime;
    TimeControl tc;
    tc.remainingMs = mine < 0 ? -1 : mine;
    tc.incrementMs = white ? (winc > 0 ? winc : 0) : (binc > 0 ? binc : 0);
    tc.movesPerControl = movestogo > 0 ? movestogo : 0;
    tc.perMoveMs = movetime > 0 ? movetime : -1;
    // The depth control reads the engine's clock in the build's own unit.
    if (mine >= 0) (white ? GAME.TB : GAME.TC) = static_cast<u32>(mine / 10) / u.policy.time_divisor;
    const long limit = u.hardLimit ? hard_limit_ms(tc, 0) : (movetime > 0 ? movetime : -1);
    if (white) think_and_answer<Side::White>(u, limit);
    else think_and_answer<Side::Black>(u, limit);
}

}  // namespace

void uci_session(const BuildPolicy& policy, Input& input, std::FILE* out, std::FILE* log, bool hardLimit) {
    Uci u(policy, input, out, log);
    u.hardLimit = hardLimit;
    cmd_uci(u);
    while (!u.quit) {
        if (!input.next_long(u.line, UCI_LINE_SIZE)) break;  // the end of input: as "quit"
        char w[LINE_SIZE];
        const char* p = u.line;
        if (!word(p, w)) continue;
        log_line(log, u.line);
        if (u.infinite && std::strcmp(w, "stop") != 0 && std::strcmp(w, "isready") != 0 &&
            std::strcmp(w, "quit") != 0) {
            // While analysis waits for its "stop", nothing else is taken.
            continue;
        }
        if (std::strcmp(w, "uci") == 0) cmd_uci(u);
        else if (std::strcmp(w, "isready") == 0) say(u, "readyok\n");
        else if (std::strcmp(w, "ucinewgame") == 0) new_game(u);
        else if (std::strcmp(w, "setoption") == 0) cmd_setoption(u, p);
        else if (std::strcmp(w, "position") == 0) cmd_position(u, p);
        else if (std::strcmp(w, "go") == 0) cmd_go(u, p);
        else if (std::strcmp(w, "stop") == 0) answer_stop(u);
        else if (std::strcmp(w, "quit") == 0) u.quit = true;
        // Anything else ("debug", "register", "ponderhit", unknown words) is
        // passed over, as UCI asks.
    }
}

}  // namespace morvelak
