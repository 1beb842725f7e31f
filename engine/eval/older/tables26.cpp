// Piece-square values of build m26 where they differ from m28 (the shared
// tables are m28's objects), rank 8 at the top, files a to h.
#include "engine/eval/older/tables.hpp"

namespace morvelak::m26 {

using older::printed_board;

// Knight of either colour, opening
constinit const Table SDEB = printed_board({
     -8,  -7,  -6,  -6,  -6,  -6,  -7,  -8,  // 8
     -5,   0,   0,   0,   0,   0,   0,  -5,  // 7
     -3,   0,   4,   4,   4,   4,   0,  -3,  // 6
     -1,   0,   4,   6,   6,   4,   0,  -1,  // 5
     -1,   0,   4,   6,   6,   4,   0,  -1,  // 4
     -3,   0,   4,   4,   4,   4,   0,  -3,  // 3
     -5,   0,   0,   0,   0,   0,   0,  -5,  // 2
     -8,  -7,  -6,  -6,  -6,  -6,  -7,  -8,  // 1
});

// Knight of either colour, middle game and endgame (the values of m28's SKONC)
constinit const Table SSROD = printed_board({
     -8,  -6,  -5,  -4,  -4,  -5,  -6,  -8,  // 8
     -5,  -1,   0,   0,   0,   0,  -1,  -5,  // 7
     -3,   0,   5,   5,   5,   5,   0,  -3,  // 6
     -2,   0,   5,   7,   7,   5,   0,  -2,  // 5
     -2,   0,   5,   7,   7,   5,   0,  -2,  // 4
     -3,   0,   5,   5,   5,   5,   0,  -3,  // 3
     -5,  -1,   0,   0,   0,   0,  -1,  -5,  // 2
     -8,  -6,  -5,  -4,  -4,  -5,  -6,  -8,  // 1
});

// Bishop of either colour, middle game and endgame
constinit const Table GSROD = printed_board({
     -6,  -5,  -4,  -3,  -3,  -4,  -5,  -6,  // 8
     -3,   1,   0,   0,   0,   0,   1,  -3,  // 7
     -2,   0,   4,   4,   4,   4,   0,  -2,  // 6
     -1,   0,   4,   6,   6,   4,   0,  -1,  // 5
     -1,   0,   4,   6,   6,   4,   0,  -1,  // 4
     -2,   0,   4,   4,   4,   4,   0,  -2,  // 3
     -3,   1,   0,   0,   0,   0,   1,  -3,  // 2
     -6,  -5,  -4,  -3,  -3,  -4,  -5,  -6,  // 1
});

// White rook, middle game
constinit const Table WBSROD = printed_board({
      5,   5,   5,   5,   5,   5,   5,   5,  // 8
      5,   6,   7,   7,   7,   7,   6,   5,  // 7
      0,   0,   0,   0,   0,   0,   0,   0,  // 6
     -1,   0,   0,   0,   0,   0,   0,  -1,  // 5
     -1,   0,   0,   0,   0,   0,   0,  -1,  // 4
     -2,   0,   0,   1,   1,   0,   0,  -2,  // 3
     -3,  -1,   1,   2,   2,   1,  -1,  -3,  // 2
     -4,  -2,   1,   2,   2,   1,  -2,  -4,  // 1
});

// Black rook, middle game
constinit const Table WCSROD = printed_board({
     -4,  -2,   1,   2,   2,   1,  -2,  -4,  // 8
     -3,  -1,   1,   2,   2,   1,  -1,  -3,  // 7
     -2,   0,   0,   1,   1,   0,   0,  -2,  // 6
     -1,   0,   0,   0,   0,   0,   0,  -1,  // 5
     -1,   0,   0,   0,   0,   0,   0,  -1,  // 4
      0,   0,   0,   0,   0,   0,   0,   0,  // 3
      5,   6,   7,   7,   7,   7,   6,   5,  // 2
      5,   5,   5,   5,   5,   5,   5,   5,  // 1
});

// White queen, middle game
constinit const Table HBSROD = printed_board({
      0,   3,   3,   3,   3,   3,   3,   0,  // 8
     -1,   5,   6,   6,   6,   6,   5,  -1,  // 7
     -2,   0,   0,   3,   3,   0,   0,  -2,  // 6
     -1,   0,   1,   3,   3,   1,   0,  -1,  // 5
     -1,   0,   1,   3,   3,   1,   0,  -1,  // 4
     -2,   0,   1,   2,   2,   1,   0,  -2,  // 3
     -3,   0,   1,   2,   2,   0,   0,  -3,  // 2
     -6,  -5,  -4,  -3,  -3,  -4,  -5,  -6,  // 1
});

// Black queen, middle game
constinit const Table HCSROD = printed_board({
     -6,  -5,  -4,  -3,  -3,  -4,  -5,  -6,  // 8
     -3,   0,   1,   2,   2,   0,   0,  -3,  // 7
     -2,   0,   1,   2,   2,   1,   0,  -2,  // 6
     -1,   0,   1,   3,   3,   1,   0,  -1,  // 5
     -1,   0,   1,   3,   3,   1,   0,  -1,  // 4
     -2,   0,   0,   3,   3,   0,   0,  -2,  // 3
     -1,   5,   6,   6,   6,   6,   5,  -1,  // 2
      0,   3,   3,   3,   3,   3,   3,   0,  // 1
});

// One knight table serves both colours in the middle game and the endgame.
constinit const TableSet TABLES = {
    // White: opening, middle game, endgame (bishops keep GSROD in the endgame)
    {{BPDEB.data(), SDEB.data(), GBDEB.data(), WBDEB.data(), HBDEB.data(), KBDEB.data()},
     {PBSROD.data(), SSROD.data(), GSROD.data(), WBSROD.data(), HBSROD.data(), KBSROD.data()},
     {PBKONC.data(), SSROD.data(), GSROD.data(), WKONC.data(), HKONC.data(), KKONC.data()}},
    // Black
    {{CPDEB.data(), SDEB.data(), GCDEB.data(), WCDEB.data(), HCDEB.data(), KCDEB.data()},
     {PCSROD.data(), SSROD.data(), GSROD.data(), WCSROD.data(), HCSROD.data(), KCSROD.data()},
     {PCKONC.data(), SSROD.data(), GSROD.data(), WKONC.data(), HKONC.data(), KKONC.data()}},
};

}  // namespace morvelak::m26
