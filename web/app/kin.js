// Reading and writing the KESTRO6 text for the forms. The text is the model:
// it is cut into its keyword sections; the sections the forms know (OPTIONS,
// SECTIONS, SOIL LAYERS, LOADING, the LRFD sections, the lists, the batter)
// are read into objects that remember the input line of every value, and a
// form edit writes its section again in place. Every other section (TITLE,
// AXIAL ANALYSIS), and a section holding a line the forms cannot read, is
// kept exactly as written.

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
  pct: ['%', '%', '%'], ei: ['lb-in²', 'kN-m²', 'F-L²'],
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
  peek() { return this.i < this.end ? this.lines[this.i].replace(/\s+$/, '') : ''; }
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
// One descriptor per section type: its name, the dimension lines after the
// length (key, label, kind of unit) and the block that follows them: the
// concrete block with rebar or with strands, or the user's moment-EI curves.
// Elastic types take their lines from the shape's descriptor below.
const DIAMETER = ['D', 'Diameter', 'dim'];
const WIDTH = ['W', 'Width', 'dim'];
const VOID = ['Dv', 'Void diameter', 'dim'];
const CHAMFER = ['ch', 'Corner chamfer', 'dim'];
const CASING = [['tc', 'Casing thickness', 'dim'], ['fyc', 'Casing yield strength', 'stress'], ['Ec', 'Casing modulus', 'stress']];
const CORE = [['Dcore', 'Core diameter', 'dim'], ['tcore', 'Core thickness', 'dim'], ['fycore', 'Core yield strength', 'stress'], ['Ecore', 'Core modulus', 'stress']];
const PIPE_FIELDS = [['D', 'Diameter', 'dim'], ['t', 'Wall thickness', 'dim'], ['fy', 'Yield strength', 'stress'], ['E', 'Elastic modulus', 'stress']];

export const SECTION_TYPES = {
  0: { name: 'rectangular concrete', dims: [['W', 'Width (faces the soil)', 'dim'], ['Dp', 'Depth', 'dim']], block: 'rebar' },
  1: { name: 'drilled shaft', dims: [DIAMETER], block: 'rebar' },
  2: { name: 'drilled shaft with casing', dims: [DIAMETER, ...CASING], block: 'rebar' },
  3: { name: 'casing with concrete-filled core', dims: [DIAMETER, ...CASING, ...CORE], block: 'rebar' },
  '-3': { name: 'casing with void core', dims: [DIAMETER, ...CASING, ...CORE], block: 'rebar' },
  4: { name: 'steel pipe', dims: PIPE_FIELDS },
  5: { name: 'circular solid prestressed', dims: [DIAMETER], block: 'strands' },
  6: { name: 'circular hollow prestressed', dims: [DIAMETER, VOID], block: 'strands' },
  7: { name: 'square solid prestressed', dims: [WIDTH, CHAMFER], block: 'strands' },
  8: { name: 'square hollow prestressed', dims: [WIDTH, VOID, CHAMFER], block: 'strands' },
  9: { name: 'octagonal solid prestressed', dims: [WIDTH], block: 'strands' },
  10: { name: 'octagonal hollow prestressed', dims: [WIDTH, VOID], block: 'strands' },
  11: { name: 'elastic', elastic: true },
  12: { name: 'elastic-plastic', elastic: true },
  13: { name: 'user-defined nonlinear EI', dims: [WIDTH], block: 'userEI' },
  14: { name: 'micropile', dims: [] },
};
// The order of the type list: the void-core casing beside the filled one.
export const SECTION_ORDER = [0, 1, 2, 3, -3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14];
export const sectionName = (type) => (SECTION_TYPES[type] ? SECTION_TYPES[type].name : 'type ' + type);

// Elastic shapes: [name, top/bottom values, values after the inertia].
export const ELASTIC_SHAPES = { 0: 'rectangular', 1: 'circular', 2: 'circular pipe', 3: 'H-pile, strong axis', 4: 'H-pile, weak axis', 5: 'embedded circular pole' };

function elasticFields(shape, plastic) {
  const f = [['E', 'Elastic modulus', 'stress']];
  const hPile = shape === 3 || shape === 4;
  if (plastic && !hPile) f.push(['MpTop', 'Plastic moment at top', 'moment'], ['MpBot', 'Plastic moment at bottom', 'moment']);
  if (plastic && hPile) f.push(['Mp', 'Plastic moment', 'moment']);
  if (hPile) {
    f.push(['Bf', 'Flange width', 'dim'], ['Depth', 'Section depth', 'dim'], ['Tf', 'Flange thickness', 'dim'], ['Tw', 'Web thickness', 'dim'], ['A', 'Area', 'area'], ['I', 'Inertia', 'inertia']);
    return f;
  }
  const w = shape === 0 ? 'Width' : 'Diameter';
  f.push(['DTop', w + ' at top', 'dim'], ['DBot', w + ' at bottom', 'dim']);
  if (shape === 0) f.push(['HTop', 'Section depth at top', 'dim'], ['HBot', 'Section depth at bottom', 'dim']);
  if (shape === 2) f.push(['TTop', 'Wall thickness at top', 'dim'], ['TBot', 'Wall thickness at bottom', 'dim']);
  f.push(['ATop', 'Area at top', 'area'], ['ABot', 'Area at bottom', 'area'], ['ITop', 'Inertia at top', 'inertia'], ['IBot', 'Inertia at bottom', 'inertia']);
  if (shape === 5) f.push(['Dhole', 'Drilled hole diameter (the width the soil sees)', 'dim']);
  return f;
}

export const CONCRETE_FIELDS = [['fc', "Concrete strength f'c", 'stress'], ['agg', 'Max. aggregate size', 'dim']];
export const TENSILE_FIELD = ['ft', 'Concrete tensile strength', 'stress'];
export const REBAR_FIELDS = [['fy', 'Rebar yield strength', 'stress'], ['Es', 'Rebar modulus', 'stress'],
  ['nPos', 'Bar positions on the circle', 'none'], ['perPos', 'Bars per position', 'none'], ['barD', 'Bar diameter', 'dim'],
  ['barA', 'Bar area', 'area'], ['cover', 'Cover to the bars', 'dim'], ['offset', 'Offset of the bar circle', 'dim']];
export const BAR_PATTERN_FIELDS = REBAR_FIELDS.slice(0, 2);
export const STRAND_AUTO_FIELDS = [['stype', 'Strand type code', 'none'], ['scode', 'Strand size code', 'none'], ['nStrands', 'Number of strands', 'none'],
  ['fpu', 'Strand ultimate strength', 'stress'], ['fpi', 'Strand prestress', 'stress'], ['sD', 'Strand diameter', 'dim'],
  ['spat', 'Placement pattern code (circle, square, rectangle)', 'none']];
export const STRAND_MANUAL_FIELDS = [['stype', 'Strand type code', 'none'], ['fpu', 'Strand ultimate strength', 'stress'], ['fpi', 'Strand prestress', 'stress']];
// Rows of the tables inside a section: [key, label, kind] per column.
export const SECTION_TABLES = {
  curve: [['strain', 'Strain', 'none'], ['stress', 'Stress', 'stress']],
  bars: [['size', 'Size code', 'none'], ['d', 'Diameter', 'dim'], ['a', 'Area', 'area'], ['x', 'x', 'dim'], ['y', 'y', 'dim']],
  strands: [['ca', 'Code A', 'none'], ['cb', 'Code B', 'none'], ['x', 'x', 'dim'], ['y', 'y', 'dim']],
  ei: [['m', 'Moment', 'moment'], ['ei', 'EI', 'ei']],
};

// The one-value lines right after the length (and the shape code).
export function sectionFields(s) {
  const d = SECTION_TYPES[s.type];
  if (!d) return [];
  return d.elastic ? elasticFields(s.shape, s.type === 12) : d.dims;
}

function readFields(r, s, fields) {
  for (const [k] of fields) { const { v, line } = r.num(); s.v[k] = v; s.lines[k] = line; }
}

function readRows(r, n, cols) {
  const rows = [];
  for (let j = 0; j < n; j++) { const x = r.nums(cols + 1); rows.push({ v: x.vals.slice(1), line: x.line }); }
  return rows;
}

function option(r, what, choices) {
  const t = r.text();
  if (!Object.hasOwn(choices, t.v)) throw new Error(`line ${t.line} is not a ${what} line`);
  return { v: choices[t.v], line: t.line };
}

const TENSILE = { 'Use default concrete tensile strength': 'default', 'Override concrete tensile strength': 'override' };
const CURVE = { 'Use internal stress-strain curve for concrete': 'internal', 'Input stress-strain curve for concrete': 'input' };
const CONTINUATION = { 'Rebar Arrangement Not Same As Section Above': 'own', 'Rebar Arrangement Same As Section Above': 'same', 'No rebar': 'none' };
const PATTERN = { 'Rebar in circle': 'circle', 'Rebar in noncircular pattern': 'noncircular' };
const STRANDS = { 'Autoposition strands': 'auto', 'Manually-positioned strands': 'manual' };
const lineOf = (choices, v) => Object.keys(choices).find((k) => choices[k] === v);

function readConcrete(r, s) {
  readFields(r, s, CONCRETE_FIELDS);
  const t = option(r, 'concrete tensile strength', TENSILE); s.tensile = t.v; s.lines.tensile = t.line;
  if (s.tensile === 'override') readFields(r, s, [TENSILE_FIELD]);
  const c = option(r, 'concrete stress-strain', CURVE); s.curve = c.v; s.lines.curve = c.line;
  if (s.curve === 'input') {
    const n = r.num(); s.lines.curveN = n.line;
    s.curvePts = readRows(r, Number(n.v), 2);
  }
}

function readPattern(r, s) {
  const p = option(r, 'rebar pattern', PATTERN); s.pattern = p.v; s.lines.pattern = p.line;
  if (s.pattern === 'circle') { readFields(r, s, REBAR_FIELDS); return; }
  readFields(r, s, BAR_PATTERN_FIELDS);
  const n = r.num(); s.lines.nBars = n.line;
  s.bars = readRows(r, Number(n.v), 5);
}

function readRebar(r, s) {
  const c = option(r, 'rebar arrangement', CONTINUATION); s.rebar = c.v; s.lines.rebar = c.line;
  // After "No rebar" or "Same As Section Above" an unused bar pattern may
  // follow; it is kept as written.
  s.patternKept = s.rebar !== 'own' && Object.hasOwn(PATTERN, r.peek());
  if (s.rebar === 'own' || s.patternKept) readPattern(r, s);
}

function readStrands(r, s) {
  const m = option(r, 'strand positioning', STRANDS); s.strands = m.v; s.lines.strands = m.line;
  if (s.strands === 'auto') { readFields(r, s, STRAND_AUTO_FIELDS); return; }
  readFields(r, s, STRAND_MANUAL_FIELDS.slice(0, 1));
  const n = r.num(); s.lines.nStrands = n.line;
  readFields(r, s, STRAND_MANUAL_FIELDS.slice(1));
  s.strandRows = readRows(r, Number(n.v), 4);
}

function readUserEI(r, s) {
  const n = r.num(); s.lines.nThrusts = n.line;
  s.thrusts = [];
  for (let j = 0; j < Number(n.v); j++) {
    const t = r.num();
    const np = r.num();
    const pts = [];
    for (let k = 0; k < Number(np.v); k++) { const m = r.num(); const ei = r.num(); pts.push({ v: [m.v, ei.v], line: m.line, lines: [m.line, ei.line] }); }
    s.thrusts.push({ thrust: t.v, line: t.line, nLine: np.line, rows: pts });
  }
}

function readSections(r) {
  const n = r.num();
  const list = [];
  for (let j = 0; j < Number(n.v); j++) {
    const s = { v: {}, lines: {} };
    const no = r.num(); s.lines.no = no.line;
    const t = r.num(); s.type = Number(t.v); s.lines.type = t.line;
    const len = r.num(); s.v.length = len.v; s.lines.length = len.line;
    const d = SECTION_TYPES[s.type];
    if (!d) throw new Error('section type ' + t.v + ' is not one of the section types');
    if (d.elastic) {
      const sh = r.num(); s.shape = Number(sh.v); s.lines.shape = sh.line;
      if (!(s.shape in ELASTIC_SHAPES)) throw new Error('elastic shape ' + sh.v + ' is not one of the shapes');
    }
    readFields(r, s, sectionFields(s));
    if (d.block === 'rebar' || d.block === 'strands') readConcrete(r, s);
    if (d.block === 'rebar') readRebar(r, s);
    if (d.block === 'strands') readStrands(r, s);
    if (d.block === 'userEI') readUserEI(r, s);
    list.push(s);
  }
  return { list, lines: { n: n.line } };
}

// A value line with its label after it (text after the values is ignored).
const valueLine = (v, label) => `${String(v ?? 0).padEnd(18)} ${label.replace(/[0-9]/g, '')}`;
const rowLines = (rows) => rows.map((row, k) => `${k + 1}  ${row.v.join('  ')}`);

function writeSections(sec) {
  const out = ['SECTIONS', valueLine(sec.list.length, 'number of sections')];
  sec.list.forEach((s, j) => {
    const d = SECTION_TYPES[s.type];
    out.push(valueLine(j + 1, 'section number'));
    out.push(valueLine(s.type, 'type: ' + d.name));
    out.push(valueLine(s.v.length, 'length'));
    if (d.elastic) out.push(valueLine(s.shape, 'shape: ' + ELASTIC_SHAPES[s.shape]));
    const fields = (list) => { for (const [k, label] of list) out.push(valueLine(s.v[k], label)); };
    fields(sectionFields(s));
    if (d.block === 'rebar' || d.block === 'strands') {
      fields(CONCRETE_FIELDS);
      out.push(lineOf(TENSILE, s.tensile || 'default'));
      if (s.tensile === 'override') fields([TENSILE_FIELD]);
      out.push(lineOf(CURVE, s.curve || 'internal'));
      if (s.curve === 'input') out.push(valueLine(s.curvePts.length, 'number of stress-strain points'), ...rowLines(s.curvePts));
    }
    if (d.block === 'rebar') {
      out.push(lineOf(CONTINUATION, s.rebar || 'own'));
      if (s.rebar === 'own' || s.rebar === undefined || s.patternKept) {
        out.push(lineOf(PATTERN, s.pattern || 'circle'));
        if (s.pattern === 'noncircular') {
          fields(BAR_PATTERN_FIELDS);
          out.push(valueLine(s.bars.length, 'number of bars'), ...rowLines(s.bars));
        } else fields(REBAR_FIELDS);
      }
    }
    if (d.block === 'strands') {
      out.push(lineOf(STRANDS, s.strands || 'auto'));
      if (s.strands === 'manual') {
        fields(STRAND_MANUAL_FIELDS.slice(0, 1));
        out.push(valueLine(s.strandRows.length, 'number of strands'));
        fields(STRAND_MANUAL_FIELDS.slice(1));
        out.push(...rowLines(s.strandRows));
      } else fields(STRAND_AUTO_FIELDS);
    }
    if (d.block === 'userEI') {
      out.push(valueLine(s.thrusts.length, 'number of axial thrusts'));
      for (const t of s.thrusts) {
        out.push(valueLine(t.thrust, 'axial thrust'), valueLine(t.rows.length, 'number of moment-EI points'));
        for (const p of t.rows) out.push(valueLine(p.v[0], 'moment'), valueLine(p.v[1], 'EI'));
      }
    }
  });
  return out;
}

// ---------------------------------------------------------------- SOIL LAYERS
// One descriptor per soil model code: its name, the parameters of its top and
// bottom lines, and where they stand: on lines of their own (the default), on
// the layer line itself (massive rock), or as a user p-y curve per end.
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
  10: ['Piedmont residual soil', [['gamma', 'Unit weight', 'gamma'], ['test', 'Test type: 1 SPT, 2 CPT, 3 DMT, 4 PMT', 'none'],
    ['n60', 'SPT N60 (test 1)', 'none'], ['qc', 'CPT tip resistance (test 2)', 'stress'], ['ed', 'DMT modulus (test 3)', 'stress'], ['ep', 'PMT modulus (test 4)', 'stress']]],
  11: ['cemented silt', [['gamma', 'Unit weight', 'gamma'], ['c', 'Cohesion', 'coh'], ['phi', 'Friction angle', 'deg'], ['k', 'k', 'k'], ['e50', 'e50', 'none']]],
  12: ['loess', [['gamma', 'Unit weight', 'gamma'], ['qc', 'Cone tip resistance', 'stress']]],
  13: ['elastic subgrade', [['gamma', 'Unit weight', 'gamma'], ['es', 'Subgrade modulus', 'esub']]],
  14: ['user-input p-y curves', [['gamma', 'Unit weight', 'gamma']], 'curve'],
  15: ['frozen soil', []],
  16: ['massive rock', [['gamma', 'Unit weight', 'gamma'], ['qu', 'qu', 'stress'], ['Er', 'Intact rock modulus', 'stress']], 'layerLine'],
};
export const PY_COLUMNS = [['y', 'y', 'defl'], ['p', 'p', 'dload']];

// The numbers at the start of one line.
function lineNumbers(line) {
  const vals = [];
  for (const t of line.trim().split(/[\s,]+/)) { if (!NUMBER.test(t)) break; vals.push(t); }
  return vals;
}

function readSoil(r) {
  const n = r.num();
  const layers = [];
  for (let j = 0; j < Number(n.v); j++) {
    const h = r.nums(3);
    const L = { code: Number(h.vals[0]), top: h.vals[1], bottom: h.vals[2], line: h.line, topP: [], botP: [] };
    const m = SOIL_MODELS[L.code];
    if (!m) throw new Error('soil model ' + h.vals[0] + ' is not one of the soil model codes');
    const np = m[1].length;
    if (m[2] === 'layerLine') {
      // Three values (the same at both ends) or six after the depths.
      const v = lineNumbers(r.lines[h.line - 1]).slice(3, 9);
      L.topP = v.length >= 3 ? v.slice(0, 3) : ['0', '0', '0'];
      L.botP = v.length >= 6 ? v.slice(3, 6) : [...L.topP];
      L.topLine = L.botLine = h.line;
    } else if (m[2] === 'curve') {
      for (const end of ['top', 'bot']) {
        const g = r.nums(2);
        L[end + 'P'] = [g.vals[0]];
        L[end + 'Line'] = g.line;
        const pts = [];
        for (let k = 0; k < Number(g.vals[1]); k++) { const x = r.nums(2); pts.push({ v: x.vals, line: x.line }); }
        L[end + 'Curve'] = pts;
      }
    } else if (np > 0) {
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
    const m = SOIL_MODELS[L.code];
    const label = `      layer ${j + 1}: ${m[0]}`;
    if (m[2] === 'layerLine') {
      const same = L.botP.every((v, i) => Number(v) === Number(L.topP[i]));
      out.push(`${L.code}  ${L.top}  ${L.bottom}  ${L.topP.join('  ')}${same ? '' : '  ' + L.botP.join('  ')}${label}`);
      return;
    }
    out.push(`${L.code}  ${L.top}  ${L.bottom}${label}`);
    if (m[2] === 'curve') {
      for (const end of ['top', 'bot']) {
        const pts = L[end + 'Curve'] || [];
        out.push(`${L[end + 'P'][0]}  ${pts.length}   ${end === 'top' ? 'top' : 'bottom'}: unit weight, number of p-y points`);
        for (const p of pts) out.push(p.v.join('  '));
      }
    } else if (m[1].length > 0) {
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

// ---------------------------------------------------------------- LRFD
export const LRFD_LOAD_TYPES = ['dead', 'live', 'earthquake', 'impact', 'wind', 'water', 'ice', 'horizontal soil', 'live roof', 'rain', 'snow', 'temperature', 'special'];
export const LRFD_GROUP_COLUMNS = [['shear', 'Shear', 'force'], ['moment', 'Moment', 'moment'], ['axial', 'Axial force', 'force']];
export const LRFD_POINT_COLUMNS = [['depth', 'Depth', 'len'], ['load', 'Load', 'dload']];

function readLrfdLoads(r) {
  const n = r.num();
  const groups = [];
  for (let j = 0; j < Number(n.v); j++) {
    const g = r.nums(6);
    groups.push({ type: Number(g.vals[1]), v: g.vals.slice(2, 5), line: g.line, rows: readRows(r, Number(g.vals[5]), 2) });
  }
  return { groups, lines: { n: n.line } };
}

function writeLrfdLoads(l) {
  const out = ['LRFD LOADS', `${l.groups.length}                  number of loading groups`];
  l.groups.forEach((g, j) => {
    out.push(`${j + 1}  ${g.type}  ${g.v.join('  ')}  ${g.rows.length}      group: ${LRFD_LOAD_TYPES[g.type - 1] || 'load type'} load`);
    out.push(...rowLines(g.rows));
  });
  return out;
}

function readLrfdFactors(r) {
  const n = r.num();
  const combos = [];
  for (let j = 0; j < Number(n.v); j++) {
    const c = r.nums(16);
    const name = r.text();
    combos.push({ v: c.vals.slice(1), line: c.line, name: name.v, nameLine: name.line });
  }
  return { combos, lines: { n: n.line } };
}

function writeLrfdFactors(f) {
  const out = ['LRFD FACTORS AND CASES', `${f.combos.length}                  number of load combinations`];
  f.combos.forEach((c, j) => out.push(`${j + 1}  ${c.v.join('  ')}`, c.name));
  return out;
}

// ---------------------------------------------------------------- the model
const READERS = { OPTIONS: readOptions, SECTIONS: readSections, 'SOIL LAYERS': readSoil, LOADING: readLoading, 'PILE BATTER AND SLOPE': readBatter,
  'LRFD LOADS': readLrfdLoads, 'LRFD FACTORS AND CASES': readLrfdFactors };
const WRITERS = { OPTIONS: writeOptions, SECTIONS: writeSections, 'SOIL LAYERS': writeSoil, LOADING: writeLoading, 'PILE BATTER AND SLOPE': writeBatter,
  'LRFD LOADS': writeLrfdLoads, 'LRFD FACTORS AND CASES': writeLrfdFactors };
export const FORM_KEYS = { OPTIONS: 'options', SECTIONS: 'sections', 'SOIL LAYERS': 'soil', LOADING: 'loading', 'PILE BATTER AND SLOPE': 'batter',
  'LRFD LOADS': 'lrfdLoads', 'LRFD FACTORS AND CASES': 'lrfdFactors' };
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
