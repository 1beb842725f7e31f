// Writes tests/position/perft_fixture.txt: queen-only perft counts of a set
// of positions, computed with chess.js, so that the engine's generator and
// make/unmake can be checked without the network.
//
//   node generate.mjs            regenerate the fixture
//   node generate.mjs FEN DEPTH  print the counts of one position
//   node generate.mjs FEN DEPTH --engine-rights
//                                the same under the engine's castling rule
//
// Every position gets depths 1..4; depth 5 is added when the estimated time
// (depth-4 time times the last branching factor) stays under BUDGET_MS.
import { writeFileSync } from 'node:fs'
import { dirname, join } from 'node:path'
import { fileURLToPath } from 'node:url'
import { perftEngineRights, perftQ } from './perft.mjs'

const BUDGET_MS = 120000

// name, FEN.  Names are one word so that the fixture stays easy to split.
const POSITIONS = [
  // The well-known perft suite.
  ['start', 'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1'],
  ['kiwipete', 'r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1'],
  ['suite3', '8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1'],
  ['suite4', 'r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1'],
  ['suite4mirror', 'r2q1rk1/pP1p2pp/Q4n2/bbp1p3/Np6/1B3NBn/pPPP1PPP/R3K2R b KQ - 0 1'],
  ['suite5', 'rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8'],
  ['suite6', 'r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10'],

  // Castling: free, through attacked squares, out of check.
  ['castle_free', 'r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1'],
  ['castle_free_black', 'r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1'],
  ['castle_f1_attacked', '4kr2/8/8/8/8/8/8/R3K2R w KQ - 0 1'],
  ['castle_g1_attacked', '4k1r1/8/8/8/8/8/8/R3K2R w KQ - 0 1'],
  ['castle_d1_attacked', '3rk3/8/8/8/8/8/8/R3K2R w KQ - 0 1'],
  ['castle_c1_attacked', '2r1k3/8/8/8/8/8/8/R3K2R w KQ - 0 1'],
  ['castle_b1_attacked', '1r2k3/8/8/8/8/8/8/R3K2R w KQ - 0 1'],
  ['castle_in_check', '4r1k1/8/8/8/8/8/8/R3K2R w KQ - 0 1'],
  ['castle_knight_f1_b1', 'r3k2r/8/8/8/8/8/3n4/R3K2R w KQkq - 0 1'],
  ['castle_pawn_f1', 'r3k2r/8/8/8/8/8/6p1/R3K2R w KQkq - 0 1'],
  ['castle_f8_attacked', 'r3k2r/8/8/8/8/8/8/4KR2 b kq - 0 1'],
  ['castle_g8_attacked', 'r3k2r/8/8/8/8/8/8/4K1R1 b kq - 0 1'],
  ['castle_d8_attacked', 'r3k2r/8/8/8/8/8/8/3RK3 b kq - 0 1'],
  ['castle_c8_attacked', 'r3k2r/8/8/8/8/8/8/2R1K3 b kq - 0 1'],
  ['castle_b8_attacked', 'r3k2r/8/8/8/8/8/8/1R2K3 b kq - 0 1'],
  ['castle_black_in_check', 'r3k2r/8/8/8/8/8/8/4R1K1 b kq - 0 1'],
  ['castle_bishop_f8', 'r3k2r/8/8/8/1B6/8/8/R3K2R b KQkq - 0 1'],

  // En passant: plain, both colours, out of check, and the rank pin.
  ['ep_white', '4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1'],
  ['ep_black', '4k3/8/8/8/3Pp3/8/8/4K3 b - d3 0 1'],
  ['ep_two_takers', '4k3/8/8/2PpP3/8/8/8/4K3 w - d6 0 1'],
  ['ep_removes_checker', '8/8/8/2k5/3Pp3/8/8/4K3 b - d3 0 1'],
  ['ep_rank_pin_white', '8/8/8/KPp4r/8/8/8/4k3 w - c6 0 1'],
  ['ep_rank_pin_black', '4K3/8/8/8/kpP4R/8/8/8 b - c3 0 1'],
  ['ep_along_pin', '8/8/1k6/8/3pP3/8/8/4K1B1 b - e3 0 1'],
  ['ep_off_pin', '8/6k1/8/8/3pP3/8/8/B3K3 b - e3 0 1'],

  // Promotions, with and without capture, both colours.
  ['promo_rook_b8', '1r2k3/P7/8/8/8/8/8/4K3 w - - 0 1'],
  ['promo_knights_white', 'n1n5/PPPk4/8/8/8/8/4Kppp/5N1N w - - 0 1'],
  ['promo_knights_black', 'n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - - 0 1'],
  ['promo_both', 'r3k3/1P4P1/8/8/8/8/1p4p1/R3K2R w KQq - 0 1'],

  // Checks by every kind of piece, and double checks.
  ['check_pawn', '4k3/3P4/8/8/8/8/8/R3K3 b Q - 0 1'],
  ['check_knight', '4k3/pp6/3N4/8/8/8/8/4K3 b - - 0 1'],
  ['check_bishop', 'r3k3/8/8/1B6/8/8/8/4K3 b q - 0 1'],
  ['check_rook', '4k3/8/8/8/4R3/8/8/K7 b - - 0 1'],
  ['check_queen', '4k2r/8/8/8/Q7/8/8/K7 b k - 0 1'],
  ['check_by_black_pawn', 'r3k3/8/8/8/8/8/3p4/4K2R w K - 0 1'],
  ['check_by_black_knight', '4k3/8/8/8/8/5n2/8/R3K3 w Q - 0 1'],
  ['check_by_black_queen', '4k3/8/8/8/7q/8/8/R3K2R w KQ - 0 1'],
  ['double_check_knight_rook', '4k3/8/5N2/8/8/8/8/K3R3 b - - 0 1'],
  ['double_check_bishop_rook', 'k3r3/8/8/b7/8/8/8/4K3 w - - 0 1'],
]

function countsOf(fen, maxDepth) {
  const counts = []
  let last = 0
  for (let d = 1; d <= maxDepth; d++) {
    if (d === 5) {
      const factor = counts[2] > 0 ? counts[3] / counts[2] : 1
      if (last * factor > BUDGET_MS) break
    }
    const t = Date.now()
    counts.push(perftQ(fen, d))
    last = Date.now() - t
  }
  return counts
}

if (process.argv.length === 4 || process.argv.length === 5) {
  const [fen, depth] = [process.argv[2], Number(process.argv[3])]
  const count = process.argv[4] === '--engine-rights' ? perftEngineRights : perftQ
  for (let d = 1; d <= depth; d++) console.log(`perft ${d} ${count(fen, d)}`)
} else {
  const here = dirname(fileURLToPath(import.meta.url))
  const out = join(here, '..', '..', 'tests', 'position', 'perft_fixture.txt')
  const lines = [
    '# Queen-only perft counts (every promotion counted once, as a queen).',
    '# Generated by tools/perft-reference/generate.mjs with chess.js; do not edit.',
    '# name ; FEN ; counts for depth 1, 2, ...',
  ]
  for (const [name, fen] of POSITIONS) {
    const counts = countsOf(fen, 5)
    console.log(name, counts.join(' '))
    lines.push(`${name} ; ${fen} ; ${counts.join(' ')}`)
  }
  writeFileSync(out, lines.join('\n') + '\n')
  console.log(`wrote ${out}`)
}
