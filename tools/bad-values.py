#!/usr/bin/env python3
"""Bad-value campaign: every numeric field of every example, replaced in turn
by 0, -1, 1e30, -1e30, 1e-30 and 1e11, is run with the kestro command.

A run that ends normally (exit status 0, or 1 for warnings) with results that
differ from the example's own while the field holds +-1e30 is a finding: no
real pile or soil has a value of that size, so it must be an input error (or
an error of the analysis), never a changed answer. The other values are run
and counted by outcome; they can be valid values of some fields.

  tools/bad-values.py KESTRO [--examples DIR] [--only A.kin,B.kin] [--sample N] [--jobs J]

--sample N takes every N-th numeric field (the short sample of the tests).
Exit status 0 without findings, 1 with findings."""

import argparse
import os
import re
import subprocess
import sys
import tempfile
from concurrent.futures import ThreadPoolExecutor

VALUES = ["0", "-1", "1.0E30", "-1.0E30", "1.0E-30", "1.0E11"]
ALWAYS_OUT_OF_RANGE = {"1.0E30", "-1.0E30"}
NUMBER = re.compile(r"^[-+]?(\d+\.?\d*|\.\d+)([eEdD][-+]?\d+)?$")


def numeric_fields(text):
    """(line index, token index) of every numeric value before the line's
    description, after the OPTIONS and TITLE blocks."""
    fields = []
    lines = text.split("\n")
    in_title = False
    for i, line in enumerate(lines):
        word = line.strip()
        if word == "TITLE":
            in_title = True
            continue
        if word == "OPTIONS":
            in_title = False
        if in_title or i == 0:
            continue
        tokens = line.split()
        for t, tok in enumerate(tokens):
            if not NUMBER.match(tok):
                break
            fields.append((i, t))
    return fields


def replaced(text, field, value):
    lines = text.split("\n")
    i, t = field
    tokens = lines[i].split()
    tokens[t] = value
    lines[i] = "  ".join(tokens)
    return "\n".join(lines)


def run(kestro, text, folder, name):
    path = os.path.join(folder, name + ".kin")
    with open(path, "w") as f:
        f.write(text)
    out = os.path.join(folder, name + "-out")
    status = subprocess.run([kestro, "run", path, "-o", out, "-q", "--no-html", "--no-json"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=300).returncode
    results = []
    plot = os.path.join(out, name + "-plot.txt")
    if os.path.exists(plot):
        with open(plot, errors="replace") as f:
            results = [l for l in f if "Line 13" in l or "Line 10(" in l]
    return status, results


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("kestro")
    ap.add_argument("--examples", default=os.path.join(os.path.dirname(__file__), "..", "examples"))
    ap.add_argument("--sample", type=int, default=1)
    ap.add_argument("--jobs", type=int, default=2)
    ap.add_argument("--only", default="", help="comma-separated example file names")
    a = ap.parse_args()
    kestro = os.path.abspath(a.kestro)
    names = sorted(n for n in os.listdir(a.examples) if n.endswith(".kin"))
    if a.only:
        names = [n for n in names if n in a.only.split(",")]
    findings, counts, runs = [], {}, 0
    with tempfile.TemporaryDirectory() as folder:
        for n in names:
            with open(os.path.join(a.examples, n)) as f:
                text = f.read()
            base_status, base = run(kestro, text, folder, "base")
            fields = numeric_fields(text)[:: a.sample]
            jobs = [(field, v) for field in fields for v in VALUES]

            def one(job, text=text):
                (field, v) = job
                tag = "r%d_%d_%s" % (field[0], field[1], v.replace("-", "m").replace(".", "p"))
                return job, run(kestro, replaced(text, field, v), folder, tag)

            with ThreadPoolExecutor(max_workers=a.jobs) as pool:
                for (field, v), (status, results) in pool.map(one, jobs):
                    runs += 1
                    outcome = {0: "normal", 1: "warnings"}.get(status, "error")
                    counts[(v, outcome)] = counts.get((v, outcome), 0) + 1
                    if v in ALWAYS_OUT_OF_RANGE and outcome != "error" and results != base:
                        findings.append("%s line %d value %d set to %s: ended %s with changed results"
                                        % (n, field[0] + 1, field[1] + 1, v, outcome))
    print("bad-value campaign: %d runs over %d examples" % (runs, len(names)))
    for v in VALUES:
        print("  %-8s %s" % (v, ", ".join("%s %d" % (o, counts.get((v, o), 0))
                                            for o in ("normal", "warnings", "error"))))
    for f in findings:
        print("FINDING: " + f)
    print("findings: %d" % len(findings))
    return 1 if findings else 0


if __name__ == "__main__":
    sys.exit(main())
