// perft "<FEN>" <depth>: prints "perft D N" for every depth D from 1 to depth.
// Promotions are to a queen only, as the engine plays them.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/eval/m31/eval.hpp"
#include "engine/position/rebuild.hpp"
#include "engine/position/fen.hpp"
#include "engine/position/perft.hpp"

using namespace morvelak;

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: perft \"<FEN>\" <depth>\n");
        return 2;
    }
    char* end = nullptr;
    const long depth = std::strtol(argv[2], &end, 10);
    if (*argv[2] == '\0' || *end != '\0' || depth < 1 || depth > 12) {
        std::fprintf(stderr, "perft: depth must be a whole number from 1 to 12\n");
        return 2;
    }
    FenPosition pos;
    std::string error;
    if (!parse_fen(argv[1], pos, error)) {
        std::fprintf(stderr, "perft: bad FEN: %s\n", error.c_str());
        return 2;
    }
    std::memcpy(POS.PL, pos.pl, 100);
    std::memcpy(POS.WYJ, pos.wyj, 4);
    skroctablice(m31::SCALE);
    for (int d = 1; d <= depth; ++d)
        std::printf("perft %d %llu\n", d, static_cast<unsigned long long>(perft(pos.toMove, d)));
    return 0;
}
