#include "driver/protocol.hpp"

#include <cctype>
#include <cerrno>  // program_invocation_short_name
#include <cstdlib>
#include <cstring>
#include <initializer_list>  // the move generator's loops over brace lists
#include <string>

#include "driver/game.hpp"
#include "driver/input.hpp"
#include "driver/startup.hpp"
#include "driver/think.hpp"
#include "driver/time_limit.hpp"
#include "driver/uci.hpp"
#include "engine/position/fen.hpp"
#include "engine/position/legal.hpp"
#include "engine/search/control.hpp"
#include "engine/position/keys.hpp"
#include "engine/position/makemove.hpp"

namespace morvelak {

// ---- Loop pieces -------------------------------------------------------

bool read_line(std::FILE* in, char* line) {
    int n = 0;
    int c = std::getc(in);
    if (c == EOF) {
        line[0] = '\0';
        return false;
    }
    // Keep what fits, then swallow the rest of an over-long line.
    for (; c != EOF; c = std::getc(in)) {
        if (n < LINE_SIZE - 1) line[n++] = static_cast<char>(c);
        if (c == '\n') break;
    }
    line[n] = '\0';
    return true;
}

bool first_word(const char* line, char* word) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(line);
    while (*p && std::isspace(*p)) ++p;
    int n = 0;
    while (*p && !std::isspace(*p) && n < LINE_SIZE - 1) word[n++] = static_cast<char>(*p++);
    word[n] = '\0';
    return n > 0;
}

void log_line(std::FILE* log, const char* line) {
    if (!log) return;
    for (int i = 0; i < LOG_CHARS && line[i] != '\0'; ++i) {
        std::fputc(line[i], log);
        if (line[i] == '\n') break;
    }
    std::fflush(log);
}

void usermove_text(const char* line, char* text) {
    int n = 0;
    if (std::strlen(line) > 9) {
        const unsigned char* p = reinterpret_cast<const unsigned char*>(line) + 9;
        while (*p && !std::isspace(*p) && n < LINE_SIZE - 1) text[n++] = static_cast<char>(*p++);
    }
    text[n] = '\0';
}

namespace {

template <Side S>
bool find_move(const char* text, Move& move) {
    const std::size_t len = std::strlen(text);
    if (len != 4 && len != 5) return false;
    for (int k = 0; k < 4; k += 2)
        if (text[k] < 'a' || text[k] > 'h' || text[k + 1] < '1' || text[k + 1] > '8') return false;
    if (len == 5 && text[4] != 'q') return false;  // the engine promotes to a queen only

    Move ru[MAX_MOVES];
    const int a = generate_legal<S>(ru);
    const int b = find_move_text<S>(ru, a, text);
    if (b < 0) return false;
    const Move m = ru[b];
    const bool promotes = m.x2 >= 0 && own_list<S>()[2 * m.nr] == Own<S>::pawn &&
                          rank_of(m.x2) == Own<S>::lastRank;
    if (len == 5 && !promotes) return false;  // a piece letter on an ordinary move
    move = m;
    return true;
}

template <Side S>
const char* result_without_move() {
    if (!odbicia<Opp<S>>(POS.PL, king_square<S>())) return "1/2-1/2 {Stalemate}\n";
    return S == Side::White ? "0-1 {Black mates}\n" : "1-0 {White mates}\n";
}

}  // namespace

bool find_opponent_move(Side mover, const char* text, Move& move) {
    return mover == Side::White ? find_move<Side::White>(text, move)
                                : find_move<Side::Black>(text, move);
}

namespace {

template <Side S>
bool play(const BuildPolicy& p, const char* text, bool recorded) {
    prepare(p);
    Move m{};
    if (!find_move<S>(text, m)) return false;
    if (p.note_opponent_move) p.note_opponent_move(S, origin_of<S>(m), m.x2);
    if (p.push_key) p.push_key();  // the position before the move
    i8 zap[8];
    zrobruch<S>(zap, m.nr, m.x2);
    // White's move opens a record line, Black's closes it.
    if (!recorded) {
    } else if constexpr (S == Side::White) {
        record("%c%c%c%c ", text[0], text[1], text[2], text[3]);
    } else {
        record(" %c%c%c%c \n", text[0], text[1], text[2], text[3]);
    }
    p.history_after_ply(S);
    return true;
}

}  // namespace

bool play_move(const BuildPolicy& p, Side mover, const char* text, bool recorded) {
    return mover == Side::White ? play<Side::White>(p, text, recorded) : play<Side::Black>(p, text, recorded);
}

bool time_value(const char* line, u32& value) {
    if (std::strlen(line) <= 5) return false;
    const char* p = line + 5;
    while (*p == ' ' || *p == '\t') ++p;
    if (*p < '0' || *p > '9') return false;
    unsigned long long v = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        v = v * 10 + static_cast<unsigned>(*p - '0');
        if (v > 0xFFFFFFFFull) v = 0xFFFFFFFFull;
    }
    value = static_cast<u32>(v);
    return true;
}

const char* no_move_result(Side side) {
    return side == Side::White ? result_without_move<Side::White>()
                               : result_without_move<Side::Black>();
}

std::string announced_name(const BuildPolicy& policy, const char* programFile) {
    if (policy.name) return policy.name;
    // "morvelak28" (any letter case) becomes "MORVELAK 28".
    const char* stem = "morvelak";
    const std::size_t n = std::strlen(stem);
    if (programFile && std::strlen(programFile) > n) {
        bool ours = true;
        for (std::size_t i = 0; i < n; ++i)
            if (std::tolower(static_cast<unsigned char>(programFile[i])) != stem[i]) ours = false;
        for (const char* p = programFile + n; ours && *p; ++p)
            if (!std::isdigit(static_cast<unsigned char>(*p))) ours = false;
        if (ours) return std::string("MORVELAK ") + (programFile + n);
    }
    return "MORVELAK";
}

std::string protover_features(const std::string& name) {
    return "feature ping=1 setboard=1 colors=0 usermove=1 reuse=0 sigint=0 sigterm=0 analyze=1 "
           "myname=\"" + name + "\"\n" +
           "feature option=\"" + HARD_LIMIT_OPTION + " -check 1\"\n" +
           "feature done=1\n";
}

// ---- The loop ----------------------------------------------------------

namespace {

// State of one run of the loop.
struct Session {
    const BuildPolicy& policy;
    std::FILE* out;
    std::FILE* log;
    Input& input;
    Session(const BuildPolicy& p, std::FILE* o, std::FILE* l, Input& i) : policy(p), out(o), log(l), input(i) {}
    char line[LINE_SIZE] = {};
    char command[LINE_SIZE] = {};
    // Who plays which colour: 'k' the engine, 'c' the opponent; 0 until the
    // first "new", "white", "black" or "force".  Both 'c': the engine plays
    // neither side ("force", "setboard", "result") and only applies the moves
    // it is sent.
    char biale = 0;
    char czarne = 0;
    char ruchkomputera[4] = {};
    // The side to move in the game position.  The engine's own commands never
    // needed it (their moves follow from who plays which colour); "go", the
    // moves of force mode and "undo" do.
    Side toMove = Side::White;
    // The last "time" in the build's unit: always the engine's own clock,
    // whichever colour the interface is about to give it with "go".
    u32 lastTime = 0;
    bool haveTime = false;
    // "result" ended the game: the engine plays no side until "new" (or a
    // position set up, or an explicit "white" / "black").
    bool gameOver = false;
    // "white" has just made the engine play White's move.  An interface that
    // speaks in colour commands follows "white" with "go" to start the engine
    // it has just given White; that start has happened, and the "go" is
    // passed over.  Any command that touches the game or the sides ends this.
    bool movedOnWhite = false;
    // The interface has said "protover 2" or later: it expects an error line
    // for a command the engine does not know.
    bool protocol2 = false;
    // What the interface said about time: the clock, the time control, a
    // fixed time per move; and plies played since the game started, for the
    // moves left to the next control.
    TimeControl tc;
    int plies = 0;
    // The hard limit is on (an engine option switches it off).
    bool hardLimit = true;
    // Analysis mode; `analysed`: the analysis of the current position has
    // run to the build's deepest search and waits for a change.
    bool analysing = false;
    bool analysed = false;

    bool playsNeither() const { return biale == 'c' && czarne == 'c'; }
    void engineTakes(Side side) {
        biale = side == Side::White ? 'k' : 'c';
        czarne = side == Side::White ? 'c' : 'k';
    }
};

enum class Next { Read, Quit };

// The first word of a waiting line.
bool word_is(const char* line, const char* word) {
    char w[LINE_SIZE];
    return first_word(line, w) && std::strcmp(w, word) == 0;
}

// Looks at what the interface has sent while the engine plays: "?" wants the
// move now; "quit", "force", "new", "result" and "exit" end the search
// without a move.  Everything else waits its turn.
StopReason listen_in_play(void* ctx) {
    Session& s = *static_cast<Session*>(ctx);
    if (!s.input.poll(false)) return StopReason::None;
    for (int i = 0; i < s.input.waiting(); ++i) {
        const char* l = s.input.line(i);
        if (word_is(l, "?")) return StopReason::MoveNow;
        for (const char* w : {"quit", "force", "new", "result", "exit"})
            if (word_is(l, w)) return StopReason::Withdraw;
    }
    return StopReason::None;
}

// The status line of a running analysis: time in centiseconds, nodes, depth,
// root moves left and in all, the move under search.
void status_line(Session& s) {
    const int left = CONTROL.moveCount - CONTROL.moveIndex - 1;
    std::fprintf(s.out, "stat01: %ld %lu %d %d %d %s\n", CONTROL.elapsed_ms() / 10,
                 static_cast<unsigned long>(s.policy.nodes ? s.policy.nodes() : 0), CONTROL.depth, left < 0 ? 0 : left, CONTROL.moveCount,
                 CONTROL.moveText);
    std::fflush(s.out);
}

// In analysis every command stops the search (it may change the position);
// "." only asks for the status and is answered on the spot.
StopReason listen_in_analysis(void* ctx) {
    Session& s = *static_cast<Session*>(ctx);
    for (;;) {
        if (!s.input.poll(true)) return StopReason::None;
        if (s.input.waiting() == 0) return StopReason::Input;  // the end of input
        const char* l = s.input.line(0);
        char w[LINE_SIZE];
        if (l[0] == '\n') {
            s.input.drop_first();
            continue;
        }
        if (!first_word(l, w) || std::strcmp(w, ".") != 0) return StopReason::Input;
        log_line(s.log, l);
        s.input.drop_first();
        status_line(s);
    }
}

template <Side S>
bool has_legal_move() {
    Move ru[MAX_MOVES];
    return generate_legal<S>(ru) > 0;
}

// The engine plays side S now.  Without a legal move it announces the end of
// the game (mate or stalemate) instead of a move, and nothing changes.
// Returns whether it moved.
template <Side S>
bool engine_moves(Session& s) {
    const BuildPolicy& p = s.policy;
    prepare(p);
    if (!has_legal_move<S>()) {
        std::fputs(result_without_move<S>(), s.out);
        return false;
    }
    const Thought thought = think(p, S, s.ruchkomputera, s.hardLimit ? hard_limit_ms(s.tc, s.plies / 2) : -1,
                                  {listen_in_play, &s});
    // The interface took the search back before a move was chosen: nothing
    // was played.
    if (thought == Thought::Withdrawn) return false;
    const bool moved = thought == Thought::Moved;
    if (!moved) {
        std::fputs(result_without_move<S>(), s.out);
        return false;
    }
    const char* m = s.ruchkomputera;
    std::fprintf(s.out, "move %c%c%c%c\n", m[0], m[1], m[2], m[3]);
    p.history_after_ply(S);
    s.toMove = Opp<S>;
    ++s.plies;
    return true;
}

// Side S's move has been sent (the text of the current line): by the
// opponent, and then the engine answers with the other side, or in force
// mode, where it is only applied.  A move that is not legal here is refused
// and changes nothing.
template <Side S>
void opponent_moves(Session& s, bool reply) {
    char text[LINE_SIZE];
    usermove_text(s.line, text);
    // Moves tried out in analysis are not part of the game's record.
    if (!play_move(s.policy, S, text, !s.analysing)) {
        std::fprintf(s.out, "Illegal move: %s\n", text);
        return;
    }
    s.toMove = Opp<S>;
    ++s.plies;
    s.analysed = false;
    if (reply) engine_moves<Opp<S>>(s);
}

// A game starts: the depth control and the move count start afresh.
void game_starts(Session& s) {
    s.plies = 0;
    s.analysed = false;
    if (s.policy.new_game) s.policy.new_game();
}

Next cmd_new(Session& s) {
    s.engineTakes(Side::Black);
    s.toMove = Side::White;
    s.gameOver = false;
    load_start_position();
    open_record();
    s.policy.history_new();
    game_starts(s);
    // A new game ends a depth limit set by "sd" (the interface sends it
    // again if it still wants it).
    CONTROL.depthCap = 0;
    if (s.analysing) s.biale = s.czarne = 'c';
    return Next::Read;
}

// "white" and "black" give the engine a colour.  The engine plays when that
// colour is on move: "white" with White to move starts it at once; with
// Black to move it waits for Black's move, as "black" always waits (an
// interface that wants Black's move now follows with "go").
Next cmd_white(Session& s) {
    s.engineTakes(Side::White);
    s.gameOver = false;
    s.movedOnWhite = s.toMove == Side::White && engine_moves<Side::White>(s);
    return Next::Read;
}

Next cmd_black(Session& s) {
    s.engineTakes(Side::Black);
    s.gameOver = false;
    return Next::Read;
}

Next cmd_time(Session& s) {
    u32 v;
    if (!time_value(s.line, v)) return Next::Read;
    v /= s.policy.time_divisor;
    // Only the engine's own clock is kept; before any side is assigned, and
    // while the engine plays neither, the value goes to Black's, where "new"
    // leaves the engine.  "go" hands it to the side it gives the engine.
    (s.biale == 'k' ? GAME.TB : GAME.TC) = v;
    s.lastTime = v;
    s.haveTime = true;
    // The hard limit works in real time, whatever unit the build keeps.
    u32 cs = 0;
    time_value(s.line, cs);
    s.tc.remainingMs = static_cast<long>(cs > 0x7FFFFFFFu / 10 ? 0x7FFFFFFFu / 10 : cs) * 10;
    return Next::Read;
}

Next cmd_usermove(Session& s) {
    // Which colour the move is for follows from the side assignment: the
    // opponent plays the colour the engine does not, and only when that
    // colour is on move.  A move sent while the engine's own colour is on
    // move (the interface and the engine disagree about whose turn it is)
    // is refused like any illegal move and changes nothing.  While the
    // engine plays neither side, the move is the side to move's, and nobody
    // answers.  Before any assignment the line is ignored.
    if (s.biale == 'k' || s.czarne == 'k') {
        const Side opponent = s.czarne == 'k' ? Side::White : Side::Black;
        if (opponent != s.toMove) {
            char text[LINE_SIZE];
            usermove_text(s.line, text);
            std::fprintf(s.out, "Illegal move: %s\n", text);
        } else if (opponent == Side::White) {
            opponent_moves<Side::White>(s, true);
        } else {
            opponent_moves<Side::Black>(s, true);
        }
    } else if (s.playsNeither()) {
        if (s.toMove == Side::White) opponent_moves<Side::White>(s, false);
        else opponent_moves<Side::Black>(s, false);
    }
    return Next::Read;
}

// Takes back the last n plies of the game, all of them or none.  The build's
// history goes back one ply at a time; when it cannot go back as far (fewer
// plies played, or a game longer than the history keeps), whatever it has
// taken back is put back, so the engine stays in the position the
// interface was told about.
bool take_back(Session& s, int n) {
    if (s.plies < n) return false;
    const i32 r = GAME.R;
    i8 pl[100], wyj[4];
    std::memcpy(pl, POS.PL, sizeof pl);
    std::memcpy(wyj, POS.WYJ, sizeof wyj);
    Side mover = s.toMove == Side::White ? Side::Black : Side::White;
    for (int k = 0; k < n; ++k) {
        if (!s.policy.history_undo(mover)) {
            GAME.R = r;
            std::memcpy(POS.PL, pl, sizeof pl);
            std::memcpy(POS.WYJ, wyj, sizeof wyj);
            return false;
        }
        mover = mover == Side::White ? Side::Black : Side::White;
    }
    if (n % 2 != 0) s.toMove = s.toMove == Side::White ? Side::Black : Side::White;
    s.plies -= n;
    s.analysed = false;
    return true;
}

// A take-back that is not carried out.  An interface of the newer protocol
// is told, so that it can keep its position where the engine's is; the
// engine's own sessions never had error lines.
void refuse_take_back(Session& s, const char* why) {
    if (s.protocol2) std::fprintf(s.out, "Error (%s): %s\n", why, s.command);
}

// "remove": the last two plies, one of each side, so the same side is on
// move afterwards.
Next cmd_remove(Session& s) {
    // A build whose own command set has no take-back ignores the word in the
    // engine's own sessions, as it always has; an interface of the newer
    // protocol cannot know that, and is served like any other.
    if (!s.policy.history_remove && !s.protocol2) return Next::Read;
    if (!take_back(s, 2)) refuse_take_back(s, "cannot take back");
    return Next::Read;
}

Next cmd_quit(Session&) { return Next::Quit; }

// ---- Commands of the newer protocol version ----------------------------

// The rest of the line after its first word, blanks skipped.
const char* argument(const Session& s) {
    const char* p = std::strstr(s.line, s.command) + std::strlen(s.command);
    while (*p == ' ' || *p == '\t') ++p;
    return p;
}

Next cmd_protover(Session& s) {
    // The interface states its protocol version; from 2 on it waits for the
    // features, and "done=1" ends its wait at once.
    if (std::strtol(argument(s), nullptr, 10) < 2) return Next::Read;
    s.protocol2 = true;
    std::fputs(protover_features(announced_name(s.policy, program_invocation_short_name)).c_str(), s.out);
    return Next::Read;
}

Next cmd_force(Session& s) {
    s.biale = s.czarne = 'c';
    return Next::Read;
}

Next cmd_go(Session& s) {
    if (s.gameOver) return Next::Read;      // the game has ended; "new" starts one
    if (s.movedOnWhite) return Next::Read;  // "white" has started the engine already
    // The engine takes the side to move, with the clock the interface last
    // gave it, and moves as the engine's own command for that colour would.
    const Side side = s.toMove;
    s.engineTakes(side);
    if (s.haveTime) (side == Side::White ? GAME.TB : GAME.TC) = s.lastTime;
    if (side == Side::White) engine_moves<Side::White>(s);
    else engine_moves<Side::Black>(s);
    return Next::Read;
}

Next cmd_ping(Session& s) {
    // Lines are carried out one by one, so everything sent before the "ping"
    // is done when it is read.
    char word[LINE_SIZE];
    if (first_word(argument(s), word)) std::fprintf(s.out, "pong %s\n", word);
    else std::fputs("pong\n", s.out);
    return Next::Read;
}

Next cmd_setboard(Session& s) {
    FenPosition fen;
    std::string error;
    if (!parse_fen(argument(s), fen, error)) {
        std::fprintf(s.out, "Error (bad FEN): %s\n", error.c_str());
        return Next::Read;
    }
    // A new game from this position: the engine waits in force mode for the
    // interface to say who plays what.
    std::memcpy(POS.PL, fen.pl, sizeof POS.PL);
    std::memcpy(POS.WYJ, fen.wyj, sizeof POS.WYJ);
    s.biale = s.czarne = 'c';
    s.toMove = fen.toMove;
    s.gameOver = false;
    open_record();
    s.policy.history_set_up(fen.toMove);
    game_starts(s);
    return Next::Read;
}

Next cmd_result(Session& s) {
    s.biale = s.czarne = 'c';
    s.gameOver = true;
    return Next::Read;
}

Next cmd_undo(Session& s) {
    // Only while the engine plays neither side, as interfaces send it.
    if (!s.playsNeither()) refuse_take_back(s, "command not legal now");
    else if (!take_back(s, 1)) refuse_take_back(s, "cannot take back");
    return Next::Read;
}

// ---- Time, depth, output and analysis ----------------------------------

// "level MPS BASE INC": moves per time control (0: the whole game), the base
// time in minutes or minutes:seconds, the increment in seconds.
Next cmd_level(Session& s) {
    const char* p = argument(s);
    char* end;
    const long mps = std::strtol(p, &end, 10);
    if (end == p) return Next::Read;
    p = end;
    std::strtol(p, &end, 10);  // the base time: the clock comes with "time"
    if (end == p) return Next::Read;
    p = end;
    if (*p == ':') std::strtol(p + 1, const_cast<char**>(&p), 10);
    const double inc = std::strtod(p, &end);
    s.tc.movesPerControl = mps > 0 && mps < 10000 ? static_cast<int>(mps) : 0;
    s.tc.incrementMs = end != p && inc > 0 && inc < 1e6 ? static_cast<long>(inc * 1000) : 0;
    s.tc.perMoveMs = -1;
    return Next::Read;
}

// "st N": N seconds per move.
Next cmd_st(Session& s) {
    char* end;
    const double secs = std::strtod(argument(s), &end);
    if (end != argument(s) && secs > 0 && secs < 1e6) s.tc.perMoveMs = static_cast<long>(secs * 1000);
    return Next::Read;
}

// "sd N": the engine searches no deeper than N plies.
Next cmd_sd(Session& s) {
    const long n = std::strtol(argument(s), nullptr, 10);
    CONTROL.depthCap = n > 0 ? static_cast<int>(n < 99 ? n : 99) : 0;
    return Next::Read;
}

Next cmd_post(Session&) {
    CONTROL.post = true;
    return Next::Read;
}

Next cmd_nopost(Session&) {
    CONTROL.post = false;
    return Next::Read;
}

// "analyze": think about the position for the side to move without end;
// moves, take-backs and new positions go on being accepted.
Next cmd_analyze(Session& s) {
    if (!s.policy.analyse) return Next::Read;
    s.analysing = true;
    s.analysed = false;
    s.biale = s.czarne = 'c';
    s.gameOver = false;
    return Next::Read;
}

Next cmd_exit(Session& s) {
    s.analysing = false;
    return Next::Read;
}

// "?" and "." are answered while the engine thinks; arriving otherwise they
// have nothing to act on.
Next cmd_nothing(Session&) { return Next::Read; }

// "option NAME=VALUE": the engine's one option switches the hard limit.
Next cmd_option(Session& s) {
    const char* p = argument(s);
    const std::size_t n = std::strlen(HARD_LIMIT_OPTION);
    if (std::strncmp(p, HARD_LIMIT_OPTION, n) == 0 && p[n] == '=')
        s.hardLimit = std::strtol(p + n + 1, nullptr, 10) != 0;
    return Next::Read;
}

// The commands, tested in this order; the first that applies runs and every
// other line is ignored (it stays logged).  A word is compared whole with
// the line's first word; a line command is recognised by the line's first
// characters, whatever follows them.
// `keepsStart`: the command leaves a start made by "white" standing (see
// Session::movedOnWhite).
struct Command {
    const char* text;
    bool lineStart;
    Next (*run)(Session&);
    bool keepsStart;
};

constexpr Command COMMANDS[] = {
    {"new", false, cmd_new, false},
    {"white", false, cmd_white, true},
    {"black", false, cmd_black, false},
    {"time", false, cmd_time, true},
    {"usermove", true, cmd_usermove, false},
    {"remove", false, cmd_remove, false},
    {"quit", false, cmd_quit, true},
    // The newer protocol version.
    {"protover", false, cmd_protover, true},
    {"force", false, cmd_force, false},
    {"go", false, cmd_go, false},
    {"ping", false, cmd_ping, true},
    {"setboard", false, cmd_setboard, false},
    {"result", false, cmd_result, false},
    {"undo", false, cmd_undo, false},
    {"level", false, cmd_level, true},
    {"st", false, cmd_st, true},
    {"sd", false, cmd_sd, true},
    {"post", false, cmd_post, true},
    {"nopost", false, cmd_nopost, true},
    {"analyze", false, cmd_analyze, false},
    {"exit", false, cmd_exit, false},
    {"option", false, cmd_option, true},
    {"?", false, cmd_nothing, true},
    {".", false, cmd_nothing, true},
};

// Commands of the newer protocol version that the engine knows and that
// change nothing: it never thinks on the opponent's time, plays no variant
// but chess and has no book to show.
constexpr const char* KNOWN_WITHOUT_EFFECT[] = {
    "accepted", "rejected", "otim", "hard", "easy", "random", "computer", "name", "rating",
    "ics", "draw", "hint", "bk", "pause", "resume", "memory", "cores", "egtpath", "nps", "xboard",
};

bool applies(const Command& c, const Session& s) {
    if (c.lineStart) return std::strncmp(s.line, c.text, std::strlen(c.text)) == 0;
    return std::strcmp(s.command, c.text) == 0;
}

}  // namespace

namespace {

// Analysis of the current position, when it has not run to its end yet: it
// runs until the interface sends the next command.
void analyse_now(Session& s) {
    s.analysed = analyse(s.policy, s.toMove, {listen_in_analysis, &s});
    std::fflush(s.out);
}

bool known_without_effect(const char* word) {
    for (const char* w : KNOWN_WITHOUT_EFFECT)
        if (std::strcmp(w, word) == 0) return true;
    return false;
}

}  // namespace

// The start-up lines of the xboard protocol, each written and flushed on its
// own.
void announce(const BuildPolicy& policy, std::FILE* out) {
    for (const char* const* f = policy.features; *f; ++f) {
        std::fputs(*f, out);
        std::fflush(out);
    }
}

int protocol_loop(const BuildPolicy& policy, std::FILE* in, std::FILE* out, std::FILE* log,
                  LoopOptions options) {
    Input input(in);
    Session s(policy, out, log, input);
    s.hardLimit = options.hardLimit;
    // The first command tells the protocol: "uci" switches to UCI for the
    // whole session; anything else is xboard's, which hears the engine's
    // features first.
    bool announced = false;
    bool speaksUci = false;
    for (;;) {
        std::fflush(out);
        // Analysis runs until the next command.  A command already waiting
        // on live input is taken first; from a file, where the next command
        // is always there, the analysis gets its first stretch of nodes.
        if (s.analysing && !s.analysed && !(input.live() ? input.poll(false) : input.ended()))
            analyse_now(s);
        if (!input.next(s.line)) break;  // end of input: as "quit"
        if (s.line[0] == '\n') continue;
        const bool hasWord = first_word(s.line, s.command);
        if (hasWord && !announced) {
            if (std::strcmp(s.command, "uci") == 0) {
                log_line(log, s.line);
                uci_session(policy, input, out, log, options.hardLimit);
                speaksUci = true;
                break;
            }
            announce(policy, out);
            announced = true;
        }
        if (hasWord && std::strcmp(s.command, "xboard") == 0) continue;
        log_line(log, s.line);
        if (!hasWord) continue;  // only blanks: logged, nothing to do
        Next next = Next::Read;
        bool known = false;
        for (const Command& c : COMMANDS) {
            if (applies(c, s)) {
                next = c.run(s);
                if (!c.keepsStart) s.movedOnWhite = false;
                known = true;
                break;
            }
        }
        // An interface of the newer protocol version is told about a word
        // the engine does not know; the engine's own sessions never were.
        if (!known && s.protocol2 && !known_without_effect(s.command))
            std::fprintf(out, "Error (unknown command): %s\n", s.command);
        if (next == Next::Quit) break;
    }
    // A session without a command still saw the features, as at start-up.
    if (!announced && !speaksUci) announce(policy, out);
    std::fflush(out);
    if (log) std::fclose(log);
    if (GAME.zapisparti) {
        std::fclose(GAME.zapisparti);
        GAME.zapisparti = nullptr;
    }
    return 0;
}

}  // namespace morvelak
