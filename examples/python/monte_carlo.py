"""Monte Carlo study of a free-head pile in soft clay.

The undrained shear strength of the clay is uncertain: its value at the
ground surface is drawn from a lognormal distribution (median 250 psf,
coefficient of variation 0.3), and the strength profile keeps the shape of the
example (it triples over the layer). Each draw is one Kestro run; the runs are
spread over the cores (or a Dask cluster: pass ``--dask``). The script prints
percentiles of the pile-head deflection and the maximum moment under the
30 kip load case and plots both distributions.

    .venv/bin/python examples/python/monte_carlo.py [--runs 500] [--dask] [--out monte-carlo.png]
"""
import argparse
from pathlib import Path

import numpy as np

import kestro

HERE = Path(__file__).resolve().parent


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--runs", type=int, default=500)
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--dask", action="store_true", help="run on a local Dask cluster of two workers")
    ap.add_argument("--out", default="monte-carlo.png")
    args = ap.parse_args()

    base = kestro.Model.load(HERE.parent / "soft-clay-elastic-pile.kin")
    median, cov = 250.0, 0.3
    sigma = np.sqrt(np.log(1.0 + cov**2))
    rng = np.random.default_rng(args.seed)
    strengths = median * np.exp(sigma * rng.standard_normal(args.runs))

    models = []
    for c in strengths:
        m = base.copy()
        layer = m.soil_layers[0]
        layer.top_values.cohesion = float(c)
        layer.bottom_values.cohesion = float(3.0 * c)
        models.append(m)

    if args.dask:
        from distributed import Client, LocalCluster
        with LocalCluster(n_workers=2, threads_per_worker=1, dashboard_address=None) as cluster, \
                Client(cluster) as client:
            results = kestro.run_many(models, executor=client)
    else:
        results = kestro.run_many(models)

    ok = [(c, r) for c, r in zip(strengths, results) if isinstance(r, kestro.Results)]
    failed = len(results) - len(ok)
    defl = np.array([r.head_deflection[1] for _, r in ok])
    mmax = np.array([abs(r.max_moment[1]) / 12000.0 for _, r in ok])  # in-lb to ft-kips
    print(f"{len(ok)} runs ({failed} failed); 30 kip lateral load")
    for name, v, unit in (("head deflection", defl, "in"), ("maximum moment", mmax, "ft-kips")):
        p5, p50, p95 = np.percentile(v, [5, 50, 95])
        print(f"  {name:16s} 5%: {p5:8.3f}  50%: {p50:8.3f}  95%: {p95:8.3f} {unit}")

    import matplotlib
    matplotlib.use("Agg")
    import matplotlib.pyplot as plt
    fig, ax = plt.subplots(1, 3, figsize=(13, 4))
    ax[0].hist(strengths, bins=30, color="#888")
    ax[0].set_xlabel("cohesion at the ground surface (psf)")
    ax[0].set_ylabel("runs")
    ax[1].hist(defl, bins=30, color="#36c")
    ax[1].set_xlabel("pile-head deflection (in)")
    ax[2].hist(mmax, bins=30, color="#c63")
    ax[2].set_xlabel("maximum moment (ft-kips)")
    fig.suptitle(f"24 in pile in soft clay, 30 kip load: {len(ok)} runs, lognormal strength (COV {cov})")
    fig.tight_layout()
    fig.savefig(args.out, dpi=100)
    print(f"plot: {args.out}")


if __name__ == "__main__":
    main()
