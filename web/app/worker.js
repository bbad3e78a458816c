// Runs the engine (KGO, compiled to WebAssembly) in a Web Worker so that the
// page never freezes. Each run gets a fresh folder in the in-memory file
// system: the input and NAMES.DAT are written there, KGO runs with it as the
// working directory, and the report, plot and message files (and, after an
// analysis, the JSON and HTML results files) are sent back. The lines the
// engine writes to the message file are sent as progress while it runs.
/* global importScripts, KestroEngine */
importScripts('kestro-engine.js');

let engine = null;
const ready = KestroEngine({
  print: () => {},
  printErr: () => {},
}).then((m) => {
  engine = m;
  postMessage({ type: 'ready' });
});

function readText(FS, path) {
  try {
    return FS.readFile(path, { encoding: 'utf8' });
  } catch (e) {
    return '';
  }
}

function freshFolder(FS, dir) {
  try {
    for (const f of FS.readdir(dir)) if (f !== '.' && f !== '..') FS.unlink(dir + '/' + f);
  } catch (e) {
    FS.mkdir(dir);
  }
}

function run(msg) {
  const FS = engine.FS;
  const dir = '/run';
  freshFolder(FS, dir);
  const name = msg.name.replace(/[^A-Za-z0-9._-]/g, '_').slice(0, 60) || 'model';
  const files = {
    input: name + '.kin',
    report: name + '-report.txt',
    plot: name + '-plot.txt',
    messages: name + '-messages.txt',
  };
  FS.writeFile(dir + '/' + files.input, msg.text);
  let names = [files.input, files.report, files.plot, files.messages, msg.user || '', msg.company || ''].join('\n') + '\n';
  if (msg.echoOnly) names += 'ECHO ONLY\n';
  FS.writeFile(dir + '/NAMES.DAT', names);

  // Progress: every write to the message file is passed on line by line.
  // The engine writes it as a partial file beside its name and renames it
  // into place at the end of the run, so the partial file is the one watched.
  const partial = dir + '/' + files.messages + '.part';
  FS.writeFile(partial, '');
  const node = FS.lookupPath(partial).node;
  const base = node.stream_ops;
  let pending = '';
  const decoder = new TextDecoder();
  node.stream_ops = Object.assign({}, base, {
    write(stream, buffer, offset, length, position, canOwn) {
      if (!msg.echoOnly) {
        pending += decoder.decode(buffer.subarray(offset, offset + length));
        let nl;
        while ((nl = pending.indexOf('\n')) >= 0) {
          const line = pending.slice(0, nl);
          pending = pending.slice(nl + 1);
          if (line.trim()) postMessage({ type: 'progress', id: msg.id, line });
        }
      }
      return base.write(stream, buffer, offset, length, position, canOwn);
    },
  });

  FS.chdir(dir);
  const t0 = performance.now();
  const result = engine._KGO();
  const engineMs = performance.now() - t0;
  const out = {
    report: readText(FS, files.report),
    plot: readText(FS, files.plot),
    messages: readText(FS, files.messages),
  };
  if (!msg.echoOnly) {
    engine.ccall('KestroResultFiles', 'number', ['string', 'number'], [name, result]);
    out.json = readText(FS, name + '-results.json');
    out.html = readText(FS, name + '-report.html');
  }
  const totalMs = performance.now() - t0;
  postMessage({ type: 'done', id: msg.id, result, name, files: out, engineMs, totalMs });
}

// `kestro convert` in the worker: a JSON model to its KESTRO6 text (to: 'kin')
// or the text to its JSON model (to: 'json'), with the command's own code and
// its message (the mistake and its JSON path) when the model cannot be converted.
function convert(msg) {
  const FS = engine.FS;
  const dir = '/convert';
  freshFolder(FS, dir);
  const stem = msg.name.replace(/[^A-Za-z0-9._-]/g, '_').slice(0, 60) || 'model';
  const input = `${dir}/${stem}.${msg.to === 'json' ? 'kin' : 'json'}`;
  const output = `${dir}/${stem}.${msg.to === 'json' ? 'json' : 'kin'}`;
  FS.writeFile(input, msg.text);
  FS.chdir(dir);
  const status = engine.ccall('KestroConvert', 'number', ['string', 'string', 'string'], [input.slice(dir.length + 1), output.slice(dir.length + 1), 'errors.txt']);
  const out = status === 0 ? readText(FS, output) : '';
  postMessage({ type: 'converted', id: msg.id, status, text: out, error: readText(FS, dir + '/errors.txt').trim() });
}

onmessage = (e) => {
  ready.then(() => {
    try {
      if (e.data.convert) { convert(e.data); return; }
      run(e.data);
    } catch (err) {
      postMessage({ type: 'failed', id: e.data.id, error: String(err && err.message ? err.message : err) });
    }
  });
};
