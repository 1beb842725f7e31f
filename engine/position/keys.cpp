#include "engine/position/keys.hpp"

#include "util/random.hpp"

namespace morvelak {

u32 KEY[KEY_ROWS][100];
u32 TRASA[TRASA_SIZE];

void fill_keys() {
    for (auto& row : KEY)
        for (u32& k : row) k = 0;
    for (u32& t : TRASA) t = 0;
    // For each square, one draw per piece row in this fixed row order.
    static constexpr int rows[12] = {9, 10, 11, 12, 13, 8, 17, 18, 19, 20, 21, 16};
    for (int s = 0; s < 100; ++s)
        for (int r : rows) KEY[r][s] = random31() % 0x7FFFFFFFu;
}

void push_key() {
    TRASA[0] = 0;
    for (int i = 1; i < TRASA_GAME; ++i) TRASA[i] = TRASA[i + 1];
    TRASA[TRASA_GAME] = KLUCZ();
}

}  // namespace morvelak
