#!/usr/bin/env bash
# Analyses the 24 in pipe in soft clay (pipe-soft-clay-400.kin) with kestro and
# with a general finite-element program (CalculiX, Debian package calculix-ccx,
# not installed by the set-up) as beam elements on nonlinear springs, and prints
# both answers. Usage: bench/peer-fe/run-peer.sh [KESTRO_BINARY] [POINTS_PER_BRANCH]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
kestro="${1:-$here/../../build/kestro}"
points="${2:-60}"
command -v ccx >/dev/null || { echo "ccx not found: apt-get install calculix-ccx" >&2; exit 2; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$kestro" run "$here/pipe-soft-clay-400.kin" -o "$work/kestro" -q --no-html --no-json
grep -E "Pile-head deflection|Maximum bending moment|Depth of maximum bending moment" \
  "$work/kestro/pipe-soft-clay-400-report.txt" | head -3 || true
python3 "$here/gen_deck.py" "$work/pile.inp" --npts "$points" --tol tight
(cd "$work" && ccx -i pile >/dev/null)
python3 "$here/post.py" "$work/pile.dat" 400
