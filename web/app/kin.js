// Reading and writing the KESTRO6 text for the forms. The text is the model:
// it is cut into its keyword sections; the sections the forms know (OPTIONS,
// SECTIONS of the common types, SOIL LAYERS, LOADING) are read into objects
// that remember the input line of every value, and a form edit writes its
// section again in place. Every other section, and the text of sections the
// forms do not know, is kept exactly as written.

export const KEYWORDS = [
  'TITLE', 'OPTIONS', 'SECTIONS', 'SOIL LAYERS', 'LOADING', 'AXIAL THRUST LOADS', 'LRFD LOADS',
  'LRFD FACTORS AND CASES', 'TIP SHEAR', 'PILE BATTER AND SLOPE', 'GROUP EFFECT FACTORS', 'GROUPEFF',
  'SOIL MOVEMENTS', 'DEPTHS OF PRINTED P-Y CURVES', 'AXIAL ANALYSIS', 'END',
];

const NUMBER = /^[+-]?(\d+\.?\d*|\.\d+)([EeDd][+-]?\d+)?$/;

// Units of each kind of value: US customary, SI, general.
export const UNITS = {
  len: ['ft', 'm', 'L'], dim: ['in', 'mm', 'L'], area: ['in²', 'mm²', 'L²'], inertia: ['in⁴', 'mm⁴', 'L⁴'],
  stress: ['psi', 'kPa', 'F/L²'], coh: ['psf', 'kPa', 'F/L²'], gamma: ['pcf', 'kN/m³', 'F/L³'],
  k: ['pci', 'kN/m³', 'F/L³'], esub: ['lb/in²', 'kN/m²', 'F/L²'], force: ['lbs', 'kN', 'F'],
  moment: ['in-lbs', 'kN-m', 'F-L'], rotk: ['in-lbs/rad', 'kN-m/rad', 'F-L/rad'], defl: ['in', 'm', 'L'],
  dload: ['lb/in', 'kN/m', 'F/L'], rad: ['rad', 'rad', 'rad'], deg: ['deg', 'deg', 'deg'], none: ['', '', ''],
  pct: ['%', '%', '%'],
};

export function unitOf(kind, units) {
  const i = units === 'SI' ? 1 : units === 'GENERAL' ? 2 : 0;
  return (UNITS[kind] || UNITS.none)[i];
}

function isKeyword(line) {
  return KEYWORDS.includes(line.replace(/\s+$/, ''));
}

// The keyword blocks of the text: [{kw, start, end}] with line indexes (0-based, end exclusive).
export function splitBlocks(lines) {
  const blocks = [];
  let i = 0;
  while (i < lines.length && !/\S/.test(lines[i])) i++;
  i++; // the KESTRO6 tag
  let cur = null;
  for (; i < lines.length; i++) {
    const t = lines[i].replace(/\s+$/, '');
    if (isKeyword(t)) {
      if (cur) cur.end = i;
      cur = { kw: t, start: i, end: lines.length };
      blocks.push(cur);
      if (t === 'TITLE') i += 5; // five title lines, whatever they hold
      if (t === 'END') { cur.end = i + 1; break; }
    }
  }
  return blocks;
}

// Reads values line by line as the engine does: a list takes the numbers at
// the start of its line (text after them is ignored) and continues on the
// next line when the line holds too few.
class Reader {
  constructor(lines, start, end) { this.lines = lines; this.i = start; this.end = end; }
  nums(n) {
    const vals = [];
    const first = this.i + 1;
    while (vals.length < n) {
      if (this.i >= this.end) throw new Error('missing values');
      const toks = this.lines[this.i].trim().split(/[\s,]+/).filter((t) => t !== '');
      for (const t of toks) {
        if (!NUMBER.test(t)) break;
        vals.push(t);
        if (vals.length === n) break;
      }
      this.i++;
    }
    return { vals, line: first };
  }
  num() { const r = this.nums(1); return { v: r.vals[0], line: r.line }; }
  text() {
    if (this.i >= this.end) throw new Error('missing line');
    const line = this.i + 1;
    return { v: this.lines[this.i++].replace(/\s+$/, ''), line };
  }
}

// ---------------------------------------------------------------- OPTIONS
export const OPTION_LINES = [
  ['Units', 'choice', ['USCS', 'SI', 'GENERAL'], 'Unit system'],
  ['UseLRFD', 'yesno', null, 'LRFD load combinations'],
  ['ComputeKmatrix', 'yesno', null, 'Pile-head stiffness matrix'],
  ['UseTipShear', 'yesno', null, 'Tip shear curve'],
  ['UseSoilMovement', 'yesno', null, 'Soil movements'],
  ['UsePYModifiers', 'yesno', null, 'Group p- and y-multipliers'],
  ['ComputeEIOnly', 'yesno', null, 'Section properties only'],
  ['Loading', 'loading', null, 'Loading and cycles'],
  ['MaxIterations', 'number', 'none', 'Iteration limit (30 to 1000)'],
  ['DeflectionLimit', 'number', 'defl', 'Deflection limit'],
  ['Tolerance', 'number', 'defl', 'Convergence tolerance'],
  ['Increments', 'number', 'none', 'Pile increments (40 to 500)'],
  ['PrintSummaryOnly', 'yesno', null, 'Print the summary only'],
  ['PrintIncrement', 'number', 'none', 'Print every n-th station'],
  ['PrintPYCurves', 'yesno', null, 'Print p-y curves'],
  ['ComputeInteraction', 'yesno', null, 'Interaction diagram'],
];

function readOptions(r) {
  const o = { fields: {}, lines: {}, code: null };
  for (const [key, kind] of OPTION_LINES) {
    const { v, line } = r.text();
    o.lines[key] = line;
    if (kind === 'loading') {
      o.fields.LoadingType = v.slice(8, 14).trim();
      o.fields.Cycles = v.slice(14).trim();
    } else {
      const parts = v.trim().split(/\s+/);
      o.fields[key] = parts.slice(1).join(' ');
      if (key !== OPTION_LINES[0][0] && kind !== 'yesno') o.fields[key + 'Label'] = parts[0];
    }
  }
  if (o.fields.ComputeInteraction === 'YES') o.code = r.text().v;
  return o;
}

function writeOptions(o) {
  const out = ['OPTIONS'];
  for (const [key, kind] of OPTION_LINES) {
    const f = o.fields;
    if (kind === 'loading') {
      out.push('Loading ' + (f.LoadingType || 'STATIC').padEnd(6) + String(f.Cycles || '1').padStart(6));
    } else {
      out.push((f[key + 'Label'] || key) + ' ' + f[key]);
    }
  }
  if (o.fields.ComputeInteraction === 'YES') out.push(o.code || 'Code ACI318');
  return out;
}

// ---------------------------------------------------------------- SECTIONS
// Section types the forms edit, with their value lines after the length.
export const SECTION_TYPES = {
  1: 'drilled shaft', 4: 'steel pipe', 11: 'elastic', 12: 'elastic-plastic',
};
export const ELASTIC_SHAPES = { 1: 'circular', 2: 'circular pipe', 3: 'H-pile, strong axis', 4: 'H-pile, weak axis' };

function elasticFields(shape, plastic) {
  const f = [['E', 'Elastic modulus', 'stress']];
  const two = (k, label, unit) => { f.push([k + 'Top', label + ' at top', unit]); };
  if (plastic && (shape === 1 || shape === 2)) f.push(['MpTop', 'Plastic moment at top', 'moment'], ['MpBot', 'Plastic moment at bottom', 'moment']);
  if (plastic && (shape === 3 || shape === 4)) f.push(['Mp', 'Plastic moment', 'moment']);
  if (shape === 1 || shape === 2) {
    f.push(['DTop', 'Diameter at top', 'dim'], ['DBot', 'Diameter at bottom', 'dim']);
    if (shape === 2) f.push(['TTop', 'Wall thickness at top', 'dim'], ['TBot', 'Wall thickness at bottom', 'dim']);
    f.push(['ATop', 'Area at top', 'area'], ['ABot', 'Area at bottom', 'area'], ['ITop', 'Inertia at top', 'inertia'], ['IBot', 'Inertia at bottom', 'inertia']);
  } else {
    f.push(['Bf', 'Flange width', 'dim'], ['Depth', 'Section depth', 'dim'], ['Tf', 'Flange thickness', 'dim'], ['Tw', 'Web thickness', 'dim'], ['A', 'Area', 'area'], ['I', 'Inertia', 'inertia']);
  }
  void two;
  return f;
}

const SHAFT_FIELDS = [['D', 'Diameter', 'dim']];
const CONCRETE_FIELDS = [['fc', "Concrete strength f'c", 'stress'], ['agg', 'Max. aggregate size', 'dim']];
const REBAR_FIELDS = [['fy', 'Rebar yield strength', 'stress'], ['Es', 'Rebar modulus', 'stress'],
  ['nPos', 'Bar positions on the circle', 'none'], ['perPos', 'Bars per position', 'none'], ['barD', 'Bar diameter', 'dim'],
  ['barA', 'Bar area', 'area'], ['cover', 'Cover to the bars', 'dim'], ['offset', 'Offset of the bar circle', 'dim']];
const PIPE_FIELDS = [['D', 'Diameter', 'dim'], ['t', 'Wall thickness', 'dim'], ['fy', 'Yield strength', 'stress'], ['E', 'Elastic modulus', 'stress']];

export function sectionFields(s) {
  if (s.type === 4) return PIPE_FIELDS;
  if (s.type === 11 || s.type === 12) return elasticFields(s.shape, s.type === 12);
  if (s.type === 1) return SHAFT_FIELDS.concat(CONCRETE_FIELDS, s.rebar === 'none' || s.rebar === 'same' ? [] : REBAR_FIELDS);
  return [];
}

function readFields(r, s, fields) {
  for (const [k] of fields) { const { v, line } = r.num(); s.v[k] = v; s.lines[k] = line; }
}

function readSections(r) {
  const n = r.num();
  const list = [];
  for (let j = 0; j < Number(n.v); j++) {
    const s = { v: {}, lines: {} };
    const no = r.num(); s.lines.no = no.line;
    const t = r.num(); s.type = Number(t.v); s.lines.type = t.line;
    const len = r.num(); s.v.length = len.v; s.lines.length = len.line;
    if (!(s.type in SECTION_TYPES)) throw new Error('section type ' + s.type + ' is edited in the text');
    if (s.type === 11 || s.type === 12) {
      const sh = r.num(); s.shape = Number(sh.v); s.lines.shape = sh.line;
      if (!(s.shape in ELASTIC_SHAPES)) throw new Error('elastic shape ' + s.shape + ' is edited in the text');
      readFields(r, s, elasticFields(s.shape, s.type === 12));
    } else if (s.type === 4) {
      readFields(r, s, PIPE_FIELDS);
    } else {
      readFields(r, s, SHAFT_FIELDS.concat(CONCRETE_FIELDS));
      const tens = r.text();
      if (/^Override/.test(tens.v)) throw new Error('a given tensile strength is edited in the text');
      const curve = r.text();
      if (/^Input/.test(curve.v)) throw new Error('a concrete stress-strain curve is edited in the text');
      const arr = r.text();
      s.rebar = /^No rebar/.test(arr.v) ? 'none' : /Not Same/.test(arr.v) ? 'own' : 'same';
      s.lines.rebar = arr.line;
      if (s.rebar === 'own') {
        const pat = r.text();
        if (!/circle/.test(pat.v)) throw new Error('a noncircular bar pattern is edited in the text');
        readFields(r, s, REBAR_FIELDS);
      }
    }
    list.push(s);
  }
  return { list, lines: { n: n.line } };
}

function writeSections(sec) {
  const out = ['SECTIONS', `${sec.list.length}                  number of sections`];
  sec.list.forEach((s, j) => {
    out.push(`${j + 1}                  section ${j + 1}`);
    out.push(`${s.type}                 type: ${SECTION_TYPES[s.type]}`);
    out.push(`${s.v.length}`);
    if (s.type === 11 || s.type === 12) out.push(`${s.shape}                  shape: ${ELASTIC_SHAPES[s.shape]}`);
    const fields = sectionFields(s);
    for (const [k] of fields) {
      if (s.type === 1 && k === 'fy') {
        out.push('Rebar Arrangement Not Same As Section Above', 'Rebar in circle');
      }
      out.push(String(s.v[k] ?? 0));
      if (s.type === 1 && k === 'agg') {
        out.push('Use default concrete tensile strength', 'Use internal stress-strain curve for concrete');
        if (s.rebar === 'none') out.push('No rebar');
        if (s.rebar === 'same') out.push('Rebar Arrangement Same As Section Above');
      }
    }
  });
  return out;
}

// ---------------------------------------------------------------- SOIL LAYERS
export const SOIL_MODELS = {
  1: ['soft clay (Matlock)', [['gamma', 'Unit weight', 'gamma'], ['c', 'Cohesion', 'coh'], ['e50', 'e50', 'none']]],
  2: ['stiff clay with free water', [['gamma', 'Unit weight', 'gamma'], ['c', 'Cohesion', 'coh'], ['e50', 'e50', 'none'], ['k', 'k', 'k']]],
  3: ['stiff clay without free water', [['gamma', 'Unit weight', 'gamma'], ['c', 'Cohesion', 'coh'], ['e50', 'e50', 'none']]],
  4: ['stiff clay without free water, k', [['gamma', 'Unit weight', 'gamma'], ['c', 'Cohesion', 'coh'], ['e50', 'e50', 'none'], ['k', 'k', 'k']]],
  5: ['sand (Reese)', [['gamma', 'Unit weight', 'gamma'], ['phi', 'Friction angle', 'deg'], ['k', 'k', 'k']]],
  6: ['API sand', [['gamma', 'Unit weight', 'gamma'], ['phi', 'Friction angle', 'deg'], ['k', 'k', 'k']]],
  7: ['liquefied sand', [['gamma', 'Unit weight', 'gamma']]],
  8: ['weak rock', [['gamma', 'Unit weight', 'gamma'], ['qu', 'qu', 'stress'], ['Er', 'Rock modulus', 'stress'], ['rqd', 'RQD', 'pct'], ['krm', 'krm', 'none']]],
  9: ['vuggy limestone', [['gamma', 'Unit weight', 'gamma'], ['qu', 'qu', 'stress']]],
  11: ['cemented silt', [['gamma', 'Unit weight', 'gamma'], ['c', 'Cohesion', 'coh'], ['phi', 'Friction angle', 'deg'], ['k', 'k', 'k'], ['e50', 'e50', 'none']]],
  12: ['loess', [['gamma', 'Unit weight', 'gamma'], ['qc', 'Cone tip resistance', 'stress']]],
  13: ['elastic subgrade', [['gamma', 'Unit weight', 'gamma'], ['es', 'Subgrade modulus', 'esub']]],
  15: ['frozen soil', []],
};

function readSoil(r) {
  const n = r.num();
  const layers = [];
  for (let j = 0; j < Number(n.v); j++) {
    const h = r.nums(3);
    const L = { code: Number(h.vals[0]), top: h.vals[1], bottom: h.vals[2], line: h.line, topP: [], botP: [] };
    if (!(L.code in SOIL_MODELS)) throw new Error('soil model ' + L.code + ' is edited in the text');
    const np = SOIL_MODELS[L.code][1].length;
    if (np > 0) {
      const t = r.nums(np); L.topP = t.vals; L.topLine = t.line;
      const b = r.nums(np); L.botP = b.vals; L.botLine = b.line;
    }
    layers.push(L);
  }
  return { layers, lines: { n: n.line } };
}

function writeSoil(soil) {
  const out = ['SOIL LAYERS', `${soil.layers.length}                  number of soil layers`];
  soil.layers.forEach((L, j) => {
    out.push(`${L.code}  ${L.top}  ${L.bottom}       layer ${j + 1}: ${SOIL_MODELS[L.code][0]}`);
    if (SOIL_MODELS[L.code][1].length > 0) {
      out.push(L.topP.join('  ') + '   top');
      out.push(L.botP.join('  ') + '   bottom');
    }
  });
  return out;
}

// ---------------------------------------------------------------- LOADING
export const LOAD_TYPES = {
  1: ['shear and moment', ['force', 'moment'], ['Shear', 'Moment']],
  2: ['shear and slope', ['force', 'rad'], ['Shear', 'Slope']],
  3: ['shear and rotational stiffness', ['force', 'rotk'], ['Shear', 'Rotational stiffness']],
  4: ['deflection and moment', ['defl', 'moment'], ['Deflection', 'Moment']],
  5: ['deflection and slope', ['defl', 'rad'], ['Deflection', 'Slope']],
};

function readLoading(r) {
  const n = r.num();
  const cases = [];
  for (let j = 0; j < Number(n.v); j++) {
    const c = r.nums(6);
    cases.push({ type: Number(c.vals[1]), c1: c.vals[2], c2: c.vals[3], axial: c.vals[4], L: c.vals[5], line: c.line });
  }
  const m = r.num();
  const dist = [];
  for (let j = 0; j < Number(m.v); j++) {
    const p = r.nums(3);
    dist.push({ depth: p.vals[1], load: p.vals[2], line: p.line });
  }
  return { cases, dist, lines: { n: n.line, m: m.line } };
}

function writeLoading(ld) {
  const out = ['LOADING', `${ld.cases.length}                  number of load cases`];
  ld.cases.forEach((c, j) => out.push(`${j + 1}  ${c.type}  ${c.c1}  ${c.c2}  ${c.axial}  ${c.L}   case ${j + 1}: ${LOAD_TYPES[c.type][0]}`));
  out.push(`${ld.dist.length}                  number of distributed load points`);
  ld.dist.forEach((p, j) => out.push(`${j + 1}  ${p.depth}  ${p.load}`));
  return out;
}

// ---------------------------------------------------------------- lists
// Sections that are a count and one numbered row per item, and the batter.
export const LISTS = {
  'AXIAL THRUST LOADS': ['Axial thrusts for the section properties', [['thrust', 'Axial thrust', 'force']], ''],
  'TIP SHEAR': ['Tip shear curve', [['y', 'Tip displacement', 'defl'], ['v', 'Tip shear force', 'force']], 'UseTipShear'],
  'GROUP EFFECT FACTORS': ['Group p- and y-multipliers', [['depth', 'Depth', 'len'], ['pm', 'p-multiplier', 'none'], ['ym', 'y-multiplier', 'none']], 'UsePYModifiers'],
  'SOIL MOVEMENTS': ['Soil movements', [['depth', 'Depth', 'len'], ['mov', 'Soil movement', 'dim']], 'UseSoilMovement'],
  'DEPTHS OF PRINTED P-Y CURVES': ['Depths of printed p-y curves', [['depth', 'Depth', 'len']], 'PrintPYCurves'],
};

function readList(kw) {
  return (r) => {
    const n = r.num();
    const cols = LISTS[kw][1].length;
    const rows = [];
    for (let j = 0; j < Number(n.v); j++) {
      const x = r.nums(cols + 1);
      rows.push({ v: x.vals.slice(1), line: x.line });
    }
    return { rows, lines: { n: n.line } };
  };
}

function writeList(kw) {
  return (l) => [kw, `${l.rows.length}                  number of points`, ...l.rows.map((row, j) => `${j + 1}  ${row.v.join('  ')}`)];
}

function readBatter(r) {
  const a = r.num();
  const b = r.num();
  return { slope: a.v, batter: b.v, lines: { slope: a.line, batter: b.line } };
}

function writeBatter(b) {
  return ['PILE BATTER AND SLOPE', `${b.slope}                ground slope angle, degrees`, `${b.batter}                pile batter angle, degrees`];
}

// ---------------------------------------------------------------- the model
const READERS = { OPTIONS: readOptions, SECTIONS: readSections, 'SOIL LAYERS': readSoil, LOADING: readLoading, 'PILE BATTER AND SLOPE': readBatter };
const WRITERS = { OPTIONS: writeOptions, SECTIONS: writeSections, 'SOIL LAYERS': writeSoil, LOADING: writeLoading, 'PILE BATTER AND SLOPE': writeBatter };
export const FORM_KEYS = { OPTIONS: 'options', SECTIONS: 'sections', 'SOIL LAYERS': 'soil', LOADING: 'loading', 'PILE BATTER AND SLOPE': 'batter' };
for (const kw of Object.keys(LISTS)) {
  READERS[kw] = readList(kw);
  WRITERS[kw] = writeList(kw);
  FORM_KEYS[kw] = kw;
}

// The model of a text: each form's object, or why the form cannot show it.
export function parse(text) {
  const lines = text.replace(/\r\n?/g, '\n').split('\n');
  const blocks = splitBlocks(lines);
  const model = { lines, blocks, units: 'USCS', unsupported: {} };
  for (const b of blocks) {
    if (b.kw === 'GROUPEFF') b.kw = 'GROUP EFFECT FACTORS';
    const read = READERS[b.kw];
    if (!read) continue;
    try {
      model[FORM_KEYS[b.kw]] = read(new Reader(lines, b.start + 1, b.end));
    } catch (e) {
      model.unsupported[FORM_KEYS[b.kw]] = e.message;
    }
  }
  if (model.options) model.units = model.options.fields.Units || 'USCS';
  return model;
}

// The text with one section written again from its form object; a section
// not yet in the text goes in before END.
export function replaceBlock(text, kw, obj) {
  const lines = text.replace(/\r\n?/g, '\n').split('\n');
  const blocks = splitBlocks(lines);
  const b = blocks.find((x) => x.kw === kw || (kw === 'GROUP EFFECT FACTORS' && x.kw === 'GROUPEFF'));
  const body = WRITERS[kw](obj);
  if (b) {
    lines.splice(b.start, b.end - b.start, ...body);
  } else {
    const end = blocks.find((x) => x.kw === 'END');
    lines.splice(end ? end.start : lines.length, 0, ...body);
  }
  return lines.join('\n');
}

export const NEW_MODEL = `KESTRO6
TITLE
New model




OPTIONS
Units USCS
UseLRFD NO
ComputeKmatrix NO
UseTipShear NO
UseSoilMovement NO
UsePYModifiers NO
ComputeEIOnly NO
Loading STATIC     1
MaxIterations 100
DeflectionLimit 100.0
Tolerance 1.0E-5
Increments 100
PrintSummaryOnly NO
PrintIncrement 5
PrintPYCurves NO
ComputeInteraction NO
SECTIONS
1                  number of sections
1                  section 1
11                 type: elastic
60.0
2                  shape: circular pipe
29000000
24.0
24.0
0.5
0.5
36.91
36.91
2549.
2549.
SOIL LAYERS
1                  number of soil layers
1  0.0  80.0       layer 1: soft clay (Matlock)
40.0  300.0  0.02   top
50.0  600.0  0.02   bottom
LOADING
1                  number of load cases
1  1  20000.0  0.0  0.0  1   case 1: shear and moment
0                  number of distributed load points
END
`;

// base64url of the UTF-8 text, and back.
export function toBase64Url(text) {
  const bytes = new TextEncoder().encode(text);
  let bin = '';
  for (const b of bytes) bin += String.fromCharCode(b);
  return btoa(bin).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
}

export function fromBase64Url(s) {
  const b64 = s.replace(/-/g, '+').replace(/_/g, '/');
  const bin = atob(b64 + '==='.slice((b64.length + 3) % 4));
  const bytes = Uint8Array.from(bin, (c) => c.charCodeAt(0));
  return new TextDecoder().decode(bytes);
}
