#include "driver/protocol.hpp"

#include <cctype>
#include <cstring>
#include <initializer_list>  // the move generator's loops over brace lists

#include "driver/game.hpp"
#include "driver/startup.hpp"
#include "engine/position/legal.hpp"
#include "engine/search/keys.hpp"
#include "engine/search/makemove.hpp"

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
    if (!attacked_by<Opp<S>>(PL, king_square<S>())) return "1/2-1/2 {Stalemate}\n";
    return S == Side::White ? "0-1 {Black mates}\n" : "1-0 {White mates}\n";
}

}  // namespace

bool find_opponent_move(Side mover, const char* text, Move& move) {
    return mover == Side::White ? find_move<Side::White>(text, move)
                                : find_move<Side::Black>(text, move);
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

// ---- The loop ----------------------------------------------------------

namespace {

// State of one run of the loop.
struct Session {
    const BuildPolicy& policy;
    std::FILE* out;
    std::FILE* log;
    char line[LINE_SIZE] = {};
    char command[LINE_SIZE] = {};
    // Who plays which colour: 'k' the engine, 'c' the opponent; 0 until the
    // first "new", "white" or "black".
    char biale = 0;
    char czarne = 0;
    char ruchkomputera[4] = {};
};

enum class Next { Read, Quit };

// Before every engine move and before an opponent move is applied: phase and
// weights from the game so far, then lists, values and rights from the board.
void prepare(const BuildPolicy& p) {
    p.eval_setup();
    p.rebuild();
}

template <Side S>
bool has_legal_move() {
    Move ru[MAX_MOVES];
    return generate_legal<S>(ru) > 0;
}

// The engine plays side S now.  Without a legal move it announces the end of
// the game (mate or stalemate) instead of a move, and nothing changes.
template <Side S>
void engine_moves(Session& s) {
    const BuildPolicy& p = s.policy;
    prepare(p);
    if (!has_legal_move<S>()) {
        std::fputs(result_without_move<S>(), s.out);
        return;
    }
    if (p.position_keys) push_key();  // the position about to be searched
    const bool moved = S == Side::White ? p.computer_white(s.ruchkomputera)
                                        : p.computer_black(s.ruchkomputera);
    if (!moved) {
        std::fputs(result_without_move<S>(), s.out);
        return;
    }
    const char* m = s.ruchkomputera;
    std::fprintf(s.out, "move %c%c%c%c\n", m[0], m[1], m[2], m[3]);
    p.history_after_ply(S);
}

// The opponent has played side S's move (the text of the current line); the
// engine answers with the other side.  A move that is not legal here is
// refused and changes nothing.
template <Side S>
void opponent_moves(Session& s) {
    const BuildPolicy& p = s.policy;
    prepare(p);
    char text[LINE_SIZE];
    usermove_text(s.line, text);
    Move m{};
    if (!find_move<S>(text, m)) {
        std::fprintf(s.out, "Illegal move: %s\n", text);
        return;
    }
    if (p.note_opponent_move) p.note_opponent_move(S, origin_of<S>(m), m.x2);
    if (p.position_keys) push_key();  // the position before the opponent's move
    i8 zap[8];
    zrobruch<S>(zap, m.nr, m.x2);
    // White's move opens a record line, Black's closes it.
    if constexpr (S == Side::White)
        record("%c%c%c%c ", text[0], text[1], text[2], text[3]);
    else
        record(" %c%c%c%c \n", text[0], text[1], text[2], text[3]);
    p.history_after_ply(S);
    engine_moves<Opp<S>>(s);
}

Next cmd_new(Session& s) {
    s.biale = 'c';
    s.czarne = 'k';
    load_start_position();
    if (zapisparti) std::fclose(zapisparti);
    zapisparti = std::fopen(RECORD_FILE, "w");  // null: the game goes unrecorded
    s.policy.history_new();
    return Next::Read;
}

Next cmd_white(Session& s) {
    s.biale = 'k';
    s.czarne = 'c';
    engine_moves<Side::White>(s);
    return Next::Read;
}

Next cmd_black(Session& s) {
    s.biale = 'c';
    s.czarne = 'k';
    return Next::Read;
}

Next cmd_time(Session& s) {
    u32 v;
    if (!time_value(s.line, v)) return Next::Read;
    v /= s.policy.time_divisor;
    // Only the engine's own clock is kept; before any side is assigned the
    // value goes to Black's, where "new" leaves the engine.
    (s.biale == 'k' ? TB : TC) = v;
    return Next::Read;
}

Next cmd_usermove(Session& s) {
    // Which colour the move is for follows from the side assignment; before
    // one exists the line is ignored.
    if (s.czarne == 'k') opponent_moves<Side::White>(s);
    else if (s.biale == 'k') opponent_moves<Side::Black>(s);
    return Next::Read;
}

Next cmd_remove(Session& s) {
    if (!s.policy.history_remove) return Next::Read;  // a build without take-back
    s.policy.history_remove(s.biale == 'k' ? Side::White : Side::Black);
    return Next::Read;
}

Next cmd_quit(Session&) { return Next::Quit; }

// The commands, tested in this order; the first that applies runs and every
// other line is ignored (it stays logged).  A word is compared whole with
// the line's first word; a line command is recognised by the line's first
// characters, whatever follows them.
struct Command {
    const char* text;
    bool lineStart;
    Next (*run)(Session&);
};

constexpr Command COMMANDS[] = {
    {"new", false, cmd_new},
    {"white", false, cmd_white},
    {"black", false, cmd_black},
    {"time", false, cmd_time},
    {"usermove", true, cmd_usermove},
    {"remove", false, cmd_remove},
    {"quit", false, cmd_quit},
};

bool applies(const Command& c, const Session& s) {
    if (c.lineStart) return std::strncmp(s.line, c.text, std::strlen(c.text)) == 0;
    return std::strcmp(s.command, c.text) == 0;
}

}  // namespace

int protocol_loop(const BuildPolicy& policy, std::FILE* in, std::FILE* out, std::FILE* log) {
    Session s{policy, out, log};
    for (;;) {
        std::fflush(out);
        if (!read_line(in, s.line)) break;  // end of input: as "quit"
        if (s.line[0] == '\n') continue;
        const bool hasWord = first_word(s.line, s.command);
        if (hasWord && std::strcmp(s.command, "xboard") == 0) continue;
        log_line(log, s.line);
        if (!hasWord) continue;  // only blanks: logged, nothing to do
        Next next = Next::Read;
        for (const Command& c : COMMANDS) {
            if (applies(c, s)) {
                next = c.run(s);
                break;
            }
        }
        if (next == Next::Quit) break;
    }
    std::fflush(out);
    if (log) std::fclose(log);
    if (zapisparti) {
        std::fclose(zapisparti);
        zapisparti = nullptr;
    }
    return 0;
}

}  // namespace morvelak
