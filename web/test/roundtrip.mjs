// The forms' writers against the engine: every bundled example (and the
// inputs of web/test/forms/, which hold the blocks no example uses), with
// every section written again from its form object, must run natively to the
// same report and plot files as the file as written. Every section of every
// file has its form, and writing the written text again changes nothing.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import * as K from '../app/kin.js';
import { ROOT, KESTRO } from './common.mjs';

const tmp = fs.mkdtempSync(path.join(os.tmpdir(), 'kestro-roundtrip-'));
const strip = (t) => t.split('\n').filter((l) => !/^Path to file locations:|^\s+Date:.*Time:/.test(l)).join('\n');
function run(file, dir) {
  try {
    execFileSync(KESTRO, ['run', file, '-o', dir, '-q', '--no-html', '--no-json'], { stdio: 'pipe' });
  } catch (e) {
    if (e.status !== 1 && e.status !== 2) throw e;
  }
  const stem = path.basename(file, '.kin');
  return { plot: fs.readFileSync(path.join(dir, stem + '-plot.txt'), 'utf8'), report: strip(fs.readFileSync(path.join(dir, stem + '-report.txt'), 'utf8')) };
}

let written = 0;
const rewrite = (text) => {
  const model = K.parse(text);
  let again = text, n = 0;
  for (const [kw, key] of Object.entries(K.FORM_KEYS)) {
    if (model[key] && !model.unsupported[key]) { again = K.replaceBlock(again, kw, model[key]); n++; }
  }
  return { again, model, n };
};
const dirs = ['examples', 'web/test/forms'];
const examples = dirs.flatMap((d) => fs.readdirSync(path.join(ROOT, d)).filter((f) => f.endsWith('.kin')).map((f) => path.join(d, f)));
for (const file of examples) {
  const f = path.basename(file);
  const text = fs.readFileSync(path.join(ROOT, file), 'utf8');
  const { again, model, n } = rewrite(text);
  written += n;
  assert.deepEqual(model.unsupported, {}, `${f}: sections without a form`);
  assert.notEqual(again, text, `${f}: no section was written again`);
  assert.equal(rewrite(again).again, again, `${f}: the forms' text written again changes`);
  fs.mkdirSync(path.join(tmp, 'forms'), { recursive: true });
  const copy = path.join(tmp, 'forms', f);
  fs.writeFileSync(copy, again);
  const a = run(path.join(ROOT, file), path.join(tmp, 'a', f));
  const b = run(copy, path.join(tmp, 'b', f));
  assert.equal(b.plot, a.plot, `${f}: the forms' text gives another plot file`);
  assert.equal(b.report, a.report, `${f}: the forms' text gives another report`);
}
fs.rmSync(tmp, { recursive: true, force: true });
console.log(`ok   ${examples.length} inputs written again through the forms (${written} sections) run to the same files`);
