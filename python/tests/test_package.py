"""The Python package: models, run, Results, errors, run_many and sweep."""
import json
import math
import subprocess

import pytest

from conftest import EXAMPLES, KESTRO, REGRESSION, ROOT, need

need("numpy")
need("pandas")
import kestro  # noqa: E402

EXAMPLE = ROOT / "examples" / "soft-clay-elastic-pile.kin"


def soft_clay_pile():
    """examples/soft-clay-elastic-pile.kin, built from scratch."""
    m = kestro.Model.new(units="USCS", title=[
        "24 in concrete pile in soft clay, static loading",
        "Pile modelled as elastic: E = 3,600 ksi, gross section, 50 ft long, head at ground",
        "Soft clay (Matlock): c from 250 psf at the ground to 750 psf at 60 ft",
        "Free head, two lateral loads with 100 kips axial load"])
    m.options.print_increment = 5
    m.add_section("elastic", 50.0, shape="circular", elastic_modulus=3.6e6, top_width=24.0, bottom_width=24.0,
                  top_area=452.3893, bottom_area=452.3893, top_inertia=16286.0, bottom_inertia=16286.0)
    m.add_soil_layer("soft_clay", 0.0, 60.0, {"unit_weight": 50.0, "cohesion": 250.0, "e50": 0.02},
                     {"unit_weight": 50.0, "cohesion": 750.0, "e50": 0.01})
    m.add_load_case("shear_moment", shear=15000.0, moment=0.0, axial_load=100000.0)
    m.add_load_case("shear_moment", shear=30000.0, moment=0.0, axial_load=100000.0)
    return m


def test_model_from_scratch_equals_the_example(tmp_path):
    built = kestro.run(soft_clay_pile(), keep=tmp_path / "built")
    loaded = kestro.run(kestro.Model.load(EXAMPLE), keep=tmp_path / "loaded")
    assert built.outcome == loaded.outcome == "normal"
    assert built.summary.equals(loaded.summary)
    for a, b in zip(built.cases, loaded.cases):
        assert a.equals(b)
    clock = ("Date:", "Path to file")
    text = [[l for l in open(r.files["report"]) if not l.strip().startswith(clock)] for r in (built, loaded)]
    assert text[0] == text[1]


def test_dataframes_equal_the_results_json_and_the_report(tmp_path):
    r = kestro.run(EXAMPLE)
    subprocess.run([str(KESTRO), "run", str(EXAMPLE), "-o", str(tmp_path), "-q"], check=False)
    data = json.loads((tmp_path / "soft-clay-elastic-pile-results.json").read_text())
    st = data["loadCases"][1]["stations"]
    df = r.cases[1]
    assert list(df.columns) == ["station", "depth (in)", "deflection (in)", "moment (in-lb)", "shear (lb)",
                                "soil reaction (lb/in)", "slope (radians)", "total stress (psi*)", "EI (lb-in^2)",
                                "Es*h (lb/inch)", "distributed load (lb/inch)", "Es (lb/in^2)"]
    assert df["deflection (in)"].tolist() == st["deflection"]
    assert df["moment (in-lb)"].tolist() == st["moment"]
    assert r.summary["head deflection (in)"].tolist() == [c["headDeflection"]["value"] for c in data["loadCases"]]
    # The report's output summary prints the same head deflection and maximum moment.
    report = (tmp_path / "soft-clay-elastic-pile-report.txt").read_text()
    for defl, mmax in zip(r.head_deflection, r.max_moment):
        assert f"{defl:.4E}"[:6] in report.upper() or f"{defl:.5f}"[:6] in report
        assert math.isfinite(mmax)
    assert "<html" in r._repr_html_().lower()


def test_every_station_carries_slope_ei_and_es():
    """Slope, EI and the secant soil modulus Es at every station (held by the
    engine, not only at the printed stations): EI is E I of the elastic
    section, the slope the central difference of the deflections, the soil
    reaction -Es y; the report's printed stations agree with them."""
    df = kestro.run(EXAMPLE).cases[0]
    assert len(df) == 101 and df[["slope (radians)", "EI (lb-in^2)", "Es (lb/in^2)"]].notna().all().all()
    assert (df["EI (lb-in^2)"] - 3.6e6 * 16286.0).abs().max() <= 1e-6 * 3.6e6 * 16286.0
    y, z = df["deflection (in)"], df["depth (in)"]
    scale = y.abs().max() / (z[2] - z[0])
    for i in df.index[1:-1]:
        central = (y[i + 1] - y[i - 1]) / (z[i + 1] - z[i - 1])
        assert abs(df.loc[i, "slope (radians)"] - central) <= 1e-6 * scale
    p, es = df["soil reaction (lb/in)"], df["Es (lb/in^2)"]
    assert (es >= 0).all()
    assert ((p + es * y).abs() <= 1e-6 * p.abs().max()).all()
    # The report prints every fifth station: its slope and Es*h are those held.
    printed = df.dropna(subset=["Es*h (lb/inch)"])
    assert len(printed) == 21 and printed["station"].tolist() == list(range(1, 102, 5))
    assert (printed["Es*h (lb/inch)"] > 0).all()


def expected(case):
    return int((case.parent / "expected_result").read_text().split()[0])


ERRORS = [p for p in REGRESSION if 100 < expected(p) < 1000]


@pytest.mark.parametrize("path", ERRORS, ids=[p.parent.name for p in ERRORS])
def test_every_error_raises_with_the_engines_reason(path):
    try:
        m = kestro.Model.load(path)
        m.to_kestro6()
    except kestro.ModelError as e:
        # Refused by the JSON model itself, naming where.
        assert "line" in str(e) or "[" in str(e)
        return
    with pytest.raises(kestro.KestroError) as info:
        kestro.run(m)
    e = info.value
    assert e.number == expected(path)
    report = (path.parent / "report.gold").read_text()
    assert e.reason and " ".join(e.reason.split()[:4]) in " ".join(report.split())


def test_model_mistake_raises_model_error_with_path():
    m = soft_clay_pile()
    m.soil_layers[0].bottom = -1.0
    with pytest.raises(kestro.ModelError, match=r"soil_layers\[0\]\.bottom: -1 is above the top, 0"):
        kestro.run(m)


def test_save_and_load_both_forms(tmp_path):
    m = soft_clay_pile()
    m.save(tmp_path / "p.json")
    m.save(tmp_path / "p.kin")
    a, b = kestro.Model.load(tmp_path / "p.json"), kestro.Model.load(tmp_path / "p.kin")
    assert a.to_kestro6() == b.to_kestro6() == m.to_kestro6()


def test_run_many_keeps_order_and_failures_in_place():
    base = soft_clay_pile()
    models = []
    for i in range(100):
        m = base.copy()
        m.loading.load_cases[0].shear = 1000.0 + 100.0 * i
        if i == 50:
            m.sections[0].elastic_modulus = -1.0  # Input Data Error 32
        models.append(m)
    out = kestro.run_many(models, max_workers=2, progress=False)
    assert len(out) == 100
    assert isinstance(out[50], kestro.KestroError) and out[50].number == 132
    seq = [kestro.run(models[i]) for i in (0, 49, 51, 99)]
    for i, s in zip((0, 49, 51, 99), seq):
        assert out[i].summary.equals(s.summary)
    shears = [r.summary.iloc[0]["head shear (lb)"] for i, r in enumerate(out) if i != 50]
    assert shears == [1000.0 + 100.0 * i for i in range(100) if i != 50]


def test_run_many_on_a_dask_cluster_equals_sequential():
    need("dask")
    distributed = need("distributed")
    models = [soft_clay_pile() for _ in range(6)]
    for i, m in enumerate(models):
        m.soil_layers[0].top_values.cohesion = 200.0 + 50.0 * i
    with distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=True, dashboard_address=None) as c, \
            distributed.Client(c) as client:
        out = kestro.run_many(models, executor=client, progress=False)
    for m, r in zip(models, out):
        s = kestro.run(m)
        assert r.summary.equals(s.summary)
        assert r.cases[0].equals(s.cases[0])


def test_sweep_by_path_and_by_function():
    values = [200.0, 400.0]
    a = kestro.sweep(soft_clay_pile(), "soil_layers[0].top_values.cohesion", values, progress=False)
    b = kestro.sweep(soft_clay_pile(), lambda m, v: m.soil_layers[0].top_values.update(cohesion=v), values,
                     executor=None, progress=False)
    assert [v for v, _ in a] == values
    for (_, ra), (_, rb) in zip(a, b):
        assert ra.summary.equals(rb.summary)
    # Stronger clay: less head deflection.
    assert a[1][1].head_deflection[0] < a[0][1].head_deflection[0]
