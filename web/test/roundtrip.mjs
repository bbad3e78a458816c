// The forms' writers against the engine: every bundled example, with every
// section the forms can show written again from its form object, must run
// natively to the same report and plot files as the example as written.
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
const examples = fs.readdirSync(path.join(ROOT, 'examples')).filter((f) => f.endsWith('.kin'));
for (const f of examples) {
  const text = fs.readFileSync(path.join(ROOT, 'examples', f), 'utf8');
  const model = K.parse(text);
  let again = text;
  for (const [kw, key] of Object.entries(K.FORM_KEYS)) {
    if (model[key] && !model.unsupported[key]) { again = K.replaceBlock(again, kw, model[key]); written++; }
  }
  assert.notEqual(again, text, `${f}: no section was written again`);
  fs.mkdirSync(path.join(tmp, 'forms'), { recursive: true });
  const copy = path.join(tmp, 'forms', f);
  fs.writeFileSync(copy, again);
  const a = run(path.join(ROOT, 'examples', f), path.join(tmp, 'a', f));
  const b = run(copy, path.join(tmp, 'b', f));
  assert.equal(b.plot, a.plot, `${f}: the forms' text gives another plot file`);
  assert.equal(b.report, a.report, `${f}: the forms' text gives another report`);
}
fs.rmSync(tmp, { recursive: true, force: true });
console.log(`ok   ${examples.length} examples written again through the forms (${written} sections) run to the same files`);
