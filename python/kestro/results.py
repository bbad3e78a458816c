"""The results of one run as pandas DataFrames, built from the same results
JSON that ``kestro run`` writes (docs/results-json.md)."""
import json
import re

import pandas as pd


class KestroError(Exception):
    """A run ended by an input or runtime error: ``number`` is the run error
    number (100 + n: Input Data Error n; 200 + n: runtime error n; 999:
    internal stop), ``code`` the engine's code (INP00032) and ``reason`` the
    engine's own statement of the problem."""

    def __init__(self, number, reason, code=None, text=None):
        super().__init__(f"Kestro error {number}" + (f" ({code})" if code else "") + f": {reason}")
        self.number = number
        self.reason = reason
        self.code = code
        self.text = text

    def __reduce__(self):
        return (KestroError, (self.number, self.reason, self.code, self.text))


def _reason(error):
    text = error.get("text") or ""
    lines = [" ".join(l.split()) for l in text.splitlines()]
    for l in lines:
        if l.startswith("Problem:"):
            return l[len("Problem:"):].strip()
    body = [l for l in lines if l and not l.startswith("*")]
    return " ".join(body) if body else (error.get("heading") or "")


def _table(columns, units, names=None):
    data = {}
    for key, values in columns.items():
        if key == "units" or not isinstance(values, list):
            continue
        label = (names or {}).get(key, re.sub(r"(?<!^)([A-Z])", r" \1", key).lower())
        unit = units.get(key)
        data[f"{label} ({unit})" if unit else label] = values
    return pd.DataFrame(data)


# The report's columns that the plot file does not hold, by the first words
# of their heading.
_REPORT_COLUMNS = {"Slope": "slope", "Total": "total stress", "Bending Stiffness": "EI", "Soil Spr.": "Es*h",
                   "Distrib.": "distributed load"}


def report_station_tables(report):
    """The report's tables of computed values per load case number: a
    DataFrame of the printed stations (every print increment) with slope,
    total stress, EI, Es*h and distributed load, units in the column names,
    and the depth as printed."""
    lines = report.splitlines()
    tables = {}
    i = 0
    while i < len(lines):
        m = re.search(r"for Lateral Loading for Load Case Number\s+(\d+)", lines[i])
        if not m:
            i += 1
            continue
        case = int(m.group(1))
        j = i + 1
        while j < len(lines) and not re.match(r"-{5,} -{5,}", lines[j]):
            j += 1
        if j >= len(lines) or j < 3:
            break
        dashes = lines[j]
        spans = [(a.start(), a.end()) for a in re.finditer(r"-+", dashes)]
        heads = lines[j - 3:j]
        cols = []
        for a, b in spans:
            words = [h[a:b + 1].strip() for h in heads]
            cols.append((" ".join(w for w in words[:2] if w), words[2]))
        rows = []
        j += 1
        while j < len(lines) and lines[j].strip():
            parts = lines[j].split()
            try:
                rows.append([float(x) for x in parts[:len(cols)]])
            except ValueError:
                break
            if len(parts) < len(cols):
                break
            j += 1
        data = {"depth": [r[0] for r in rows]}
        for k, (name, unit) in enumerate(cols):
            for key, label in _REPORT_COLUMNS.items():
                if name.startswith(key):
                    data[f"{label} ({unit})"] = [r[k] for r in rows]
        tables[case] = pd.DataFrame(data)
        i = j
    return tables


_STATION_NAMES = {"depth": "depth", "deflection": "deflection", "moment": "moment", "shear": "shear",
                  "soilReaction": "soil reaction", "number": "station"}


# Units of the station properties held for every station, by unit system.
_EI_UNITS = {1: "lb-in^2", 2: "kN-m^2", 3: "F-L^2"}
_ES_UNITS = {1: "lb/in^2", 2: "kN/m^2", 3: "F/L^2"}


class Results:
    """Outcome, warnings, the summary and per load case one row per station.

    Attributes: ``outcome`` (normal, warnings, error, unfinished), ``result``
    (the engine's run result), ``warnings`` (list of texts), ``summary``
    (DataFrame, one row per load case), ``cases`` (list of DataFrames, with
    slope, EI and the secant soil modulus Es at every station),
    ``py_curves``, ``section_curves``, ``stiffness``, ``length_studies``
    (DataFrames or empty lists where the run has none), ``files`` (paths of
    the kept files, or None), ``data`` (the whole results JSON), ``report``
    (the report text). The JSON, the report and the DataFrames are built when
    first asked for."""

    def __init__(self, data, html=None, files=None, report="", run=None, source=None, unit_system=None):
        if data is not None:
            self.data = data
        if report is not None and source is None:
            self.report = report
        self._html = html
        self._source = source
        self.files = files
        self.unit_system = unit_system if unit_system is not None else (data or {}).get("units", {}).get("system", 1)
        run = run if run is not None else (data or {}).get("run", {})
        self._run = run
        self.outcome = run.get("status")
        self.result = run.get("result")
        self.warnings = [w.get("text", "") for w in run.get("warnings", [])]
        self._frames = None

    # The DataFrames are built when first asked for: a study of many runs
    # that keeps two numbers of each does not pay for them. The results JSON
    # and the report of a run held in memory likewise.
    def __getattr__(self, name):
        if name.startswith("__"):
            raise AttributeError(name)
        if name in ("cases", "summary", "length_studies", "py_curves", "section_curves", "stiffness"):
            if self.__dict__.get("_frames") is None:
                self._build()
                self._frames = True
            return self.__dict__[name]
        source = self.__dict__.get("_source")
        if name == "data" and source is not None:
            self.data = json.loads(source.json())
            return self.data
        if name == "report":
            self.report = source.report() if source is not None else ""
            return self.report
        if name == "title":
            return self.data.get("title", [])
        raise AttributeError(name)

    def __getstate__(self):
        # A run held in memory travels as the text of its results JSON (read
        # on the other side only when asked for), its report and its station
        # properties.
        state = dict(self.__dict__)
        source = state.get("_source")
        if source is not None and not hasattr(source, "_json"):
            from .run import _Detached
            state["_source"] = _Detached(source.json(), source.report(), source.station_properties())
        if state.get("_source") is not None:
            state.pop("data", None)
            state.pop("report", None)
        state.pop("cases", None)
        state["_frames"] = None
        for k in ("summary", "length_studies", "py_curves", "section_curves", "stiffness"):
            state.pop(k, None)
        return state

    def __setstate__(self, state):
        self.__dict__.update(state)

    def error(self):
        """The KestroError of a run that ended by an error, else None."""
        return _error_of_run(self._run)

    def _build(self):
        data = self.data
        self.cases = []
        rows = []
        self.length_studies = {}
        printed = report_station_tables(self.report or "")
        source = self.__dict__.get("_source")
        props = source.station_properties() if source is not None else []
        system = self.unit_system or 1
        for k, lc in enumerate(data.get("loadCases", [])):
            st = lc.get("stations") or {}
            # The plot file's columns; the values the engine keeps during a
            # run (slope, EI, Es, p_u) reach only the command's results file.
            df = _table({k: v for k, v in st.items() if k in _STATION_NAMES or k == "units"}, st.get("units", {}),
                        _STATION_NAMES)
            extra = printed.get(lc.get("number")) if not lc.get("lrfd") else None
            depth = next((c for c in df.columns if c.startswith("depth")), None)
            if extra is not None and depth is not None and len(extra):
                # The printed stations by their depth as printed (two decimals).
                key = df[depth].round(2)
                extra = extra.drop_duplicates("depth").set_index("depth")
                for c in extra.columns:
                    df[c] = key.map(extra[c])
            held = props[k] if k < len(props) else None
            if held is not None and len(held[0]) == len(df):
                # Slope and EI of every station, at full precision, in place
                # of those of the printed stations; Es besides.
                slope, ei, es = held
                df["slope (radians)"] = slope
                ei_col = next((c for c in df.columns if c.startswith("EI (")), f"EI ({_EI_UNITS.get(system)})")
                df[ei_col] = ei
                df[f"Es ({_ES_UNITS.get(system)})"] = es
            self.cases.append(df)
            row = {"case": lc.get("number"), "name": lc.get("name")}
            for key in ("headShear", "headDeflection", "maxMoment", "depthOfMaxMoment", "maxShear",
                        "depthOfMaxShear"):
                q = lc.get(key) or {}
                label = re.sub(r"([A-Z])", r" \1", key).lower()
                row[f"{label} ({q.get('unit')})"] = q.get("value")
            rows.append(row)
            if lc.get("lengthStudy"):
                ls = lc["lengthStudy"]
                self.length_studies[lc.get("number")] = _table(ls, ls.get("units", {}))
        self.summary = pd.DataFrame(rows)
        self.py_curves = []
        for c in data.get("pyCurves", []):
            df = _table(c, c.get("units", {}))
            df.attrs.update(depth=c.get("depth"), soil=c.get("soil"), curve=c.get("curve"))
            self.py_curves.append(df)
        self.section_curves = []
        for s in data.get("sections", []):
            for c in s.get("curves", []):
                df = _table(c, c.get("units", {}))
                df.attrs.update(section=s.get("number"), axial_thrust=c.get("axialThrust"),
                                nominal_moment_capacity=c.get("nominalMomentCapacity"))
                self.section_curves.append(df)
        st = data.get("stiffness")
        self.stiffness = _table(st, st.get("units", {})) if st else None

    @property
    def head_deflection(self):
        """Pile-head deflection of each load case."""
        return [(lc.get("headDeflection") or {}).get("value") for lc in self.data.get("loadCases", [])]

    @property
    def max_moment(self):
        """Maximum bending moment of each load case (sign of the largest magnitude)."""
        return [(lc.get("maxMoment") or {}).get("value") for lc in self.data.get("loadCases", [])]

    def _repr_html_(self):
        if self._html is None and self.__dict__.get("_source") is not None:
            self._html = self._source.html()
        return self._html if self._html else self.summary.to_html()

    def __repr__(self):
        return f"<kestro.Results {self.outcome}: {len(self.cases)} load case(s), result {self.result}>"


def error_of(data):
    """The KestroError of a results JSON whose run ended by an error, else None."""
    return _error_of_run(data.get("run", {}))


def _error_of_run(run):
    err = run.get("error")
    if run.get("status") == "error" or err:
        err = err or {}
        return KestroError(err.get("number", run.get("result")), _reason(err) or run.get("outcome", ""),
                           err.get("code"), err.get("text"))
    return None
