#include "engine/search/old/lastply.hpp"

namespace morvelak::m28 {

int OBLICZBPLY1(int d, int alfa, int beta, int pusty, i8* sdroga) {
    return old::oblicz_ply1<Side::White, old::HashBuildLastPly>(d, alfa, beta, pusty, sdroga);
}
int OBLICZCPLY1(int d, int alfa, int beta, int pusty, i8* sdroga) {
    return old::oblicz_ply1<Side::Black, old::HashBuildLastPly>(d, alfa, beta, pusty, sdroga);
}

}  // namespace morvelak::m28
