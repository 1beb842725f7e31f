#include "driver/history.hpp"

#include <cstring>

namespace morvelak {

i32 R = 0;
i8 PLZAP[HISTORY_PLIES][100];
i8 WYJZAP[HISTORY_PLIES][4];

namespace {
void store(int k) {
    std::memcpy(PLZAP[k], POS.PL, 100);
    std::memcpy(WYJZAP[k], POS.WYJ, 4);
}
void restore(int k) {
    if (k >= HISTORY_PLIES) return;  // never stored: the position stays as it is
    std::memcpy(POS.PL, PLZAP[k], 100);
    std::memcpy(POS.WYJ, WYJZAP[k], 4);
}
}  // namespace

void history_start() {
    R = 0;
    store(0);
}

bool history_advance() {
    ++R;
    if (R >= HISTORY_PLIES) return false;
    store(R);
    return true;
}

void history_remove_two() {
    if (R > 1) R -= 2;
    restore(R);
}

void history_remove_one() {
    if (R > 0) R -= 1;
    restore(R);
}

}  // namespace morvelak
