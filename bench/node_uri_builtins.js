// Times node's built-in encodeURIComponent and decodeURIComponent on the text
// that bench/decoder_bench.cpp gives encode_uri_component and
// decode_uri_component (bm_encode_uri/mixed, bm_decode_uri/encoded_mixed):
// the mixed CJK/ASCII text of bench/mixed_text.h and its encoding. The fnv1a
// labels must match the benchmark's.
// usage: node bench/node_uri_builtins.js [UNITS] [RUNS]   (default 4194304 units, 20 runs)
'use strict';

const units = Number(process.argv[2] || 4194304);
const runs = Number(process.argv[3] || 20);

// The generator of bench/mixed_text.h, step for step.
function mixedText(count) {
  const codes = new Uint16Array(count);
  let state = 20261211;
  for (let i = 0; i < count; i++) {
    state = (Math.imul(state, 1664525) + 1013904223) >>> 0;
    const r = state >>> 8;
    codes[i] = r % 2 === 0 ? 0x4e00 + (Math.floor(r / 2) % 0x51a6) : 0x20 + (Math.floor(r / 2) % 0x5f);
  }
  // A two-byte string built in one piece, as the benchmark's input is.
  return Buffer.from(codes.buffer).toString('utf16le');
}

function fnv1a(text) {
  let hash = 2166136261;
  for (let i = 0; i < text.length; i++) {
    const unit = text.charCodeAt(i);
    hash = Math.imul(hash ^ (unit & 0xff), 16777619) >>> 0;
    hash = Math.imul(hash ^ (unit >>> 8), 16777619) >>> 0;
  }
  return 'fnv1a=' + hash.toString(16).padStart(8, '0');
}

// Median and best wall time in ms of `runs` calls, after two warm-up calls.
function time(fn, input) {
  let sink = 0;
  for (let i = 0; i < 2; i++) sink += fn(input).length;
  const times = [];
  for (let i = 0; i < runs; i++) {
    const started = process.hrtime.bigint();
    sink += fn(input).length;
    times.push(Number(process.hrtime.bigint() - started) / 1e6);
  }
  times.sort((a, b) => a - b);
  return { median: times[times.length >> 1], best: times[0], sink };
}

const text = mixedText(units);
const encoded = encodeURIComponent(text);
for (const [name, fn, input] of [
  ['encodeURIComponent', encodeURIComponent, text],
  ['decodeURIComponent', decodeURIComponent, encoded],
]) {
  const t = time(fn, input);
  console.log(
    `${name.padEnd(20)} ${String(input.length).padStart(9)} units in  ` +
      `median ${t.median.toFixed(2).padStart(8)} ms  best ${t.best.toFixed(2).padStart(8)} ms  ` +
      fnv1a(input));
}
