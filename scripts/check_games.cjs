// An independent check of the games scripts/match.py wrote: every move is replayed with
// chess.js (npm's chess library, not this project's rules) and every ending by the rules is
// confirmed, as is that no game went on past an ending or stopped before one it claims.
//
//   npm install --prefix /tmp/arbiter chess.js@1
//   NODE_PATH=/tmp/arbiter/node_modules node scripts/check_games.cjs games.pgn...
//
// Prints the count of games checked and each disagreement; exit status 1 on any.
const fs = require("fs");
const { Chess } = require("chess.js");

const RULE_ENDINGS = {
  checkmate: (g) => g.isCheckmate(),
  stalemate: (g) => g.isStalemate(),
  "insufficient material": (g) => g.isInsufficientMaterial(),
  "threefold repetition": (g) => g.isThreefoldRepetition(),
  "fifty moves": (g) => g.isDrawByFiftyMoves(),
};
const endedByRules = (g) => Object.values(RULE_ENDINGS).some((test) => test(g));

function games(text) {
  return text.split(/\n\s*\n(?=\[)/).filter((b) => b.trim()).map((block) => {
    const headers = {};
    for (const m of block.matchAll(/^\[(\w+) "([^"]*)"\]$/gm)) headers[m[1]] = m[2];
    const body = block.replace(/^\[.*\]$/gm, "").replace(/\{[^}]*\}/g, " ");
    const moves = body.split(/\s+/).filter((w) => w && !/^\d+\.+$/.test(w) && !["1-0", "0-1", "1/2-1/2", "*"].includes(w))
      .map((w) => w.replace(/^\d+\.+/, ""));
    return { headers, moves };
  });
}

let checked = 0;
const faults = [];
for (const path of process.argv.slice(2)) {
  games(fs.readFileSync(path, "utf8")).forEach(({ headers, moves }, index) => {
    const name = `${path} game ${index + 1} (${headers.White} - ${headers.Black}, ${headers.Termination})`;
    const game = headers.FEN ? new Chess(headers.FEN) : new Chess();
    for (let ply = 0; ply < moves.length; ++ply) {
      if (endedByRules(game)) {
        faults.push(`${name}: over by the rules before ply ${ply + 1}`);
        return;
      }
      try {
        game.move(moves[ply]);
      } catch (error) {
        faults.push(`${name}: ${moves[ply]} at ply ${ply + 1} is not legal`);
        return;
      }
    }
    const ending = headers.Termination;
    if (ending in RULE_ENDINGS) {
      if (!RULE_ENDINGS[ending](game)) faults.push(`${name}: chess.js does not see ${ending}`);
      const mated = game.turn() === "w" ? "0-1" : "1-0";
      if (ending === "checkmate" && headers.Result !== mated) faults.push(`${name}: wrong result for the mate`);
      if (ending !== "checkmate" && headers.Result !== "1/2-1/2") faults.push(`${name}: a draw scored ${headers.Result}`);
    } else if (endedByRules(game)) {
      faults.push(`${name}: ended by the rules, yet called "${ending}"`);
    }
    ++checked;
  });
}
console.log(`${checked} games checked, ${faults.length} disagreements`);
faults.forEach((f) => console.log(f));
process.exit(faults.length ? 1 : 0);
