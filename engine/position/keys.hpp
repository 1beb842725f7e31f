// Position keys and repetition along a key path.
//
// A key is the 32-bit sum of KEY[code][square] over both piece lists.  It
// covers placement only: side to move, castling rights and en-passant squares
// do not enter it.  Additive keys need no update in make/unmake: a captured
// entry (0, 0) adds KEY[0][0] = 0, and unmaking restores the same sum.
//
// A key path TRASA: [0] is always 0 and ends every backward scan, [1..10]
// hold the last ten game positions (oldest first, [10] the position to move
// from), and [11..] are written by the search, one slot per level.  The
// table and the path belong to the search that uses them (m31's); what is
// here is how they work.
#pragma once

#include "engine/position/position.hpp"
#include "util/random.hpp"

namespace morvelak {

inline constexpr int KEY_ROWS = 32;
inline constexpr int TRASA_SIZE = 32;
inline constexpr int TRASA_GAME = 10;  // slots of game history, TRASA[1..10]

using KeyTable = u32[KEY_ROWS][100];

// Fills the twelve piece rows of KEY from the random generator and clears
// every other row.
void fill_keys(KeyTable& KEY, Random& random);

// The key of POS.
inline u32 klucz(const KeyTable& KEY) {
    u32 k = 0;
    for (int i = 0; i < POS.ILB; ++i) k += KEY[static_cast<u8>(POS.BP[2 * i])][static_cast<u8>(POS.BP[2 * i + 1])];
    for (int i = 0; i < POS.ILC; ++i) k += KEY[static_cast<u8>(POS.CP[2 * i])][static_cast<u8>(POS.CP[2 * i + 1])];
    return k;
}

// The key after side S's ordinary move (nr, x2), just made with the undo
// record z, from the key before it: the mover's entry changed its square
// (and its code, for a promotion), a captured entry became a hole, which
// adds nothing.  For castling (x2 < 0), which moves two entries, it returns
// 0: "not known here", and the caller works the key out afresh.
template <Side S>
inline u32 key_after(const KeyTable& KEY, u32 before, const i8* z, int nr, int x2) {
    if (x2 < 0) return 0;
    using O = Own<S>;
    const i8* own = own_list<S>();
    auto key = [&](int code, int square) { return KEY[static_cast<u8>(code)][static_cast<u8>(square)]; };
    u32 k = before - key(z[0], z[1]) + key(own[2 * nr], own[2 * nr + 1]);
    if (z[3] != -1) {
        // A capture: the victim stood on x2, or, en passant (nothing on x2),
        // behind it.
        if (z[2] != 0) k -= key(z[2], x2);
        else k -= key(O::enemyPawn, x2 - O::up);
    }
    return k;
}

// 1 when the key in trasa[0] occurs more than c times in the slots before
// it, scanning back to the first zero slot.
inline int czypotrojne(const u32* trasa, int c) {
    int count = 0;
    for (int i = 1; trasa[-i] != 0; ++i)
        if (trasa[-i] == trasa[0]) ++count;
    return count > c ? 1 : 0;
}

// Shifts the game part of the path TRASA down one slot and appends `key`.
inline void push_game_key(u32* TRASA, u32 key) {
    TRASA[0] = 0;
    for (int i = 1; i < TRASA_GAME; ++i) TRASA[i] = TRASA[i + 1];
    TRASA[TRASA_GAME] = key;
}

}  // namespace morvelak
