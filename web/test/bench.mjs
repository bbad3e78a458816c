// make web-bench: the two targets of the browser app, measured.
//  - the benchmark pile (bench/peer-fe/pipe-soft-clay-400.kin) in the page's
//    worker against the native command, each the median of RUNS runs: the
//    page's time is the engine call with its three files (KGO in the worker);
//    the native time is the `kestro run -q --no-html --no-json` process less a
//    process that only starts (`kestro --version`);
//  - the page's first load: the bytes of every response, compressed with gzip -9.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';
import os from 'node:os';
import { ROOT, KESTRO, serve, launch, base64url } from './common.mjs';

const RUNS = Number(process.env.RUNS || 15);
const input = path.join(ROOT, 'bench/peer-fe/pipe-soft-clay-400.kin');
const median = (a) => { const s = [...a].sort((x, y) => x - y); return s[Math.floor(s.length / 2)]; };

const out = fs.mkdtempSync(path.join(os.tmpdir(), 'kestro-bench-'));
const native = [];
const startOnly = [];
for (let i = 0; i < RUNS; i++) {
  let t0 = process.hrtime.bigint();
  execFileSync(KESTRO, ['run', input, '-o', out, '-q', '--no-html', '--no-json'], { stdio: 'ignore' });
  native.push(Number(process.hrtime.bigint() - t0) / 1e6);
  t0 = process.hrtime.bigint();
  execFileSync(KESTRO, ['--version'], { stdio: 'ignore' });
  startOnly.push(Number(process.hrtime.bigint() - t0) / 1e6);
}
// The engine's own time: the run's process less a process that only starts.
const nativeEngine = Math.max(median(native) - median(startOnly), 0.1);

const server = await serve();
const browser = await launch();
const page = await browser.newPage();
const sizes = new Map();
page.on('response', async (r) => {
  try {
    const body = await r.buffer();
    sizes.set(r.url(), { raw: body.length, gz: zlib.gzipSync(body, { level: 9 }).length });
  } catch (e) { /* redirects and the like have no body */ }
});
await page.goto(server.url, { waitUntil: 'networkidle0' });
await page.waitForFunction(() => window.kestro && window.kestro.runReady && window.kestro.checkReady);
const first = [...sizes.entries()];
const gz = first.reduce((a, [, s]) => a + s.gz, 0);
const raw = first.reduce((a, [, s]) => a + s.raw, 0);

const text = fs.readFileSync(input, 'utf8');
await page.goto(server.url + '#kin=' + base64url(text), { waitUntil: 'load' });
await page.waitForFunction(() => window.kestro && window.kestro.runReady);
const browserMs = [];
const totalMs = [];
for (let i = 0; i < RUNS + 1; i++) {
  const id = await page.evaluate(() => window.kestro.runId);
  await page.click('#run');
  await page.waitForFunction((old) => window.kestro.runId > old && !window.kestro.running, { timeout: 60000 }, id);
  const r = await page.evaluate(() => ({ engine: window.kestro.results.engineMs, result: window.kestro.results.result }));
  if (r.result > 0) throw new Error('the benchmark pile ended by an error in the browser: ' + r.result);
  if (i > 0) browserMs.push(r.engine); // the first run warms the compiled module up
  totalMs.push(r.engine);
}
await browser.close();
server.stop();
fs.rmSync(browser.profile, { recursive: true, force: true });
fs.rmSync(out, { recursive: true, force: true });

const ratio = median(browserMs) / nativeEngine;
console.log(`benchmark pile, median of ${RUNS}:`);
console.log(`  native kestro run (whole process):        ${median(native).toFixed(1)} ms`);
console.log(`  native process start (kestro --version):  ${median(startOnly).toFixed(1)} ms`);
console.log(`  native engine (difference):               ${nativeEngine.toFixed(1)} ms`);
console.log(`  browser, KGO and its files in the worker: ${median(browserMs).toFixed(1)} ms (first run ${totalMs[0].toFixed(1)} ms)`);
console.log(`  ratio ${ratio.toFixed(2)} (target: at most 3)`);
console.log(`first load: ${first.length} responses, ${(raw / 1024).toFixed(0)} KiB, ${(gz / 1024).toFixed(0)} KiB with gzip -9 (target: at most 2048 KiB)`);
for (const [u, s] of first) console.log(`  ${u.replace(server.url, '/')}  ${s.raw} bytes, ${s.gz} gzip`);
process.exit(ratio <= 3 && gz <= 2 * 1024 * 1024 ? 0 : 1);
