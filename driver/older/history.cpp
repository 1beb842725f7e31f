#include "driver/older/history.hpp"

#include <cstring>

namespace morvelak::older {

namespace {

bool stored(int k) { return k >= 0 && k < HISTORY_MOVES; }

bool store(int k, int half) {
    if (!stored(k)) return false;
    std::memcpy(GAME.perMove.PLZAP[k][half], POS.PL, 100);
    std::memcpy(GAME.perMove.WYJZAP[k][half], POS.WYJ, 4);
    return true;
}

// A stored board always has its border ring; a cleared entry holds zeros.
bool filled(int k, int half) { return stored(k) && GAME.perMove.PLZAP[k][half][0] == BORDER; }

bool restore(int k, int half) {
    if (!filled(k, half)) return false;
    std::memcpy(POS.PL, GAME.perMove.PLZAP[k][half], 100);
    std::memcpy(POS.WYJ, GAME.perMove.WYJZAP[k][half], 4);
    return true;
}

}  // namespace

void start_history() {
    // A cleared board has no border ring, so it never equals PL.
    std::memset(GAME.perMove.PLZAP, 0, sizeof GAME.perMove.PLZAP);
    std::memset(GAME.perMove.WYJZAP, 0, sizeof GAME.perMove.WYJZAP);
    GAME.R = 0;
    store(0, BEFORE_WHITE);
}

bool store_after_white_move() { return store(GAME.R, WHITE_MOVED); }

bool store_after_black_move() {
    ++GAME.R;
    return store(GAME.R, BEFORE_WHITE);
}

bool store_after_move(Side mover) {
    return mover == Side::White ? store_after_white_move() : store_after_black_move();
}

bool take_back_full_move(Side engine) {
    if (GAME.R <= 0) return false;  // not a full move played yet
    const int half = engine == Side::Black ? BEFORE_WHITE : WHITE_MOVED;
    // A game set up with Black to move has no board with White to move
    // before its first full move: there is nothing to go back to.
    if (stored(GAME.R - 1) && !filled(GAME.R - 1, half)) return false;
    --GAME.R;
    return restore(GAME.R, half);
}

void start_history_from(Side toMove) {
    start_history();
    if (toMove == Side::White) return;
    std::memset(GAME.perMove.PLZAP[0][BEFORE_WHITE], 0, 100);
    std::memset(GAME.perMove.WYJZAP[0][BEFORE_WHITE], 0, 4);
    store(0, WHITE_MOVED);
}

bool take_back_ply(Side mover) {
    if (mover == Side::White) return restore(GAME.R, BEFORE_WHITE);
    if (GAME.R <= 0 || !filled(GAME.R - 1, WHITE_MOVED)) return false;
    --GAME.R;
    return restore(GAME.R, WHITE_MOVED);
}

int czypotrojne() {
    const int moves = GAME.R < HISTORY_MOVES ? GAME.R : HISTORY_MOVES;
    int count = 0;
    for (int k = 0; k < moves; ++k)
        for (int half = 0; half < 2; ++half)
            if (std::memcmp(GAME.perMove.PLZAP[k][half], POS.PL, 100) == 0) ++count;
    return count;
}

}  // namespace morvelak::older
