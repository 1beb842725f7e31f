// Running a built engine program the way an interface does: in a fresh
// folder of its own holding the board file and an empty book, with the
// commands on standard input; then reading what it printed and the two files
// it wrote.
#pragma once

#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace morvelak::test {

namespace fs = std::filesystem;

struct Outcome {
    int rc = -1;
    std::string out;     // standard output
    std::string err;     // standard error
    std::string record;  // zapisparti.txt ("<none>" when not written)
    std::string log;     // zapiswinbord.txt
    std::vector<std::string> lines;  // standard output, line by line
};

inline std::string slurp(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

inline std::vector<std::string> split_lines(const std::string& s) {
    std::vector<std::string> v;
    std::size_t a = 0;
    while (a < s.size()) {
        std::size_t b = s.find('\n', a);
        if (b == std::string::npos) b = s.size();
        v.push_back(s.substr(a, b - a));
        a = b + 1;
    }
    return v;
}

class ProgramTest : public ::testing::Test {
protected:
    fs::path dir;
    // Command-line arguments of the program.
    std::string arguments;

    void SetUp() override {
        char tmpl[] = "/tmp/morvelak-program-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
        fs::copy_file(fs::path(MORVELAK_SOURCE_DIR) / "data" / "plansza1.txt", dir / "plansza1.txt");
        std::ofstream(dir / "k2.txt");
    }
    void TearDown() override { fs::remove_all(dir); }

    // Replaces the starting position (board-file format).
    void board(const std::string& text) { std::ofstream(dir / "plansza1.txt") << text; }

    Outcome run(const std::string& input, const std::string& program = "morvelak31") {
        const fs::path bin = fs::path(MORVELAK_BINARY_DIR) / program;
        Outcome o;
        if (!fs::exists(bin)) {
            ADD_FAILURE() << bin << " has not been built";
            return o;
        }
        std::ofstream(dir / "stdin.txt", std::ios::binary) << input;
        // A generous limit: a hang fails the test instead of the whole run.
        const std::string cmd = "cd '" + dir.string() + "' && timeout 120 '" + bin.string() + "' " +
                                arguments + " < stdin.txt > stdout.txt 2> stderr.txt";
        const int status = std::system(cmd.c_str());
        o.rc = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        o.out = slurp(dir / "stdout.txt");
        o.err = slurp(dir / "stderr.txt");
        o.record = fs::exists(dir / "zapisparti.txt") ? slurp(dir / "zapisparti.txt") : "<none>";
        o.log = fs::is_regular_file(dir / "zapiswinbord.txt") ? slurp(dir / "zapiswinbord.txt") : "";
        o.lines = split_lines(o.out);
        return o;
    }
};

// The engine's own command set with the historical clock: every search
// completes the depth its depth control planned, however slow the build, so
// that these sessions show the rules themselves, move for move.
class HistoricalClock : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        arguments = "--historical-clock";
    }
};

// A program running in the background the way an interface holds it: lines
// are written to it one at a time and its answers read as they come.
class Session {
public:
    Session(const fs::path& dir, const std::string& program) {
        int in[2], out[2];
        if (pipe(in) != 0 || pipe(out) != 0) return;
        const std::string bin = (fs::path(MORVELAK_BINARY_DIR) / program).string();
        pid_ = fork();
        if (pid_ == 0) {
            dup2(in[0], 0);
            dup2(out[1], 1);
            close(in[1]);
            close(out[0]);
            if (chdir(dir.c_str()) != 0) _exit(127);
            execl(bin.c_str(), bin.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        close(in[0]);
        close(out[1]);
        to_ = in[1];
        from_ = out[0];
    }
    ~Session() {
        if (to_ >= 0) close(to_);
        if (pid_ > 0 && !reaped_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (from_ >= 0) close(from_);
    }
    bool started() const { return pid_ > 0; }
    void send(const std::string& text) {
        if (write(to_, text.data(), text.size()) != static_cast<ssize_t>(text.size())) ADD_FAILURE();
    }
    // Reads until a line beginning with `prefix` has arrived, or `seconds`
    // have passed; returns everything read so far.  Only lines that begin at
    // or after offset `from` of that text count.
    std::string read_until(const std::string& prefix, int seconds, std::size_t from = 0) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        for (;;) {
            const std::string tail = from < got_.size() ? got_.substr(from) : std::string();
            for (const std::string& l : split_lines(tail))
                if (l.compare(0, prefix.size(), prefix) == 0 && tail.find(l + "\n") != std::string::npos)
                    return got_;
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                end - std::chrono::steady_clock::now()).count();
            if (left <= 0) return got_;
            pollfd p{from_, POLLIN, 0};
            if (poll(&p, 1, static_cast<int>(left)) <= 0) return got_;
            char buf[4096];
            const ssize_t n = read(from_, buf, sizeof buf);
            if (n <= 0) return got_;
            got_.append(buf, static_cast<std::size_t>(n));
        }
    }
    // Reads until `count` lines beginning with `prefix` have arrived in all,
    // or `seconds` have passed; returns everything read so far.
    std::string read_until_count(const std::string& prefix, int count, int seconds) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        for (;;) {
            int n = 0;
            for (const std::string& l : split_lines(got_))
                if (l.compare(0, prefix.size(), prefix) == 0 && got_.find(l + "\n") != std::string::npos) ++n;
            if (n >= count) return got_;
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                end - std::chrono::steady_clock::now()).count();
            if (left <= 0) return got_;
            pollfd p{from_, POLLIN, 0};
            if (poll(&p, 1, static_cast<int>(left)) <= 0) return got_;
            char buf[4096];
            const ssize_t r = read(from_, buf, sizeof buf);
            if (r <= 0) return got_;
            got_.append(buf, static_cast<std::size_t>(r));
        }
    }
    // Sends a signal and waits for the program to end; returns the signal
    // that ended it (0 when it exited by itself).
    int stop_with(int sig) {
        kill(pid_, sig);
        int status = 0;
        waitpid(pid_, &status, 0);
        reaped_ = true;
        return WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    }

private:
    pid_t pid_ = -1;
    int to_ = -1, from_ = -1;
    bool reaped_ = false;
    std::string got_;
};

inline bool is_move_text(const std::string& s, std::size_t at = 0) {
    return s.size() >= at + 4 && s[at] >= 'a' && s[at] <= 'h' && s[at + 1] >= '1' &&
           s[at + 1] <= '8' && s[at + 2] >= 'a' && s[at + 2] <= 'h' && s[at + 3] >= '1' &&
           s[at + 3] <= '8';
}

// Whole-string match against a pattern in which '#' stands for one or more
// digits, '~' for an optionally negative number, '@' for a move text (e2e4)
// and every other character for itself.
inline bool matches(const std::string& s, const std::string& pattern) {
    std::size_t i = 0;
    for (char c : pattern) {
        if (c == '#' || c == '~') {
            if (c == '~' && i < s.size() && s[i] == '-') ++i;
            const std::size_t start = i;
            while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
            if (i == start) return false;
        } else if (c == '@') {
            if (!is_move_text(s, i)) return false;
            i += 4;
        } else {
            if (i >= s.size() || s[i] != c) return false;
            ++i;
        }
    }
    return i == s.size();
}

// The engine's "move" lines, in order, as their four characters.
inline std::vector<std::string> moves_of(const Outcome& o) {
    std::vector<std::string> v;
    for (const std::string& l : o.lines)
        if (l.size() == 9 && l.compare(0, 5, "move ") == 0 && is_move_text(l, 5)) v.push_back(l.substr(5));
    return v;
}

inline int count_of(const std::string& s, const std::string& what) {
    int n = 0;
    for (std::size_t p = s.find(what); p != std::string::npos; p = s.find(what, p + 1)) ++n;
    return n;
}

inline const std::string FEATURES = "feature usermove=1\nfeature reuse=0\n";

// The programs, newest first.
inline const std::vector<std::string> PROGRAMS = {"morvelak31", "morvelak28", "morvelak26"};

inline bool built(const std::string& program) {
    return fs::exists(fs::path(MORVELAK_BINARY_DIR) / program);
}

// The programs of PROGRAMS that have been built in this tree.
inline std::vector<std::string> built_programs() {
    std::vector<std::string> v;
    for (const std::string& p : PROGRAMS)
        if (built(p)) v.push_back(p);
    return v;
}

// The lines a program prints at start-up: m26 asks for
// "usermove" only.
inline std::string startup_features(const std::string& program) {
    return program == "morvelak26" ? "feature usermove=1\n" : FEATURES;
}

// The answer to "protover 2": "morvelak28" announces itself as "MORVELAK 28";
// the option and "done=1" follow on lines of their own.
inline std::string protover_answer(const std::string& program) {
    return "feature ping=1 setboard=1 colors=0 usermove=1 reuse=0 sigint=0 sigterm=0 analyze=1 "
           "myname=\"MORVELAK " + program.substr(8) + "\"\n"
           "feature option=\"Hard time limit -check 1\"\nfeature done=1\n";
}

}  // namespace morvelak::test
