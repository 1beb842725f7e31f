// m28's computer move.  One body for both colours;
// ruchkomputerbiale / ruchkomputerczarne are its two names.
#include "driver/older/history.hpp"
#include "driver/m28/computer_move.hpp"

#include <cstring>

#include "driver/book.hpp"
#include "driver/engine_move.hpp"
#include "driver/history.hpp"
#include "engine/position/legal.hpp"
#include "engine/search/control.hpp"
#include "engine/position/makemove.hpp"
#include "engine/search/m28/hashtable.hpp"
#include "engine/search/m28/root.hpp"
#include "util/clock.hpp"

namespace morvelak::m28 {

namespace {

template <Side S>
bool ruchkomputer(char* ruchkomputera) {
    constexpr int c = S == Side::White ? 0 : 1;
    i8& n = SEARCH.target.n[c];
    // 1. Start the move clock.
    GAME.clock.CZAS();

    // 2. The legal moves, captures first.  Without one the game is over;
    //    nothing is touched and the caller reports the result.
    Move ru[MAX_MOVES];
    const int a = generate_legal<S>(ru);
    if (a == 0) return false;

    // A new game (no full move played yet) starts at a depth chosen by the
    // clock.  This build keeps its clock as a signed number.
    const i32 clock = static_cast<i32>(engine_clock<S>());
    if (GAME.R == 0 || SEARCH.target.fresh[c]) n = static_cast<i8>(start_depth(clock));
    SEARCH.target.fresh[c] = false;
    // The interface may cap the depth ("sd"); two plies is the shallowest
    // search there is.
    int planned = CONTROL.capped(n);
    if (planned < 2) planned = 2;

    // 3. The book, while the game is young.  It counts plies, the game full
    //    moves.  Its move must be legal here.
    int zksiazki = -1;  // none (never a real index)
    char ruchksiazka[4];
    const int plies = S == Side::White ? 2 * GAME.R : 2 * GAME.R + 1;
    if (GAME.R < 20 && ksiazka2(ruchksiazka, plies) != 0) zksiazki = book_move_index<S>(ru, a, ruchksiazka);
    const bool book = zksiazki >= 0;
    const bool searches = a > 1 && !book;

    // 4. Order the root: what the previous search stored for this position
    //    first, then the rest by a shallow search.  A single move needs no
    //    order, and the book needs none.  Should the clock or "?" stop the
    //    sort, a two-ply sort orders the moves instead.
    int g = 0;
    if (GAME.R > 0 && !book) g = hash_order_root<S>(ru, a);
    SEARCH.L = 0;
    int sorted = 0;  // depth of the pre-sort, 0 when none completed
    if (searches) sorted = presort_root<S>(ru, a, g, planned);

    // 5. The search, or the book's or the only move.  A search stopped by
    //    the clock or by "?" plays the best move of those it searched to the
    //    end; with none, the first move of its order, and the record gives
    //    the depth behind that choice: the pre-sort's, or 0.
    begin_root(planned);
    int p = 0;
    int f = 0;   // score, White's side; 0 when nothing was searched
    int nb = 0;  // depth searched; 0 when nothing was searched
    int t;
    if (!searches) {
        p = book ? zksiazki : 0;
        t = GAME.clock.CZAS();
    } else {
        int finished = 0;
        if (!CONTROL.stopped) p = search_root<S>(ru, a, planned, older::czypotrojne, &f, &finished);
        // The interface took the search back ("force", "new", ...): no move.
        if (CONTROL.withdrawn()) return false;
        nb = finished > 0 ? planned : sorted;
        // 6. Depth of the next search from the time this one took.
        t = GAME.clock.CZAS();
        n = static_cast<i8>(adapt_depth(n, t, clock, GAME.R));
    }

    SEARCH.report.a = a;
    std::memcpy(SEARCH.report.order, ru, sizeof(Move) * a);
    SEARCH.report.placed = g;
    SEARCH.report.chosen = p;
    SEARCH.report.depth = nb;
    SEARCH.report.score = f;

    // 7. The move's text, the record (the score from White's side for both
    //    colours), and the move on the board.
    move_text<S>(ru[p], ruchkomputera);
    record_engine_part<S>(nb, ruchkomputera, f, t, SEARCH.L);
    i8 zap[8] = {};
    zrobruch<S>(zap, ru[p].nr, ru[p].x2);
    return true;
}

}  // namespace

void new_game() { SEARCH.target.fresh[0] = SEARCH.target.fresh[1] = true; }

bool ruchkomputerbiale(char* ruchkomputera) { return ruchkomputer<Side::White>(ruchkomputera); }
bool ruchkomputerczarne(char* ruchkomputera) { return ruchkomputer<Side::Black>(ruchkomputera); }

const RootReport& last_root() { return SEARCH.report; }

}  // namespace morvelak::m28
