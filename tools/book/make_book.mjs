// Builds the engine's opening book from openings.txt and prints it on
// standard output:
//
//   cd tools/book && npm install && node make_book.mjs > ../../data/k2.txt
//
// openings.txt holds a tree of opening lines in standard algebraic notation.
// Each text line continues the line it is indented under (two spaces a
// level); a line with nothing indented under it is a leaf and becomes one
// book line.  Blank lines and lines starting with '#' are ignored, as are
// move numbers ("1.", "12...").
//
// Every move is played with chess.js, so an illegal or ambiguous move stops
// the build with its line number.  The book format has its own limits, all
// checked here: a book line is 8 to 16 plies, its moves are four characters
// each (castling as the king's move e1g1), and it holds no promotion and no
// en-passant capture (the book's replay board would not follow either).
// Two identical book lines are refused too.

import { readFileSync } from 'node:fs';
import { fileURLToPath } from 'node:url';
import { dirname, join } from 'node:path';
import { Chess } from 'chess.js';

const MIN_PLIES = 8;
const MAX_PLIES = 16;

const here = dirname(fileURLToPath(import.meta.url));
const source = process.argv[2] ?? join(here, 'openings.txt');
const rows = readFileSync(source, 'utf8').split(/\r?\n/);

// Every fault is reported with its line number; the book is printed only
// when there are none.
let faults = 0;
function fail(lineNo, message) {
  process.stderr.write(`${source}:${lineNo}: ${message}\n`);
  faults += 1;
}

// Parse the indented tree into nodes { depth, moves, lineNo }.
const nodes = [];
rows.forEach((row, i) => {
  const text = row.replace(/\s+$/, '');
  if (text.trim() === '' || text.trimStart().startsWith('#')) return;
  const indent = text.length - text.trimStart().length;
  if (indent % 2 !== 0) fail(i + 1, 'indentation must be a multiple of two spaces');
  const moves = text.trim().split(/\s+/).filter((t) => !/^\d+\.+$/.test(t));
  nodes.push({ depth: indent / 2, moves, lineNo: i + 1 });
});

const out = [];
const seen = new Map();
const stack = []; // moves of the ancestors, one array per level

for (let k = 0; k < nodes.length; k++) {
  const node = nodes[k];
  if (node.depth > stack.length) fail(node.lineNo, 'indented deeper than its parent');
  stack.length = node.depth;
  stack.push(node.moves);
  const next = nodes[k + 1];
  const isLeaf = !next || next.depth <= node.depth;
  if (!isLeaf) continue;

  const san = stack.flat();
  const game = new Chess();
  let line = '';
  let legal = true;
  for (const [i, m] of san.entries()) {
    let move;
    try {
      move = game.move(m, { strict: true });
    } catch (e) {
      fail(node.lineNo, `illegal or ambiguous move ${m} after "${san.slice(0, i).join(' ')}"`);
      legal = false;
      break;
    }
    if (move.isEnPassant()) fail(node.lineNo, `en-passant capture ${m} cannot be written in the book`);
    if (move.isPromotion()) fail(node.lineNo, `promotion ${m} cannot be written in the book`);
    line += move.from + move.to;
  }
  if (!legal) continue;
  const plies = san.length;
  if (plies < MIN_PLIES || plies > MAX_PLIES)
    fail(node.lineNo, `line has ${plies} plies, not ${MIN_PLIES} to ${MAX_PLIES}`);
  if (seen.has(line)) fail(node.lineNo, `same line as at line ${seen.get(line)}`);
  seen.set(line, node.lineNo);
  out.push(line);
}

if (faults > 0) process.exit(1);
process.stdout.write(out.map((l) => l + '\n').join(''));
process.stderr.write(`${out.length} lines\n`);
