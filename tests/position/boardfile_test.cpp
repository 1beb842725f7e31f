// The board file: square letters in TAB order, line feeds skipped, every
// other character one square; then four numbers stored as bytes.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "support.hpp"
#include "engine/position/boardfile.hpp"

namespace morvelak::test {
namespace {

constexpr const char* START_FILE =
    "wsghkgsw\npppppppp\n........\n........\n........\n........\nPPPPPPPP\nWSGHKGSW\n3 3 0 0\n";

struct Loaded {
    std::array<i8, 100> pl;
    std::array<i8, 4> wyj;
    friend bool operator==(const Loaded&, const Loaded&) = default;
};

Loaded load_string(const std::string& text) {
    Loaded l;
    l.pl.fill(BORDER);
    l.wyj = {7, 7, 7, 7};
    load_text(text.c_str(), l.pl.data(), l.wyj.data());
    return l;
}

Loaded expected_start() {
    Loaded l;
    l.pl.fill(BORDER);
    const i8 back[8] = {12, 10, 11, 13, 8, 11, 10, 12};
    for (int f = 1; f <= 8; ++f) {
        l.pl[10 + f] = back[f - 1];
        l.pl[20 + f] = W_PAWN;
        for (int r = 3; r <= 6; ++r) l.pl[10 * r + f] = EMPTY;
        l.pl[70 + f] = B_PAWN;
        l.pl[80 + f] = static_cast<i8>(back[f - 1] + 8);
    }
    l.wyj = {3, 3, 0, 0};
    return l;
}

std::filesystem::path temp_file(const std::string& name) {
    return std::filesystem::temp_directory_path() / (name + "_" + std::to_string(::getpid()));
}

TEST(BoardFile, LayoutsThatGiveTheStartPosition) {
    const std::string oneLine =
        "wsghkgswpppppppp................................PPPPPPPPWSGHKGSW 3 3 0 0";
    const std::string numbersSpread = "wsghkgsw\npppppppp\n" + std::string(32, '.') +
                                      "\nPPPPPPPP\nWSGHKGSW\n\n  3\n3\t0\n\n0 trailing text 99";
    const std::string spacesAsSquares =
        "wsghkgsw\npppppppp\n        \n        \n        \n        \nPPPPPPPP\nWSGHKGSW\n3 3 0 0";
    for (const std::string& text : {std::string(START_FILE), oneLine, numbersSpread, spacesAsSquares}) {
        SCOPED_TRACE(text);
        EXPECT_TRUE(load_string(text) == expected_start());
    }
}

TEST(BoardFile, EveryLetterAndOnlyPolishLetters) {
    // One of each code on rank 8 and 7, English letters and digits elsewhere.
    const Loaded l = load_string("KPSGWHkp\nsgwhNBRQ\nnbrq1234\nxyz.-+*#\n" + std::string(32, 'o') + "1 2 3 4");
    const i8 rank8[8] = {8, 9, 10, 11, 12, 13, 16, 17};
    const i8 rank7[8] = {18, 19, 20, 21, 0, 0, 0, 0};
    for (int f = 1; f <= 8; ++f) {
        EXPECT_EQ(l.pl[80 + f], rank8[f - 1]) << f;
        EXPECT_EQ(l.pl[70 + f], rank7[f - 1]) << f;
        for (int r = 1; r <= 6; ++r) EXPECT_EQ(l.pl[10 * r + f], 0) << r << f;
    }
    EXPECT_EQ(l.wyj, (std::array<i8, 4>{1, 2, 3, 4}));
    for (int s = 0; s < 100; ++s) {
        if (!on_board(s)) {
            EXPECT_EQ(l.pl[s], BORDER) << "border square " << s << " written";
        }
    }
}

TEST(BoardFile, ShortLineShiftsTheRest) {
    // Rank 6 has seven characters: every later square reads one character
    // early.
    const Loaded l = load_string("wsghkgsw\npppppppp\n.......\n........\n........\n........\nPPPPPPPP\nWSGHKGSW\n3 3 0 0");
    // Squares in file order: rank 6's line fills 61..67, so h6 (68) takes
    // the first character of rank 5's line, h3 the first of rank 2's and h2
    // the first of rank 1's; the '3' meant for White's rights falls on h1.
    EXPECT_EQ(l.pl[67], 0);
    EXPECT_EQ(l.pl[68], 0);
    EXPECT_EQ(l.pl[38], W_PAWN);
    EXPECT_EQ(l.pl[28], W_ROOK);
    EXPECT_EQ(l.pl[21], W_PAWN);
    EXPECT_EQ(l.pl[11], W_KNIGHT);
    EXPECT_EQ(l.pl[14], W_KING);
    EXPECT_EQ(l.pl[17], W_ROOK);
    EXPECT_EQ(l.pl[18], 0);
    EXPECT_EQ(l.wyj, (std::array<i8, 4>{3, 0, 0, 0}));
}

TEST(BoardFile, NumbersAreStoredModulo256) {
    const std::string board = std::string(64, '.');
    const struct {
        const char* numbers;
        std::array<i8, 4> wyj;
    } cases[] = {
        {"3 3 0 0", {3, 3, 0, 0}},
        {"259 -1 291 -256", {3, -1, 35, 0}},
        {"+2 1 0 66", {2, 1, 0, 66}},
        {"1 2", {1, 2, 0, 0}},          // the file ends: missing numbers are 0
        {"", {0, 0, 0, 0}},
        {"1 x 5 5", {1, 0, 0, 0}},      // reading stops at the first non-number
        {"   \n\n", {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.numbers);
        EXPECT_EQ(load_string(board + c.numbers).wyj, c.wyj);
    }
}

TEST(BoardFile, ShortFileLeavesEmptySquaresAndZeros) {
    for (const std::string& text : {std::string(""), std::string("wsghkgsw\npp"), std::string("\n\n\n")}) {
        SCOPED_TRACE(text);
        const Loaded l = load_string(text);  // must end, and fill everything
        int pieces = 0;
        for (int s = 11; s <= 88; ++s)
            if (on_board(s) && l.pl[s] != 0) ++pieces;
        EXPECT_EQ(pieces, text.size() > 5 ? 10 : 0);
        EXPECT_EQ(l.wyj, (std::array<i8, 4>{0, 0, 0, 0}));
    }
}

TEST(BoardFile, LoadFromDiskReadsCrLfAsText) {
    const auto lf = temp_file("board_lf"), crlf = temp_file("board_crlf");
    std::string windows;
    for (char ch : std::string(START_FILE)) {
        if (ch == '\n') windows += '\r';
        windows += ch;
    }
    std::ofstream(lf, std::ios::binary) << START_FILE;
    std::ofstream(crlf, std::ios::binary) << windows;
    for (const auto& path : {lf, crlf}) {
        SCOPED_TRACE(path.string());
        Loaded l;
        l.pl.fill(BORDER);
        l.wyj = {};
        EXPECT_TRUE(load(path.c_str(), l.pl.data(), l.wyj.data()));
        EXPECT_TRUE(l == expected_start());
    }
    std::filesystem::remove(lf);
    std::filesystem::remove(crlf);

    // A carriage return without a line feed is a square like any other.
    const Loaded l = load_string(std::string("\r") + START_FILE);
    EXPECT_EQ(l.pl[81], 0);
    EXPECT_EQ(l.pl[82], B_ROOK);
}

TEST(BoardFile, MissingFileChangesNothing) {
    Loaded l = expected_start();
    l.wyj = {1, 2, 3, 4};
    const Loaded before = l;
    EXPECT_FALSE(load(temp_file("no_such_board").c_str(), l.pl.data(), l.wyj.data()));
    EXPECT_TRUE(l == before);
}

// The engine finds its kings through the piece lists; a board file without
// one king of each colour would leave it reading a filler as a square.
TEST(BoardFile, BoardWithoutOneKingOfEachColourIsRefused) {
    const struct {
        const char* text;
        bool accepted;
    } cases[] = {
        {"wsghkgsw\npppppppp\n" "................................" "\n\n0 3 0 0", false},  // no white piece
        {"wsgh.gsw\npppppppp\n" "................................" "PPPPPPPPWSGHKGSW 3 0 0 0", false},
        {"wsghkgsw\npppppppp\n" "................................" "PPPPPPPPWSGHKGSK 3 3 0 0", false},
        {"k" "...............................................................", false},
        {"k......K" "........................................................", true},
        {"K" "..............................................................k 0 0 0 0", true},
    };
    const auto path = temp_file("board_kings");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::ofstream(path, std::ios::binary) << c.text;
        Loaded l = expected_start();
        l.wyj = {1, 2, 3, 4};
        const Loaded before = l;
        EXPECT_EQ(load(path.c_str(), l.pl.data(), l.wyj.data()), c.accepted);
        if (!c.accepted) {
            EXPECT_TRUE(l == before);
        } else {
            EXPECT_FALSE(l == before);
        }
    }
    std::filesystem::remove(path);
}

// What stands under the board file's name and why it is refused, said on
// standard error; the position is left as it was.  Opening never waits and
// reading always ends.
TEST(BoardFile, WhatCannotBeReadIsRefusedAndSaid) {
    namespace fs = std::filesystem;
    const auto path = temp_file("board_special");
    struct Case {
        const char* name;
        void (*make)(const fs::path&);
        const char* said;  // part of the message
    };
    const Case cases[] = {
        {"missing", [](const fs::path&) {}, "cannot open board file"},
        {"folder", [](const fs::path& p) { fs::create_directory(p); }, "cannot be read (it is a folder)"},
        {"FIFO", [](const fs::path& p) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); },
         "cannot be read (it is not a regular file)"},
        {"endless device", [](const fs::path& p) { fs::create_symlink("/dev/zero", p); },
         "cannot be read (it is not a regular file)"},
        {"no kings", [](const fs::path& p) { std::ofstream(p) << "pppppppp\n3 3 0 0\n"; }, "has no kings"},
        {"no black king", [](const fs::path& p) { std::ofstream(p) << "K......." << std::string(56, '.'); },
         "has no black king"},
        {"two white kings", [](const fs::path& p) { std::ofstream(p) << "KK.....k" << std::string(56, '.'); },
         "has 2 white kings"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(path);
        c.make(path);
        Loaded l = expected_start();
        const Loaded before = l;
        ::testing::internal::CaptureStderr();
        EXPECT_FALSE(load(path.c_str(), l.pl.data(), l.wyj.data()));
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find(c.said), std::string::npos) << said;
        EXPECT_TRUE(l == before);
    }
    // Without permission (root reads everything, so only checked for others).
    fs::remove_all(path);
    std::ofstream(path) << START_FILE;
    fs::permissions(path, fs::perms::none);
    if (::geteuid() != 0) {
        Loaded l = expected_start();
        ::testing::internal::CaptureStderr();
        EXPECT_FALSE(load(path.c_str(), l.pl.data(), l.wyj.data()));
        EXPECT_NE(::testing::internal::GetCapturedStderr().find("cannot be read (Permission denied)"),
                  std::string::npos);
    }
    fs::remove_all(path);
}

// Only the first BOARD_FILE_BYTES are read: a long tail after the four
// numbers changes nothing, numbers beyond the bound are never seen.
TEST(BoardFile, OnlyTheBeginningOfALongFileIsRead) {
    const auto path = temp_file("board_long");
    std::ofstream(path, std::ios::binary) << START_FILE << std::string(2 * BOARD_FILE_BYTES, 'x');
    Loaded l = load_string("");
    ASSERT_TRUE(load(path.c_str(), l.pl.data(), l.wyj.data()));
    EXPECT_TRUE(l == expected_start());
    std::ofstream(path, std::ios::binary) << std::string(START_FILE).substr(0, 71)
                                          << std::string(BOARD_FILE_BYTES, ' ') << "3 3 0 0";
    ASSERT_TRUE(load(path.c_str(), l.pl.data(), l.wyj.data()));
    EXPECT_EQ(l.wyj, (std::array<i8, 4>{0, 0, 0, 0}));
    std::filesystem::remove(path);
}

TEST(BoardFile, SecondLoadOverwritesEverything) {
    Loaded l = load_string("kkkkkkkk" + std::string(56, 'K') + "9 9 9 9");
    load_text(START_FILE, l.pl.data(), l.wyj.data());
    EXPECT_TRUE(l == expected_start());
}

// util reads the text and knows only the kings' letters; the position gives
// every letter its piece.  The text keeps each square's character as it
// stands, a square the file leaves out reads as NO_SQUARE, and a refused
// text leaves what it was to fill alone.
TEST(BoardFile, TheTextKeepsItsCharactersAndThePositionGivesThemPieces) {
    BoardText text;
    read_board_text(("Kk Np?" + std::string(58, 'x') + " 259 2").c_str(), text);
    EXPECT_EQ(std::string(text.squares, 64), "Kk Np?" + std::string(58, 'x'));
    EXPECT_EQ(text.numbers[0], 3);
    EXPECT_EQ(text.numbers[1], 2);
    EXPECT_EQ(text.numbers[2], 0);
    BoardText brief;
    read_board_text("Kk\n", brief);
    EXPECT_EQ(std::string(brief.squares, 64), "Kk" + std::string(62, NO_SQUARE));
    EXPECT_EQ(brief.numbers[3], 0);
    i8 pl[100], wyj[4];
    std::fill(pl, pl + 100, BORDER);
    place_board(text, pl, wyj);
    EXPECT_EQ(pl[81], W_KING);
    EXPECT_EQ(pl[82], B_KING);
    EXPECT_EQ(pl[83], EMPTY);
    EXPECT_EQ(pl[84], EMPTY) << "N is no letter of the board file";
    EXPECT_EQ(pl[85], B_PAWN);
    EXPECT_EQ(pl[11], EMPTY);
    EXPECT_EQ(pl[0], BORDER);

    const auto path = temp_file("board_two_white_kings");
    std::ofstream(path, std::ios::binary) << "KK" << std::string(61, '.') << "k 0 0 0 0";
    BoardText kept = text;
    EXPECT_FALSE(read_board_file(path.c_str(), kept));
    EXPECT_EQ(std::string(kept.squares, 64), std::string(text.squares, 64));
    std::filesystem::remove(path);
}

TEST(BoardFile, ShippedStartFileIsTheStartPosition) {
    Loaded l;
    l.pl.fill(BORDER);
    l.wyj = {};
    ASSERT_TRUE(load(MORVELAK_SOURCE_DIR "/data/plansza1.txt", l.pl.data(), l.wyj.data()));
    EXPECT_TRUE(l == expected_start());
}

}  // namespace
}  // namespace morvelak::test
