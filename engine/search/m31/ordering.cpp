#include "engine/search/m31/ordering.hpp"

#include "engine/search/m31/search.hpp"

namespace morvelak::m31 {

int SORTBICB(Move* ru, int a) { return sortbic<Side::White>(ru, a); }
int SORTBICC(Move* ru, int a) { return sortbic<Side::Black>(ru, a); }

void WSTAWKILLERSB(int r0, int r1, int ilk, int ply) { wstawkillers<Side::White>(r0, r1, ilk, ply); }
void WSTAWKILLERSC(int r0, int r1, int ilk, int ply) { wstawkillers<Side::Black>(r0, r1, ilk, ply); }

}  // namespace morvelak::m31
