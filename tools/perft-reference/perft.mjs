// Perft as this engine counts it: legal move sequences where every promotion
// is made to a queen only (the engine never under-promotes).  Built on
// chess.js's own move generator, which is independent of the engine.
import { Chess } from 'chess.js'

// Counts the legal sequences of `depth` plies from the game's position.
// chess.js lists one move per promotion piece; all but the queen are dropped.
function count(game, depth) {
  const moves = game._moves({ legal: false })
  const us = game._turn
  let nodes = 0
  for (const m of moves) {
    if (m.promotion && m.promotion !== 'q') continue
    game._makeMove(m)
    if (!game._isKingAttacked(us)) nodes += depth > 1 ? count(game, depth - 1) : 1
    game._undoMove()
  }
  return nodes
}

// Queen-only perft of `fen` at one depth.
export function perftQ(fen, depth) {
  const game = new Chess(fen)
  return depth <= 0 ? 1 : count(game, depth)
}

// A random legal position: `plies` random legal moves from `fen`, stopping
// early at the end of the game.  `rand` returns a number in [0, 1).
export function randomPosition(fen, plies, rand) {
  const game = new Chess(fen)
  for (let i = 0; i < plies; i++) {
    const moves = game.moves({ verbose: true }).filter((m) => !m.promotion || m.promotion === 'q')
    if (moves.length === 0 || game.isDraw()) break
    game.move(moves[Math.floor(rand() * moves.length)])
  }
  return game.fen()
}

// A small seeded generator so that random runs can be repeated.
export function mulberry32(seed) {
  let a = seed >>> 0
  return () => {
    a = (a + 0x6d2b79f5) >>> 0
    let t = a
    t = Math.imul(t ^ (t >>> 15), t | 1)
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61)
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296
  }
}
