#include "driver/startup.hpp"

#include <csignal>
#include <cstring>

#include "engine/position/state.hpp"
#include "engine/search/keys.hpp"
#include "util/boardfile.hpp"
#include "util/random.hpp"

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
        if (load(BOARD_FILE, PL, WYJ)) return true;
        std::fprintf(stderr, "playing from the standard start position instead\n");
    } else {
        std::fprintf(stderr, "%s not found: playing from the standard start position\n", BOARD_FILE);
    }
    load_text(STANDARD_BOARD, PL, WYJ);
    return false;
}

std::FILE* start_up(const BuildPolicy& policy) {
    if (policy.position_keys) {
        seed_random_from_clock();
        fill_keys();  // also clears the key window
    }
    build_geometry();
    std::memset(WART, 0, sizeof WART);
    std::memset(PL, BORDER, sizeof PL);  // the border ring, which the loader never writes
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
    LoopOptions options;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--historical-clock") == 0) {
            options.hardLimit = false;
        } else {
            std::fprintf(stderr, "unknown argument %s (the one argument is --historical-clock)\n", argv[i]);
            return 2;
        }
    }
    std::FILE* log = start_up(policy);
    return protocol_loop(policy, stdin, stdout, log, options);
}

}  // namespace morvelak
