"""Benchmarks of the Python package (figures, not pass/fail tests).

    make python && .venv/bin/python bench/python/bench_kestro.py [--runs 200] [--many 1000] [--memory 10000]

1. kestro.run's own cost: the time of the whole call less the time spent in
   the engine (KGO), for the benchmark pile (bench/peer-fe/pipe-soft-clay-400.kin);
   median and minimum over --runs runs.
2. run_many over --many models on one worker process and on two: the ratio
   of the two wall-clock times (two workers on two idle cores: about 0.5).
3. Memory of one worker over --memory runs: its resident set size after each
   tenth of the runs.

Run it on an idle machine: on a loaded one the figures measure the load.
"""
import argparse
import os
import statistics
import time
from pathlib import Path

import kestro

ROOT = Path(__file__).resolve().parents[2]
PILE = ROOT / "bench" / "peer-fe" / "pipe-soft-clay-400.kin"


def rss_kib():
    with open(f"/proc/{os.getpid()}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def memory_over(n):
    m = kestro.Model.load(PILE)
    out = []
    for i in range(1, n + 1):
        kestro.run(m)
        if i % max(1, n // 10) == 0:
            out.append((i, rss_kib()))
    return out


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--runs", type=int, default=200)
    ap.add_argument("--many", type=int, default=1000)
    ap.add_argument("--memory", type=int, default=10000)
    a = ap.parse_args()
    m = kestro.Model.load(PILE)
    kestro.run(m)
    t = [kestro.run(m).timing for _ in range(a.runs)]
    over = [x["total"] - x["engine"] for x in t]
    eng = [x["engine"] for x in t]
    print(f"kestro.run on {PILE.name}, {a.runs} runs:")
    print(f"  engine      median {statistics.median(eng)*1e3:7.2f} ms  min {min(eng)*1e3:7.2f} ms")
    print(f"  added       median {statistics.median(over)*1e3:7.2f} ms  min {min(over)*1e3:7.2f} ms")

    models = [m] * a.many
    times = {}
    for workers in (1, 2):
        start = time.perf_counter()
        res = kestro.run_many(models, max_workers=workers, progress=False)
        times[workers] = time.perf_counter() - start
        assert all(isinstance(r, kestro.Results) for r in res)
    print(f"run_many over {a.many} models: 1 worker {times[1]:.2f} s, 2 workers {times[2]:.2f} s, "
          f"ratio {times[2] / times[1]:.2f}")

    # A fresh (spawned) worker, so that its resident set is its own and not
    # the parent's copy of the results gathered above.
    import multiprocessing
    from concurrent.futures import ProcessPoolExecutor
    with ProcessPoolExecutor(max_workers=1, mp_context=multiprocessing.get_context("spawn")) as ex:
        trace = ex.submit(memory_over, a.memory).result()
    print(f"worker memory over {a.memory} runs (runs: VmRSS KiB):")
    print("  " + ", ".join(f"{i}: {kib}" for i, kib in trace))


if __name__ == "__main__":
    main()
