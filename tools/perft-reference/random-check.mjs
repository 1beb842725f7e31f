// Compares the engine's perft program with chess.js on random positions that
// the fixture does not hold: random legal games from a few openings, cut
// after a random number of plies.
//
//   node random-check.mjs PERFT_BINARY [COUNT] [DEPTH] [SEED] [MAXPLIES] [--engine-rights]
//
// From depth 5 on, counts under the rules of chess and the engine's own can
// differ in positions with castling rights (see perftEngineRights);
// --engine-rights compares with the latter.
import { execFileSync } from 'node:child_process'
import { mulberry32, perftEngineRights, perftQ, randomPosition } from './perft.mjs'

const flags = process.argv.slice(2).filter((a) => a.startsWith('--'))
const [binary, count = '40', depth = '4', seed = '1', maxPlies = '60'] = process.argv.slice(2).filter((a) => !a.startsWith('--'))
const perft = flags.includes('--engine-rights') ? perftEngineRights : perftQ
if (!binary) {
  console.error('usage: node random-check.mjs PERFT_BINARY [COUNT] [DEPTH] [SEED] [MAXPLIES] [--engine-rights]')
  process.exit(2)
}
const rand = mulberry32(Number(seed))
const ROOTS = [
  'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1',
  'r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1',
  'r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1',
  '4k3/pppppppp/8/8/8/8/PPPPPPPP/4K3 w - - 0 1',
  'n1n5/PPPk4/8/8/8/8/4Kppp/5N1N w - - 0 1',
  'r3k2r/pp3ppp/8/3pP3/8/8/PP3PPP/R3K2R w KQkq d6 0 1',
]
let failures = 0
let nodes = 0
for (let k = 0; k < Number(count); k++) {
  const root = ROOTS[k % ROOTS.length]
  const fen = randomPosition(root, 1 + Math.floor(rand() * Number(maxPlies)), rand)
  const want = []
  for (let d = 1; d <= Number(depth); d++) want.push(perft(fen, d))
  const out = execFileSync(binary, [fen, depth], { encoding: 'utf8' })
  const got = out.trim().split('\n').map((line) => Number(line.split(' ')[2]))
  const same = got.length === want.length && got.every((n, i) => n === want[i])
  nodes += want[want.length - 1]
  if (!same) failures++
  console.log(`${same ? 'ok  ' : 'FAIL'} ${fen} ; ${want.join(' ')}${same ? '' : ' ; engine ' + got.join(' ')}`)
}
console.log(`${Number(count) - failures} passed, ${failures} failed (${nodes} leaf nodes at depth ${depth})`)
process.exit(failures ? 1 : 0)
