// Referee of the match runner: keeps the game and answers, one line per
// command on standard input:
//   new              -> "ok"
//   move <e2e4[q]>   -> "ok <uci> <status>"  or  "illegal"
// (an opponent's castling may also come as O-O or O-O-O, as phalanx sends it)
// where <uci> is the move as played (a promotion gets its piece letter; a
// four-character promotion is to a queen) and <status> is one of
// none, checkmate, stalemate, insufficient, threefold, fifty.
import { createInterface } from 'node:readline';
import { Chess } from 'chess.js';

let game = new Chess();

function status() {
  if (game.isCheckmate()) return 'checkmate';
  if (game.isStalemate()) return 'stalemate';
  if (game.isInsufficientMaterial()) return 'insufficient';
  if (game.isThreefoldRepetition()) return 'threefold';
  if (Number(game.fen().split(' ')[4]) >= 100) return 'fifty';
  return 'none';
}

const rl = createInterface({ input: process.stdin });
rl.on('line', (line) => {
  const [cmd, arg] = line.trim().split(/\s+/);
  if (cmd === 'new') {
    game = new Chess();
    console.log('ok');
  } else if (cmd === 'move') {
    const m = /^([a-h][1-8])([a-h][1-8])([qrbn]?)$/.exec(arg || '');
    const castle = /^(O-O(-O)?|0-0(-0)?)$/.exec(arg || '');
    if (!m && !castle) { console.log('illegal'); return; }
    let played;
    try {
      played = m ? game.move({ from: m[1], to: m[2], promotion: m[3] || 'q' })
                 : game.move(castle[2] || castle[3] ? 'O-O-O' : 'O-O');
    } catch {
      played = null;
    }
    if (!played) { console.log('illegal'); return; }
    console.log(`ok ${played.from}${played.to}${played.promotion || ''} ${status()}`);
  } else {
    console.log('error unknown command');
  }
});
