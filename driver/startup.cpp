#include "driver/startup.hpp"

#include <sys/stat.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include "driver/game.hpp"
#include "engine/position/attacks.hpp"
#include "engine/position/boardfile.hpp"
#include "engine/position/position.hpp"

namespace morvelak {

const char* const STANDARD_BOARD =
    "wsghkgsw\n"
    "pppppppp\n"
    "........\n"
    "........\n"
    "........\n"
    "........\n"
    "PPPPPPPP\n"
    "WSGHKGSW\n"
    "3 3 0 0\n";

namespace {

// Why a board the file holds cannot start a game, or null.  White moves
// first, so Black's king may not stand attacked: the engine would take it
// and claim a result that was never played (the kings side by side are the
// plainest case).
const char* unplayable(const i8* board) {
    int whiteKing = 0, blackKing = 0;
    for (int s = 11; s <= 88; ++s) {
        if (board[s] == W_KING) whiteKing = s;
        if (board[s] == B_KING) blackKing = s;
    }
    const int apart = whiteKing - blackKing;
    for (int d : {1, 9, 10, 11})
        if (apart == d || apart == -d) return "has the two kings side by side";
    if (odbicia<Side::White>(board, blackKing)) return "has Black's king in check with White to move";
    return nullptr;
}

}  // namespace

bool load_start_position() {
    // A missing file is said here, in words of its own; anything else the
    // loader explains (a file it cannot read, a board without its kings).
    struct stat st {};
    if (::stat(BOARD_FILE, &st) != 0 && errno == ENOENT) {
        std::fprintf(stderr, "%s not found: playing from the standard start position\n", BOARD_FILE);
        load_text(STANDARD_BOARD, POS.PL, POS.WYJ);
        return false;
    }
    i8 board[100], bytes[4];
    std::memcpy(board, POS.PL, sizeof board);
    std::memcpy(bytes, POS.WYJ, sizeof bytes);
    if (load(BOARD_FILE, board, bytes)) {
        const char* why = unplayable(board);
        if (!why) {
            std::memcpy(POS.PL, board, sizeof board);
            std::memcpy(POS.WYJ, bytes, sizeof bytes);
            return true;
        }
        std::fprintf(stderr, "board file %s %s\n", BOARD_FILE, why);
    }
    std::fprintf(stderr, "playing from the standard start position instead\n");
    load_text(STANDARD_BOARD, POS.PL, POS.WYJ);
    return false;
}

std::FILE* start_up(const BuildPolicy& policy) {
    if (policy.fill_keys) {
        GAME.random.seed_from_clock();
        policy.fill_keys();
    }
    std::memset(POS.WART, 0, sizeof POS.WART);
    std::memset(POS.PL, BORDER, sizeof POS.PL);  // the border ring, which the loader never writes
    load_start_position();
    // History entry 0 is the loaded position, so that even a take-back sent
    // before the first "new" finds a board to restore.
    policy.history_new();
    policy.rebuild();
    policy.eval_setup();
    std::signal(SIGINT, SIG_IGN);  // xboard interrupts its engines; we never stop for it
    return std::fopen(LOG_FILE, "w");
}

int run_engine(const BuildPolicy& policy, int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "bench") == 0 && policy.bench) {
        // "bench" alone runs the first set, whose signature is the search's.
        const BenchSet* set = argc == 2 ? &BENCH_SETS[0] : argc == 3 ? find_bench_set(argv[2]) : nullptr;
        if (!set) {
            std::fprintf(stderr, "usage: %s bench [", argv[0]);
            for (const BenchSet& s : BENCH_SETS) std::fprintf(stderr, "%s%s", &s == BENCH_SETS ? "" : "|", s.name);
            std::fprintf(stderr, "]\n");
            return 2;
        }
        run_bench(policy.bench, *set, stdout);
        return 0;
    }
    LoopOptions options;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--historical-clock") == 0) {
            options.hardLimit = false;
        } else {
            std::fprintf(stderr, "unknown argument %s (the arguments are bench and --historical-clock)\n",
                         argv[i]);
            return 2;
        }
    }
    std::FILE* log = start_up(policy);
    return protocol_loop(policy, stdin, stdout, log, options);
}

}  // namespace morvelak
