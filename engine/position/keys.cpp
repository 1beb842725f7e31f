#include "engine/position/keys.hpp"

namespace morvelak {

void fill_keys(KeyTable& KEY, Random& random) {
    for (auto& row : KEY)
        for (u32& k : row) k = 0;
    // For each square, one draw per piece row in this fixed row order.
    static constexpr int rows[12] = {9, 10, 11, 12, 13, 8, 17, 18, 19, 20, 21, 16};
    for (int s = 0; s < 100; ++s)
        for (int r : rows) KEY[r][s] = random.random31() % 0x7FFFFFFFu;
}

}  // namespace morvelak
