#!/usr/bin/env bash
# Paired whole-process timings of the benchmark pile against an empty C
# program built with the same compiler: each pair runs the command and the
# empty program one after the other, so that a change in the machine's speed
# weighs on both; the medians of each and the median of the ratios per pair
# are printed. Run it on an idle machine (the load average is printed first).
#   bench/paired-runs.sh [KESTRO_BINARY] [PAIRS]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
kestro="${1:-$here/build/kestro}"
pairs="${2:-41}"
pile="$here/bench/peer-fe/pipe-soft-clay-400.kin"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
printf 'int main(void) { return 0; }\n' > "$work/empty.c"
"${CC:-cc}" -O2 -o "$work/empty" "$work/empty.c"

# Wall time of one run of the command in microseconds, into $took (bash's
# own clock: no process is started to read it).
took=0
micros() {
  local start=${EPOCHREALTIME/./} end
  "$@" >/dev/null 2>&1 || true
  end=${EPOCHREALTIME/./}
  took=$(( end - start ))
}

# Prints the medians of the command, of the empty program and of the ratios.
paired() {
  local label="$1"
  shift
  local a=() b=() r=() i ta tb
  "$@" >/dev/null 2>&1 || true  # warm-up
  "$work/empty"
  for ((i = 0; i < pairs; i++)); do
    micros "$@"
    ta=$took
    micros "$work/empty"
    tb=$took
    a+=("$ta")
    b+=("$tb")
    r+=("$(awk -v x="$ta" -v y="$tb" 'BEGIN { printf "%.4f", x / (y > 0 ? y : 1) }')")
  done
  median() { printf '%s\n' "$@" | sort -g | sed -n "$(( (pairs + 1) / 2 ))p"; }
  printf '%-34s %9.2f ms %9.2f ms %9.2f\n' "$label" \
    "$(awk -v us="$(median "${a[@]}")" 'BEGIN { print us / 1000 }')" \
    "$(awk -v us="$(median "${b[@]}")" 'BEGIN { print us / 1000 }')" "$(median "${r[@]}")"
}

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg); $pairs pairs; medians"
printf '%-34s %12s %12s %9s\n' "command" "command" "empty" "ratio"
paired "kestro run (five files)" "$kestro" run "$pile" -o "$work/out" -q
paired "kestro run --no-html --no-json" "$kestro" run "$pile" -o "$work/out" -q --no-html --no-json
paired "kestro --help" "$kestro" --help
