// Runs one conversion script's source text on a UTF-8 file, as a user of the
// script would, and writes the result as UTF-8.
// usage: node node_run_record.js SOURCE_FILE PROCEDURE INPUT_FILE OUTPUT_FILE
'use strict';
const fs = require('fs');
const vm = require('vm');

const [sourceFile, procedure, inputFile, outputFile] = process.argv.slice(2);
const context = vm.createContext({});
vm.runInContext(fs.readFileSync(sourceFile, 'latin1'), context);
const input = fs.readFileSync(inputFile, 'utf8');
const started = process.hrtime.bigint();
const result = context[procedure](input);
const elapsed = Number(process.hrtime.bigint() - started) / 1e6;
fs.writeFileSync(outputFile, result, 'utf8');
process.stderr.write(`${elapsed.toFixed(1)}\n`);
