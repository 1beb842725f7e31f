#include "engine/search/m28/hashtable.hpp"

#include <cstring>

#include "engine/search/m28/state.hpp"

namespace morvelak::m28 {

void record::posortuj(char kto) {
    const int n = ile < 0 ? 0 : (ile > RECORD_MOVES ? RECORD_MOVES : ile);
    const bool greatestFirst = kto == 'b';
    bool swapped = true;
    while (swapped) {
        swapped = false;
        for (int i = 0; i + 1 < n; ++i) {
            const bool outOfOrder = greatestFirst ? wart[i] < wart[i + 1] : wart[i] > wart[i + 1];
            if (!outOfOrder) continue;
            const int w = wart[i];
            wart[i] = wart[i + 1];
            wart[i + 1] = w;
            for (int k = 0; k < 2; ++k) {
                const i8 t = ru[i][k];
                ru[i][k] = ru[i + 1][k];
                ru[i + 1][k] = t;
            }
            swapped = true;
        }
    }
}

void hash_begin() {
    record& h = SEARCH.HASH[SEARCH.HASHL];
    std::memcpy(h.plansza, POS.PL, 100);
    h.ile = 0;
}

bool hash_store(int b, int origin, int x2, int value) {
    if (b < 0 || b >= RECORD_MOVES) return false;
    record& h = SEARCH.HASH[SEARCH.HASHL];
    h.ru[b][0] = static_cast<i8>(origin);
    h.ru[b][1] = static_cast<i8>(x2);
    h.wart[b] = value;
    return true;
}

void hash_close(int searched) {
    SEARCH.HASH[SEARCH.HASHL].ile = searched < 0 ? 0 : (searched > RECORD_MOVES ? RECORD_MOVES : searched);
    if (SEARCH.HASHL < HASH_LAST) ++SEARCH.HASHL;
}

record* hash_find() {
    for (int i = 0; i < SEARCH.HASHL; ++i)
        if (std::memcmp(SEARCH.HASH[i].plansza, POS.PL, 100) == 0) return &SEARCH.HASH[i];
    return nullptr;
}

}  // namespace morvelak::m28
