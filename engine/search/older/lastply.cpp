#include "engine/search/older/lastply.hpp"

namespace morvelak::m28 {

int OBLICZBPLY1(int d, int alfa, int beta, int pusty, i8* sdroga) {
    return older::oblicz_ply1<Side::White, older::HashBuildLastPly>(d, alfa, beta, pusty, sdroga);
}
int OBLICZCPLY1(int d, int alfa, int beta, int pusty, i8* sdroga) {
    return older::oblicz_ply1<Side::Black, older::HashBuildLastPly>(d, alfa, beta, pusty, sdroga);
}

}  // namespace morvelak::m28
