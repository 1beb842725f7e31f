// The xboard command loop shared by the three builds.
//
// The loop reads one command line at a time, logs its beginning to
// "zapiswinbord.txt", applies the opponent's moves, lets the engine answer
// and keeps the game record "zapisparti.txt".  The engine moves on "white"
// or "go" or in answer to an opponent move, never on the opponent's time.
// While it thinks it keeps listening (driver/input.hpp): "?" asks for the
// move now; "quit", "force", "new", "result" and "exit" take the search back
// without a move; every other line waits until the move has been sent.  A
// search also stops at the hard limit of its move (driver/time_limit.hpp),
// so that the engine never loses on time.
//
// Two command sets meet here.  The engine's own ("new", "white", "black",
// "time", "usermove", "remove", "quit") gives the engine a colour with
// "white" / "black" and plays as soon as it is that colour's turn.  The
// newer protocol version, which engine-match runners and most interfaces
// speak, never names colours: it puts the engine in force mode ("force",
// "setboard", "result"), sends the moves, and starts the engine with "go" on
// whichever side is to move; "ping", "undo", "protover", the time control
// ("level", "st", "sd"), "post" / "nopost" and analysis ("analyze", ".",
// "exit") complete it.  Both work in one session, and a session of the
// engine's own commands alone runs exactly as it always did.
//
// What differs between the builds (the features they announce, the unit of
// "time", the layout of the game history, whether "remove" exists, the key
// window, the evaluation set-up, the computer-move routines, analysis) is
// handed to the loop as a BuildPolicy; the loop itself exists once.
#pragma once

#include <cstdio>
#include <string>

#include "driver/bench.hpp"
#include "engine/position/types.hpp"

namespace morvelak {

// Everything a build plugs into the shared start-up and command loop.
struct BuildPolicy {
    // Lines announced at start-up, each written and flushed on its own;
    // terminated by a null pointer.
    const char* const* features;
    // Position keys (m31): at start-up the random generator is seeded and
    // fill_keys fills the key table and empties the key path; before every
    // move push_key puts the position into the game part of the key path,
    // key_window[0..10], which a search taken back leaves as it found it.
    // All null: no keys.
    u32* key_window;
    void (*push_key)();
    void (*fill_keys)();
    // "time" arrives in centiseconds; TB/TC receive value / time_divisor.
    unsigned time_divisor;
    // The list rebuild (skroctablice with the build's material scale) and the
    // evaluation set-up (wstawstan).  "Preparation" runs eval_setup, then
    // rebuild; start-up runs them the other way round (WART must be filled
    // before the first set-up reads it).
    void (*rebuild)();
    void (*eval_setup)();
    // The engine's move for White / Black: makes it, writes the engine's part
    // of the record and puts its text into the 4 characters given; false when
    // the side has no legal move (nothing changed).
    bool (*computer_white)(char* ruchkomputera);
    bool (*computer_black)(char* ruchkomputera);
    // Game history.  history_new starts it ("new"); history_after_ply runs
    // after every ply made in the game, the engine's and the opponent's;
    // history_remove is the build's take-back of a full move; null marks a
    // build whose own command set has no "remove" (the word is then ignored
    // in the engine's own sessions).  The loop takes "remove" back ply by ply
    // through history_undo instead, all or nothing, so that the side to move
    // always follows and a take-back the history cannot make is refused as a
    // whole.
    void (*history_new)();
    void (*history_after_ply)(Side mover);
    void (*history_remove)(Side engine);
    // Told the opponent's move just before it is made (origin square, the
    // rook's for castling; destination or castling code); may be null.
    void (*note_opponent_move)(Side mover, int from, int x2);

    // ---- For the interfaces that speak the newer protocol version ----

    // The name announced as "myname".  Null: made from the program's file
    // name, "morvelak28" giving "MORVELAK 28".
    const char* name = nullptr;
    // "setboard": the history starts again from the position set up, with
    // `toMove` to move.
    void (*history_set_up)(Side toMove) = nullptr;
    // "undo": takes back the last ply, made by `mover`, in the history and on
    // the board.  Returns false, changing nothing, when there is none to take
    // back.
    bool (*history_undo)(Side mover) = nullptr;

    // ---- Thinking under the interface's control ----

    // A game starts ("new", a position set up): the depth control forgets
    // the depth the last game reached.  May be null.
    void (*new_game)() = nullptr;
    // Analysis of the current position with `toMove` to move, until CONTROL
    // stops it or the build's deepest search is done; thinking lines carry
    // the real time and node count.  Null: the build cannot analyse.
    void (*analyse)(Side toMove) = nullptr;

    // The node counter of the search under way (the analysis status line).
    u32 (*nodes)() = nullptr;

    // The build's search of a bench position ("morvelakNN bench").
    BenchSearch bench = nullptr;
};

// Size of the line buffer: 255 characters and the terminating zero.
inline constexpr int LINE_SIZE = 256;
// The log keeps at most this many characters of each line.
inline constexpr int LOG_CHARS = 20;

inline constexpr const char* BOARD_FILE = "plansza1.txt";
inline constexpr const char* RECORD_FILE = "zapisparti.txt";
inline constexpr const char* LOG_FILE = "zapiswinbord.txt";

// Runs the command loop on `in` / `out` until "quit" or the end of input,
// logging to `log` (may be null: no log).  Closes the log and the record
// file before it returns 0.
// How the session starts.  `hardLimit`: the hard time limit per move is on
// (the engine option "Hard time limit" can still switch it either way).
struct LoopOptions {
    bool hardLimit = true;
};

int protocol_loop(const BuildPolicy& policy, std::FILE* in, std::FILE* out, std::FILE* log,
                  LoopOptions options = {});

// ---- Pieces of the loop, exposed for the tests ---------------------------

// Reads one line into line[LINE_SIZE], newline included.  A line longer than
// 255 characters keeps its first 255 and the rest, up to and including its
// newline, is read and dropped, so it can never pose as the next command.
// A last line without a newline is kept as it is.  Returns false only when
// the input has ended before any character was read.
bool read_line(std::FILE* in, char* line);

// Copies the first word of `line` (words are separated by white space, the
// carriage return of a CR LF line included) into `word`, which must hold
// LINE_SIZE characters.  Returns false for a line with no word.
bool first_word(const char* line, char* word);

// Writes the beginning of `line` to the log: up to and including its newline
// but never more than LOG_CHARS characters, so a longer line leaves the log
// without a line break and the next logged line continues it.  Flushed at
// once; a null log is skipped.
void log_line(std::FILE* log, const char* line);

// The move text of a "usermove" line: the characters from column 9 on (the
// word and one separator precede them) up to the next white space, into
// text[LINE_SIZE].  Empty when the line is shorter.
void usermove_text(const char* line, char* text);

// Looks the opponent's move text up among the legal moves of side `mover`
// in the current position (lists rebuilt).  Accepts 4 characters, or 5 with
// a final "q" on a move that promotes; a promotion without a letter is to a
// queen too (the only promotion this engine knows).  Returns true and the
// move on success.
bool find_opponent_move(Side mover, const char* text, Move& move);

// Plays the move `text` of side `mover` in the game, as an opponent's move is
// played: the lists prepared, the key window pushed, the move made, written
// to the record when `recorded`, and stored in the history.  Returns false,
// changing nothing, when it is not a legal move here.
bool play_move(const BuildPolicy& p, Side mover, const char* text, bool recorded);

// The unsigned number of a "time" line, read from its sixth character on
// (blanks first).  Returns false, leaving value alone, when there is none.
// A value beyond 32 bits is held at the largest 32-bit value.
bool time_value(const char* line, u32& value);

// The result line for `side` having no legal move in the current position:
// mate when its king is attacked, otherwise stalemate.
const char* no_move_result(Side side);

// The name announced to the interface: the build's own, or made from the
// program's file name ("morvelak26" gives "MORVELAK 26"; anything else
// "MORVELAK").
std::string announced_name(const BuildPolicy& policy, const char* programFile);

// The answer to "protover 2": the features, the engine's option, and
// "done=1" last so that the interface stops waiting for more.
std::string protover_features(const std::string& name);

// The option that switches the hard time limit off ("option NAME=0").
inline constexpr const char* HARD_LIMIT_OPTION = "Hard time limit";

}  // namespace morvelak
