// The hash-table build's computer move.  One body for both colours;
// ruchkomputerbiale / ruchkomputerczarne are its two names.
#include "driver/m28/computer_move.hpp"

#include <cstring>

#include "driver/book.hpp"
#include "driver/engine_move.hpp"
#include "driver/history.hpp"
#include "engine/position/legal.hpp"
#include "engine/search/makemove.hpp"
#include "engine/search/m28/hashtable.hpp"
#include "engine/search/m28/root.hpp"
#include "util/clock.hpp"

namespace morvelak::m28 {

namespace {

RootReport report{};

// Target depth of the next search, one per colour, kept from move to move
// and set afresh when a game starts.
template <Side S> i8& target_depth() {
    static i8 n = 9;
    return n;
}

template <Side S>
bool ruchkomputer(char* ruchkomputera) {
    i8& n = target_depth<S>();
    // 1. Start the move clock.
    CZAS();

    // 2. The legal moves, captures first.  Without one the game is over;
    //    nothing is touched and the caller reports the result.
    Move ru[MAX_MOVES];
    const int a = generate_legal<S>(ru);
    if (a == 0) return false;

    // A new game (no full move played yet) starts at a depth chosen by the
    // clock.  This build keeps its clock as a signed number.
    const i32 clock = static_cast<i32>(engine_clock<S>());
    if (R == 0) n = static_cast<i8>(start_depth(clock));

    // 3. The book, while the game is young.  It counts plies, the game full
    //    moves.  Its move must be legal here.
    int zksiazki = -1;  // none (never a real index)
    char ruchksiazka[4];
    const int plies = S == Side::White ? 2 * R : 2 * R + 1;
    if (R < 20 && ksiazka2(ruchksiazka, plies) != 0) zksiazki = book_move_index<S>(ru, a, ruchksiazka);
    const bool book = zksiazki >= 0;
    const bool searches = a > 1 && !book;

    // 4. Order the root: what the previous search stored for this position
    //    first, then the rest by a shallow search.  A single move needs no
    //    order, and the book needs none.
    int g = 0;
    if (R > 0 && !book) g = hash_order_root<S>(ru, a);
    L = 0;
    if (searches) presort_root<S>(ru, a, g, n);

    // 5. The search, or the book's or the only move.
    begin_root(n);
    int p = 0;
    int f = 0;   // score, White's side; 0 when nothing was searched
    int nb = 0;  // depth searched; 0 when nothing was searched
    int t;
    if (!searches) {
        p = book ? zksiazki : 0;
        t = CZAS();
    } else {
        p = search_root<S>(ru, a, n, &f);
        // 6. Depth of the next search from the time this one took.
        nb = n;
        t = CZAS();
        n = static_cast<i8>(adapt_depth(n, t, clock, R));
    }

    report.a = a;
    std::memcpy(report.order, ru, sizeof(Move) * a);
    report.placed = g;
    report.chosen = p;
    report.depth = nb;
    report.score = f;

    // 7. The move's text, the record (the score from White's side for both
    //    colours), and the move on the board.
    move_text<S>(ru[p], ruchkomputera);
    record_engine_part<S>(nb, ruchkomputera, f, t, L);
    i8 zap[8] = {};
    zrobruch<S>(zap, ru[p].nr, ru[p].x2);
    return true;
}

}  // namespace

bool ruchkomputerbiale(char* ruchkomputera) { return ruchkomputer<Side::White>(ruchkomputera); }
bool ruchkomputerczarne(char* ruchkomputera) { return ruchkomputer<Side::Black>(ruchkomputera); }

const RootReport& last_root() { return report; }

}  // namespace morvelak::m28
