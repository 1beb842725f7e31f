// The choosers, the scratch folder, and the targets that read one file or
// one text: the board file, the book, FEN.
#include "tests/fuzz/harness.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "driver/book.hpp"
#include "engine/eval/m31/eval.hpp"
#include "engine/position/rebuild.hpp"
#include "driver/startup.hpp"
#include "engine/position/fen.hpp"
#include "engine/position/legal.hpp"
#include "tests/common/referee.hpp"
#include "tests/fuzz/board_text.hpp"
#include "engine/position/boardfile.hpp"

namespace morvelak::test::fuzz {

unsigned RandomChooser::below(unsigned n) {
    s_ ^= s_ << 13;
    s_ ^= s_ >> 7;
    s_ ^= s_ << 17;
    return static_cast<unsigned>((s_ >> 11) % n);
}

unsigned ByteChooser::below(unsigned n) {
    unsigned v = 0;
    for (unsigned span = 1; span < n; span <<= 8) {
        v = v << 8 | (p_ == end_ ? 0u : *p_++);
        if (span > (1u << 23)) break;
    }
    return v % n;
}

namespace {

std::filesystem::path scratch;

void remove_scratch() {
    std::error_code ec;
    if (!scratch.empty()) std::filesystem::remove_all(scratch, ec);
}

void write_file(const char* name, const std::string& bytes) {
    std::ofstream(name, std::ios::binary | std::ios::trunc) << bytes;
}

// Runs f with standard error sent nowhere: the loader explains every refusal
// there, thousands of times a second under a fuzzer.
template <class F>
void quietly(F f) {
    std::fflush(stderr);
    const int saved = ::dup(2);
    const int null = ::open("/dev/null", O_WRONLY);
    if (saved >= 0 && null >= 0) ::dup2(null, 2);
    f();
    std::fflush(stderr);
    if (saved >= 0) {
        ::dup2(saved, 2);
        ::close(saved);
    }
    if (null >= 0) ::close(null);
}

template <Side S>
std::vector<std::string> engine_moves() {
    Move ru[MAX_MOVES];
    const int a = generate_legal<S>(ru);
    std::vector<std::string> v;
    for (int b = 0; b < a; ++b) {
        char t[4];
        move_text<S>(ru[b], t);
        v.emplace_back(t, 4);
    }
    std::sort(v.begin(), v.end());
    return v;
}

// The engine's legal moves in the position POS against the referee's.
std::string compare_moves(const referee::Position& ref) {
    skroctablice(m31::SCALE);
    const std::vector<std::string> mine =
        ref.white_to_move() ? engine_moves<Side::White>() : engine_moves<Side::Black>();
    std::vector<std::string> theirs = ref.legal_moves();
    std::sort(theirs.begin(), theirs.end());
    if (mine == theirs) return "";
    std::string why = "the engine's legal moves differ from the referee's in " + ref.fen() + ": engine";
    for (const std::string& m : mine) why += " " + m;
    why += "; referee";
    for (const std::string& m : theirs) why += " " + m;
    return why;
}

int count_of(const std::array<char, 64>& sq, char c) { return static_cast<int>(std::count(sq.begin(), sq.end(), c)); }

bool kings_touch(const std::array<char, 64>& sq) {
    const int w = static_cast<int>(std::find(sq.begin(), sq.end(), 'K') - sq.begin());
    const int b = static_cast<int>(std::find(sq.begin(), sq.end(), 'k') - sq.begin());
    return std::abs(w % 8 - b % 8) <= 1 && std::abs(w / 8 - b / 8) <= 1;
}

}  // namespace

namespace {

std::string digits(Chooser& c) {
    const char* numbers[] = {"0", "1", "2", "3", "7", "255", "256", "-1", "36", "66", "99999999999", "x", ""};
    return numbers[c.below(13)];
}

// A random legal game of up to `plies` plies from the initial position.
std::vector<std::string> random_game(Chooser& c, int plies) {
    referee::Position p = referee::Position::start();
    std::vector<std::string> game;
    for (int k = 0; k < plies; ++k) {
        const auto moves = p.legal_moves();
        if (moves.empty()) break;
        game.push_back(moves[c.below(static_cast<unsigned>(moves.size()))]);
        p.play(game.back());
    }
    return game;
}

}  // namespace

std::string make_board_file(Chooser& c) {
    std::string s;
    const std::string letters = "KPSGWHkpsgwh.";
    const std::string stray = " \r\t\n.xNBRQ0123456789-";
    std::string squares(64, '.');
    for (int k = 0, n = static_cast<int>(c.below(20)); k < n; ++k)
        squares[c.below(64)] = letters[c.below(static_cast<unsigned>(letters.size()))];
    if (!c.one_in(8)) squares[c.below(64)] = 'K';
    if (!c.one_in(8)) squares[c.below(64)] = 'k';
    for (int r = 0; r < 8; ++r) {
        s += squares.substr(8 * r, 8);
        if (c.one_in(12)) s += stray[c.below(static_cast<unsigned>(stray.size()))];
        s += c.one_in(10) ? "\r\n" : "\n";
    }
    for (int k = 0, n = static_cast<int>(c.below(6)); k < n; ++k) s += digits(c) + (c.one_in(3) ? "\n" : " ");
    switch (c.below(12)) {
    case 0: s.resize(c.below(static_cast<unsigned>(s.size()) + 1)); break;
    case 1: s.insert(c.below(static_cast<unsigned>(s.size()) + 1), 1, '\0'); break;
    case 2: s += std::string(c.below(100000), c.one_in(2) ? ' ' : 'x'); break;
    case 3: for (char& ch : s) if (c.one_in(10)) ch = static_cast<char>(c.below(256)); break;
    default: break;
    }
    return s;
}

std::string make_book(Chooser& c) {
    std::string s;
    for (int line = 0, lines = static_cast<int>(c.below(30)); line < lines; ++line) {
        for (const std::string& m : random_game(c, static_cast<int>(c.below(12)))) s += m;
        switch (c.below(10)) {
        case 0: s.insert(c.below(static_cast<unsigned>(s.size()) + 1), 1, ' '); break;
        case 1: s += "\r"; break;
        case 2: s += static_cast<char>(c.below(256)); break;
        default: break;
        }
        if (!c.one_in(20)) s += "\n";
    }
    if (c.one_in(10)) s += std::string(c.below(200000), c.one_in(2) ? '\n' : 'e');
    return s;
}

std::string make_fen(Chooser& c) {
    if (c.one_in(4)) {
        // A game position, and its FEN bent a little.
        referee::Position p = referee::Position::start();
        for (const std::string& m : random_game(c, static_cast<int>(c.below(60)))) p.play(m);
        std::string f = p.fen();
        if (c.one_in(2)) f[c.below(static_cast<unsigned>(f.size()))] = "/12345678KQRBNPkqrbnp wb-"[c.below(25)];
        return f;
    }
    // Random placements: kings and up to 20 other pieces, any rights, any
    // en-passant square, either side to move.
    std::string sq(64, '.');
    const std::string pieces = "QRBNPqrbnp";
    sq[c.below(64)] = 'K';
    unsigned bk = c.below(64);
    while (sq[bk] != '.') bk = (bk + 1) % 64;
    sq[bk] = 'k';
    for (int k = 0, n = static_cast<int>(c.below(21)); k < n; ++k) {
        const unsigned at = c.below(64);
        if (sq[at] == '.') sq[at] = pieces[c.below(10)];
    }
    if (c.one_in(3)) sq[4] = 'K', sq[0] = 'R', sq[7] = 'R';
    std::string f = referee::fen_placement(sq);
    f += c.one_in(2) ? " w " : " b ";
    const char* rights[] = {"-", "KQkq", "K", "q", "Kk", "KQ", "kq"};
    f += rights[c.below(7)];
    f += " ";
    if (c.one_in(3)) f += std::string{static_cast<char>('a' + c.below(8)), c.one_in(2) ? '3' : '6'};
    else f += "-";
    return f + " 0 1";
}

void enter_scratch_folder() {
    char pattern[] = "/tmp/morvelak-fuzz-XXXXXX";
    if (!mkdtemp(pattern)) {
        std::perror("mkdtemp");
        std::abort();
    }
    scratch = pattern;
    std::filesystem::current_path(scratch);
    std::atexit(remove_scratch);
}

std::string check_board_file(const std::string& bytes) {
    std::filesystem::remove_all(BOARD_FILE);
    write_file(BOARD_FILE, bytes);
    std::memset(POS.PL, BORDER, sizeof POS.PL);
    bool loaded = false;
    quietly([&] { loaded = load_start_position(); });
    for (int s = 0; s < 100; ++s)
        if (!on_board(s) && POS.PL[s] != BORDER) return "the border ring was written at " + std::to_string(s);
    const std::array<char, 64> sq = squares_of(POS.PL);
    if (count_of(sq, 'K') != 1 || count_of(sq, 'k') != 1) return "a board without one king of each colour";
    if (!loaded) {
        i8 standard[100], wyj[4];
        std::memset(standard, BORDER, sizeof standard);
        load_text(STANDARD_BOARD, standard, wyj);
        if (std::memcmp(standard, POS.PL, sizeof standard) != 0 || std::memcmp(wyj, POS.WYJ, sizeof wyj) != 0)
            return "a refused board file did not give the standard position";
        return "";
    }
    if (kings_touch(sq)) return "a board file with the kings side by side was accepted";
    skroctablice(m31::SCALE);  // the rights the board allows, as before every move
    referee::Position ref;
    if (!ref.set_fen(fen_of(POS.PL, POS.WYJ, true))) return "the loaded board has no FEN";
    if (ref.in_check(false)) return "a board file with Black in check, White to move, was accepted";
    // Beyond 16 pieces a side the piece lists keep only the first ones,
    // and the engine does not move the others: no comparison there.
    int white = 0, black = 0;
    for (char c : sq) {
        if (c == '.') continue;
        (std::isupper(static_cast<unsigned char>(c)) ? white : black)++;
    }
    if (white > 16 || black > 16) return "";
    return compare_moves(ref);
}

std::string check_book(const std::string& bytes, Chooser& chooser) {
    std::filesystem::remove_all("k2.txt");
    write_file("k2.txt", bytes);
    // A few plies of a game from the initial position, as the book replays.
    referee::Position game = referee::Position::start();
    const int plies = static_cast<int>(chooser.below(5));
    for (int k = 0; k < plies; ++k) {
        const auto moves = game.legal_moves();
        game.play(moves[chooser.below(static_cast<unsigned>(moves.size()))]);
    }
    std::memset(POS.PL, BORDER, sizeof POS.PL);
    set_board(game, POS.PL);
    static long offsets[BOOK_CANDIDATES];
    const int n = book_candidates("k2.txt", plies, offsets);
    if (n < 0 || n > BOOK_CANDIDATES) return "candidate count " + std::to_string(n);
    const long size = static_cast<long>(bytes.size());
    for (int i = 0; i < n; ++i) {
        if (offsets[i] < 0 || offsets[i] >= size || offsets[i] >= BOOK_BYTES) return "a candidate outside the book";
        if (i > 0 && offsets[i] <= offsets[i - 1]) return "candidates out of order";
    }
    char ruch[4] = {'#', '#', '#', '#'};
    const int r = ksiazka2(ruch, plies);
    if (r != (n > 0 ? 1 : 0)) return "the look-up disagrees with its candidates";
    if (r == 0 && std::memcmp(ruch, "####", 4) != 0) return "a look-up without a move wrote one";
    return "";
}

std::string check_fen(const std::string& text) {
    FenPosition pos;
    std::string error;
    if (!parse_fen(text, pos, error)) {
        if (error.empty()) return "a FEN refused without a reason";
        return "";
    }
    referee::Position ref;
    if (!ref.set_fen(text)) return "a FEN the referee cannot read was accepted: " + text;
    if (squares_of(pos.pl) != ref.squares()) return "the board of an accepted FEN is not the FEN's: " + text;
    if ((pos.toMove == Side::White) != ref.white_to_move()) return "the side to move of an accepted FEN: " + text;
    const auto& sq = ref.squares();
    if (count_of(sq, 'K') != 1 || count_of(sq, 'k') != 1) return "an accepted FEN without one king a side: " + text;
    if (ref.in_check(!ref.white_to_move())) return "an accepted FEN with the side not to move in check: " + text;
    for (int f = 0; f < 8; ++f)
        if (std::toupper(static_cast<unsigned char>(sq[f])) == 'P' ||
            std::toupper(static_cast<unsigned char>(sq[56 + f])) == 'P')
            return "an accepted FEN with a pawn on the first or last rank: " + text;
    std::memcpy(POS.PL, pos.pl, sizeof POS.PL);
    std::memcpy(POS.WYJ, pos.wyj, sizeof POS.WYJ);
    return compare_moves(ref);
}

}  // namespace morvelak::test::fuzz
