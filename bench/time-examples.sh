#!/usr/bin/env bash
# Times the whole `kestro run` process on every bundled example: each input is
# run RUNS times (default 11) after one warm-up, and the median wall time in
# milliseconds is printed with the run's outcome. Usage:
#   bench/time-examples.sh [KESTRO_BINARY] [RUNS]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
kestro="${1:-$here/build/kestro}"
runs="${2:-11}"
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
printf '%-45s %10s  %s\n' "example" "median ms" "outcome"
for input in "$here"/examples/*.kin; do
  name="$(basename "$input" .kin)"
  outcome="$("$kestro" run "$input" -o "$out/$name" -q | head -1)"
  times=()
  for ((i = 0; i < runs; i++)); do
    start=$(date +%s%N)
    "$kestro" run "$input" -o "$out/$name" -q >/dev/null || true
    end=$(date +%s%N)
    times+=($(( (end - start) / 1000 )))
  done
  median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p")
  printf '%-45s %10s  %s\n' "$name" "$(awk -v us="$median" 'BEGIN { printf "%.2f", us / 1000 }')" "$outcome"
done
