"""The JSON model through the kestro command: round trips over every example
and regression input, .json inputs to run and check, and errors that name
the JSON path."""
import json
import re
import shutil
import subprocess

import pytest

from conftest import EXAMPLES, KESTRO, REGRESSION

CASES = [(p.stem, p) for p in EXAMPLES] + [(p.parent.name, p) for p in REGRESSION]
# Inputs the JSON model refuses, with the reason: the keyword input gives them
# their own input data error, the JSON model refuses them before the run.
REFUSED = {
    "input-error-lrfd-group-order": "LRFD loading group 2 is numbered 3",
}
REFUSED_BACK = {
    "value-overlapping-layer": "soil_layers[1].top: 0 is not where the layer above ends, 12 (an overlap)",
}
# Lines that hold the clock or the folder of the run.
CLOCK = re.compile(r"Date:|Time|Path to file locations")


def kestro(*args, check=True):
    r = subprocess.run([str(KESTRO), *map(str, args)], capture_output=True, text=True)
    if check and r.returncode not in (0, 1, 2):
        raise AssertionError(f"kestro {' '.join(map(str, args))}: {r.returncode}\n{r.stderr}")
    return r


def files_without_clock(folder, stem):
    out = {}
    for kind in ("report", "plot", "messages"):
        p = folder / f"{stem}-{kind}.txt"
        out[kind] = [l for l in p.read_text(errors="replace").splitlines() if not CLOCK.search(l)]
    return out


@pytest.mark.parametrize("name,path", CASES, ids=[c[0] for c in CASES])
def test_round_trip(tmp_path, name, path):
    """KESTRO6 -> JSON -> KESTRO6 runs to the same files; JSON -> KESTRO6 -> JSON is identical."""
    j1, k2, j2 = tmp_path / "m.json", tmp_path / "m.kin", tmp_path / "m2.json"
    r = kestro("convert", path, j1)
    if name in REFUSED:
        assert r.returncode == 2 and REFUSED[name] in r.stderr
        return
    assert r.returncode == 0, r.stderr
    model = json.loads(j1.read_text())
    assert model["format"] == "kestro-model" and model["version"] == 1
    r = kestro("convert", j1, k2)
    if name in REFUSED_BACK:
        assert r.returncode == 2 and REFUSED_BACK[name] in r.stderr
        return
    assert r.returncode == 0, r.stderr
    assert kestro("convert", k2, j2).returncode == 0
    assert j2.read_text() == j1.read_text()
    # The original and the round-tripped input, run under the same name.
    (tmp_path / "a").mkdir()
    (tmp_path / "b").mkdir()
    shutil.copy(path, tmp_path / "a" / "case.kin")
    shutil.copy(k2, tmp_path / "b" / "case.kin")
    ra = kestro("run", tmp_path / "a" / "case.kin", "-o", tmp_path / "a", "-q", "--no-html", "--no-json")
    rb = kestro("run", tmp_path / "b" / "case.kin", "-o", tmp_path / "b", "-q", "--no-html", "--no-json")
    assert ra.returncode == rb.returncode
    assert files_without_clock(tmp_path / "a", "case") == files_without_clock(tmp_path / "b", "case")


def test_json_model_runs_and_checks_as_its_keyword_file(tmp_path):
    src = next(p for p in EXAMPLES if p.stem == "soft-clay-elastic-pile")
    kestro("convert", src, tmp_path / "pile.json")
    r = kestro("run", tmp_path / "pile.json", "-o", tmp_path / "out", "-q")
    assert r.returncode == 0 and "ended normally" in r.stdout
    assert (tmp_path / "out" / "pile.kin").exists() and (tmp_path / "out" / "pile-results.json").exists()
    assert kestro("check", tmp_path / "pile.json").returncode == 0
    (tmp_path / "list").mkdir()
    shutil.copy(tmp_path / "pile.json", tmp_path / "list" / "pile.json")
    shutil.copy(src, tmp_path / "list" / "same.kin")
    r = kestro("batch", tmp_path / "list" / "pile.json", tmp_path / "list" / "same.kin", "-o", tmp_path / "batch", "-q")
    assert r.returncode == 0, r.stderr
    rows = json.loads((tmp_path / "batch" / "summary.json").read_text())
    runs = rows["runs"] if isinstance(rows, dict) else rows
    assert len(runs) == 2


@pytest.mark.parametrize("edit,message", [
    (lambda m: m["soil_layers"][0].update(bottom=-5.0), "soil_layers[0].bottom: -5 is above the top, 0"),
    (lambda m: m["soil_layers"][0].update(model="soft clay"), "soil_layers[0].model: \"soft clay\" is not one of"),
    (lambda m: m["sections"][0].pop("length"), "sections[0].length: missing"),
    (lambda m: m["sections"][0].update(lenght=3), "sections[0].lenght: unknown field"),
    (lambda m: m["loading"]["load_cases"][1].update(shear="40"), "loading.load_cases[1].shear: must be a number"),
    (lambda m: m["options"].update(increments=100.5), "options.increments: must be a whole number"),
    (lambda m: m.update(version=9), "version: this Kestro reads version 1"),
])
def test_model_mistakes_name_their_json_path(tmp_path, edit, message):
    src = next(p for p in EXAMPLES if p.stem == "soft-clay-elastic-pile")
    kestro("convert", src, tmp_path / "m.json")
    m = json.loads((tmp_path / "m.json").read_text())
    edit(m)
    (tmp_path / "bad.json").write_text(json.dumps(m))
    for command in (["convert", tmp_path / "bad.json", tmp_path / "bad.kin"], ["run", tmp_path / "bad.json", "-q"]):
        r = kestro(*command)
        assert r.returncode == 2
        assert message in r.stderr


def test_axial_curves_at_a_layers_top_and_bottom(tmp_path):
    """The -TOP/-BOTTOM kinds of axial user curves are JSON kinds; another kind names its path."""
    src = next(p for p in EXAMPLES if p.stem == "axial-weathered-rock-top-bottom-curves-si")
    kestro("convert", src, tmp_path / "m.json")
    m = json.loads((tmp_path / "m.json").read_text())
    kinds = [c["kind"] for c in m["axial_analysis"]["user_curves"]]
    assert kinds == ["TZ-TOP", "TZ-BOTTOM", "QZ-TOP", "QZ-BOTTOM"]
    m["axial_analysis"]["user_curves"][1]["kind"] = "TZ-MIDDLE"
    (tmp_path / "bad.json").write_text(json.dumps(m))
    r = kestro("convert", tmp_path / "bad.json", tmp_path / "bad.kin")
    assert r.returncode == 2
    assert 'axial_analysis.user_curves[1].kind: "TZ-MIDDLE" is not one of' in r.stderr


def test_engine_errors_on_a_json_model_name_the_path(tmp_path):
    """A value the engine refuses (a negative modulus) names the model field it came from."""
    src = next(p for p in EXAMPLES if p.stem == "soft-clay-elastic-pile")
    kestro("convert", src, tmp_path / "m.json")
    m = json.loads((tmp_path / "m.json").read_text())
    m["sections"][0]["elastic_modulus"] = -1
    (tmp_path / "bad.json").write_text(json.dumps(m))
    r = kestro("run", tmp_path / "bad.json")
    assert r.returncode == 2
    assert "Input Data Error No. 32" in r.stderr
    assert "is sections[0].elastic_modulus" in r.stderr


def test_json_syntax_error_names_line_and_column(tmp_path):
    (tmp_path / "bad.json").write_text('{\n  "title": [\n    "a",,\n  ]\n}\n')
    r = kestro("convert", tmp_path / "bad.json", tmp_path / "x.kin")
    assert r.returncode == 2 and "JSON line 3 column" in r.stderr


def test_every_converted_input_follows_the_schema(tmp_path):
    """docs/model.schema.json accepts the model of every example and regression input."""
    from conftest import ROOT, need
    jsonschema = need("jsonschema")
    schema = json.loads((ROOT / "docs" / "model.schema.json").read_text())
    validator = jsonschema.Draft202012Validator(schema)
    for name, path in CASES:
        r = kestro("convert", path, "-")
        if name in REFUSED:
            continue
        errors = [e.message for e in validator.iter_errors(json.loads(r.stdout))]
        assert not errors, (name, errors[:3])


def test_sweep_of_a_json_model_by_path(tmp_path):
    src = next(p for p in EXAMPLES if p.stem == "soft-clay-elastic-pile")
    kestro("convert", src, tmp_path / "p.json")
    r = kestro("sweep", tmp_path / "p.json", "--path", "soil_layers[0].top_values.cohesion", "--values", "250,500",
               "-o", tmp_path / "sw", "-q")
    assert r.returncode == 0, r.stderr
    rows = (tmp_path / "sw" / "summary.csv").read_text().splitlines()[1:]
    defl = [float(row.split(",")[5]) for row in rows]
    assert len(defl) == 4 and defl[2] < defl[0]  # stronger clay, less deflection
    m = json.loads((tmp_path / "sw" / "inputs" / "p-002.json").read_text())
    assert m["soil_layers"][0]["top_values"]["cohesion"] == 500
    bad = kestro("sweep", tmp_path / "p.json", "--path", "soil_layers[3].top", "--values", "1", "-o", tmp_path / "x",
                 check=False)
    assert bad.returncode == 64 and "no value at soil_layers[3].top" in bad.stderr
