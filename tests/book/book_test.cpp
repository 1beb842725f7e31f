#include "driver/book.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "tests/book/game.hpp"
#include "util/random.hpp"

namespace morvelak::test {
namespace {

namespace fs = std::filesystem;


// Every test runs in a fresh temporary directory, where "k2.txt" is its own.
class Book : public ::testing::Test {
protected:
    void SetUp() override {
        old_ = fs::current_path();
        char pattern[] = "/tmp/morvelak-book-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        fs::current_path(dir_);
    }
    void TearDown() override {
        fs::current_path(old_);
        fs::remove_all(dir_);
    }

    static void write_book(const std::string& text, const char* name = "k2.txt") {
        std::ofstream f(name, std::ios::binary);
        f << text;
    }
    static std::string book_text(const char* name = "k2.txt") {
        std::ifstream f(name, std::ios::binary);
        return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
    }

    // The four characters at every candidate offset, in file order.
    static std::vector<std::string> candidates(int depth, const char* name = "k2.txt") {
        static long offsets[BOOK_CANDIDATES];
        const int n = book_candidates(name, depth, offsets);
        const std::string text = book_text(name);
        std::vector<std::string> out;
        for (int i = 0; i < n; ++i) out.push_back(text.substr(offsets[i], 4));
        return out;
    }

    // ksiazka2's answer, or "none" when it returns 0 (checking that ruch
    // was left alone then).
    static std::string ask(int depth) {
        char ruch[4] = {'#', '#', '#', '#'};
        if (ksiazka2(ruch, depth) == 0) {
            EXPECT_EQ(std::string(ruch, 4), "####");
            return "none";
        }
        return std::string(ruch, 4);
    }

    fs::path old_, dir_;
};

using Lines = std::vector<std::string>;

TEST_F(Book, CandidatesAreTheLinesThatReachTheGameBoard) {
    struct Case {
        const char* name;
        std::string book;
        std::string game;  // moves played, back to back
        Lines expected;
    };
    const std::vector<Case> cases = {
        {"both replies to 1. e4", "e2e4e7e5g1f3\ne2e4c7c5\n", "e2e4", {"e7e5", "c7c5"}},
        {"nothing for 1. d4", "e2e4e7e5g1f3\ne2e4c7c5\n", "d2d4", {}},
        {"depth 0 offers every first move", "e2e4e7e5\nd2d4d7d5\nc2c4\n", "", {"e2e4", "d2d4", "c2c4"}},
        {"a line ending after the game's moves offers nothing", "e2e4e7e5\n", "e2e4e7e5", {}},
        {"nor does one ending with the file", "e2e4e7e5", "e2e4e7e5", {}},
        {"transposition", "g1f3d7d5d2d4c7c5\nd2d4d7d5g1f3g8f6\n", "d2d4d7d5g1f3", {"c7c5", "g8f6"}},
        {"a short line is passed over, even mid-move",
         "e2e4\ne2e4e7\ne2e4e7e5g1f3\n\ne2e4e7e5b1c3\n", "e2e4e7e5", {"g1f3", "b1c3"}},
        {"a line whose moves differ in order of the same pieces still counts",
         "e2e4e7e5g1f3b8c6f1b5\ng1f3b8c6e2e4e7e5f1c4\n", "e2e4e7e5g1f3b8c6", {"f1b5", "f1c4"}},
        {"a blank stops the scan, earlier lines stand",
         "e2e4e7e5g1f3\ne2e4 e7e5b1c3\ne2e4e7e5f1c4\n", "e2e4e7e5", {"g1f3"}},
        {"an en-passant capture is offered",
         "e2e4a7a6e4e5d7d5e5d6c7d6\n", "e2e4a7a6e4e5d7d5", {"e5d6"}},
        {"but the replay leaves the captured pawn, so nothing matches after it",
         "e2e4a7a6e4e5d7d5e5d6c7d6\n", "e2e4a7a6e4e5d7d5e5d6", {}},
        {"empty book", "", "e2e4", {}},
        {"castling moves the rook too, on both wings and for both sides",
         "e2e4e7e5g1f3g8f6f1c4f8c5e1g1e8g8d2d3\n"
         "d2d4d7d5b1c3b8c6c1f4c8f5d1d2d8d7e1c1e8c8e2e3\n",
         "e2e4e7e5g1f3g8f6f1c4f8c5e1g1e8g8", {"d2d3"}},
        {"long castling",
         "d2d4d7d5b1c3b8c6c1f4c8f5d1d2d8d7e1c1e8c8e2e3\n",
         "d2d4d7d5b1c3b8c6c1f4c8f5d1d2d8d7e1c1e8c8", {"e2e3"}},
        {"CR LF line ends read as LF", "e2e4e7e5\r\ne2e4c7c5\r\ne2e4\r\n", "e2e4", {"e7e5", "c7c5"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        write_book(c.book);
        PlayedGame g;
        ASSERT_TRUE(g.play_all(c.game));
        const int depth = static_cast<int>(c.game.size() / 4);
        EXPECT_EQ(candidates(depth), c.expected);
        const std::string answer = ask(depth);
        if (c.expected.empty()) {
            EXPECT_EQ(answer, "none");
        } else {
            EXPECT_NE(std::find(c.expected.begin(), c.expected.end(), answer), c.expected.end()) << answer;
        }
    }
}

TEST_F(Book, MissingBookActsLikeAnEmptyOne) {
    PlayedGame g;
    EXPECT_EQ(ask(0), "none");
    long offsets[1];
    EXPECT_EQ(book_candidates("no-such-book.txt", 0, offsets), 0);
}

TEST_F(Book, ChoiceIsTheClockSeededDrawModuloTheCandidates) {
    // Seven different replies to 1. e4: the index follows the generator
    // reseeded from the clock, so the answer can be predicted within a second.
    const Lines replies = {"e7e5", "c7c5", "e7e6", "c7c6", "d7d5", "g8f6", "d7d6"};
    std::string book;
    for (const std::string& r : replies) book += "e2e4" + r + "\n";
    write_book(book);
    PlayedGame g;
    ASSERT_TRUE(g.play("e2e4"));
    for (int attempt = 0; attempt < 5; ++attempt) {
        const std::time_t t0 = std::time(nullptr);
        Random random;
        random.seed_from_clock();
        const std::string expected = replies[random.random31() % replies.size()];
        const std::string answer = ask(1);
        if (std::time(nullptr) != t0) continue;  // the second turned over: try again
        EXPECT_EQ(answer, expected);
        return;
    }
    FAIL() << "clock kept turning over";
}

TEST_F(Book, ContinuationIsReadAsItStands) {
    PlayedGame g;
    ASSERT_TRUE(g.play("e2e4"));
    struct Case {
        std::string book;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"e2e4e7", std::string("e7\0\0", 4)},  // cut by the end of the file
        {"e2e4e7\nd2d4\n", "e7\nd"},            // runs into the next line
        {"e2e4c7c5\r\n", "c7c5"},
        {"e2e4c7\r\nd2d4", "c7\nd"},            // CR LF inside the four still reads as LF
    };
    for (const Case& c : cases) {
        write_book(c.book);
        EXPECT_EQ(ask(1), c.expected);
    }
}

TEST_F(Book, AtMostFourteenThousandCandidates) {
    // 14000 lines offering e2e4 fill the table; the d2d4 lines after them are
    // ignored, so the look-up can only answer e2e4.
    std::string book;
    for (int i = 0; i < BOOK_CANDIDATES; ++i) book += "e2e4\n";
    for (int i = 0; i < BOOK_CANDIDATES; ++i) book += "d2d4\n";
    write_book(book);
    PlayedGame g;
    static long offsets[BOOK_CANDIDATES];
    ASSERT_EQ(book_candidates("k2.txt", 0, offsets), BOOK_CANDIDATES);
    EXPECT_EQ(offsets[BOOK_CANDIDATES - 1], 5L * (BOOK_CANDIDATES - 1));
    EXPECT_EQ(ask(0), "e2e4");
}

// Whatever stands under the book's name that is not a regular file reads as
// no book at once: a FIFO would wait for a writer, /dev/zero never ends, a
// folder has no text.  A regular file is read up to BOOK_BYTES only.
TEST_F(Book, OnlyARegularFileIsReadAndOnlyItsBeginning) {
    PlayedGame g;
    ASSERT_TRUE(g.play_all(""));
    ASSERT_EQ(mkfifo("k2.txt", 0600), 0);
    EXPECT_EQ(ask(0), "none");
    fs::remove("k2.txt");
    fs::create_directory("k2.txt");
    EXPECT_EQ(ask(0), "none");
    fs::remove("k2.txt");
    fs::create_symlink("/dev/zero", "k2.txt");
    EXPECT_EQ(ask(0), "none");
    fs::remove("k2.txt");
    // The last line within the bound counts; the one after it is never
    // reached.
    std::string book = "e2e4\n" + std::string(BOOK_BYTES - 10, '\n') + "d2d4\nc2c4\n";
    write_book(book);
    EXPECT_EQ(candidates(0), (Lines{"e2e4", "d2d4"}));
    static long offsets[BOOK_CANDIDATES];
    ASSERT_EQ(book_candidates("k2.txt", 0, offsets), 2);
    EXPECT_EQ(offsets[1], BOOK_BYTES - 5);
}

TEST_F(Book, LooksAtTheBoardOnlyAndUsesTheNamedFile) {
    // The game's castling rights or en-passant square do not matter, only
    // the board; and a book under another name is read when asked for.
    write_book("e2e4e7e5g1f3\n", "other.txt");
    PlayedGame g;
    ASSERT_TRUE(g.play_all("e2e4e7e5"));
    POS.WYJ[0] = 0;
    POS.WYJ[3] = 66;
    char ruch[4];
    ASSERT_EQ(ksiazka2(ruch, 2, "other.txt"), 1);
    EXPECT_EQ(std::string(ruch, 4), "g1f3");
    EXPECT_EQ(ask(2), "none");  // k2.txt does not exist here
    EXPECT_EQ(ksiazka2(ruch, 1, "other.txt"), 0);  // the ply count must agree too
}

}  // namespace
}  // namespace morvelak::test
