// Shared by the browser tests and the benchmark: the app served by
// `kestro web` on 127.0.0.1, and Debian's chromium driven by puppeteer-core
// (never a downloaded browser).
import { spawn, execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

export const ROOT = path.resolve(path.dirname(new URL(import.meta.url).pathname), '../..');
export const KESTRO = process.env.KESTRO || path.join(ROOT, 'build/kestro');
export const CHROMIUM = process.env.CHROMIUM || '/usr/bin/chromium';

// Serves web/dist with `kestro web --port 0` (a free port); resolves to its address.
export function serve() {
  return new Promise((resolve, reject) => {
    const p = spawn(KESTRO, ['web', '--port', '0', '--root', path.join(ROOT, 'web/dist')], { stdio: ['ignore', 'pipe', 'inherit'] });
    let out = '';
    p.stdout.on('data', (d) => {
      out += d;
      const m = /http:\/\/127\.0\.0\.1:(\d+)\//.exec(out);
      if (m) resolve({ url: m[0], stop: () => p.kill('SIGTERM') });
    });
    p.on('exit', (code) => reject(new Error('kestro web ended with ' + code + ': ' + out)));
  });
}

export function browserMissing() {
  return !fs.existsSync(CHROMIUM);
}

export async function launch() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'kestro-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: CHROMIUM,
    headless: true,
    userDataDir: profile,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--window-size=1400,1000'],
  });
  browser.profile = profile;
  return browser;
}

// The native run of an input: its report, plot and HTML files.
export function nativeRun(input, outDir) {
  fs.mkdirSync(outDir, { recursive: true });
  try {
    execFileSync(KESTRO, ['run', input, '-o', outDir, '-q'], { stdio: 'pipe' });
  } catch (e) {
    if (e.status !== 1 && e.status !== 2) throw e;
  }
  const stem = path.basename(input).replace(/\.[^.]*$/, '');
  const read = (f) => fs.readFileSync(path.join(outDir, stem + f), 'utf8');
  return { report: read('-report.txt'), plot: read('-plot.txt'), html: read('-report.html') };
}

export function base64url(text) {
  return Buffer.from(text, 'utf8').toString('base64').replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
}
