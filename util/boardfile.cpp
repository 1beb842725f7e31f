#include "util/boardfile.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "util/regular_file.hpp"

namespace morvelak {

void read_board_text(const char* text, BoardText& out) {
    const char* p = text;
    // Squares: a carriage return counts as a square like any other character,
    // so text-mode reading (CR LF -> LF) is done by the caller.
    for (int n = 0; n < 64;) {
        if (*p == '\0') {
            out.squares[n++] = NO_SQUARE;  // the file ended early: the rest is empty
            continue;
        }
        const char c = *p++;
        if (c == '\n') continue;
        out.squares[n++] = c;
    }
    // Four decimal numbers, each stored as its low eight bits.
    for (int k = 0; k < 4; ++k) {
        while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\v' || *p == '\f') ++p;
        char* end = nullptr;
        const long v = std::strtol(p, &end, 10);
        if (end == p) {
            for (; k < 4; ++k) out.numbers[k] = 0;  // no more numbers
            break;
        }
        out.numbers[k] = static_cast<std::uint8_t>(static_cast<unsigned long>(v) & 0xFF);
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

bool read_board_file(const char* name, BoardText& out) {
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
    BoardText read;
    read_board_text(clean.c_str(), read);
    int whiteKings = 0, blackKings = 0;
    for (char c : read.squares) {
        whiteKings += c == 'K';
        blackKings += c == 'k';
    }
    if (whiteKings != 1 || blackKings != 1) {
        std::fprintf(stderr, "board file %s %s; position unchanged\n", name,
                     kings_problem(whiteKings, blackKings).c_str());
        return false;
    }
    out = read;
    return true;
}

}  // namespace morvelak
