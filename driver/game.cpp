#include "driver/game.hpp"

#include <cstdarg>

namespace morvelak {

Game GAME{};

void record(const char* fmt, ...) {
    if (!GAME.zapisparti) return;
    va_list args;
    va_start(args, fmt);
    std::vfprintf(GAME.zapisparti, fmt, args);
    va_end(args);
    std::fflush(GAME.zapisparti);
}

}  // namespace morvelak
