#include "driver/book.hpp"

#include <array>
#include <cstdio>
#include <cstring>

#include "driver/game.hpp"
#include "engine/position/position.hpp"
#include "util/regular_file.hpp"

namespace morvelak {

namespace {

// The initial position in board encoding, castling rights aside: every line
// of the book is replayed from here.
constexpr std::array<i8, 100> make_start() {
    std::array<i8, 100> b{};
    for (int s = 0; s < 100; ++s) b[s] = BORDER;
    constexpr i8 back[8] = {W_ROOK, W_KNIGHT, W_BISHOP, W_QUEEN, W_KING, W_BISHOP, W_KNIGHT, W_ROOK};
    for (int f = 1; f <= 8; ++f) {
        b[10 + f] = back[f - 1];
        b[20 + f] = W_PAWN;
        for (int r = 3; r <= 6; ++r) b[10 * r + f] = EMPTY;
        b[70 + f] = B_PAWN;
        b[80 + f] = static_cast<i8>(back[f - 1] + 8);  // the same piece in black
    }
    return b;
}
constexpr std::array<i8, 100> start = make_start();

// The book read as text: a carriage return right before a line feed is
// dropped, so a book saved with either kind of line end reads alike.  The
// file itself is opened in binary and every byte counted, so the offset of a
// character is exact and seeking back to it reads the same character again.
// Only a regular file is read (a FIFO or a device under the book's name
// counts as no book), and only its first BOOK_BYTES: the scan of a look-up
// always ends.
class BookText {
public:
    explicit BookText(const char* name) : f_(open_regular_file(name)) {}
    ~BookText() {
        if (f_) std::fclose(f_);
    }
    BookText(const BookText&) = delete;
    BookText& operator=(const BookText&) = delete;

    bool is_open() const { return f_ != nullptr; }

    // Offset of the next character to be read.
    long offset() const { return pos_; }

    // The next character (0..255), CR LF read as '\n', or EOF.
    int get() {
        if (pos_ >= BOOK_BYTES) return EOF;
        const int ch = std::getc(f_);
        if (ch == EOF) return EOF;
        ++pos_;
        if (ch == '\r' && pos_ < BOOK_BYTES) {
            const int next = std::getc(f_);
            if (next == '\n') {
                ++pos_;
                return '\n';
            }
            if (next != EOF) std::ungetc(next, f_);
        }
        return ch;
    }

    bool seek(long off) {
        if (std::fseek(f_, off, SEEK_SET) != 0) return false;
        pos_ = off;
        return true;
    }

private:
    std::FILE* f_;
    long pos_ = 0;
};

// A square from two characters of move text, computed in 8 bits like every
// square conversion of the engine ("e2" is 25).  Anything that is not a
// square of the 100-byte board comes out below 0 or above 99.
int square_of(int file, int rank) {
    return static_cast<i8>(static_cast<u8>(10 * rank + file - 64));
}

// Reads up to and including the next line feed; false at the end of the file.
bool skip_line(BookText& in) {
    for (;;) {
        const int ch = in.get();
        if (ch == EOF) return false;
        if (ch == '\n') return true;
    }
}

// Scans the whole book and collects the offset of every continuation whose
// line, replayed for `depth` plies, stands on exactly the board PL.
int collect(BookText& in, int depth, long* offsets) {
    int ile = 0;
    for (;;) {
        // 1. Replay the line's first `depth` moves.  The replay knows no
        //    rules: a piece is lifted and set down, castling also carries the
        //    rook across the king; promotions and en-passant captures are not
        //    recognised, so a line with one matches the game only before it.
        i8 deska[100];
        std::memcpy(deska, start.data(), 100);
        int c = 0;
        bool tooShort = false;
        while (c < depth) {
            int read[4];
            for (int k = 0; k < 4; ++k) {
                read[k] = in.get();
                if (read[k] == EOF) return ile;
                if (read[k] == '\n') {  // the line ends before the game's ply
                    tooShort = true;
                    break;
                }
            }
            if (tooShort) break;
            const int from = square_of(read[0], read[1]);
            const int to = square_of(read[2], read[3]);
            // Text that is out of step with the four-character moves (a
            // blank, a stray letter) gives such squares; the rest of the
            // book is then not trusted at all.
            if (from < 0 || from > 99 || to < 0 || to > 99) return ile;
            if (from == 15 && to == 17) { deska[18] = EMPTY; deska[16] = W_ROOK; }
            if (from == 15 && to == 13) { deska[11] = EMPTY; deska[14] = W_ROOK; }
            if (from == 85 && to == 87) { deska[88] = EMPTY; deska[86] = B_ROOK; }
            if (from == 85 && to == 83) { deska[81] = EMPTY; deska[84] = B_ROOK; }
            deska[to] = deska[from];
            deska[from] = EMPTY;
            ++c;
        }
        if (tooShort) continue;  // its line feed is already read

        // 2. Same board as the game: the rest of the line starts with a
        //    candidate, unless the line ends right here.
        if (std::memcmp(deska, POS.PL, 100) == 0) {
            const long at = in.offset();
            const int znak = in.get();
            if (znak == EOF) return ile;
            if (znak == '\n') continue;
            offsets[ile++] = at;
            if (ile == BOOK_CANDIDATES) return ile;  // full: later lines are ignored
        }
        if (!skip_line(in)) return ile;
    }
}

}  // namespace

int book_candidates(const char* name, int depth, long* offsets) {
    BookText in(name);
    if (!in.is_open()) return 0;
    return collect(in, depth, offsets);
}

int ksiazka2(char* ruch, int depth, const char* name) {
    BookText in(name);
    // Reseeded on every look-up, so two look-ups within the same second
    // choose alike among the same candidates.
    GAME.random.seed_from_clock();
    if (!in.is_open()) return 0;  // no book: nothing to offer
    long tablica[BOOK_CANDIDATES];  // the file offsets of the continuations found
    const int ile = collect(in, depth, tablica);
    if (ile == 0) return 0;
    const int k = static_cast<int>(GAME.random.random31() % static_cast<u32>(ile));
    char read[4] = {0, 0, 0, 0};
    if (in.seek(tablica[k])) {
        // Four characters as they stand.  A continuation cut short by the
        // end of the file leaves zeros, which match no move of the caller's.
        for (char& ch : read) {
            const int z = in.get();
            if (z == EOF) break;
            ch = static_cast<char>(z);
        }
    }
    std::memcpy(ruch, read, 4);
    return 1;
}

int ksiazka2(char* ruch, int depth) { return GAME.bookOn ? ksiazka2(ruch, depth, "k2.txt") : 0; }

}  // namespace morvelak
