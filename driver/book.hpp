// The opening book: "k2.txt" in the working directory, one opening line per
// text line, each move four characters of coordinate text written back to
// back (e2e4e7e5g1f3...), castling as the king's move (e1g1).
//
// The book keeps no index and no positions.  To answer a position it replays
// the first `depth` moves of every line on a board of its own and keeps every
// line that arrives at exactly the game's board, so a line reached by another
// move order counts as well.  One of the lines' next moves is then chosen at
// random, each line weighing one: a reply that many lines share is played
// more often.
#pragma once

namespace morvelak {

// Most candidate continuations one look-up collects; lines found after the
// table is full are ignored.
inline constexpr int BOOK_CANDIDATES = 14000;

// The most of the book file that is read: a book ends there, however long
// the file.  Hundreds of times the size of a full opening book.
inline constexpr long BOOK_BYTES = 8L * 1024 * 1024;

// Looks up the game position PL after `depth` plies from the initial
// position.  On success writes the four characters of the chosen move into
// ruch[0..3] and returns 1; returns 0 and leaves ruch alone when the book has
// nothing (a missing book, or anything but a regular file under its name,
// reads as an empty one).  Reseeds the game's random generator (GAME.random)
// from the clock.  Answers nothing while the book is switched off
// (GAME.bookOn false).
int ksiazka2(char* ruch, int depth);

// The same look-up in the book file `name` (the engine always uses "k2.txt").
int ksiazka2(char* ruch, int depth, const char* name);

// The collecting half of the look-up, without the random choice: writes the
// file offset of every candidate continuation into offsets[0..] (at most
// BOOK_CANDIDATES of them) and returns how many there are.
int book_candidates(const char* name, int depth, long* offsets);

}  // namespace morvelak
