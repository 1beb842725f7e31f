// The newest build's computer move: legal moves, the opening book, the
// iterative-deepening search with its depth control, the engine's part of
// the game record, and the move made on the board.  One body for both
// colours; ruchkomputerbiale / ruchkomputerczarne are its two names.
#include "driver/m31/computer_move.hpp"

#include "driver/book.hpp"
#include "driver/engine_move.hpp"
#include "driver/game.hpp"
#include "driver/history.hpp"
#include "util/clock.hpp"
#include "engine/position/legal.hpp"
#include "engine/search/makemove.hpp"
#include "engine/search/m31/deepening.hpp"
#include "engine/search/m31/path.hpp"
#include "engine/search/m31/root.hpp"
#include "engine/search/m31/state.hpp"

namespace morvelak::m31 {

namespace {

// Target depth of the next search, one per colour, kept from move to move
// and reset when a game starts.  It starts at the depth of a new game, so a
// first search that comes after the first two plies still searches.
template <Side S> i8& target_depth() {
    static i8 n = 7;
    return n;
}

template <Side S>
bool ruchkomputer(char* ruchkomputera) {
    i8& n = target_depth<S>();
    // 1. Start the move clock.
    CZAS();

    // 3-4. The legal moves, captures first.  Without one the game is over;
    //      nothing is touched and the caller reports the result.
    Move ru[MAX_MOVES];
    const int a = generate_legal<S>(ru);
    if (a == 0) return false;

    // 2. A new game starts at a depth chosen by the time on the clock.
    const u32 T = engine_clock<S>();
    if (R < 2) n = static_cast<i8>(start_depth(T));

    // 5. The book, while the game is young; its move must be legal here.
    int zksiazki = -1;  // none (never a real index)
    char ruchksiazka[4];
    if (R < 40 && ksiazka2(ruchksiazka, R) != 0) zksiazki = book_move_index<S>(ru, a, ruchksiazka);

    // 6. Decide.  Black clears its node counter here, on every path; White
    //    clears it too when it does not search (and otherwise with L1, L2
    //    when the search starts).
    L = 0;
    i8 droga[PATH_BYTES] = {};
    int p = 0;
    int score = 0;  // White's side
    int nb = 0;     // depth searched; 0 when nothing was searched
    int t;
    if (a <= 1 || zksiazki >= 0) {
        p = a <= 1 ? 0 : zksiazki;
        t = CZAS();
    } else {
        // 7. Iterative deepening.
        if constexpr (S == Side::White) p = deepen_white(ru, a, n, droga, ruchkomputera, &score);
        else p = deepen_black(ru, a, n, droga, ruchkomputera, &score);
        // 8. Depth of the next search from the time this one took.
        nb = n;
        t = CZAS();
        n = static_cast<i8>(adapt_depth(n, t, T, R));
    }

    // 9. The move's text, the record, and the move on the board.
    put_pair(droga, origin_of<S>(ru[p]), ru[p].x2);
    char sc[256];
    sciezka(PL, sc, droga, ruchkomputera);
    // The score from the engine's side.
    record_engine_part<S>(nb, ruchkomputera, S == Side::White ? score : -score, t, L);
    i8 zap[8] = {};
    zrobruch<S>(zap, ru[p].nr, ru[p].x2);
    return true;
}

}  // namespace

bool ruchkomputerbiale(char* ruchkomputera) { return ruchkomputer<Side::White>(ruchkomputera); }
bool ruchkomputerczarne(char* ruchkomputera) { return ruchkomputer<Side::Black>(ruchkomputera); }

}  // namespace morvelak::m31
