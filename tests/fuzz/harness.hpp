// Hostile input for every text the engine reads: command streams through the
// real command loop, the board file, the book, FEN.  The same checks serve a
// deterministic random-stream runner (run by ctest) and the libFuzzer targets
// (built with clang, see the README): each target takes its choices from a
// Chooser, which draws them from a seeded generator or from the fuzzer's
// bytes.
//
// A command stream is judged line by line by an umpire that follows the game
// the way the interface sees it, with the tests' own referee:
//   - the engine is asked to move only for the side on move, in the position
//     the interface has, and every move it sends is legal there (promotions
//     to a queen only);
//   - an opponent move is accepted only when it is legal for the side on
//     move, and refused only when the engine plays that side or it is not
//     legal; a take-back goes back exactly as far as asked, or is refused;
//   - after every line the engine's board is the interface's board;
//   - the log and the game record hold exactly the lines they should, whole.
// Hangs are the runner's and the fuzzer's to notice (a watchdog, -timeout);
// crashes and sanitizer reports end the process.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "driver/protocol.hpp"

namespace morvelak::test::fuzz {

// Where the choices of one run come from.
class Chooser {
public:
    virtual ~Chooser() = default;
    // A number in [0, n); n >= 1.
    virtual unsigned below(unsigned n) = 0;
    // No more choices to give (the fuzzer's bytes are used up).
    virtual bool done() const = 0;
    bool one_in(unsigned n) { return below(n) == 0; }
};

// Choices from a seeded generator (xorshift): the same seed, the same run.
class RandomChooser : public Chooser {
public:
    explicit RandomChooser(std::uint64_t seed) : s_(seed * 0x9E3779B97F4A7C15ull + 1) {}
    unsigned below(unsigned n) override;
    bool done() const override { return false; }

private:
    std::uint64_t s_;
};

// Choices from the fuzzer's bytes, one byte per choice of up to 256 ways,
// two for more; zeros once the bytes are used up.
class ByteChooser : public Chooser {
public:
    ByteChooser(const std::uint8_t* data, std::size_t size) : p_(data), end_(data + size) {}
    unsigned below(unsigned n) override;
    bool done() const override { return p_ == end_; }

private:
    const std::uint8_t* p_;
    const std::uint8_t* end_;
};

// The build a command stream is played against.
struct Engine {
    const BuildPolicy* policy;
    // The stand-in's instant moves allow long sessions and any clock; a real
    // build gets short sessions and small clocks.
    bool real;
    const char* name;
    // Called before every session (the stand-in forgets its hook calls).
    void (*reset)() = nullptr;
};

// What a run found; `failure` is empty when every check held.
struct Verdict {
    std::string failure;
    std::string transcript;  // the lines sent, for reproducing a failure
    long lines = 0, engineMoves = 0, opponentMoves = 0, refusals = 0, takeBacks = 0;
};

// Works in a fresh temporary folder from now on (the engine reads and
// writes its files in the current one).
void enter_scratch_folder();

// A session of up to maxLines generated lines (legal and illegal moves for
// either side, colour and mode commands, take-backs, set-up positions good
// and bad, clocks, junk, binary and over-long lines) through start-up and the
// command loop.
Verdict generated_session(const Engine& engine, Chooser& chooser, int maxLines);

// The bytes themselves as the command stream, with the same checks.
Verdict raw_session(const Engine& engine, const std::string& bytes);

// The board file: `bytes` as "plansza1.txt", loaded as at start-up.  Empty
// when every check held, else what failed.
std::string check_board_file(const std::string& bytes);

// The book: `bytes` as "k2.txt", looked up in a few positions of a game
// chosen by `chooser`.
std::string check_book(const std::string& bytes, Chooser& chooser);

// FEN: `text` through the parser "setboard" uses; an accepted position must
// be one a game can have, and the engine's legal moves there must be the
// referee's.
std::string check_fen(const std::string& text);

// Texts for the three targets above, made from choices: mostly what the
// engine expects, bent in every way it may meet (shifted squares, stray and
// binary characters, CR LF, missing and huge numbers, over-long files).
std::string make_board_file(Chooser& chooser);
std::string make_book(Chooser& chooser);
std::string make_fen(Chooser& chooser);

}  // namespace morvelak::test::fuzz
