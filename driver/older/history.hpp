// The game history of the two older builds: two positions per full move.
//
// Where m31 keeps one board per ply, these builds count the game in full
// moves (GAME.R) and keep, for every full move k, two boards with their WYJ
// bytes in GAME.perMove (driver/game.hpp):
//
//   PLZAP[k][BEFORE_WHITE]  the position with White to move after k full moves
//   PLZAP[k][WHITE_MOVED]   the position after White's move of full move k + 1
//
// The two storing steps follow from who has just moved, whoever plays whom:
// White's move fills the second board of the current full move; Black's move
// completes the full move, so R grows and the first board of the next one is
// filled.  Taking back ("remove") goes one full move back and restores the
// board on which the engine's opponent is to move again.
//
// The history holds 150 full moves.  A longer game keeps playing: its later
// positions are simply not stored, cannot be taken back to, and never take
// part in the repetition count.
#pragma once

#include "driver/game.hpp"
#include "engine/position/position.hpp"

namespace morvelak::older {

inline constexpr int BEFORE_WHITE = 0;  // White to move
inline constexpr int WHITE_MOVED = 1;   // Black to move

// "new": R = 0 and the loaded position becomes entry (0, BEFORE_WHITE).
// Every other entry is cleared, so a board that was never stored in this
// game (a game begun with Black to move, say) can never match a position.
void start_history();

// After White's move: store the position as entry (R, WHITE_MOVED); R stays.
// Returns false when R is beyond the history and nothing was stored.
bool store_after_white_move();

// After Black's move: R += 1, then store the position as entry
// (R, BEFORE_WHITE).  Returns false when nothing was stored.
bool store_after_black_move();

// The two above, chosen by the side that has just moved.
bool store_after_move(Side mover);

// "remove": takes back the engine's last move and the opponent's move before
// it.  R -= 1, then the position is restored from entry (R, BEFORE_WHITE)
// when the engine plays Black and from (R, WHITE_MOVED) when it plays White:
// either way the opponent is to move again.  With no full move played
// (R = 0) nothing happens.  An entry beyond the history was never stored, so
// R goes back but the position stays as it is.  Returns whether a position
// was restored.
bool take_back_full_move(Side engine);

// "setboard": the history starts again from the position set up, with
// `toMove` to move.  Like start_history, but a position with Black to move
// becomes entry (0, WHITE_MOVED), as if White's first move had just been
// played; entry (0, BEFORE_WHITE) then stays cleared, is never restored and
// never matches a board.  The game goes on from there by the usual steps:
// Black's move makes R = 1 and fills (1, BEFORE_WHITE).
void start_history_from(Side toMove);

// "undo": takes back the last ply, made by `mover`.  After White's move the
// position with White to move of the same full move is restored and R stays;
// after Black's move R goes back one full move and the position after
// White's move is restored.  Returns false, changing nothing, when that
// entry was never stored: no ply played since the history began, or the
// game is longer than the history.
bool take_back_ply(Side mover);

// How many of the stored boards equal PL: for every full move k < R (and
// within the history) both (k, BEFORE_WHITE) and (k, WHITE_MOVED) are
// compared over all 100 bytes.  Only the board counts; castling rights and
// en-passant squares are not looked at.  The root searches use it to score a
// root move that returns to an earlier position of the game.
int czypotrojne();

}  // namespace morvelak::older
