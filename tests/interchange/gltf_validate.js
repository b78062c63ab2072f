// Runs the Khronos glTF validator (npm package gltf-validator) over the files named on the
// command line, reading the files each one names from beside it. Prints every issue; exits 1
// when any file has an error, and 77 (a skipped test for CTest) when the package is not installed.
'use strict';
const fs = require('fs');
const path = require('path');

let validator;
try {
  validator = require('gltf-validator');
} catch (e) {
  console.log('gltf-validator is not installed (npm install gltf-validator; set NODE_PATH)');
  process.exit(77);
}

async function validate(file) {
  const report = await validator.validateBytes(new Uint8Array(fs.readFileSync(file)), {
    uri: path.basename(file),
    maxIssues: 100,
    externalResourceFunction: (uri) =>
      new Promise((resolve, reject) => {
        fs.readFile(path.join(path.dirname(file), decodeURIComponent(uri)), (err, data) =>
          err ? reject(err.toString()) : resolve(new Uint8Array(data)));
      }),
  });
  const issues = report.issues;
  console.log(`${file}: ${issues.numErrors} errors, ${issues.numWarnings} warnings, ` +
              `${issues.numInfos} infos, ${issues.numHints} hints`);
  for (const m of issues.messages)
    console.log(`  [${m.severity}] ${m.code} ${m.pointer || ''}: ${m.message}`);
  return issues.numErrors === 0;
}

(async () => {
  let ok = true;
  for (const file of process.argv.slice(2))
    ok = (await validate(file)) && ok;
  process.exit(ok ? 0 : 1);
})().catch((e) => {
  console.log(String(e));
  process.exit(1);
});
