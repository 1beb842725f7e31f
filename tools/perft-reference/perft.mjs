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

// The same count under the engine's own castling rule, which differs from
// the rules of chess: a right is lost only by castling (the engine keeps no
// record of earlier king or rook moves inside its search), and it can be used
// whenever the king and that rook stand on their home squares.  Counts differ
// from perftQ only where a king or rook leaves and comes back, or a rook
// is replaced on its corner, before the castling: five plies at the least.
const KSIDE = 32
const QSIDE = 64

function countEngineRights(game, depth, rights) {
  const board = game._board
  const has = (sq, type, color) => board[sq] && board[sq].type === type && board[sq].color === color
  const usable = (c) => {
    const [e, a, h] = c === 'w' ? [116, 112, 119] : [4, 0, 7]  // e1 a1 h1 / e8 a8 h8 (0x88)
    if (!has(e, 'k', c)) return 0
    return (rights[c] & KSIDE && has(h, 'r', c) ? KSIDE : 0) | (rights[c] & QSIDE && has(a, 'r', c) ? QSIDE : 0)
  }
  game._castling = { w: usable('w'), b: usable('b') }
  const moves = game._moves({ legal: false })
  const us = game._turn
  let nodes = 0
  for (const m of moves) {
    if (m.promotion && m.promotion !== 'q') continue
    game._makeMove(m)
    if (!game._isKingAttacked(us)) {
      const next = m.flags & (KSIDE | QSIDE) ? { ...rights, [us]: 0 } : rights
      nodes += depth > 1 ? countEngineRights(game, depth - 1, next) : 1
    }
    game._undoMove()
  }
  return nodes
}

export function perftEngineRights(fen, depth) {
  const game = new Chess(fen)
  return depth <= 0 ? 1 : countEngineRights(game, depth, { ...game._castling })
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
