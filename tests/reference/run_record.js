// Runs one conversion script's source text in a fresh ECMAScript context.
// usage: node run_record.js SOURCE_FILE PROCEDURE INPUT_FILE
// Each input line is a string as comma-separated hex code units; each output
// line is the result in the same form, or "!" where the procedure threw.
'use strict';
const fs = require('fs');
const vm = require('vm');

const [sourceFile, procedure, inputFile] = process.argv.slice(2);
const context = vm.createContext({});
vm.runInContext(fs.readFileSync(sourceFile, 'latin1'), context);
const run = context[procedure];
if (typeof run !== 'function') {
  console.error(`run_record.js: ${procedure} is not declared by ${sourceFile}`);
  process.exit(2);
}

const decode = (line) =>
  line === '' ? '' : String.fromCharCode(...line.split(',').map((h) => parseInt(h, 16)));
const encode = (text) => {
  const units = new Array(text.length);
  for (let i = 0; i < text.length; i++) units[i] = text.charCodeAt(i).toString(16);
  return units.join(',');
};

const lines = fs.readFileSync(inputFile, 'latin1').split('\n');
lines.pop();  // the file ends with a newline
const out = lines.map((line) => {
  try {
    return encode(run(decode(line)));
  } catch (e) {
    return '!';
  }
});
fs.writeFileSync(1, out.join('\n') + '\n');
