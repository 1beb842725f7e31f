// Command streams through start-up and the real command loop, judged line by
// line.  The loop reads its input through a stream whose every read hands out
// one line: when the loop asks for the next line, the one before has been
// carried out completely, and the umpire looks at what the engine printed,
// at its board, and at whom it was asked to move for.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <vector>

#include "driver/game.hpp"
#include "driver/history.hpp"
#include "driver/startup.hpp"
#include "engine/position/position.hpp"
#include "engine/search/control.hpp"
#include "tests/common/referee.hpp"
#include "tests/fuzz/board_text.hpp"
#include "tests/fuzz/harness.hpp"

namespace morvelak::test::fuzz {
namespace {

using referee::Position;

// ---- Positions a session starts from and sets up ---------------------------

// A board file and the position "new" must give with it: its own, or the
// standard one when the file is refused.
struct BoardChoice {
    const char* text;
    const char* fen;
};
constexpr const char* START_FEN = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
const BoardChoice BOARDS[] = {
    {"wsghkgsw\npppppppp\n........\n........\n........\n........\nPPPPPPPP\nWSGHKGSW\n3 3 0 0\n", START_FEN},
    {"w...k..w\npppppppp\n........\n........\n........\n........\nPPPPPPPP\nW...K..W\n3 3 0 0\n",
     "r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R w KQkq - 0 1"},
    {"....k...\n.P......\n........\n........\n........\n........\n.p......\n....K...\n0 0 0 0\n",
     "4k3/1P6/8/8/8/8/1p6/4K3 w - - 0 1"},
    {"........\n........\n........\n...kK...\n........\n........\n........\n........\n0 0 0 0\n", START_FEN},
    {"....k...\n........\n........\n........\n........\n........\n........\n....W..K\n0 0 0 0\n", START_FEN},
    {"k", START_FEN},
};

const char* const GOOD_FENS[] = {
    START_FEN,
    "r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R b KQkq - 0 1",
    "4k3/1P6/8/8/8/8/1p6/4K3 w - - 0 1",
    "4k3/1P6/8/8/8/8/1p6/4K3 b - - 0 1",
    "4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1",
    "4k3/8/8/8/3Pp3/8/8/4K3 b - d3 0 1",
    "7k/6Q1/6K1/8/8/8/8/8 b - - 0 1",
    "7k/5Q2/6K1/8/8/8/8/8 b - - 0 1",
    "8/8/8/8/8/6k1/6q1/6K1 w - - 0 1",
    "r2nk2r/1P6/8/8/8/8/8/R3K2R w KQkq - 0 1",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
    "4k3/8/8/8/8/8/4P3/4K3 b - - 0 1",
    "k7/8/1K6/8/8/8/8/7R w - - 0 1",
};

const char* const BAD_FENS[] = {
    "", "8/8/8/8 w", "8/8/8/3kK3/8/8/8/8 w - - 0 1", "4k3/4R3/8/8/8/8/8/4K3 w - - 0 1",
    "P3k3/8/8/8/8/8/8/4K3 w - - 0 1", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR x KQkq - 0 1",
    "4k3/8/8/8/8/8/8/4K3 w X - 0 1", "4k3/8/8/8/8/8/8/4K3 w - e9 0 1", "4k3/8/8/8/8/8/8/4K3 w - - a b",
    "qqqqkqqq/qqqqqqqq/8/8/8/8/8/4K3 w - - 0 1", "9/8/8/8/8/8/8/8 w", "4k3/8/8/8/8/8/8/4K2X w - - 0 1",
};

const char* const BOOK =
    "e2e4e7e5g1f3b8c6f1b5a7a6\ne2e4c7c5g1f3d7d6\nd2d4d7d5c2c4e7e6\ne2e4e7e5\ne2e4 e7e5\n"
    "g1f3d7d5\r\nxxxx\n";

// ---- What the engine printed ---------------------------------------------

bool starts(const std::string& s, const char* prefix) { return s.compare(0, std::strlen(prefix), prefix) == 0; }

bool result_line(const std::string& l) {
    return starts(l, "1-0 {") || starts(l, "0-1 {") || starts(l, "1/2-1/2 {");
}

// Lines the interface acts on; thinking, progress and status lines are not.
std::vector<std::string> protocol_lines(const std::string& out) {
    std::vector<std::string> v;
    std::size_t a = 0;
    while (a < out.size()) {
        std::size_t b = out.find('\n', a);
        if (b == std::string::npos) b = out.size();
        const std::string l = out.substr(a, b - a);
        a = b + 1;
        if (l.empty() || starts(l, "stat01:")) continue;
        if (std::isdigit(static_cast<unsigned char>(l[0])) && !result_line(l)) continue;
        v.push_back(l);
    }
    return v;
}

// ---- The umpire ----------------------------------------------------------

enum class Plays { Unassigned, Neither, White, Black };

// The words of the command loop's table (besides the "usermove" lines), and
// those it knows to have no effect; any other word draws "Error (unknown
// command)" from an interface of the newer protocol.
const char* const TABLE[] = {"new", "white", "black", "time", "remove", "quit", "protover", "force",
                             "go", "ping", "setboard", "result", "undo", "level", "st", "sd", "post",
                             "nopost", "analyze", "exit", "option", "?", "."};
const char* const WITHOUT_EFFECT[] = {"accepted", "rejected", "otim", "hard", "easy", "random", "computer",
                                      "name", "rating", "ics", "draw", "hint", "bk", "pause", "resume",
                                      "memory", "cores", "egtpath", "nps", "xboard"};
// Commands of the table after which a "go" still finds the start "white"
// made.
const char* const KEEPS_START[] = {"white", "time", "quit", "protover", "ping", "level", "st", "sd",
                                   "post", "nopost", "option", "?", "."};

bool one_of(const std::string& w, const char* const* list, std::size_t n) {
    return std::find_if(list, list + n, [&](const char* x) { return w == x; }) != list + n;
}

// A take-back may be refused only with fewer plies than asked for, or in a
// game longer than every build's history.
constexpr std::size_t HISTORY_REACH = 250;

// Where the engine's part of a record line, starting at `at`, may end:
// "D MOVE SCORE S.T" (D, S digits, T one digit, SCORE maybe negative), for
// White with an optional " N" node count after it, for Black with the line's
// end.  A White part followed straight by the engine's Black part (it played
// both colours in a row) runs its last digits into Black's depth, so every
// split of those digits is a possible end.
std::vector<std::size_t> engine_part_ends(const std::string& s, std::size_t at, const std::string& move, bool white) {
    std::size_t i = at;
    auto number = [&](bool sign) {
        if (sign && i < s.size() && s[i] == '-') ++i;
        const std::size_t b = i;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
        return i > b;
    };
    if (!number(false) || s.compare(i++, 1, " ") != 0 || s.compare(i, 4, move) != 0) return {};
    i += 4;
    if (s.compare(i++, 1, " ") != 0 || !number(true) || s.compare(i++, 1, " ") != 0) return {};
    // Seconds and one digit of tenths.
    if (!number(false) || s.compare(i++, 1, ".") != 0 || i >= s.size() ||
        !std::isdigit(static_cast<unsigned char>(s[i++])))
        return {};
    if (!white) {
        if (s.compare(i, 1, "\n") != 0) return {};
        return {i + 1};
    }
    std::vector<std::size_t> ends{i};
    if (s.compare(i, 1, " ") == 0)
        for (std::size_t j = i + 1; j < s.size() && std::isdigit(static_cast<unsigned char>(s[j])); ++j)
            ends.push_back(j + 1);
    return ends;
}

class Umpire {
public:
    Umpire(const Engine& e, const Position& boardFile)
        : engine_(e), boardFile_(boardFile), cur_(boardFile) {}

    std::string failure;
    Verdict verdict;

    const Position& position() const { return cur_; }
    bool real() const { return engine_.real; }
    bool analyses() const { return engine_.policy->analyse != nullptr; }

    void fail(const std::string& why) {
        if (failure.empty()) failure = "line " + std::to_string(verdict.lines) + " \"" + printable(line_) + "\": " + why;
    }

    void line_sent(const std::string& raw) {
        ++verdict.lines;
        // What the loop sees: its first 255 characters (the newline only if
        // it fits), up to a NUL.
        line_ = raw.substr(0, LINE_SIZE - 1);
        line_ = line_.substr(0, std::strlen(line_.c_str()));
        if (trace_) std::fprintf(stderr, "%ld> %s\n", verdict.lines, printable(line_).c_str());
        verdict.transcript += raw;
        if (!raw.empty() && raw.back() != '\n') verdict.transcript += '\n';
        asks_.clear();
    }

    // The engine is asked for a move of `white` on its current board.
    void engine_asked(bool white) { asks_.push_back({white, squares_of(POS.PL)}); }

    // The line has been carried out; `out` is what it printed.  Inside a
    // running search (a line read ahead during analysis) the board is the
    // search's and is not looked at.
    void line_done(const std::string& out, bool insideSearch) {
        if (trace_) std::fprintf(stderr, "%s", out.c_str());
        out_ = protocol_lines(out);
        at_ = 0;
        // The first command with a word hears the build's start-up features
        // before its own answer (the engine waits to see whether the
        // interface speaks UCI).
        char first[LINE_SIZE];
        if (!announced_ && first_word(line_.c_str(), first)) {
            for (const char* const* f = engine_.policy->features; *f; ++f, ++at_)
                if (at_ >= out_.size() || out_[at_] + "\n" != *f) fail("the start-up features");
            announced_ = true;
        }
        // A session that ends without a single command still hears the
        // features, after the last line's own output.
        if (ending_ && !announced_) {
            std::size_t count = 0;
            for (const char* const* f = engine_.policy->features; *f; ++f) ++count;
            bool heard = out_.size() >= count;
            std::size_t k = heard ? out_.size() - count : 0;
            for (const char* const* f = engine_.policy->features; heard && *f; ++f, ++k)
                heard = out_[k] + "\n" == *f;
            if (heard) out_.resize(out_.size() - count);
            else fail("the start-up features at the end of the input");
            announced_ = true;
        }
        log_rule();
        carry_out();
        for (; at_ < out_.size(); ++at_) {
            const std::string& l = out_[at_];
            if (protocol2_ && unknown_ && l == "Error (unknown command): " + word_) continue;
            fail("unexpected output \"" + printable(l) + "\"");
        }
        if (!asks_.empty()) fail("the engine was asked for a move nobody wanted");
        if (!insideSearch && squares_of(POS.PL) != cur_.squares())
            fail("the engine's board is not the interface's " + cur_.fen() + "; engine " + fen_of(POS.PL, POS.WYJ, cur_.white_to_move()));
    }

    // Analysis begins: of the interface's position, with its side to move.
    void analysis_starts(bool white) {
        if (white != cur_.white_to_move()) fail("analysis of the side not on move");
        if (squares_of(POS.PL) != cur_.squares()) fail("analysis of another position than the interface's");
    }

    // The engine has read the end of its input.
    void input_ended() { ending_ = true; }

    void check_files() {
        std::ifstream lf(LOG_FILE, std::ios::binary);
        std::stringstream ls;
        ls << lf.rdbuf();
        const std::string got = ls.str();
        if (got != log_) {
            const std::size_t at =
                std::mismatch(got.begin(), got.end(), log_.begin(), log_.end()).first - got.begin();
            const std::size_t from = at > 60 ? at - 60 : 0;
            fail("the log is not the lines received, from byte " + std::to_string(at) + ":\n" +
                 printable(got.substr(from, 120)) + "\nexpected\n" + printable(log_.substr(from, 120)));
        }
        const bool exists = std::filesystem::exists(RECORD_FILE);
        if (exists != recordOpen_) {
            fail(exists ? "a record file without a game" : "no record file");
            return;
        }
        if (!exists) return;
        std::ifstream rf(RECORD_FILE, std::ios::binary);
        std::stringstream rs;
        rs << rf.rdbuf();
        const std::string r = rs.str();
        std::set<std::pair<std::size_t, std::size_t>> tried;
        std::size_t reached = 0;
        if (!record_matches(r, 0, 0, tried, reached))
            fail("the record is not the game's from " + std::to_string(reached) + ":\n" +
                 printable(r.substr(reached > 80 ? reached - 80 : 0, 200)));
    }

    // Whether the record from `at` holds the parts from `k` on, exactly to
    // its end.
    bool record_matches(const std::string& r, std::size_t at, std::size_t k,
                        std::set<std::pair<std::size_t, std::size_t>>& tried, std::size_t& reached) const {
        reached = std::max(reached, at);
        if (k == record_.size()) return at == r.size();
        if (!tried.insert({at, k}).second) return false;
        const Part& p = record_[k];
        std::vector<std::size_t> ends;
        if (p.kind == Part::Text) {
            if (r.compare(at, p.text.size(), p.text) == 0) ends.push_back(at + p.text.size());
        } else if (!engine_.real) {
            const std::string t = "[" + p.text + "]" + (p.kind == Part::EngineBlack ? "\n" : "");
            if (r.compare(at, t.size(), t) == 0) ends.push_back(at + t.size());
        } else {
            ends = engine_part_ends(r, at, p.text, p.kind == Part::EngineWhite);
        }
        for (std::size_t e : ends)
            if (record_matches(r, e, k + 1, tried, reached)) return true;
        return false;
    }

    static std::string printable(const std::string& s) {
        std::string o;
        for (unsigned char c : s) {
            if (c == '\n') o += "\\n";
            else if (c < 32 || c > 126) {
                char b[8];
                std::snprintf(b, sizeof b, "\\x%02x", c);
                o += b;
            } else o += static_cast<char>(c);
        }
        return o;
    }

private:
    struct Ask {
        bool white;
        std::array<char, 64> board;
    };
    struct Part {
        enum Kind { Text, EngineWhite, EngineBlack } kind;
        std::string text;
    };

    const Engine& engine_;
    // MORVELAK_FUZZ_TRACE set: every line and its answer on standard error.
    const bool trace_ = std::getenv("MORVELAK_FUZZ_TRACE") != nullptr;
    Position boardFile_;
    Position cur_;
    std::vector<Position> past_;  // the position before every ply of the game
    Plays plays_ = Plays::Unassigned;
    bool gameOver_ = false, movedOnWhite_ = false, protocol2_ = false, analysing_ = false;
    std::string line_, word_;
    bool unknown_ = false;
    bool announced_ = false;  // the start-up features have been seen
    bool ending_ = false;     // the input has ended: the last line's output is complete
    std::vector<std::string> out_;
    std::size_t at_ = 0;
    std::vector<Ask> asks_;
    std::string log_;
    bool recordOpen_ = false;
    std::vector<Part> record_;

    // The next output line, or empty when there is none.
    std::string peek() const { return at_ < out_.size() ? out_[at_] : std::string(); }

    void log_rule() {
        if (line_.empty() || line_[0] == '\n') return;
        char w[LINE_SIZE];
        if (first_word(line_.c_str(), w) && std::strcmp(w, "xboard") == 0) return;
        for (std::size_t i = 0; i < line_.size() && i < static_cast<std::size_t>(LOG_CHARS); ++i) {
            log_ += line_[i];
            if (line_[i] == '\n') break;
        }
    }

    std::string argument() const {
        std::size_t p = line_.find(word_) + word_.size();
        while (p < line_.size() && (line_[p] == ' ' || line_[p] == '\t')) ++p;
        return line_.substr(p);
    }

    void record(Part::Kind kind, const std::string& text) {
        if (recordOpen_) record_.push_back({kind, text});
    }
    void start_record() {
        recordOpen_ = true;
        record_.clear();
    }

    void play(const std::string& move, bool byEngine) {
        const bool white = cur_.white_to_move();
        past_.push_back(cur_);
        if (!cur_.play(move)) {
            fail("not a legal move: " + move + " in " + past_.back().fen());
            past_.pop_back();
            return;
        }
        if (byEngine) {
            ++verdict.engineMoves;
            record(white ? Part::EngineWhite : Part::EngineBlack, move);
        } else {
            ++verdict.opponentMoves;
            if (!analysing_) record(Part::Text, white ? move.substr(0, 4) + " " : " " + move.substr(0, 4) + " \n");
        }
    }

    // The engine plays the side on move: it is asked once, in the
    // interface's position, and sends a legal move; without one it sends
    // the result instead, unasked.
    bool engine_turn() {
        const auto moves = cur_.legal_moves();
        if (moves.empty()) {
            const bool white = cur_.white_to_move();
            const char* expected = !cur_.in_check(white) ? "1/2-1/2 {Stalemate}"
                                   : white             ? "0-1 {Black mates}"
                                                       : "1-0 {White mates}";
            if (peek() != expected) fail(std::string("expected the result \"") + expected + "\"");
            else ++at_;
            return false;
        }
        if (asks_.empty()) {
            fail("the engine was not asked to move");
            return false;
        }
        const Ask ask = asks_.front();
        asks_.erase(asks_.begin());
        if (ask.white != cur_.white_to_move()) fail("the engine was asked to move for the side not on move");
        if (ask.board != cur_.squares()) fail("the engine was asked to move in another position than the interface's");
        const std::string l = peek();
        if (l.size() != 9 || !starts(l, "move ")) {
            fail("expected a move, got \"" + printable(l) + "\"");
            return false;
        }
        ++at_;
        play(l.substr(5), true);
        return true;
    }

    void take_back(std::size_t n) {
        const std::string error = "Error (cannot take back): " + word_;
        const bool said = peek() == error;
        if (said) ++at_;
        const bool moved = squares_of(POS.PL) != cur_.squares();
        if (said || (!protocol2_ && !moved)) {
            if (past_.size() >= n && past_.size() < HISTORY_REACH)
                fail("a take-back of " + std::to_string(n) + " refused with " + std::to_string(past_.size()) + " plies played");
            if (!protocol2_ && said) fail("an error line in the engine's own session");
            ++verdict.refusals;
            return;
        }
        if (past_.size() < n) {
            fail("took back more than was played");
            return;
        }
        cur_ = past_[past_.size() - n];
        past_.resize(past_.size() - n);
        ++verdict.takeBacks;
    }

    void carry_out() {
        if (line_.empty() || line_[0] == '\n') return;
        char w[LINE_SIZE];
        if (!first_word(line_.c_str(), w)) return;
        word_ = w;
        unknown_ = false;
        if (word_ == "xboard") return;
        const bool usermove = line_.compare(0, 8, "usermove") == 0;
        const bool inTable = usermove || one_of(word_, TABLE, std::size(TABLE));
        const bool known = inTable || one_of(word_, WITHOUT_EFFECT, std::size(WITHOUT_EFFECT));
        const bool keepsStart = !usermove && one_of(word_, KEEPS_START, std::size(KEEPS_START));
        if (usermove) {
            opponent_move();
        } else if (word_ == "new") {
            plays_ = analysing_ ? Plays::Neither : Plays::Black;
            gameOver_ = false;
            cur_ = boardFile_;
            past_.clear();
            start_record();
        } else if (word_ == "white") {
            plays_ = Plays::White;
            gameOver_ = false;
            movedOnWhite_ = cur_.white_to_move() && engine_turn();
        } else if (word_ == "black") {
            plays_ = Plays::Black;
            gameOver_ = false;
        } else if (word_ == "remove") {
            if (engine_.policy->history_remove || protocol2_) take_back(2);
        } else if (word_ == "protover") {
            if (std::strtol(argument().c_str(), nullptr, 10) >= 2) {
                protocol2_ = true;
                int features = 0;
                while (starts(peek(), "feature ")) ++at_, ++features;
                if (features != 3) fail("the features of protover 2");
            }
        } else if (word_ == "force") {
            plays_ = Plays::Neither;
        } else if (word_ == "go") {
            if (!gameOver_ && !movedOnWhite_) {
                plays_ = cur_.white_to_move() ? Plays::White : Plays::Black;
                engine_turn();
            }
        } else if (word_ == "ping") {
            if (starts(peek(), "pong")) ++at_;
            else fail("no pong");
        } else if (word_ == "setboard") {
            set_up();
        } else if (word_ == "result") {
            plays_ = Plays::Neither;
            gameOver_ = true;
        } else if (word_ == "undo") {
            if (plays_ != Plays::Neither) {
                if (protocol2_) {
                    if (peek() == "Error (command not legal now): undo") ++at_;
                    else fail("undo while the engine plays a side was not refused");
                }
            } else {
                take_back(1);
            }
        } else if (word_ == "analyze") {
            if (analyses()) {
                analysing_ = true;
                plays_ = Plays::Neither;
                gameOver_ = false;
            }
        } else if (word_ == "exit") {
            analysing_ = false;
        }
        unknown_ = !known;
        if (inTable && !keepsStart) movedOnWhite_ = false;
    }

    void opponent_move() {
        char text[LINE_SIZE];
        usermove_text(line_.c_str(), text);
        const std::string move = text;
        if (plays_ == Plays::Unassigned) return;
        const bool engineSide = plays_ == Plays::White || plays_ == Plays::Black;
        const bool forWhite = engineSide ? plays_ == Plays::Black : cur_.white_to_move();
        Position trial = cur_;
        const bool legal = forWhite == cur_.white_to_move() && trial.play(move);
        if (!legal) {
            if (peek() == "Illegal move: " + move) ++at_;
            else fail("a move the interface may not make was not refused");
            ++verdict.refusals;
            return;
        }
        if (starts(peek(), "Illegal move: ")) {
            fail("a legal move of the side on move was refused");
            ++at_;
            return;
        }
        play(move, false);
        if (engineSide) engine_turn();
    }

    void set_up() {
        if (starts(peek(), "Error (bad FEN): ")) {
            ++at_;
            return;
        }
        const std::string fen = argument();
        Position p;
        if (!p.set_fen(fen)) {
            fail("a FEN the referee cannot read was accepted");
            return;
        }
        const auto& sq = p.squares();
        if (std::count(sq.begin(), sq.end(), 'K') != 1 || std::count(sq.begin(), sq.end(), 'k') != 1 ||
            p.in_check(!p.white_to_move()))
            fail("an unplayable position was set up");
        cur_ = p;
        past_.clear();
        plays_ = Plays::Neither;
        gameOver_ = false;
        start_record();
    }
};

// ---- Where the lines come from ------------------------------------------

class LineSource {
public:
    virtual ~LineSource() = default;
    // The next line, with its newline (the last one may lack it); false at
    // the end of the stream.
    virtual bool next(std::string& line) = 0;
};

class RawLines : public LineSource {
public:
    explicit RawLines(const std::string& bytes) : bytes_(bytes) {}
    bool next(std::string& line) override {
        if (at_ >= bytes_.size()) return false;
        std::size_t end = bytes_.find('\n', at_);
        end = end == std::string::npos ? bytes_.size() : end + 1;
        line = bytes_.substr(at_, end - at_);
        at_ = end;
        return true;
    }

private:
    const std::string& bytes_;
    std::size_t at_ = 0;
};

class Generated : public LineSource {
public:
    Generated(Chooser& c, const Umpire& u, int lines)
        : c_(c), u_(u), left_(lines), marathon_(!u.real() && c.one_in(8) ? lines / 2 : 0) {}
    bool next(std::string& line) override {
        if (left_-- <= 0 || c_.done()) return false;
        // A real build hears of a clock first: with none at all its search
        // has no time limit and goes to whatever depth quick moves raised.
        if (u_.real() && first_) line = "time 20\n";
        else line = marathon_-- > 0 ? marathon() : make();
        first_ = false;
        return true;
    }

private:
    Chooser& c_;
    const Umpire& u_;
    int left_;
    // Lines at the start of a session that play a long game, far past what
    // the builds' histories hold, with take-backs in it.
    int marathon_;
    bool first_ = true;

    std::string marathon() {
        const unsigned r = c_.below(100);
        if (r < 2) return "undo\n";
        if (r < 3) return "remove\n";
        if (r < 5) return "go\n";
        if (r < 6) return "force\n";
        return "usermove " + legal_move(u_.position()) + "\n";
    }

    template <std::size_t N>
    const char* pick(const char* const (&list)[N]) {
        return list[c_.below(static_cast<unsigned>(N))];
    }
    std::string pick(const std::vector<std::string>& v) { return v[c_.below(static_cast<unsigned>(v.size()))]; }

    std::string number() {
        if (u_.real()) {
            const char* small[] = {"1", "2", "5", "10", "20", "50", "100"};
            return pick(small);
        }
        const char* any[] = {"0", "1", "50", "3000", "360000", "4294967295", "99999999999", "-5", "x", ""};
        return pick(any);
    }

    std::string junk(std::size_t n, bool anyByte) {
        std::string s;
        const std::string alphabet = "abcdefgh12345678qnbrkx ";
        for (std::size_t i = 0; i < n; ++i)
            s += anyByte ? static_cast<char>(c_.below(256)) : alphabet[c_.below(static_cast<unsigned>(alphabet.size()))];
        std::replace(s.begin(), s.end(), '\n', '\r');  // one line at a time
        return s;
    }

    std::string legal_move(const Position& p) {
        const auto moves = p.legal_moves();
        if (moves.empty()) return "e2e4";
        std::string m = pick(moves);
        const char piece = p.at((m[1] - '1') * 8 + (m[0] - 'a'));
        const bool promotes = (piece == 'P' && m[3] == '8') || (piece == 'p' && m[3] == '1');
        if (promotes) {
            const char* letters[] = {"", "q", "n", "r", "b"};
            m += pick(letters);
        }
        return m;
    }

    std::string fen() {
        switch (c_.below(4)) {
        case 0: return u_.position().fen();
        case 1: return pick(GOOD_FENS);
        case 2: {
            std::string f = pick(GOOD_FENS);
            for (unsigned k = 0, n = 1 + c_.below(3); k < n && !f.empty(); ++k) {
                const std::size_t at = c_.below(static_cast<unsigned>(f.size()));
                switch (c_.below(3)) {
                case 0: f.erase(at, 1); break;
                case 1: f.insert(at, 1, "/12345678KQRBNPkqrbnp wb-"[c_.below(25)]); break;
                default: f[at] = "/12345678KQRBNPkqrbnp wb-"[c_.below(25)]; break;
                }
            }
            return f;
        }
        default: return pick(BAD_FENS);
        }
    }

    std::string make() {
        const Position& p = u_.position();
        const unsigned r = c_.below(100);
        if (r < 34) return "usermove " + legal_move(p) + (c_.one_in(20) ? "\r\n" : "\n");
        if (r < 40) return "usermove " + legal_move(p.other_side_to_move()) + "\n";
        if (r < 44) {
            const char* odd[] = {"usermove\n", "usermovee2e4\n", "usermove e1g1\n", "usermove e8c8\n",
                                 "usermove e2e4 extra\n", " usermove e2e4\n"};
            if (c_.one_in(2)) return pick(odd);
            return "usermove " + junk(c_.below(8), false) + "\n";
        }
        if (r < 50) return "go\n";
        if (r < 54) return "force\n";
        if (r < 58) return "white\n";
        if (r < 62) return "black\n";
        if (r < 64) return "new\n";
        if (r < 68) return "undo\n";
        if (r < 71) return "remove\n";
        if (r < 77) return (c_.one_in(3) ? "otim " : "time ") + number() + "\n";
        if (r < 82) return "setboard " + fen() + "\n";
        if (r < 83) return "ping " + number() + "\n";
        if (r < 84) {
            const char* results[] = {"result 1-0 {White mates}\n", "result *\n", "result\n"};
            return pick(results);
        }
        if (r < 86) {
            const char* hello[] = {"protover 2\n", "protover 1\n", "protover\n", "xboard\n", "accepted ping\n"};
            return pick(hello);
        }
        if (r < 88) {
            const char* settings[] = {"level 0 1 0\n", "level 40 0:30 0\n", "level 0 2 1.5\n", "level x\n",
                                      "st 0.05\n", "st x\n", "sd 1\n", "sd 3\n", "sd -4\n", "post\n", "nopost\n",
                                      "option Hard time limit=1\n", "option nonsense\n", "easy\n", "hard\n"};
            return pick(settings);
        }
        if (r < 89) {
            const char* asks[] = {"?\n", ".\n", "analyze\n", "exit\n", "draw\n", "hint\n", "bk\n"};
            return pick(asks);
        }
        if (r < 90 && c_.one_in(8)) return "quit\n";
        // Junk: empty and blank lines, binary, unknown words, over-long lines
        // (some beginning like a command).
        switch (c_.below(6)) {
        case 0: return "\n";
        case 1: return "  \t \r\n";
        case 2: return junk(c_.below(40), true) + "\n";
        case 3: return std::string(pick(KNOWN_WORDS)) + junk(c_.below(4), false) + "\n";
        case 4: return "usermove " + legal_move(p) + std::string(250 + c_.below(400), c_.one_in(2) ? ' ' : 'x') + "\n";
        default: {
            // Whatever follows the 255th character is dropped, a command too.
            const char* tails[] = {"new\n", " quit\n", "\n", "usermove e2e4\n"};
            return std::string(255 + c_.below(400), static_cast<char>('a' + c_.below(26))) + pick(tails);
        }
        }
    }

    static constexpr const char* KNOWN_WORDS[] = {"new", "go", "white", "undo", "time", "frobnicate",
                                                  "usermov", "NEW"};
};

// ---- Running a stream through the loop -----------------------------------

// The stream the loop reads: every read hands out (the rest of) one line.
// Asked for more, the line before has been carried out.
struct Feed {
    LineSource* source;
    Umpire* umpire;
    std::FILE* out;
    char** buf;
    std::size_t* len;
    std::string line;
    std::size_t pos = 0;
    std::size_t mark = 0;  // output of the current line starts here
    bool have = false, checked = false;

    void finish(bool insideSearch) {
        if (!have || checked) return;
        std::fflush(out);
        umpire->line_done(std::string(*buf + mark, *len - mark), insideSearch);
        mark = *len;
        checked = true;
    }
};

Feed* feed = nullptr;
const BuildPolicy* real = nullptr;

ssize_t feed_read(void* cookie, char* buf, size_t size) {
    Feed& f = *static_cast<Feed*>(cookie);
    // A last line without its newline is still being read: the end of the
    // input is what the loop waits for.
    if (f.have && f.pos == f.line.size() && (f.line.empty() || f.line.back() != '\n')) return 0;
    if (f.pos == f.line.size()) {
        f.finish(CONTROL.analysis);
        if (!f.source->next(f.line)) return 0;
        std::fflush(f.out);
        f.mark = *f.len;
        f.umpire->line_sent(f.line);
        f.pos = 0;
        f.have = true;
        f.checked = false;
    }
    const std::size_t n = std::min(size, f.line.size() - f.pos);
    std::memcpy(buf, f.line.data() + f.pos, n);
    f.pos += n;
    return static_cast<ssize_t>(n);
}

bool asked_white(char* r) {
    feed->umpire->engine_asked(true);
    return real->computer_white(r);
}
bool asked_black(char* r) {
    feed->umpire->engine_asked(false);
    return real->computer_black(r);
}
void analysing(Side toMove) {
    // The line that started the analysis has been carried out.
    feed->finish(false);
    feed->umpire->analysis_starts(toMove == Side::White);
    real->analyse(toMove);
}

Verdict play(const Engine& engine, LineSource& source, Umpire& umpire) {
    BuildPolicy wrapped = *engine.policy;
    wrapped.computer_white = asked_white;
    wrapped.computer_black = asked_black;
    if (wrapped.analyse) wrapped.analyse = analysing;
    real = engine.policy;
    if (engine.reset) engine.reset();
    // Every session as in a fresh process: no clock yet, no depth limit, the
    // depth control at the start of a game.
    GAME.TB = GAME.TC = 0;
    CONTROL.depthCap = 0;
    CONTROL.post = true;
    if (engine.policy->new_game) engine.policy->new_game();
    std::filesystem::remove(RECORD_FILE);
    GAME.zapisparti = nullptr;

    char* buf = nullptr;
    std::size_t len = 0;
    std::FILE* out = open_memstream(&buf, &len);
    Feed f{&source, &umpire, out, &buf, &len, {}};
    feed = &f;
    cookie_io_functions_t io{feed_read, nullptr, nullptr, nullptr};
    std::FILE* in = fopencookie(&f, "r", io);
    std::FILE* log = start_up(wrapped);
    std::fflush(out);
    f.mark = len;
    if (squares_of(POS.PL) != umpire.position().squares()) umpire.fail("start-up did not load the board file's position");
    protocol_loop(wrapped, in, out, log);
    umpire.input_ended();
    f.finish(false);
    std::fclose(in);
    std::fclose(out);
    std::free(buf);
    feed = nullptr;
    umpire.check_files();
    Verdict v = umpire.verdict;
    v.failure = umpire.failure;
    return v;
}

Position start_of(const BoardChoice& b) {
    Position p;
    p.set_fen(b.fen);
    return p;
}

void write(const char* name, const std::string& text) {
    std::filesystem::remove_all(name);
    std::ofstream(name, std::ios::binary) << text;
}

}  // namespace

Verdict generated_session(const Engine& engine, Chooser& chooser, int maxLines) {
    const BoardChoice& board = BOARDS[chooser.one_in(2) ? 0 : chooser.below(std::size(BOARDS))];
    write(BOARD_FILE, board.text);
    write("k2.txt", engine.real ? BOOK : "");
    Umpire umpire(engine, start_of(board));
    Generated source(chooser, umpire, maxLines);
    return play(engine, source, umpire);
}

Verdict raw_session(const Engine& engine, const std::string& bytes) {
    write(BOARD_FILE, BOARDS[0].text);
    write("k2.txt", engine.real ? BOOK : "");
    Umpire umpire(engine, start_of(BOARDS[0]));
    RawLines source(bytes);
    return play(engine, source, umpire);
}

}  // namespace morvelak::test::fuzz
