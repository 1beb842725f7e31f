#include "util/boardfile.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "util/regular_file.hpp"

namespace morvelak {

namespace {
// The 64 playing squares in file order, rank 8 first.
constexpr i8 ORDER[64] = {
    81, 82, 83, 84, 85, 86, 87, 88, 71, 72, 73, 74, 75, 76, 77, 78,
    61, 62, 63, 64, 65, 66, 67, 68, 51, 52, 53, 54, 55, 56, 57, 58,
    41, 42, 43, 44, 45, 46, 47, 48, 31, 32, 33, 34, 35, 36, 37, 38,
    21, 22, 23, 24, 25, 26, 27, 28, 11, 12, 13, 14, 15, 16, 17, 18,
};
}  // namespace

i8 code_of_letter(char c) {
    switch (c) {
    case 'K': return W_KING;
    case 'P': return W_PAWN;
    case 'S': return W_KNIGHT;
    case 'G': return W_BISHOP;
    case 'W': return W_ROOK;
    case 'H': return W_QUEEN;
    case 'k': return B_KING;
    case 'p': return B_PAWN;
    case 's': return B_KNIGHT;
    case 'g': return B_BISHOP;
    case 'w': return B_ROOK;
    case 'h': return B_QUEEN;
    default: return EMPTY;
    }
}

void load_text(const char* text, i8* pl, i8* wyj) {
    const char* p = text;
    // Squares: a carriage return counts as a square like any other character,
    // so text-mode reading (CR LF -> LF) is done by the caller.
    for (int n = 0; n < 64;) {
        if (*p == '\0') {
            pl[ORDER[n++]] = EMPTY;  // the file ended early: the rest is empty
            continue;
        }
        const char c = *p++;
        if (c == '\n') continue;
        pl[ORDER[n++]] = code_of_letter(c);
    }
    // Four decimal numbers, each stored as its low eight bits.
    for (int k = 0; k < 4; ++k) {
        while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\v' || *p == '\f') ++p;
        char* end = nullptr;
        const long v = std::strtol(p, &end, 10);
        if (end == p) {
            for (; k < 4; ++k) wyj[k] = 0;  // no more numbers
            break;
        }
        wyj[k] = static_cast<i8>(static_cast<unsigned long>(v) & 0xFF);
        p = end;
    }
}

namespace {

// What a board without exactly one king of each colour lacks or has too
// many of.
std::string kings_problem(int white, int black) {
    if (white == 0 && black == 0) return "has no kings";
    auto count = [](int n, const char* colour) {
        return n == 0 ? std::string("has no ") + colour + " king"
                      : "has " + std::to_string(n) + " " + colour + " kings";
    };
    return white != 1 ? count(white, "white") : count(black, "black");
}

}  // namespace

bool load(const char* name, i8* pl, i8* wyj) {
    std::string why;
    std::FILE* f = open_regular_file(name, &why);
    if (!f) {
        if (why == "not found") std::fprintf(stderr, "cannot open board file %s; position unchanged\n", name);
        else std::fprintf(stderr, "board file %s cannot be read (%s); position unchanged\n", name, why.c_str());
        return false;
    }
    // Only the beginning of the file is ever needed: 64 squares and four
    // numbers, with whatever spacing.
    std::string text;
    char buf[512];
    std::size_t n;
    while (text.size() < BOARD_FILE_BYTES &&
           (n = std::fread(buf, 1, std::min(sizeof buf, BOARD_FILE_BYTES - text.size()), f)) > 0)
        text.append(buf, n);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) {
        std::fprintf(stderr, "board file %s cannot be read; position unchanged\n", name);
        return false;
    }
    // Text mode: a CR LF pair reads as a single LF.
    std::string clean;
    clean.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        if (text[i] == '\0') break;  // a NUL ends the text
        clean.push_back(text[i]);
    }
    // The engine finds each king through its piece list: a board without
    // exactly one king of each colour is no position it can play, and is
    // refused like a missing file.
    i8 board[100], bytes[4];
    std::memcpy(board, pl, sizeof board);
    load_text(clean.c_str(), board, bytes);
    int whiteKings = 0, blackKings = 0;
    for (int s = 11; s <= 88; ++s) {
        if (!on_board(s)) continue;
        whiteKings += board[s] == W_KING;
        blackKings += board[s] == B_KING;
    }
    if (whiteKings != 1 || blackKings != 1) {
        std::fprintf(stderr, "board file %s %s; position unchanged\n", name,
                     kings_problem(whiteKings, blackKings).c_str());
        return false;
    }
    std::memcpy(pl, board, sizeof board);
    std::memcpy(wyj, bytes, sizeof bytes);
    return true;
}

}  // namespace morvelak
