// m26's computer move.  One body for both colours;
// ruchkomputerbiale / ruchkomputerczarne are its two names.
#include "driver/older/history.hpp"
#include "driver/m26/computer_move.hpp"

#include "driver/book.hpp"
#include "driver/engine_move.hpp"
#include "driver/game.hpp"
#include "driver/history.hpp"
#include "engine/position/legal.hpp"
#include "engine/search/control.hpp"
#include "engine/position/makemove.hpp"
#include "engine/search/m26/root.hpp"
#include "engine/search/m26/search.hpp"
#include "engine/search/m26/state.hpp"
#include "engine/search/older/ordering.hpp"
#include "util/clock.hpp"

namespace morvelak::m26 {

int adapt_depth(int n, int t, TimeLimits limits) {
    if (t > limits.t2) --n;
    if (t <= limits.t1) ++n;
    if (n < 5) n = 5;
    if (n > older::MAX_DEPTH) n = older::MAX_DEPTH;
    return n;
}

namespace {

template <Side S>
bool ruchkomputer(char* ruchkomputera) {
    constexpr int c = S == Side::White ? 0 : 1;
    i8& n = SEARCH.target.n[c];
    const u32 T = engine_clock<S>();

    // 1. A game starts at a depth chosen by the clock.  Start the move clock;
    //    an empty root node.
    if (GAME.R == 0 || SEARCH.target.fresh[c]) n = static_cast<i8>(start_depth(T));
    SEARCH.target.fresh[c] = false;
    GAME.clock.CZAS();
    korzen<S>().inic();
    // The interface may cap the depth ("sd"); two plies is the shallowest
    // search there is.
    int planned = CONTROL.capped(n);
    if (planned < 2) planned = 2;

    // 2. The time limits, from the clock before the search.
    const TimeLimits limits = time_limits(T, GAME.R);

    // 3. The legal moves, by the attack-map generator.  Without one the game
    //    is over; nothing is touched and the caller reports the result.
    Move ru[MAX_MOVES];
    const int a = generate_root_moves<S>(ru);
    if (a == 0) return false;

    //    The book, for the first 20 full moves, with the plies played so far;
    //    its move must be legal here.
    int zksiazki = -1;  // none
    char ruchksiazka[4];
    const int plies = 2 * GAME.R + (S == Side::Black ? 1 : 0);
    if (GAME.R < 20 && ksiazka2(ruchksiazka, plies) != 0) zksiazki = book_move_index<S>(ru, a, ruchksiazka);
    const bool book = zksiazki >= 0;

    // 4. Order: the moves the last search found best after the opponent's
    //    actual reply first, then the rest by a shallow search.  Should the
    //    clock or "?" stop the sort, a two-ply sort orders them instead.
    clear_counters();
    int g = 0;
    if (GAME.R > 0 && !book) g = order_from_replies<S>(ru, a, opponent_move<S>());
    int sorted = 0;  // depth of the pre-sort, 0 when none completed
    if (g < a && !book) sorted = presort_root<S>(ru, a, g, planned);

    // 5. Search, unless the move is forced or from the book.  A search
    //    stopped by the clock or by "?" plays the best move of those it
    //    searched to the end; with none, the first move of its order, and
    //    the record gives the depth behind that choice: the pre-sort's, or 0.
    int p = 0;
    int f = 0;   // the chosen move's value, White's side; 0 when not searched
    int nb = 0;  // depth searched; 0 when nothing was searched
    int t;
    const bool searched = a > 1 && !book;
    if (!searched) {
        p = book ? zksiazki : 0;
        t = GAME.clock.CZAS();
    } else {
        RootResult r{0, 0, 0};
        if (!CONTROL.stopped) r = search_root<S>(ru, a, planned, older::czypotrojne);
        // The interface took the search back ("force", "new", ...): no move,
        // and the tables stay what the last move left.
        if (CONTROL.withdrawn()) {
            korzen<S>().zwolnij();
            return false;
        }
        p = r.p;
        f = r.f;
        nb = r.finished > 0 ? planned : sorted;
        t = GAME.clock.CZAS();
        n = static_cast<i8>(adapt_depth(n, t, limits));
    }

    // 6. The move's text, the record, and the move on the board.  The score
    //    is White's for both colours.
    const Move m = ru[p];
    move_text<S>(m, ruchkomputera);
    const unsigned long secs = static_cast<unsigned long>(t / 100);
    const unsigned long tenths = static_cast<unsigned long>((t / 10) % 10);
    if constexpr (S == Side::White) {
        // White's part opens the line; the opponent's reply completes it.
        record("%d %c%c%c%c %d %lu.%lu", nb, ruchkomputera[0], ruchkomputera[1], ruchkomputera[2],
               ruchkomputera[3], f, secs, tenths);
    } else {
        record("%d %c%c%c%c %d %lu.%lu\n", nb, ruchkomputera[0], ruchkomputera[1], ruchkomputera[2],
               ruchkomputera[3], f, secs, tenths);
    }
    i8 zap[8] = {};
    zrobruch<S>(zap, m.nr, m.x2);

    // 7. What the search expects next is kept, and its tree freed.  A
    //    stopped search left in its tree only the root moves it searched to
    //    the end; their expectations are as sound as a complete search's
    //    and are kept the same way.  Without one, the tables are cleared:
    //    the old ones belong to the position before the last move.
    if (searched) keep_replies<S>(m);
    return true;
}

}  // namespace

bool ruchkomputerbiale(char* ruchkomputera) { return ruchkomputer<Side::White>(ruchkomputera); }
bool ruchkomputerczarne(char* ruchkomputera) { return ruchkomputer<Side::Black>(ruchkomputera); }

int target_depth_of(Side s) { return SEARCH.target.n[s == Side::White ? 0 : 1]; }

void new_game() { SEARCH.target.fresh[0] = SEARCH.target.fresh[1] = true; }

}  // namespace morvelak::m26
