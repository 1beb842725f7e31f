#include "driver/startup.hpp"

#include <csignal>
#include <cstring>

#include "engine/position/position.hpp"
#include "engine/position/boardfile.hpp"
#include "driver/game.hpp"

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

bool load_start_position() {
    // Probe first, so that the loader's own complaint about a missing file
    // does not appear next to ours; a file it refuses explains itself.
    if (std::FILE* f = std::fopen(BOARD_FILE, "rb")) {
        std::fclose(f);
        if (load(BOARD_FILE, POS.PL, POS.WYJ)) return true;
        std::fprintf(stderr, "playing from the standard start position instead\n");
    } else {
        std::fprintf(stderr, "%s not found: playing from the standard start position\n", BOARD_FILE);
    }
    load_text(STANDARD_BOARD, POS.PL, POS.WYJ);
    return false;
}

std::FILE* start_up(const BuildPolicy& policy, std::FILE* out) {
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
    std::FILE* log = std::fopen(LOG_FILE, "w");
    for (const char* const* f = policy.features; *f; ++f) {
        std::fputs(*f, out);
        std::fflush(out);
    }
    return log;
}

int run_engine(const BuildPolicy& policy, int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "bench") == 0 && policy.bench) {
        run_bench(policy.bench, stdout);
        return 0;
    }
    std::FILE* log = start_up(policy, stdout);
    return protocol_loop(policy, stdin, stdout, log);
}

}  // namespace morvelak
