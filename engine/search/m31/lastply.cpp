#include "engine/search/m31/lastply.hpp"

#include "engine/search/m31/search.hpp"

namespace morvelak::m31 {

int OBLICZBPLY1(int d, int alfa, int beta, int pusty, i8* sdroga, int przedluz) {
    return oblicz_ply1<Side::White>(d, alfa, beta, pusty, sdroga, przedluz);
}
int OBLICZCPLY1(int d, int alfa, int beta, int pusty, i8* sdroga, int przedluz) {
    return oblicz_ply1<Side::Black>(d, alfa, beta, pusty, sdroga, przedluz);
}

}  // namespace morvelak::m31
