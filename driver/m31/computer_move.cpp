// m31's computer move: legal moves, the opening book, the
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
#include "engine/search/control.hpp"
#include "engine/position/makemove.hpp"
#include "engine/search/m31/deepening.hpp"
#include "engine/search/m31/path.hpp"
#include "engine/search/m31/root.hpp"
#include "engine/search/m31/state.hpp"

namespace morvelak::m31 {

namespace {

template <Side S>
bool ruchkomputer(char* ruchkomputera) {
    constexpr int c = S == Side::White ? 0 : 1;
    i8& n = SEARCH.target.n[c];
    // 1. Start the move clock.
    GAME.clock.CZAS();

    // 3-4. The legal moves, captures first.  Without one the game is over;
    //      nothing is touched and the caller reports the result.
    Move ru[MAX_MOVES];
    const int a = generate_legal<S>(ru);
    if (a == 0) return false;

    // 2. A new game starts at a depth chosen by the time on the clock.
    const u32 T = engine_clock<S>();
    if (GAME.R < 2 || SEARCH.target.fresh[c]) n = static_cast<i8>(start_depth(T));
    SEARCH.target.fresh[c] = false;

    // 5. The book, while the game is young; its move must be legal here.
    int zksiazki = -1;  // none (never a real index)
    char ruchksiazka[4];
    if (GAME.R < 40 && ksiazka2(ruchksiazka, GAME.R) != 0) zksiazki = book_move_index<S>(ru, a, ruchksiazka);

    // 6. Decide.  Black clears its node counter here, on every path; White
    //    clears it too when it does not search (and otherwise when the
    //    search starts).
    SEARCH.L = 0;
    i8 droga[PATH_BYTES] = {};
    int p = 0;
    int score = 0;  // White's side
    int nb = 0;     // depth searched; 0 when nothing was searched
    int t;
    if (a <= 1 || zksiazki >= 0) {
        p = a <= 1 ? 0 : zksiazki;
        t = GAME.clock.CZAS();
    } else {
        // 7. Iterative deepening.
        //    The interface may cap the depth ("sd"); a search stopped by the
        //    clock or by "?" plays the move its completed searches stand
        //    behind, and the record gives the depth actually behind it.
        int planned = CONTROL.capped(n);
        if (planned < 2) planned = 2;  // the first iteration is two plies
        p = deepen<S>(ru, a, planned, droga, ruchkomputera, &score, &nb);
        // The interface took the search back ("force", "new", ...): no move.
        if (CONTROL.withdrawn()) return false;
        // 8. Depth of the next search from the time this one took.
        t = GAME.clock.CZAS();
        n = static_cast<i8>(adapt_depth(n, t, T, GAME.R));
    }

    // 9. The move's text, the record, and the move on the board.
    put_pair(droga, origin_of<S>(ru[p]), ru[p].x2);
    char sc[256];
    sciezka(POS.PL, sc, droga, ruchkomputera);
    // The score from the engine's side.
    record_engine_part<S>(nb, ruchkomputera, S == Side::White ? score : -score, t, SEARCH.L);
    i8 zap[8] = {};
    zrobruch<S>(zap, ru[p].nr, ru[p].x2);
    return true;
}

}  // namespace

void new_game() { SEARCH.target.fresh[0] = SEARCH.target.fresh[1] = true; }

bool ruchkomputerbiale(char* ruchkomputera) { return ruchkomputer<Side::White>(ruchkomputera); }
bool ruchkomputerczarne(char* ruchkomputera) { return ruchkomputer<Side::Black>(ruchkomputera); }

}  // namespace morvelak::m31
