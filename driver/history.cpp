#include "driver/history.hpp"

#include <cstring>

namespace morvelak {

namespace {
void store(int k) {
    std::memcpy(GAME.perPly.PLZAP[k], POS.PL, 100);
    std::memcpy(GAME.perPly.WYJZAP[k], POS.WYJ, 4);
}
void restore(int k) {
    if (k >= HISTORY_PLIES) return;  // never stored: the position stays as it is
    std::memcpy(POS.PL, GAME.perPly.PLZAP[k], 100);
    std::memcpy(POS.WYJ, GAME.perPly.WYJZAP[k], 4);
}
}  // namespace

void history_start() {
    GAME.R = 0;
    store(0);
}

bool history_advance() {
    ++GAME.R;
    if (GAME.R >= HISTORY_PLIES) return false;
    store(GAME.R);
    return true;
}

void history_remove_two() {
    if (GAME.R > 1) GAME.R -= 2;
    restore(GAME.R);
}

void history_remove_one() {
    if (GAME.R > 0) GAME.R -= 1;
    restore(GAME.R);
}

}  // namespace morvelak
