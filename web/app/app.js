// The Kestro page: the KESTRO6 text and the forms kept in step, live checks by
// echo-only runs of the engine, runs in a Web Worker with progress and
// cancel, and the results (summary, the HTML report's charts, the files).
import * as K from './kin.js';

const $ = (id) => document.getElementById(id);
const state = {
  text: '', name: 'model', model: null, tab: 'options', results: null,
  progress: [], progressCount: 0, progressFrame: 0,
  runWorker: null, runReady: false, runId: 0, running: false, queued: null,
  checkWorker: null, checkId: 0, checkTimer: 0, problems: [], checked: false,
  conversions: {}, conversionId: 0,
};
window.kestro = state; // for the browser tests and the curious

// ---------------------------------------------------------------- workers
function startRunWorker() {
  state.runReady = false;
  const w = new Worker('worker.js');
  w.onmessage = (e) => onRunMessage(e.data);
  w.onerror = (e) => { status('Engine failed: ' + e.message); };
  state.runWorker = w;
}

function startCheckWorker() {
  const w = new Worker('worker.js');
  w.onmessage = (e) => {
    const m = e.data;
    if (m.type === 'ready') { state.checkReady = true; scheduleCheck(0); }
    if (m.type === 'done' && m.id === state.checkId) showProblems(m);
    if (m.type === 'converted' && state.conversions[m.id]) { state.conversions[m.id](m); delete state.conversions[m.id]; }
  };
  state.checkWorker = w;
}

function onRunMessage(m) {
  if (m.type === 'ready') {
    state.runReady = true;
    if (!state.running) status('Ready');
    if (state.queued) { const q = state.queued; state.queued = null; q(); }
    return;
  }
  if (m.id !== state.runId) return;
  if (m.type === 'progress') {
    // Lines are shown once per frame, the last 200 of them: a long run
    // writes thousands.
    state.progress.push(m.line);
    state.progressCount += 1;
    if (!state.progressFrame) state.progressFrame = setTimeout(showProgress, 50);
  } else if (m.type === 'done') {
    state.running = false;
    $('run').disabled = false;
    $('cancel').disabled = true;
    showResults(m);
  } else if (m.type === 'failed') {
    state.running = false;
    $('run').disabled = false;
    $('cancel').disabled = true;
    status('The engine stopped: ' + m.error);
  }
}

function showProgress() {
  state.progressFrame = 0;
  if (state.progress.length > 200) state.progress.splice(0, state.progress.length - 200);
  const p = $('progress');
  p.textContent = state.progress.join('\n') + '\n';
  p.scrollTop = p.scrollHeight;
}

function status(s) { $('status').textContent = s; }

function run() {
  if (state.running) return;
  const go = () => {
    state.runId += 1;
    state.running = true;
    state.t0 = performance.now();
    $('run').disabled = true;
    $('cancel').disabled = false;
    state.progress = [];
    state.progressCount = 0;
    $('progress').textContent = '';
    status('Running…');
    state.runWorker.postMessage({ id: state.runId, name: state.name, text: state.text, echoOnly: false });
  };
  if (state.runReady) go(); else { state.queued = go; status('Waiting for the engine…'); }
}

// Cancel: the worker is stopped at once and a fresh one takes its place.
function cancel() {
  if (!state.running) return;
  state.runWorker.terminate();
  state.running = false;
  state.runId += 1;
  $('run').disabled = false;
  $('cancel').disabled = true;
  state.progress.push('Run cancelled.');
  showProgress();
  status('Run cancelled');
  startRunWorker();
}

// ---------------------------------------------------------------- results
const OUTCOMES = (r) => (r === 0 ? 'ended normally' : r < 0 ? 'ended with warnings' : r === 999 ? 'ended by an internal failure' : 'ended by an error');

function download(name, text, type) {
  const a = document.createElement('a');
  a.href = URL.createObjectURL(new Blob([text], { type }));
  a.download = name;
  a.textContent = name;
  return a;
}

// Two runs on the same charts: the previous run (dashed) and this one (solid),
// every load case, from the JSON results files.
function compareCharts(now, before) {
  const box = $('compare');
  box.textContent = '';
  let a, b;
  try { a = JSON.parse(now.files.json); b = JSON.parse(before.files.json); } catch (e) { return; }
  if (!a.loadCases || !b.loadCases || !a.loadCases.length || !b.loadCases.length) return;
  const runs = [[a, '', now.name + ' (this run)'], [b, '6 4', before.name + ' (previous run)']];
  const colours = ['#1f5fa8', '#c0392b', '#2b7a3d', '#8e44ad', '#d35400', '#16a085'];
  const charts = [['deflection', 'Deflection'], ['moment', 'Bending moment'], ['shear', 'Shear'], ['soilReaction', 'Soil reaction']];
  const W = 230, H = 300, L = 44, T = 22, B = 16, R = 8;
  const svgs = charts.map(([key, title]) => {
    const series = [];
    for (const [run, dash] of runs) {
      run.loadCases.forEach((lc, i) => {
        const st = lc.stations;
        if (st && st.depth && st[key]) series.push({ d: st.depth, v: st[key], dash, colour: colours[i % colours.length] });
      });
    }
    const depths = series.flatMap((x) => x.d), vals = series.flatMap((x) => x.v);
    const dMax = Math.max(...depths, 1e-12), vMax = Math.max(...vals.map(Math.abs), 1e-12);
    const x = (v) => L + ((v + vMax) / (2 * vMax)) * (W - L - R), y = (d) => T + (d / dMax) * (H - T - B);
    const unit = (a.loadCases[0].stations.units || {})[key] || '';
    const lines = series.map((sr) => `<polyline fill="none" stroke="${sr.colour}" stroke-width="1.5" stroke-dasharray="${sr.dash}" points="${sr.d.map((d, i) => x(sr.v[i]).toFixed(1) + ',' + y(d).toFixed(1)).join(' ')}"/>`);
    return `<svg viewBox="0 0 ${W} ${H}" width="${W}" height="${H}" role="img" aria-label="${title} against depth, two runs">` +
      `<text x="${W / 2}" y="13" text-anchor="middle" font-size="12" font-weight="600">${title}, ${unit}</text>` +
      `<rect x="${L}" y="${T}" width="${W - L - R}" height="${H - T - B}" fill="none" stroke="#999"/>` +
      `<line x1="${x(0)}" x2="${x(0)}" y1="${T}" y2="${H - B}" stroke="#bbb"/>` +
      `<text x="${L - 3}" y="${T + 8}" font-size="9" text-anchor="end">0</text><text x="${L - 3}" y="${H - B}" font-size="9" text-anchor="end">${+dMax.toPrecision(4)}</text>` +
      `<text x="${L}" y="${H - 4}" font-size="9">${+(-vMax).toPrecision(3)}</text><text x="${W - R}" y="${H - 4}" font-size="9" text-anchor="end">${+vMax.toPrecision(3)}</text>` +
      lines.join('') + '</svg>';
  });
  const depthUnit = (a.loadCases[0].stations.units || {}).depth || '';
  const legend = el('p', { class: 'unit' }, `Two runs on the same charts, against depth below the pile head (${depthUnit}): solid ${runs[0][2]}, dashed ${runs[1][2]}; one colour per load case.`);
  const charts2 = el('div', { class: 'compare-charts' });
  charts2.innerHTML = svgs.join('');
  box.append(legend, charts2);
}

function showResults(m) {
  if (state.results && state.results.files.json && m.files.json) state.previous = state.results;
  state.results = m;
  if (state.previous) compareCharts(m, state.previous);
  const ms = performance.now() - state.t0;
  status(`The analysis ${OUTCOMES(m.result)} (result ${m.result}) in ${ms.toFixed(0)} ms`);
  const d = $('downloads');
  d.textContent = '';
  const f = m.files;
  d.append(download(m.name + '-report.txt', f.report, 'text/plain'), download(m.name + '-plot.txt', f.plot, 'text/plain'),
    download(m.name + '-messages.txt', f.messages, 'text/plain'));
  if (f.json) d.append(download(m.name + '-results.json', f.json, 'application/json'));
  if (f.html) d.append(download(m.name + '-report.html', f.html, 'text/html'));
  const s = $('summary');
  s.textContent = '';
  if (f.html) {
    const doc = new DOMParser().parseFromString(f.html, 'text/html');
    const table = doc.querySelector('table#summary, table.summary');
    if (table) { table.id = 'summary-table'; s.append(document.importNode(table, true)); }
    $('report').srcdoc = f.html;
  }
  if (m.result > 0) {
    const p = document.createElement('pre');
    p.className = 'fieldmsg';
    p.textContent = problemBlocks(f.messages).map((b) => b.text).join('\n\n');
    s.append(p);
  }
}

// ---------------------------------------------------------------- live checks
function scheduleCheck(delay = 350) {
  clearTimeout(state.checkTimer);
  state.checkTimer = setTimeout(() => {
    if (!state.checkReady) return;
    state.checkId += 1;
    state.checked = false;
    state.checkWorker.postMessage({ id: state.checkId, name: state.name, text: state.text, echoOnly: true });
  }, delay);
}

// The problem blocks of a message file: each error or warning from its
// heading ("**** Input Data Error No. 69 ****", "**** Warning - ... ****",
// "***** INPUT ERROR *****") to the next heading or closing line, with the
// first input line it names.
function problemBlocks(text) {
  const blocks = [];
  let cur = null;
  for (const raw of text.split('\n')) {
    const line = raw.replace(/\s+$/, '');
    if (/^\*{3,}.*\*{3,}$/.test(line) || /^(INPUT ERROR|SECTION DATA)/.test(line)) {
      cur = { lines: [line] };
      blocks.push(cur);
    } else if (/^(The analysis ended|The input was read, checked and echoed only|Kestro ended prematurely)/.test(line)) {
      cur = null;
    } else if (cur && line.trim()) cur.lines.push(line.trim());
  }
  return blocks.map((b) => {
    const t = b.lines.join('\n');
    const m = /\bline\s+(\d+)/i.exec(t);
    return { text: t, line: m ? Number(m[1]) : 0, error: !/warning/i.test(b.lines[0]) };
  });
}

function showProblems(m) {
  state.problems = problemBlocks(m.files.messages);
  state.checked = true;
  const box = $('problems');
  box.textContent = '';
  if (state.problems.length === 0) {
    const ok = document.createElement('div');
    ok.className = 'ok';
    ok.textContent = m.result === 0 || m.result === 100 ? 'Input checked: no problem found.' : 'Input checked.';
    box.append(ok);
  }
  for (const p of state.problems) {
    const div = document.createElement('div');
    div.className = p.error ? 'error' : 'warning';
    div.textContent = (p.line ? `Line ${p.line}: ` : '') + p.text;
    div.tabIndex = 0;
    div.onclick = () => gotoLine(p.line);
    box.append(div);
  }
  markProblems();
}

function markProblems() {
  renderGutter();
  document.querySelectorAll('#form .fieldmsg').forEach((e) => e.remove());
  document.querySelectorAll('#form .bad').forEach((e) => e.classList.remove('bad'));
  for (const p of state.problems) {
    if (!p.line) continue;
    const fields = document.querySelectorAll(`#form [data-line="${p.line}"]`);
    fields.forEach((f) => f.classList.add('bad'));
    if (fields.length) {
      const last = fields[fields.length - 1];
      const row = last.closest('tr, .row, fieldset') || last.parentElement;
      const msg = document.createElement(row.tagName === 'TR' ? 'tr' : 'div');
      msg.className = 'fieldmsg';
      if (row.tagName === 'TR') {
        const td = document.createElement('td');
        td.colSpan = 20;
        td.textContent = p.text;
        msg.append(td);
      } else msg.textContent = p.text;
      row.after(msg);
    }
  }
}

function gotoLine(n) {
  if (!n) return;
  const ta = $('kin');
  const lines = state.text.split('\n');
  const start = lines.slice(0, n - 1).join('\n').length + (n > 1 ? 1 : 0);
  ta.focus();
  ta.setSelectionRange(start, start + (lines[n - 1] || '').length);
}

// ---------------------------------------------------------------- text
function renderGutter() {
  const n = state.text.split('\n').length;
  const marks = {};
  for (const p of state.problems) if (p.line) marks[p.line] = p.error ? 'err' : (marks[p.line] || 'warn');
  const g = $('gutter');
  g.textContent = '';
  for (let i = 1; i <= n; i++) {
    const s = document.createElement('span');
    s.textContent = i + '\n';
    if (marks[i]) { s.className = marks[i]; s.title = state.problems.filter((p) => p.line === i).map((p) => p.text).join('\n'); }
    g.append(s);
  }
  $('kin').rows = n + 1;
}

function setText(text, from) {
  state.text = text.replace(/\r\n?/g, '\n');
  if (from !== 'text') $('kin').value = state.text;
  state.model = K.parse(state.text);
  renderGutter();
  renderForm();
  drawProfile();
  scheduleCheck();
}

function setName(name) {
  showOpenError('');
  state.name = name.replace(/\.[^.]*$/, '') || 'model';
  $('name').textContent = state.name + '.kin';
}

// ---------------------------------------------------------------- forms
const el = (tag, attrs = {}, ...kids) => {
  const e = document.createElement(tag);
  for (const [k, v] of Object.entries(attrs)) {
    if (k.startsWith('on')) e[k] = v; else if (v !== undefined && v !== null) e.setAttribute(k, v);
  }
  e.append(...kids);
  return e;
};

function units() { return state.model ? state.model.units : 'USCS'; }

// A form edit: the section is written again into the text.
function commit(kw, obj) {
  setText(K.replaceBlock(state.text, kw, obj), 'form');
}

function input(id, value, line, onchange, attrs = {}) {
  return el('input', Object.assign({ id, value: value ?? '', 'data-line': line, inputmode: 'decimal', onchange: (e) => onchange(e.target.value.trim()) }, attrs));
}

function select(id, value, options, line, onchange) {
  const s = el('select', { id, 'data-line': line, onchange: (e) => onchange(e.target.value) });
  for (const [v, label] of options) {
    const o = el('option', { value: v }, label);
    if (String(v) === String(value)) o.selected = true;
    s.append(o);
  }
  return s;
}

function unitCell(kind) { return el('td', { class: 'unit' }, K.unitOf(kind, units())); }

function renderForm() {
  const focus = document.activeElement && document.activeElement.id;
  const f = $('form');
  f.textContent = '';
  const key = state.tab;
  const obj = state.model[key];
  const why = key === 'other' || key === 'lrfd' ? null : state.model.unsupported[key];
  if (why) {
    f.append(el('p', { class: 'note' }, `This section is edited in the text only: ${why}.`));
  } else if (key === 'options') f.append(optionsForm(obj));
  else if (key === 'sections') f.append(sectionsForm(obj));
  else if (key === 'soil') f.append(soilForm(obj));
  else if (key === 'loading') f.append(loadingForm(obj));
  else if (key === 'other') f.append(otherForm());
  else if (key === 'lrfd') f.append(lrfdForm());
  markProblems();
  if (focus && focus.startsWith('f-') && $(focus)) $(focus).focus();
}

function optionsForm(o) {
  if (!o) return el('p', {}, 'No OPTIONS section.');
  const t = el('table');
  const upd = (k, v) => { o.fields[k] = v; commit('OPTIONS', o); };
  for (const [key, kind, choices, label] of K.OPTION_LINES) {
    let cell;
    const line = o.lines[key];
    if (kind === 'choice') cell = select('f-opt-' + key, o.fields[key], choices.map((c) => [c, c]), line, (v) => upd(key, v));
    else if (kind === 'yesno') cell = select('f-opt-' + key, o.fields[key], [['NO', 'no'], ['YES', 'yes']], line, (v) => upd(key, v));
    else if (kind === 'loading') {
      cell = el('span', {}, select('f-opt-LoadingType', o.fields.LoadingType, [['STATIC', 'static'], ['CYCLIC', 'cyclic']], line, (v) => upd('LoadingType', v)),
        input('f-opt-Cycles', o.fields.Cycles, line, (v) => upd('Cycles', v), { 'aria-label': 'Number of cycles', title: 'Number of cycles' }));
    } else cell = input('f-opt-' + key, o.fields[key], line, (v) => upd(key, v));
    t.append(el('tr', {}, el('th', {}, el('label', { for: 'f-opt-' + (kind === 'loading' ? 'LoadingType' : key) }, label)), el('td', {}, cell),
      unitCell(choices || kind === 'loading' || kind === 'yesno' ? 'none' : choices === null && kind === 'number' ? K.OPTION_LINES.find((x) => x[0] === key)[2] : 'none')));
  }
  return t;
}

function sectionsForm(sec) {
  const box = el('div');
  if (!sec) {
    box.append(el('button', { onclick: () => commit('SECTIONS', { list: [newSection(11)] }) }, 'Add SECTIONS'));
    return box;
  }
  sec.list.forEach((s, j) => {
    const fs = el('fieldset', {}, el('legend', {}, `Section ${j + 1}`));
    const t = el('table');
    const upd = () => commit('SECTIONS', sec);
    const id = (k) => `f-sec-${j}-${k}`;
    const choice = (k, label, value, options, line, set) => t.append(el('tr', {}, el('th', {}, el('label', { for: id(k) }, label)),
      el('td', {}, select(id(k), value, options, line, (v) => { set(v); fillDefaults(s); upd(); })), unitCell('none')));
    const fields = (list) => { for (const [k, label, kind] of list) t.append(row(id(k), label, s.v[k], s.lines[k], kind, (v) => { s.v[k] = v; upd(); })); };
    const d = K.SECTION_TYPES[s.type];
    choice('type', 'Type', s.type, K.SECTION_ORDER.map((k) => [k, `${k}: ${K.sectionName(k)}`]), s.lines.type, (v) => {
      sec.list[j] = newSection(Number(v));
      sec.list[j].v.length = s.v.length;
    });
    t.append(row(id('length'), 'Length', s.v.length, s.lines.length, 'len', (v) => { s.v.length = v; upd(); }));
    if (d.elastic) choice('shape', 'Shape', s.shape, Object.entries(K.ELASTIC_SHAPES).map(([k, v]) => [k, `${k}: ${v}`]), s.lines.shape, (v) => { s.shape = Number(v); });
    fields(K.sectionFields(s));
    const tables = [];
    if (d.block === 'rebar' || d.block === 'strands') {
      fields(K.CONCRETE_FIELDS);
      choice('tensile', 'Concrete tensile strength', s.tensile, [['default', 'default'], ['override', 'given']], s.lines.tensile, (v) => { s.tensile = v; });
      if (s.tensile === 'override') fields([K.TENSILE_FIELD]);
      choice('curve', 'Concrete stress-strain curve', s.curve, [['internal', 'internal'], ['input', 'given points']], s.lines.curve, (v) => { s.curve = v; });
      if (s.curve === 'input') tables.push(['Concrete stress-strain points', rowsTable(id('curve'), K.SECTION_TABLES.curve, s.curvePts, upd, ['0.0', '0.0'])]);
    }
    if (d.block === 'rebar') {
      choice('rebar', 'Rebar', s.rebar, [['own', 'own bars'], ['same', 'same as section above'], ['none', 'no rebar']], s.lines.rebar, (v) => { s.rebar = v; s.patternKept = false; });
      if (s.rebar === 'own') {
        choice('pattern', 'Bar pattern', s.pattern, [['circle', 'bars in a circle'], ['noncircular', 'bars at given positions']], s.lines.pattern, (v) => { s.pattern = v; });
        if (s.pattern === 'noncircular') {
          fields(K.BAR_PATTERN_FIELDS);
          tables.push(['Bars (x, y from the centre)', rowsTable(id('bars'), K.SECTION_TABLES.bars, s.bars, upd, ['8', '1.0', '0.79', '0.0', '0.0'])]);
        } else fields(K.REBAR_FIELDS);
      } else if (s.patternKept) t.append(el('tr', {}, el('td', { colspan: 3, class: 'unit' }, 'An unused bar pattern follows in the text; it is kept as written.')));
    }
    if (d.block === 'strands') {
      choice('strands', 'Strands', s.strands, [['auto', 'placed automatically'], ['manual', 'at given positions']], s.lines.strands, (v) => { s.strands = v; });
      if (s.strands === 'manual') {
        fields(K.STRAND_MANUAL_FIELDS);
        tables.push(['Strands (codes, x, y from the centre)', rowsTable(id('strands'), K.SECTION_TABLES.strands, s.strandRows, upd, ['1', '1', '0.0', '0.0'])]);
      } else fields(K.STRAND_AUTO_FIELDS);
    }
    fs.append(t);
    for (const [title, table] of tables) fs.append(el('h4', {}, title), table);
    if (d.block === 'userEI') {
      s.thrusts.forEach((th, i) => {
        const tt = el('table');
        tt.append(row(id(`thrust-${i}`), `Axial thrust ${i + 1}`, th.thrust, th.line, 'force', (v) => { th.thrust = v; upd(); }));
        fs.append(el('h4', {}, `Moment-EI curve at axial thrust ${i + 1}`), tt, rowsTable(id(`ei-${i}`), K.SECTION_TABLES.ei, th.rows, upd, ['1000000', '1.0E10']));
        if (s.thrusts.length > 1) fs.append(el('button', { onclick: () => { s.thrusts.splice(i, 1); upd(); } }, `Remove thrust ${i + 1}`));
      });
      fs.append(el('button', { id: id('thrust-add'), onclick: () => { s.thrusts.push(JSON.parse(JSON.stringify(s.thrusts[s.thrusts.length - 1]))); upd(); } }, 'Add axial thrust'));
    }
    if (sec.list.length > 1) fs.append(el('button', { onclick: () => { sec.list.splice(j, 1); upd(); } }, 'Remove section'));
    box.append(fs);
  });
  box.append(el('button', { id: 'f-sec-add', onclick: () => { sec.list.push(newSection(11)); commit('SECTIONS', sec); } }, 'Add section'));
  return box;
}

// A table of numbered rows (bars, strands, curve points): one input per
// value, each marked with the input line it stands on.
function rowsTable(prefix, cols, rows, upd, blank) {
  const t = el('table', {}, el('tr', {}, el('th', {}, 'No.'), ...cols.map(([, label, kind]) => el('th', {}, `${label}${K.unitOf(kind, units()) ? ', ' + K.unitOf(kind, units()) : ''}`)), el('th', {})));
  rows.forEach((r, j) => {
    t.append(el('tr', {}, el('td', {}, String(j + 1)),
      ...cols.map(([c, label], i) => el('td', {}, input(`${prefix}-${j}-${c}`, r.v[i], r.lines ? r.lines[i] : r.line, (v) => { r.v[i] = v; upd(); }, { 'aria-label': `${label} ${j + 1}` }))),
      el('td', {}, el('button', { title: 'Remove row', onclick: () => { rows.splice(j, 1); upd(); } }, '×'))));
  });
  return el('div', {}, t, el('button', { id: `${prefix}-add`, onclick: () => { const last = rows[rows.length - 1]; rows.push({ v: last ? [...last.v] : [...blank] }); upd(); } }, 'Add row'));
}

// Starting values of every field a section type reads (US customary).
const SECTION_DEFAULTS = {
  E: '29000000', DTop: '24', DBot: '24', TTop: '0.5', TBot: '0.5', ATop: '36.91', ABot: '36.91', ITop: '2549', IBot: '2549',
  HTop: '24', HBot: '24', Dhole: '30', MpTop: '8000000', MpBot: '8000000', Mp: '4000000',
  Bf: '10.2', Depth: '10.0', Tf: '0.565', Tw: '0.565', A: '15.5', I: '294',
  t: '0.5', fc: '4000', agg: '0.75', ft: '400', Es: '29000000', nPos: '12', perPos: '1', barD: '1.128', barA: '1.0', cover: '3.0', offset: '0.0',
  tc: '0.5', fyc: '36000', Ec: '29000000', Dcore: '12.75', tcore: '0.5', fycore: '50000', Ecore: '29000000', Dv: '8', ch: '0.75',
  stype: '2', scode: '1', nStrands: '8', fpu: '270000', fpi: '189000', sD: '0.5',
};

function fillDefaults(s) {
  const d = K.SECTION_TYPES[s.type];
  const prestressed = d.block === 'strands';
  const own = {
    D: s.type === 4 ? '24' : prestressed ? '18' : '36', W: s.type === 0 ? '24' : s.type === 13 ? '30' : '18', Dp: '36',
    fy: s.type === 4 ? '36000' : '60000', fc: prestressed ? '6000' : '4000', spat: s.type === 7 || s.type === 8 ? '1' : '0',
  };
  const keys = K.sectionFields(s).concat(d.block ? K.CONCRETE_FIELDS : [], [K.TENSILE_FIELD], K.REBAR_FIELDS, K.STRAND_AUTO_FIELDS);
  for (const [k] of keys) if (s.v[k] === undefined) s.v[k] = own[k] ?? SECTION_DEFAULTS[k] ?? '0';
  s.tensile ||= 'default';
  s.curve ||= 'internal';
  s.rebar ||= 'own';
  s.pattern ||= 'circle';
  s.strands ||= 'auto';
  s.curvePts ||= [{ v: ['0.001', '2000'] }, { v: ['0.002', '4000'] }, { v: ['0.0038', '3400'] }];
  s.bars ||= [[-9, 9], [9, 9], [-9, -9], [9, -9]].map(([x, y]) => ({ v: ['8', '1.0', '0.79', String(x), String(y)] }));
  s.strandRows ||= [[-5, 5], [5, 5], [-5, -5], [5, -5]].map(([x, y]) => ({ v: ['1', '1', String(x), String(y)] }));
  s.thrusts ||= [{ thrust: '0.0', rows: [{ v: ['1000000', '1.4E11'] }, { v: ['5000000', '6.5E10'] }, { v: ['8000000', '1.6E10'] }] }];
  return s;
}

function newSection(type) {
  return fillDefaults({ type, v: { length: '10.0' }, lines: {}, shape: 2 });
}

function row(id, label, value, line, kind, onchange) {
  return el('tr', {}, el('th', {}, el('label', { for: id }, label)), el('td', {}, input(id, value, line, onchange)), unitCell(kind));
}

function soilForm(soil) {
  const box = el('div');
  if (!soil) soil = { layers: [], lines: {} };
  const upd = () => commit('SOIL LAYERS', soil);
  soil.layers.forEach((L, j) => {
    const params = K.SOIL_MODELS[L.code][1];
    const fs = el('fieldset', {}, el('legend', {}, `Layer ${j + 1}`));
    const t = el('table');
    t.append(el('tr', {}, el('th', {}, el('label', { for: `f-soil-${j}-code` }, 'p-y criterion')), el('td', { colspan: 2 }, select(`f-soil-${j}-code`, L.code,
      Object.entries(K.SOIL_MODELS).map(([k, v]) => [k, `${k}: ${v[0]}`]), L.line, (v) => {
        const n = K.SOIL_MODELS[v][1].length;
        L.code = Number(v);
        L.topP = Array.from({ length: n }, (_, i) => L.topP[i] ?? '0');
        L.botP = Array.from({ length: n }, (_, i) => L.botP[i] ?? '0');
        if (K.SOIL_MODELS[v][2] === 'curve') {
          const curve = () => [['0.0', '0.0'], ['0.1', '200.0'], ['0.5', '500.0'], ['2.0', '600.0']].map((p) => ({ v: p }));
          L.topCurve ||= curve();
          L.botCurve ||= curve();
        }
        upd();
      })), unitCell('none')));
    t.append(el('tr', {}, el('th', {}), el('th', {}, 'top'), el('th', {}, 'bottom'), el('th', {})));
    t.append(el('tr', {}, el('th', {}, 'Depth'), el('td', {}, input(`f-soil-${j}-top`, L.top, L.line, (v) => { L.top = v; upd(); }, { 'aria-label': `Layer ${j + 1} top depth` })),
      el('td', {}, input(`f-soil-${j}-bottom`, L.bottom, L.line, (v) => { L.bottom = v; upd(); }, { 'aria-label': `Layer ${j + 1} bottom depth` })), unitCell('len')));
    params.forEach(([k, label, kind], i) => {
      t.append(el('tr', {}, el('th', {}, label),
        el('td', {}, input(`f-soil-${j}-${k}-top`, L.topP[i], L.topLine, (v) => { L.topP[i] = v; upd(); }, { 'aria-label': `Layer ${j + 1} ${label} at top` })),
        el('td', {}, input(`f-soil-${j}-${k}-bottom`, L.botP[i], L.botLine, (v) => { L.botP[i] = v; upd(); }, { 'aria-label': `Layer ${j + 1} ${label} at bottom` })),
        unitCell(kind)));
    });
    fs.append(t);
    if (K.SOIL_MODELS[L.code][2] === 'layerLine') fs.append(el('p', { class: 'unit' }, 'Massive rock: its values stand on the layer line, after the depths.'));
    if (K.SOIL_MODELS[L.code][2] === 'curve') {
      for (const [end, name] of [['top', 'top'], ['bot', 'bottom']]) {
        fs.append(el('h4', {}, `p-y curve at the ${name} (up to 30 points)`), rowsTable(`f-soil-${j}-py${end}`, K.PY_COLUMNS, L[end + 'Curve'], upd, ['0.0', '0.0']));
      }
    }
    fs.append(el('button', { onclick: () => { soil.layers.splice(j, 1); upd(); } }, 'Remove layer'));
    box.append(fs);
  });
  box.append(el('button', {
    id: 'f-soil-add',
    onclick: () => {
      const last = soil.layers[soil.layers.length - 1];
      const top = last ? last.bottom : '0.0';
      soil.layers.push({ code: 1, top, bottom: String(Number(top) + 10), topP: ['40', '300', '0.02'], botP: ['40', '300', '0.02'] });
      upd();
    },
  }, 'Add layer'));
  return box;
}

function loadingForm(ld) {
  const box = el('div');
  if (!ld) ld = { cases: [], dist: [], lines: {} };
  const upd = () => commit('LOADING', ld);
  const t = el('table', {}, el('tr', {}, el('th', {}, 'Case'), el('th', {}, 'Head condition'), el('th', {}, 'Condition 1'), el('th', {}, 'Condition 2'),
    el('th', {}, `Axial, ${K.unitOf('force', units())}`), el('th', {}, 'Length study'), el('th', {})));
  ld.cases.forEach((c, j) => {
    const [, kinds, names] = K.LOAD_TYPES[c.type];
    t.append(el('tr', {}, el('td', {}, String(j + 1)),
      el('td', {}, select(`f-load-${j}-type`, c.type, Object.entries(K.LOAD_TYPES).map(([k, v]) => [k, `${k}: ${v[0]}`]), c.line, (v) => { c.type = Number(v); upd(); })),
      el('td', {}, input(`f-load-${j}-c1`, c.c1, c.line, (v) => { c.c1 = v; upd(); }, { 'aria-label': names[0] }), el('span', { class: 'unit' }, `${names[0]}, ${K.unitOf(kinds[0], units())}`)),
      el('td', {}, input(`f-load-${j}-c2`, c.c2, c.line, (v) => { c.c2 = v; upd(); }, { 'aria-label': names[1] }), el('span', { class: 'unit' }, `${names[1]}, ${K.unitOf(kinds[1], units())}`)),
      el('td', {}, input(`f-load-${j}-axial`, c.axial, c.line, (v) => { c.axial = v; upd(); }, { 'aria-label': 'Axial load' })),
      el('td', {}, select(`f-load-${j}-L`, c.L === '1' ? '1' : '0', [['1', 'no'], ['0', 'yes']], c.line, (v) => { c.L = v; upd(); })),
      el('td', {}, el('button', { onclick: () => { ld.cases.splice(j, 1); upd(); } }, '×'))));
  });
  box.append(t, el('button', { id: 'f-load-add', onclick: () => { ld.cases.push({ type: 1, c1: '10000.0', c2: '0.0', axial: '0.0', L: '1' }); upd(); } }, 'Add load case'));
  const d = el('table', {}, el('tr', {}, el('th', {}, 'Point'), el('th', {}, `Depth, ${K.unitOf('len', units())}`), el('th', {}, `Load, ${K.unitOf('dload', units())}`), el('th', {})));
  ld.dist.forEach((p, j) => {
    d.append(el('tr', {}, el('td', {}, String(j + 1)), el('td', {}, input(`f-dist-${j}-depth`, p.depth, p.line, (v) => { p.depth = v; upd(); })),
      el('td', {}, input(`f-dist-${j}-load`, p.load, p.line, (v) => { p.load = v; upd(); })), el('td', {}, el('button', { onclick: () => { ld.dist.splice(j, 1); upd(); } }, '×'))));
  });
  box.append(el('h3', {}, 'Distributed lateral load'), d, el('button', { onclick: () => { ld.dist.push({ depth: '0.0', load: '0.0' }); upd(); } }, 'Add point'));
  return box;
}

// LRFD LOADS (loading groups with their distributed loads) and LRFD FACTORS
// AND CASES (one column per combination: the 13 load factors, the two
// resistance factors and the name).
function lrfdForm() {
  const box = el('div');
  const m = state.model;
  box.append(el('p', { class: 'unit' }, 'Read only with UseLRFD YES in the options; the combinations then replace the load cases.'));
  const fl = el('fieldset', {}, el('legend', {}, 'Loading groups (LRFD LOADS)'));
  if (m.unsupported.lrfdLoads) fl.append(el('p', { class: 'note' }, 'Edited in the text: ' + m.unsupported.lrfdLoads));
  else {
    const l = m.lrfdLoads || { groups: [], lines: {} };
    const upd = () => commit('LRFD LOADS', l);
    l.groups.forEach((g, j) => {
      const t = el('table');
      t.append(el('tr', {}, el('th', {}, el('label', { for: `f-lrfd-${j}-type` }, `Group ${j + 1} load type`)),
        el('td', {}, select(`f-lrfd-${j}-type`, g.type, K.LRFD_LOAD_TYPES.map((n, i) => [i + 1, `${i + 1}: ${n}`]), g.line, (v) => { g.type = Number(v); upd(); })), unitCell('none')));
      K.LRFD_GROUP_COLUMNS.forEach(([k, label, kind], i) => t.append(row(`f-lrfd-${j}-${k}`, label, g.v[i], g.line, kind, (v) => { g.v[i] = v; upd(); })));
      fl.append(t, el('h4', {}, `Distributed load of group ${j + 1} (none, or 2 to 100 points)`),
        rowsTable(`f-lrfd-${j}-dist`, K.LRFD_POINT_COLUMNS, g.rows, upd, ['0.0', '0.0']),
        el('button', { onclick: () => { l.groups.splice(j, 1); upd(); } }, `Remove group ${j + 1}`));
    });
    fl.append(el('button', { id: 'f-lrfd-add', onclick: () => { l.groups.push({ type: 1, v: ['1000.0', '0.0', '0.0'], rows: [] }); upd(); } }, 'Add loading group'));
  }
  box.append(fl);
  const ff = el('fieldset', {}, el('legend', {}, 'Load combinations (LRFD FACTORS AND CASES)'));
  if (m.unsupported.lrfdFactors) ff.append(el('p', { class: 'note' }, 'Edited in the text: ' + m.unsupported.lrfdFactors));
  else {
    const f = m.lrfdFactors || { combos: [], lines: {} };
    const upd = () => commit('LRFD FACTORS AND CASES', f);
    const rows = K.LRFD_LOAD_TYPES.map((n) => `${n} load factor`).concat(['flexure resistance factor (0: 0.75)', 'shear resistance factor (0: 0.75)']);
    const t = el('table', {}, el('tr', {}, el('th', {}), ...f.combos.map((c, j) => el('th', {}, `Combination ${j + 1} `,
      el('button', { title: `Remove combination ${j + 1}`, onclick: () => { f.combos.splice(j, 1); upd(); } }, '×')))));
    t.append(el('tr', {}, el('th', {}, 'Name'), ...f.combos.map((c, j) => el('td', {}, input(`f-combo-${j}-name`, c.name, c.nameLine, (v) => { c.name = v; upd(); }, { inputmode: 'text', 'aria-label': `Name of combination ${j + 1}` })))));
    rows.forEach((label, i) => t.append(el('tr', {}, el('th', {}, label),
      ...f.combos.map((c, j) => el('td', {}, input(`f-combo-${j}-${i}`, c.v[i], c.line, (v) => { c.v[i] = v; upd(); }, { 'aria-label': `${label}, combination ${j + 1}` }))))));
    ff.append(t, el('button', { id: 'f-combo-add', onclick: () => {
      const last = f.combos[f.combos.length - 1];
      f.combos.push(last ? { v: [...last.v], name: last.name + ' (copy)' } : { v: ['1.0', ...Array(12).fill('0.0'), '1.0', '1.0'], name: 'Combination' });
      upd();
    } }, 'Add combination'));
  }
  box.append(ff);
  return box;
}

// The list sections (axial thrusts, tip shear, group factors, soil
// movements, printed p-y depths) and the batter and slope.
function otherForm() {
  const box = el('div');
  const m = state.model;
  for (const [kw, [title, cols, option]] of Object.entries(K.LISTS)) {
    const fs = el('fieldset', {}, el('legend', {}, `${title} (${kw})`));
    if (m.unsupported[kw]) { fs.append(el('p', { class: 'note' }, 'Edited in the text: ' + m.unsupported[kw])); box.append(fs); continue; }
    const list = m[kw] || { rows: [], lines: {} };
    const upd = () => commit(kw, list);
    const key = kw.replace(/\W+/g, '-').toLowerCase();
    if (option) fs.append(el('p', { class: 'unit' }, `Read only with ${option} YES in the options.`));
    const t = el('table', {}, el('tr', {}, el('th', {}, 'No.'), ...cols.map(([, label, kind]) => el('th', {}, `${label}${K.unitOf(kind, units()) ? ', ' + K.unitOf(kind, units()) : ''}`)), el('th', {})));
    list.rows.forEach((row, j) => {
      t.append(el('tr', {}, el('td', {}, String(j + 1)),
        ...cols.map(([c, label], i) => el('td', {}, input(`f-${key}-${j}-${c}`, row.v[i], row.line, (v) => { row.v[i] = v; upd(); }, { 'aria-label': `${label} ${j + 1}` }))),
        el('td', {}, el('button', { onclick: () => { list.rows.splice(j, 1); upd(); } }, '×'))));
    });
    fs.append(t, el('button', { id: `f-${key}-add`, onclick: () => { const last = list.rows[list.rows.length - 1]; list.rows.push({ v: last ? [...last.v] : cols.map(() => '0.0') }); upd(); } }, 'Add row'));
    box.append(fs);
  }
  const b = m.batter || { slope: '0.0', batter: '0.0', lines: {} };
  const fs = el('fieldset', {}, el('legend', {}, 'Ground slope and pile batter (PILE BATTER AND SLOPE)'));
  const t = el('table');
  t.append(row('f-batter-slope', 'Ground slope angle', b.slope, b.lines.slope, 'deg', (v) => { b.slope = v; commit('PILE BATTER AND SLOPE', b); }));
  t.append(row('f-batter-batter', 'Pile batter angle', b.batter, b.lines.batter, 'deg', (v) => { b.batter = v; commit('PILE BATTER AND SLOPE', b); }));
  fs.append(t);
  box.append(fs);
  return box;
}

// ---------------------------------------------------------------- profile
const SOIL_COLOURS = { 1: '#9fb7d9', 2: '#6f8fbf', 3: '#7e9bc6', 4: '#5d7fb0', 5: '#e8d49a', 6: '#e0c77c', 7: '#f2e6b8', 8: '#b7a99a',
  9: '#c9c0b0', 10: '#c8a27a', 11: '#d7c2a0', 12: '#d9b98c', 13: '#cfd8c0', 14: '#bcd3c6', 15: '#d8eef5', 16: '#9a8f86' };

function drawProfile() {
  const svg = $('profile-svg');
  const m = state.model;
  const layers = (m.soil && m.soil.layers) || [];
  const sections = (m.sections && m.sections.list) || [];
  const pileLen = sections.reduce((a, s) => a + (Number(s.v.length) || 0), 0);
  const bottom = Math.max(pileLen, ...layers.map((L) => Number(L.bottom) || 0), 1);
  const W = 200, H = 560, top = 20, scale = (H - top - 10) / bottom;
  const y = (d) => top + d * scale;
  const parts = [];
  layers.forEach((L, j) => {
    const t = Number(L.top), b = Number(L.bottom);
    if (!(b > t)) return;
    parts.push(`<rect x="10" y="${y(t)}" width="${W - 20}" height="${(b - t) * scale}" fill="${SOIL_COLOURS[L.code] || '#ddd'}" stroke="#556" stroke-width="0.5"><title>Layer ${j + 1}: ${K.SOIL_MODELS[L.code] ? K.SOIL_MODELS[L.code][0] : L.code}</title></rect>`);
    parts.push(`<text x="14" y="${y(t) + 12}" font-size="10">${j + 1}: ${(K.SOIL_MODELS[L.code] || [String(L.code)])[0]}</text>`);
  });
  if (layers.length) parts.push(`<line x1="4" x2="${W - 4}" y1="${y(Number(layers[0].top))}" y2="${y(Number(layers[0].top))}" stroke="#5a3" stroke-width="2"><title>Ground surface</title></line>`);
  let d = 0;
  sections.forEach((s, j) => {
    const len = Math.max(Number(s.v.length) || 0, 0);
    const w = 10 + 4 * j;
    parts.push(`<rect x="${W / 2 + 20 - w / 2}" y="${y(d)}" width="${w}" height="${len * scale}" fill="#555" stroke="#222"><title>Section ${j + 1}: ${K.sectionName(s.type)}, ${len} ${K.unitOf('len', units())}</title></rect>`);
    d += len;
  });
  const u = K.unitOf('len', units());
  for (let i = 0; i <= 4; i++) {
    const dd = (bottom * i) / 4;
    parts.push(`<text x="${W - 4}" y="${y(dd) + 3}" font-size="9" text-anchor="end">${+dd.toFixed(2)} ${u}</text>`);
  }
  svg.setAttribute('viewBox', `0 0 ${W} ${H}`);
  svg.innerHTML = parts.join('');
}

// ---------------------------------------------------------------- JSON models
// `kestro convert` in the check worker (it is never busy for long).
function convert(name, text, to) {
  return new Promise((resolve) => {
    const go = () => {
      state.conversionId += 1;
      state.conversions[state.conversionId] = resolve;
      state.checkWorker.postMessage({ convert: true, id: state.conversionId, name, text, to });
    };
    if (state.checkReady) go(); else setTimeout(() => convert(name, text, to).then(resolve), 100);
  });
}

// A file opened from disk: a JSON model (its first character opens an
// object) becomes its KESTRO6 text; a mistake in it is shown with its path
// in the model and the page keeps the model it had.
async function openText(fileName, text) {
  if (/^\s*\{/.test(text)) {
    status('Converting the JSON model…');
    const m = await convert(fileName.replace(/\.[^.]*$/, ''), text, 'kin');
    if (m.status !== 0) {
      state.openError = m.error.replace(/^kestro: /, '');
      showOpenError(state.openError);
      status('The JSON model was not opened');
      return false;
    }
    text = m.text;
  }
  state.openError = '';
  showOpenError('');
  setName(fileName);
  setText(text);
  status(`Opened ${fileName}`);
  return true;
}

function showOpenError(msg) {
  const box = $('open-error');
  box.textContent = msg ? 'The model could not be opened: ' + msg : '';
  box.hidden = !msg;
}

// ---------------------------------------------------------------- start
async function loadExample(file) {
  const r = await fetch('examples/' + file);
  setName(file);
  setText(await r.text());
}

function openFromHash() {
  const h = location.hash;
  const m = /^#kin=([A-Za-z0-9_-]*)(&run)?$/.exec(h);
  if (!m) return false;
  try {
    setName('shared');
    setText(K.fromBase64Url(m[1]));
    if (m[2]) run();
    return true;
  } catch (e) {
    status('The link does not hold a model');
    return false;
  }
}

async function init() {
  startRunWorker();
  startCheckWorker();
  $('kin').addEventListener('input', (e) => setText(e.target.value, 'text'));
  $('kin').addEventListener('keydown', (e) => { if (e.key === 'Enter' && e.ctrlKey) { e.preventDefault(); run(); } });
  document.addEventListener('keydown', (e) => { if (e.key === 'Enter' && e.ctrlKey) { e.preventDefault(); run(); } });
  $('run').onclick = run;
  $('cancel').onclick = cancel;
  $('new').onclick = () => { setName('model'); setText(K.NEW_MODEL); };
  $('save').onclick = () => { const a = download(state.name + '.kin', state.text, 'text/plain'); a.click(); };
  $('share').onclick = () => {
    history.replaceState(null, '', '#kin=' + K.toBase64Url(state.text));
    status('The link in the address bar holds the model; add &run to run it on opening');
  };
  $('open').onchange = async (e) => {
    const file = e.target.files[0];
    if (!file) return;
    await openText(file.name, await file.text());
    e.target.value = '';
  };
  $('save-json').onclick = async () => {
    const m = await convert(state.name, state.text, 'json');
    if (m.status !== 0) { status('Not saved as .json: ' + m.error.replace(/^kestro: /, '')); return; }
    download(state.name + '.json', m.text, 'application/json').click();
    status(`Saved ${state.name}.json`);
  };
  $('examples').onchange = (e) => { if (e.target.value) loadExample(e.target.value); };
  for (const b of document.querySelectorAll('#tabs button')) {
    b.onclick = () => {
      state.tab = b.dataset.tab;
      document.querySelectorAll('#tabs button').forEach((x) => x.setAttribute('aria-selected', String(x === b)));
      renderForm();
    };
  }
  window.addEventListener('hashchange', openFromHash);
  if (!openFromHash()) { setName('model'); setText(K.NEW_MODEL); }
  const list = await (await fetch('examples/index.json')).json();
  for (const ex of list) $('examples').append(el('option', { value: ex.file }, `${ex.file.replace(/\.kin$/, '')} — ${ex.title}`));
}

init();
