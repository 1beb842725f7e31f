#include "driver/game.hpp"

#include <cstdarg>

namespace morvelak {

u32 TB = 0, TC = 0;
std::FILE* zapisparti = nullptr;

void record(const char* fmt, ...) {
    if (!zapisparti) return;
    va_list args;
    va_start(args, fmt);
    std::vfprintf(zapisparti, fmt, args);
    va_end(args);
    std::fflush(zapisparti);
}

}  // namespace morvelak
