#include "engine/search/ordering.hpp"

namespace morvelak {

Move KILB[KILLER_ROWS * KILLER_ROW];
Move KILC[KILLER_ROWS * KILLER_ROW];

void clear_killers() {
    for (Move& m : KILB) m = Move{0, 0};
    for (Move& m : KILC) m = Move{0, 0};
}

int SORTBICB(Move* ru, int a) { return sortbic<Side::White>(ru, a); }
int SORTBICC(Move* ru, int a) { return sortbic<Side::Black>(ru, a); }

void WSTAWKILLERSB(int r0, int r1, int ilk, int ply) { wstawkillers<Side::White>(r0, r1, ilk, ply); }
void WSTAWKILLERSC(int r0, int r1, int ilk, int ply) { wstawkillers<Side::Black>(r0, r1, ilk, ply); }

}  // namespace morvelak
