// Seeded random simulator scripts: mostly well-formed play (new games,
// keys, time, pauses, boards set by hand, the difficulty box) with now and
// then a malformed line, so that both the rules and the reader's refusals
// are compared.
export function randomScript(seed) {
  let state = seed >>> 0;
  const next = () => {  // mulberry32
    state = (state + 0x6d2b79f5) >>> 0;
    let t = state;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 2 ** 32;
  };
  const int = (n) => Math.floor(next() * n);
  const pick = (items) => items[int(items.length)];

  const lines = [`seed ${int(2 ** 31)}${int(2 ** 20)}`, "new"];
  const malformedAt = next() < 0.4 ? 1 + int(40) : -1;
  for (let k = 0; k < 40; ++k) {
    if (k === malformedAt) {
      lines.push(pick(["advance 3600001", "key -3", "seed 12x", "jump", "show me", "check1 2",
        "board\n..\n", "advance", "\u00e9t\u00e9 1", "key\t37 40", "x".repeat(4100)]));
      break;
    }
    const roll = next();
    if (roll < 0.45) lines.push(`key ${pick([37, 39, 32, 40, 37, 39, 32, 40, 65, 113, int(65536)])}`);
    else if (roll < 0.75) lines.push(`advance ${pick([1, 9, 10, 11, 100, 399, 400, 500, 999, 1000, int(3000)])}`);
    else if (roll < 0.8) lines.push("show");
    else if (roll < 0.84) lines.push("pause");
    else if (roll < 0.87) lines.push(`check1 ${int(2)}`);
    else if (roll < 0.9) lines.push("new");
    else if (roll < 0.93) lines.push(pick(["help", "# a comment", "", "  \t", "check"]));
    else if (roll < 0.97) {
      lines.push("board");
      for (let r = 0; r < 13; ++r) {
        let row = "";
        for (let c = 0; c < 8; ++c) row += r > 6 && next() < 0.7 ? String(int(6)) : ".";
        lines.push(row);
      }
    } else lines.push(pick(["advance 20000", "exit", "key 40\r", "   key   37   "]));
  }
  lines.push("show");
  return Buffer.from(lines.join("\n") + (next() < 0.8 ? "\n" : ""), "utf8");
}
