// The shipped book, data/k2.txt: every line must be playable by the engine's
// own move generator and must be found again by the look-up at its last move.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "driver/book.hpp"
#include "tests/book/game.hpp"

namespace morvelak::test {
namespace {


const std::string BOOK = std::string(MORVELAK_SOURCE_DIR) + "/data/k2.txt";

struct BookLine {
    std::string moves;
    long offset;  // of its first character in the file
};

std::vector<BookLine> read_book() {
    std::ifstream f(BOOK, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
    std::vector<BookLine> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back({text.substr(start, end - start), static_cast<long>(start)});
        start = end + 1;
    }
    return lines;
}

TEST(ShippedBook, HasSeveralHundredWellFormedLines) {
    const auto lines = read_book();
    EXPECT_GE(lines.size(), 400u);
    for (const BookLine& l : lines) {
        SCOPED_TRACE(l.moves);
        ASSERT_EQ(l.moves.size() % 4, 0u);
        EXPECT_GE(l.moves.size(), 4u * 8);
        EXPECT_LE(l.moves.size(), 4u * 16);
        for (std::size_t i = 0; i < l.moves.size(); i += 2) {
            EXPECT_TRUE(l.moves[i] >= 'a' && l.moves[i] <= 'h');
            EXPECT_TRUE(l.moves[i + 1] >= '1' && l.moves[i + 1] <= '8');
        }
    }
}

TEST(ShippedBook, EveryLineIsLegalForTheEngine) {
    for (const BookLine& l : read_book()) {
        SCOPED_TRACE(l.moves);
        PlayedGame g;
        for (std::size_t i = 0; i + 4 <= l.moves.size(); i += 4)
            ASSERT_TRUE(g.play(l.moves.substr(i, 4))) << "move " << i / 4 + 1 << " is not legal";
    }
}

TEST(ShippedBook, LookUpFindsEveryLineAtItsLastMove) {
    // Replaying all but the last move on the engine's board and asking the
    // book must offer that line's last move: the book's rule-less replay
    // follows the game all the way (no en-passant capture, no promotion).
    static long offsets[BOOK_CANDIDATES];
    const auto lines = read_book();
    {
        PlayedGame g;
        EXPECT_EQ(book_candidates(BOOK.c_str(), 0, offsets), static_cast<int>(lines.size()));
    }
    for (const BookLine& l : lines) {
        SCOPED_TRACE(l.moves);
        PlayedGame g;
        const std::string before = l.moves.substr(0, l.moves.size() - 4);
        ASSERT_TRUE(g.play_all(before));
        const int depth = static_cast<int>(before.size() / 4);
        const int n = book_candidates(BOOK.c_str(), depth, offsets);
        const long last = l.offset + static_cast<long>(before.size());
        EXPECT_NE(std::find(offsets, offsets + n, last), offsets + n);
    }
}

}  // namespace
}  // namespace morvelak::test
