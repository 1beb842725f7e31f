#include "tests/fuzz/runner.hpp"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace morvelak::test::fuzz {
namespace {

// Set before every session: what the watchdog says when a session hangs.
char hung[256] = "";

void on_alarm(int) {
    const ssize_t n = ::write(2, hung, std::strlen(hung));
    (void)n;
    _exit(3);
}

int usage(const std::vector<Engine>& engines) {
    std::fprintf(stderr, "usage: RUNNER TARGET [--seconds S] [--seed N] [--sessions N] [--lines N]\ntargets:");
    for (const Engine& e : engines) std::fprintf(stderr, " protocol-%s raw-%s", e.name, e.name);
    std::fprintf(stderr, " board-file book fen\n");
    return 2;
}

}  // namespace

int runner_main(int argc, char** argv, const std::vector<Engine>& engines) {
    if (argc < 2) return usage(engines);
    const std::string target = argv[1];
    double seconds = 3;
    unsigned long seed = 1, sessions = 1000000;
    int lines = 0;
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::string opt = argv[i];
        if (opt == "--seconds") seconds = std::atof(argv[i + 1]);
        else if (opt == "--seed") seed = std::strtoul(argv[i + 1], nullptr, 10);
        else if (opt == "--sessions") sessions = std::strtoul(argv[i + 1], nullptr, 10);
        else if (opt == "--lines") lines = std::atoi(argv[i + 1]);
        else return usage(engines);
    }
    const Engine* engine = nullptr;
    bool raw = false;
    for (const Engine& e : engines) {
        if (target == std::string("protocol-") + e.name) engine = &e;
        if (target == std::string("raw-") + e.name) engine = &e, raw = true;
    }
    if (!engine && target != "board-file" && target != "book" && target != "fen") return usage(engines);
    if (lines == 0) lines = engine && engine->real ? 60 : 1500;

    const std::filesystem::path home = std::filesystem::current_path();
    enter_scratch_folder();
    // The real builds print their thinking straight to standard output; the
    // report goes to a copy of it, the thinking nowhere.
    std::fflush(stdout);
    std::FILE* report = fdopen(::dup(1), "w");
    if (engine && engine->real) {
        const int null = ::open("/dev/null", O_WRONLY);
        if (null >= 0) ::dup2(null, 1), ::close(null);
    }
    ::signal(SIGALRM, on_alarm);
    // A session is given this long before it counts as hung.
    const unsigned watchdog = engine && engine->real ? 120 : 30;

    using Clock = std::chrono::steady_clock;
    const auto end = Clock::now() + std::chrono::duration<double>(seconds);
    Verdict total;
    unsigned long done = 0;
    for (unsigned long k = 0; k < sessions && (done == 0 || Clock::now() < end); ++k, ++done) {
        const unsigned long s = seed + k;
        std::snprintf(hung, sizeof hung, "%s: session of seed %lu has not ended in %u seconds\n", target.c_str(), s,
                      watchdog);
        ::alarm(watchdog);
        RandomChooser chooser(s);
        Verdict v;
        std::string input;
        if (engine && raw) {
            // Generated lines, torn apart: cut and glued at random places.
            Verdict g = generated_session(*engine, chooser, lines / 4);
            input = g.transcript;
            for (int cuts = 0; cuts < 8 && !input.empty(); ++cuts) {
                const std::size_t at = chooser.below(static_cast<unsigned>(input.size()));
                input.erase(at, chooser.below(20));
            }
            v = raw_session(*engine, input);
        } else if (engine) {
            v = generated_session(*engine, chooser, lines);
            input = v.transcript;
        } else if (target == "board-file") {
            input = make_board_file(chooser);
            v.failure = check_board_file(input);
        } else if (target == "book") {
            input = make_book(chooser);
            v.failure = check_book(input, chooser);
        } else {
            input = make_fen(chooser);
            v.failure = check_fen(input);
        }
        ::alarm(0);
        total.lines += v.lines;
        total.engineMoves += v.engineMoves;
        total.opponentMoves += v.opponentMoves;
        total.refusals += v.refusals;
        total.takeBacks += v.takeBacks;
        if (!v.failure.empty()) {
            const std::filesystem::path saved = home / ("fuzz-failure-" + target + "-" + std::to_string(s) + ".txt");
            std::ofstream(saved, std::ios::binary) << input;
            std::fprintf(report, "FAILED %s, seed %lu: %s\ninput kept in %s\n", target.c_str(), s,
                         v.failure.c_str(), saved.c_str());
            std::fflush(report);
            return 1;
        }
    }
    std::fprintf(report, "%s: %lu runs from seed %lu", target.c_str(), done, seed);
    if (engine)
        std::fprintf(report, ", %ld lines, %ld engine moves, %ld opponent moves, %ld refusals, %ld take-backs", total.lines,
                    total.engineMoves, total.opponentMoves, total.refusals, total.takeBacks);
    std::fprintf(report, ": every check held\n");
    std::fclose(report);
    return 0;
}

}  // namespace morvelak::test::fuzz
