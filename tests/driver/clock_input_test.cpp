// The hard limit of a move, and the input the engine looks at while it
// thinks: lines cut exactly as the command loop always cut them, nothing
// lost when more arrives than the queue holds, a file read as a file.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <future>
#include <string>
#include <vector>

#include "driver/input.hpp"
#include "driver/time_limit.hpp"

namespace morvelak::test {
namespace {

TEST(HardLimit, FromTheClockTheControlAndTheTimePerMove) {
    struct Case {
        const char* what;
        TimeControl tc;
        int movesMade;
        long limit;
    };
    const Case cases[] = {
        {"nothing known: no limit", {}, 0, -1},
        {"15 s sudden death: three shares of a 30-move horizon", {15000, 0, 0, -1}, 0, 1450},
        {"1 s left", {1000, 0, 0, -1}, 30, 49},
        {"100 ms left: never below the minimum", {100, 0, 0, -1}, 30, MIN_MS},
        {"60 ms left: a twentieth of it", {60, 0, 0, -1}, 30, 3},
        {"19 ms left: at least 1 ms", {19, 0, 0, -1}, 30, 1},
        {"nothing left at all", {0, 0, 0, -1}, 30, 1},
        {"40 moves in 5 minutes, first move", {300000, 40, 0, -1}, 0, 22450},
        {"the last move before the control may use most of the clock", {10000, 40, 0, -1}, 39, 9850},
        {"a new period after 40 moves", {300000, 40, 0, -1}, 40, 22450},
        {"an increment lifts the share, half the clock caps it", {1000, 0, 300, -1}, 10, 425},
        {"30 s + 0.3 s at the start", {30000, 0, 300, -1}, 0, 3820},
        {"st 5", {-1, 0, 0, 5000}, 0, 4950},
        {"st 5 with its own clock sent as time", {5000, 0, 0, 5000}, 0, 4900},
        {"st 5 with 1 s on the clock: what is left wins", {1000, 0, 0, 5000}, 0, 900},
        {"st 0.01", {-1, 0, 0, 10}, 0, MIN_MS},
    };
    for (const Case& c : cases) EXPECT_EQ(hard_limit_ms(c.tc, c.movesMade), c.limit) << c.what;
}

TEST(HardLimit, AnEngineThatAlwaysUsesItAllStaysOnTheBoard) {
    // Every move takes its whole limit, and the pipe and the interface add
    // 10 ms more.  With an increment or moves per control the clock never
    // runs out; in sudden death, where every move costs something, it lasts
    // well beyond a long game's moves.
    struct Control { long base, inc; int mps, moves; };
    const Control controls[] = {{15000, 0, 0, 60},   {60000, 0, 0, 80},     {30000, 300, 0, 400},
                                {2000, 100, 0, 400}, {300000, 0, 40, 400},  {5000, 0, 10, 400},
                                {60000, 1000, 40, 400}, {1000, 50, 0, 400}};
    for (const Control& c : controls) {
        long clock = c.base;
        for (int move = 0; move < c.moves; ++move) {
            clock -= hard_limit_ms({clock, c.mps, c.inc, -1}, move) + 10;
            ASSERT_GT(clock, 0) << c.base << "+" << c.inc << "/" << c.mps << " move " << move;
            clock += c.inc;
            if (c.mps > 0 && (move + 1) % c.mps == 0) clock += c.base;
        }
    }
}

TEST(HardLimit, ANearlyEmptyClockStillLastsManyMoves) {
    // A tenth of a second left in sudden death, every move using its whole
    // limit and 1 ms of pipe: a fixed 5 ms floor would flag within 17 moves.
    long clock = 100;
    for (int move = 0; move < 30; ++move) {
        clock -= hard_limit_ms({clock, 0, 0, -1}, 100 + move) + 1;
        ASSERT_GT(clock, 0) << "move " << move;
    }
}

// A pipe written to by the test, read by the engine's input.
struct Pipe {
    int fd[2] = {-1, -1};
    std::FILE* in = nullptr;
    Pipe() {
        if (pipe(fd) == 0) in = fdopen(fd[0], "r");
    }
    ~Pipe() {
        if (fd[1] >= 0) close(fd[1]);
        if (in) std::fclose(in);
    }
    void write(const std::string& s) { ASSERT_EQ(::write(fd[1], s.data(), s.size()), static_cast<ssize_t>(s.size())); }
    void end() {
        close(fd[1]);
        fd[1] = -1;
    }
};

std::string next(Input& input) {
    char line[LINE_SIZE];
    return input.next(line) ? line : "<end>";
}

TEST(Input, LiveLinesAreSeenWithoutWaitingAndCutLikeTheLoopsLines) {
    Pipe p;
    Input input(p.in);
    ASSERT_TRUE(input.live());
    EXPECT_FALSE(input.poll(false)) << "nothing has arrived";
    p.write("?\nquit\nhalf");
    EXPECT_TRUE(input.poll(false));
    ASSERT_EQ(input.waiting(), 2);
    EXPECT_STREQ(input.line(0), "?\n");
    EXPECT_STREQ(input.line(1), "quit\n");
    // An over-long line keeps 255 characters and loses its newline and the
    // rest; a line cut by the end of input counts as it is.
    p.write(" a line\n" + std::string(300, 'x') + "\nping 1\r\n");
    p.write("tail");
    p.end();
    EXPECT_EQ(next(input), "?\n");
    EXPECT_EQ(next(input), "quit\n");
    EXPECT_EQ(next(input), "half a line\n");
    EXPECT_EQ(next(input), std::string(255, 'x'));
    EXPECT_EQ(next(input), "ping 1\r\n");
    EXPECT_EQ(next(input), "tail");
    EXPECT_EQ(next(input), "<end>");
    EXPECT_TRUE(input.ended());
}

// More than the queue holds stays in the pipe and the buffer, and comes as
// the loop asks for it.  The pipe stays open meanwhile, as an interface
// keeps it after a burst ("force", a whole game's moves, "go") while it
// waits for the engine's move: no line may wait for input that will not
// come.  The bursts leave a few lines, one line or a whole queue behind.
TEST(Input, MoreThanTheQueueHoldsComesWholeWithThePipeStillOpen) {
    for (int lines : {Input::QUEUE_LINES + 5, 2 * Input::QUEUE_LINES + 1, 3 * Input::QUEUE_LINES}) {
        SCOPED_TRACE(lines);
        Pipe p;
        Input input(p.in);
        std::string all;
        for (int i = 0; i < lines; ++i) all += "time " + std::to_string(i) + "\n";
        p.write(all);
        input.poll(false);
        EXPECT_EQ(input.waiting(), Input::QUEUE_LINES);
        auto reader = std::async(std::launch::async, [&] {
            std::vector<std::string> got;
            for (int i = 0; i < lines; ++i) got.push_back(next(input));
            return got;
        });
        if (reader.wait_for(std::chrono::seconds(10)) != std::future_status::ready)
            ADD_FAILURE() << "a line waited for more input";
        p.end();  // also frees a reader stuck on the pipe
        const std::vector<std::string> got = reader.get();
        for (int i = 0; i < lines; ++i) ASSERT_EQ(got[i], "time " + std::to_string(i) + "\n");
        EXPECT_EQ(next(input), "<end>");
    }
}

TEST(Input, AFileIsReadAsTheLoopAsksExceptForAnalysis) {
    std::FILE* f = std::tmpfile();
    std::fputs("go\n?\nquit\n", f);
    std::rewind(f);
    Input input(f);
    EXPECT_FALSE(input.live());
    EXPECT_FALSE(input.poll(false)) << "a file's lines never arrive during a search";
    EXPECT_EQ(next(input), "go\n");
    EXPECT_TRUE(input.poll(true)) << "analysis looks at the next line";
    ASSERT_EQ(input.waiting(), 1);
    EXPECT_STREQ(input.line(0), "?\n");
    EXPECT_TRUE(input.poll(true));
    EXPECT_EQ(input.waiting(), 1) << "one line at a time";
    EXPECT_EQ(next(input), "?\n");
    EXPECT_EQ(next(input), "quit\n");
    EXPECT_FALSE(input.poll(false));
    EXPECT_TRUE(input.poll(true)) << "the end of the file is news too";
    EXPECT_TRUE(input.ended());
    EXPECT_EQ(next(input), "<end>");
    std::fclose(f);
}

}  // namespace
}  // namespace morvelak::test
