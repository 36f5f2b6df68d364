// Writes UNITS UTF-16 units of the benchmarks' mixed CJK/ASCII text as UTF-8,
// the same text as bench/mixed_text.h.
// usage: node make_input.js UNITS OUTPUT_FILE
'use strict';
const fs = require('fs');
const units = Number(process.argv[2]);
const codes = new Uint16Array(units);
let state = 20261211;
for (let i = 0; i < units; i++) {
  state = (Math.imul(state, 1664525) + 1013904223) >>> 0;
  const r = state >>> 8;
  codes[i] = r % 2 === 0 ? 0x4e00 + (Math.floor(r / 2) % 0x51a6) : 0x20 + (Math.floor(r / 2) % 0x5f);
}
fs.writeFileSync(process.argv[3], Buffer.from(codes.buffer).toString('utf16le'), 'utf8');
